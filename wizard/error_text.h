// The message texts of the wizard's error codes.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

// packExtension is the language extension of the pack in use, named by the
// texts of -105, -106 and -107.
std::u16string ErrorText(int code, std::u16string_view packExtension = {});

}  // namespace pellion
