// The command-run fixture.

#include "command_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/letter_case.h"
#include "common/text.h"
#include "engine/commands/builtin_commands.h"

namespace pellion::testing {

std::u16string FakePathSystem::expandEnvironment(std::u16string_view text)
{
    std::u16string out(text);
    for (const auto& [name, value] : environment)
        for (size_t at; (at = out.find(name)) != std::u16string::npos;)
            out.replace(at, name.size(), value);
    return out;
}

std::u16string FakePathSystem::fullPath(std::u16string_view path)
{
    // Only what the tests need: "\.\" and "\x\..\" parts disappear.
    std::u16string out(path);
    for (size_t at; (at = out.find(u"\\.\\")) != std::u16string::npos;)
        out.erase(at, 2);
    for (size_t at; (at = out.find(u"\\..")) != std::u16string::npos;) {
        const size_t parent = out.rfind(u'\\', at - 1);
        out.erase(parent, at + 3 - parent);
    }
    return out;
}

bool FakePathSystem::exists(std::u16string_view path)
{
    std::u16string key(path);
    if (key.size() > 3 && key.back() == u'\\')
        key.pop_back();
    for (const auto& [known, name] : onDisk)
        if (equalsNoCase(known, key))
            return true;
    return false;
}

std::optional<std::u16string> FakePathSystem::shortPath(std::u16string_view path)
{
    const auto found = shortNames.find(std::u16string(path));
    if (found == shortNames.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::u16string> FakePathSystem::foundName(std::u16string_view path)
{
    for (const auto& [known, name] : onDisk)
        if (equalsNoCase(known, path))
            return name;
    return std::nullopt;
}

std::optional<std::u16string> FakePathSystem::createTemporaryFile(std::u16string_view folder)
{
    temporaryFolders.emplace_back(folder);
    return std::u16string(folder) + u"oxa1F.tmp";
}

namespace {

std::string freshFolder()
{
    static int counter = 0;
    const auto folder = std::filesystem::temp_directory_path()
                      / ("commands_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())
                         + "_" + std::to_string(++counter));
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

}  // namespace

CommandRun::CommandRun(const ScriptBuilder& builder) : folder(freshFolder()), script(builder)
{
    services.progress = &progress;
    services.logRecords = &logRecords;
    script.settings.supportDir = toUtf16(folder);
    extensions = std::make_unique<CommandExtensions>(services);
    script.environment = std::make_unique<ScriptEnvironment>(script.settings, script.trace, script.messages,
                                                             script.package, script.store, script.facts, script.host,
                                                             *extensions);
    script.commands = CommandTable{};
    registerBuiltinCommands(script.commands, services);
    script.commands.add(u"Record", [this](Statement& st) { script.recorded.push_back(st.expanded(1)); });
}

CommandRun::~CommandRun()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

CommandRun& CommandRun::run()
{
    script.run();
    return *this;
}

void CommandRun::writeSupportFile(const std::string& name, const std::vector<std::string>& lines) const
{
    std::ofstream out(folder + name, std::ios::binary);
    for (const auto& line : lines)
        out << line << "\r\n";
}

}  // namespace pellion::testing
