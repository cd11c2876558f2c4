// What the restarting ending commands and "Terminate Program" reach on the
// machine: the seam that writes the restart entry, asks Windows to restart and
// sees and posts to the top-level windows (the Windows answer lives in
// restart_windows.cpp; host builds reach nothing), and the portable decisions
// around it: where the entry goes, what it holds and which window a pass of
// "Terminate Program" closes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellion {

// "Reboot and Resume" runs the setup once at the next logon, "Reboot and
// Login" at every logon until the next run deletes the entry.
enum class RestartKey { runOnce, run };

// A string value that makes Windows start the setup again.
struct RestartEntry {
    uint32_t root = 0;          // HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER
    std::u16string key;         // below the root, with a trailing "\"
    std::u16string valueName;
    std::u16string command;     // the program's path without quotes, then the tail
};

// Opened (created when missing) with KEY_SET_VALUE, KEY_CREATE_SUB_KEY and
// READ_CONTROL and no registry view flag: the same view the next run's
// deletion reaches.
constexpr uint32_t restartEntryAccess = 0x20006;
constexpr uint32_t localMachineRoot = 0x80000002;
constexpr uint32_t currentUserRoot = 0x80000001;

// One top-level window as a pass of "Terminate Program" sees it.
struct TopWindow {
    uintptr_t handle = 0;
    std::u16string className;  // as read into a buffer of 260 characters
    std::u16string title;      // likewise
};

class RestartControl {
public:
    virtual ~RestartControl() = default;
    // Creates the key when missing and writes the value; a key that cannot be
    // opened or written (no right to the hive) passes silently.
    virtual void writeEntry(const RestartEntry& entry) = 0;
    // Enables SeShutdownPrivilege when the process token allows it, then asks
    // for a reboot (ExitWindowsEx with EWX_REBOOT only). Whether Windows
    // accepts is not examined.
    virtual void requestRestart() = 0;
    // The children of the desktop window, topmost first.
    virtual std::vector<TopWindow> topLevelWindows() = 0;
    // Posts WM_CANCELMODE, then WM_CLOSE; waits for nothing.
    virtual void postCancelAndClose(uintptr_t handle) = 0;
};

// The machine the engine runs on.
std::unique_ptr<RestartControl> makeSystemRestartControl();

// Characters 2 to 9 of the product code: the first eight hexadecimal digits
// after the brace. Empty when the code is too short to have them, since the
// next run deletes only a full name and a shorter one would fire forever.
std::u16string restartEntryName(std::u16string_view productCode);

// The entry the restarting commands write: the hive by ALLUSERS, the key by
// command, the command that started this run (the self-extractor source when
// the command line named one, else the engine's own file) with the command-
// line tail after one blank when there is one. Nothing when the product code
// names no entry.
std::optional<RestartEntry> restartEntry(RestartKey key, bool allUsers, std::u16string_view productCode,
                                         std::u16string_view sfxSource, std::u16string_view engineFile,
                                         std::u16string_view commandTail);

// The first window whose class name contains `classText` and whose title
// contains `titleText` (an empty text matches any), compared with letter case;
// nothing when none matches or both texts are empty.
std::optional<size_t> firstMatchingWindow(const std::vector<TopWindow>& windows, std::u16string_view titleText,
                                          std::u16string_view classText);

// "Terminate Program": ten passes over the top-level windows, each posting to
// the first match. A window that has not closed yet is found again by the
// next pass; nothing is awaited.
constexpr int terminateProgramPasses = 10;
void closeMatchingWindows(RestartControl& control, std::u16string_view titleText, std::u16string_view classText);

}  // namespace pellion
