// Pellion entry point. For now it only notes its command line in the trace file
// named by "/l=" and ends; the start-up phases replace this.

#include <windows.h>

#include <string>

#include "common/letter_case.h"
#include "common/wide.h"

namespace {

std::u16string traceFileFrom(std::u16string_view commandLine)
{
    const auto at = pellion::lowerCase(commandLine).find(u"/l=");
    if (at == std::u16string::npos)
        return {};
    auto path = commandLine.substr(at + 3);
    if (!path.empty() && path.front() == u'"') {
        path.remove_prefix(1);
        return std::u16string(path.substr(0, path.find(u'"')));
    }
    return std::u16string(path.substr(0, path.find(u' ')));
}

void writeTrace(const std::u16string& file, const std::u16string& line)
{
    HANDLE handle = CreateFileW(pellion::toWide(file).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    const std::u16string text = line + u"\r\n";
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size() * sizeof(char16_t)), &written, nullptr);
    CloseHandle(handle);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandTail, int)
{
    const std::u16string tail = pellion::fromWide(commandTail);
    const std::u16string trace = traceFileFrom(tail);
    if (!trace.empty())
        writeTrace(trace, u"Pellion started with the command line: " + tail);
    return 0;
}
