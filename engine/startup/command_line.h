// The engine's command line: splitting the raw line into the tail and its
// arguments, and reading the switches, options and NAME=VALUE arguments into
// the engine settings. Which mode the process runs in is decided by the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/startup/engine_settings.h"

namespace pellion {

// The raw command line without the program name: a quoted program name is
// dropped with its closing quote and the character after it; otherwise up to
// and including the first blank (everything when there is none).
std::u16string commandTailOf(std::u16string_view rawCommandLine);

// Arguments the way the C runtime of the original tools splits them: blanks
// separate, double quotes group and are removed.
std::vector<std::u16string> splitArguments(std::u16string_view commandTail);

// Fills silent, noSplash, traceFile, gpoSource, sfxSource, mediaOverride and
// commandLineVariables from the arguments (program name not included).
void readCommandLine(const std::vector<std::u16string>& arguments, EngineSettings& settings);

}  // namespace pellion
