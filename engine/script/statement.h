// The statement a command handler works on, and the conventions every handler
// shares: raw, expanded, path-expanded and translated parameters, booleans,
// numbers, variable-name forms and result variables. A handler then shows only
// what is particular to its command:
//
//     const auto source = st.pathExpanded(1);
//     const auto target = st.resultName(2);   // may be empty: nothing stored
//     st.store(target, transform(source, st.number(3), st.flag(4)));
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/startup/script_package.h"

namespace pellion {

struct ScriptEnvironment;
class EngineVariables;

// What a handler may ask of the running loop.
class ScriptControl {
public:
    virtual ~ScriptControl() = default;
    // The loop stops after this statement and runs its epilogue ("Terminate
    // Install" and the other ending commands).
    virtual void endRun() = 0;
    // The wizard loop's direction: 1 next, -1 back, 0 cancel.
    virtual void setWizardDirection(int direction) = 0;
    virtual int wizardDirection() const = 0;
};

// A statement of the package, read only: what validation checks look at.
class StatementView {
public:
    StatementView(const TScriptPackage& package, size_t index) : package_(package), index_(index) {}

    size_t index() const { return index_; }
    const std::u16string& name() const { return package_.statementName(index_); }
    const std::u16string& id() const { return package_.statementId(index_); }
    const TScriptPackage& package() const { return package_; }
    // Parameter k as written (ParamOf): empty without a block.
    const std::u16string& param(int k) const { return package_.param(index_, k); }

private:
    const TScriptPackage& package_;
    size_t index_;
};

class Statement : public StatementView {
public:
    Statement(ScriptEnvironment& environment, ScriptControl& control, size_t index);

    ScriptEnvironment& environment() const { return environment_; }
    EngineVariables& variables() const;
    ScriptControl& control() const { return control_; }

    // Parameter k as written. A statement without a block reads empty texts;
    // a block that ends before parameter k raises ScriptError.
    const std::u16string& raw(int k) const;
    std::u16string expanded(int k) const;
    // Expanded, then every "\\" collapsed to "\" except a leading network "\\".
    std::u16string pathExpanded(int k) const;
    // The translated-parameter rule (key: this statement's id), raw or expanded.
    std::u16string translated(int k, int ordinal) const;
    std::u16string translatedExpanded(int k, int ordinal) const;
    // "name or reference": the name between two "$" signs, else the text.
    std::u16string nameOrReference(int k) const;
    // A result variable ("name" form): created upper-cased and empty when it
    // does not exist; may be empty, and then nothing is created.
    std::u16string resultName(int k) const;
    std::u16string resultNameOrReference(int k) const;
    // "TRUE" in any letter case or "-1".
    bool flag(int k) const;
    // A decimal integer as written, or ScriptError.
    int64_t number(int k) const;
    int64_t expandedNumber(int k) const;

    // Stores a result with AssignVariable and the context "<name> Action";
    // nothing for an empty name.
    void store(std::u16string_view variable, std::u16string_view value) const;
    std::u16string actionContext() const { return name() + u" Action"; }
    void createResult(std::u16string_view variable) const;

private:
    ScriptEnvironment& environment_;
    ScriptControl& control_;
};

// Path expansion's second half: "\\" pairs collapsed from the left, a leading
// pair kept as the start of a network path.
std::u16string collapseDoubledBackslashes(std::u16string_view text);

}  // namespace pellion
