// The progress area is a window of its own class whose rows are child
// windows; scrolling moves the children, and the status images are drawn by
// the area for its owner-drawn image controls.

#include "progress_area.h"

#include <algorithm>

#include "wizard/picture_bitmap.h"

namespace pellion {

namespace {

constexpr wchar_t areaClass[] = L"LexwizProgressArea";
constexpr int rowTextLeft = 20;
constexpr int rowTextTop = 2;
constexpr int rowTextWidth = 315;
constexpr int rowTextHeight = 15;
constexpr int scrollStep = 10;

const wchar_t* statusName(RowStatus status)
{
    switch (status) {
    case RowStatus::inProgress:
        return L"In progress";
    case RowStatus::done:
        return L"Done";
    case RowStatus::failed:
        return L"Failed";
    case RowStatus::empty:
        break;
    }
    return L"";
}

}  // namespace

ProgressArea::~ProgressArea()
{
    for (HBITMAP image : images_)
        if (image)
            DeleteObject(image);
}

void ProgressArea::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = areaClass;
    RegisterClassExW(&windowClass);
}

void ProgressArea::create(HWND parent, int id, RECT place, HFONT font, DpiScale scale)
{
    font_ = font;
    scale_ = scale;
    area_ = CreateWindowExW(WS_EX_CONTROLPARENT, areaClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN,
                            place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
    updateScrollBar();
}

LRESULT CALLBACK ProgressArea::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<ProgressArea*>(create->lpCreateParams)->area_ = window;
    }
    auto* self = reinterpret_cast<ProgressArea*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT ProgressArea::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(area_, SB_VERT, &info);
        int position = position_;
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            position -= scale_(scrollStep);
            break;
        case SB_LINEDOWN:
            position += scale_(scrollStep);
            break;
        case SB_PAGEUP:
            position -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            position += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        }
        scrollToPixel(position);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        scrollToPixel(position_ - notches * 3 * scale_(scrollStep));
        return 0;
    }
    case WM_SIZE:
        scrollToPixel(position_);
        return 0;
    case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_DRAWITEM:
        drawStatus(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcW(area_, message, wParam, lParam);
}

void ProgressArea::setRows(const std::vector<std::u16string>& rows)
{
    for (const Row& row : rows_) {
        DestroyWindow(row.image);
        DestroyWindow(row.text);
    }
    rows_.clear();
    position_ = 0;
    updateScrollBar();
    const int imageSize = scale_(statusImageSize);
    for (size_t index = 0; index < rows.size(); ++index) {
        const int y = progressRowSpacing * static_cast<int>(index);
        Row row;
        row.image = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, scale_(y), imageSize,
                                    imageSize, area_, nullptr, nullptr, nullptr);
        const std::wstring text(rows[index].begin(), rows[index].end());
        row.text = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX
                                                                    | SS_ENDELLIPSIS,
                                   scale_(rowTextLeft), scale_(y + rowTextTop), scale_(rowTextWidth),
                                   scale_(rowTextHeight), area_, nullptr, nullptr, nullptr);
        SendMessageW(row.text, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        rows_.push_back(row);
    }
    updateScrollBar();
    InvalidateRect(area_, nullptr, TRUE);
}

void ProgressArea::setStatus(size_t row, RowStatus status)
{
    if (row >= rows_.size())
        return;
    rows_[row].status = status;
    SetWindowTextW(rows_[row].image, statusName(status));
    InvalidateRect(rows_[row].image, nullptr, TRUE);
}

void ProgressArea::scrollTo(int y)
{
    scrollToPixel(scale_(y));
}

void ProgressArea::scrollToPixel(int position)
{
    RECT client{};
    GetClientRect(area_, &client);
    const int content = scale_(progressRowSpacing * static_cast<int>(rows_.size()));
    const int last = std::max(0, content - static_cast<int>(client.bottom));
    position = std::clamp(position, 0, last);
    if (position != position_) {
        ScrollWindowEx(area_, 0, position_ - position, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        position_ = position;
    }
    updateScrollBar();
}

void ProgressArea::updateScrollBar()
{
    RECT client{};
    GetClientRect(area_, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, scale_(progressRowSpacing * static_cast<int>(rows_.size())) - 1);
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = position_;
    SetScrollInfo(area_, SB_VERT, &info, TRUE);
}

void ProgressArea::drawStatus(const DRAWITEMSTRUCT& item)
{
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (const Row& row : rows_) {
        if (row.image != item.hwndItem)
            continue;
        const auto index = static_cast<size_t>(row.status);
        if (row.status == RowStatus::empty)
            return;
        if (!images_[index])
            images_[index] = bitmapOf(statusPicture(row.status, scale_.factor()), RGB(255, 255, 255));
        drawBitmap(item.hDC, images_[index], item.rcItem.left, item.rcItem.top);
        return;
    }
}

}  // namespace pellion
