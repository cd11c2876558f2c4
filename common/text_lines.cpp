// Splitting a UTF-8 text file into lines.

#include "common/text_lines.h"

#include "common/text.h"

namespace pellion {

std::vector<std::u16string> utf8Lines(std::string_view fileText)
{
    std::u16string text = toUtf16(fileText);
    if (!text.empty() && text.front() == u'\uFEFF')
        text.erase(0, 1);
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

}  // namespace pellion
