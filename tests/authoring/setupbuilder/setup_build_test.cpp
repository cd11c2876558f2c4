#include "authoring/setupbuilder/setup_build.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <unistd.h>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/package_printer.h"
#include "common/text.h"
#include "engine/startup/package_appendix.h"
#include "engine/startup/script_package.h"
#include "outside/archive.h"
#include "outside/native_file_access.h"

using namespace pellion;
using namespace pellion::authoring;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// The entries of an archive and their contents, read back with the archive core.
std::map<std::string, std::string> archiveEntries(const fs::path& archive, const fs::path& scratch)
{
    pellion::archive::NativeFileAccess access;
    const std::u16string archiveText = toUtf16(archive.string());
    std::vector<pellion::archive::EntryInfo> listed;
    const auto listing = pellion::archive::listArchive(access, archiveText, listed);
    EXPECT_TRUE(listing.ok()) << listing.detail;
    EXPECT_TRUE(pellion::archive::testArchive(access, archiveText).ok());
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    EXPECT_TRUE(pellion::archive::extractArchive(access, archiveText, toUtf16(scratch.string())).ok());
    std::map<std::string, std::string> entries;
    for (const auto& entry : listed) {
        EXPECT_EQ(entry.method, 8) << toUtf8(entry.name);  // deflated
        entries[toUtf8(entry.name)] = readAll(scratch / toUtf8(entry.name));
    }
    return entries;
}

// A stand-in engine: the smallest PE32 image whose one section ends at 0x400.
std::string fakeEngine()
{
    std::string bytes(0x400, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = 0x40;
    bytes.replace(0x40, 4, std::string("PE\0\0", 4));
    bytes[0x40 + 6] = 1;                   // one section
    bytes[0x40 + 20] = static_cast<char>(224);  // optional header size
    bytes[0x40 + 24] = 0x0B;               // PE32 magic 0x10B
    bytes[0x40 + 25] = 0x01;
    const size_t section = 0x40 + 24 + 224;
    bytes[section + 17] = 0x02;            // raw size 0x200
    bytes[section + 21] = 0x02;            // raw offset 0x200
    return bytes;
}

class SetupBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Test runs of several build folders may share the temporary folder.
        root = fs::temp_directory_path() / ("setupbuilder_test_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        writeAll(root / "src" / "lexpack.pls",
                 "@product-code |{6B8125B1-8560-4919-BC49-5544BF0EFA68}\n"
                 "@title |Pellion\n"
                 "@revision-code |{3EDCCA79-A858-4303-9BCF-1D96429E97D7}\n"
                 "Display Dialog\n  |Welcome\n  |\n  |\n  |\n  |\n  |\n"
                 "@include |scripts/check.pls\n  |RESULT\n"
                 "End\n");
        writeAll(root / "src" / "scripts" / "check.pls", "Read Registry\n  |HKLM\n");
        writeAll(root / "src" / "support" / "Welcome.dfm", "object Welcome: TWizardForm\nend\n");
        writeAll(root / "src" / "support" / "plugins" / "CallDll.dll", std::string("MZ\0\1", 4));
        writeAll(root / "src" / "support" / "Lexchk.dll", "lexchk");
        writeAll(root / "engine" / "Pellion.exe", fakeEngine());
        writeAll(root / "engine" / "oxa.lib", "archive library");
        options.sourceFolder = root / "src";
        options.outputFolder = root / "out";
        options.engine = root / "engine" / "Pellion.exe";
        options.archiveLibrary = root / "engine" / "oxa.lib";
        options.script = "lexpack.pls";
    }

    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    BuildOptions options;
};

