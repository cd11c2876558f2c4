#include "engine/startup/setup_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "common/text.h"

using namespace pellion;
namespace fs = std::filesystem;

namespace {

// Records what the phases ask of the machine; each step can be made to fail.
struct FakeHost : StartupHost {
    bool appendix = true;
    bool archiveExists = true;
    std::u16string extractError;
    bool packageThrows = false;
    bool dialogsThrowStd = false;
    std::vector<std::string> calls;
    std::vector<std::u16string> errors;
    bool splashOpen = false;
    std::vector<bool> errorsWhileSplashOpen;

    std::u16string createSupportFolder(const std::u16string& tempDir) override
    {
        calls.push_back("createSupportFolder");
        return tempDir + u"oxa1\\";
    }
    void removeSupportFolder(const std::u16string&) override { calls.push_back("removeSupportFolder"); }
    void showSplash() override
    {
        calls.push_back("showSplash");
        splashOpen = true;
    }
    void closeSplash() override
    {
        calls.push_back("closeSplash");
        splashOpen = false;
    }
    void showError(const std::u16string& text) override
    {
        errors.push_back(text);
        errorsWhileSplashOpen.push_back(splashOpen);
    }
    bool hasAppendix() override { return appendix; }
    void copyAppendix(const std::u16string& file) override { calls.push_back("copyAppendix " + toUtf8(file)); }
    void loadPackage(const std::u16string&) override
    {
        calls.push_back("loadPackage");
        if (packageThrows)
            throw StartupError(u"'x' is not a valid integer value");
    }
    bool fileExists(const std::u16string&) override { return archiveExists; }
    std::u16string extractArchive(const std::u16string&, const std::u16string&) override
    {
        calls.push_back("extractArchive");
        return extractError;
    }
    void copyResourceFiles() override { calls.push_back("copyResourceFiles"); }
    void loadDialogs() override
    {
        calls.push_back("loadDialogs");
        if (dialogsThrowStd)
            throw std::runtime_error("dialog stream read error");
    }
    void runScript() override { calls.push_back("runScript"); }
    void freeTables() override { calls.push_back("freeTables"); }
};

struct RunResult {
    int exitCode;
    std::vector<std::u16string> traceLines;
};

class SetupPhases : public ::testing::Test {
protected:
    void SetUp() override
    {
        traceFile = fs::temp_directory_path()
                  / ("pellion_phases_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
        settings.tempDir = u"C:\\Temp\\";
        settings.exeDir = u"C:\\Setup\\";
        settings.archiveFile = u"C:\\Setup\\setup.res";
    }
    void TearDown() override { fs::remove(traceFile); }

    RunResult run()
    {
        Trace trace;
        trace.setFile(toUtf16(traceFile.string()));
        const EngineMessages messages;
        const int code = runSetupPhases(settings, trace, messages, host);
        return {code, traceLines()};
    }

    std::vector<std::u16string> traceLines() const
    {
        std::ifstream in(traceFile, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        std::vector<std::u16string> lines;
        size_t start = 0;
        for (size_t at; (at = text.find(u"\r\n", start)) != std::u16string::npos; start = at + 2)
            lines.push_back(text.substr(start, at - start));
        return lines;
    }

    fs::path traceFile;
    EngineSettings settings;
    FakeHost host;
};

const std::vector<std::u16string> fullTrace = {
    u"<Vantrel>",          u"    <SupportDir>",     u"    </SupportDir>",   u"  <SetupSplash>",
    u"    <StubSize>",     u"    </StubSize>",      u"    <StubData>",      u"    </StubData>",
    u"    <GlobalLists>",  u"    </GlobalLists>",   u"    <ExtractArchive>", u"    </ExtractArchive>",
    u"    <ResourcePath>", u"    </ResourcePath>",  u"    <Dialogs>",       u"    </Dialogs>",
    u"  </SetupSplash>",   u"  <RunScript>",        u"  </RunScript>",      u"  <Free>",
    u"  </Free>",          u"  <CachedSupportDir>", u"  </CachedSupportDir>", u"</Vantrel>",
};

// The trace of a run that stops inside the phase opened by lastLine.
std::vector<std::u16string> traceUpTo(const std::u16string& lastLine)
{
    std::vector<std::u16string> lines;
    for (const auto& line : fullTrace) {
        lines.push_back(line);
        if (line == lastLine)
            break;
    }
    lines.insert(lines.end(), {u"  <CachedSupportDir>", u"  </CachedSupportDir>", u"</Vantrel>"});
    return lines;
}

TEST_F(SetupPhases, ANormalSilentRunTracesEveryPhaseAndRemovesTheSupportFolder)
{
    settings.silent = true;
    const auto result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.traceLines, fullTrace);
    EXPECT_EQ(settings.supportDir, u"C:\\Temp\\oxa1\\");
    EXPECT_EQ(settings.mediaDir, u"C:\\Setup\\data\\");
    const std::vector<std::string> expected = {
        "createSupportFolder", "copyAppendix C:\\Temp\\oxa1\\oxa.tmp", "loadPackage", "extractArchive",
        "copyResourceFiles",   "loadDialogs", "runScript", "freeTables", "removeSupportFolder"};
    EXPECT_EQ(host.calls, expected);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(SetupPhases, FailuresEndWithTheirCodeMessageAndAShortenedTrace)
{
    struct Case {
        const char* name;
        void (*arrange)(FakeHost&);
        int exitCode;
        std::u16string lastTraceLine;
        std::u16string message;
        bool ownedByPreparingWindow;
    };
    const Case cases[] = {
        {"nothing appended", [](FakeHost& h) { h.appendix = false; }, 13, u"    <StubSize>", u"For internal use only", true},
        {"archive missing", [](FakeHost& h) { h.archiveExists = false; }, 14, u"    <ExtractArchive>",
         u"Setup resource not found", true},
        {"archive broken", [](FakeHost& h) { h.extractError = u"#2"; }, 15, u"    <ExtractArchive>",
         u"Setup resource decompression failure", true},
        {"bad package", [](FakeHost& h) { h.packageThrows = true; }, 11, u"    <GlobalLists>",
         u"Runtime error in install: 'x' is not a valid integer value", false},
        {"any other error", [](FakeHost& h) { h.dialogsThrowStd = true; }, 11, u"    <Dialogs>",
         u"Runtime error in install: dialog stream read error", false},
    };
    for (const auto& c : cases) {
        host = FakeHost{};
        settings.silent = false;
        settings.exitCode = 0;
        c.arrange(host);
        const auto result = run();
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(result.traceLines, traceUpTo(c.lastTraceLine)) << c.name;
        EXPECT_EQ(host.errors, std::vector<std::u16string>{c.message}) << c.name;
        EXPECT_EQ(host.errorsWhileSplashOpen, std::vector<bool>{c.ownedByPreparingWindow}) << c.name;
        EXPECT_EQ(host.calls.back(), "removeSupportFolder") << c.name;
        EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "closeSplash"), 1) << c.name << ": splash closed once";
    }
}

TEST_F(SetupPhases, SilentRunsShowNothingEvenWhenFailing)
{
    settings.silent = true;
    host.appendix = false;
    EXPECT_EQ(run().exitCode, 13);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "showSplash"), 0);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "copyAppendix C:\\Temp\\oxa1\\oxa.tmp"), 0)
        << "no oxa.tmp when nothing is appended";
}

