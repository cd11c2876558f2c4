// Sections out, in the order the engine reads them, and the checks before.

#include "authoring/setupbuilder/package_writer.h"

#include <unordered_map>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/statement_ids.h"
#include "common/letter_case.h"
#include "common/numbers.h"
#include "common/text.h"
#include "engine/startup/script_package.h"

namespace pellion::authoring {

namespace {

// Section 17 as the engine reads it: name and size lines in turn.
std::vector<std::u16string> componentSizeLines(const PackageHeader& header)
{
    std::vector<std::u16string> lines;
    for (const auto& [component, size] : header.componentSizes) {
        lines.push_back(component);
        lines.push_back(formatInt(size));
    }
    return lines;
}

std::string quoted(std::u16string_view text)
{
    std::string utf8 = toUtf8(text);
    if (utf8.size() > 60)
        utf8 = utf8.substr(0, 57) + "...";
    return "\"" + utf8 + "\"";
}

std::string describe(const DraftStatement& statement, size_t number)
{
    return "statement " + std::to_string(number) + " (" + toUtf8(statement.name) + ", " + toUtf8(statement.sourceFile) +
           " statement " + std::to_string(statement.sourceNumber) + ")";
}

bool isDollarWord(std::u16string_view text)
{
    return text == u"$" || equalsNoCase(text, u"$DOLLAR$") || equalsNoCase(text, u"$WILD_DOLLAR$");
}

class PackageText {
public:
    PackageText() { text_ = "\xEF\xBB\xBF"; }

    // A line of any section; where says what it is, for the error.
    void line(std::u16string_view text, const std::string& where)
    {
        if (text.find_first_of(u"\r\n") != std::u16string_view::npos)
            throw BuildError(where + ": a text cannot hold a line break: " + quoted(text));
        text_ += toUtf8(text);
        text_ += "\r\n";
    }

    // A line of a list section other than the parameters.
    void listLine(std::u16string_view text, const std::string& where)
    {
        if (text == u"$")
            throw BuildError(where + ": a lone \"$\" would end its list in the package");
        line(text, where);
    }

    void list(const std::vector<std::u16string>& lines, const std::string& where)
    {
        for (const auto& text : lines)
            listLine(text, where);
        end();
    }

