// The binary interface of the archive library "oxa.lib": its exported stdcall
// functions, entry lists, listing entries and callbacks. The library implements it;
// the engine binds it at load time through the import target `oxa_import`.
#pragma once

#include <cstdint>

#ifndef OXA_API
#define OXA_API __declspec(dllimport)
#endif

extern "C" {

// An entry list: a pointer to an array of pointers to names, then a 32-bit count.
// Passed by value. A count of 0 (names may then be null) means "no entries".
struct TSZW_TARGETFILES {
    const wchar_t* const* names;
    int32_t count;
};

// One listing entry: 48 bytes in both the 32-bit and the 64-bit build. The name
// pointer comes first; its slot is 8 bytes wide in both builds (in the 32-bit build
// the pointer fills the first 4, the next 4 are zero), so every later field keeps
// its offset. The library owns names and entries until CloseListArchive.
struct OxaListEntry {
    union {
        const wchar_t* name;  // offset 0: "\" between folders, no trailing "\" on folders
        uint64_t nameSlot;
    };
    uint32_t attributes;   // offset 8: 0x10 folder, 0x20 file, 0x01 encrypted entry
    uint32_t crc;          // offset 12
    uint64_t size;         // offset 16
    uint64_t packedSize;   // offset 24
    uint64_t modified;     // offset 32: FILETIME (100 ns steps since 1601, UTC)
    uint32_t method;       // offset 40: 0 stored, 8 deflated
    uint32_t index;        // offset 44: position in the archive
};
static_assert(sizeof(OxaListEntry) == 48, "a listing entry is 48 bytes");

constexpr uint32_t oxaAttributeEncrypted = 0x01;
constexpr uint32_t oxaAttributeFolder = 0x10;
constexpr uint32_t oxaAttributeFile = 0x20;

// Progress: current entry name, bytes done and total. Nonzero goes on, 0 cancels.
typedef int32_t(__stdcall* OxaProgressCallback)(const wchar_t* currentName, uint64_t done, uint64_t total);
// Password: the buffer holds oxaPasswordBufferLength UTF-16 units, zero-filled;
// write a null-terminated password and return 1, or return 0 for "none".
typedef int32_t(__stdcall* OxaPasswordCallback)(wchar_t* buffer);
// Notify: (1, number of entries in the call's list) before the work starts;
// the answer is not read.
typedef int32_t(__stdcall* OxaNotifyCallback)(int32_t what, int32_t value);
// Overwrite: asked when an extracted file exists; the ten arguments are all zero.
// Answers: 1 overwrite (and stop asking), 2 overwrite this one, 3 skip this one,
// 4 rename automatically to "name_1.ext" (and stop asking), anything else cancels.
typedef int32_t(__stdcall* OxaOverwriteCallback)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                                 int32_t, int32_t, int32_t);

constexpr int32_t oxaPasswordBufferLength = 1024;

typedef void* OxaListHandle;

OXA_API int32_t __stdcall Set7zipDllDirectory(const wchar_t* folder);

// Path mode 0 keeps the folders stored in the archive; 1 writes every file directly
// into the target folder.
OXA_API int32_t __stdcall ExtractArchive(const wchar_t* archive, int32_t reserved, const wchar_t* targetFolder,
                                         TSZW_TARGETFILES entries, int32_t pathMode, const wchar_t* password,
                                         OxaPasswordCallback passwordCallback, OxaProgressCallback progress,
                                         OxaNotifyCallback notify, OxaOverwriteCallback overwrite);

// First list: files, folders (added with their contents under the folder's name)
// and wildcard patterns in the last part ("C:\data\*": the folder's contents
// without the folder's name). Second list: patterns of entries left out. Update
// modes: 0 add and replace, 1 replace only with newer files, 2 a new archive.
OXA_API int32_t __stdcall CreateArchive(const wchar_t* archive, int32_t formatCode, TSZW_TARGETFILES files,
                                        TSZW_TARGETFILES excluded, int32_t updateMode, const wchar_t* switches,
                                        const wchar_t* password, OxaProgressCallback progress,
                                        OxaNotifyCallback notify, int32_t reserved);

OXA_API int32_t __stdcall DeleteFromArchive(const wchar_t* archive, int32_t reserved1, TSZW_TARGETFILES entries,
                                            int32_t reserved2, int32_t reserved3, int32_t reserved4,
                                            const wchar_t* password, int32_t reserved5, OxaProgressCallback progress,
                                            OxaNotifyCallback notify);

OXA_API int32_t __stdcall TestArchive(const wchar_t* archive, int32_t reserved1, int32_t reserved2, int32_t reserved3,
                                      int32_t reserved4, const wchar_t* password,
                                      OxaPasswordCallback passwordCallback, OxaProgressCallback progress);

OXA_API OxaListHandle __stdcall OpenListArchive(const wchar_t* archive, int32_t reserved1,
                                                OxaPasswordCallback passwordCallback, int32_t reserved2,
                                                int32_t reserved3, int32_t reserved4, const wchar_t* password,
                                                OxaListEntry** entries, int32_t* count);

OXA_API void __stdcall CloseListArchive(OxaListHandle handle);

OXA_API int32_t __stdcall GetLastArchiveError();

}  // extern "C"