TEST_F(SetupPhases, TheUpdateSwitchSkipsTheSplashButNotTheMessages)
{
    settings.noSplash = true;
    host.archiveExists = false;
    EXPECT_EQ(run().exitCode, 14);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "showSplash"), 0);
    EXPECT_EQ(host.errors.size(), 1u);
}

}  // namespace

#include "engine/startup/splash_layout.h"

namespace {

TEST(PreparingWindowPlacement, BesideTheSplashButAlwaysOnScreen)
{
    struct Case { const char* name; Box splash; Point expected; };
    // A 1024 x 768 screen and a 375 x 120 window.
    const Case cases[] = {
        {"centre of the screen", {312, 234, 400, 300}, {562, 559}},
        {"near the bottom-right corner", {700, 600, 300, 150}, {1024 - 375 - 25, 768 - 120 - 45}},
        {"top-left corner", {0, 0, 100, 50}, {100, 75}},
    };
    for (const auto& c : cases) {
        const Point p = preparingWindowBesideSplash(c.splash, 375, 120, 1024, 768);
        EXPECT_EQ(p.x, c.expected.x) << c.name;
        EXPECT_EQ(p.y, c.expected.y) << c.name;
        EXPECT_LE(p.x + 375, 1024) << c.name;
        EXPECT_LE(p.y + 120, 768) << c.name;
    }
    const Point centred = centredOnScreen(375, 120, 1024, 768);
    EXPECT_EQ(centred.x, 324);
    EXPECT_EQ(centred.y, 324);
}

}  // namespace
