// The script source reader: classifies each line, collects values into the item
// they follow, and checks counts and places as soon as an item is complete.

#include "authoring/setupbuilder/script_source.h"

#include <set>

#include "authoring/setupbuilder/build_error.h"
#include "common/letter_case.h"
#include "common/numbers.h"
#include "common/text.h"

namespace pellion::authoring {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The header directives: one value each, main script only.
enum class HeaderField {
    productCode, title, publisher, contact, helpLink, updateLink, comments, version,
    mediaMode, revisionCode, languageSelection, defaultLanguage, codePage, sourceName,
};

struct HeaderKeyword { std::string_view keyword; HeaderField field; };
constexpr HeaderKeyword headerKeywords[] = {
    {"product-code", HeaderField::productCode},
    {"title", HeaderField::title},
    {"publisher", HeaderField::publisher},
    {"contact", HeaderField::contact},
    {"help-link", HeaderField::helpLink},
    {"update-link", HeaderField::updateLink},
    {"comments", HeaderField::comments},
    {"version", HeaderField::version},
    {"media-mode", HeaderField::mediaMode},
    {"revision-code", HeaderField::revisionCode},
    {"language-selection", HeaderField::languageSelection},
    {"default-language", HeaderField::defaultLanguage},
    {"code-page", HeaderField::codePage},
    {"source-name", HeaderField::sourceName},
};

class Parser {
public:
    explicit Parser(std::u16string_view fileName) { script_.fileName = std::u16string(fileName); }

    SourceScript run(std::string_view text)
    {
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            const bool last = end == std::string_view::npos;
            if (last)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            ++lineNumber_;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (!(last && line.empty()))
                handleLine(line);
            if (last)
                break;
            start = end + 1;
        }
        flush();
        if (!open_.empty())
            fail(open_.back().line, "@begin-include has no @end-include");
        return std::move(script_);
    }

private:
    enum class PendingKind { none, statement, include, beginInclude, directive };

    struct Pending {
        PendingKind kind = PendingKind::none;
        size_t line = 0;
        std::string keyword;
        std::vector<std::u16string> values;
        SourceItem item;
    };

    [[noreturn]] void fail(size_t line, const std::string& message) const
    {
        throw BuildError(toUtf8(script_.fileName) + ":" + std::to_string(line) + ": " + message);
    }

    std::u16string decode(std::string_view utf8) const
    {
        std::u16string text = toUtf16(utf8);
        if (toUtf8(text) != utf8)
            fail(lineNumber_, "the line is not valid UTF-8");
        if (text.find(u'\r') != std::u16string::npos)
            fail(lineNumber_, "a carriage return inside a line cannot be kept in a package");
        return text;
    }

    std::vector<SourceItem>& container() { return open_.empty() ? script_.items : open_.back().item.include.body; }

    void handleLine(std::string_view raw)
    {
        std::string_view line = raw;
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#')
            return;
        if (line.front() == '|') {
            value(decode(line.substr(1)));
            return;
        }
        if (line.front() == '@') {
            directive(line.substr(1));
            return;
        }
        if (line.front() == '[') {
            constexpr std::string_view mark = "[disabled]";
            if (line.substr(0, mark.size()) != mark)
                fail(lineNumber_, "unknown mark; a disabled statement starts with [disabled]");
            const std::string_view name = trimmed(line.substr(mark.size()));
            if (name.empty())
                fail(lineNumber_, "[disabled] needs a command name after it");
            beginStatement(decode(name), true);
            return;
        }
        beginStatement(decode(trimmed(line)), false);
    }

    void value(std::u16string text)
    {
        if (pending_.kind == PendingKind::none)
            fail(lineNumber_, "a value (|) outside any statement or directive");
        pending_.values.push_back(std::move(text));
    }

    void beginStatement(std::u16string name, bool disabled)
    {
        flush();
        pending_.kind = PendingKind::statement;
        pending_.line = lineNumber_;
        pending_.item.line = lineNumber_;
        pending_.item.statement.name = std::move(name);
        pending_.item.statement.disabled = disabled;
    }

