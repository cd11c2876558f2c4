// The authoring side's view of a script package before it is written: the
// header fields, the flat statement sequence with each statement's place, and
// the include statements that were expanded in place. Built from script source
// (script_expansion.h) or from a loaded package (package_printer.h); written by
// package_writer.h. Sections this tool cannot fill yet (web media passwords,
// offline files, command headers, file headers) are written empty and the
// payload size as 0.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pellion::authoring {

struct PackageHeader {
    std::u16string productCode;       // section 5
    std::u16string title;             // 6
    std::u16string publisher;         // 8
    std::u16string contact;           // 9
    std::u16string helpLink;          // 10
    std::u16string updateInfoLink;    // 11
    std::u16string comments;          // 12
    std::u16string productVersion;    // 13
    int32_t mediaMode = 1;            // 16
    std::u16string revisionCode;      // 18
    bool languageSelection = false;   // 20
    std::u16string defaultLanguage = u"English";  // 21
    int32_t codePage = 1252;          // 24
    std::vector<std::u16string> pluginCommands;                          // 7
    std::vector<std::pair<std::u16string, std::u16string>> compilerVariables;  // 23, in order
    std::vector<std::pair<std::u16string, int64_t>> componentSizes;            // 17, in order
};

struct DraftStatement {
    std::u16string name;                  // section 1
    std::u16string id;                    // 2
    std::vector<std::u16string> params;   // block in section 3; none: no block
    bool disabled = false;                // 4: "C"
    std::u16string mediaFolder;           // 15
    std::u16string sourceFile;            // 25: file * number
    int32_t sourceNumber = 0;
    std::u16string includeResult = u"0";  // 28: result * depth; "0" outside every include
    int32_t includeDepth = 0;
};

// An include statement replaced by the statements of its script. Its block in
// section 3 records where it stood, so the package can be printed back as
// source: id, file, result variable, number of the first statement after it
// (decimal), depth of its statements (decimal).
struct DraftInclude {
    std::u16string id;
    std::u16string file;
    std::u16string result;
    size_t firstStatement = 0;
    int32_t depth = 1;
};

struct PackageDraft {
    PackageHeader header;
    std::u16string sourceName;               // the main script's name in section 25
    std::vector<DraftStatement> statements;  // in statement order
    std::vector<DraftInclude> includes;      // in the order the include statements stood
};

}  // namespace pellion::authoring
