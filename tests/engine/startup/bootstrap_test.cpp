// Maintenance detection over a fake machine: each situation the bootstrap
// tells apart, the cache root and its override, the instance data read into
// the run and written back at its end.

#include <gtest/gtest.h>

#include "common/letter_case.h"
#include "common/text.h"
#include "engine/startup/instance_data.h"
#include "instance_fixture.h"

namespace pellion::testing {
namespace {

const std::u16string commonCache = std::u16string(commonRoot) + revisionCode + u"\\";

// An instance data file of an installation: one selected tool, a remembered
// note with a line break, the folders of that installation.
std::string installedData(const std::u16string& targetDir = u"D:\\Lexicon\\")
{
    InstanceDataContent content;
    content.lists[componentNamesList] = {u"QUAV-PREDEF-COMPONENT", u"Tools", u"Extras"};
    content.lists[componentStatesList] = {u"TRUE", u"TRUE", u"FALSE"};
    content.lists[componentSizesList] = {u"Tools", u"500"};
    content.targetDir = targetDir;
    content.allUsers = u"FALSE";
    content.startMenu = u"Lexicon Menu";
    content.remembered = {{u"USERNOTE", u"line one\r\nline two"}};
    content.bitnessMode = u"x64";
    content.nativeEngine = u"TRUE";
    return formatInstanceData(content);
}

struct Outcome {
    const char* situation;
    bool nativeSameRevision;
    int32_t msiState;
    const char16_t* packageCode;  // nullptr: the query fails
    const char16_t* needsUpgrade;
    const char16_t* maintenance;
};

TEST(Bootstrap, DecidesBetweenFirstInstallationMaintenanceAndUpgrade)
{
    const Outcome outcomes[] = {
        {"not installed", false, -1, nullptr, u"FALSE", u"FALSE"},
        {"native, this revision", true, -1, nullptr, u"FALSE", u"TRUE"},
        {"Windows Installer, this package code", false, 5, u"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}", u"FALSE", u"TRUE"},
        {"Windows Installer, another package code", false, 5, otherRevision, u"TRUE", u"FALSE"},
        {"Windows Installer, advertised only", false, 1, otherRevision, u"FALSE", u"FALSE"},
    };
    for (const Outcome& o : outcomes) {
        InstanceRun run;
        if (o.nativeSameRevision) {
            run.cacheFolder(commonCache, installedData());
            run.nativeLogs(commonCache + productCode);
            run.machine.setIdentityFolder(localMachine, commonCache);
        }
        run.machine.productStates[productCode] = o.msiState;
        if (o.packageCode)
            run.machine.packageCodes[productCode] = o.packageCode;
        auto context = run.context();
        Bootstrap(context);
        EXPECT_EQ(run.variable(u"NEEDSUPGRADE"), o.needsUpgrade) << o.situation;
        EXPECT_EQ(run.variable(u"MAINTENANCE"), o.maintenance) << o.situation;
        const bool installed = std::u16string(o.maintenance) == u"TRUE" || std::u16string(o.needsUpgrade) == u"TRUE";
        EXPECT_EQ(run.variable(u"NEWINSTANCE"), installed ? u"TRUE" : u"FALSE") << o.situation;
        EXPECT_EQ(run.variable(u"PRODUCTCODE"), productCode) << o.situation;
        EXPECT_EQ(run.variable(u"REVISIONCODE"), revisionCode) << o.situation;
        EXPECT_EQ(run.variable(u"ENGINECACHE"), commonCache) << o.situation;
        EXPECT_EQ(run.variable(u"UNINSTALLLINK"), commonCache + u"setup.exe") << o.situation;
        EXPECT_EQ(run.environment().productCacheFolder, commonCache) << o.situation;
    }
}

TEST(Bootstrap, NothingReachableMeansAFirstInstallation)
{
    InstanceRun run;
    run.machine.installerMissing = true;
    run.remembered.push_back(u"STALE");
    auto context = run.context();
    Bootstrap(context);
    EXPECT_EQ(run.variable(u"NEEDSUPGRADE"), u"FALSE");
    EXPECT_EQ(run.variable(u"MAINTENANCE"), u"FALSE");
    EXPECT_EQ(run.variable(u"NATIVE_OLDLOG"), u"");
    EXPECT_EQ(run.variable(u"RECOMMENDEDUPGRADE"), u"FALSE");
    EXPECT_EQ(run.variable(u"NEWINSTANCE"), u"FALSE");
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"C:\\Program Files\\Pellion\\");
    EXPECT_EQ(run.variable(u"STARTMENU"), u"Pellion");
    EXPECT_EQ(run.variable(u"ALLUSERS"), u"TRUE");
    EXPECT_EQ(run.variable(u"DATADIR"), u"C:\\media\\data\\");
    EXPECT_EQ(run.components.names, std::vector<std::u16string>{u"QUAV-PREDEF-COMPONENT"});
    EXPECT_EQ(run.components.states, std::vector<std::u16string>{u"TRUE"});
}

TEST(Bootstrap, NativeMaintenanceBringsBackTheInstalledInstance)
{
    InstanceRun run;
    run.cacheFolder(commonCache, installedData());
    run.files.setFile(commonCache + u"setup.lnk", "C:\\Links\\Lexwiz.lnk\r\n");
    run.files.setFile(commonCache + u"setup.par", "\xEF\xBB\xBFINSTALLLEVEL\r\n3\r\n");
    run.nativeLogs(commonCache + productCode);
    run.machine.setIdentityFolder(localMachine, commonCache);
    run.components.sizes = {u"QUAV-PREDEF-COMPONENT", u"3980640"};
    auto context = run.context();
    Bootstrap(context);
    EXPECT_EQ(run.variable(u"MAINTENANCE"), u"TRUE");
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"D:\\Lexicon\\");
    EXPECT_EQ(run.variable(u"ALLUSERS"), u"FALSE");
    EXPECT_EQ(run.variable(u"STARTMENU"), u"Lexicon Menu");
    EXPECT_EQ(run.variable(u"USERNOTE"), u"line one$NEWLINE$line two");
    run.environment().variables.SetVariable(u"NEWLINE", u"\r\n", u"Initialization");
    EXPECT_EQ(run.environment().variables.ExpandText(u"$USERNOTE$"), u"line one\r\nline two");
    EXPECT_EQ(run.variable(u"NATIVE_ENGINE"), u"TRUE");
    EXPECT_EQ(run.environment().bitnessMode, u"x64");
    EXPECT_EQ(run.remembered, std::vector<std::u16string>{u"USERNOTE"});
    EXPECT_EQ(run.components.names, (std::vector<std::u16string>{u"QUAV-PREDEF-COMPONENT", u"Tools", u"Extras"}));
    EXPECT_EQ(run.components.installedSelectionSize, 3980640 + 500);
    EXPECT_EQ(run.state.previousPinList, std::vector<std::u16string>{u"C:\\Links\\Lexwiz.lnk"});
    EXPECT_EQ(run.state.installerProperties, (std::vector<std::u16string>{u"INSTALLLEVEL", u"3"}));
    // The same revision's own logs are no old installation.
    EXPECT_EQ(run.variable(u"NATIVE_OLDLOG"), u"");
    EXPECT_EQ(run.variable(u"RECOMMENDEDUPGRADE"), u"FALSE");
}

