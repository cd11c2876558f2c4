// What the statement loop asks of the machine and the user interface: the
// message pump, the run-time error box, ending the process at once, the
// single-instance marker, the restart entries and the removable-media check.
// Windows answers in interpreter_host_windows.cpp; host tests record the calls.
#pragma once

#include <cstdint>
#include <string>

namespace pellion {

class InterpreterHost {
public:
    virtual ~InterpreterHost() = default;

    // Lets the user interface process its pending messages.
    virtual void pumpMessages() = 0;
    // A message box without owner, with an error icon.
    virtual void showRuntimeError(const std::u16string& text, const std::u16string& caption) = 0;
    // Ends the process at once, without message and without clean-up. On
    // Windows it does not return; a test double may return, and the caller
    // then stops as if it had not.
    virtual void endProcessNow(int32_t exitCode) = 0;

    virtual bool fileExists(const std::u16string& path) = 0;
    virtual void createEmptyFile(const std::u16string& path) = 0;
    virtual void deleteFile(const std::u16string& path) = 0;
    // Deletes the value of this name under "...\RunOnce\" and "...\Run\" of
    // the current user and the local machine.
    virtual void deleteRestartEntries(const std::u16string& valueName) = 0;
    // The folder lies on a drive that is not a fixed disk and no longer exists.
    virtual bool setupMediaRemoved(const std::u16string& exeDir) = 0;
};

}  // namespace pellion
