// Lexwiz's own pictures: the banner of the welcome and progress pages, the
// three status images of the progress rows and the window icon, drawn as
// pixels at any scale so they stay sharp at every screen resolution. Putting
// them on the screen is the window's business.
#pragma once

#include <cstdint>
#include <vector>

#include "wizard/wizard_flow.h"

namespace pellion {

// Premultiplied BGRA pixels, rows from the top, as a 32-bit DIB expects them
// (with a negative height).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The sizes the pictures are designed for, at 96 dots per inch.
inline constexpr int bannerWidth = 164;
inline constexpr int bannerHeight = 313;
inline constexpr int statusImageSize = 16;

// scale is the screen's dots per inch divided by 96.
Picture bannerPicture(double scale);
// The empty status has a picture too: fully transparent.
Picture statusPicture(RowStatus status, double scale);
Picture iconPicture(int size);

}  // namespace pellion
