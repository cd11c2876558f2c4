// Where a package appended to an executable begins: the first byte after the
// file's PE image, computed from its section headers. Portable: it looks only at
// the file's bytes, so the engine (its own file, the archive library), the
// authoring tool and the host tests all share it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pellion {

// The end of the image: the largest raw-data offset plus raw-data size over all
// section headers (never less than the end of the section table itself).
// Works for 32-bit (PE32) and 64-bit (PE32+) images: the section table is found
// through the optional header's size written in the file header. Only the
// headers are read, so a prefix holding them is enough. nullopt when the bytes
// hold no well-formed PE header.
std::optional<uint64_t> peImageEnd(std::string_view fileBytes);

// Everything after the image: empty when nothing is appended (also when the file
// is shorter than its image claims); nullopt when the bytes are not a PE image.
std::optional<std::string_view> appendixOf(std::string_view fileBytes);

}  // namespace pellion
