// Windows implementation of the start-up phases' work.

#include "engine/startup/windows_host.h"

#include <windows.h>

#include "common/wide.h"
#include "common/windows_files.h"
#include "engine/commands/builtin_commands.h"
#include "engine/commands/windows_services.h"
#include "engine/script/interpreter.h"
#include "engine/script/windows_script_host.h"
#include "engine/startup/package_appendix.h"
#include "engine/startup/support_folder.h"

namespace pellion {

namespace {

constexpr char16_t displayDialog[] = u"Display Dialog";


void copyReplacing(const std::u16string& from, const std::u16string& to)
{
    const std::wstring target = toWide(to);
    if (CopyFileW(toWide(from).c_str(), target.c_str(), FALSE))
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace


WindowsStartupHost::WindowsStartupHost(EngineSettings& settings, Trace& trace, EngineMessages& messages,
                                       std::u16string ownFile, ArchiveExtractor extractor)
    : settings_(settings), trace_(trace), messages_(messages), ownFile_(std::move(ownFile)),
      extractor_(std::move(extractor))
{
}

std::u16string WindowsStartupHost::createSupportFolder(const std::u16string& tempDir)
{
    return pellion::createSupportFolder(tempDir);
}

void WindowsStartupHost::removeSupportFolder(const std::u16string& supportDir)
{
    pellion::removeSupportFolder(supportDir);
}

void WindowsStartupHost::showSplash()
{
    windows_.open(toWide(settings_.exeDir + u"setup.bmp"), toWide(messages_.text(Message::Preparing)),
                  toWide(messages_.text(Message::WizardCaption)));
}

void WindowsStartupHost::closeSplash()
{
    windows_.close();
}

void WindowsStartupHost::showError(const std::u16string& text)
{
    // Before the script runs there is no TITLE yet: the caption is the plain one.
    showEngineError(windows_.owner(), toWide(text), toWide(messageBoxCaption(u"", false)));
}

bool WindowsStartupHost::hasAppendix()
{
    const auto bytes = readWholeFile(ownFile_);
    if (!bytes)
        throw StartupError(u"Cannot read the setup program's own file");
    const auto appendix = appendixOf(*bytes);
    return appendix && !appendix->empty();
}

void WindowsStartupHost::copyAppendix(const std::u16string& targetFile)
{
    const auto bytes = readWholeFile(ownFile_);
    const auto appendix = bytes ? appendixOf(*bytes) : std::nullopt;
    if (!appendix || !writeWholeFile(targetFile, *appendix))
        throw StartupError(u"Cannot copy the script package to " + targetFile);
}

void WindowsStartupHost::loadPackage(const std::u16string& file)
{
    const auto text = readWholeFile(file);
    if (!text)
        throw StartupError(u"Cannot read " + file);
    package_ = LoadScriptPackage(*text);
    DeleteFileW(toWide(file).c_str());
}

bool WindowsStartupHost::fileExists(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string WindowsStartupHost::extractArchive(const std::u16string& archive, const std::u16string& targetFolder)
{
    return extractor_(archive, targetFolder);
}

void WindowsStartupHost::copyResourceFiles()
{
    for (const char16_t* extension : {u".msi", u".msp"}) {
        const std::u16string name = settings_.exeBase + extension;
        copyReplacing(settings_.exeDir + name, settings_.supportDir + name);
    }
}

void WindowsStartupHost::loadDialogs()
{
    std::vector<size_t> dialogs;
    for (size_t i = 0; i < package_.statementCount(); ++i)
        if (!package_.statementDisabled(i) && package_.statementName(i) == displayDialog)
            dialogs.push_back(i);
    windows_.setProgress(1, static_cast<int>(dialogs.size()));
    // The dialog definitions themselves are loaded by the dialog runtime once
    // it exists; the progress still walks through them so the count shows.
    for (size_t done = 0; done < dialogs.size(); ++done)
        windows_.setProgress(static_cast<int>(done + 2), static_cast<int>(dialogs.size()));
}

void WindowsStartupHost::runScript()
{
    // Every command family registers its handlers here as it joins the engine.
    CommandTable commands;
    WindowsBuiltinCommands builtins;
    registerBuiltinCommands(commands, builtins.services);
    WindowsSystemFacts facts;
    WindowsInterpreterHost interpreterHost;
    InterpreterExtensions& extensions = builtins.extensions;
    ScriptEnvironment environment(settings_, trace_, messages_, package_, variables_, facts, interpreterHost,
                                  extensions);
    environment.msiFile = settings_.supportDir + settings_.exeBase + u".msi";
    RunScript(environment, commands);
    // A run that found another instance at work leaves the instance data to it.
    if (!settings_.singleInstanceExit)
        extensions.cacheInstanceData(environment, true);
}

void WindowsStartupHost::freeTables()
{
    package_ = TScriptPackage{};
}

}  // namespace pellion
