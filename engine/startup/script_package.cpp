// Loading the script package's 28 sections and the lookups over them.

#include "script_package.h"

#include "common/letter_case.h"
#include "common/numbers.h"
#include "common/text.h"
#include "engine/startup/package_lines.h"

namespace pellion {

TScriptPackageError::TScriptPackageError(std::u16string text, int section, size_t line)
    : text_(std::move(text)), section_(section), line_(line),
      what_(toUtf8(text_))
{
}

namespace {

constexpr char16_t beyondEnd[] = u"Read beyond end of file";
constexpr char16_t invalidNumber[] = u"Invalid numeric input";

// Reads the sections in order; each reader names its section for the error.
class SectionReader {
public:
    explicit SectionReader(std::string_view text) : lines_(text) {}

    std::u16string line(int section)
    {
        auto read = lines_.next();
        if (!read)
            throw TScriptPackageError(beyondEnd, section, lines_.linesRead() + 1);
        return std::move(*read);
    }

    // Lines up to the terminator "$". Text that ends first is a truncated
    // package: stopping there keeps the reader from running past the end.
    std::vector<std::u16string> list(int section)
    {
        std::vector<std::u16string> lines;
        for (;;) {
            auto read = line(section);
            if (read == u"$")
                return lines;
            lines.push_back(std::move(read));
        }
    }

    // A decimal number, after optional blanks, up to the next blank; the rest of
    // the line is discarded.
    int64_t number(int section, bool wide)
    {
        const std::u16string text = line(section);
        size_t start = 0;
        while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
            ++start;
        size_t end = start;
        while (end < text.size() && text[end] != u' ' && text[end] != u'\t')
            ++end;
        const std::u16string_view token = std::u16string_view(text).substr(start, end - start);
        std::optional<int64_t> value;
        if (wide)
            value = parseInt64(token);
        else if (const auto narrow = parseInt32(token))
            value = *narrow;
        if (!value)
            throw TScriptPackageError(invalidNumber, section, lines_.linesRead());
        return *value;
    }

    size_t bytesRead() const { return lines_.bytesRead(); }

private:
    TPackageLineReader lines_;
};

// A lone "$" ends a list, so a parameter whose whole value is "$" travels as one
// of these two words; only whole lines are put back.
void restoreDollarLines(std::vector<std::u16string>& lines)
{
    for (const char16_t* word : {u"$WILD_DOLLAR$", u"$DOLLAR$"})
        for (auto& line : lines)
            if (equalsNoCase(line, word))
                line.assign(1, u'$');
}

// The first pair (name at an even index) whose name matches; the value's index.
std::optional<size_t> pairValueIndex(const std::vector<std::u16string>& lines, std::u16string_view name)
{
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        if (equalsNoCase(lines[i], name))
            return i + 1;
    return std::nullopt;
}

}  // namespace

const std::u16string& ParamOf(const TParameterLists& parameterLists, std::u16string_view statementId, int k)
{
    static const std::u16string none;
    // An empty id (a statement number outside the package) would otherwise find
    // the first empty parameter line.
    if (k < 0 || statementId.empty())
        return none;
    for (const auto& list : parameterLists) {
        if (const auto at = list.indexOf(statementId))
            return list.line(*at + static_cast<size_t>(k));
    }
    return none;
}

TSourceLocation TScriptPackage::sourceLocation(size_t i) const
{
    const std::u16string& entry = sourceLocations.line(i);
    const size_t star = entry.rfind(u'*');
    if (star == std::u16string::npos)
        return {entry, 0};
    return {entry.substr(0, star), parseInt32(std::u16string_view(entry).substr(star + 1)).value_or(0)};
}

TIncludeLevel TScriptPackage::includeLevel(size_t i) const
{
    const std::u16string& entry = includeLevels.line(i);
    const size_t star = entry.find(u'*');
    if (star == std::u16string::npos)
        return {};
    return {entry.substr(0, star), parseInt32(std::u16string_view(entry).substr(star + 1)).value_or(0)};
}

std::vector<std::pair<std::u16string, std::u16string>> TScriptPackage::compilerVariablePairs() const
{
    std::vector<std::pair<std::u16string, std::u16string>> pairs;
    const auto& lines = compilerVariables.lines();
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        pairs.emplace_back(lines[i], lines[i + 1]);
    return pairs;
}

std::optional<std::u16string> TScriptPackage::compilerVariable(std::u16string_view name) const
{
    if (const auto at = pairValueIndex(compilerVariables.lines(), name))
        return compilerVariables.line(*at);
    return std::nullopt;
}

std::optional<std::u16string> TScriptPackage::webMediaPassword(std::u16string_view blockName) const
{
    if (const auto at = pairValueIndex(webMediaPasswords, blockName))
        return webMediaPasswords[*at];
    return std::nullopt;
}

int64_t TScriptPackage::componentSize(std::u16string_view component) const
{
    if (const auto at = pairValueIndex(componentSizes, component))
        return parseInt64(componentSizes[*at]).value_or(0);
    return 0;
}

std::u16string TScriptPackage::commandHeaderOf(size_t statementNumber) const
{
    // Only the second line of each pair is a statement number: a header id made
    // of decimal digits alone ("297") must not be taken for one.
    const std::u16string number = formatUnsigned(statementNumber);
    const auto& lines = commandHeaders.lines();
    for (size_t i = 1; i < lines.size(); i += 2)
        if (lines[i] == number)
            return lines[i - 1];
    return {};
}

TScriptPackage LoadScriptPackage(std::string_view text, size_t* bytesRead)
{
    SectionReader read(text);
    TScriptPackage package;
    package.statementNames = THashedStringList(read.list(1));
    package.statementIds = THashedStringList(read.list(2));
    auto parameters = read.list(3);
    restoreDollarLines(parameters);
    THashedStringList parameterList(std::move(parameters));
    package.statementStates = THashedStringList(read.list(4));
    package.productCode = read.line(5);
    package.title = read.line(6);
    package.translationProjectName = package.title;
    package.pluginCommands = read.list(7);
    package.publisher = read.line(8);
    package.contact = read.line(9);
    package.helpLink = read.line(10);
    package.updateInfoLink = read.line(11);
    package.comments = read.line(12);
    package.productVersion = read.line(13);
    package.webMediaPasswords = read.list(14);
    package.statementMediaFolders = THashedStringList(read.list(15));
    package.mediaMode = static_cast<int32_t>(read.number(16, false));
    package.componentSizes = read.list(17);
    package.revisionCode = read.line(18);
    package.offlineFiles = THashedStringList(read.list(19));
    package.languageSelection = read.line(20) == u"TRUE";
    package.defaultLanguage = read.line(21);
    package.commandHeaders = THashedStringList(read.list(22));
    package.compilerVariables = THashedStringList(read.list(23));
    package.codePage = read.number(24, true);
    package.sourceLocations = THashedStringList(read.list(25));
    package.payloadSize = read.number(26, true);
    package.fileHeaders = THashedStringList(read.list(27));
    package.includeLevels = THashedStringList(read.list(28));
    package.parameterLists.push_back(std::move(parameterList));
    if (bytesRead)
        *bytesRead = read.bytesRead();
    return package;
}

}  // namespace pellion
