// Where the restart entry goes and what it holds, and which window a pass of
// "Terminate Program" closes; the machine is reached through RestartControl.

#include "engine/commands/restart_control.h"

namespace pellion {

std::u16string restartEntryName(std::u16string_view productCode)
{
    constexpr size_t first = 1;
    constexpr size_t length = 8;
    if (productCode.size() < first + length)
        return {};
    return std::u16string(productCode.substr(first, length));
}

std::optional<RestartEntry> restartEntry(RestartKey key, bool allUsers, std::u16string_view productCode,
                                         std::u16string_view sfxSource, std::u16string_view engineFile,
                                         std::u16string_view commandTail)
{
    RestartEntry entry;
    entry.valueName = restartEntryName(productCode);
    if (entry.valueName.empty())
        return std::nullopt;
    entry.root = allUsers ? localMachineRoot : currentUserRoot;
    entry.key = key == RestartKey::runOnce ? u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\"
                                           : u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
    entry.command = std::u16string(sfxSource.empty() ? engineFile : sfxSource);
    if (!commandTail.empty()) {
        entry.command += u' ';
        entry.command += commandTail;
    }
    return entry;
}

std::optional<size_t> firstMatchingWindow(const std::vector<TopWindow>& windows, std::u16string_view titleText,
                                          std::u16string_view classText)
{
    if (titleText.empty() && classText.empty())
        return std::nullopt;
    for (size_t i = 0; i < windows.size(); ++i) {
        const bool classMatches = classText.empty() || windows[i].className.find(classText) != std::u16string::npos;
        const bool titleMatches = titleText.empty() || windows[i].title.find(titleText) != std::u16string::npos;
        if (classMatches && titleMatches)
            return i;
    }
    return std::nullopt;
}

void closeMatchingWindows(RestartControl& control, std::u16string_view titleText, std::u16string_view classText)
{
    if (titleText.empty() && classText.empty())
        return;
    for (int pass = 0; pass < terminateProgramPasses; ++pass) {
        const std::vector<TopWindow> windows = control.topLevelWindows();
        if (const auto match = firstMatchingWindow(windows, titleText, classText))
            control.postCancelAndClose(windows[*match].handle);
    }
}

#ifndef _WIN32
// Host builds reach no machine: nothing is written, no restart is asked for
// and no window is seen.
namespace {
class AbsentRestartControl : public RestartControl {
public:
    void writeEntry(const RestartEntry&) override {}
    void requestRestart() override {}
    std::vector<TopWindow> topLevelWindows() override { return {}; }
    void postCancelAndClose(uintptr_t) override {}
};
}  // namespace

std::unique_ptr<RestartControl> makeSystemRestartControl()
{
    return std::make_unique<AbsentRestartControl>();
}
#endif

}  // namespace pellion