    void directive(std::string_view rest)
    {
        size_t end = 0;
        while (end < rest.size() && !isBlank(rest[end]) && rest[end] != '|')
            ++end;
        const std::string keyword(rest.substr(0, end));
        std::string_view after = rest.substr(end);
        while (!after.empty() && isBlank(after.front()))
            after.remove_prefix(1);
        std::optional<std::u16string> inlineValue;
        if (!after.empty()) {
            if (after.front() != '|')
                fail(lineNumber_, "after @" + keyword + " only a value starting with | may follow");
            inlineValue = decode(after.substr(1));
        }

        if (keyword == "id" || keyword == "media-folder" || keyword == "disabled") {
            attribute(keyword, inlineValue);
            return;
        }
        if (keyword == "end-include") {
            if (inlineValue)
                fail(lineNumber_, "@end-include takes no value");
            endInclude();
            return;
        }

        flush();
        pending_.line = lineNumber_;
        pending_.item.line = lineNumber_;
        pending_.keyword = keyword;
        if (keyword == "command") {
            if (!inlineValue || inlineValue->empty())
                fail(lineNumber_, "@command needs the command name on its line: @command |Name");
            pending_.kind = PendingKind::statement;
            pending_.item.statement.name = std::move(*inlineValue);
            return;
        }
        if (keyword == "include") {
            pending_.kind = PendingKind::include;
        } else if (keyword == "begin-include") {
            pending_.kind = PendingKind::beginInclude;
            pending_.item.isInclude = true;
            pending_.item.include.written = true;
            open_.push_back(std::move(pending_));
            pending_ = Pending{};
            // The file and result values that follow belong to the open include.
            pending_.kind = PendingKind::beginInclude;
            pending_.line = lineNumber_;
        } else if (keyword == "compiler-variable" || keyword == "component-size" || keyword == "plugin-command" ||
                   isHeaderKeyword(keyword)) {
            pending_.kind = PendingKind::directive;
        } else {
            fail(lineNumber_, "unknown directive @" + keyword);
        }
        if (inlineValue)
            pending_.values.push_back(std::move(*inlineValue));
    }

    void attribute(const std::string& keyword, std::optional<std::u16string>& inlineValue)
    {
        const bool onStatement = pending_.kind == PendingKind::statement;
        const bool onInclude = pending_.kind == PendingKind::include || pending_.kind == PendingKind::beginInclude;
        if (keyword == "disabled") {
            if (inlineValue)
                fail(lineNumber_, "@disabled takes no value");
            if (!onStatement)
                fail(lineNumber_, "@disabled belongs to a statement");
            pending_.item.statement.disabled = true;
            return;
        }
        if (!inlineValue)
            fail(lineNumber_, "@" + keyword + " needs its value on the same line: @" + keyword + " |text");
        if (keyword == "media-folder") {
            if (!onStatement)
                fail(lineNumber_, "@media-folder belongs to a statement");
            pending_.item.statement.mediaFolder = std::move(*inlineValue);
            return;
        }
        // @id
        if (!onStatement && !onInclude)
            fail(lineNumber_, "@id belongs to a statement or an include");
        auto& target = onStatement ? pending_.item.statement.id
                       : pending_.kind == PendingKind::include ? pending_.item.include.id
                                                               : open_.back().item.include.id;
        if (target)
            fail(lineNumber_, "a second @id");
        target = std::move(*inlineValue);
    }

    void endInclude()
    {
        flush();
        if (open_.empty())
            fail(lineNumber_, "@end-include without @begin-include");
        SourceItem item = std::move(open_.back().item);
        open_.pop_back();
        container().push_back(std::move(item));
    }

    static bool isHeaderKeyword(const std::string& keyword)
    {
        for (const auto& h : headerKeywords)
            if (h.keyword == keyword)
                return true;
        return false;
    }

