// Lexchk: copies, moves and deletes single files at once for setup scripts.
// Every export is stdcall with ANSI paths and answers 1 or 0; the library keeps
// no state and shows nothing.

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

// The caller keeps its buffers; we work on copies of our own.
std::string ownCopy(const char* path)
{
    return path ? std::string(path) : std::string();
}

// -1: no such path; -2: a folder (roots and drives included); else the size.
int64_t sizeOf(const std::string& path)
{
    if (path.empty())
        return -1;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return -2;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int copyFile(const std::string& source, const std::string& target)
{
    if (sizeOf(source) <= 0 || target.empty())
        return 0;
    return CopyFileA(source.c_str(), target.c_str(), FALSE) ? 1 : 0;
}

int deleteFile(const std::string& path)
{
    // Nothing to delete (missing, empty or a folder) counts as done.
    if (sizeOf(path) <= 0)
        return 1;
    return DeleteFileA(path.c_str()) ? 1 : 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) int32_t __stdcall DirectCopyFile(const char* source, const char* target)
{
    return copyFile(ownCopy(source), ownCopy(target));
}

__declspec(dllexport) int32_t __stdcall DirectDeleteFile(const char* path)
{
    return deleteFile(ownCopy(path));
}

__declspec(dllexport) int32_t __stdcall DirectMoveFile(const char* source, const char* target)
{
    const std::string from = ownCopy(source);
    if (copyFile(from, ownCopy(target)) != 1)
        return 0;
    return deleteFile(from);
}

}  // extern "C"
