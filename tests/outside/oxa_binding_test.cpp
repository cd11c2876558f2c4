// A program bound to "oxa.lib" at load time through the import target, the way
// the engine binds it: the loader finds the library beside the program by that
// name, and the header's declarations reach the right exports.

#include "outside/oxa.h"

#include <gtest/gtest.h>

namespace {

TEST(OxaBinding, ProgramsBindTheLibraryByNameAtLoadTime)
{
    EXPECT_NE(Set7zipDllDirectory(L"C:\\"), 0);
    OxaListEntry* entries = nullptr;
    int32_t count = 0;
    EXPECT_EQ(OpenListArchive(L"C:\\no such archive.res", 0, nullptr, 0, 0, 0, L"", &entries, &count), nullptr);
    EXPECT_EQ(GetLastArchiveError(), 1001);
    EXPECT_EQ(TestArchive(L"C:\\no such archive.res", 0, 0, 0, 0, L"", nullptr, nullptr), 0);
    const TSZW_TARGETFILES none{nullptr, 0};
    EXPECT_EQ(ExtractArchive(L"C:\\no such archive.res", 1, L"C:\\target", none, 0, L"", nullptr, nullptr, nullptr,
                             nullptr),
              0);
    EXPECT_EQ(CreateArchive(L"", 0, none, none, 0, L"", L"", nullptr, nullptr, 0), 0);
    EXPECT_EQ(GetLastArchiveError(), 1012);
    EXPECT_EQ(DeleteFromArchive(L"C:\\no such archive.res", 1, none, 0, 0, 0, L"", 0, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastArchiveError(), 1001);
    CloseListArchive(nullptr);
}

}  // namespace
