// Splitting the package text into lines.

#include "package_lines.h"

#include "common/text.h"

namespace pellion {

TPackageLineReader::TPackageLineReader(std::string_view text) : text_(text)
{
    if (text_.substr(0, 3) == "\xEF\xBB\xBF")
        position_ = 3;
}

std::optional<std::u16string> TPackageLineReader::next()
{
    if (position_ >= text_.size())
        return std::nullopt;
    const size_t end = text_.find_first_of("\r\n", position_);
    const size_t lineEnd = end == std::string_view::npos ? text_.size() : end;
    std::u16string line = toUtf16(text_.substr(position_, lineEnd - position_));
    position_ = lineEnd;
    if (position_ < text_.size()) {
        if (text_[position_] == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n')
            position_ += 2;
        else
            position_ += 1;
    }
    ++linesRead_;
    return line;
}

}  // namespace pellion
