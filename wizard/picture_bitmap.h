// Putting the wizard's pictures on the screen: a picture laid onto the colour
// of the ground it is drawn on, or an icon with its transparency.
#pragma once

#include <windows.h>

#include "wizard/wizard_artwork.h"

namespace pellion {

// A 32-bit top-down DIB section of the picture laid onto the ground colour;
// nullptr on failure.
HBITMAP bitmapOf(const Picture& picture, COLORREF ground);
// Draws the whole bitmap at x, y.
void drawBitmap(HDC target, HBITMAP bitmap, int x, int y);
// An icon of the picture; nullptr on failure.
HICON iconOf(const Picture& picture);

}  // namespace pellion
