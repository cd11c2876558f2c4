// setupbuilder: the command line of the authoring tool. Commands:
//   build   source folder -> setup folder (<Name>.exe, <Name>.res, oxa.lib)
//   package script -> bare package text
//   print   package or setup .exe -> script source
// Exit codes: 0 done, 1 failed, 2 wrong command line.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/package_printer.h"
#include "authoring/setupbuilder/setup_build.h"

namespace fs = std::filesystem;
using namespace pellion::authoring;

namespace {

constexpr const char* usage =
    "usage:\n"
    "  setupbuilder build <source-folder> <output-folder> --engine <Pellion.exe> --oxa <oxa.lib>\n"
    "                     [--script <main script, default setup.pls>] [--name <setup name>]\n"
    "  setupbuilder package <script> <package-file>\n"
    "  setupbuilder print <package-file-or-setup.exe> [<source-file>]\n";

int wrongCommandLine(const std::string& problem)
{
    std::cerr << "setupbuilder: " << problem << "\n" << usage;
    return 2;
}

fs::path pathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

void warn(const std::vector<std::string>& warnings)
{
    for (const auto& warning : warnings)
        std::cerr << "setupbuilder: warning: " << warning << "\n";
}

void writeText(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw BuildError("cannot write " + file.string());
}

int build(const std::vector<std::string>& args)
{
    BuildOptions options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--engine" || arg == "--oxa" || arg == "--script" || arg == "--name") {
            if (i + 1 >= args.size())
                return wrongCommandLine(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--engine") options.engine = pathOf(value);
            else if (arg == "--oxa") options.archiveLibrary = pathOf(value);
            else if (arg == "--script") options.script = value;
            else options.name = value;
        } else if (arg.rfind("--", 0) == 0) {
            return wrongCommandLine("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2)
        return wrongCommandLine("build needs a source folder and an output folder");
    if (options.engine.empty() || options.archiveLibrary.empty())
        return wrongCommandLine("build needs --engine and --oxa");
    options.sourceFolder = pathOf(positional[0]);
    options.outputFolder = pathOf(positional[1]);
    const BuildResult result = buildSetup(options);
    warn(result.warnings);
    std::cout << "built " << result.setupExe.string() << " (" << result.statements << " statements), "
              << result.archive.string() << " (" << result.supportFiles << " files), " << result.archiveLibrary.string()
              << "\n";
    return 0;
}

int package(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return wrongCommandLine("package needs a script and a package file");
    const CompiledScript compiled = compileScript(pathOf(args[0]));
    warn(compiled.warnings);
    writeText(pathOf(args[1]), compiled.packageText);
    return 0;
}

int print(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2)
        return wrongCommandLine("print needs a package file or setup executable, and optionally an output file");
    std::ifstream in(pathOf(args[0]), std::ios::binary);
    if (!in)
        throw BuildError("cannot read " + args[0]);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const PrintedPackage printed = printPackage(bytes);
    warn(printed.warnings);
    if (args.size() == 2)
        writeText(pathOf(args[1]), printed.source);
    else
        std::cout << printed.source;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return wrongCommandLine("no command");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "build")
            return build(args);
        if (command == "package")
            return package(args);
        if (command == "print")
            return print(args);
        return wrongCommandLine("unknown command " + command);
    } catch (const BuildError& error) {
        std::cerr << "setupbuilder: " << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "setupbuilder: " << error.what() << "\n";
        return 1;
    }
}
