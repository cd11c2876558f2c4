// The build command: from a setup source folder to a runnable setup folder
// (<Name>.exe = the engine with the package appended, <Name>.res = the support
// archive, oxa.lib beside them), and the smaller step of compiling a script
// into package text. The file system is touched only here and in
// support_archive.cpp.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "authoring/setupbuilder/package_draft.h"

namespace pellion::authoring {

struct CompiledScript {
    PackageDraft draft;
    std::string packageText;
    std::vector<std::string> warnings;
};

// Reads the main script and the scripts it includes (paths relative to the
// main script's folder, "\" or "/" between folders), expands, writes and
// verifies the package. Throws BuildError.
CompiledScript compileScript(const std::filesystem::path& mainScript);

struct BuildOptions {
    std::filesystem::path sourceFolder;
    std::filesystem::path outputFolder;
    std::filesystem::path engine;          // the stripped Pellion.exe
    std::filesystem::path archiveLibrary;  // oxa.lib
    std::string script = "setup.pls";      // main script, relative to the source folder
    std::string name;                      // output base name; empty: the main script's base name
};

struct BuildResult {
    std::filesystem::path setupExe;
    std::filesystem::path archive;
    std::filesystem::path archiveLibrary;
    size_t statements = 0;
    size_t supportFiles = 0;
    std::vector<std::string> warnings;
};

// Throws BuildError.
BuildResult buildSetup(const BuildOptions& options);

}  // namespace pellion::authoring
