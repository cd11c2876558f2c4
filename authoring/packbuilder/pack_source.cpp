// Parsing the readable pack source. Errors name the file and line so an
// author can find them; duplicate lookup texts and well-known sources are
// refused because only the first of them could ever be used.

#include "pack_source.h"

#include <set>
#include <vector>

#include "common/numbers.h"
#include "common/text.h"
#include "wizard/language_table.h"

namespace pellion {

namespace {

struct SourceError {
    std::string message;
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string where(std::string_view file, size_t row)
{
    return std::string(file) + ":" + std::to_string(row + 1) + ": ";
}

bool ignored(std::string_view line)
{
    return trimmed(line).empty() || line.front() == '#';
}

std::optional<int32_t> number(std::string_view text)
{
    return parseInt32(toUtf16(text));
}

void parseSettings(std::string_view bytes, PackSource& pack)
{
    constexpr std::string_view file = "pack.txt";
    const ProjectList lines = ProjectList::fromBytes(std::string(bytes));
    std::set<std::string> seen;
    for (size_t row = 0; row < lines.size(); ++row) {
        const std::string_view line = lines.line(row);
        if (ignored(line))
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            throw SourceError{where(file, row) + "expected \"name = value\""};
        const std::string name(trimmed(line.substr(0, equals)));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (!seen.insert(name).second)
            throw SourceError{where(file, row) + "\"" + name + "\" is given twice"};
        if (name == "name") {
            pack.name = toUtf16(value);
        } else if (name == "extension") {
            pack.extension = toUtf16(value);
        } else if (name == "format") {
            const auto format = number(value);
            if (!format || (*format != 3 && *format != 4))
                throw SourceError{where(file, row) + "the format is 3 or 4"};
            pack.format = *format;
        } else if (name == "version") {
            const size_t first = value.find('.');
            const size_t second = first == std::string_view::npos ? first : value.find('.', first + 1);
            if (second == std::string_view::npos)
                throw SourceError{where(file, row) + "the version is major.minor.build"};
            const auto major = number(value.substr(0, first));
            const auto minor = number(value.substr(first + 1, second - first - 1));
            const auto build = number(value.substr(second + 1));
            if (!major || !minor || !build)
                throw SourceError{where(file, row) + "the version is major.minor.build"};
            pack.major = *major;
            pack.minor = *minor;
            pack.build = *build;
        } else {
            throw SourceError{where(file, row) + "unknown setting \"" + name + "\""};
        }
    }
    if (pack.name.empty())
        throw SourceError{std::string(file) + ": the pack needs a name"};
    if (LanguageCodeOf(pack.extension) == 0)
        throw SourceError{std::string(file) + ": \"" + toUtf8(pack.extension)
                          + "\" is not a language extension Lexwiz knows"};
}

struct Block {
    std::vector<std::u16string> lookup;
    std::vector<std::u16string> translation;
    size_t firstRow = 0;
};

std::vector<Block> parseBlocks(std::string_view file, std::string_view bytes)
{
    const ProjectList lines = ProjectList::fromBytes(std::string(bytes));
    std::vector<Block> blocks;
    for (size_t row = 0; row < lines.size(); ++row) {
        const std::string_view line = lines.line(row);
        if (ignored(line))
            continue;
        const std::u16string text = toUtf16(line.substr(1));
        if (line.front() == '>') {
            if (blocks.empty() || !blocks.back().translation.empty())
                blocks.push_back({{}, {}, row});
            blocks.back().lookup.push_back(text);
        } else if (line.front() == '=') {
            if (blocks.empty())
                throw SourceError{where(file, row) + "a translation (\"=\") needs its lookup lines (\">\") first"};
            blocks.back().translation.push_back(text);
        } else {
            throw SourceError{where(file, row) + "a line starts with \">\", \"=\" or \"#\""};
        }
    }
    if (!blocks.empty() && blocks.back().translation.empty())
        throw SourceError{where(file, blocks.back().firstRow) + "the entry has no translation (\"=\") lines"};
    return blocks;
}

std::u16string joined(const std::vector<std::u16string>& lines, std::u16string_view separator)
{
    std::u16string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += separator;
        text += lines[i];
    }
    return text;
}

std::vector<PackEntrySource> parseEntries(std::string_view file, std::string_view bytes)
{
    std::vector<PackEntrySource> entries;
    std::set<std::u16string> seen;
    for (const auto& block : parseBlocks(file, bytes)) {
        PackEntrySource entry{joined(block.lookup, u"\n"), joined(block.translation, u"\r\n")};
        if (!seen.insert(entry.lookupText).second)
            throw SourceError{where(file, block.firstRow) + "the same lookup text is given twice"};
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<WellKnownPair> parseWellKnown(std::string_view bytes)
{
    constexpr std::string_view file = "wellknown.txt";
    std::vector<WellKnownPair> pairs;
    std::set<std::u16string> seen;
    for (const auto& block : parseBlocks(file, bytes)) {
        if (block.lookup.size() != 1 || block.translation.size() != 1)
            throw SourceError{where(file, block.firstRow) + "a well-known pair is one \">\" line and one \"=\" line"};
        if (block.lookup[0].empty() || block.translation[0].empty())
            throw SourceError{where(file, block.firstRow) + "neither side of a well-known pair may be empty"};
        if (!seen.insert(block.lookup[0]).second)
            throw SourceError{where(file, block.firstRow) + "the same source is given twice"};
        pairs.push_back({block.lookup[0], block.translation[0]});
    }
    return pairs;
}

}  // namespace

ParsedPackSource parsePackSource(std::string_view settings, std::string_view dialogs, std::string_view scripts,
                                 std::string_view wellKnown)
{
    try {
        PackSource pack;
        parseSettings(settings, pack);
        pack.dialogs = parseEntries("dialogs.txt", dialogs);
        pack.scripts = parseEntries("scripts.txt", scripts);
        pack.wellKnown = parseWellKnown(wellKnown);
        return {std::move(pack), {}};
    } catch (const SourceError& error) {
        return {std::nullopt, error.message};
    }
}

ParsedPackSource readPackSource(FileSystem& files, std::u16string_view sourceFolder)
{
    const std::u16string folder = withTrailingBackslash(sourceFolder);
    const auto settings = readWholeFile(files, folder + std::u16string(packSettingsFileName));
    if (!settings)
        return {std::nullopt, "pack.txt: cannot be read"};
    auto optional = [&](std::u16string_view name) -> std::optional<std::string> {
        const std::u16string path = folder + std::u16string(name);
        if (files.entryInfo(path).kind == EntryKind::missing)
            return std::string();
        return readWholeFile(files, path);
    };
    const auto dialogs = optional(dialogSourceFileName);
    const auto scripts = optional(scriptSourceFileName);
    const auto wellKnown = optional(wellKnownSourceFileName);
    if (!dialogs || !scripts || !wellKnown)
        return {std::nullopt, "a source file exists but cannot be read"};
    return parsePackSource(*settings, *dialogs, *scripts, *wellKnown);
}

}  // namespace pellion
