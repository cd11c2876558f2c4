// Page containers: a window class whose instances paint their background and
// hand their controls' commands and notifications on to the wizard window.

#include "wizard_pages.h"

#include "wizard/picture_bitmap.h"

namespace pellion {

namespace {

constexpr wchar_t pageClass[] = L"LexwizPage";

const PageLook* lookOf(HWND page)
{
    return reinterpret_cast<const PageLook*>(GetWindowLongPtrW(page, GWLP_USERDATA));
}

void paintPage(HWND page, HDC dc, const PageLook& look)
{
    RECT client{};
    GetClientRect(page, &client);
    if (look.white) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        drawBitmap(dc, look.banner, 0, 0);
        return;
    }
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT header{0, 0, client.right, look.scale(headerHeight)};
    FillRect(dc, &header, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    drawSeparator(dc, look.scale(headerSeparatorY), look.scale(separatorWidth), look.scale);
}

// Labels on white ground (white pages, the header) get a white background.
LRESULT controlColors(HWND page, const PageLook& look, HDC dc, HWND control)
{
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
    if (look.white || place.bottom <= look.scale(headerHeight)) {
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(page, &paint);
        if (const PageLook* look = lookOf(page))
            paintPage(page, dc, *look);
        EndPaint(page, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (const PageLook* look = lookOf(page))
            return controlColors(page, *look, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetParent(page), message, wParam, lParam);
    }
    return DefWindowProcW(page, message, wParam, lParam);
}

}  // namespace

void registerPageClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = pageProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = pageClass;
    RegisterClassExW(&windowClass);
}

HWND createPage(HWND parent, const PageLook& look)
{
    const DpiScale scale = look.scale;
    return CreateWindowExW(WS_EX_CONTROLPARENT, pageClass, L"", WS_CHILD | WS_CLIPCHILDREN, scale(pagePlace.x),
                           scale(pagePlace.y), scale(pagePlace.width), scale(pagePlace.height), parent, nullptr,
                           GetModuleHandleW(nullptr), const_cast<PageLook*>(&look));
}

HWND addControl(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, Place place, int id,
                HFONT font, DpiScale scale, DWORD extendedStyle)
{
    HWND control = CreateWindowExW(extendedStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, scale(place.x),
                                   scale(place.y), scale(place.width), scale(place.height), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void drawSeparator(HDC dc, int y, int width, DpiScale scale)
{
    const int line = scale(1);
    RECT shadow{0, y, width, y + line};
    RECT light{0, y + line, width, y + scale(2)};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

}  // namespace pellion
