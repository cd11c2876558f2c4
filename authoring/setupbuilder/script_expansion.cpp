// Walking the items of the main script and of every script it includes, in
// order, numbering statements per script file the way error reports count them.

#include "authoring/setupbuilder/script_expansion.h"

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/statement_ids.h"
#include "common/text.h"

namespace pellion::authoring {

namespace {

constexpr int maximumDepth = 64;

// One script file being walked: its name, the place of the include that
// brought it in, and what its statements carry in section 28.
struct FileFrame {
    std::u16string file;
    std::vector<SourceStep> place;  // steps leading to this file's statements
    std::u16string result;
    int32_t depth = 0;
    int32_t nextNumber = 0;
};

class Expander {
public:
    Expander(const ScriptLoader& loader) : loader_(loader) {}

    PackageDraft run(const SourceScript& main, std::u16string_view mainName)
    {
        draft_.header = main.header;
        draft_.sourceName = main.sourceName.value_or(std::u16string(mainName));
        FileFrame frame{draft_.sourceName, {}, u"0", 0, 0};
        walk(main.items, frame, main.fileName);
        return std::move(draft_);
    }

private:
    void walk(const std::vector<SourceItem>& items, FileFrame& frame, const std::u16string& messageFile)
    {
        for (const auto& item : items) {
            std::vector<SourceStep> place = frame.place;
            place.emplace_back(frame.file, frame.nextNumber++);
            if (item.isInclude)
                include(item, frame, place, messageFile);
            else
                statement(item.statement, frame, place);
        }
    }

    void statement(const SourceStatement& source, const FileFrame& frame, const std::vector<SourceStep>& place)
    {
        DraftStatement out;
        out.name = source.name;
        out.params = source.params;
        out.disabled = source.disabled;
        out.mediaFolder = source.mediaFolder;
        if (source.id) {
            out.id = *source.id;
        } else {
            std::vector<std::u16string> content{source.name};
            content.insert(content.end(), source.params.begin(), source.params.end());
            out.id = derivedId("statement", place, content);
        }
        out.sourceFile = frame.file;
        out.sourceNumber = place.back().second;
        out.includeResult = frame.result;
        out.includeDepth = frame.depth;
        draft_.statements.push_back(std::move(out));
    }

    void include(const SourceItem& item, const FileFrame& frame, const std::vector<SourceStep>& place,
                 const std::u16string& messageFile)
    {
        const SourceInclude& source = item.include;
        const std::string where = toUtf8(messageFile) + ":" + std::to_string(item.line) + ": ";
        if (frame.depth + 1 > maximumDepth)
            throw BuildError(where + "includes nest deeper than " + std::to_string(maximumDepth));

        DraftInclude out;
        out.id = source.id ? *source.id : derivedId("include", place, {source.file, source.result});
        out.file = source.file;
        out.result = source.result;
        out.firstStatement = draft_.statements.size();
        out.depth = frame.depth + 1;
        draft_.includes.push_back(std::move(out));

        FileFrame inner{source.file, place, source.result, frame.depth + 1, 0};
        if (source.written) {
            walk(source.body, inner, messageFile);
            return;
        }
        LoadedScript loaded;
        try {
            loaded = loader_(source.file);
        } catch (const BuildError& error) {
            throw BuildError(where + error.what());
        }
        for (const auto& open : openFiles_)
            if (open == loaded.key)
                throw BuildError(where + "the script " + toUtf8(source.file) + " includes itself");
        const SourceScript script = parseScriptSource(loaded.bytes, source.file);
        if (script.firstHeaderLine != 0)
            throw BuildError(toUtf8(source.file) + ":" + std::to_string(script.firstHeaderLine) +
                             ": package fields and compiler variables belong in the main script");
        openFiles_.push_back(loaded.key);
        walk(script.items, inner, source.file);
        openFiles_.pop_back();
    }

    const ScriptLoader& loader_;
    PackageDraft draft_;
    std::vector<std::string> openFiles_;
};

}  // namespace

PackageDraft expandScript(const SourceScript& main, std::u16string_view mainName, const ScriptLoader& loader)
{
    return Expander(loader).run(main, mainName);
}

}  // namespace pellion::authoring
