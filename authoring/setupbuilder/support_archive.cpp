// The support archive, written with the archive core of outside/ (deflate), the
// same code the archive library "oxa.lib" extracts with.

#include "authoring/setupbuilder/support_archive.h"

#include "authoring/setupbuilder/build_error.h"
#include "common/text.h"
#include "outside/archive.h"
#include "outside/native_file_access.h"

namespace pellion::authoring {

namespace {

std::u16string textOf(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return toUtf16(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

void writeSupportArchive(const std::filesystem::path& archive, const std::vector<SupportFile>& files)
{
    std::vector<pellion::archive::SourceEntry> entries;
    entries.reserve(files.size());
    for (const auto& file : files)
        entries.push_back({textOf(file.sourceFile), file.entryName});
    pellion::archive::NativeFileAccess access;
    pellion::archive::CreateOptions options;
    options.mode = pellion::archive::UpdateMode::createNew;
    options.compression = pellion::archive::Compression::deflate;
    const auto outcome = pellion::archive::createArchive(access, textOf(archive), entries, options);
    if (!outcome.ok())
        throw BuildError("cannot write the support archive " + toUtf8(textOf(archive)) + ": error " +
                         std::to_string(static_cast<int>(outcome.code)) + " " + outcome.detail);
}

}  // namespace pellion::authoring
