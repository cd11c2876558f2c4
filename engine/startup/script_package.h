// The script package: the installation script and build-time tables that travel
// as text appended to the engine's own file, held in memory as TScriptPackage
// with one member per section, in section order. Loading reads the text; the
// lookups answer the interpreter, the command handlers and the installation
// engine. Finding the appended bytes is package_appendix.h; copying them out of
// the running engine's file is the start-up's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/startup/package_hashed_list.h"

namespace pellion {

// A package that cannot be loaded. The start-up reports text() (also what(), in
// UTF-8) after "Runtime error in install: " and ends with exit code 11; section
// and line say where, for traces and tools.
class TScriptPackageError : public std::exception {
public:
    TScriptPackageError(std::u16string text, int section, size_t line);
    const std::u16string& text() const { return text_; }
    int section() const { return section_; }  // 1..28: the section being read
    size_t line() const { return line_; }     // 1-based line of the package text
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::u16string text_;
    int section_;
    size_t line_;
    std::string what_;
};

// The list of parameter lists that parameter lookups search in order; loading
// puts section 3 into it as its only member.
using TParameterLists = std::vector<THashedStringList>;

// Parameter k (counting from 1) of the statement with this id: the line k places
// after the first line equal to the id (letter case ignored) in the first list
// that holds the id. The empty text when the id is empty, no list holds it or
// the list ends before. The text is raw: variable expansion is the caller's.
const std::u16string& ParamOf(const TParameterLists& parameterLists, std::u16string_view statementId, int k);

// Section 25 entry: the script file a statement came from and its number there.
struct TSourceLocation {
    std::u16string file;
    int32_t number = 0;
};

// Section 28 entry: the variable that receives "Return from Include Script"
// ("0" outside every include, empty for none) and the include depth.
struct TIncludeLevel {
    std::u16string result;
    int32_t depth = 0;
};

struct TScriptPackage {
    THashedStringList statementNames;                    // 1
    THashedStringList statementIds;                      // 2
    TParameterLists parameterLists;                      // 3, the only member
    THashedStringList statementStates;                   // 4: "C" = disabled
    std::u16string productCode;                          // 5
    std::u16string title;                                // 6
    std::u16string translationProjectName;               // 6 again: base name of the setup's own ".mtx"
    std::vector<std::u16string> pluginCommands;          // 7
    std::u16string publisher;                            // 8
    std::u16string contact;                              // 9
    std::u16string helpLink;                             // 10
    std::u16string updateInfoLink;                       // 11
    std::u16string comments;                             // 12
    std::u16string productVersion;                       // 13
    std::vector<std::u16string> webMediaPasswords;       // 14: pairs (block name, scrambled password)
    THashedStringList statementMediaFolders;             // 15
    int32_t mediaMode = 0;                               // 16
    std::vector<std::u16string> componentSizes;          // 17: pairs (component, decimal size)
    std::u16string revisionCode;                         // 18
    THashedStringList offlineFiles;                      // 19: triples
    bool languageSelection = false;                      // 20
    std::u16string defaultLanguage;                      // 21
    THashedStringList commandHeaders;                    // 22: pairs (header id, statement number)
    THashedStringList compilerVariables;                 // 23: pairs (name, value)
    int64_t codePage = 0;                                // 24
    THashedStringList sourceLocations;                   // 25
    int64_t payloadSize = 0;                             // 26
    THashedStringList fileHeaders;                       // 27
    THashedStringList includeLevels;                     // 28

    // Per-statement lookups by statement number (the program counter); a number
    // outside the lists gives the empty text, depth 0 and so on.
    size_t statementCount() const { return statementNames.size(); }
    const std::u16string& statementName(size_t i) const { return statementNames.line(i); }
    const std::u16string& statementId(size_t i) const { return statementIds.line(i); }
    const std::u16string& statementState(size_t i) const { return statementStates.line(i); }
    bool statementDisabled(size_t i) const { return statementStates.line(i) == u"C"; }
    const std::u16string& statementMediaFolder(size_t i) const { return statementMediaFolders.line(i); }
    TSourceLocation sourceLocation(size_t i) const;
    TIncludeLevel includeLevel(size_t i) const;

    // Parameter k of statement i, through ParamOf.
    const std::u16string& param(size_t i, int k) const { return ParamOf(parameterLists, statementId(i), k); }

    // Pair lookups: the first pair whose name matches, letter case ignored.
    std::vector<std::pair<std::u16string, std::u16string>> compilerVariablePairs() const;  // in order
    std::optional<std::u16string> compilerVariable(std::u16string_view name) const;
    std::optional<std::u16string> webMediaPassword(std::u16string_view blockName) const;  // no fallback here
    int64_t componentSize(std::u16string_view component) const;  // 0 when absent or not a number
    // The header id paired with this statement number; empty when there is none.
    std::u16string commandHeaderOf(size_t statementNumber) const;
};

// Reads the package text (the bytes after the engine's image). Reading stops
// after the 28th section; whatever follows is never looked at. Throws
// TScriptPackageError for a number section without a number ("Invalid numeric
// input") and for text that ends before the 28th section is complete ("Read
// beyond end of file"). bytesRead, when given, receives the length of the text
// read, byte order mark and the last terminator's line end included.
TScriptPackage LoadScriptPackage(std::string_view text, size_t* bytesRead = nullptr);

}  // namespace pellion
