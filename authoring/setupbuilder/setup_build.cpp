// Building a setup folder: compile the script, append the package to a copy of
// the engine's image, pack the support folder, copy the archive library.

#include "authoring/setupbuilder/setup_build.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "authoring/setupbuilder/build_error.h"
#include "authoring/setupbuilder/package_writer.h"
#include "authoring/setupbuilder/script_expansion.h"
#include "authoring/setupbuilder/script_source.h"
#include "authoring/setupbuilder/statement_ids.h"
#include "authoring/setupbuilder/support_archive.h"
#include "common/text.h"
#include "engine/startup/package_appendix.h"

namespace fs = std::filesystem;

namespace pellion::authoring {

namespace {

fs::path pathFromUtf8(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw BuildError("cannot read " + utf8Of(file));
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw BuildError("cannot read " + utf8Of(file));
    return bytes;
}

void writeFile(const fs::path& file, std::string_view first, std::string_view second = {})
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(first.data(), static_cast<std::streamsize>(first.size()));
    out.write(second.data(), static_cast<std::streamsize>(second.size()));
    if (!out.flush())
        throw BuildError("cannot write " + utf8Of(file));
}

// Every regular file below the support folder, under its relative name, in
// name order so that the archive comes out the same every time.
std::vector<SupportFile> supportFiles(const fs::path& folder)
{
    std::vector<SupportFile> files;
    if (!fs::is_directory(folder))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = utf8Of(entry.path().lexically_relative(folder));
        files.push_back({entry.path(), toUtf16(name)});
    }
    std::sort(files.begin(), files.end(), [](const SupportFile& a, const SupportFile& b) {
        return toUtf8(a.entryName) < toUtf8(b.entryName);
    });
    return files;
}

}  // namespace

CompiledScript compileScript(const fs::path& mainScript)
{
    const fs::path folder = mainScript.parent_path();
    const ScriptLoader loader = [&folder](std::u16string_view file) {
        std::string relative = toUtf8(file);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const fs::path path = folder / pathFromUtf8(relative);
        LoadedScript loaded;
        loaded.bytes = readFile(path);
        loaded.key = utf8Of(fs::weakly_canonical(path));
        return loaded;
    };
    const std::u16string mainName = toUtf16(utf8Of(mainScript.filename()));
    const SourceScript main = parseScriptSource(readFile(mainScript), toUtf16(utf8Of(mainScript)));

    CompiledScript compiled;
    compiled.draft = expandScript(main, mainName, loader);
    compiled.packageText = writePackage(compiled.draft);
    verifyPackage(compiled.draft, compiled.packageText);
    const auto& header = compiled.draft.header;
    if (!isBracedGuid(header.productCode))
        compiled.warnings.push_back("@product-code is no GUID in braces; the engine names registry keys after it");
    if (!isBracedGuid(header.revisionCode))
        compiled.warnings.push_back("@revision-code is no GUID in braces; the engine names its cache folder after it");
    return compiled;
}

BuildResult buildSetup(const BuildOptions& options)
{
    const fs::path mainScript = options.sourceFolder / pathFromUtf8(options.script);
    std::string name = options.name.empty() ? utf8Of(pathFromUtf8(options.script).stem()) : options.name;
    if (name.empty() || name.find_first_of("/\\:") != std::string::npos)
        throw BuildError("unusable setup name \"" + name + "\"");

    CompiledScript compiled = compileScript(mainScript);
    BuildResult result;
    result.warnings = std::move(compiled.warnings);
    result.statements = compiled.draft.statements.size();

    // Only the engine's image is copied: bytes after it (a symbol table, an
    // earlier package) would be read as the package.
    const std::string engine = readFile(options.engine);
    const auto imageEnd = peImageEnd(engine);
    if (!imageEnd)
        throw BuildError(utf8Of(options.engine) + " is no Windows executable");
    const size_t image = static_cast<size_t>(std::min<uint64_t>(*imageEnd, engine.size()));
    if (image < engine.size())
        result.warnings.push_back(utf8Of(options.engine) + " carries " + std::to_string(engine.size() - image) +
                                  " bytes after its image; they are left out");

    std::error_code error;
    fs::create_directories(options.outputFolder, error);
    if (error)
        throw BuildError("cannot create " + utf8Of(options.outputFolder) + ": " + error.message());

    const std::vector<SupportFile> files = supportFiles(options.sourceFolder / "support");
    result.supportFiles = files.size();
    if (files.empty())
        result.warnings.push_back("no files below " + utf8Of(options.sourceFolder / "support") +
                                  "; the support archive is empty");

    result.setupExe = options.outputFolder / pathFromUtf8(name + ".exe");
    result.archive = options.outputFolder / pathFromUtf8(name + ".res");
    result.archiveLibrary = options.outputFolder / "oxa.lib";
    writeFile(result.setupExe, std::string_view(engine).substr(0, image), compiled.packageText);
    writeSupportArchive(result.archive, files);
    writeFile(result.archiveLibrary, readFile(options.archiveLibrary));
    return result;
}

}  // namespace pellion::authoring
