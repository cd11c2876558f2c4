// SHA-1 digests (FIPS 180-4), used only to derive stable statement ids from a
// statement's place and content; nothing here is about security.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pellion::authoring {

std::array<uint8_t, 20> sha1(std::string_view bytes);

}  // namespace pellion::authoring
