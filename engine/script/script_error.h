// The one exception that ends a running script: a command or the statement loop
// raises it with the text the user sees after "Runtime error in setup script:".
// Ordinary failures are results stored in variables, never exceptions.
#pragma once

#include <exception>
#include <string>

#include "common/text.h"

namespace pellion {

class ScriptError : public std::exception {
public:
    explicit ScriptError(std::u16string text) : text_(std::move(text)), what_(toUtf8(text_)) {}
    const std::u16string& text() const { return text_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::u16string text_;
    std::string what_;
};

// The error of a parameter that must be a decimal integer and is not.
inline ScriptError notAnInteger(const std::u16string& text)
{
    return ScriptError(u"'" + text + u"' is not a valid integer value");
}

}  // namespace pellion