    void flush()
    {
        Pending done = std::move(pending_);
        pending_ = Pending{};
        switch (done.kind) {
        case PendingKind::none:
            return;
        case PendingKind::statement:
            done.item.statement.params = std::move(done.values);
            container().push_back(std::move(done.item));
            return;
        case PendingKind::include:
            done.item.isInclude = true;
            includeValues(done.item.include, done.values, done.line, "@include");
            container().push_back(std::move(done.item));
            return;
        case PendingKind::beginInclude:
            includeValues(open_.back().item.include, done.values, done.line, "@begin-include");
            return;
        case PendingKind::directive:
            headerDirective(done);
            return;
        }
    }

    void includeValues(SourceInclude& include, std::vector<std::u16string>& values, size_t line, const char* what)
    {
        if (values.empty() || values.size() > 2)
            fail(line, std::string(what) + " takes the script file and, optionally, the result variable");
        if (values[0].empty())
            fail(line, std::string(what) + " needs a script file name");
        include.file = std::move(values[0]);
        if (values.size() == 2)
            include.result = std::move(values[1]);
    }

    void headerDirective(Pending& done)
    {
        if (!open_.empty())
            fail(done.line, "@" + done.keyword + " belongs at the top of the main script, not inside an include");
        if (script_.firstHeaderLine == 0)
            script_.firstHeaderLine = done.line;
        auto& header = script_.header;
        auto& values = done.values;
        if (done.keyword == "compiler-variable") {
            if (values.size() != 2)
                fail(done.line, "@compiler-variable takes two values: the name, then the value");
            header.compilerVariables.emplace_back(std::move(values[0]), std::move(values[1]));
            return;
        }
        if (done.keyword == "component-size") {
            if (values.size() != 2)
                fail(done.line, "@component-size takes two values: the component, then its size in bytes");
            const auto size = parseInt64(values[1]);
            if (!size || *size < 0)
                fail(done.line, "@component-size: the size is no number of bytes");
            header.componentSizes.emplace_back(std::move(values[0]), *size);
            return;
        }
        if (values.size() != 1)
            fail(done.line, "@" + done.keyword + " takes exactly one value");
        if (done.keyword == "plugin-command") {
            header.pluginCommands.push_back(std::move(values[0]));
            return;
        }
        if (!seenFields_.insert(done.keyword).second)
            fail(done.line, "@" + done.keyword + " is given twice");
        std::u16string& text = values[0];
        HeaderField field{};
        for (const auto& h : headerKeywords)
            if (h.keyword == done.keyword)
                field = h.field;
        switch (field) {
        case HeaderField::productCode: header.productCode = std::move(text); break;
        case HeaderField::title: header.title = std::move(text); break;
        case HeaderField::publisher: header.publisher = std::move(text); break;
        case HeaderField::contact: header.contact = std::move(text); break;
        case HeaderField::helpLink: header.helpLink = std::move(text); break;
        case HeaderField::updateLink: header.updateInfoLink = std::move(text); break;
        case HeaderField::comments: header.comments = std::move(text); break;
        case HeaderField::version: header.productVersion = std::move(text); break;
        case HeaderField::revisionCode: header.revisionCode = std::move(text); break;
        case HeaderField::defaultLanguage: header.defaultLanguage = std::move(text); break;
        case HeaderField::sourceName: script_.sourceName = std::move(text); break;
        case HeaderField::mediaMode:
        case HeaderField::codePage: {
            const auto number = parseInt32(text);
            if (!number)
                fail(done.line, "@" + done.keyword + " needs a decimal number");
            (field == HeaderField::mediaMode ? header.mediaMode : header.codePage) = *number;
            break;
        }
        case HeaderField::languageSelection:
            if (equalsAsciiNoCase(text, u"TRUE"))
                header.languageSelection = true;
            else if (equalsAsciiNoCase(text, u"FALSE"))
                header.languageSelection = false;
            else
                fail(done.line, "@language-selection is TRUE or FALSE");
            break;
        }
    }

    SourceScript script_;
    size_t lineNumber_ = 0;
    Pending pending_;
    std::vector<Pending> open_;  // @begin-include items whose body is being read
    std::set<std::string> seenFields_;
};

}  // namespace

SourceScript parseScriptSource(std::string_view utf8, std::u16string_view fileName)
{
    return Parser(fileName).run(utf8);
}

}  // namespace pellion::authoring
