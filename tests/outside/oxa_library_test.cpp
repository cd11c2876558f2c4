// "oxa.lib" loaded by path and called through its exports, with the stdcall
// signatures spelled out here rather than taken from its header, so a mismatch
// between the library and its documented interface shows.

#include "outside/oxa.h"

#include "raw_zip.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace pellion::archive::testing {
namespace {

using SetDirectory = int32_t(__stdcall*)(const wchar_t*);
using Extract = int32_t(__stdcall*)(const wchar_t*, int32_t, const wchar_t*, TSZW_TARGETFILES, int32_t, const wchar_t*,
                                    OxaPasswordCallback, OxaProgressCallback, OxaNotifyCallback, OxaOverwriteCallback);
using Create = int32_t(__stdcall*)(const wchar_t*, int32_t, TSZW_TARGETFILES, TSZW_TARGETFILES, int32_t, const wchar_t*,
                                   const wchar_t*, OxaProgressCallback, OxaNotifyCallback, int32_t);
using Delete = int32_t(__stdcall*)(const wchar_t*, int32_t, TSZW_TARGETFILES, int32_t, int32_t, int32_t, const wchar_t*,
                                   int32_t, OxaProgressCallback, OxaNotifyCallback);
using TestCall = int32_t(__stdcall*)(const wchar_t*, int32_t, int32_t, int32_t, int32_t, const wchar_t*, OxaPasswordCallback,
                                 OxaProgressCallback);
using OpenList = void*(__stdcall*)(const wchar_t*, int32_t, OxaPasswordCallback, int32_t, int32_t, int32_t,
                                   const wchar_t*, OxaListEntry**, int32_t*);
using CloseList = void(__stdcall*)(void*);
using LastError = int32_t(__stdcall*)();

// The listing layout both builds share: 48 bytes, the name pointer first.
static_assert(sizeof(OxaListEntry) == 48);
static_assert(offsetof(OxaListEntry, name) == 0);
static_assert(offsetof(OxaListEntry, attributes) == 8);
static_assert(offsetof(OxaListEntry, size) == 16);
static_assert(offsetof(OxaListEntry, index) == 44);

template <typename Function>
Function exported(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Callbacks carry no context: the test in progress keeps what they saw here.
struct Seen {
    std::vector<std::wstring> progressNames;
    uint64_t lastDone = 0;
    uint64_t lastTotal = 0;
    int progressCalls = 0;
    int cancelAfter = -1;
    std::vector<std::pair<int32_t, int32_t>> notifications;
    int overwriteCalls = 0;
    int32_t overwriteAnswer = 1;
    int passwordCalls = 0;
    const wchar_t* password = nullptr;
    Extract reenter = nullptr;
    int32_t reenterResult = -1;
};
Seen* seen = nullptr;

int32_t __stdcall recordProgress(const wchar_t* name, uint64_t done, uint64_t total)
{
    seen->progressNames.push_back(name ? name : L"");
    seen->lastDone = done;
    seen->lastTotal = total;
    ++seen->progressCalls;
    if (seen->reenter) {
        const TSZW_TARGETFILES none{nullptr, 0};
        seen->reenterResult = seen->reenter(L"x.zip", 1, L"x", none, 0, L"", nullptr, nullptr, nullptr, nullptr);
        seen->reenter = nullptr;
    }
    return seen->cancelAfter >= 0 && seen->progressCalls > seen->cancelAfter ? 0 : 1;
}

int32_t __stdcall recordNotify(int32_t what, int32_t value)
{
    seen->notifications.emplace_back(what, value);
    return 1;
}

int32_t __stdcall answerOverwrite(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                  int32_t)
{
    ++seen->overwriteCalls;
    return seen->overwriteAnswer;
}

int32_t __stdcall givePassword(wchar_t* buffer)
{
    ++seen->passwordCalls;
    if (!seen->password)
        return 0;
    wcsncpy(buffer, seen->password, oxaPasswordBufferLength - 1);
    return 1;
}

class OxaExports : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const auto libraryPath = std::filesystem::path(self).parent_path() / L"oxa.lib";
        library = LoadLibraryW(libraryPath.c_str());
        ASSERT_NE(library, nullptr) << "cannot load " << libraryPath.string();
        setDirectory = exported<SetDirectory>(library, "Set7zipDllDirectory");
        extract = exported<Extract>(library, "ExtractArchive");
        create = exported<Create>(library, "CreateArchive");
        remove = exported<Delete>(library, "DeleteFromArchive");
        test = exported<TestCall>(library, "TestArchive");
        openList = exported<OpenList>(library, "OpenListArchive");
        closeList = exported<CloseList>(library, "CloseListArchive");
        lastError = exported<LastError>(library, "GetLastArchiveError");
        ASSERT_TRUE(setDirectory && extract && create && remove && test && openList && closeList && lastError);

        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::filesystem::path(temp) / (L"oxa_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                                std::to_wstring(GetTickCount()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        seen = &record;
    }

    void TearDown() override
    {
        seen = nullptr;
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        if (library)
            FreeLibrary(library);
    }

    std::wstring path(const std::wstring& relative) const { return (folder / relative).wstring(); }

    void write(const std::wstring& relative, const std::string& content) const
    {
        std::filesystem::create_directories((folder / relative).parent_path());
        std::ofstream(folder / relative, std::ios::binary) << content;
    }

    std::string read(const std::wstring& relative) const
    {
        std::ifstream in(folder / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const std::wstring& relative) const { return std::filesystem::exists(folder / relative); }

    // Makes "a.zip" from the folder "in": a.txt, sub\b.txt, sub\deep\c.txt.
    void makeArchive(const wchar_t* password = L"", const wchar_t* switches = L"")
    {
        write(L"in\\a.txt", "alpha");
        write(L"in\\sub\\b.txt", std::string(200000, 'b'));
        write(L"in\\sub\\deep\\c.txt", "gamma");
        const std::wstring item = path(L"in\\*");
        const wchar_t* items[] = {item.c_str()};
        ASSERT_EQ(create(path(L"a.zip").c_str(), 0, {items, 1}, {nullptr, 0}, 2, switches, password, nullptr, nullptr, 0),
                  1)
            << lastError();
    }

    std::vector<std::wstring> listNames(const std::wstring& archive)
    {
        OxaListEntry* entries = nullptr;
        int32_t count = -1;
        void* handle = openList(archive.c_str(), 0, nullptr, 0, 0, 0, L"", &entries, &count);
        EXPECT_NE(handle, nullptr) << lastError();
        std::vector<std::wstring> names;
        if (!handle)
            return names;
        // Read the way the engine does: the name pointer at the start of each 48-byte entry.
        const auto* bytes = reinterpret_cast<const unsigned char*>(entries);
        for (int32_t i = 0; i < count; ++i)
            names.push_back(*reinterpret_cast<const wchar_t* const*>(bytes + 48 * static_cast<size_t>(i)));
        closeList(handle);
        return names;
    }

    int32_t extractAll(const std::wstring& archive, const std::wstring& target, int32_t pathMode,
                       const wchar_t* password = L"", OxaPasswordCallback passwordCallback = nullptr,
                       OxaOverwriteCallback overwrite = nullptr)
    {
        const auto names = listNames(archive);
        std::vector<const wchar_t*> pointers;
        for (const auto& name : names)
            pointers.push_back(name.c_str());
        return extract(archive.c_str(), 1, target.c_str(), {pointers.data(), static_cast<int32_t>(pointers.size())},
                       pathMode, password, passwordCallback, recordProgress, recordNotify, overwrite);
    }

    HMODULE library = nullptr;
    SetDirectory setDirectory = nullptr;
    Extract extract = nullptr;
    Create create = nullptr;
    Delete remove = nullptr;
    TestCall test = nullptr;
    OpenList openList = nullptr;
    CloseList closeList = nullptr;
    LastError lastError = nullptr;
    std::filesystem::path folder;
    Seen record;
};

TEST_F(OxaExports, CreatedArchivesListExtractAndTestThroughTheExports)
{
    EXPECT_NE(setDirectory(path(L"DODOV\\").c_str()), 0);
    makeArchive();
    EXPECT_EQ(listNames(path(L"a.zip")),
              (std::vector<std::wstring>{L"a.txt", L"sub", L"sub\\b.txt", L"sub\\deep", L"sub\\deep\\c.txt"}));

    OxaListEntry* entries = nullptr;
    int32_t count = 0;
    void* handle = openList(path(L"a.zip").c_str(), 0, nullptr, 0, 0, 0, L"", &entries, &count);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(count, 5);
    EXPECT_EQ(entries[1].attributes & oxaAttributeFolder, oxaAttributeFolder);
    EXPECT_EQ(entries[2].size, 200000u);
    EXPECT_LT(entries[2].packedSize, 2000u);
    EXPECT_EQ(entries[2].method, 8u);
    EXPECT_EQ(entries[4].index, 4u);
    closeList(handle);

    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"out"), 0), 1) << lastError();
    EXPECT_EQ(read(L"out\\a.txt"), "alpha");
    EXPECT_EQ(read(L"out\\sub\\b.txt"), std::string(200000, 'b'));
    EXPECT_EQ(read(L"out\\sub\\deep\\c.txt"), "gamma");
    EXPECT_EQ(record.notifications, (std::vector<std::pair<int32_t, int32_t>>{{1, 5}}));
    EXPECT_EQ(record.lastDone, record.lastTotal);
    EXPECT_EQ(record.lastTotal, 200010u);
    EXPECT_NE(std::find(record.progressNames.begin(), record.progressNames.end(), L"sub\\deep\\c.txt"),
              record.progressNames.end());

    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"flat"), 1), 1) << lastError();
    EXPECT_EQ(read(L"flat\\c.txt"), "gamma");
    EXPECT_FALSE(exists(L"flat\\sub"));

    EXPECT_EQ(test(path(L"a.zip").c_str(), 0, 0, 0, 0, L"", nullptr, recordProgress), 1);
}

