// The process-wide state the built-in command families share (remembered
// variables, the download time-out, the translation tables, whether WOW64
// redirection is switched off) and the seams through which they reach the
// machine. One object per run of the engine; host tests build one with fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/commands/translation_tables.h"
#include "engine/install/component_table.h"
#include "engine/startup/instance_state.h"
#include "engine/startup/setup_language.h"

namespace pellion {

class FileSystem;
class MessageCenter;

// Native log records held in memory until their location is known. The
// native installation engine owns them; until it joins, nothing is held.
class NativeLogRecords {
public:
    virtual ~NativeLogRecords() = default;
    virtual bool held() const { return false; }
    // Writes the held records to the log location in force so far.
    virtual void writeOut() {}
};

// The progress display's text and position (0 to 100).
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void refresh(std::u16string_view /*text*/, int64_t /*position*/) {}
};

// What "Convert Path" and "Get Temporary File" ask of the file system.
class PathSystem {
public:
    virtual ~PathSystem() = default;
    // %NAME% references expanded by the system; empty when that fails.
    virtual std::u16string expandEnvironment(std::u16string_view text) = 0;
    // Absolute, without "." and ".." parts; empty when the system refuses.
    virtual std::u16string fullPath(std::u16string_view path) = 0;
    // A file or a folder of that path exists.
    virtual bool exists(std::u16string_view path) = 0;
    // The short (8.3) form; nothing when the system refuses.
    virtual std::optional<std::u16string> shortPath(std::u16string_view path) = 0;
    // The name under which a directory search finds `pattern` (a path); nothing
    // when it finds nothing.
    virtual std::optional<std::u16string> foundName(std::u16string_view path) = 0;
    // A new empty file "oxa<hex>.tmp" in the folder; nothing on failure.
    virtual std::optional<std::u16string> createTemporaryFile(std::u16string_view folder) = 0;
};

// WOW64 file-system redirection of the calling thread.
class RedirectionControl {
public:
    virtual ~RedirectionControl() = default;
    // The engine runs on a 64-bit Windows.
    virtual bool windows64() = 0;
    // Switches redirection off; false when the system cannot.
    virtual bool switchOff() = 0;
    virtual void switchBack() = 0;
};

struct CommandServices {
    CommandServices(FileSystem& files, PathSystem& paths, RedirectionControl& redirection,
                    SetupLanguageUi* languageUi = nullptr)
        : files(files), paths(paths), redirection(redirection),
          languageUi(languageUi ? languageUi : &defaultLanguageUi)
    {
    }

    FileSystem& files;
    PathSystem& paths;
    RedirectionControl& redirection;
    NativeLogRecords defaultLogRecords;
    NativeLogRecords* logRecords = &defaultLogRecords;
    ProgressDisplay defaultProgress;
    ProgressDisplay* progress = &defaultProgress;
    // The user's locale and the "Select Setup Language" window.
    SetupLanguageUi defaultLanguageUi;
    SetupLanguageUi* languageUi;

    // Names whose values the instance data keeps for maintenance runs.
    std::vector<std::u16string> rememberedVariables;
    // Seconds; 0 leaves the system's own receive time-out in force.
    int64_t downloadTimeoutSeconds = 10;
    TranslationTables translations;
    ComponentTable components;
    // The message boxes, the notification-area icon and the taskbar button of
    // the run; none without a user interface.
    MessageCenter* messages = nullptr;
    // Instance data and maintenance detection: the run's state and the machine
    // they ask (the default finds nothing installed).
    InstanceRunState instance;
    InstanceMachine defaultInstanceMachine;
    InstanceMachine* instanceMachine = &defaultInstanceMachine;
    // Set while an enclosing command has switched redirection off.
    bool redirectionOff = false;
    // Set by the restarting ending commands once they ask Windows to restart:
    // wizard windows closed by the shutdown then close without the cancel question.
    bool restarting = false;

    void forgetRun()
    {
        rememberedVariables.clear();
        translations = TranslationTables{};
        instance = InstanceRunState{};
        redirectionOff = false;
    }

    InstanceContext instanceContext(ScriptEnvironment& environment)
    {
        return {environment, components, rememberedVariables, instance, files, *instanceMachine};
    }
};

}  // namespace pellion
