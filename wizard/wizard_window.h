// Lexwiz's window: the five pages with their controls, the Quit, Next and
// Back buttons, the keyboard shortcuts (Return, Escape, F1), the message
// boxes and the event pump. It shows what the page flow decides and hands
// the user's clicks and keys to it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "wizard/dpi_scale.h"
#include "wizard/folder_tree.h"
#include "wizard/progress_area.h"
#include "wizard/wizard_flow.h"
#include "wizard/wizard_pages.h"

namespace pellion {

class WizardWindow final : public WizardView, public WizardMessages {
public:
    // helpFile is opened with F1.
    WizardWindow(HINSTANCE instance, std::wstring helpFile);
    WizardWindow(const WizardWindow&) = delete;
    WizardWindow& operator=(const WizardWindow&) = delete;
    ~WizardWindow() override;

    // Creates and shows the window with all pages; false when that fails.
    bool create();
    void attach(WizardFlow& flow) { flow_ = &flow; }
    // Handles events until the window is gone.
    void run();
    void close();

    // WizardView
    void showOnlyPage(int page) override;
    void setButtons(const ButtonStates& buttons) override;
    std::u16string selectedFolder() override;
    void selectFolder(std::u16string_view folder) override;
    void clearFolderSelection() override;
    void fillPackList(const std::vector<PackListRow>& rows) override;
    std::vector<int> checkedPackIds() override;
    TranslationOptions options() override;
    void setOptions(TranslationOptions options) override;
    void setProgressTitle(std::u16string_view title) override;
    void setProgressRows(const std::vector<std::u16string>& rows) override;
    void setRowStatus(size_t row, RowStatus status) override;
    void scrollProgressTo(int y) override;
    void letEventsRun() override;

    // WizardMessages
    void show(std::u16string_view title, std::u16string_view text) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id);
    bool busy() const;
    void openHelp();
    void createFonts();
    void createPages();
    void createWelcomePage(HWND page);
    void createProjectPage(HWND page);
    void createPacksPage(HWND page);
    void createOptionsPage(HWND page);
    void createProgressPage(HWND page);
    void addHeader(HWND page, const wchar_t* title, const wchar_t* subtitle);
    void focusPage(int page);

    HINSTANCE instance_;
    std::wstring helpFile_;
    WizardFlow* flow_ = nullptr;
    DpiScale scale_;
    HWND window_ = nullptr;
    SIZE minimumSize_{};

    HFONT textFont_ = nullptr;
    HFONT largeTitleFont_ = nullptr;
    HFONT headerTitleFont_ = nullptr;
    HBITMAP banner_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HACCEL shortcuts_ = nullptr;

    PageLook whiteLook_;
    PageLook headerLook_;
    std::array<HWND, 5> pages_{};
    HWND quit_ = nullptr;
    HWND next_ = nullptr;
    HWND back_ = nullptr;
    FolderTree folderTree_;
    HWND packList_ = nullptr;
    HWND overwrite_ = nullptr;
    HWND useWellKnown_ = nullptr;
    HWND progressTitle_ = nullptr;
    ProgressArea progressArea_;
};

}  // namespace pellion
