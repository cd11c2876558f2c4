// Extraction through oxa.lib, bound at load time.

#include "engine/install/archive_extraction.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>


#include "common/numbers.h"
#include "common/text.h"
#include "common/wide.h"
#include "common/windows_files.h"
#include "common/windows_system.h"
#include "engine/install/extraction_request.h"
#include "outside/oxa.h"

namespace pellion {

namespace {

constexpr int32_t outOfMemory = 1018;
constexpr int32_t helperFailed = 1016;

struct CallbackContext {
    const ExtractionProgress* progress = nullptr;
    bool renameExisting = false;
};

// The library's callbacks carry no context pointer; one extraction runs at a
// time, so the context of the running one sits here.
thread_local CallbackContext* currentContext = nullptr;

int32_t __stdcall progressCallback(const wchar_t* name, uint64_t done, uint64_t total)
{
    if (!currentContext || !currentContext->progress || !*currentContext->progress)
        return 1;
    return (*currentContext->progress)(fromWide(name), done, total) ? 1 : 0;
}

int32_t __stdcall notifyCallback(int32_t, int32_t)
{
    return 1;
}

int32_t __stdcall overwriteCallback(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return currentContext && currentContext->renameExisting ? 4 : 1;
}

std::u16string errorText(int32_t code)
{
    return u"#" + formatInt(code);
}

std::optional<std::vector<std::u16string>> listNames(const std::u16string& archive, const std::u16string& password)
{
    OxaListEntry* entries = nullptr;
    int32_t count = 0;
    const std::wstring wideArchive = toWide(archive);
    const std::wstring widePassword = toWide(password);
    OxaListHandle handle = OpenListArchive(wideArchive.c_str(), 0, nullptr, 0, 0, 0, widePassword.c_str(), &entries, &count);
    if (!handle)
        return std::nullopt;
    std::vector<std::u16string> names;
    for (int32_t i = 0; i < count; ++i)
        if (entries[i].name)
            names.push_back(fromWide(entries[i].name));
    CloseListArchive(handle);
    return names;
}

// One call of the library; 0 on success, else its error code.
int32_t extractOnce(const std::u16string& archive, const std::u16string& targetFolder,
                    const std::vector<std::u16string>& names, const ExtractionOptions& options)
{
    std::vector<std::wstring> wideNames;
    wideNames.reserve(names.size());
    for (const auto& name : names)
        wideNames.push_back(toWide(name));
    std::vector<const wchar_t*> pointers;
    for (const auto& name : wideNames)
        pointers.push_back(name.c_str());
    const TSZW_TARGETFILES list{pointers.data(), static_cast<int32_t>(pointers.size())};

    CallbackContext context{&options.progress, options.renameExisting};
    currentContext = &context;
    const std::wstring wideArchive = toWide(archive);
    const std::wstring wideTarget = toWide(targetFolder);
    const std::wstring widePassword = toWide(options.password);
    const int32_t done = ExtractArchive(wideArchive.c_str(), 1, wideTarget.c_str(), list, options.keepPaths ? 0 : 1,
                                        widePassword.c_str(), nullptr, progressCallback, notifyCallback, overwriteCallback);
    currentContext = nullptr;
    return done ? 0 : GetLastArchiveError();
}

std::wstring newGuidText()
{
    GUID guid{};
    CoCreateGuid(&guid);
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return text;
}


// Hands the extraction to a fresh engine process, which has its whole address
// space for the archive.
std::u16string extractInChildProcess(const std::u16string& archive, const std::u16string& targetFolder,
                                     const std::vector<std::u16string>& names, const ExtractionOptions& options)
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring parameterFile = std::wstring(temp) + newGuidText();
    const std::wstring itemsFile = parameterFile + L"items";
    const ExtractionRequest request{archive, options.password, targetFolder, options.keepPaths, options.renameExisting, names};
    writeWholeFile(fromWide(parameterFile), requestFileText(request));
    writeWholeFile(fromWide(itemsFile), requestItemsText(request));

    const std::wstring engine = toWide(ownProgramPath());
    std::wstring commandLine = L"\"" + engine + L"\" OutOfProcessExtract \"" + parameterFile + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    std::u16string result = errorText(helperFailed);
    if (CreateProcessW(engine.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        if (code == 0)
            result = answerOf(readWholeFile(fromWide(parameterFile)).value_or(std::string()));
    }
    DeleteFileW(parameterFile.c_str());
    DeleteFileW(itemsFile.c_str());
    return result;
}

}  // namespace

std::u16string extractArchiveFully(const std::u16string& archive, const std::u16string& targetFolder,
                                   const ExtractionOptions& options)
{
    std::vector<std::u16string> names;
    if (options.entries) {
        names = *options.entries;
    } else {
        auto listed = listNames(archive, options.password);
        if (!listed)
            return errorText(GetLastArchiveError());
        names = std::move(*listed);
    }
    int32_t code = extractOnce(archive, targetFolder, names, options);
    if (code == 0)
        return {};
    if (code == outOfMemory) {
        SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
        code = extractOnce(archive, targetFolder, names, options);
        if (code == 0)
            return {};
        if (code == outOfMemory && !options.inHelperProcess)
            return extractInChildProcess(archive, targetFolder, names, options);
    }
    return errorText(code);
}

void prepareArchiveLibrary()
{
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, local)))
        return;
    const std::wstring folder = std::wstring(local) + L"\\DODOV\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    DeleteFileW((folder + L"7z.dll").c_str());
    Set7zipDllDirectory(folder.c_str());
}

int runExtractionHelper(const std::u16string& parameterFile)
{
    const std::wstring path = toWide(parameterFile);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 1;
    auto request = readRequest(readWholeFile(parameterFile).value_or(std::string()),
                               readWholeFile(parameterFile + u"items").value_or(std::string()));
    if (!request)
        request = ExtractionRequest{};
    if (GetFileAttributesW(toWide(request->archive).c_str()) == INVALID_FILE_ATTRIBUTES)
        return 2;
    ExtractionOptions options;
    options.password = request->password;
    if (!request->entries.empty())
        options.entries = request->entries;
    options.keepPaths = request->pathFlag;
    options.renameExisting = request->renameFlag;
    options.inHelperProcess = true;
    const std::u16string error = extractArchiveFully(request->archive, request->targetFolder, options);
    writeWholeFile(parameterFile, toUtf8(error) + "\r\n");
    return 0;
}

}  // namespace pellion
