// The instance data file of a product cache folder as text: what a full write
// puts into it, what the update of its remembered variables keeps, and what a
// reader finds in it, as far as the file goes. Which lists and variables the
// parts come from and go to is left to the callers (instance_state.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pellion {

// The six lists at the head of the file, in their order there.
enum InstanceList : size_t {
    componentNamesList,
    componentStatesList,
    deletedComponentsList,
    hiddenComponentsList,
    choiceComponentsList,
    componentSizesList,
    instanceListCount
};

using NamedValue = std::pair<std::u16string, std::u16string>;

// Everything a full write stores.
struct InstanceDataContent {
    std::array<std::vector<std::u16string>, instanceListCount> lists;
    std::u16string targetDir;
    std::u16string allUsers;
    std::u16string startMenu;
    std::u16string mediaLine;
    // The remembered variables with their current values, in list order.
    std::vector<NamedValue> remembered;
    std::u16string bitnessMode;
    std::u16string overrideCache;
    std::u16string nativeEngine;
};

// What a reader found. A list is there only when its closing "$" line was
// reached; a single line only when the file reached it. Values keep
// "$NEWLINE$" as written.
struct InstanceDataFile {
    std::array<std::optional<std::vector<std::u16string>>, instanceListCount> lists;
    std::optional<std::u16string> targetDir;
    std::optional<std::u16string> allUsers;
    std::optional<std::u16string> startMenu;
    // The pairs after the media line; a name without its value line has an
    // empty value.
    std::vector<NamedValue> pairs;
};

// A line break inside a stored value: each CR LF, and a lone CR or LF too,
// becomes "$NEWLINE$", so no value can split into two lines of the file.
std::u16string encodeStoredLine(std::u16string_view value);

// The fourteen parts, UTF-8, CR LF, no byte-order mark.
std::string formatInstanceData(const InstanceDataContent& content);

// An optional byte-order mark skipped; lines end at CR LF, lone LF or lone CR.
InstanceDataFile parseInstanceData(std::string_view bytes);

// The update of an existing file: its lines up to and including the sixth
// "$" line and the four lines after it (empty lines standing in for missing
// ones), then the remembered variables and the last three pairs anew. Nothing
// when the file holds fewer than six "$" lines: it then stays as it is.
std::optional<std::string> updatedInstanceData(std::string_view oldBytes, const std::vector<NamedValue>& remembered,
                                               std::u16string_view bitnessMode, std::u16string_view overrideCache,
                                               std::u16string_view nativeEngine);

// "instance.dat": product code, revision code and title, the first three lines.
// A line the file does not reach is missing, so the package's value stays.
struct InstanceIdentityLines {
    std::optional<std::u16string> productCode;
    std::optional<std::u16string> revisionCode;
    std::optional<std::u16string> title;
};
InstanceIdentityLines parseInstanceIdentity(std::string_view bytes);

}  // namespace pellion
