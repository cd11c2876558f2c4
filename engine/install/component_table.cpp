// The component table's lookups and changes. Every lookup ignores letter case
// and takes the first match, as the dialogs and the instance data expect.

#include "engine/install/component_table.h"

#include <algorithm>

#include "common/letter_case.h"
#include "common/numbers.h"

namespace pellion {

namespace {

std::optional<size_t> findNoCase(const std::vector<std::u16string>& list, std::u16string_view name)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (equalsNoCase(list[i], name))
            return i;
    return std::nullopt;
}

bool contains(const std::vector<std::u16string>& list, std::u16string_view name)
{
    return findNoCase(list, name).has_value();
}

void removeFirst(std::vector<std::u16string>& list, std::u16string_view name)
{
    if (const auto at = findNoCase(list, name))
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(*at));
}

void addOnce(std::vector<std::u16string>& list, std::u16string_view name)
{
    if (!contains(list, name))
        list.emplace_back(name);
}

const char16_t* stateText(bool selected)
{
    return selected ? u"TRUE" : u"FALSE";
}

bool inSetWithAncestors(const std::vector<std::u16string>& set, std::u16string_view name)
{
    while (true) {
        if (contains(set, name))
            return true;
        const size_t slash = name.rfind(u'\\');
        if (slash == std::u16string_view::npos)
            return false;
        name = name.substr(0, slash);
    }
}

}  // namespace

bool componentStateSelected(std::u16string_view state)
{
    return equalsNoCase(state, u"TRUE") || state == u"-1";
}

std::optional<size_t> ComponentTable::indexOf(std::u16string_view name) const
{
    return findNoCase(names, name);
}

bool ComponentTable::effectivelySelected(std::u16string_view name) const
{
    const auto at = indexOf(name);
    return at && !contains(deleted, name) && *at < states.size() && componentStateSelected(states[*at]);
}

std::optional<size_t> ComponentTable::sizeLine(std::u16string_view name) const
{
    // The whole list is searched, sizes included: a name equal to a size text
    // is not expected in practice.
    const auto at = findNoCase(sizes, name);
    if (!at || *at + 1 >= sizes.size())
        return std::nullopt;
    return *at + 1;
}

void ComponentTable::DefineComponent(std::u16string_view name, std::u16string_view description, bool selected)
{
    const auto existing = indexOf(name);
    const size_t position = existing ? *existing : names.size();
    if (!existing)
        names.emplace_back(name);
    else
        removeFirst(deleted, name);

    if (descriptions.size() <= position)
        descriptions.resize(position + 1);
    descriptions[position] = description;

    if (!contains(sizes, name)) {
        // A dangling last line (a name without its size) would pair the new
        // name with the wrong line; complete it first.
        if (sizes.size() % 2 != 0)
            sizes.emplace_back(u"0");
        sizes.emplace_back(name);
        sizes.emplace_back(u"0");
    }

    // An existing non-empty state is the user's or the installed instance's
    // choice; redefining the component never overrides it.
    if (states.size() <= position)
        states.resize(position + 1);
    if (states[position].empty())
        states[position] = stateText(selected);
}

void ComponentTable::setState(std::u16string_view name, bool selected)
{
    const auto at = indexOf(name);
    if (!at)
        return;
    if (states.size() <= *at)
        states.resize(*at + 1);
    states[*at] = stateText(selected);
}

void ComponentTable::setSize(std::u16string_view name, int64_t size)
{
    if (!exists(name))
        return;
    if (const auto line = sizeLine(name)) {
        sizes[*line] = formatInt(size);
        return;
    }
    if (contains(sizes, name)) {
        // The name is the dangling last line: give it its size.
        sizes.push_back(formatInt(size));
        return;
    }
    if (sizes.size() % 2 != 0)
        sizes.emplace_back(u"0");
    sizes.emplace_back(name);
    sizes.push_back(formatInt(size));
}

void ComponentTable::setChoiceAllowed(std::u16string_view name, bool allowed)
{
    if (allowed)
        removeFirst(fixed, name);
    else if (exists(name))
        addOnce(fixed, name);
}

void ComponentTable::setVisible(std::u16string_view name, bool visible)
{
    if (visible)
        removeFirst(hidden, name);
    else if (exists(name))
        addOnce(hidden, name);
}

void ComponentTable::deleteComponent(std::u16string_view name)
{
    if (exists(name))
        addOnce(deleted, name);
}

int64_t ComponentTable::ComponentSize(std::u16string_view name) const
{
    const auto line = sizeLine(name);
    if (!line)
        return 0;
    return parseInt64(sizes[*line]).value_or(0);
}

int64_t ComponentTable::SelectionSize() const
{
    // Sizes come from the script, so the sum is kept in unsigned arithmetic
    // to wrap instead of overflowing on absurd values.
    uint64_t total = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i < states.size() && componentStateSelected(states[i]) && !contains(deleted, names[i]))
            total += static_cast<uint64_t>(ComponentSize(names[i]));
    }
    total -= static_cast<uint64_t>(installedSelectionSize);
    return static_cast<int64_t>(total);
}

bool ComponentTable::IsFixed(std::u16string_view name) const
{
    return inSetWithAncestors(fixed, name);
}

bool ComponentTable::IsHidden(std::u16string_view name) const
{
    return inSetWithAncestors(hidden, name);
}

void ComponentTable::ClearComponents()
{
    names.clear();
    states.clear();
    descriptions.clear();
    deleted.clear();
    hidden.clear();
    fixed.clear();
}

}  // namespace pellion
