// The progress page's scrolling area: one row per chosen pack, each a status
// image and a text, 20 units apart, in a white borderless area with a
// vertical scroll bar when the rows do not fit.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "wizard/dpi_scale.h"
#include "wizard/wizard_flow.h"

namespace pellion {

class ProgressArea {
public:
    ProgressArea() = default;
    ProgressArea(const ProgressArea&) = delete;
    ProgressArea& operator=(const ProgressArea&) = delete;
    ~ProgressArea();

    static void registerClass(HINSTANCE instance);
    // place is in screen pixels; the rows are laid out with the scale.
    void create(HWND parent, int id, RECT place, HFONT font, DpiScale scale);
    HWND handle() const { return area_; }

    void setRows(const std::vector<std::u16string>& rows);
    // The image's window text names the status ("In progress", "Done",
    // "Failed", or empty), for screen readers and tests.
    void setStatus(size_t row, RowStatus status);
    // y in units of the layout; kept within the rows.
    void scrollTo(int y);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void scrollToPixel(int position);
    void updateScrollBar();
    void drawStatus(const DRAWITEMSTRUCT& item);

    struct Row {
        HWND image = nullptr;
        HWND text = nullptr;
        RowStatus status = RowStatus::empty;
    };

    HWND area_ = nullptr;
    HFONT font_ = nullptr;
    DpiScale scale_;
    std::vector<Row> rows_;
    int position_ = 0;  // pixels scrolled
    // The three status images at the screen's scale, made on first use.
    std::array<HBITMAP, 4> images_{};
};

}  // namespace pellion
