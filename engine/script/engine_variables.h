// The engine-level variable operations every command uses: reading, the two
// assignments (SetVariable creates, AssignVariable respects the command-line
// variables of a silent run), expansion, the "$NAME$" reference forms and the
// substitution of build-time "#NAME#" compiler variables. The store itself is
// TVariableManager.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/script/variable_manager.h"
#include "engine/startup/engine_settings.h"

namespace pellion {

// The context that may overwrite a variable given on the command line.
inline constexpr char16_t injectOverrideContext[] = u"Inject Override Command Line";

// Truth of a text: "TRUE" in any letter case, or exactly "-1".
bool isTrue(std::u16string_view text);
inline const char16_t* truthText(bool value) { return value ? u"TRUE" : u"FALSE"; }

// When the text is one reference ("$" first, its next "$" last), the name
// between the signs; otherwise empty.
std::u16string ReferenceName(std::u16string_view text);
// A parameter in the "name or reference" form: the referenced name, else the text.
std::u16string NameOrReference(std::u16string_view text);

// Replaces "#NAME#" (letter case ignored) by each compiler variable's value,
// pair by pair in order, and repeats while the text still holds a "#" and the
// last round changed it (at most maxCompilerRounds rounds, so a compiler
// variable that refers to itself cannot hang the engine).
std::u16string ExpandCompilerVariables(std::u16string_view text,
                                       const std::vector<std::pair<std::u16string, std::u16string>>& compilerVariables);
inline constexpr int maxCompilerRounds = 64;

class EngineVariables {
public:
    // settings.silent and settings.commandLineVariables decide the protection
    // of command-line variables; the statement loop keeps silent up to date.
    EngineVariables(TVariableManager& store, const EngineSettings& settings) : store_(store), settings_(settings) {}

    TVariableManager& store() { return store_; }
    const TVariableManager& store() const { return store_; }

    std::u16string GetVariable(std::u16string_view name) const { return store_.GetItem(name); }
    bool VariableExists(std::u16string_view name) const { return store_.Exists(name); }
    void DeleteVariable(std::u16string_view name);
    // Creates the variable when needed; a value that is the variable's own
    // reference stores the empty text.
    void SetVariable(std::u16string_view name, std::u16string_view value, std::u16string_view context);
    // As SetVariable, but in a silent run a variable given on the command line
    // keeps its value unless the context is "Inject Override Command Line".
    void AssignVariable(std::u16string_view name, std::u16string_view value, std::u16string_view context);
    // Whether an assignment in this context would be ignored right now.
    bool protectedFromCommandLine(std::u16string_view name, std::u16string_view context) const;

    std::u16string ExpandText(std::u16string_view text) const { return store_.Expand(text); }
    std::u16string ExpandQuotedText(std::u16string_view text) const { return store_.ExpandQuoted(text); }

    // For dialog binding: the variable named by the reference (or by the text
    // itself), expanded; "$QUAVNX$" (or empty) when it does not exist.
    std::u16string ReferencedValue(std::u16string_view text) const;
    std::u16string ReferencedValueOrEmpty(std::u16string_view text) const;

private:
    TVariableManager& store_;
    const EngineSettings& settings_;
};

}  // namespace pellion