TEST(Bootstrap, InstanceFileBesideTheEngineNamesTheInstanceAndIsNoNewInstance)
{
    InstanceRun run;
    const std::u16string cache = std::u16string(commonRoot) + otherRevision + u"\\";
    run.files.setFile(u"C:\\media\\instance.dat",
                      "\xEF\xBB\xBF" + toUtf8(productCode) + "\r\n" + toUtf8(otherRevision) + "\r\nOther Title\r\n");
    run.cacheFolder(cache, installedData());
    run.nativeLogs(cache + productCode);
    run.machine.setIdentityFolder(localMachine, cache);
    auto context = run.context();
    Bootstrap(context);
    EXPECT_EQ(run.variable(u"REVISIONCODE"), otherRevision);
    EXPECT_EQ(run.environment().identity.title, u"Other Title");
    EXPECT_EQ(run.variable(u"MAINTENANCE"), u"TRUE");
    EXPECT_EQ(run.variable(u"NEWINSTANCE"), u"FALSE");
    EXPECT_EQ(run.variable(u"ENGINECACHE"), cache);
}

TEST(Bootstrap, AnotherRevisionsNativeLogsRecommendAnUpgrade)
{
    for (const bool loadOldData : {false, true}) {
        ScriptBuilder script;
        if (loadOldData)
            script.compilerVariable("LOADOLDDATA", "true");
        InstanceRun run(script);
        const std::u16string oldCache = u"E:\\Caches\\" + std::u16string(otherRevision) + u"\\";
        run.cacheFolder(oldCache, installedData(u"E:\\Old Lexicon\\"));
        run.files.setFile(oldCache + u"setup.lnk", "old pin\r\n");
        run.files.setFile(oldCache + u"second.dat", "");
        run.nativeLogs(oldCache + productCode);
        run.machine.setIdentityFolder(localMachine, oldCache);
        auto context = run.context();
        Bootstrap(context);
        EXPECT_EQ(run.variable(u"NATIVE_OLDLOG"), oldCache + productCode);
        EXPECT_EQ(run.variable(u"RECOMMENDEDUPGRADE"), u"TRUE");
        EXPECT_EQ(run.variable(u"MAINTENANCE"), u"FALSE");
        // The key names another revision, so it is no cache root.
        EXPECT_EQ(run.variable(u"ENGINECACHE"), commonCache);
        EXPECT_EQ(run.state.previousPinList, std::vector<std::u16string>{u"old pin"});
        EXPECT_EQ(run.variable(u"TARGETDIR"), loadOldData ? u"E:\\Old Lexicon\\" : u"C:\\Program Files\\Pellion\\");
        EXPECT_EQ(run.variable(u"USERNOTE"), loadOldData ? u"line one$NEWLINE$line two" : u"");
    }
}

