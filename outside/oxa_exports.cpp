// The exported functions of "oxa.lib". Exports carry no context, so the library's
// state is the one object the interface forces to be process-wide; each export
// only forwards to it.

#define OXA_API __declspec(dllexport)
#include "outside/oxa.h"

#include "outside/oxa_library.h"

using pellion::archive::OxaLibrary;

namespace {

OxaLibrary& library()
{
    static OxaLibrary instance;
    return instance;
}

}  // namespace

extern "C" {

OXA_API int32_t __stdcall Set7zipDllDirectory(const wchar_t* folder)
{
    return library().setDllDirectory(folder);
}

OXA_API int32_t __stdcall ExtractArchive(const wchar_t* archive, int32_t, const wchar_t* targetFolder,
                                         TSZW_TARGETFILES entries, int32_t pathMode, const wchar_t* password,
                                         OxaPasswordCallback passwordCallback, OxaProgressCallback progress,
                                         OxaNotifyCallback notify, OxaOverwriteCallback overwrite)
{
    return library().extract(archive, targetFolder, entries, pathMode, password, passwordCallback, progress, notify,
                             overwrite);
}

// The format code is accepted and not read: every archive this library writes is a zip.
OXA_API int32_t __stdcall CreateArchive(const wchar_t* archive, int32_t, TSZW_TARGETFILES files,
                                        TSZW_TARGETFILES excluded, int32_t updateMode, const wchar_t* switches,
                                        const wchar_t* password, OxaProgressCallback progress,
                                        OxaNotifyCallback notify, int32_t)
{
    return library().create(archive, files, excluded, updateMode, switches, password, progress, notify);
}

// Deleting copies the remaining entries as they are, so it needs no password.
OXA_API int32_t __stdcall DeleteFromArchive(const wchar_t* archive, int32_t, TSZW_TARGETFILES entries, int32_t,
                                            int32_t, int32_t, const wchar_t*, int32_t, OxaProgressCallback progress,
                                            OxaNotifyCallback notify)
{
    return library().remove(archive, entries, progress, notify);
}

OXA_API int32_t __stdcall TestArchive(const wchar_t* archive, int32_t, int32_t, int32_t, int32_t,
                                      const wchar_t* password, OxaPasswordCallback passwordCallback,
                                      OxaProgressCallback progress)
{
    return library().test(archive, password, passwordCallback, progress);
}

// Entry names are not encrypted in a zip, so listing needs no password.
OXA_API OxaListHandle __stdcall OpenListArchive(const wchar_t* archive, int32_t, OxaPasswordCallback, int32_t,
                                                int32_t, int32_t, const wchar_t*, OxaListEntry** entries,
                                                int32_t* count)
{
    return library().openList(archive, entries, count);
}

OXA_API void __stdcall CloseListArchive(OxaListHandle handle)
{
    library().closeList(handle);
}

OXA_API int32_t __stdcall GetLastArchiveError()
{
    return library().lastError();
}

}  // extern "C"
