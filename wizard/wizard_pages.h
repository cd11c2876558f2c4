// The wizard window's five page containers and what they paint themselves:
// the white welcome and progress pages with the banner, the white header of
// the other pages with its separator line. Also the helper that puts a
// control on a page at a place given in layout units. Which controls each
// page holds is the window's business.
#pragma once

#include <windows.h>

#include "wizard/dpi_scale.h"

namespace pellion {

// A place in layout units (1/96 inch): x, y, width, height.
struct Place {
    int x;
    int y;
    int width;
    int height;
};

inline constexpr Place pagePlace{0, 0, 560, 313};
inline constexpr int headerHeight = 55;
inline constexpr int headerSeparatorY = 53;
inline constexpr int separatorWidth = 1024;

struct PageLook {
    bool white = false;        // white page with the banner; otherwise a header
    HBITMAP banner = nullptr;  // drawn at 0, 0 on white pages
    DpiScale scale;
};

void registerPageClass(HINSTANCE instance);

// A hidden page; the look must outlive it.
HWND createPage(HWND parent, const PageLook& look);

HWND addControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, Place place, int id,
                HFONT font, DpiScale scale, DWORD extendedStyle = 0);

// The separator line, 2 units high: a shadow line above a light one.
void drawSeparator(HDC dc, int y, int width, DpiScale scale);

}  // namespace pellion
