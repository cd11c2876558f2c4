// The system's ANSI code page through WideCharToMultiByte.

#include <windows.h>

#include "ansi_code_page.h"
#include "common/wide.h"

namespace pellion {

std::string SystemAnsiCodePage::encode(std::u16string_view text) const
{
    if (text.empty())
        return {};
    const std::wstring wide = toWide(text);
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace pellion
