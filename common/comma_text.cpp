// Comma text writer and reader.

#include "comma_text.h"

namespace pellion {

namespace {

bool isBlankOrControl(char16_t c) { return c <= u' '; }

bool needsQuotes(std::u16string_view item)
{
    for (const char16_t c : item)
        if (isBlankOrControl(c) || c == u',' || c == u'"')
            return true;
    return false;
}

}  // namespace

std::u16string quotedCommaItem(std::u16string_view item)
{
    if (!needsQuotes(item))
        return std::u16string(item);
    std::u16string out = u"\"";
    for (const char16_t c : item) {
        if (c == u'"')
            out.push_back(u'"');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

std::u16string joinCommaText(const std::vector<std::u16string>& items)
{
    // A lone empty item must stay distinguishable from an empty list.
    if (items.size() == 1 && items[0].empty())
        return u"\"\"";
    std::u16string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out.push_back(u',');
        out += quotedCommaItem(items[i]);
    }
    return out;
}

std::vector<std::u16string> splitCommaText(std::u16string_view line)
{
    std::vector<std::u16string> items;
    size_t i = 0;
    const size_t n = line.size();
    auto skipBlanks = [&] {
        while (i < n && isBlankOrControl(line[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        std::u16string item;
        if (line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        item.push_back(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item.push_back(line[i++]);
            }
        } else {
            while (i < n && !isBlankOrControl(line[i]) && line[i] != u',')
                item.push_back(line[i++]);
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (i < n && line[i] == u',') {
            ++i;
            // A separator at the very end still announces one more (empty) item.
            if (i == n)
                items.emplace_back();
            skipBlanks();
        }
    }
    return items;
}

}  // namespace pellion
