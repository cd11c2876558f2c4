// Reading script source: the plain UTF-8 text people write (format in README.md).
// Turns one file into header fields and a list of items (statements, includes
// of other files, includes written inline); expanding the includes and placing
// the statements is script_expansion.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/setupbuilder/package_draft.h"

namespace pellion::authoring {

struct SourceItem;

struct SourceStatement {
    std::u16string name;
    bool disabled = false;
    std::optional<std::u16string> id;  // written with @id; derived otherwise
    std::u16string mediaFolder;
    std::vector<std::u16string> params;
};

struct SourceInclude {
    std::u16string file;    // as written; also what section 25 names
    std::u16string result;  // variable receiving "Return from Include Script"; may be empty
    std::optional<std::u16string> id;
    bool written = false;            // @begin-include: the statements follow inline
    std::vector<SourceItem> body;    // only when written inline
};

struct SourceItem {
    size_t line = 0;  // where the item starts, for messages
    bool isInclude = false;
    SourceStatement statement;
    SourceInclude include;
};

struct SourceScript {
    std::u16string fileName;  // for messages
    PackageHeader header;
    std::optional<std::u16string> sourceName;  // @source-name
    size_t firstHeaderLine = 0;                // nonzero when the file sets header fields
    std::vector<SourceItem> items;
};

// Throws BuildError "file:line: message" on anything it cannot read exactly.
SourceScript parseScriptSource(std::string_view utf8, std::u16string_view fileName);

}  // namespace pellion::authoring
