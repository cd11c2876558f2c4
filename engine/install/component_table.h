// The process-wide component table: named, optionally nested features with
// their selection states, descriptions and sizes, and the deleted, hidden and
// fixed sets. The script fills it, the dialogs show it and the instance data
// keeps it between runs; no installation behaviour is attached to it here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// Defined by the engine itself; dialogs never show it.
inline constexpr std::u16string_view predefinedComponent = u"QUAV-PREDEF-COMPONENT";

class ComponentTable {
public:
    // The lists as the instance data file stores them. Names are looked up
    // without letter case; the first match counts.
    std::vector<std::u16string> names;
    // Parallel to names: "TRUE" or "FALSE" (read as booleans).
    std::vector<std::u16string> states;
    // Parallel to names, padded with empty entries when shorter.
    std::vector<std::u16string> descriptions;
    // Pairs of lines: component name, size in bytes as decimal text.
    std::vector<std::u16string> sizes;
    std::vector<std::u16string> deleted;
    std::vector<std::u16string> hidden;
    std::vector<std::u16string> fixed;
    // What the installed instance had selected; 0 on a first installation.
    int64_t installedSelectionSize = 0;

    std::optional<size_t> indexOf(std::u16string_view name) const;
    bool exists(std::u16string_view name) const { return indexOf(name).has_value(); }
    // Exists, is not deleted, and its state reads true.
    bool effectivelySelected(std::u16string_view name) const;

    void DefineComponent(std::u16string_view name, std::u16string_view description, bool selected);
    // Nothing when the component does not exist.
    void setState(std::u16string_view name, bool selected);
    // Replaces the size after the first line equal to the name, or appends the
    // pair; nothing when the component does not exist.
    void setSize(std::u16string_view name, int64_t size);
    void setChoiceAllowed(std::u16string_view name, bool allowed);
    void setVisible(std::u16string_view name, bool visible);
    void deleteComponent(std::u16string_view name);

    // The line after the first line equal to the name; 0 when there is none
    // or it is not a number.
    int64_t ComponentSize(std::u16string_view name) const;
    // The sizes of the effectively selected components, less what the
    // installed instance had selected; negative when installed components
    // were deselected.
    int64_t SelectionSize() const;
    // The name or one of its ancestors ("A" for "A\B") is in the set.
    bool IsFixed(std::u16string_view name) const;
    bool IsHidden(std::u16string_view name) const;

    // Empties everything but the sizes, which come from the script package.
    void ClearComponents();

private:
    std::optional<size_t> sizeLine(std::u16string_view name) const;
};

// "TRUE" in any letter case, or "-1".
bool componentStateSelected(std::u16string_view state);

}  // namespace pellion
