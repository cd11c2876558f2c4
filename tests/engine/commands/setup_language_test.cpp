// The setup language: which languages a support folder offers, what is
// preselected, when the window is shown, what maintenance runs take, and how
// a chosen language reaches LANGUAGE, the translated parameters and the
// engine's own messages.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "command_fixture.h"
#include "common/text.h"
#include "engine/startup/setup_language.h"

using namespace pellion;
using namespace pellion::testing;

namespace {

// Answers the window as a test tells it and records what it was shown.
struct ScriptedLanguageUi : SetupLanguageUi {
    std::u16string userLanguage;
    bool cancel = false;
    std::optional<size_t> pick;  // nothing: confirm the preselection
    int shown = 0;
    std::u16string caption;
    std::u16string text;
    std::vector<std::u16string> names;
    std::optional<size_t> preselected;

    std::u16string preferredLanguage() override { return userLanguage; }
    std::optional<Answer> choose(std::u16string_view shownCaption, std::u16string_view shownText,
                                 const std::vector<std::u16string>& shownNames,
                                 std::optional<size_t> shownPreselection) override
    {
        ++shown;
        caption = shownCaption;
        text = shownText;
        names = shownNames;
        preselected = shownPreselection;
        if (cancel)
            return std::nullopt;
        return Answer{pick ? pick : shownPreselection};
    }
};

void touch(const std::string& path, const std::string& content = "")
{
    std::ofstream(path, std::ios::binary) << content;
}

std::string joinedNames(const std::vector<std::u16string>& names)
{
    std::string out;
    for (const auto& name : names)
        out += (out.empty() ? "" : " ") + toUtf8(name);
    return out;
}

LanguageSelectionInputs inputsFor(const CommandRun& run)
{
    LanguageSelectionInputs inputs;
    inputs.supportDir = toUtf16(run.folder);
    inputs.title = u"Pellion";
    inputs.selectionFlag = true;
    inputs.defaultLanguage = u"English";
    inputs.msiFile = toUtf16(run.folder) + u"setup.msi";
    return inputs;
}

// A support folder with the translation project and three languages.
void writeProject(const CommandRun& run)
{
    for (const char* name : {"Pellion.mtx", "translations.Original", "translations.Map", "translations.German",
                             "translations.French", "translations.English"})
        touch(run.folder + name);
}

TEST(OfferedLanguages, OnlyTranslatedListsBesideTheProjectInAnyLetterCase)
{
    CommandRun run(ScriptBuilder{});
    for (const char* name : {"pellion.MTX", "translations.German", "TRANSLATIONS.Dutch", "translations.french",
                             "translations.map", "TRANSLATIONS.MAP", "translations.original", "Translations.Original",
                             "translations.shared", "translations.MySharedTexts", "shared.translations.German",
                             "backup of translations.German", "translations.", "readme.txt"})
        touch(run.folder + name);
    std::filesystem::create_directory(run.folder + "translations.Folder");
    EXPECT_EQ(joinedNames(offeredLanguages(run.files, toUtf16(run.folder), u"Pellion")), "Dutch french German");
}

TEST(OfferedLanguages, NoneWithoutTheTranslationProject)
{
    CommandRun run(ScriptBuilder{});
    touch(run.folder + "translations.German");
    touch(run.folder + "Other Setup.mtx");
    EXPECT_TRUE(offeredLanguages(run.files, toUtf16(run.folder), u"Pellion").empty());
}

struct PlanCase {
    const char* what;
    bool flag;
    const char16_t* userLanguage;
    const char16_t* defaultLanguage;
    bool maintenance;
    bool patch;
    const char* lanFile;  // nullptr: none in the cache folder
    bool cacheFolder;
    bool window;
    const char16_t* preselected;  // nullptr: nothing preselected
    const char16_t* language;
};

TEST(LanguagePlan, WindowPreselectionAndMaintenanceLanguage)
{
    const PlanCase cases[] = {
        {"user language offered", true, u"French", u"English", false, false, nullptr, true, true, u"French", u"French"},
        {"user language in another case", true, u"FRENCH", u"English", false, false, nullptr, true, true, u"French",
         u"French"},
        {"user language absent: default", true, u"Japanese", u"German", false, false, nullptr, true, true, u"German",
         u"German"},
        {"unknown user language: default", true, u"", u"German", false, false, nullptr, true, true, u"German",
         u"German"},
        {"neither offered", true, u"Japanese", u"Korean", false, false, nullptr, true, true, nullptr, u"Korean"},
        {"flag clear", false, u"French", u"English", false, false, nullptr, true, false, nullptr, u"English"},
        {"maintenance with .lan", true, u"French", u"English", true, false, "German\r\nignored\r\n", true, false,
         nullptr, u"German"},
        {"maintenance .lan with BOM", true, u"French", u"English", true, false, "\xEF\xBB\xBFGerman\r\n", true, false,
         nullptr, u"German"},
        {"maintenance without .lan", true, u"French", u"English", true, false, nullptr, true, false, nullptr,
         u"English"},
        {"maintenance, empty .lan", true, u"French", u"English", true, false, "", true, false, nullptr, u""},
        {"maintenance without cache folder", true, u"French", u"English", true, false, "German\r\n", false, false,
         nullptr, u"English"},
        {"patch file present", true, u"French", u"English", false, true, "German\r\n", true, false, nullptr,
         u"German"},
    };
    for (const auto& c : cases) {
        CommandRun run(ScriptBuilder{});
        writeProject(run);
        const std::string cache = run.folder + "cache/";
        std::filesystem::create_directory(cache);
        if (c.patch)
            touch(run.folder + "setup.msp");
        if (c.lanFile)
            touch(cache + "setup.lan", c.lanFile);
        auto inputs = inputsFor(run);
        inputs.selectionFlag = c.flag;
        inputs.userLanguage = c.userLanguage;
        inputs.defaultLanguage = c.defaultLanguage;
        inputs.maintenance = c.maintenance;
        inputs.productCacheFolder = c.cacheFolder ? toUtf16(cache) : u"";
        const LanguagePlan plan = planSetupLanguage(run.files, inputs);
        EXPECT_EQ(!plan.offered.empty(), c.window) << c.what;
        if (c.preselected)
            EXPECT_TRUE(plan.preselected && plan.offered[*plan.preselected] == c.preselected) << c.what;
        else
            EXPECT_FALSE(plan.preselected) << c.what;
        EXPECT_EQ(plan.language, c.language) << c.what;
    }
}

TEST(LanguagePlan, CacheFolderWithoutTrailingBackslashStillFindsTheLanFile)
{
    EXPECT_EQ(languageFileOf(u"C:\\Temp\\oxa1\\setup.msi", u"C:\\Cache\\{ABC}"), u"C:\\Cache\\{ABC}\\setup.lan");
    EXPECT_EQ(languageFileOf(u"C:\\Temp\\oxa1\\my.setup.msi", u"C:\\Cache\\"), u"C:\\Cache\\my.setup.lan");
    EXPECT_EQ(patchFileOf(u"C:\\Temp\\oxa1\\setup.msi"), u"C:\\Temp\\oxa1\\setup.msp");
}

// Whole runs with the command families: the selection in the preamble, the
// window seam, LANGUAGE and what follows from it.
class LanguageRun : public ::testing::Test {
protected:
    void prepare(const ScriptBuilder& script, bool flag = true)
    {
        run = std::make_unique<CommandRun>(script);
        run->services.languageUi = &ui;
        run->script.package.languageSelection = flag;
        run->script.package.defaultLanguage = u"English";
        run->script.environment->msiFile = toUtf16(run->folder) + u"setup.msi";
        const std::string setId = toUtf8(run->script.package.statementId(0));
        run->writeSupportFile("Pellion.mtx", {setId});
        run->writeSupportFile("translations.Original", {"Hello"});
        run->writeSupportFile("translations.German", {"Hallo"});
        run->writeSupportFile("translations.French", {"Bonjour"});
        run->writeSupportFile("translations.English", {"Hello"});
    }