TEST(Bootstrap, UpgradeReadsTheOldDataOnlyWhenThePackageAsks)
{
    for (const bool loadOldData : {false, true}) {
        ScriptBuilder script;
        if (loadOldData)
            script.compilerVariable("LOADOLDDATA", "TRUE");
        InstanceRun run(script);
        const std::u16string oldCache = std::u16string(commonRoot) + otherRevision + u"\\";
        run.cacheFolder(oldCache, installedData(u"E:\\Old Lexicon\\"));
        run.machine.setIdentityFolder(localMachine, oldCache);
        run.machine.productStates[productCode] = 5;
        run.machine.packageCodes[productCode] = otherRevision;
        run.components.sizes = {u"Tools", u"77"};
        auto context = run.context();
        Bootstrap(context);
        EXPECT_EQ(run.variable(u"NEEDSUPGRADE"), u"TRUE");
        EXPECT_EQ(run.variable(u"MAINTENANCE"), u"FALSE");
        EXPECT_EQ(run.variable(u"RECOMMENDEDUPGRADE"), u"FALSE");
        EXPECT_EQ(run.variable(u"TARGETDIR"), loadOldData ? u"E:\\Old Lexicon\\" : u"C:\\Program Files\\Pellion\\");
        // Old data never brings its sizes along.
        EXPECT_EQ(run.components.ComponentSize(u"Tools"), 77);
        EXPECT_EQ(std::count(run.components.sizes.begin(), run.components.sizes.end(), u"Tools"), 1);
        EXPECT_EQ(run.components.exists(u"Tools"), loadOldData);
    }
}

TEST(CacheRoot, IdentityKeyCountsOnlyWhenItNamesThisRevision)
{
    struct Case {
        const char* what;
        const char16_t* machineValue;  // nullptr: key missing
        const char16_t* userValue;
        bool machineFolderExists;
        const char16_t* root;
    };
    const std::u16string mine = u"F:\\Mine\\" + std::u16string(revisionCode) + u"\\";
    const std::u16string lower = u"F:\\Mine\\" + lowerCase(revisionCode) + u"\\";
    const std::u16string others = u"F:\\Mine\\" + std::u16string(otherRevision) + u"\\";
    const Case cases[] = {
        {"no key", nullptr, nullptr, false, userRoot},
        {"machine key of this revision", mine.c_str(), nullptr, true, u"F:\\Mine\\"},
        {"machine key, folder gone, no user key", mine.c_str(), nullptr, false, u"F:\\Mine\\"},
        {"machine key, folder gone, user key of another revision", mine.c_str(), others.c_str(), false, userRoot},
        {"machine key of another revision", others.c_str(), nullptr, true, userRoot},
        {"revision in other letter case", lower.c_str(), nullptr, true, userRoot},
        {"user key of this revision", nullptr, mine.c_str(), false, u"F:\\Mine\\"},
    };
    for (const Case& c : cases) {
        InstanceRun run;
        if (c.machineValue)
            run.machine.setIdentityFolder(localMachine, c.machineValue);
        if (c.userValue)
            run.machine.setIdentityFolder(currentUser, c.userValue);
        if (c.machineFolderExists)
            run.files.addFolder(c.machineValue);
        auto context = run.context();
        EXPECT_EQ(CacheRoot(context.site(), false), c.root) << c.what;
    }
}

