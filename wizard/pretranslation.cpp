// Pre-translation of a project with one pack. The project lists are read
// whole before anything is decided and the translated list is rewritten only
// at the end, so a run that fails leaves the project folder as it was. Rows
// travel as the UTF-8 bytes they were read as: a group that keeps its
// translation is written back byte for byte.
//
// Three points the row grouping leaves open are settled here so that the
// translated list always keeps its number of rows:
// - rows before the first dialog or script row form a group of their own,
//   which has no index and is translated only through the well-known pairs;
// - a pack text is used only when it has exactly one line per row of its
//   group; an entry of another shape counts as no entry;
// - lines of the translated list beyond the end of a shorter list are kept
//   as they are.

#include "pretranslation.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "common/text.h"
#include "common/translation_project.h"
#include "wizard/md5.h"
#include "wizard/pack_indexes.h"

namespace pellion {

namespace {

constexpr std::string_view crLf = "\r\n";

std::string_view withoutBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

char asciiLowerByte(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The map line of a dialog row ends with ".dfm" in any letter case. Only the
// last four bytes decide, and no multi-byte character lowers to ASCII there.
bool isDialogRow(std::string_view mapLine)
{
    constexpr std::string_view suffix = ".dfm";
    if (mapLine.size() < suffix.size())
        return false;
    const auto tail = mapLine.substr(mapLine.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) { return asciiLowerByte(a) == b; });
}

// The trimmed key line of a script row is a statement id in braces.
bool isScriptRow(std::string_view trimmedKey)
{
    return !trimmedKey.empty() && trimmedKey.front() == '{' && trimmedKey.back() == '}';
}

std::vector<std::u16string_view> splitAtLineBreaks(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// A pack text in the project's form (UTF-8, CR LF between lines), provided it
// holds one line per row of the group.
std::optional<std::string> packTextForRows(std::u16string_view text, size_t rows)
{
    const auto lines = splitAtLineBreaks(text);
    if (lines.size() != rows)
        return std::nullopt;
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += crLf;
        joined += toUtf8(lines[i]);
    }
    return joined;
}

enum class GroupKind { none, dialog, script };

// The row-group walk: rows are added one by one, a group is finished when the
// next row does not belong to it, and each finished group adds its text to
// the output.
class RowGroupWalk {
public:
    RowGroupWalk(const WizardState& state, const LanguagePack& pack, InputFile* dialogData, InputFile* scriptData,
                 bool overwrite, bool useWellKnown, std::string& output)
        : state_(state), pack_(pack), dialogData_(dialogData), scriptData_(scriptData), overwrite_(overwrite),
          useWellKnown_(useWellKnown), output_(output)
    {
    }

    void addRow(std::string_view keyLine, std::string_view originalLine, std::string_view mapLine,
                std::string_view translatedLine)
    {
        const std::string_view trimmedKey = withoutBlanks(keyLine);
        const std::string_view trimmedMap = withoutBlanks(mapLine);
        const bool dialogRow = isDialogRow(mapLine);
        const bool scriptRow = isScriptRow(trimmedKey);

        if (rows_ > 0 && endsBefore(trimmedKey, trimmedMap, dialogRow || scriptRow))
            finishGroup();

        groupKey_.assign(trimmedMap);
        groupKey_ += '.';
        groupKey_ += trimmedKey;
        if (rows_ > 0) {
            originalText_ += crLf;
            translatedText_ += crLf;
        }
        originalText_ += originalLine;
        translatedText_ += translatedLine;
        ++rows_;

        if (dialogRow) {
            groupKey_.assign(trimmedMap);
            if (!lookupText_.empty())
                lookupText_ += '\n';
            lookupText_ += mapLine;
            lookupText_ += '.';
            lookupText_ += keyLine;
            lookupText_ += '.';
            lookupText_ += originalLine;
            kind_ = GroupKind::dialog;
        }
        if (scriptRow) {
            groupKey_.assign(trimmedKey);
            if (lookupText_.empty())
                lookupText_.assign(trimmedKey);
            lookupText_ += '\n';
            lookupText_ += mapLine;
            lookupText_ += '\n';
            lookupText_ += originalLine;
            kind_ = GroupKind::script;
        }
    }

    void finishGroup()
    {
        if (rows_ == 0)
            return;
        if (overwrite_ || originalText_ == translatedText_) {
            output_ += newText();
        } else {
            output_ += translatedText_;
        }
        output_ += crLf;
        originalText_.clear();
        translatedText_.clear();
        lookupText_.clear();
        rows_ = 0;
    }

private:
    bool endsBefore(std::string_view trimmedKey, std::string_view trimmedMap, bool dialogOrScriptRow) const
    {
        switch (kind_) {
        case GroupKind::dialog: return groupKey_ != trimmedMap;
        case GroupKind::script: return groupKey_ != trimmedKey;
        case GroupKind::none: return dialogOrScriptRow;  // leading rows stay a group of their own
        }
        return true;
    }

    std::string newText() const
    {
        if (const auto packText = lookedUpText())
            return *packText;
        if (useWellKnown_)
            return toUtf8(TranslateWellKnown(state_, toUtf16(originalText_)));
        return originalText_;
    }