TEST_F(OxaExports, StoredArchivesFollowTheSwitchText)
{
    makeArchive(L"", L"-ssw -mhe=off -mmt=2 -ms=off -mhc=off -m0=None -m0=Copy ");
    OxaListEntry* entries = nullptr;
    int32_t count = 0;
    void* handle = openList(path(L"a.zip").c_str(), 0, nullptr, 0, 0, 0, L"", &entries, &count);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(count, 5);
    EXPECT_EQ(entries[2].method, 0u);
    EXPECT_EQ(entries[2].packedSize, 200000u);
    closeList(handle);
}

TEST_F(OxaExports, FailuresReturnZeroAndLeaveTheirCode)
{
    makeArchive(L"", L"-mx=0");
    std::string damaged = read(L"a.zip");
    damaged[damaged.find("alpha") + 1] ^= 0x55;  // stored data of a.txt
    write(L"damaged.zip", damaged);
    write(L"evil.zip", rawZip({plainEntry("fine.txt", "x"), plainEntry("..\\evil.txt", "evil")}));
    const TSZW_TARGETFILES none{nullptr, 0};
    const auto missing = path(L"missing.zip");
    const auto damagedPath = path(L"damaged.zip");
    const auto evil = path(L"evil.zip");
    const auto target = path(L"target");
    const auto fresh = path(L"new.zip");
    struct Case {
        const char* label;
        std::function<int32_t()> call;
        int32_t code;
    };
    const Case cases[] = {
        {"missing archive", [&] { return test(missing.c_str(), 0, 0, 0, 0, L"", nullptr, nullptr); }, 1001},
        {"damaged data", [&] { return test(damagedPath.c_str(), 0, 0, 0, 0, L"", nullptr, nullptr); }, 1004},
        {"unsafe name",
         [&] { return extract(evil.c_str(), 1, target.c_str(), none, 0, L"", nullptr, nullptr, nullptr, nullptr); },
         1007},
        {"bad update mode", [&] { return create(fresh.c_str(), 0, none, none, 7, L"", L"", nullptr, nullptr, 0); },
         1012},
        {"no target folder",
         [&] { return extract(evil.c_str(), 1, L"", none, 0, L"", nullptr, nullptr, nullptr, nullptr); }, 1012},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.call(), 0);
        EXPECT_EQ(lastError(), c.code);
    }
    EXPECT_FALSE(exists(L"evil.txt"));
    EXPECT_FALSE(exists(L"target\\fine.txt"));

    OxaListEntry* entries = nullptr;
    int32_t count = 0;
    EXPECT_EQ(openList(missing.c_str(), 0, nullptr, 0, 0, 0, L"", &entries, &count), nullptr);
    EXPECT_EQ(lastError(), 1001);
    int bogus = 0;
    closeList(&bogus);  // not a handle of the library: refused, not freed
    EXPECT_EQ(lastError(), 1012);
}

