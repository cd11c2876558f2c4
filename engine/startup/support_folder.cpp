// Support folder numbering and removal through std::filesystem (wide paths on
// Windows), so the same code runs in the host tests.

#include "engine/startup/support_folder.h"

#include <filesystem>
#include <system_error>

#include "common/numbers.h"

namespace pellion {

namespace fs = std::filesystem;

namespace {

// Far more than any number of leftovers; keeps a broken temporary folder from
// turning into an endless loop.
constexpr int highestNumber = 100000;

}  // namespace

std::u16string createSupportFolder(const std::u16string& tempDir)
{
    const char16_t separator = (!tempDir.empty() && tempDir.back() == u'/') ? u'/' : u'\\';
    for (int n = 1; n <= highestNumber; ++n) {
        const std::u16string folder = tempDir + u"oxa" + formatInt(n);
        std::error_code error;
        if (fs::exists(fs::path(folder), error))
            continue;
        // create_directory answers false when another run took the name in the
        // meantime; then the next number is ours to try.
        if (fs::create_directory(fs::path(folder), error))
            return folder + separator;
        if (!fs::exists(fs::path(folder), error))
            return {};
    }
    return {};
}

bool removeSupportFolder(const std::u16string& supportDir)
{
    std::u16string folder = supportDir;
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/'))
        folder.pop_back();
    if (folder.empty())
        return false;
    const fs::path path(folder);
    std::error_code error;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!fs::exists(path, error))
            return true;
        fs::remove_all(path, error);
    }
    return !fs::exists(path, error);
}

}  // namespace pellion
