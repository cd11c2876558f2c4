// Reading the compression switches out of a switch text.

#include "outside/switch_text.h"

#include "common/letter_case.h"

namespace pellion::archive {

CompressionChoice compressionFromSwitches(std::u16string_view switches)
{
    CompressionChoice choice;
    const auto text = asciiLowerCase(switches);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u' ', start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string_view token = std::u16string_view(text).substr(start, end - start);
        start = end + 1;
        if (token.starts_with(u"-mx")) {
            auto level = token.substr(3);
            if (level.starts_with(u"="))
                level.remove_prefix(1);
            if (level.size() == 1 && level[0] >= u'0' && level[0] <= u'9') {
                const int value = level[0] - u'0';
                choice.compression = value == 0 ? Compression::stored : Compression::deflate;
                if (value > 0)
                    choice.level = value;
            }
        } else if (token.starts_with(u"-m0=") || token.starts_with(u"-mm=")) {
            const auto method = token.substr(4);
            choice.compression = method == u"copy" || method == u"store" ? Compression::stored : Compression::deflate;
        }
    }
    return choice;
}

}  // namespace pellion::archive
