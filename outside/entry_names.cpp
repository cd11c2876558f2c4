// Entry name safety, the compared form of names, and wildcard selection.

#include "outside/entry_names.h"

#include "common/letter_case.h"

#include <array>

namespace pellion::archive {

namespace {

bool isSeparator(char16_t c)
{
    return c == u'/' || c == u'\\';
}

bool isForbiddenCharacter(char16_t c)
{
    return c < 0x20 || c == u':' || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*';
}

// CON, PRN, AUX, NUL, COM1..9 and LPT1..9 name devices on Windows whatever the
// extension ("nul.txt" too) and with trailing blanks before it.
bool isDeviceName(std::u16string_view part)
{
    auto base = part.substr(0, part.find(u'.'));
    while (!base.empty() && base.back() == u' ')
        base.remove_suffix(1);
    static constexpr std::array<std::u16string_view, 4> plain = {u"CON", u"PRN", u"AUX", u"NUL"};
    for (const auto device : plain) {
        if (equalsAsciiNoCase(base, device))
            return true;
    }
    if (base.size() == 4 && base[3] >= u'1' && base[3] <= u'9') {
        const auto stem = base.substr(0, 3);
        return equalsAsciiNoCase(stem, u"COM") || equalsAsciiNoCase(stem, u"LPT");
    }
    return false;
}

bool isSafePart(std::u16string_view part)
{
    for (const char16_t c : part) {
        if (isForbiddenCharacter(c))
            return false;
    }
    return part.back() != u'.' && part.back() != u' ' && !isDeviceName(part);
}

std::vector<std::u16string_view> splitParts(std::u16string_view name)
{
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || isSeparator(name[i])) {
            if (i > start)
                parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool sameCharacter(char16_t patternChar, char16_t textChar)
{
    if (isSeparator(patternChar))
        return isSeparator(textChar);
    return toUpper(patternChar) == toUpper(textChar);
}

}  // namespace

std::optional<std::vector<std::u16string>> safeNameParts(std::u16string_view name)
{
    if (name.empty() || isSeparator(name.front()))
        return std::nullopt;
    std::vector<std::u16string> parts;
    for (const auto part : splitParts(name)) {
        if (part == u".")
            continue;
        if (!isSafePart(part))
            return std::nullopt;
        parts.emplace_back(part);
    }
    if (parts.empty())
        return std::nullopt;
    return parts;
}

std::u16string comparableName(std::u16string_view name)
{
    std::u16string result;
    for (const auto part : splitParts(name)) {
        if (!result.empty())
            result += u'/';
        result += part;
    }
    return result;
}

bool wildcardMatch(std::u16string_view pattern, std::u16string_view text)
{
    // Greedy scan that backtracks only to the last "*": linear in practice and
    // never recursive, so hostile patterns cannot exhaust the stack.
    size_t p = 0;
    size_t t = 0;
    size_t starAt = std::u16string_view::npos;
    size_t resumeAt = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = t;
        } else if (p < pattern.size() && (pattern[p] == u'?' || sameCharacter(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool patternSelects(std::u16string_view pattern, std::u16string_view name)
{
    const auto cleanPattern = comparableName(pattern);
    const auto cleanName = comparableName(name);
    if (cleanPattern.empty())
        return false;
    if (cleanPattern.find(u'/') == std::u16string::npos) {
        for (const auto part : splitParts(cleanName)) {
            if (wildcardMatch(cleanPattern, part))
                return true;
        }
        return false;
    }
    for (size_t end = 0; end <= cleanName.size(); ++end) {
        if ((end == cleanName.size() || cleanName[end] == u'/') &&
            wildcardMatch(cleanPattern, std::u16string_view(cleanName).substr(0, end)))
            return true;
    }
    return false;
}

}  // namespace pellion::archive