TEST(CacheRoot, OverrideThenApplicationDataFallbacks)
{
    InstanceRun run;
    auto context = run.context();
    run.environment().variables.SetVariable(u"OVERRIDECACHE", u"G:\\Cache", u"Test");
    EXPECT_EQ(CacheRoot(context.site(), true), u"G:\\Cache\\");
    run.environment().variables.SetVariable(u"OVERRIDECACHE", u"", u"Test");
    EXPECT_EQ(CacheRoot(context.site(), true), commonRoot);
    run.machine.folders.erase(ShellFolder::localAppData);
    EXPECT_EQ(CacheRoot(context.site(), false), u"C:\\Users\\ada\\AppData\\Roaming\\");
    run.machine.folders.erase(ShellFolder::roamingAppData);
    EXPECT_EQ(CacheRoot(context.site(), false), u"C:\\Users\\ada\\Application Data\\");
}

TEST(CacheForAllUsers, PerUserDataFileSelectsThePerUserRoot)
{
    InstanceRun run;
    auto context = run.context();
    const std::u16string msiFile = u"C:\\Temp\\oxa1\\setup.msi";
    EXPECT_TRUE(CacheForAllUsers(context.site(), msiFile, revisionCode));
    run.files.setFile(std::u16string(userRoot) + revisionCode + u"\\setup.dat", "");
    EXPECT_FALSE(CacheForAllUsers(context.site(), msiFile, revisionCode));
    run.cacheFolder(u"C:\\Temp\\oxa1\\", "");
    EXPECT_TRUE(CacheForAllUsers(context.site(), msiFile, revisionCode));
}

TEST(FindCachedSetup, NeedsTheArchiveLibraryAndTheCompanionFiles)
{
    MemoryFileSystem files;
    EXPECT_FALSE(FindCachedSetup(files, u"C:\\Cache"));
    files.setFile(u"C:\\Cache\\a.dat", "");
    files.setFile(u"C:\\Cache\\b.dat", "");
    files.setFile(u"C:\\Cache\\b.exe", "");
    files.setFile(u"C:\\Cache\\b.res", "");
    files.setFile(u"C:\\Cache\\b.par", "");
    EXPECT_FALSE(FindCachedSetup(files, u"C:\\Cache"));
    files.setFile(u"C:\\Cache\\oxa.lib", "");
    EXPECT_EQ(FindCachedSetup(files, u"C:\\Cache"), u"C:\\Cache\\b.dat");
}

TEST(ReadInstanceData, MissingFileFallsBackToTheCachedSetupOfItsFolder)
{
    InstanceRun run;
    run.cacheFolder(u"C:\\Cache\\", installedData());
    auto context = run.context();
    ReadInstanceData(context, u"C:\\Cache\\other.dat", false, false);
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"D:\\Lexicon\\");
    InstanceRun merged;
    merged.cacheFolder(u"C:\\Cache\\", installedData());
    auto mergeContext = merged.context();
    ReadInstanceData(mergeContext, u"C:\\Cache\\other.dat", true, false);
    EXPECT_EQ(merged.variable(u"TARGETDIR"), u"");
}

