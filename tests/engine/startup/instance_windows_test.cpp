// The Windows answers of the instance data under Wine: the identity key read
// through the registry seam, shell folders, msi.dll bound on first use, and the
// folder, file and attribute work of the product cache folder.

#include <windows.h>

#include <filesystem>
#include <gtest/gtest.h>

#include "common/wide.h"
#include "engine/commands/registry_access.h"
#include "engine/startup/bootstrap.h"
#include "engine/startup/cache_location.h"
#include "engine/startup/instance_data.h"
#include "engine/startup/instance_windows.h"
#include "script_builder.h"
#include "script_fixture.h"

namespace pellion {
namespace {

constexpr wchar_t testKey[] = L"Software\\Dorvane\\Vantrel\\Ident.Cache\\{PELLION-INSTANCE-TEST}";

class WindowsInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = fromWide(temp) + u"pellion-instance-test\\";
        machine_.removeTree(folder_);
        ASSERT_TRUE(machine_.createFolder(folder_));
    }
    void TearDown() override
    {
        machine_.removeTree(folder_);
        RegDeleteKeyW(HKEY_CURRENT_USER, testKey);
    }
    static void writeFile(const std::u16string& path, const char* text)
    {
        HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
        CloseHandle(file);
    }
    static std::string readFile(const std::u16string& path)
    {
        NativeFileSystem files;
        return readWholeFile(files, path).value_or("<missing>");
    }

    std::unique_ptr<RegistryAccess> registry_ = makeSystemRegistry();
    WindowsInstanceMachine machine_{*registry_};
    std::u16string folder_;
};

TEST_F(WindowsInstance, IdentityKeyOpensOrNot)
{
    EXPECT_FALSE(machine_.registryText(currentUser, fromWide(testKey), u""));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, testKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    EXPECT_EQ(machine_.registryText(currentUser, fromWide(testKey), u""), u"");
    const wchar_t value[] = L"C:\\Cache\\{REV}\\";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    RegCloseKey(key);
    EXPECT_EQ(machine_.registryText(currentUser, fromWide(testKey), u""), u"C:\\Cache\\{REV}\\");
    EXPECT_FALSE(machine_.registryText(localMachine, fromWide(testKey), u""));
}

TEST_F(WindowsInstance, ShellFoldersAndInstallerAnswer)
{
    EXPECT_FALSE(machine_.shellFolder(ShellFolder::commonAppData).empty());
    EXPECT_FALSE(machine_.shellFolder(ShellFolder::localAppData).empty());
    // A product nobody installed is unknown to Windows Installer (-1) and has no package code.
    const auto state = machine_.msiProductState(u"{00000000-1111-2222-3333-444444444444}");
    ASSERT_TRUE(state);
    EXPECT_EQ(*state, -1);
    EXPECT_FALSE(machine_.msiPackageCode(u"{00000000-1111-2222-3333-444444444444}"));
}

TEST_F(WindowsInstance, FolderAndFileWorkOfTheCache)
{
    const std::u16string inner = folder_ + u"inner\\";
    EXPECT_TRUE(machine_.createFolder(inner));
    EXPECT_FALSE(machine_.createFolder(inner));
    writeFile(inner + u"a.dat", "old");
    EXPECT_FALSE(machine_.removeEmptyFolder(inner));
    writeFile(inner + u"a.dat.dat", "new");
    EXPECT_TRUE(machine_.replaceFile(inner + u"a.dat.dat", inner + u"a.dat"));
    EXPECT_EQ(readFile(inner + u"a.dat"), "new");
    EXPECT_EQ(readFile(inner + u"a.dat.dat"), "<missing>");
    EXPECT_TRUE(machine_.deleteFile(inner + u"a.dat"));
    EXPECT_TRUE(machine_.removeEmptyFolder(inner));

    machine_.setHidden(folder_);
    EXPECT_EQ(GetFileAttributesW(toWide(folder_).c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    // Compression is asked for; a file system without it leaves the folder as it was.
    machine_.setCompression(folder_, true);
    machine_.setCompression(folder_, false);
    EXPECT_TRUE(machine_.shortPath(folder_));

    machine_.createFolder(folder_ + u"deep\\");
    writeFile(folder_ + u"deep\\x.txt", "x");
    machine_.removeTree(folder_ + u"deep");
    NativeFileSystem files;
    EXPECT_FALSE(folderExists(files, folder_ + u"deep"));
    EXPECT_FALSE(machine_.createFolder(u"Q:\\Surely\\Not\\"));
}

// The end of a run refreshes the remembered variables of an existing data
// file in place and hides the cache folder, with the real file calls.
TEST_F(WindowsInstance, EndOfRunCachingUpdatesTheDataFileAndHidesTheFolder)
{
    testing::ScriptRun run{testing::ScriptBuilder()};
    const std::u16string revision = u"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
    run.package.revisionCode = revision;
    run.environment->identity.revisionCode = revision;
    run.environment->variables.SetVariable(u"OVERRIDECACHE", folder_, u"Test");
    run.environment->variables.SetVariable(u"NOTE", u"fresh\r\nline", u"Test");
    const std::u16string cache = folder_ + revision + u"\\";
    ASSERT_TRUE(machine_.createFolder(cache));
    InstanceDataContent old;
    old.targetDir = u"C:\\Kept\\";
    old.remembered = {{u"NOTE", u"stale"}};
    writeFile(cache + u"setup.dat", formatInstanceData(old).c_str());

    ComponentTable components;
    std::vector<std::u16string> remembered{u"NOTE"};
    InstanceRunState state;
    NativeFileSystem files;
    InstanceContext context{*run.environment, components, remembered, state, files, machine_};
    CacheInstanceData(context, true);

    const InstanceDataFile file = parseInstanceData(readFile(cache + u"setup.dat"));
    EXPECT_EQ(file.targetDir, u"C:\\Kept\\");
    ASSERT_FALSE(file.pairs.empty());
    EXPECT_EQ(file.pairs.front(), NamedValue(u"NOTE", u"fresh$NEWLINE$line"));
    EXPECT_EQ(readFile(cache + u"setup.dat.dat"), "<missing>");
    EXPECT_TRUE(GetFileAttributesW(toWide(cache).c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace
}  // namespace pellion
