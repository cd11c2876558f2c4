// What the interpreter reads from the real system when it fills the predefined
// variables and refreshes them before each statement. Windows answers in
// system_facts_windows.cpp; host tests use a fake.
#pragma once

#include <cstdint>
#include <string>

namespace pellion {

class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    // The default of ALLUSERS: the user belongs to the administrators group
    // and, from Windows Vista on, the process runs elevated.
    virtual bool administratorDefault() = 0;
    virtual bool windows95Family() = 0;
    // "RegisteredOwner" and "RegisteredOrganization" of Windows (64-bit view
    // on 64-bit Windows); empty when missing.
    virtual std::u16string registeredOwner() = 0;
    virtual std::u16string registeredOrganization() = 0;
    // Desktop composition on, or visual styles on Windows 6.0 or later.
    virtual bool glass() = 0;
    // Now, in the user locale's short date and long time formats.
    virtual std::u16string dateText() = 0;
    virtual std::u16string timeText() = 0;
    // Milliseconds since the system started, wrapping around.
    virtual uint32_t tickCount() = 0;
    // Full path of the engine's own file.
    virtual std::u16string engineFile() = 0;
    // Folders without a trailing "\"; empty when unknown.
    virtual std::u16string programFilesFolder() = 0;
    virtual std::u16string documentsFolder() = 0;
};

}  // namespace pellion