TEST(ReadInstanceData, MergeTakesStatesOfDefinedComponentsAndReplacesTheSets)
{
    InstanceRun run;
    run.components.DefineComponent(u"tools", u"", false);
    run.components.DefineComponent(u"Extras", u"", true);
    run.components.DefineComponent(u"Docs", u"", true);
    run.components.hidden = {u"Docs"};
    run.components.sizes = {u"Docs", u"9"};
    InstanceDataContent content;
    content.lists[componentNamesList] = {u"Tools", u"Extras", u"Unknown", u"Tools"};
    content.lists[componentStatesList] = {u"FALSE", u"FALSE", u"TRUE", u"TRUE"};
    content.lists[deletedComponentsList] = {u"Extras"};
    content.lists[choiceComponentsList] = {u"Tools"};
    content.lists[componentSizesList] = {u"Tools", u"1000"};
    content.targetDir = u"X:\\";
    content.remembered = {{u"NOTE", u"kept"}};
    run.files.setFile(u"C:\\sel.dat", formatInstanceData(content));
    auto context = run.context();
    ReadInstanceData(context, u"C:\\sel.dat", true, false);
    EXPECT_EQ(run.components.names, (std::vector<std::u16string>{u"tools", u"Extras", u"Docs"}));
    // The later row of a name that occurs twice wins.
    EXPECT_EQ(run.components.states, (std::vector<std::u16string>{u"TRUE", u"FALSE", u"TRUE"}));
    EXPECT_EQ(run.components.deleted, std::vector<std::u16string>{u"Extras"});
    EXPECT_TRUE(run.components.hidden.empty());
    EXPECT_EQ(run.components.fixed, std::vector<std::u16string>{u"Tools"});
    EXPECT_EQ(run.components.sizes, (std::vector<std::u16string>{u"Docs", u"9"}));
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"X:\\");
    EXPECT_EQ(run.variable(u"NOTE"), u"kept");
    EXPECT_EQ(run.remembered, std::vector<std::u16string>{u"NOTE"});
}

TEST(ReadInstanceData, FileCutShortLeavesTheRestAsItWas)
{
    InstanceRun run;
    run.components.DefineComponent(u"Keep", u"", true);
    run.environment().variables.SetVariable(u"TARGETDIR", u"C:\\Before\\", u"Test");
    run.environment().variables.SetVariable(u"ALLUSERS", u"TRUE", u"Test");
    // Names, states and the deleted list are whole; the hidden list never ends.
    run.files.setFile(u"C:\\cut.dat", "New\r\nOther\r\n$\r\nFALSE\r\n$\r\nOther\r\n$\r\nNew\r\n");
    auto context = run.context();
    ReadInstanceData(context, u"C:\\cut.dat", false, false);
    EXPECT_EQ(run.components.names, (std::vector<std::u16string>{u"Keep", u"New", u"Other"}));
    // A state list shorter than its names list does not shift the states.
    EXPECT_EQ(run.components.states, (std::vector<std::u16string>{u"TRUE", u"FALSE", u"FALSE"}));
    EXPECT_EQ(run.components.deleted, std::vector<std::u16string>{u"Other"});
    EXPECT_TRUE(run.components.hidden.empty());
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"C:\\Before\\");
    EXPECT_EQ(run.variable(u"ALLUSERS"), u"TRUE");
}

TEST(WriteInstanceData, FullWriteThenReadGivesTheSameRun)
{
    InstanceRun run;
    run.components.DefineComponent(u"Tools", u"", true);
    run.components.setSize(u"Tools", 42);
    run.components.setVisible(u"Tools", false);
    run.remembered = {u"NOTE"};
    EngineVariables& variables = run.environment().variables;
    variables.SetVariable(u"NOTE", u"a\r\nb", u"Test");
    variables.SetVariable(u"TARGETDIR", u"C:\\T\\", u"Test");
    run.environment().bitnessMode = u"x64";
    auto context = run.context();
    WriteInstanceData(context, u"C:\\out.dat", true, true);
    const InstanceDataFile file = parseInstanceData(*run.files.file(u"C:\\out.dat"));
    EXPECT_EQ(*file.lists[componentNamesList], std::vector<std::u16string>{u"Tools"});
    EXPECT_EQ(*file.lists[hiddenComponentsList], std::vector<std::u16string>{u"Tools"});
    EXPECT_EQ(*file.lists[componentSizesList], (std::vector<std::u16string>{u"Tools", u"42"}));
    EXPECT_EQ(file.targetDir, u"C:\\T\\");
    EXPECT_EQ(file.pairs.front(), NamedValue(u"NOTE", u"a$NEWLINE$b"));

    InstanceRun again;
    again.files.setFile(u"C:\\out.dat", *run.files.file(u"C:\\out.dat"));
    auto againContext = again.context();
    ReadInstanceData(againContext, u"C:\\out.dat", false, false);
    again.environment().variables.SetVariable(u"NEWLINE", u"\r\n", u"Initialization");
    EXPECT_EQ(again.environment().variables.ExpandText(u"$NOTE$"), u"a\r\nb");
    EXPECT_EQ(again.environment().bitnessMode, u"x64");
    EXPECT_EQ(again.remembered, std::vector<std::u16string>{u"NOTE"});
}

