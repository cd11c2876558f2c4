// Builds small script packages for the interpreter tests: statements with
// their parameters, disabled ones, includes, compiler variables and plug-in
// commands, written as the 28 sections and read back with LoadScriptPackage.
#pragma once

#include <string>
#include <vector>

#include "engine/startup/script_package.h"

namespace pellion::testing {

class ScriptBuilder {
public:
    // A statement of the script being built; parameters as written.
    ScriptBuilder& add(std::string name, std::vector<std::string> parameters = {});
    ScriptBuilder& disabled(std::string name, std::vector<std::string> parameters = {});
    // Statements added until endInclude() come from `file`, included with this
    // result variable ("" for none); includes nest.
    ScriptBuilder& beginInclude(std::string file, std::string result = "");
    ScriptBuilder& endInclude();
    ScriptBuilder& compilerVariable(std::string name, std::string value);
    ScriptBuilder& plugin(std::string command);
    ScriptBuilder& title(std::string text);
    ScriptBuilder& productCode(std::string code);

    std::string text() const;
    TScriptPackage package() const;
    size_t size() const { return statements_.size(); }

private:
    struct Line {
        std::string name;
        std::vector<std::string> parameters;
        bool disabled;
        std::string source;
        std::string include;
    };
    struct Include {
        std::string file;
        std::string result;
        int next;
    };
    ScriptBuilder& push(std::string name, std::vector<std::string> parameters, bool disabled);

    std::vector<Line> statements_;
    std::vector<Include> includes_{{"main.oxa", "0", 0}};
    std::vector<std::string> compilerVariables_;
    std::vector<std::string> plugins_;
    std::string title_ = "Pellion";
    std::string productCode_ = "{6B8125B1-8560-4919-BC49-5544BF0EFA68}";
};

}  // namespace pellion::testing
