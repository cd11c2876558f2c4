// Splitting, path parts and replacement.

#include "engine/commands/text_parts.h"

#include <algorithm>

#include "common/letter_case.h"
#include "common/numbers.h"

namespace pellion {

namespace {

// 1-based start of the first (or last) occurrence; 0 when there is none.
size_t occurrence(std::u16string_view text, std::u16string_view part, bool last)
{
    if (part.empty() || part.size() > text.size())
        return 0;
    const size_t at = last ? text.rfind(part) : text.find(part);
    return at == std::u16string_view::npos ? 0 : at + 1;
}

// Characters from..to (1-based, inclusive) of text, clipped.
std::u16string slice(std::u16string_view text, int64_t from, int64_t to)
{
    if (from < 1)
        from = 1;
    if (to > static_cast<int64_t>(text.size()))
        to = static_cast<int64_t>(text.size());
    if (to < from)
        return {};
    return std::u16string(text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
}

}  // namespace

std::pair<std::u16string, std::u16string> splitText(std::u16string_view source, std::u16string_view delimiter,
                                                    int64_t mode, bool anyCase)
{
    const int64_t length = static_cast<int64_t>(source.size());
    std::u16string searchedSource;
    std::u16string searchedDelimiter;
    if (anyCase) {
        searchedSource = lowerCase(source);
        searchedDelimiter = lowerCase(delimiter);
    } else {
        searchedSource = source;
        searchedDelimiter = delimiter;
    }
    int64_t position = 0;
    int64_t offset = 0;
    int64_t delimiterLength = 1;
    switch (mode) {
    case 0:
        position = static_cast<int64_t>(occurrence(searchedSource, searchedDelimiter, false));
        offset = 1;
        delimiterLength = static_cast<int64_t>(delimiter.size());
        if (position == 0)
            position = length + 1;
        break;
    case 1:
        position = static_cast<int64_t>(occurrence(searchedSource, searchedDelimiter, true));
        offset = 1;
        delimiterLength = static_cast<int64_t>(delimiter.size());
        if (position == 0) {
            position = 1;
            delimiterLength = 0;
        }
        break;
    case 2:
    case 3: {
        auto count = parseInt64(delimiter);
        if (!count)
            return {};
        // Counts beyond the source cut as the nearest count that still
        // lies outside it, so the arithmetic below cannot overflow.
        *count = std::clamp<int64_t>(*count, -1, length + 1);
        if (mode == 2) {
            position = *count;
            if (*count == 0) {
                position = 1;
                offset = 1;
                delimiterLength = -1;
            }
        } else {
            position = length - *count;
        }
        break;
    }
    default:
        return {};
    }
    if (position == 0)
        return {};
    return {slice(source, 1, position - offset), slice(source, position + delimiterLength, length)};
}

std::u16string trimmed(std::u16string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && text[begin] <= u' ')
        ++begin;
    while (end > begin && text[end - 1] <= u' ')
        --end;
    return std::u16string(text.substr(begin, end - begin));
}

std::u16string drivePart(std::u16string_view path)
{
    if (path.size() >= 2 && path[1] == u':')
        return std::u16string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') {
        // "\\server\share": up to the separator after the share.
        const size_t server = path.find(u'\\', 2);
        if (server == std::u16string_view::npos || server == 2)
            return {};
        const size_t share = path.find(u'\\', server + 1);
        if (share == server + 1)
            return {};
        return std::u16string(path.substr(0, share));
    }
    return {};
}

std::u16string extractPathPart(std::u16string_view path, int64_t code)
{
    const size_t separator = path.find_last_of(u"\\:");
    const std::u16string_view folder = separator == std::u16string_view::npos ? std::u16string_view()
                                                                                : path.substr(0, separator + 1);
    const std::u16string_view fileName = path.substr(folder.size());
    const size_t dot = fileName.rfind(u'.');
    switch (code) {
    case 0:
        return std::u16string(fileName);
    case 1:
        return std::u16string(dot == std::u16string_view::npos ? fileName : fileName.substr(0, dot));
    case 2:
        return dot == std::u16string_view::npos ? std::u16string() : std::u16string(fileName.substr(dot + 1));
    case 3:
        return std::u16string(folder);
    case 4: {
        if (folder.empty())
            return {};
        const std::u16string_view withoutSeparator = folder.substr(0, folder.size() - 1);
        const size_t parent = withoutSeparator.find_last_of(u"\\:");
        return parent == std::u16string_view::npos ? std::u16string()
                                                   : std::u16string(withoutSeparator.substr(0, parent + 1));
    }
    case 5: {
        const std::u16string drive = drivePart(path);
        return drive.empty() ? drive : drive + u"\\";
    }
    case 6: {
        std::u16string out;
        for (size_t i = 0; i < path.size(); ++i) {
            out.push_back(path[i]);
            if (path[i] == u'\\' && i + 1 < path.size() && path[i + 1] == u'\\')
                ++i;
        }
        return out;
    }
    default:
        return std::u16string(path);
    }
}

std::u16string replaceText(std::u16string_view value, std::u16string_view find, std::u16string_view replacement,
                           bool anyCase, bool everyOccurrence)
{
    if (find.empty())
        return std::u16string(value);
    const std::u16string searched = anyCase ? lowerCase(value) : std::u16string(value);
    const std::u16string wanted = anyCase ? lowerCase(find) : std::u16string(find);
    std::u16string out;
    size_t from = 0;
    while (from <= value.size()) {
        const size_t at = searched.find(wanted, from);
        if (at == std::u16string::npos)
            break;
        out.append(value.substr(from, at - from));
        out.append(replacement);
        from = at + wanted.size();
        if (!everyOccurrence)
            break;
    }
    out.append(value.substr(std::min(from, value.size())));
    return out;
}

std::u16string markLineBreaks(std::u16string_view text)
{
    return replaceText(text, u"\r\n", u"$NEWLINE$", false, true);
}

}  // namespace pellion