TEST(WriteInstanceData, UpdateOfAMissingOrShortFileWritesNothing)
{
    InstanceRun run;
    run.remembered = {u"NOTE"};
    auto context = run.context();
    WriteInstanceData(context, u"C:\\missing.dat", false, false);
    EXPECT_FALSE(run.files.file(u"C:\\missing.dat"));
    EXPECT_FALSE(run.files.file(u"C:\\missing.dat.dat"));
    const std::string shortFile = "A\r\n$\r\nTRUE\r\n$\r\n";
    run.files.setFile(u"C:\\short.dat", shortFile);
    WriteInstanceData(context, u"C:\\short.dat", false, false);
    EXPECT_EQ(run.files.file(u"C:\\short.dat"), shortFile);
    EXPECT_FALSE(run.files.file(u"C:\\short.dat.dat"));
}

TEST(CacheInstanceData, WritesOnlyWithRememberedVariables)
{
    InstanceRun run;
    auto context = run.context();
    CacheInstanceData(context, true);
    EXPECT_FALSE(run.files.file(commonCache + u"setup.dat"));
    EXPECT_EQ(run.machine.hidden, std::vector<std::u16string>{commonCache});

    run.remembered = {u"NOTE"};
    run.environment().variables.SetVariable(u"NOTE", u"fresh", u"Test");
    run.files.setFile(commonCache + u"setup.dat", installedData());
    CacheInstanceData(context, true);
    const InstanceDataFile updated = parseInstanceData(*run.files.file(commonCache + u"setup.dat"));
    EXPECT_EQ(updated.targetDir, u"D:\\Lexicon\\");
    EXPECT_EQ(updated.pairs.front(), NamedValue(u"NOTE", u"fresh"));

    run.state.registeredThisRun = true;
    run.environment().variables.SetVariable(u"TARGETDIR", u"C:\\New\\", u"Test");
    CacheInstanceData(context, true);
    EXPECT_EQ(parseInstanceData(*run.files.file(commonCache + u"setup.dat")).targetDir, u"C:\\New\\");

    run.state.cacheDiscarded = true;
    run.files.remove(commonCache + u"setup.dat");
    CacheInstanceData(context, true);
    EXPECT_FALSE(run.files.file(commonCache + u"setup.dat"));
}

TEST(CacheInstanceData, AProductNeverInstalledGetsNoCacheFolder)
{
    // Remembered variables alone refresh an existing data file; they do not
    // leave an empty cache folder behind.
    InstanceRun run;
    auto context = run.context();
    run.remembered = {u"NOTE"};
    run.environment().variables.SetVariable(u"NOTE", u"kept", u"Test");
    CacheInstanceData(context, true);
    EXPECT_EQ(run.files.entryInfo(commonCache).kind, EntryKind::missing);
}

TEST(CacheInstanceData, MediaModeTwoRemovesMediaBlocksButTheOfflineFolder)
{
    for (const char* cacheSources : {"", "FALSE", "TRUE"}) {
        ScriptBuilder script;
        if (*cacheSources)
            script.compilerVariable("CACHESOURCES", cacheSources);
        InstanceRun run(script);
        run.run.package.mediaMode = 2;
        run.files.setFile(commonCache + u"OFFLINE\\a.7zip", "");
        run.files.setFile(commonCache + u"Block1\\b.7zip", "");
        run.files.setFile(commonCache + u"setup.dat", "");
        auto context = run.context();
        CacheInstanceData(context, true);
        const bool kept = std::string(cacheSources) == "FALSE";
        EXPECT_EQ(run.files.file(commonCache + u"Block1\\b.7zip").has_value(), kept) << cacheSources;
        EXPECT_TRUE(run.files.file(commonCache + u"OFFLINE\\a.7zip")) << cacheSources;
        EXPECT_TRUE(run.files.file(commonCache + u"setup.dat")) << cacheSources;
    }
}

