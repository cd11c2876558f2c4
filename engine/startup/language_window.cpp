// The "Select Setup Language" window, built as a dialog template in memory: a
// text, a drop-down list and the buttons OK and Cancel, in the system's
// message font, centred on the screen. Dialog units follow that font, so the
// window grows with the screen's DPI setting. Also the user's locale.

#include "engine/startup/language_window.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/wide.h"
#include "engine/startup/languages.h"

namespace pellion {

namespace {

constexpr WORD textId = 100;
constexpr WORD listId = 101;

// Dialog units of the layout.
constexpr short margin = 7;
constexpr short width = 210;
constexpr short textHeight = 18;
constexpr short listTop = margin + textHeight + 3;
constexpr short buttonTop = listTop + 12 + 10;
constexpr short buttonWidth = 50;
constexpr short buttonHeight = 14;
constexpr short height = buttonTop + buttonHeight + margin;

// The user's language as a name of the language table, from a locale field
// holding the language number in hexadecimal (unreadable counts as 0).
std::u16string userLanguageName(LCTYPE field)
{
    wchar_t buffer[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, field, buffer, 16);
    return languageNameOf(static_cast<int>(wcstoul(buffer, nullptr, 16)));
}

// The font every message box of this Windows uses, in points for the template.
struct DialogFont {
    std::wstring face = L"MS Shell Dlg";
    WORD points = 8;
};

DialogFont messageFont()
{
    DialogFont font;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return font;
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    const LONG pixels = metrics.lfMessageFont.lfHeight < 0 ? -metrics.lfMessageFont.lfHeight
                                                             : metrics.lfMessageFont.lfHeight;
    if (pixels > 0 && dpi > 0)
        font.points = static_cast<WORD>(MulDiv(pixels, 72, dpi));
    if (metrics.lfMessageFont.lfFaceName[0])
        font.face = metrics.lfMessageFont.lfFaceName;
    if (font.points == 0)
        font.points = 8;
    return font;
}

// A DLGTEMPLATE and its items in one block of WORDs (each item DWORD aligned).
class DialogTemplate {
public:
    DialogTemplate(DWORD style, const std::wstring& caption, const DialogFont& font, short cx, short cy, WORD items)
    {
        dword(style);
        dword(0);
        words_.push_back(items);
        shorts({0, 0, cx, cy});
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        text(caption);
        words_.push_back(font.points);
        text(font.face);
    }

    // classAtom: 0x0080 button, 0x0082 static, 0x0085 combo box.
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const std::wstring& title)
    {
        if (words_.size() % 2)
            words_.push_back(0);
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        shorts({x, y, cx, cy});
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        text(title);
        words_.push_back(0);  // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void dword(DWORD value)
    {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void shorts(std::initializer_list<short> values)
    {
        for (short value : values)
            words_.push_back(static_cast<WORD>(value));
    }
    void text(const std::wstring& value)
    {
        words_.insert(words_.end(), value.begin(), value.end());
        words_.push_back(0);
    }

    std::vector<WORD> words_;
};

struct WindowState {
    std::wstring text;
    const std::vector<std::u16string>* names = nullptr;
    std::optional<size_t> preselected;
    std::optional<size_t> chosen;
};

INT_PTR CALLBACK languageWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<WindowState*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        SetDlgItemTextW(window, textId, state->text.c_str());
        HWND list = GetDlgItem(window, listId);
        for (const auto& name : *state->names)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
        SendMessageW(list, CB_SETCURSEL, state->preselected ? static_cast<WPARAM>(*state->preselected)
                                                            : static_cast<WPARAM>(-1), 0);
        SetForegroundWindow(window);
        SetFocus(list);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == IDOK) {
            auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, DWLP_USER));
            const LRESULT index = SendDlgItemMessageW(window, listId, CB_GETCURSEL, 0, 0);
            if (index != CB_ERR)
                state->chosen = static_cast<size_t>(index);
            EndDialog(window, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(window, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

std::u16string WindowsSetupLanguageUi::preferredLanguage()
{
    return userLanguageName(LOCALE_IDEFAULTLANGUAGE);
}

std::u16string WindowsSetupLanguageUi::messageLanguage()
{
    return userLanguageName(LOCALE_ILANGUAGE);
}

std::optional<SetupLanguageUi::Answer> WindowsSetupLanguageUi::choose(std::u16string_view caption,
                                                                      std::u16string_view text,
                                                                      const std::vector<std::u16string>& names,
                                                                      std::optional<size_t> preselected)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    DialogTemplate dialog(style, toWide(caption), messageFont(), width, height, 4);
    const short inner = width - 2 * margin;
    // The height of a drop-down list includes its open list: room for ten names.
    const short listHeight = static_cast<short>(12 + 10 * 10);
    dialog.item(SS_LEFT, margin, margin, inner, textHeight, textId, 0x0082, L"");
    dialog.item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, margin, listTop, inner, listHeight, listId, 0x0085, L"");
    dialog.item(BS_DEFPUSHBUTTON | WS_TABSTOP, width - margin - 2 * buttonWidth - 4, buttonTop, buttonWidth,
                buttonHeight, IDOK, 0x0080, L"OK");
    dialog.item(BS_PUSHBUTTON | WS_TABSTOP, width - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight,
                IDCANCEL, 0x0080, L"Cancel");

    WindowState state;
    state.text = toWide(text);
    state.names = &names;
    state.preselected = preselected;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr,
                                                   languageWindowProcedure, reinterpret_cast<LPARAM>(&state));
    if (result == IDCANCEL)
        return std::nullopt;
    // A window that could not be made does not end the setup: the
    // preselection stands, as in a silent run.
    if (result != IDOK)
        return Answer{preselected};
    return Answer{state.chosen};
}

}  // namespace pellion
