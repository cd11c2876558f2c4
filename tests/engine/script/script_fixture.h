// A whole script run without Windows: fake system facts, a host that records
// what the loop asks of the machine, and a command table with the
// interpreter's own commands plus two stand-ins that make the executed path
// visible: "Record" (appends its expanded parameter 1 to `recorded`) and
// "Display Dialog" (a wizard page that records its parameter 1 and answers
// with the next of `pageAnswers`: 1 next, -1 back, 0 cancel).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/script/command_table.h"
#include "engine/script/interpreter.h"
#include "engine/script/script_environment.h"
#include "script_builder.h"

namespace pellion::testing {

struct FakeFacts : SystemFacts {
    bool administrator = true;
    std::u16string owner = u"Ada Owner";
    std::u16string organization = u"Brennic Ltd.";
    bool glassOn = false;
    std::u16string date = u"24.12.2030";
    std::u16string time = u"12:34:56";
    uint32_t tick = 1000;
    uint32_t tickStep = 0;  // added after every reading

    bool administratorDefault() override { return administrator; }
    bool windows95Family() override { return false; }
    std::u16string registeredOwner() override { return owner; }
    std::u16string registeredOrganization() override { return organization; }
    bool glass() override { return glassOn; }
    std::u16string dateText() override { return date; }
    std::u16string timeText() override { return time; }
    uint32_t tickCount() override
    {
        const uint32_t now = tick;
        tick += tickStep;
        return now;
    }
    std::u16string engineFile() override { return u"C:\\media\\setup.exe"; }
    std::u16string programFilesFolder() override { return u"C:\\Program Files"; }
    std::u16string documentsFolder() override { return u"C:\\Users\\ada\\Documents"; }
};

struct FakeHost : InterpreterHost {
    int pumps = 0;
    std::vector<std::u16string> errors;
    std::vector<std::u16string> captions;
    std::vector<int32_t> processEnds;
    std::set<std::u16string> files;
    std::vector<std::u16string> created;
    std::vector<std::u16string> deleted;
    std::vector<std::u16string> restartEntriesDeleted;
    bool mediaRemoved = false;

    void pumpMessages() override { ++pumps; }
    void showRuntimeError(const std::u16string& text, const std::u16string& caption) override
    {
        errors.push_back(text);
        captions.push_back(caption);
    }
    void endProcessNow(int32_t exitCode) override { processEnds.push_back(exitCode); }
    bool fileExists(const std::u16string& path) override { return files.count(path) != 0; }
    void createEmptyFile(const std::u16string& path) override
    {
        files.insert(path);
        created.push_back(path);
    }
    void deleteFile(const std::u16string& path) override
    {
        files.erase(path);
        deleted.push_back(path);
    }
    void deleteRestartEntries(const std::u16string& name) override { restartEntriesDeleted.push_back(name); }
    bool setupMediaRemoved(const std::u16string&) override { return mediaRemoved; }
};

// Records the seam calls that later parts will serve.
struct RecordingExtensions : InterpreterExtensions {
    std::vector<std::string> calls;
    bool cancelLanguage = false;
    std::u16string language;
    std::vector<std::u16string> plugins;

    void bootstrap(ScriptEnvironment& environment) override
    {
        calls.push_back("bootstrap");
        InterpreterExtensions::bootstrap(environment);
    }
    std::optional<std::u16string> selectLanguage(ScriptEnvironment&) override
    {
        calls.push_back("selectLanguage");
        if (cancelLanguage)
            return std::nullopt;
        return language;
    }
    void runPlugin(Statement& statement) override { plugins.push_back(statement.name()); }
    void exitSteps(ScriptEnvironment&) override { calls.push_back("exitSteps"); }
    void cacheInstanceData(ScriptEnvironment&, bool) override { calls.push_back("cacheInstanceData"); }
};

class ScriptRun {
public:
    explicit ScriptRun(const ScriptBuilder& script);

    // Runs the script once; the results stay for inspection.
    ScriptRun& run();

    std::u16string variable(const char16_t* name) const { return store.GetItem(name); }
    // The trace lines written so far (the trace goes to a temporary file).
    std::vector<std::string> traceLines() const;

    EngineSettings settings;
    Trace trace;
    EngineMessages messages;
    TScriptPackage package;
    TVariableManager store;
    FakeFacts facts;
    FakeHost host;
    RecordingExtensions extensions;
    CommandTable commands;
    std::unique_ptr<ScriptEnvironment> environment;

    std::vector<std::u16string> recorded;
    std::deque<int> pageAnswers;
    std::string traceFile;
};

// The recorded texts joined by " " for compact comparisons.
std::string joined(const std::vector<std::u16string>& texts);

}  // namespace pellion::testing
