// UTF-16 <-> wchar_t at the Win32 edge. On Windows both are the same 16-bit units,
// so these are copies, kept in one place so no caller reinterprets pointers.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 edge needs 16-bit wchar_t");

inline std::wstring toWide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

inline std::u16string fromWide(const wchar_t* text)
{
    return text ? fromWide(std::wstring_view(text)) : std::u16string();
}

}  // namespace pellion