    void end() { text_ += "$\r\n"; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// Ids must be GUIDs, unique without letter case; no other line of the
// parameter section may equal one, or the engine would find it instead.
void checkIds(const PackageDraft& draft)
{
    std::unordered_map<std::u16string, std::string> owners;  // upper-case id -> who has it
    auto claim = [&owners](const std::u16string& id, const std::string& who) {
        if (!isBracedGuid(id))
            throw BuildError(who + ": the id " + quoted(id) + " is not a GUID in braces");
        const auto [at, added] = owners.emplace(upperCase(id), who);
        if (!added)
            throw BuildError(who + ": the id " + toUtf8(id) + " is already used by " + at->second);
    };
    for (const auto& include : draft.includes)
        claim(include.id, "include of " + toUtf8(include.file));
    for (size_t i = 0; i < draft.statements.size(); ++i)
        claim(draft.statements[i].id, describe(draft.statements[i], i));

    auto notAnId = [&owners](std::u16string_view text, const std::string& who) {
        const auto at = owners.find(upperCase(text));
        if (at != owners.end())
            throw BuildError(who + ": the text " + toUtf8(text) + " equals the id of " + at->second +
                             "; the engine would read the wrong parameters");
    };
    for (const auto& include : draft.includes) {
        notAnId(include.file, "include of " + toUtf8(include.file));
        notAnId(include.result, "include of " + toUtf8(include.file));
    }
    for (size_t i = 0; i < draft.statements.size(); ++i)
        for (size_t k = 0; k < draft.statements[i].params.size(); ++k)
            notAnId(draft.statements[i].params[k], describe(draft.statements[i], i) + " parameter " + std::to_string(k + 1));
}

void checkPlaces(const PackageDraft& draft)
{
    for (const auto& include : draft.includes) {
        const std::string who = "include of " + toUtf8(include.file);
        if (include.file.find(u'*') != std::u16string::npos)
            throw BuildError(who + ": a script file name cannot hold \"*\"");
        if (include.result.find(u'*') != std::u16string::npos || include.result == u"0")
            throw BuildError(who + ": " + quoted(include.result) +
                             " cannot name a result variable (\"*\" separates the entry, \"0\" marks the main script)");
        if (include.depth < 1 || include.firstStatement > draft.statements.size())
            throw BuildError(who + ": include out of place");
    }
    for (size_t i = 0; i < draft.statements.size(); ++i) {
        const auto& statement = draft.statements[i];
        if (statement.name.empty())
            throw BuildError(describe(statement, i) + ": a statement needs a command name");
        if (statement.sourceFile.find(u'*') != std::u16string::npos)
            throw BuildError(describe(statement, i) + ": a script file name cannot hold \"*\"");
    }
}

}  // namespace

std::string writePackage(const PackageDraft& draft)
{
    checkPlaces(draft);
    checkIds(draft);
    const auto& header = draft.header;
    const auto& statements = draft.statements;
    PackageText out;

    for (size_t i = 0; i < statements.size(); ++i)
        out.listLine(statements[i].name, describe(statements[i], i) + " name");
    out.end();
    for (size_t i = 0; i < statements.size(); ++i)
        out.listLine(statements[i].id, describe(statements[i], i) + " id");
    out.end();

    // Section 3: the include blocks first, then one block per statement that has
    // parameters, in statement order. A parameter that is "$" travels as "$DOLLAR$".
    for (const auto& include : draft.includes) {
        const std::string who = "include of " + toUtf8(include.file);
        out.listLine(include.id, who);
        out.listLine(include.file, who);
        out.listLine(include.result, who);
        out.listLine(formatUnsigned(include.firstStatement), who);
        out.listLine(formatInt(include.depth), who);
    }
    for (size_t i = 0; i < statements.size(); ++i) {
        if (statements[i].params.empty())
            continue;
        out.listLine(statements[i].id, describe(statements[i], i));
        for (size_t k = 0; k < statements[i].params.size(); ++k) {
            const auto& param = statements[i].params[k];
            out.line(isDollarWord(param) ? u"$DOLLAR$" : std::u16string_view(param),
                     describe(statements[i], i) + " parameter " + std::to_string(k + 1));
        }
    }
    out.end();

    for (size_t i = 0; i < statements.size(); ++i)
        out.listLine(statements[i].disabled ? u"C" : u"", describe(statements[i], i));
    out.end();

    out.line(header.productCode, "product code");
    out.line(header.title, "title");
    out.list(header.pluginCommands, "plug-in command");
    out.line(header.publisher, "publisher");
    out.line(header.contact, "contact");
    out.line(header.helpLink, "help link");
    out.line(header.updateInfoLink, "update link");
    out.line(header.comments, "comments");
    out.line(header.productVersion, "version");
    out.end();  // 14: web media passwords
    for (size_t i = 0; i < statements.size(); ++i)
        out.listLine(statements[i].mediaFolder, describe(statements[i], i) + " media folder");
    out.end();
    out.line(formatInt(header.mediaMode), "media mode");
    for (const auto& [component, size] : header.componentSizes) {
        out.listLine(component, "component size " + quoted(component));
        out.listLine(formatInt(size), "component size " + quoted(component));
    }
    out.end();
    out.line(header.revisionCode, "revision code");
    out.end();  // 19: offline files
    out.line(header.languageSelection ? u"TRUE" : u"FALSE", "language selection");
    out.line(header.defaultLanguage, "default language");
    out.end();  // 22: command headers
    for (const auto& [name, value] : header.compilerVariables) {
        out.listLine(name, "compiler variable " + quoted(name));
        out.listLine(value, "compiler variable " + quoted(name));
    }
    out.end();
    out.line(formatInt(header.codePage), "code page");
    for (size_t i = 0; i < statements.size(); ++i)
        out.listLine(statements[i].sourceFile + u"*" + formatInt(statements[i].sourceNumber), describe(statements[i], i));
    out.end();
    out.line(u"0", "payload size");
    out.end();  // 27: file headers
    for (size_t i = 0; i < statements.size(); ++i)
        out.listLine(statements[i].includeResult + u"*" + formatInt(statements[i].includeDepth), describe(statements[i], i));
    out.end();
    return out.text();
}

void verifyPackage(const PackageDraft& draft, const std::string& packageText)
{
    const TScriptPackage package = LoadScriptPackage(packageText);
    auto differ = [](const std::string& what) {
        throw BuildError("internal error: the written package reads back differently (" + what + ")");
    };
    if (package.statementCount() != draft.statements.size())
        differ("statement count");
    for (size_t i = 0; i < draft.statements.size(); ++i) {
        const auto& statement = draft.statements[i];
        if (package.statementName(i) != statement.name || package.statementId(i) != statement.id ||
            package.statementDisabled(i) != statement.disabled || package.statementMediaFolder(i) != statement.mediaFolder)
            differ(describe(statement, i));
        for (size_t k = 0; k < statement.params.size(); ++k) {
            const std::u16string& expected = isDollarWord(statement.params[k]) ? u"$" : statement.params[k];
            if (package.param(i, static_cast<int>(k + 1)) != expected)
                differ(describe(statement, i) + " parameter " + std::to_string(k + 1));
        }
        const auto level = package.includeLevel(i);
        const auto location = package.sourceLocation(i);
        if (level.result != statement.includeResult || level.depth != statement.includeDepth ||
            location.file != statement.sourceFile || location.number != statement.sourceNumber)
            differ(describe(statement, i) + " place");
    }
    if (package.title != draft.header.title || package.productCode != draft.header.productCode ||
        package.revisionCode != draft.header.revisionCode || package.mediaMode != draft.header.mediaMode ||
        package.codePage != draft.header.codePage || package.languageSelection != draft.header.languageSelection ||
        package.pluginCommands != draft.header.pluginCommands ||
        package.compilerVariablePairs() != draft.header.compilerVariables ||
        package.componentSizes != componentSizeLines(draft.header))
        differ("header");
}

}  // namespace pellion::authoring
