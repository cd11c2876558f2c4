// The system's ANSI code page, which lookup-text fingerprints are taken in.
// On Windows it is whatever the system uses; on Linux (tests and the pack
// builder) the Western code page Windows-1252 stands in for it, the code page
// of the systems the packs are made for.
#pragma once

#include <string>
#include <string_view>

namespace pellion {

class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    // Characters the code page cannot hold become "?".
    virtual std::string encode(std::u16string_view text) const = 0;
};

class Windows1252CodePage final : public AnsiCodePage {
public:
    std::string encode(std::u16string_view text) const override;
};

#ifdef _WIN32
// The code page Windows reports as CP_ACP.
class SystemAnsiCodePage final : public AnsiCodePage {
public:
    std::string encode(std::u16string_view text) const override;
};
#endif

}  // namespace pellion
