// Facts about the running Windows that several parts of the programs ask:
// its true version, whether it is a 64-bit Windows, and the running program's
// own file. Windows builds only.
#pragma once

#include <windows.h>

#include <string>

namespace pellion {

struct WindowsVersion {
    DWORD major = 0;
    DWORD minor = 0;

    bool atLeast(DWORD wantedMajor, DWORD wantedMinor) const
    {
        return major > wantedMajor || (major == wantedMajor && minor >= wantedMinor);
    }
};

// The true version, also where an unmanifested program would be told less.
WindowsVersion windowsVersion();

// A 64-bit process, or a 32-bit one under WOW64.
bool windows64Bit();

// The full path of the running program's file, however long.
std::u16string ownProgramPath();

}  // namespace pellion
