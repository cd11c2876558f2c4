// Lexchk loaded the way the setup's plug-in loads it: by path, exports by name.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace {

using TwoPaths = int32_t(__stdcall*)(const char*, const char*);
using OnePath = int32_t(__stdcall*)(const char*);

// Exports come back as a generic FARPROC; this is the one cast to their type.
template <typename Function>
Function exported(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

class DirectFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        library = LoadLibraryW(L"Lexchk.dll");
        ASSERT_NE(library, nullptr);
        copy = exported<TwoPaths>(library, "DirectCopyFile");
        move = exported<TwoPaths>(library, "DirectMoveFile");
        remove = exported<OnePath>(library, "DirectDeleteFile");
        ASSERT_TRUE(copy && move && remove);

        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "lexchk_test_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }

    void TearDown() override
    {
        for (const char* name : {"src", "dst", "empty", "ro", "moved"}) {
            SetFileAttributesA(path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path(name).c_str());
        }
        RemoveDirectoryA(path("sub").c_str());
        RemoveDirectoryA(folder.c_str());
        if (library)
            FreeLibrary(library);
    }

    std::string path(const char* name) const { return folder + name; }

    void write(const char* name, const std::string& content) const
    {
        std::ofstream(path(name), std::ios::binary) << content;
    }

    std::string read(const char* name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const char* name) const { return GetFileAttributesA(path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    HMODULE library = nullptr;
    TwoPaths copy = nullptr;
    TwoPaths move = nullptr;
    OnePath remove = nullptr;
    std::string folder;
};

TEST_F(DirectFiles, CopyReplacesAnExistingTarget)
{
    write("src", "new");
    write("dst", "old content");
    EXPECT_EQ(copy(path("src").c_str(), path("dst").c_str()), 1);
    EXPECT_EQ(read("dst"), "new");
    EXPECT_EQ(read("src"), "new");
}

TEST_F(DirectFiles, EmptyMissingOrFolderSourcesAreNotCopiedOrMoved)
{
    write("empty", "");
    for (const std::string& source : {path("empty"), path("missing"), folder, std::string("C:\\")}) {
        EXPECT_EQ(copy(source.c_str(), path("dst").c_str()), 0) << source;
        EXPECT_EQ(move(source.c_str(), path("dst").c_str()), 0) << source;
        EXPECT_FALSE(exists("dst")) << source;
    }
    EXPECT_EQ(copy(nullptr, path("dst").c_str()), 0);
    write("src", "x");
    EXPECT_EQ(copy(path("src").c_str(), nullptr), 0);
    EXPECT_EQ(copy(path("src").c_str(), ""), 0);
}

TEST_F(DirectFiles, MoveCopiesThenDeletesTheSource)
{
    write("src", "payload");
    EXPECT_EQ(move(path("src").c_str(), path("moved").c_str()), 1);
    EXPECT_FALSE(exists("src"));
    EXPECT_EQ(read("moved"), "payload");
}

TEST_F(DirectFiles, MoveIntoAMissingFolderFailsAndKeepsTheSource)
{
    write("src", "payload");
    EXPECT_EQ(move(path("src").c_str(), (folder + "sub\\deeper\\x").c_str()), 0);
    EXPECT_EQ(read("src"), "payload");
}

TEST_F(DirectFiles, DeleteReportsSuccessWhenThereIsNothingToDelete)
{
    write("empty", "");
    EXPECT_EQ(remove(path("missing").c_str()), 1);
    EXPECT_EQ(remove(path("empty").c_str()), 1);
    EXPECT_TRUE(exists("empty")) << "an empty file is left in place";
    CreateDirectoryA(path("sub").c_str(), nullptr);
    EXPECT_EQ(remove(path("sub").c_str()), 1);
    EXPECT_EQ(remove(nullptr), 1);
}

TEST_F(DirectFiles, ReadOnlyFilesAreNotForcedAndMoveReportsTheFailedDelete)
{
    write("ro", "locked");
    SetFileAttributesA(path("ro").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(remove(path("ro").c_str()), 0);
    EXPECT_TRUE(exists("ro"));
    EXPECT_EQ(move(path("ro").c_str(), path("dst").c_str()), 0);
    EXPECT_TRUE(exists("ro"));
    EXPECT_EQ(read("dst"), "locked") << "the target already holds the copy";
}

}  // namespace
