// The archive library's switch text, read for what a zip archive can honour: the
// compression method and level. Everything else in it (solid blocks, filters,
// threads, header encryption) has no zip equivalent and is ignored.
#pragma once

#include "outside/archive.h"

#include <string_view>

namespace pellion::archive {

struct CompressionChoice {
    Compression compression = Compression::deflate;
    int level = 9;
};

// Switches are separated by blanks, letter case ignored, the last one of a kind wins:
// "-mx=0" (or "-mx0") stores, "-mx=N" deflates at level N; "-m0=Copy" and
// "-mm=Copy" store, any other "-m0=" or "-mm=" method deflates.
CompressionChoice compressionFromSwitches(std::u16string_view switches);

}  // namespace pellion::archive
