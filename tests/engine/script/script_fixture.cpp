// The script-run fixture.

#include "script_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/text.h"
#include "engine/script/expression_commands.h"
#include "engine/script/statement.h"

namespace pellion::testing {

namespace {

std::string freshTraceFile()
{
    static int counter = 0;
    const auto folder = std::filesystem::temp_directory_path();
    return (folder / ("script_trace_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" + std::to_string(++counter) + ".log"))
        .string();
}

}  // namespace

ScriptRun::ScriptRun(const ScriptBuilder& script) : package(script.package())
{
    settings.exeDir = u"C:\\media\\";
    settings.exeBase = u"setup";
    settings.tempDir = u"C:\\Temp\\";
    settings.supportDir = u"C:\\Temp\\oxa1\\";
    settings.mediaDir = u"C:\\media\\data\\";
    traceFile = freshTraceFile();
    std::filesystem::remove(traceFile);
    settings.traceFile = toUtf16(traceFile);
    trace.setFile(settings.traceFile);

    environment = std::make_unique<ScriptEnvironment>(settings, trace, messages, package, store, facts, host,
                                                      extensions);
    environment->msiFile = settings.supportDir + settings.exeBase + u".msi";
    registerExpressionCommands(commands);
    commands.add(u"Record", [this](Statement& st) { recorded.push_back(st.expanded(1)); });
    commands.add(u"Display Dialog", [this](Statement& st) {
        recorded.push_back(st.expanded(1));
        if (!pageAnswers.empty()) {
            st.control().setWizardDirection(pageAnswers.front());
            pageAnswers.pop_front();
        }
    });
    commands.add(u"Set Variable", [](Statement& st) { st.store(st.nameOrReference(1), st.expanded(2)); });
    commands.add(u"Terminate Install", [](Statement& st) { st.control().endRun(); });
}

ScriptRun& ScriptRun::run()
{
    RunScript(*environment, commands);
    return *this;
}

std::vector<std::string> ScriptRun::traceLines() const
{
    std::ifstream in(traceFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i])
                                             | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        lines.push_back(toUtf8(text.substr(start, end - start)));
    return lines;
}

std::string joined(const std::vector<std::u16string>& texts)
{
    std::string out;
    for (const auto& text : texts)
        out += (out.empty() ? "" : " ") + toUtf8(text);
    return out;
}

}  // namespace pellion::testing
