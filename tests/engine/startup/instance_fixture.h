// A machine for the instance-data tests: an in-memory file system, identity
// and uninstall keys, shell folders and Windows Installer answers held in
// maps, and a script environment around them as the bootstrap sees it.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../../wizard/memory_file_system.h"
#include "engine/startup/bootstrap.h"
#include "engine/startup/instance_state.h"
#include "script_builder.h"
#include "script_fixture.h"

namespace pellion::testing {

inline constexpr char16_t productCode[] = u"{11111111-2222-3333-4444-555555555555}";
inline constexpr char16_t revisionCode[] = u"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
inline constexpr char16_t otherRevision[] = u"{99999999-8888-7777-6666-555555555555}";

struct FakeInstanceMachine : InstanceMachine {
    explicit FakeInstanceMachine(MemoryFileSystem& files) : files(files) {}

    MemoryFileSystem& files;
    // (local machine, upper-cased key + "|" + upper-cased value name) -> text.
    std::map<std::pair<bool, std::u16string>, std::u16string> values;
    // Keys that open (upper-cased), per root.
    std::set<std::pair<bool, std::u16string>> keys;
    std::map<ShellFolder, std::u16string> folders;
    std::map<std::u16string, int32_t> productStates;
    std::map<std::u16string, std::u16string> packageCodes;
    bool installerMissing = false;
    // Folders below these prefixes cannot be created (a drive that is not there).
    std::vector<std::u16string> uncreatable;
    std::vector<std::u16string> hidden;
    std::vector<std::pair<std::u16string, bool>> compressed;
    std::vector<std::u16string> removedTrees;

    void setValue(bool localMachine, std::u16string_view key, std::u16string_view name, std::u16string_view text);
    void setIdentityFolder(bool localMachine, std::u16string_view folder);

    std::optional<std::u16string> registryText(bool localMachine, std::u16string_view key,
                                               std::u16string_view value) override;
    std::u16string shellFolder(ShellFolder which) override;
    std::optional<int32_t> msiProductState(std::u16string_view code) override;
    std::optional<std::u16string> msiPackageCode(std::u16string_view code) override;
    bool createFolder(std::u16string_view path) override;
    bool removeEmptyFolder(std::u16string_view path) override;
    void removeTree(std::u16string_view path) override;
    bool deleteFile(std::u16string_view path) override;
    bool replaceFile(std::u16string_view from, std::u16string_view to) override;
    void setHidden(std::u16string_view path) override { hidden.emplace_back(path); }
    void setCompression(std::u16string_view path, bool on) override { compressed.emplace_back(path, on); }
};

class InstanceRun {
public:
    explicit InstanceRun(const ScriptBuilder& script = ScriptBuilder());

    InstanceContext context() { return {*run.environment, components, remembered, state, files, machine}; }
    std::u16string variable(const char16_t* name) const { return run.variable(name); }
    ScriptEnvironment& environment() { return *run.environment; }

    // A product cache folder as registration leaves it: engine copy, archive,
    // archive library, property list and instance data file.
    void cacheFolder(const std::u16string& folder, const std::string& instanceData);
    void nativeLogs(const std::u16string& base);

    ScriptRun run;
    ComponentTable components;
    std::vector<std::u16string> remembered;
    InstanceRunState state;
    MemoryFileSystem files;
    FakeInstanceMachine machine{files};
};

// The per-user and all-users application data roots of the fake machine.
inline constexpr char16_t userRoot[] = u"C:\\Users\\ada\\AppData\\Local\\";
inline constexpr char16_t commonRoot[] = u"C:\\ProgramData\\";

}  // namespace pellion::testing
