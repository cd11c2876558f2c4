// The setup's support archive (<Name>.res): the files the engine unpacks into
// its support folder before the script runs (dialogs, plug-ins, translation
// files, libraries). The build writes it through writeSupportArchive alone, so
// the archive format lives behind this one call.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pellion::authoring {

struct SupportFile {
    std::filesystem::path sourceFile;
    std::u16string entryName;  // "/" between folders, relative to the support folder
};

// Writes the archive; throws BuildError when a file cannot be read or the
// archive cannot be written.
void writeSupportArchive(const std::filesystem::path& archive, const std::vector<SupportFile>& files);

}  // namespace pellion::authoring
