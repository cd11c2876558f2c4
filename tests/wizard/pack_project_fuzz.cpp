// libFuzzer target for the readers of untrusted input: language pack files
// (configuration, indexes, data, well-known pairs) and project lists, run
// through the scan and a whole pre-translation. Besides the sanitizers it
// checks what must hold for any input: a project list splits the same way
// after being written back with CR LF, a successful run keeps the translated
// list's number of rows, and a failed run leaves it untouched.
//
// Three shapes of input, chosen by the first byte:
// - raw: every pack file, configuration.dat included, is fuzzed bytes;
// - signed: the data files are fuzzed, configuration.dat is written to
//   accept them, so their contents reach the index load and the lookups;
// - generated: a project of dialog, script and variable rows and a pack
//   with fuzzed translations for its groups, so lookups hit, then fuzzed
//   damage to the index and data bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "authoring/packbuilder/pack_writer.h"
#include "common/text.h"
#include "tests/wizard/memory_file_system.h"
#include "wizard/pack_scan.h"
#include "wizard/pretranslation.h"

namespace {

using namespace pellion;

class SilentMessages final : public WizardMessages {
public:
    void show(std::u16string_view, std::u16string_view) override {}
};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

const std::u16string programFolder = u"C:\\Lexwiz\\";
const std::u16string packFolder = u"C:\\Lexwiz\\German\\";
const std::u16string projectFolder = u"C:\\Project\\";
const std::u16string keyListPath = u"C:\\Project\\Setup.mtx";

void checkProjectList(const std::string& bytes)
{
    const ProjectList list = ProjectList::fromBytes(bytes);
    // Written back the way the rewrite writes a list: behind a byte-order mark,
    // so a first line that itself starts with U+FEFF keeps it.
    std::string rewritten = "\xEF\xBB\xBF";
    for (size_t row = 0; row < list.size(); ++row) {
        const std::string_view line = list.line(row);
        require(line.find_first_of("\r\n") == std::string_view::npos);
        rewritten += line;
        rewritten += "\r\n";
    }
    const ProjectList again = ProjectList::fromBytes(rewritten);
    require(again.size() == list.size());
    for (size_t row = 0; row < list.size(); ++row)
        require(again.line(row) == list.line(row));
}

struct Project {
    std::string keys, originals, maps, translations;
};

void writeProject(MemoryFileSystem& files, const Project& project)
{
    files.setFile(keyListPath, project.keys);
    files.setFile(projectFolder + u"translations.original", project.originals);
    files.setFile(projectFolder + u"translations.map", project.maps);
    files.setFile(projectFolder + u"translations.German", project.translations);
}

std::string lineText(FuzzedDataProvider& input, size_t length)
{
    std::string text = input.ConsumeRandomLengthString(length);
    for (auto& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// A project of groups, and a pack source with an entry for each dialog and
// script group, keyed by the lookup text the pre-translation will form.
void generate(FuzzedDataProvider& input, Project& project, PackSource& pack)
{
    const int groups = input.ConsumeIntegralInRange(0, 12);
    for (int group = 0; group < groups; ++group) {
        const int kind = input.ConsumeIntegralInRange(0, 2);  // dialog, script, variable
        const int rows = input.ConsumeIntegralInRange(1, 4);
        const std::string dialog = "d" + std::to_string(group) + (input.ConsumeBool() ? ".dfm" : ".DFM");
        const std::string id = "{" + std::to_string(group) + "}";
        std::string lookup = kind == 1 ? id : "";
        for (int row = 0; row < rows; ++row) {
            const std::string original = lineText(input, 12);
            const std::string translated = input.ConsumeBool() ? original : lineText(input, 12);
            std::string key, map;
            if (kind == 0) {
                key = "L" + std::to_string(row);
                map = dialog;
                lookup += (lookup.empty() ? "" : "\n") + map + "." + key + "." + original;
            } else if (kind == 1) {
                key = id;
                map = lineText(input, 6);
                lookup += "\n" + map + "\n" + original;
            } else {
                key = "ZIVIDIRU$V" + std::to_string(group) + "$ZIVIDIRU";
                map = "Localization Variable";
            }
            project.keys += key + "\r\n";
            project.originals += original + "\r\n";
            project.maps += map + "\r\n";
            project.translations += translated + "\r\n";
        }
        if (kind == 2 || !input.ConsumeBool())
            continue;
        PackEntrySource entry{toUtf16(lookup), toUtf16(input.ConsumeRandomLengthString(64))};
        (kind == 0 ? pack.dialogs : pack.scripts).push_back(std::move(entry));
        if (input.ConsumeBool())
            pack.wellKnown.push_back({toUtf16(lineText(input, 8)), toUtf16(input.ConsumeRandomLengthString(8))});
    }
}

void damage(FuzzedDataProvider& input, std::vector<PackFile>& files)
{
    const int changes = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < changes; ++i) {
        std::string& bytes = files[input.ConsumeIntegralInRange<size_t>(1, files.size() - 1)].bytes;
        if (bytes.empty())
            continue;
        bytes[input.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1)] = static_cast<char>(input.ConsumeIntegral<uint8_t>());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const uint8_t flags = input.ConsumeIntegral<uint8_t>();
    const int shape = flags % 3;
    const bool overwrite = flags & 0x10;
    const bool useWellKnown = flags & 0x20;

    MemoryFileSystem files;
    files.addFolder(packFolder);
    Windows1252CodePage codePage;
    Project project;
    PackSource source;
    source.name = u"German";
    source.extension = u"German";
    source.format = (flags & 0x40) ? 3 : 4;
    std::vector<PackFile> packFiles;

    if (shape == 2) {
        generate(input, project, source);
        packFiles = buildPackFiles(source, codePage);
        damage(input, packFiles);
        packFiles[0].bytes = configurationBytes(configurationFieldsOf(source, packFiles));
    } else {
        packFiles = buildPackFiles(source, codePage);
        for (size_t i = 1; i < packFiles.size(); ++i)
            packFiles[i].bytes = input.ConsumeRandomLengthString(512);
        packFiles[0].bytes = shape == 0 ? input.ConsumeRandomLengthString(512)
                                        : configurationBytes(configurationFieldsOf(source, packFiles));
        project.keys = input.ConsumeRandomLengthString(256);
        project.originals = input.ConsumeRandomLengthString(256);
        project.maps = input.ConsumeRandomLengthString(256);
        project.translations = input.ConsumeRandomLengthString(4096);
    }
    for (const auto* list : {&project.keys, &project.originals, &project.maps, &project.translations})
        checkProjectList(*list);
    writePackFiles(files, packFolder, packFiles);
    writeProject(files, project);

    SilentMessages messages;
    WizardState state(files, codePage, messages);
    if (ScanLanguagePacks(state, programFolder) != 0)
        return 0;
    const std::u16string listPath = projectFolder + translatedListName(state.packs[0].extension);
    const auto before = files.file(listPath);
    const int result = TranslateProject(state, 1, keyListPath, overwrite, useWellKnown);
    const auto after = files.file(listPath);
    if (result == 0) {
        require(before && after);
        require(ProjectList::fromBytes(*after).size() == ProjectList::fromBytes(*before).size());
    } else {
        require(before == after);
    }
    return 0;
}