TEST(ApplyCacheOverride, CreatableFolderRunsTheBootstrapThereAndTidiesUp)
{
    InstanceRun run;
    run.files.addFolder(u"H:\\");
    EngineVariables& variables = run.environment().variables;
    auto context = run.context();
    Bootstrap(context);
    variables.SetVariable(u"OVERRIDECACHE", u"H:\\New\\Cache", u"Test");
    ApplyCacheOverride(context);
    EXPECT_EQ(run.variable(u"OVERRIDECACHE"), u"H:\\New\\Cache\\");
    EXPECT_EQ(run.variable(u"ENGINECACHE"), u"H:\\New\\Cache\\" + std::u16string(revisionCode) + u"\\");
    EXPECT_EQ(run.state.lastCacheOverride, u"H:\\New\\Cache\\");
    EXPECT_EQ(run.files.entryInfo(u"H:\\New").kind, EntryKind::missing);
    // Unchanged since: nothing runs again.
    variables.SetVariable(u"ENGINECACHE", u"marker", u"Test");
    ApplyCacheOverride(context);
    EXPECT_EQ(run.variable(u"ENGINECACHE"), u"marker");
}

TEST(ApplyCacheOverride, FolderThatCannotBeCreatedEmptiesTheOverride)
{
    InstanceRun run;
    run.machine.uncreatable = {u"Q:"};
    EngineVariables& variables = run.environment().variables;
    auto context = run.context();
    Bootstrap(context);
    variables.SetVariable(u"OVERRIDECACHE", u"Q:\\Cache", u"Test");
    ApplyCacheOverride(context);
    EXPECT_EQ(run.variable(u"OVERRIDECACHE"), u"");
    EXPECT_EQ(run.variable(u"ENGINECACHE"), commonCache);
    EXPECT_EQ(run.state.lastCacheOverride, u"");
}

TEST(RefreshEngineCache, FollowsAllUsersAndReadsThePatchedProductsEntry)
{
    InstanceRun run;
    EngineVariables& variables = run.environment().variables;
    auto context = run.context();
    variables.SetVariable(u"ALLUSERS", u"FALSE", u"Test");
    RefreshEngineCache(context);
    EXPECT_EQ(run.variable(u"ENGINECACHE"), std::u16string(userRoot) + revisionCode + u"\\");

    run.run.package.mediaMode = 3;
    variables.SetVariable(u"TITLE", u"Lexicon", u"Test");
    run.machine.setValue(currentUser, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexicon",
                         u"UninstallString", u"\"C:\\Cache\\{OLD}\\setup.exe\" REMOVE=TRUE MODIFY=FALSE");
    RefreshEngineCache(context);
    EXPECT_EQ(run.variable(u"UNINSTALLLINK"), u"C:\\Cache\\{OLD}\\setup.exe");
    EXPECT_EQ(run.variable(u"ENGINECACHE"), u"C:\\Cache\\{OLD}\\");
}

TEST(ReadPatchIdentity, ReadsTheInstalledRevisionsCacheAndKeepsTheRevisionCode)
{
    InstanceRun run;
    run.run.package.mediaMode = 3;
    run.environment().variables.SetVariable(u"TITLE", u"Lexicon", u"Test");
    const std::u16string installed = std::u16string(commonRoot) + otherRevision + u"\\";
    run.machine.setValue(localMachine, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexicon",
                         u"UninstallString", u"\"" + installed + u"setup.exe\" REMOVE=TRUE MODIFY=FALSE");
    run.cacheFolder(installed, installedData());
    run.components.sizes = {u"Tools", u"500"};
    auto context = run.context();
    ReadPatchIdentity(context);
    EXPECT_EQ(run.state.patchCacheName, otherRevision);
    EXPECT_EQ(run.environment().identity.revisionCode, revisionCode);
    EXPECT_EQ(run.variable(u"TARGETDIR"), u"D:\\Lexicon\\");
    EXPECT_EQ(run.components.installedSelectionSize, 500);
}

}  // namespace
}  // namespace pellion::testing