TEST_F(OxaExports, DeleteRemovesFolderEntriesByWildcard)
{
    makeArchive();
    const wchar_t* patterns[] = {L"sub\\deep\\*"};
    ASSERT_EQ(remove(path(L"a.zip").c_str(), 1, {patterns, 1}, 0, 0, 0, L"", 0, recordProgress, recordNotify), 1)
        << lastError();
    EXPECT_EQ(listNames(path(L"a.zip")), (std::vector<std::wstring>{L"a.txt", L"sub", L"sub\\b.txt", L"sub\\deep"}));
    EXPECT_EQ(test(path(L"a.zip").c_str(), 0, 0, 0, 0, L"", nullptr, nullptr), 1);
}

TEST_F(OxaExports, TheOverwriteAnswerDecidesAboutExistingFiles)
{
    makeArchive();
    write(L"out\\a.txt", "old");
    record.overwriteAnswer = 4;
    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"out"), 0, L"", nullptr, answerOverwrite), 1) << lastError();
    EXPECT_EQ(record.overwriteCalls, 1);
    EXPECT_EQ(read(L"out\\a.txt"), "old");
    EXPECT_EQ(read(L"out\\a_1.txt"), "alpha");

    record.overwriteAnswer = 1;
    record.overwriteCalls = 0;
    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"out"), 0, L"", nullptr, answerOverwrite), 1) << lastError();
    EXPECT_EQ(record.overwriteCalls, 1) << "answer 1 stands for every later file";
    EXPECT_EQ(read(L"out\\a.txt"), "alpha");

    write(L"out2\\a.txt", "old");
    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"out2"), 0), 1) << "without a callback existing files are overwritten";
    EXPECT_EQ(read(L"out2\\a.txt"), "alpha");

    record.overwriteAnswer = 0;
    write(L"out3\\a.txt", "old");
    EXPECT_EQ(extractAll(path(L"a.zip"), path(L"out3"), 0, L"", nullptr, answerOverwrite), 0);
    EXPECT_EQ(lastError(), 1011);
}

