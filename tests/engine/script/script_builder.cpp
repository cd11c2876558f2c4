// The package text of a built script.

#include "script_builder.h"

#include <cstdio>

namespace pellion::testing {

namespace {

std::string statementId(size_t i)
{
    char id[40];
    std::snprintf(id, sizeof id, "{00000000-0000-4000-8000-%012zu}", i);
    return id;
}

}  // namespace

ScriptBuilder& ScriptBuilder::push(std::string name, std::vector<std::string> parameters, bool disabled)
{
    Include& include = includes_.back();
    const int depth = static_cast<int>(includes_.size()) - 1;
    std::string source = include.file + "*" + std::to_string(include.next++);
    statements_.push_back({std::move(name), std::move(parameters), disabled, std::move(source),
                           (depth == 0 ? std::string("0") : include.result) + "*" + std::to_string(depth)});
    return *this;
}

ScriptBuilder& ScriptBuilder::add(std::string name, std::vector<std::string> parameters)
{
    return push(std::move(name), std::move(parameters), false);
}

ScriptBuilder& ScriptBuilder::disabled(std::string name, std::vector<std::string> parameters)
{
    return push(std::move(name), std::move(parameters), true);
}

ScriptBuilder& ScriptBuilder::beginInclude(std::string file, std::string result)
{
    ++includes_.back().next;  // the include statement takes one number of its file
    includes_.push_back({std::move(file), std::move(result), 0});
    return *this;
}

ScriptBuilder& ScriptBuilder::endInclude()
{
    if (includes_.size() > 1)
        includes_.pop_back();
    return *this;
}

ScriptBuilder& ScriptBuilder::compilerVariable(std::string name, std::string value)
{
    compilerVariables_.push_back(std::move(name));
    compilerVariables_.push_back(std::move(value));
    return *this;
}

ScriptBuilder& ScriptBuilder::plugin(std::string command)
{
    plugins_.push_back(std::move(command));
    return *this;
}

ScriptBuilder& ScriptBuilder::title(std::string text)
{
    title_ = std::move(text);
    return *this;
}

ScriptBuilder& ScriptBuilder::productCode(std::string code)
{
    productCode_ = std::move(code);
    return *this;
}

std::string ScriptBuilder::text() const
{
    std::string out = "\xEF\xBB\xBF";
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    auto list = [&](const std::vector<std::string>& lines) {
        for (const auto& text : lines)
            line(text == "$" ? "$DOLLAR$" : text);
        line("$");
    };
    std::vector<std::string> names, ids, blocks, states, sources, levels, media;
    for (size_t i = 0; i < statements_.size(); ++i) {
        const Line& statement = statements_[i];
        names.push_back(statement.name);
        ids.push_back(statementId(i));
        states.push_back(statement.disabled ? "C" : "");
        sources.push_back(statement.source);
        levels.push_back(statement.include);
        media.push_back("");
        if (!statement.parameters.empty()) {
            blocks.push_back(statementId(i));
            blocks.insert(blocks.end(), statement.parameters.begin(), statement.parameters.end());
        }
    }
    list(names);                                      // 1
    list(ids);                                        // 2
    list(blocks);                                     // 3
    list(states);                                     // 4
    line(productCode_);                               // 5
    line(title_);                                     // 6
    list(plugins_);                                   // 7
    line("Brennic Ltd.");                             // 8
    line("");                                         // 9
    line("");                                         // 10
    line("");                                         // 11
    line("");                                         // 12
    line("2.0.47");                                   // 13
    list({});                                         // 14
    list(media);                                      // 15
    line("1");                                        // 16
    list({});                                         // 17
    line("{3EDCCA79-A858-4303-9BCF-1D96429E97D7}");   // 18
    list({});                                         // 19
    line("FALSE");                                    // 20
    line("English");                                  // 21
    list({});                                         // 22
    list(compilerVariables_);                         // 23
    line("1252");                                     // 24
    list(sources);                                    // 25
    line("0");                                        // 26
    list({});                                         // 27
    list(levels);                                     // 28
    return out;
}

TScriptPackage ScriptBuilder::package() const
{
    return LoadScriptPackage(text());
}

}  // namespace pellion::testing
