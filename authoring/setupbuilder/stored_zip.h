// A minimal ZIP writer: stored (uncompressed) entries, UTF-8 names, fixed
// timestamps so that equal inputs give equal archives. A stand-in until the
// support archive is written through the archive library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pellion::authoring {

struct StoredZipEntry {
    std::string name;  // UTF-8, "/" between folders
    std::string data;
};

// The whole archive. Throws BuildError beyond the limits of a ZIP without its
// 64-bit extension (4 GiB, 65535 entries).
std::string storedZip(const std::vector<StoredZipEntry>& entries);

uint32_t crc32(std::string_view bytes);

}  // namespace pellion::authoring
