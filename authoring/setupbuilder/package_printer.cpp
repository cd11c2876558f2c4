// From package to draft: statement blocks found the way the engine finds them,
// include records taken from the front of the parameter section.

#include "authoring/setupbuilder/package_printer.h"

#include <algorithm>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/package_writer.h"
#include "authoring/setupbuilder/script_expansion.h"
#include "authoring/setupbuilder/script_source.h"
#include "authoring/setupbuilder/source_printer.h"
#include "authoring/setupbuilder/statement_ids.h"
#include "common/numbers.h"
#include "common/text.h"
#include "engine/startup/package_appendix.h"

namespace pellion::authoring {

namespace {

constexpr size_t includeRecordLines = 5;

// The include records written before the first statement block: id, file,
// result, first statement, depth. Empty when the lines are not such records.
std::optional<std::vector<DraftInclude>> includeRecords(const std::vector<std::u16string>& lines, size_t count,
                                                        size_t statementCount)
{
    std::vector<DraftInclude> records;
    if (count % includeRecordLines != 0)
        return std::nullopt;
    for (size_t at = 0; at < count; at += includeRecordLines) {
        DraftInclude record;
        record.id = lines[at];
        record.file = lines[at + 1];
        record.result = lines[at + 2];
        const auto first = parseInt64(lines[at + 3]);
        const auto depth = parseInt32(lines[at + 4]);
        if (!isBracedGuid(record.id) || !first || *first < 0 || static_cast<uint64_t>(*first) > statementCount ||
            !depth || *depth < 1)
            return std::nullopt;
        record.firstStatement = static_cast<size_t>(*first);
        record.depth = *depth;
        records.push_back(std::move(record));
    }
    return records;
}

std::string firstDifference(std::string_view a, std::string_view b)
{
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const size_t line = static_cast<size_t>(std::count(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + 1;
    return "line " + std::to_string(line) + " of the package";
}

}  // namespace

std::string_view packageTextOf(std::string_view bytes)
{
    const auto appendix = appendixOf(bytes);
    if (!appendix)
        return bytes;
    if (appendix->empty())
        throw BuildError("the executable carries no script package");
    return *appendix;
}

PackageDraft draftFromPackage(const TScriptPackage& package, std::vector<std::string>& warnings)
{
    PackageDraft draft;
    auto& header = draft.header;
    header.productCode = package.productCode;
    header.title = package.title;
    header.publisher = package.publisher;
    header.contact = package.contact;
    header.helpLink = package.helpLink;
    header.updateInfoLink = package.updateInfoLink;
    header.comments = package.comments;
    header.productVersion = package.productVersion;
    header.mediaMode = package.mediaMode;
    header.revisionCode = package.revisionCode;
    header.languageSelection = package.languageSelection;
    header.defaultLanguage = package.defaultLanguage;
    header.codePage = static_cast<int32_t>(package.codePage);
    header.pluginCommands = package.pluginCommands;
    header.compilerVariables = package.compilerVariablePairs();
    if (package.codePage != header.codePage)
        warnings.push_back("the code page does not fit 32 bits");

    const auto notKept = [&warnings](bool filled, const char* what) {
        if (filled)
            warnings.push_back(std::string("the package's ") + what + " cannot be written as source and are left out");
    };
    notKept(!package.webMediaPasswords.empty(), "web media passwords");
    // Component sizes print as name and size pairs; a list that is not made
    // of such pairs cannot be written as source.
    bool sizesKept = package.componentSizes.size() % 2 == 0;
    for (size_t i = 0; sizesKept && i < package.componentSizes.size(); i += 2) {
        const auto size = parseInt64(package.componentSizes[i + 1]);
        if (!size || *size < 0 || formatInt(*size) != package.componentSizes[i + 1])
            sizesKept = false;
        else
            header.componentSizes.emplace_back(package.componentSizes[i], *size);
    }
    if (!sizesKept)
        header.componentSizes.clear();
    notKept(!sizesKept, "component sizes");
    notKept(!package.offlineFiles.empty(), "offline file list entries");
    notKept(!package.commandHeaders.empty(), "command headers");
    notKept(!package.fileHeaders.empty(), "file headers");
    notKept(package.payloadSize != 0, "payload size and its other build tables");

    // Where each statement's block starts: the first line equal to its id, as
    // the engine finds it. A block runs to the next start.
    static const THashedStringList noParameters;
    const THashedStringList& parameters = package.parameterLists.empty() ? noParameters : package.parameterLists[0];
    const auto& lines = parameters.lines();
    std::vector<size_t> starts;
    for (size_t i = 0; i < package.statementCount(); ++i)
        if (const auto at = parameters.indexOf(package.statementId(i)))
            starts.push_back(*at);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    const size_t firstBlock = starts.empty() ? lines.size() : starts.front();

    for (size_t i = 0; i < package.statementCount(); ++i) {
        DraftStatement statement;
        statement.name = package.statementName(i);
        statement.id = package.statementId(i);
        statement.disabled = package.statementDisabled(i);
        if (!statement.disabled && !package.statementState(i).empty())
            warnings.push_back("statement " + std::to_string(i) + " has the state \"" + toUtf8(package.statementState(i)) +
                               "\", printed as active");
        statement.mediaFolder = package.statementMediaFolder(i);
        const auto location = package.sourceLocation(i);
        statement.sourceFile = location.file;
        statement.sourceNumber = location.number;
        const auto level = package.includeLevel(i);
        statement.includeResult = level.result;
        statement.includeDepth = level.depth;
        if (const auto at = parameters.indexOf(statement.id)) {
            const auto next = std::upper_bound(starts.begin(), starts.end(), *at);
            const size_t end = next == starts.end() ? lines.size() : *next;
            statement.params.assign(lines.begin() + static_cast<std::ptrdiff_t>(*at + 1),
                                    lines.begin() + static_cast<std::ptrdiff_t>(end));
        }
        if (draft.sourceName.empty() && statement.includeDepth == 0)
            draft.sourceName = statement.sourceFile;
        draft.statements.push_back(std::move(statement));
    }

    if (auto records = includeRecords(lines, firstBlock, package.statementCount()))
        draft.includes = std::move(*records);
    else
        warnings.push_back("the " + std::to_string(firstBlock) +
                           " parameter lines before the first statement's block are no include records and are left out");
    return draft;
}

PrintedPackage printPackage(std::string_view bytes)
{
    const std::string_view text = packageTextOf(bytes);
    size_t bytesRead = 0;
    TScriptPackage package;
    try {
        package = LoadScriptPackage(text, &bytesRead);
    } catch (const TScriptPackageError& error) {
        throw BuildError("the script package cannot be loaded: " + toUtf8(error.text()) + " (section " +
                         std::to_string(error.section()) + ", line " + std::to_string(error.line()) + ")");
    }
    PrintedPackage printed;
    const PackageDraft draft = draftFromPackage(package, printed.warnings);
    printed.source = printSource(draft, printed.warnings);

    // The printed source must give this package again.
    std::string rebuilt;
    try {
        const SourceScript script = parseScriptSource(printed.source, u"printed source");
        const ScriptLoader noFiles = [](std::u16string_view file) -> LoadedScript {
            throw BuildError("no script file " + toUtf8(file) + " beside printed source");
        };
        rebuilt = writePackage(expandScript(script, draft.sourceName, noFiles));
    } catch (const BuildError& error) {
        printed.warnings.push_back(std::string("the printed source does not build: ") + error.what());
        return printed;
    }
    const std::string_view original = text.substr(0, bytesRead);
    if (rebuilt != original)
        printed.warnings.push_back("the printed source builds a different package (from " +
                                   firstDifference(original, rebuilt) + ")");
    return printed;
}

}  // namespace pellion::authoring
