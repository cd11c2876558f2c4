// A script run with the built-in command families registered and the command
// extensions in place, over a fake path system and redirection switch. The
// native file system serves the translation tables and log files from a
// fresh temporary folder that stands for the support folder.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/translation_project.h"
#include "engine/commands/command_extensions.h"
#include "engine/commands/command_services.h"
#include "script_fixture.h"

namespace pellion::testing {

struct FakePathSystem : PathSystem {
    // Paths that exist, each with the name its last part has on disk.
    std::map<std::u16string, std::u16string> onDisk;
    std::map<std::u16string, std::u16string> shortNames;
    std::map<std::u16string, std::u16string> environment;  // "%NAME%" -> value
    std::vector<std::u16string> temporaryFolders;

    std::u16string expandEnvironment(std::u16string_view text) override;
    std::u16string fullPath(std::u16string_view path) override;
    bool exists(std::u16string_view path) override;
    std::optional<std::u16string> shortPath(std::u16string_view path) override;
    std::optional<std::u16string> foundName(std::u16string_view path) override;
    std::optional<std::u16string> createTemporaryFile(std::u16string_view folder) override;
};

struct FakeRedirection : RedirectionControl {
    bool is64 = true;
    std::vector<std::string> calls;
    bool windows64() override { return is64; }
    bool switchOff() override
    {
        calls.push_back("off");
        return true;
    }
    void switchBack() override { calls.push_back("back"); }
};

struct RecordingProgress : ProgressDisplay {
    std::vector<std::pair<std::u16string, int64_t>> refreshes;
    void refresh(std::u16string_view text, int64_t position) override { refreshes.emplace_back(text, position); }
};

struct HeldLogRecords : NativeLogRecords {
    bool records = true;
    int writtenOut = 0;
    bool held() const override { return records; }
    void writeOut() override { ++writtenOut; }
};

class CommandRun {
public:
    explicit CommandRun(const ScriptBuilder& script);
    ~CommandRun();

    CommandRun& run();
    std::u16string variable(const char16_t* name) const { return script.variable(name); }
    // A file in the temporary support folder, written as UTF-8 lines.
    void writeSupportFile(const std::string& name, const std::vector<std::string>& lines) const;

    std::string folder;  // the support folder, with a trailing "/"
    NativeFileSystem files;
    FakePathSystem paths;
    FakeRedirection redirection;
    RecordingProgress progress;
    HeldLogRecords logRecords;
    CommandServices services{files, paths, redirection};
    ScriptRun script;
    std::unique_ptr<CommandExtensions> extensions;
};

}  // namespace pellion::testing
