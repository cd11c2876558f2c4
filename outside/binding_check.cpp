// Built (never run) in the i686 build: a program that calls every export through
// the import library, so a stdcall decoration that the header and the library
// disagree on (ExtractArchive@44 and the like) fails the build, not the engine.

#include "outside/oxa.h"

int main()
{
    const TSZW_TARGETFILES none{nullptr, 0};
    OxaListEntry* entries = nullptr;
    int32_t count = 0;
    Set7zipDllDirectory(L"");
    ExtractArchive(L"", 1, L"", none, 0, L"", nullptr, nullptr, nullptr, nullptr);
    CreateArchive(L"", 0, none, none, 0, L"", L"", nullptr, nullptr, 0);
    DeleteFromArchive(L"", 1, none, 0, 0, 0, L"", 0, nullptr, nullptr);
    TestArchive(L"", 0, 0, 0, 0, L"", nullptr, nullptr);
    CloseListArchive(OpenListArchive(L"", 0, nullptr, 0, 0, 0, L"", &entries, &count));
    return GetLastArchiveError();
}
