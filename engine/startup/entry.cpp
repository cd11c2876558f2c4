// Pellion's entry: chooses setup mode or extraction helper mode by the first
// argument, establishes the engine settings and runs the start-up phases.

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "common/numbers.h"
#include "common/text.h"
#include "common/wide.h"
#include "common/windows_files.h"
#include "common/windows_system.h"
#include "engine/install/archive_extraction.h"
#include "engine/startup/command_line.h"
#include "engine/startup/engine_messages.h"
#include "engine/startup/languages.h"
#include "engine/startup/package_appendix.h"
#include "engine/startup/setup_run.h"
#include "engine/startup/trace.h"
#include "engine/startup/windows_host.h"

namespace pellion {
namespace {

// Lets the shell treat the engine as a host program, so its pinned items and
// jump lists belong to the setup and not to this file. Failures do not matter.
void registerWithShell(const std::u16string& ownFile, const std::u16string& fileName)
{
    const WindowsVersion version = windowsVersion();
    HKEY key = nullptr;
    if (version.atLeast(6, 1)) {
        const std::wstring path = L"Applications\\" + toWide(fileName);
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            RegSetValueExW(key, L"IsHostApp", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
            RegCloseKey(key);
        }
    } else if (version.major == 6 && version.minor == 0) {
        const wchar_t* path = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            const DWORD value = 32;
            RegSetValueExW(key, toWide(ownFile).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
            RegCloseKey(key);
        }
    }
}

std::u16string temporaryFolder()
{
    wchar_t buffer[MAX_PATH + 2] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    std::u16string folder = fromWide(std::wstring(buffer, length));
    if (folder.empty())
        folder = u"C:\\";
    if (folder.back() != u'\\')
        folder.push_back(u'\\');
    CreateDirectoryW(toWide(folder).c_str(), nullptr);
    return folder;
}

// The user's language as a name of the language table, from the locale's
// language field (hexadecimal text; unreadable counts as 0).
std::u16string userLanguageName(LCTYPE field)
{
    wchar_t buffer[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, field, buffer, 16);
    return languageNameOf(static_cast<int>(wcstoul(buffer, nullptr, 16)));
}

// The archive library carries the engine's message translations appended to
// its own image.
void localizeMessages(EngineMessages& messages, const std::u16string& exeDir)
{
    const auto library = readWholeFile(exeDir + u"oxa.lib");
    if (!library)
        return;
    const auto appendix = appendixOf(*library);
    if (appendix && !appendix->empty())
        messages.load(*appendix, userLanguageName(LOCALE_ILANGUAGE));
}

// The whole setup archive into the support folder, keeping its folders.
std::u16string extractSetupArchive(const std::u16string& archive, const std::u16string& folder)
{
    ExtractionOptions options;
    options.keepPaths = true;
    options.renameExisting = true;
    return extractArchiveFully(archive, folder, options);
}

int runSetupMode()
{
    EngineSettings settings;
    const std::u16string ownFile = ownProgramPath();
    const auto slash = ownFile.find_last_of(u"\\/");
    const std::u16string fileName = slash == std::u16string::npos ? ownFile : ownFile.substr(slash + 1);
    settings.exeDir = slash == std::u16string::npos ? std::u16string() : ownFile.substr(0, slash + 1);
    const auto dot = fileName.find_last_of(u'.');
    settings.exeBase = dot == std::u16string::npos ? fileName : fileName.substr(0, dot);

    registerWithShell(ownFile, fileName);
    settings.tempDir = temporaryFolder();
    prepareArchiveLibrary();
    EngineMessages messages;
    localizeMessages(messages, settings.exeDir);
    settings.archiveFile = settings.exeDir + settings.exeBase + u".res";
    settings.commandTail = commandTailOf(fromWide(GetCommandLineW()));
    readCommandLine(splitArguments(settings.commandTail), settings);

    Trace trace;
    trace.setFile(settings.traceFile);
    WindowsStartupHost host(settings, trace, messages, ownFile, extractSetupArchive);
    const int exitCode = runSetupPhases(settings, trace, messages, host);
    if (settings.singleInstanceExit)
        ExitProcess(0);
    return exitCode;
}

}  // namespace
}  // namespace pellion

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        // The first argument picks the mode: a child started to extract for
        // its parent, or a setup.
        int count = 0;
        wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
        if (arguments && count >= 3 && wcscmp(arguments[1], L"OutOfProcessExtract") == 0)
            return pellion::runExtractionHelper(pellion::fromWide(arguments[2]));
        return pellion::runSetupMode();
    } catch (const std::exception& error) {
        // Whatever escapes the phases ends the run the way a phase error does,
        // and a silent run stays silent here too.
        pellion::EngineSettings settings;
        pellion::readCommandLine(pellion::splitArguments(pellion::commandTailOf(pellion::fromWide(GetCommandLineW()))),
                                 settings);
        if (!settings.silent) {
            const pellion::EngineMessages messages;
            const std::wstring text = pellion::toWide(messages.text(pellion::Message::RuntimeErrorInInstall)
                                                      + pellion::toUtf16(error.what()));
            MessageBoxW(nullptr, text.c_str(), pellion::toWide(pellion::messageBoxCaption(u"", false)).c_str(),
                        MB_OK | MB_ICONERROR);
        }
        return 11;
    }
}
