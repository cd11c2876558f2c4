#include "engine/startup/package_appendix.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace pellion;

namespace {

struct Section { uint32_t rawOffset; uint32_t rawSize; };

void put(std::string& bytes, size_t offset, uint32_t value, int width)
{
    if (bytes.size() < offset + width)
        bytes.resize(offset + width, '\0');
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A minimal PE file: DOS header, "PE\0\0", file header, optional header of the
// 32- or 64-bit size, section table, raw data filled up to the image end.
std::string makeImage(bool wide, const std::vector<Section>& sections, size_t fileSize)
{
    std::string bytes(fileSize, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    const uint32_t peOffset = 0x80;
    put(bytes, 0x3C, peOffset, 4);
    put(bytes, peOffset, 0x00004550, 4);
    put(bytes, peOffset + 4, wide ? 0x8664 : 0x14C, 2);
    put(bytes, peOffset + 6, static_cast<uint32_t>(sections.size()), 2);
    const uint32_t optionalSize = wide ? 240 : 224;
    put(bytes, peOffset + 20, optionalSize, 2);
    put(bytes, peOffset + 24, wide ? 0x20B : 0x10B, 2);
    const size_t table = peOffset + 24 + optionalSize;
    for (size_t i = 0; i < sections.size(); ++i) {
        put(bytes, table + i * 40 + 16, sections[i].rawSize, 4);
        put(bytes, table + i * 40 + 20, sections[i].rawOffset, 4);
    }
    if (bytes.size() < fileSize)
        bytes.resize(fileSize, '\0');
    return bytes;
}

TEST(PackageAppendix, ImageEndsAtTheFurthestSectionInBothImageKinds)
{
    for (bool wide : {false, true}) {
        // Sections out of order: the furthest end wins, not the last header.
        const std::string image = makeImage(wide, {{0x400, 0x200}, {0xA00, 0x100}, {0x600, 0x400}}, 0xB00);
        EXPECT_EQ(peImageEnd(image), 0xB00u) << wide;
        EXPECT_EQ(appendixOf(image), std::string_view{}) << wide;
        const std::string withPackage = image + "Set Variable\r\n$\r\n";
        EXPECT_EQ(appendixOf(withPackage), std::string_view("Set Variable\r\n$\r\n")) << wide;
    }
}

TEST(PackageAppendix, TheHeadersAloneAreEnough)
{
    const std::string image = makeImage(false, {{0x400, 0x2000}}, 0x2400);
    EXPECT_EQ(peImageEnd(std::string_view(image).substr(0, 0x400)), 0x2400u);
}

TEST(PackageAppendix, AFileShorterThanItsImageHasNothingAppended)
{
    const std::string image = makeImage(false, {{0x400, 0x2000}}, 0x2400);
    EXPECT_EQ(appendixOf(std::string_view(image).substr(0, 0x1000)), std::string_view{});
}

TEST(PackageAppendix, MalformedHeadersAreNoImage)
{
    const std::string good = makeImage(true, {{0x400, 0x200}}, 0x600);
    struct Case { const char* what; std::string bytes; };
    std::vector<Case> cases;
    cases.push_back({"empty", ""});
    cases.push_back({"no MZ", "ZM" + good.substr(2)});
    std::string farPe = good;
    put(farPe, 0x3C, 0xFFFFFFF0, 4);
    cases.push_back({"PE offset beyond the file", farPe});
    std::string noSignature = good;
    noSignature[0x80] = 'X';
    cases.push_back({"no PE signature", noSignature});
    std::string badMagic = good;
    put(badMagic, 0x80 + 24, 0x107, 2);
    cases.push_back({"unknown optional header", badMagic});
    std::string manySections = good;
    put(manySections, 0x80 + 6, 0xFFFF, 2);
    cases.push_back({"section table beyond the file", manySections});
    std::string hugeOptional = good;
    put(hugeOptional, 0x80 + 20, 0xFFFF, 2);
    cases.push_back({"optional header beyond the file", hugeOptional});
    cases.push_back({"cut inside the file header", good.substr(0, 0x80 + 10)});
    for (const auto& c : cases) {
        EXPECT_EQ(peImageEnd(c.bytes), std::nullopt) << c.what;
        EXPECT_EQ(appendixOf(c.bytes), std::nullopt) << c.what;
    }
}

TEST(PackageAppendix, SectionsEndingBeyond4GiBDoNotWrap)
{
    const std::string image = makeImage(false, {{0xFFFFFF00, 0x200}}, 0x400);
    EXPECT_EQ(peImageEnd(image), 0x100000100ull);
    EXPECT_EQ(appendixOf(image), std::string_view{});
}

#ifndef _WIN32
// The stripped programs of the cross builds (make build puts win32/ and wine/
// beside host/): an i686 PE32 and an x86-64 PE32+ image, nothing appended.
TEST(PackageAppendix, RealEngineBuildsHaveNothingAppended)
{
    // This program runs from <build root>/host/bin; the shared build/ folder of
    // the source tree is looked at too.
    const auto buildRoot = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path();
    const auto sourceBuild = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "build";
    int checked = 0;
    for (const auto& root : {buildRoot, sourceBuild}) {
        for (const auto& [build, magic] : {std::pair{"win32", 0x10B}, {"wine", 0x20B}}) {
            const std::filesystem::path file = root / build / "bin" / "Pellion.exe";
            if (!std::filesystem::exists(file))
                continue;
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            ASSERT_GT(bytes.size(), 0x200u) << file;
            const uint32_t peOffset = static_cast<unsigned char>(bytes[0x3C]) | static_cast<unsigned char>(bytes[0x3D]) << 8;
            const int foundMagic = static_cast<unsigned char>(bytes[peOffset + 24]) | static_cast<unsigned char>(bytes[peOffset + 25]) << 8;
            EXPECT_EQ(foundMagic, magic) << file;
            EXPECT_EQ(peImageEnd(bytes), bytes.size()) << file;
            EXPECT_EQ(appendixOf(bytes + "$\r\n"), std::string_view("$\r\n")) << file;
            ++checked;
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "no cross-built Pellion.exe in " << buildRoot << " or " << sourceBuild;
}
#endif

}  // namespace
