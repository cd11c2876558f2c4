// Line-by-line reading of the script package text: UTF-8 with an optional byte
// order mark, lines ended by CR LF; a lone CR or LF also ends a line, so a
// package whose line ends were changed by an editor still loads. What the lines
// mean is the package loader's business.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellion {

class TPackageLineReader {
public:
    // A leading U+FEFF is skipped; without it reading starts at the first byte.
    explicit TPackageLineReader(std::string_view text);

    // The next line without its line end, as UTF-16 (malformed UTF-8 becomes
    // U+FFFD); nullopt once the text is used up.
    std::optional<std::u16string> next();

    // Lines handed out so far; the last one handed out has this 1-based number.
    size_t linesRead() const { return linesRead_; }
    // Bytes consumed so far, the byte order mark and line ends included.
    size_t bytesRead() const { return position_; }

private:
    std::string_view text_;
    size_t position_ = 0;
    size_t linesRead_ = 0;
};

}  // namespace pellion
