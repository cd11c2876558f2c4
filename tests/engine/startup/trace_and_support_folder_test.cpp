#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/text.h"
#include "engine/startup/support_folder.h"
#include "engine/startup/trace.h"

using namespace pellion;
namespace fs = std::filesystem;

namespace {

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("pellion_startup_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                                            + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    std::u16string rootText() const { return toUtf16(root.string()) + u"/"; }

    std::string bytesOf(const fs::path& file) const
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root;
};

using TraceFile = TempFolder;

TEST_F(TraceFile, FirstLineEmptiesTheFileAndLinesAreUtf16WithCrLf)
{
    const auto file = root / "trace.log";
    std::ofstream(file) << "left over from an earlier run";
    Trace trace;
    trace.setFile(toUtf16(file.string()));
    trace.line(u"<Vantrel>");
    trace.line(u"  \u00E4");
    const std::string expected("<\0V\0a\0n\0t\0r\0e\0l\0>\0\r\0\n\0 \0 \0\xE4\0\r\0\n\0", 32);
    EXPECT_EQ(bytesOf(file), expected);
}

TEST_F(TraceFile, ARedirectedTraceAppendsAndNoFileMeansNoTrace)
{
    Trace trace;
    trace.line(u"nowhere");
    const auto first = root / "first.log";
    const auto second = root / "second.log";
    std::ofstream(second) << "ab";
    trace.setFile(toUtf16(first.string()));
    trace.line(u"x");
    trace.setFile(toUtf16(second.string()));
    trace.line(u"y");
    EXPECT_EQ(bytesOf(first), std::string("x\0\r\0\n\0", 6));
    EXPECT_EQ(bytesOf(second), std::string("aby\0\r\0\n\0", 8));
}

using SupportFolder = TempFolder;

TEST_F(SupportFolder, TakesTheFirstNumberWithoutFolderOrFile)
{
    fs::create_directory(root / "oxa1");
    std::ofstream(root / "oxa2") << "a leftover file counts too";
    const auto folder = createSupportFolder(rootText());
    EXPECT_EQ(folder, rootText() + u"oxa3/");
    EXPECT_TRUE(fs::is_directory(root / "oxa3"));
    EXPECT_EQ(createSupportFolder(rootText()), rootText() + u"oxa4/");
}

TEST_F(SupportFolder, RemovalTakesEverythingInside)
{
    const auto folder = createSupportFolder(rootText());
    fs::create_directories(root / "oxa1" / "deep" / "deeper");
    std::ofstream(root / "oxa1" / "deep" / "file.txt") << "x";
    EXPECT_TRUE(removeSupportFolder(folder));
    EXPECT_FALSE(fs::exists(root / "oxa1"));
    EXPECT_FALSE(removeSupportFolder(u""));
}

}  // namespace