TEST_F(SetupBuild, WritesTheEngineWithThePackageTheArchiveAndTheLibrary)
{
    const BuildResult result = buildSetup(options);
    EXPECT_EQ(result.setupExe, root / "out" / "lexpack.exe");
    EXPECT_EQ(result.statements, 3u);
    EXPECT_EQ(result.supportFiles, 3u);
    EXPECT_TRUE(result.warnings.empty());

    const std::string exe = readAll(result.setupExe);
    EXPECT_EQ(exe.substr(0, 0x400), fakeEngine());
    const auto appendix = appendixOf(exe);
    ASSERT_TRUE(appendix && !appendix->empty());
    const TScriptPackage package = LoadScriptPackage(*appendix);
    EXPECT_EQ(package.statementName(0), u"Display Dialog");
    EXPECT_EQ(package.param(0, 1), u"Welcome");
    EXPECT_EQ(package.sourceLocations.line(1), u"scripts/check.pls*0");
    EXPECT_EQ(package.includeLevels.line(1), u"RESULT*1");
    EXPECT_EQ(package.sourceLocations.line(2), u"lexpack.pls*2");

    const auto entries = archiveEntries(root / "out" / "lexpack.res", root / "unpacked");
    const std::map<std::string, std::string> expected = {
        {"Lexchk.dll", "lexchk"},
        {"Welcome.dfm", "object Welcome: TWizardForm\nend\n"},
        {"plugins/CallDll.dll", std::string("MZ\0\1", 4)},
    };
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(readAll(root / "out" / "oxa.lib"), "archive library");
}

TEST_F(SetupBuild, TwoBuildsGiveIdenticalFilesAndThePrintedExeBuildsTheSamePackage)
{
    options.name = "first";
    buildSetup(options);
    options.name = "second";
    buildSetup(options);
    const std::string exe = readAll(root / "out" / "first.exe");
    EXPECT_EQ(exe, readAll(root / "out" / "second.exe"));
    EXPECT_EQ(readAll(root / "out" / "first.res"), readAll(root / "out" / "second.res"));

    const PrintedPackage printed = printPackage(exe);
    EXPECT_TRUE(printed.warnings.empty());
    writeAll(root / "printed" / "lexpack.pls", printed.source);
    EXPECT_EQ(compileScript(root / "printed" / "lexpack.pls").packageText, std::string(*appendixOf(exe)));
}

TEST_F(SetupBuild, BytesAfterTheEngineImageAreLeftOut)
{
    writeAll(options.engine, fakeEngine() + "old package\r\n$\r\n");
    const BuildResult result = buildSetup(options);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("16 bytes after its image"), std::string::npos) << result.warnings[0];
    const std::string exe = readAll(result.setupExe);
    EXPECT_EQ(exe.substr(0, 0x400), fakeEngine());
    EXPECT_EQ(exe.substr(0x400, 3), "\xEF\xBB\xBF");
}

TEST_F(SetupBuild, RefusesWhatIsNoSetup)
{
    struct Case { const char* what; std::function<void(BuildOptions&)> change; const char* message; };
    const fs::path base = root;
    const Case cases[] = {
        {"engine no executable", [&](BuildOptions& o) {
             o.engine = base / "bad.exe";
             writeAll(o.engine, "not an exe");
         }, "no Windows executable"},
        {"engine missing", [&](BuildOptions& o) { o.engine = base / "absent.exe"; }, "cannot read"},
        {"library missing", [&](BuildOptions& o) { o.archiveLibrary = base / "absent.lib"; }, "cannot read"},
        {"script missing", [&](BuildOptions& o) { o.script = "absent.pls"; }, "cannot read"},
        {"name with a folder", [&](BuildOptions& o) { o.name = "a/b"; }, "unusable setup name"},
    };
    for (const auto& c : cases) {
        BuildOptions changed = options;
        c.change(changed);
        try {
            buildSetup(changed);
            ADD_FAILURE() << c.what << ": built";
        } catch (const BuildError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
        }
    }
}

TEST_F(SetupBuild, WarnsAboutMissingIdentityAndSupportFiles)
{
    writeAll(root / "src" / "lexpack.pls", "End\n");
    fs::remove_all(root / "src" / "support");
    const BuildResult result = buildSetup(options);
    EXPECT_EQ(result.warnings.size(), 3u);
    EXPECT_TRUE(archiveEntries(result.archive, root / "unpacked").empty());
}

TEST(SetupBuilderPrint, AnExecutableWithoutPackageIsAnError)
{
    EXPECT_THROW(printPackage(fakeEngine()), BuildError);
    EXPECT_THROW(printPackage(fakeEngine() + "Set Variable\r\n$\r\n"), BuildError);  // truncated package
}

}  // namespace
