// Trace writer. A failing write is ignored: the trace never changes a run.

#include "engine/startup/trace.h"

#include <filesystem>
#include <fstream>

namespace pellion {

void Trace::line(std::u16string_view text)
{
    if (file_.empty())
        return;
    const auto mode = std::ios::binary | (wroteAny_ ? std::ios::app : std::ios::trunc);
    std::ofstream out(std::filesystem::path(file_), mode);
    wroteAny_ = true;
    if (!out)
        return;
    std::string bytes;
    bytes.reserve((text.size() + 2) * 2);
    auto put = [&bytes](char16_t c) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    };
    for (const char16_t c : text)
        put(c);
    put(u'\r');
    put(u'\n');
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace pellion
