// The trace file: tagged lines appended as UTF-16LE without byte-order mark,
// each ended by CR LF. The first line a process writes empties the file, so a
// trace shows one run; later redirections of the file name append.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

class Trace {
public:
    // An empty file name turns tracing off.
    void setFile(std::u16string_view path) { file_ = path; }
    const std::u16string& file() const { return file_; }

    void line(std::u16string_view text);

private:
    std::u16string file_;
    bool wroteAny_ = false;
};

}  // namespace pellion