TEST_F(OxaExports, TheProgressCallbackCancels)
{
    makeArchive();
    record.cancelAfter = 1;
    EXPECT_EQ(extractAll(path(L"a.zip"), path(L"out"), 0), 0);
    EXPECT_EQ(lastError(), 1011);
    EXPECT_FALSE(exists(L"out\\sub\\deep\\c.txt"));

    record.progressCalls = 0;
    const std::wstring item = path(L"in\\*");
    const wchar_t* items[] = {item.c_str()};
    const std::string before = read(L"a.zip");
    EXPECT_EQ(create(path(L"a.zip").c_str(), 0, {items, 1}, {nullptr, 0}, 0, L"", L"", recordProgress, nullptr, 0), 0);
    EXPECT_EQ(lastError(), 1011);
    EXPECT_EQ(read(L"a.zip"), before);
}

TEST_F(OxaExports, PasswordsComeFromTheSlotOrTheCallback)
{
    makeArchive(L"pw");
    EXPECT_EQ(extractAll(path(L"a.zip"), path(L"none"), 0), 0);
    EXPECT_EQ(lastError(), 1006);
    EXPECT_EQ(extractAll(path(L"a.zip"), path(L"wrong"), 0, L"nope"), 0);
    EXPECT_EQ(lastError(), 1006);
    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"slot"), 0, L"pw"), 1) << lastError();
    EXPECT_EQ(read(L"slot\\sub\\deep\\c.txt"), "gamma");

    record.password = L"pw";
    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"callback"), 0, L"", givePassword), 1) << lastError();
    EXPECT_EQ(record.passwordCalls, 1);
    EXPECT_EQ(test(path(L"a.zip").c_str(), 0, 0, 0, 0, L"pw", nullptr, nullptr), 1);
    EXPECT_EQ(test(path(L"a.zip").c_str(), 0, 0, 0, 0, L"", nullptr, nullptr), 0);
}

TEST_F(OxaExports, ACallFromInsideACallbackIsRefusedNotDeadlocked)
{
    makeArchive();
    record.reenter = extract;
    ASSERT_EQ(extractAll(path(L"a.zip"), path(L"out"), 0), 1) << lastError();
    EXPECT_EQ(record.reenterResult, 0);
    EXPECT_EQ(lastError(), 1013);
}

}  // namespace
}  // namespace pellion::archive::testing
