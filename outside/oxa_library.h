// The state and operations behind the exports of "oxa.lib": one archive operation
// at a time, the last failure code, the password slot that the default password
// callback answers from, and the open listings. The exports only forward here;
// the archive work itself is the archive core's.
#pragma once

#include "outside/archive.h"
#include "outside/oxa.h"
#include "outside/windows_file_access.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace pellion::archive {

class OxaLibrary {
public:
    int32_t setDllDirectory(const wchar_t* folder);
    int32_t extract(const wchar_t* archive, const wchar_t* targetFolder, TSZW_TARGETFILES entries, int32_t pathMode,
                    const wchar_t* password, OxaPasswordCallback passwordCallback, OxaProgressCallback progress,
                    OxaNotifyCallback notify, OxaOverwriteCallback overwrite);
    int32_t create(const wchar_t* archive, TSZW_TARGETFILES files, TSZW_TARGETFILES excluded, int32_t updateMode,
                   const wchar_t* switches, const wchar_t* password, OxaProgressCallback progress,
                   OxaNotifyCallback notify);
    int32_t remove(const wchar_t* archive, TSZW_TARGETFILES entries, OxaProgressCallback progress,
                   OxaNotifyCallback notify);
    int32_t test(const wchar_t* archive, const wchar_t* password, OxaPasswordCallback passwordCallback,
                 OxaProgressCallback progress);
    OxaListHandle openList(const wchar_t* archive, OxaListEntry** entries, int32_t* count);
    void closeList(OxaListHandle handle);
    int32_t lastError() const { return lastError_.load(); }

private:
    class Operation;
    struct Listing;

    // 1 when the outcome is a success, else 0 with its code kept for GetLastArchiveError.
    int32_t report(const Outcome& outcome);
    PasswordFunction passwordFunction(OxaPasswordCallback callback);

    std::mutex operationLock_;
    std::atomic<DWORD> operationThread_{0};
    std::atomic<int32_t> lastError_{0};

    // Process-wide: set from the password argument of each operation.
    std::u16string passwordSlot_;
    bool passwordHandedOut_ = false;

    std::mutex listingsLock_;
    std::set<Listing*> listings_;

    std::u16string dllDirectory_;
    WindowsFileAccess files_;
};

}  // namespace pellion::archive
