// Test launcher: starts a program, waits for it and prints its full 32-bit exit
// code on one line. Wine hands only the low 8 bits of an exit code to Linux, so
// tests read codes such as 314 from here.
//   launch [--timeout MS] [--cwd FOLDER] PROGRAM [ARGS...]
// Prints "exit <code>" (unsigned decimal) and exits 0, or prints "timeout" and
// ends the program and exits 1, or prints "cannot start <error>" and exits 2.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Quotes one argument the way the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            out.append(backslashes * 2 + 1, L'\\');
        else
            out.append(backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    DWORD timeout = 120000;
    const wchar_t* folder = nullptr;
    int first = 1;
    while (first + 1 < argc && argv[first][0] == L'-' && argv[first][1] == L'-') {
        if (wcscmp(argv[first], L"--timeout") == 0)
            timeout = wcstoul(argv[first + 1], nullptr, 10);
        else if (wcscmp(argv[first], L"--cwd") == 0)
            folder = argv[first + 1];
        else
            break;
        first += 2;
    }
    if (first >= argc) {
        std::fputs("usage: launch [--timeout MS] [--cwd FOLDER] PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    std::wstring commandLine = quoted(argv[first]);
    for (int i = first + 1; i < argc; ++i)
        commandLine += L" " + quoted(argv[i]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder, &startup, &process)) {
        std::printf("cannot start %lu\n", GetLastError());
        return 2;
    }
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, timeout) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        std::printf("timeout\n");
        return 1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    std::printf("exit %lu\n", static_cast<unsigned long>(code));
    return 0;
}
