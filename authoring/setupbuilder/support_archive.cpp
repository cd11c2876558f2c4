// The support archive, written for now as a stored-entries ZIP.
// TODO: switch to pellion::archive::createArchive (outside/archive.h, deflate)
// once the archive library is in the build; only this file changes.

#include "authoring/setupbuilder/support_archive.h"

#include <fstream>
#include <iterator>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/stored_zip.h"
#include "common/text.h"

namespace pellion::authoring {

void writeSupportArchive(const std::filesystem::path& archive, const std::vector<SupportFile>& files)
{
    std::vector<StoredZipEntry> entries;
    entries.reserve(files.size());
    for (const auto& file : files) {
        std::ifstream in(file.sourceFile, std::ios::binary);
        if (!in)
            throw BuildError("cannot read " + file.sourceFile.string());
        entries.push_back({toUtf8(file.entryName), std::string(std::istreambuf_iterator<char>(in), {})});
        if (in.bad())
            throw BuildError("cannot read " + file.sourceFile.string());
    }
    const std::string bytes = storedZip(entries);
    std::ofstream out(archive, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw BuildError("cannot write " + archive.string());
}

}  // namespace pellion::authoring
