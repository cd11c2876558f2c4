// The start-up's own windows: the splash picture ("setup.bmp" beside the
// engine) and the "preparing" window with its progress bar, shown from the
// splash phase to the end of dialog loading; and the engine's error box.
#pragma once

#include <windows.h>

#include <string>

namespace pellion {

class StartupWindows {
public:
    StartupWindows() = default;
    StartupWindows(const StartupWindows&) = delete;
    StartupWindows& operator=(const StartupWindows&) = delete;
    ~StartupWindows() { close(); }

    // splashPicture may name a missing file: then only the "preparing" window shows.
    void open(const std::wstring& splashPicture, const std::wstring& preparingText, const std::wstring& caption);
    void setProgress(int position, int maximum);
    void close();

    // The owner of start-up message boxes while it exists.
    HWND owner() const { return preparing_; }

private:
    HWND splash_ = nullptr;
    HWND preparing_ = nullptr;
    HWND progress_ = nullptr;
    HBITMAP picture_ = nullptr;
};

// An error message box with the engine's caption; waits for the answer.
void showEngineError(HWND owner, const std::wstring& text, const std::wstring& caption);

// Lets windows paint while the main thread works between phases.
void pumpWindowMessages();

}  // namespace pellion