    // A group without dialog or script rows has nothing to look up: its empty
    // lookup text must not pick up a pack entry made for the empty text.
    std::optional<std::string> lookedUpText() const
    {
        if (kind_ == GroupKind::none || lookupText_.empty())
            return std::nullopt;
        const bool dialog = kind_ == GroupKind::dialog;
        const std::u16string fingerprint = TextFingerprint(state_.codePage, toUtf16(lookupText_));
        const std::u16string text = LookupPackText(fingerprint, dialog ? state_.indexes.dialogs : state_.indexes.scripts,
                                                   dialog ? dialogData_ : scriptData_, pack_.dataKey);
        if (text.empty())
            return std::nullopt;
        return packTextForRows(text, rows_);
    }

    const WizardState& state_;
    const LanguagePack& pack_;
    InputFile* dialogData_;
    InputFile* scriptData_;
    const bool overwrite_;
    const bool useWellKnown_;
    std::string& output_;

    GroupKind kind_ = GroupKind::none;
    std::string groupKey_;
    std::string originalText_;
    std::string translatedText_;
    std::string lookupText_;
    size_t rows_ = 0;
};

// 0 when the data file is there and unchanged since the scan.
int checkDataFile(FileSystem& files, const std::u16string& path, const std::u16string& fingerprint, int missing,
                  int modified)
{
    if (path.empty())
        return 0;
    if (!fileExists(files, path))
        return missing;
    const auto actual = fileFingerprint(files, path);
    if (!actual)
        return missing;
    return *actual == fingerprint ? 0 : modified;
}

int translate(WizardState& state, int packId, std::u16string_view keyListPath, bool overwrite, bool useWellKnown)
{
    if (const int loaded = LoadPackIndexes(state, packId); loaded != 0)
        return loaded;
    const LanguagePack& pack = *state.findPack(packId);
    FileSystem& files = state.files;

    const std::u16string keyPath(keyListPath);
    if (!fileExists(files, keyPath))
        return -101;
    const std::u16string folder = folderOfPath(keyPath);
    const std::u16string originalPath = folder + std::u16string(originalListName);
    const std::u16string mapPath = folder + std::u16string(mapListName);
    const std::u16string translatedPath = folder + translatedListName(pack.extension);
    if (!fileExists(files, originalPath))
        return -102;
    if (!fileExists(files, mapPath))
        return -103;
    if (!fileExists(files, translatedPath))
        return -105;

    if (const int dialogs = checkDataFile(files, pack.dialogDataPath, pack.dialogDataFingerprint, -108, -110))
        return dialogs;
    if (const int scripts = checkDataFile(files, pack.scriptDataPath, pack.scriptDataFingerprint, -109, -111))
        return scripts;

    // A list that exists but cannot be read gets the code of that list.
    const auto keys = readProjectList(files, keyPath);
    if (!keys)
        return -101;
    const auto originals = readProjectList(files, originalPath);
    if (!originals)
        return -102;
    const auto maps = readProjectList(files, mapPath);
    if (!maps)
        return -103;
    const auto translations = readProjectList(files, translatedPath);
    if (!translations)
        return -105;
    std::unique_ptr<InputFile> dialogData;
    std::unique_ptr<InputFile> scriptData;
    if (!pack.dialogDataPath.empty() && !(dialogData = files.openForReading(pack.dialogDataPath)))
        return -108;
    if (!pack.scriptDataPath.empty() && !(scriptData = files.openForReading(pack.scriptDataPath)))
        return -109;

    std::string output;
    const size_t rows = std::min({keys->size(), originals->size(), maps->size(), translations->size()});
    {
        RowGroupWalk walk(state, pack, dialogData.get(), scriptData.get(), overwrite, useWellKnown, output);
        for (size_t row = 0; row < rows; ++row)
            walk.addRow(keys->line(row), originals->line(row), maps->line(row), translations->line(row));
        walk.finishGroup();
    }
    for (size_t row = rows; row < translations->size(); ++row) {
        output += translations->line(row);
        output += crLf;
    }
    dialogData.reset();
    scriptData.reset();

    return static_cast<int>(rewriteTranslatedList(files, folder, pack.extension, output));
}

}  // namespace

int TranslateProject(WizardState& state, int packId, std::u16string_view keyListPath, bool overwrite,
                     bool useWellKnown)
{
    if (!state.packsScanned)
        return -100;
    try {
        return translate(state, packId, keyListPath, overwrite, useWellKnown);
    } catch (...) {
        return -199;
    }
}

std::u16string TranslateWellKnown(const WizardState& state, std::u16string_view text)
{
    std::u16string withoutCr;
    withoutCr.reserve(text.size());
    for (const char16_t c : text)
        if (c != u'\r')
            withoutCr.push_back(c);

    std::u16string result;
    size_t start = 0;
    while (true) {
        const size_t end = std::min(withoutCr.find(u'\n', start), withoutCr.size());
        const std::u16string_view line = std::u16string_view(withoutCr).substr(start, end - start);
        if (start > 0)
            result += u"\r\n";
        const size_t before = line.find_first_not_of(u' ');
        if (before == std::u16string_view::npos) {
            result += line;  // blanks only: nothing to translate
        } else {
            const size_t after = line.size() - 1 - line.find_last_not_of(u' ');
            const std::u16string core(line.substr(before, line.size() - before - after));
            const std::u16string* translation = state.indexes.wellKnown.find(core);
            result.append(before, u' ');
            result += translation ? *translation : core;
            result.append(after, u' ');
        }
        if (end == withoutCr.size())
            break;
        start = end + 1;
    }
    return result;
}

}  // namespace pellion
