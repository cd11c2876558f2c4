// The process-wide values the start-up establishes and later stages read.
// One object per run; the start-up fills it and hands it on by reference.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pellion {

struct EngineSettings {
    std::u16string exeDir;       // folder of the engine's own file, trailing "\"
    std::u16string exeBase;      // its file name without extension
    std::u16string tempDir;      // the user's temporary folder, trailing "\"
    std::u16string supportDir;   // the per-run support folder, trailing "\"
    std::u16string archiveFile;  // exeDir + exeBase + ".res"
    std::u16string mediaDir;     // exeDir + "data\"
    std::u16string commandTail;  // raw command line after the program name
    bool silent = false;
    bool noSplash = false;       // "update" / "updatesetup"
    std::u16string traceFile;
    std::u16string gpoSource;
    std::u16string sfxSource;
    std::u16string mediaOverride;
    std::vector<std::pair<std::u16string, std::u16string>> commandLineVariables;
    bool singleInstanceExit = false;
    int32_t exitCode = 0;
};

}  // namespace pellion
