// The wizard window. Every place is given in layout units (1/96 inch) and
// scaled to the screen, so the window looks the same at 96 dpi and stays in
// proportion at higher resolutions.

#include "wizard_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/wide.h"
#include "wizard/picture_bitmap.h"
#include "wizard/wizard_artwork.h"

namespace pellion {

namespace {

constexpr wchar_t windowClassName[] = L"LexwizWizard";
constexpr wchar_t caption[] = L"Lexwiz";
constexpr int clientWidth = 544;
constexpr int clientHeight = 358;
constexpr int windowSeparatorY = 313;

enum ControlId : int {
    quitId = 100,
    nextId,
    backId,
    nextKeyId = 200,
    escapeKeyId,
    helpKeyId,
    folderTreeId = 300,
    packListId,
    overwriteId,
    useWellKnownId,
    progressAreaId,
    progressTitleId,
};

constexpr DWORD labelStyle = SS_LEFT | SS_NOPREFIX;
// The overwrite option's description reaches down to the next check box
// (40 instead of 30 units): fonts wider than Tahoma need a third line.
constexpr int descriptionHeight = 40;

HFONT fontOf(const wchar_t* face, int points, int weight, DpiScale scale)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(points, scale.dpi, 72);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

bool isUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
           || (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

WizardWindow::WizardWindow(HINSTANCE instance, std::wstring helpFile) : instance_(instance), helpFile_(std::move(helpFile))
{
    HDC screen = GetDC(nullptr);
    scale_.dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (scale_.dpi <= 0)
        scale_.dpi = 96;
}

WizardWindow::~WizardWindow()
{
    if (window_)
        DestroyWindow(window_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(textFont_), static_cast<HGDIOBJ>(largeTitleFont_),
                           static_cast<HGDIOBJ>(headerTitleFont_), static_cast<HGDIOBJ>(banner_)})
        if (object)
            DeleteObject(object);
    for (HICON icon : {bigIcon_, smallIcon_})
        if (icon)
            DestroyIcon(icon);
    if (shortcuts_)
        DestroyAcceleratorTable(shortcuts_);
}

bool WizardWindow::create()
{
    createFonts();
    banner_ = bitmapOf(bannerPicture(scale_.factor()), RGB(255, 255, 255));
    bigIcon_ = iconOf(iconPicture(GetSystemMetrics(SM_CXICON)));
    smallIcon_ = iconOf(iconPicture(GetSystemMetrics(SM_CXSMICON)));
    whiteLook_ = {true, banner_, scale_};
    headerLook_ = {false, nullptr, scale_};

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = bigIcon_;
    windowClass.hIconSm = smallIcon_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = windowClassName;
    RegisterClassExW(&windowClass);
    registerPageClass(instance_);
    ProgressArea::registerClass(instance_);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD extendedStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, scale_(clientWidth), scale_(clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    minimumSize_ = {frame.right - frame.left, frame.bottom - frame.top};
    RECT workArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int left = workArea.left + std::max(0L, (workArea.right - workArea.left - minimumSize_.cx) / 2);
    const int top = workArea.top + std::max(0L, (workArea.bottom - workArea.top - minimumSize_.cy) / 2);

    window_ = CreateWindowExW(extendedStyle, windowClassName, caption, style, left, top, minimumSize_.cx,
                              minimumSize_.cy, nullptr, nullptr, instance_, this);
    if (!window_)
        return false;
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    createPages();
    const DWORD buttonStyle = WS_TABSTOP | BS_PUSHBUTTON;
    back_ = addControl(window_, WC_BUTTONW, L"< &Back", buttonStyle, {280, 325, 80, 25}, backId, textFont_, scale_);
    next_ = addControl(window_, WC_BUTTONW, L"&Next >", WS_TABSTOP | BS_DEFPUSHBUTTON, {365, 325, 80, 25}, nextId,
                       textFont_, scale_);
    quit_ = addControl(window_, WC_BUTTONW, L"Quit", buttonStyle, {455, 325, 80, 25}, quitId, textFont_, scale_);

    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    return true;
}

void WizardWindow::createFonts()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        textFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
    if (!textFont_)
        textFont_ = fontOf(L"Tahoma", 8, FW_NORMAL, scale_);
    largeTitleFont_ = fontOf(L"Arial", 14, FW_NORMAL, scale_);
    headerTitleFont_ = fontOf(L"Arial", 10, FW_BOLD, scale_);
}

void WizardWindow::createPages()
{
    for (size_t index = 0; index < pages_.size(); ++index) {
        const int page = static_cast<int>(index) + 1;
        const bool white = page == welcomePage || page == progressPage;
        pages_[index] = createPage(window_, white ? whiteLook_ : headerLook_);
    }
    createWelcomePage(pages_[0]);
    createProjectPage(pages_[1]);
    createPacksPage(pages_[2]);
    createOptionsPage(pages_[3]);
    createProgressPage(pages_[4]);
}

void WizardWindow::createWelcomePage(HWND page)
{
    addControl(page, WC_STATICW, L"Welcome to the Lexwiz", labelStyle, {174, 9, 350, 30}, -1, largeTitleFont_, scale_);
    addControl(page, WC_STATICW, L"This Wizard helps you:", labelStyle, {174, 79, 350, 15}, -1, textFont_, scale_);
    addControl(page, WC_STATICW, L"- Pre-translation of existing translation projects", labelStyle, {174, 104, 350, 15},
               -1, textFont_, scale_);
    addControl(page, WC_STATICW, L"Version 2.0.1.11", SS_RIGHT | SS_NOPREFIX, {404, 284, 130, 15}, -1, textFont_,
               scale_);
}

void WizardWindow::addHeader(HWND page, const wchar_t* title, const wchar_t* subtitle)
{
    addControl(page, WC_STATICW, title, labelStyle, {14, 9, 475, 20}, -1, headerTitleFont_, scale_);
    addControl(page, WC_STATICW, subtitle, labelStyle | SS_ENDELLIPSIS, {24, 29, 520, 15}, -1, textFont_, scale_);
}

void WizardWindow::createProjectPage(HWND page)
{
    addHeader(page, L"Select Translation Project",
              L"Please create/update your translation project first by using the Vantrel Localization Wizard.");
    addControl(page, WC_STATICW, L"Select the translation project for pre-translation:", labelStyle, {44, 69, 450, 15},
               -1, textFont_, scale_);
    const Place tree{44, 89, 460, 205};
    folderTree_.create(page, folderTreeId,
                       {scale_(tree.x), scale_(tree.y), scale_(tree.x + tree.width), scale_(tree.y + tree.height)},
                       textFont_);
}

void WizardWindow::createPacksPage(HWND page)
{
    addHeader(page, L"Select Language Packs",
              L"Please mark all language packages you would like to use for pre-translation of the selected project.");
    addControl(page, WC_STATICW, L"These language packages are available:", labelStyle, {44, 69, 450, 15}, -1,
               textFont_, scale_);
    packList_ = addControl(page, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, {44, 89, 460, 205},
                           packListId, textFont_, scale_, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(packList_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = scale_(435);
    wchar_t heading[] = L"Language Pack";
    column.pszText = heading;
    ListView_InsertColumn(packList_, 0, &column);
}

void WizardWindow::createOptionsPage(HWND page)
{
    addHeader(page, L"Translation Options", L"Please specify the options which should be used for pre-translation.");
    overwrite_ = addControl(page, WC_BUTTONW, L"Overwrite existing translations", WS_TABSTOP | BS_AUTOCHECKBOX,
                            {44, 74, 455, 15}, overwriteId, textFont_, scale_);
    addControl(page, WC_STATICW,
               L"Mark this option to overwrite any existing translations. If this option is not set, existing "
               L"translations will remain (recommended).",
               labelStyle, {74, 94, 340, descriptionHeight}, -1, textFont_, scale_);
    useWellKnown_ = addControl(page, WC_BUTTONW, L"Use well known translations", WS_TABSTOP | BS_AUTOCHECKBOX,
                               {44, 134, 455, 15}, useWellKnownId, textFont_, scale_);
    addControl(page, WC_STATICW,
               L"If a dialog or script line has been altered, the translation system will not translate these items "
               L"by default. Set this option to use well known translations to translate these altered dialogs and "
               L"script lines (recommended).",
               labelStyle, {74, 154, 340, 55}, -1, textFont_, scale_);
}

void WizardWindow::createProgressPage(HWND page)
{
    progressTitle_ = addControl(page, WC_STATICW, L"Translating...", labelStyle, {174, 9, 350, 30}, progressTitleId,
                                largeTitleFont_, scale_);
    const Place area{174, 54, 360, 245};
    progressArea_.create(page, progressAreaId,
                         {scale_(area.x), scale_(area.y), scale_(area.x + area.width), scale_(area.y + area.height)},
                         textFont_, scale_);
}

void WizardWindow::run()
{
    const ACCEL keys[] = {
        {FVIRTKEY, VK_RETURN, nextKeyId},
        {FVIRTKEY, VK_ESCAPE, escapeKeyId},
        {FVIRTKEY, VK_F1, helpKeyId},
    };
    shortcuts_ = CreateAcceleratorTableW(const_cast<ACCEL*>(keys), static_cast<int>(std::size(keys)));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (shortcuts_ && window_ && TranslateAcceleratorW(window_, shortcuts_, &message))
            continue;
        if (window_ && IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WizardWindow::close()
{
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK WizardWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<WizardWindow*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<WizardWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT WizardWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // Button clicks, and the keyboard shortcuts (code 1, no control).
        if (HIWORD(wParam) == BN_CLICKED || (HIWORD(wParam) == 1 && lParam == 0))
            command(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        folderTree_.handleNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        drawSeparator(dc, scale_(windowSeparatorY), std::max(scale_(separatorWidth), static_cast<int>(paint.rcPaint.right)),
                      scale_);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimumSize_.cx, minimumSize_.cy};
        return 0;
    case WM_CLOSE:
        if (!busy())
            DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// Quit, Escape and the close box wait while a page change runs: the window
// must outlive the translation and the page that is being shown.
bool WizardWindow::busy() const
{
    return flow_ && flow_->changingPage();
}

void WizardWindow::command(int id)
{
    if (!flow_)
        return;
    switch (id) {
    case nextId:
    case nextKeyId:
        flow_->next();
        break;
    case backId:
        flow_->back();
        break;
    case quitId:
    case escapeKeyId:
        if (!busy())
            DestroyWindow(window_);
        break;
    case helpKeyId:
        openHelp();
        break;
    }
}

void WizardWindow::openHelp()
{
    const DWORD attributes = GetFileAttributesW(helpFile_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        MessageBoxW(window_, (L"The help file '" + helpFile_ + L"' was not found.").c_str(), L"Lexwiz Help",
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window_, nullptr, helpFile_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        MessageBoxW(window_, (L"The help file '" + helpFile_ + L"' could not be opened.").c_str(), L"Lexwiz Help",
                    MB_OK | MB_ICONINFORMATION);
}

void WizardWindow::showOnlyPage(int page)
{
    for (size_t index = 0; index < pages_.size(); ++index)
        ShowWindow(pages_[index], static_cast<int>(index) + 1 == page ? SW_SHOW : SW_HIDE);
    focusPage(page);
}

void WizardWindow::focusPage(int page)
{
    switch (page) {
    case projectPage:
        SetFocus(folderTree_.handle());
        break;
    case packsPage:
        SetFocus(packList_);
        break;
    case optionsPage:
        SetFocus(overwrite_);
        break;
    default:
        SetFocus(next_);
        break;
    }
}

void WizardWindow::setButtons(const ButtonStates& buttons)
{
    SetWindowTextW(next_, toWide(buttons.nextText).c_str());
    EnableWindow(next_, buttons.nextEnabled);
    EnableWindow(back_, buttons.backEnabled);
    EnableWindow(quit_, buttons.quitEnabled);
    // Keys must keep reaching the window when the focused button goes grey.
    HWND focus = GetFocus();
    if (!focus || !IsWindowEnabled(focus) || !IsWindowVisible(focus))
        SetFocus(buttons.nextEnabled ? next_ : buttons.backEnabled ? back_ : window_);
}

std::u16string WizardWindow::selectedFolder()
{
    return fromWide(folderTree_.selectedFolder());
}

void WizardWindow::selectFolder(std::u16string_view folder)
{
    folderTree_.selectFolder(toWide(folder));
}

void WizardWindow::clearFolderSelection()
{
    folderTree_.clearSelection();
}

void WizardWindow::fillPackList(const std::vector<PackListRow>& rows)
{
    ListView_DeleteAllItems(packList_);
    for (const auto& row : rows) {
        std::wstring text = toWide(row.text);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row.packId - 1;
        item.pszText = text.data();
        item.lParam = row.packId;
        const int index = ListView_InsertItem(packList_, &item);
        if (index >= 0)
            ListView_SetCheckState(packList_, index, TRUE);
    }
}

std::vector<int> WizardWindow::checkedPackIds()
{
    std::vector<int> ids;
    const int count = ListView_GetItemCount(packList_);
    for (int index = 0; index < count; ++index) {
        if (!ListView_GetCheckState(packList_, index))
            continue;
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        if (ListView_GetItem(packList_, &item))
            ids.push_back(static_cast<int>(item.lParam));
    }
    return ids;
}

TranslationOptions WizardWindow::options()
{
    const auto checked = [](HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    return {checked(overwrite_), checked(useWellKnown_)};
}

void WizardWindow::setOptions(TranslationOptions options)
{
    SendMessageW(overwrite_, BM_SETCHECK, options.overwrite ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(useWellKnown_, BM_SETCHECK, options.useWellKnown ? BST_CHECKED : BST_UNCHECKED, 0);
}

void WizardWindow::setProgressTitle(std::u16string_view title)
{
    SetWindowTextW(progressTitle_, toWide(title).c_str());
    // The label sits on the white page: repaint the ground behind the old text.
    RECT place{};
    GetWindowRect(progressTitle_, &place);
    MapWindowPoints(HWND_DESKTOP, pages_[progressPage - 1], reinterpret_cast<POINT*>(&place), 2);
    InvalidateRect(pages_[progressPage - 1], &place, TRUE);
}

void WizardWindow::setProgressRows(const std::vector<std::u16string>& rows)
{
    progressArea_.setRows(rows);
}

void WizardWindow::setRowStatus(size_t row, RowStatus status)
{
    progressArea_.setStatus(row, status);
}

void WizardWindow::scrollProgressTo(int y)
{
    progressArea_.scrollTo(y);
}

void WizardWindow::letEventsRun()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!isUserInput(message.message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}

void WizardWindow::show(std::u16string_view title, std::u16string_view text)
{
    const UINT icon = title == u"Error" ? MB_ICONERROR : MB_ICONWARNING;
    MessageBoxW(window_, toWide(text).c_str(), toWide(title).c_str(), MB_OK | icon);
}

}  // namespace pellion
