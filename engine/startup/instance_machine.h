// What instance data and maintenance detection ask of the machine beyond
// reading, writing and listing files (which go through the FileSystem seam):
// the identity and uninstall keys, the shell folders of the cache root,
// Windows Installer's view of a product, and the folder and attribute work of
// the product cache folder. The Windows answers are in instance_windows.cpp;
// the defaults answer "nothing there" so a run without them stays a first
// installation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellion {

enum class ShellFolder { commonAppData, localAppData, roamingAppData, desktop, commonFiles, programFiles };

class InstanceMachine {
public:
    virtual ~InstanceMachine() = default;

    // A text value of a key under HKEY_LOCAL_MACHINE (localMachine) or
    // HKEY_CURRENT_USER, opened for reading only; an empty value name is the
    // key's default value. Nothing when the key does not open; an empty text
    // when it opens but the value is missing or not a text.
    virtual std::optional<std::u16string> registryText(bool /*localMachine*/, std::u16string_view /*key*/,
                                                       std::u16string_view /*value*/)
    {
        return std::nullopt;
    }
    // Without a trailing "\"; empty when the system does not know it.
    virtual std::u16string shellFolder(ShellFolder) { return {}; }

    // MsiQueryProductStateW; nothing when Windows Installer cannot be reached.
    virtual std::optional<int32_t> msiProductState(std::u16string_view /*productCode*/) { return std::nullopt; }
    // MsiGetProductInfoW(code, "PackageCode"); nothing when the query fails.
    virtual std::optional<std::u16string> msiPackageCode(std::u16string_view /*productCode*/) { return std::nullopt; }

    // One folder level; false when it cannot be created.
    virtual bool createFolder(std::u16string_view /*path*/) { return false; }
    // Only an empty folder goes.
    virtual bool removeEmptyFolder(std::u16string_view /*path*/) { return false; }
    // A folder with everything inside it; failures pass silently.
    virtual void removeTree(std::u16string_view /*path*/) {}
    virtual bool deleteFile(std::u16string_view /*path*/) { return false; }
    // Moves a file over another one, replacing it.
    virtual bool replaceFile(std::u16string_view /*from*/, std::u16string_view /*to*/) { return false; }
    // The attributes become "hidden" alone; failures pass silently.
    virtual void setHidden(std::u16string_view /*path*/) {}
    // NTFS compression (LZNT1) of a folder on or off; failures pass silently.
    virtual void setCompression(std::u16string_view /*path*/, bool /*on*/) {}
    // The short (8.3) form; nothing when there is none.
    virtual std::optional<std::u16string> shortPath(std::u16string_view /*path*/) { return std::nullopt; }
};

// Registry roots of the machine's answers.
inline constexpr bool localMachine = true;
inline constexpr bool currentUser = false;

}  // namespace pellion
