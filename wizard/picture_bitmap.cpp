// Pictures become DIB sections (the pixels are already in the layout a
// 32-bit DIB wants). Laying them onto their ground colour beforehand keeps
// drawing to a plain BitBlt, without the blending library.

#include "picture_bitmap.h"

#include <algorithm>
#include <vector>

namespace pellion {

namespace {

HBITMAP dibSection(int width, int height, uint32_t** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (bitmap && !memory) {
        DeleteObject(bitmap);
        return nullptr;
    }
    *bits = static_cast<uint32_t*>(memory);
    return bitmap;
}

}  // namespace

HBITMAP bitmapOf(const Picture& picture, COLORREF ground)
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = dibSection(picture.width, picture.height, &bits);
    if (!bitmap)
        return nullptr;
    const uint32_t groundChannels[3] = {GetRValue(ground), GetGValue(ground), GetBValue(ground)};
    std::transform(picture.pixels.begin(), picture.pixels.end(), bits, [&](uint32_t pixel) {
        const uint32_t alpha = pixel >> 24;
        uint32_t result = 0xFF000000u;
        for (int channel = 0; channel < 3; ++channel) {
            const int shift = 16 - 8 * channel;  // red, green, blue
            const uint32_t value = ((pixel >> shift) & 0xFF) + groundChannels[channel] * (255 - alpha) / 255;
            result |= std::min<uint32_t>(value, 255) << shift;
        }
        return result;
    });
    return bitmap;
}

void drawBitmap(HDC target, HBITMAP bitmap, int x, int y)
{
    BITMAP size{};
    if (!bitmap || !GetObjectW(bitmap, sizeof size, &size))
        return;
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(target, x, y, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

HICON iconOf(const Picture& picture)
{
    uint32_t* bits = nullptr;
    HBITMAP color = dibSection(picture.width, picture.height, &bits);
    if (color)
        std::copy(picture.pixels.begin(), picture.pixels.end(), bits);
    // The alpha channel decides where the icon shows; the mask stays all 0.
    const std::vector<BYTE> noMask(static_cast<size_t>((picture.width + 15) / 16 * 2) * picture.height, 0);
    HBITMAP mask = CreateBitmap(picture.width, picture.height, 1, 1, noMask.data());
    HICON icon = nullptr;
    if (color && mask) {
        ICONINFO info{TRUE, 0, 0, mask, color};
        icon = CreateIconIndirect(&info);
    }
    if (color)
        DeleteObject(color);
    if (mask)
        DeleteObject(mask);
    return icon;
}

}  // namespace pellion