    static ScriptBuilder greeting()
    {
        ScriptBuilder script;
        script.add("Set Variable", {"GREETING", "Hello"}).add("Record", {"$LANGUAGE$ $GREETING$"});
        return script;
    }

    ScriptedLanguageUi ui;
    std::unique_ptr<CommandRun> run;
};

TEST_F(LanguageRun, ChosenLanguageTranslatesTheScript)
{
    prepare(greeting());
    ui.userLanguage = u"French";
    ui.pick = 2;  // English French German: German
    run->run();
    EXPECT_EQ(ui.shown, 1);
    EXPECT_EQ(ui.caption, u"Select Setup Language");
    EXPECT_EQ(ui.text, u"Please select the language to use during the installation:");
    EXPECT_EQ(joinedNames(ui.names), "English French German");
    ASSERT_TRUE(ui.preselected);
    EXPECT_EQ(*ui.preselected, 1u);
    EXPECT_EQ(joined(run->script.recorded), "German Hallo");
}

TEST_F(LanguageRun, WindowTextsAreTheLocalizedEngineMessages)
{
    prepare(greeting());
    std::string block;
    for (int n = 1; n <= EngineMessages::count; ++n)
        block += n == 89 ? "Setup-Sprache w\xC3\xA4hlen\r\n" : n == 90 ? "Sprache der Installation:\r\n" : "x\r\n";
    run->script.messages.load(block, u"");
    run->run();
    EXPECT_EQ(ui.caption, u"Setup-Sprache w\u00E4hlen");
    EXPECT_EQ(ui.text, u"Sprache der Installation:");
}

TEST_F(LanguageRun, ConfirmedPreselectionFollowsTheUsersLanguage)
{
    prepare(greeting());
    ui.userLanguage = u"French";
    run->run();
    EXPECT_EQ(joined(run->script.recorded), "French Bonjour");
}

TEST_F(LanguageRun, CancelRunsNoStatementButTheExitSteps)
{
    prepare(greeting());
    ui.cancel = true;
    run->run();
    EXPECT_EQ(ui.shown, 1);
    EXPECT_TRUE(run->script.recorded.empty());
    EXPECT_EQ(run->variable(u"GREETING"), u"");
    EXPECT_EQ(run->script.traceLines().back(), "    </ExitScript>");
}

TEST_F(LanguageRun, SilentRunTakesThePreselectionWithoutTheWindow)
{
    prepare(greeting());
    ui.userLanguage = u"German";
    run->script.settings.silent = true;
    run->run();
    EXPECT_EQ(ui.shown, 0);
    EXPECT_EQ(joined(run->script.recorded), "German Hallo");
}

TEST_F(LanguageRun, FlagOffShowsNoWindowAndKeepsTheDefaultLanguage)
{
    prepare(greeting(), false);
    ui.userLanguage = u"German";
    run->run();
    EXPECT_EQ(ui.shown, 0);
    EXPECT_EQ(joined(run->script.recorded), "English Hello");
}

// Maintenance runs: the bootstrap finds the product, the cache folder holds
// the language the product was installed in.
class MaintenanceExtensions : public CommandExtensions {
public:
    using CommandExtensions::CommandExtensions;
    std::u16string cacheFolder;
    void bootstrap(ScriptEnvironment& environment) override
    {
        CommandExtensions::bootstrap(environment);
        environment.variables.SetVariable(u"MAINTENANCE", u"TRUE", u"Bootstrap");
        environment.productCacheFolder = cacheFolder;
    }
};

TEST_F(LanguageRun, MaintenanceTakesTheRememberedLanguageWithoutTheWindow)
{
    for (const bool lanFile : {true, false}) {
        prepare(greeting());
        const std::string cache = run->folder + "cache/";
        std::filesystem::create_directory(cache);
        if (lanFile)
            touch(cache + "setup.lan", "German\r\n");
        MaintenanceExtensions extensions(run->services);
        extensions.cacheFolder = toUtf16(cache);
        auto& script = run->script;
        script.environment = std::make_unique<ScriptEnvironment>(script.settings, script.trace, script.messages,
                                                                 script.package, script.store, script.facts,
                                                                 script.host, extensions);
        script.environment->msiFile = toUtf16(run->folder) + u"setup.msi";
        ui.userLanguage = u"French";
        ui.shown = 0;
        run->run();
        EXPECT_EQ(ui.shown, 0);
        EXPECT_EQ(joined(script.recorded), lanFile ? "German Hallo" : "English Hello");
    }
}

// The engine messages of the chosen language replace the English ones.
std::vector<std::string> messageBlock(const char* runtimeError)
{
    std::vector<std::string> lines;
    for (int n = 1; n <= EngineMessages::count; ++n)
        lines.push_back("Meldung " + std::to_string(n));
    lines[19] = runtimeError;
    return lines;
}

TEST(LanguageMessages, ChangingLanguageLoadsTheSharedMessages)
{
    ScriptBuilder script;
    script.add("Set Variable", {"LANGUAGE", "German"})
        .add("Parse String", {"a=b", "=", "A", "B", "first", "FALSE", "FALSE"});
    CommandRun run(script);
    run.writeSupportFile("shared.translations.German", messageBlock("Laufzeitfehler im Setup-Skript:"));
    run.run();
    ASSERT_EQ(run.script.host.errors.size(), 1u);
    EXPECT_EQ(run.script.host.errors[0].rfind(u"Laufzeitfehler im Setup-Skript:\r\n\r\nSource File: ", 0), 0u)
        << toUtf8(run.script.host.errors[0]);
    EXPECT_EQ(run.script.messages.text(Message::SelectLanguageCaption), u"Meldung 89");
}

TEST(LanguageMessages, WithoutASharedFileTheMessagesStay)
{
    ScriptBuilder script;
    script.add("Set Variable", {"LANGUAGE", "German"})
        .add("Parse String", {"a=b", "=", "A", "B", "first", "FALSE", "FALSE"});
    CommandRun run(script);
    run.writeSupportFile("shared.translations.French", messageBlock("Erreur"));
    run.run();
    ASSERT_EQ(run.script.host.errors.size(), 1u);
    EXPECT_EQ(run.script.host.errors[0].rfind(u"Runtime error in setup script:", 0), 0u);
}

TEST_F(LanguageRun, SelectedLanguageBringsItsMessagesBeforeTheFirstStatement)
{
    prepare(ScriptBuilder{}.add("Parse String", {"a=b", "=", "A", "B", "first", "FALSE", "FALSE"}));
    run->writeSupportFile("shared.translations.German", messageBlock("Laufzeitfehler:"));
    ui.userLanguage = u"German";
    run->run();
    ASSERT_EQ(run->script.host.errors.size(), 1u);
    EXPECT_EQ(run->script.host.errors[0].rfind(u"Laufzeitfehler:", 0), 0u);
}

}  // namespace
