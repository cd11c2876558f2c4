// Benchmark of pre-translation: a generated project of many rows translated
// with two German packs in a row, timed side by side with the I/O floor, a
// plain read and rewrite of the same four project files, twice. Prints both
// medians and their ratio. Built and run by bench/pretranslate.sh.
//
//   pretranslate_bench WORK_FOLDER [ROWS] [ROUNDS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "authoring/packbuilder/pack_writer.h"
#include "common/text.h"
#include "common/translation_project.h"
#include "wizard/pack_scan.h"
#include "wizard/pretranslation.h"
#ifdef _WIN32
#include "common/wide.h"
#endif

using namespace pellion;
namespace fs = std::filesystem;

namespace {

class PrintedMessages final : public WizardMessages {
public:
    void show(std::u16string_view title, std::u16string_view text) override
    {
        std::fprintf(stderr, "%s: %s\n", toUtf8(title).c_str(), toUtf8(text).c_str());
    }
};

std::u16string pathText(const fs::path& path)
{
#ifdef _WIN32
    return fromWide(path.wstring());
#else
    return toUtf16(path.string());
#endif
}

struct Generated {
    std::string keys, originals, maps;
    PackSource first, second;
};

// Dialogs of ten controls (three of them buttons the well-known pairs know),
// statements of two parameters and variable rows. The first pack knows every
// even group, the second every third.
Generated generate(size_t rows)
{
    Generated out;
    out.first.name = u"German One";
    out.second.name = u"German Two";
    out.first.extension = out.second.extension = u"German";
    out.first.wellKnown = {{u"Cancel", u"Abbrechen"}, {u"< &Back", u"< &Zurück"}, {u"&Next >", u"&Weiter >"}};
    auto addRow = [&](const std::string& key, const std::string& original, const std::string& map) {
        out.keys += key + "\r\n";
        out.originals += original + "\r\n";
        out.maps += map + "\r\n";
    };
    size_t row = 0;
    for (size_t group = 0; row < rows; ++group) {
        std::string lookup;
        std::string translation;
        const auto number = std::to_string(group);
        if (group % 10 < 6) {
            const std::string map = "dialog" + number + ".dfm";
            for (int control = 0; control < 10 && row < rows; ++control, ++row) {
                const std::string key = "Control" + std::to_string(control);
                const std::string original = control == 7   ? "< &Back"
                                             : control == 8 ? "&Next >"
                                             : control == 9 ? "Cancel"
                                                            : "Text " + std::to_string(control) + " of dialog " + number;
                addRow(key, original, map);
                lookup += (lookup.empty() ? "" : "\n") + map + "." + key + "." + original;
                translation += (translation.empty() ? "" : "\r\n") + std::string("Übersetzung ") + original;
            }
        } else if (group % 10 < 9) {
            const std::string id = "{00000000-0000-4000-8000-" + std::string(12 - std::min<size_t>(12, number.size()), '0')
                                   + number + "}";
            lookup = id;
            for (int parameter = 1; parameter <= 2 && row < rows; ++parameter, ++row) {
                const std::string map = "MessageBox " + std::to_string(parameter);
                const std::string original = "Message " + std::to_string(parameter) + " of statement " + number;
                addRow(id, original, map);
                lookup += "\n" + map + "\n" + original;
                translation += (parameter > 1 ? "\r\n" : "") + std::string("Meldung ") + original;
            }
        } else {
            addRow("ZIVIDIRU$VAR" + number + "$ZIVIDIRU", "Value " + number, "Localization Variable");
            ++row;
            continue;
        }
        const bool dialog = group % 10 < 6;
        if (group % 2 == 0)
            (dialog ? out.first.dialogs : out.first.scripts).push_back({toUtf16(lookup), toUtf16(translation)});
        if (group % 3 == 0)
            (dialog ? out.second.dialogs : out.second.scripts).push_back({toUtf16(lookup), toUtf16(translation)});
    }
    return out;
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile(const fs::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: pretranslate_bench WORK_FOLDER [ROWS] [ROUNDS]\n");
        return 2;
    }
    const fs::path work = fs::absolute(argv[1]);
    const size_t rows = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 100000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;

    fs::remove_all(work);
    const fs::path programFolder = work / "Language Packs";
    const fs::path projectFolder = work / "Project";
    fs::create_directories(programFolder / "German1");
    fs::create_directories(programFolder / "German2");
    fs::create_directories(projectFolder);

    NativeFileSystem files;
    const Windows1252CodePage packCodePage;
    const Generated generated = generate(rows);
    writePackFiles(files, pathText(programFolder / "German1"), buildPackFiles(generated.first, packCodePage));
    writePackFiles(files, pathText(programFolder / "German2"), buildPackFiles(generated.second, packCodePage));
    const std::string bom(utf8ByteOrderMark);
    const fs::path lists[] = {projectFolder / "Setup.mtx", projectFolder / "translations.original",
                              projectFolder / "translations.map", projectFolder / "translations.German"};
    const std::string contents[] = {bom + generated.keys, bom + generated.originals, bom + generated.maps,
                                    bom + generated.originals};
    for (int i = 0; i < 4; ++i)
        writeFile(lists[i], contents[i]);

#ifdef _WIN32
    const SystemAnsiCodePage codePage;
#else
    const Windows1252CodePage codePage;
#endif
    PrintedMessages messages;
    WizardState state(files, codePage, messages);
    if (ScanLanguagePacks(state, pathText(programFolder)) != 0 || state.packs.size() != 2) {
        std::fprintf(stderr, "the packs were not found\n");
        return 1;
    }

    using Clock = std::chrono::steady_clock;
    std::vector<double> translating, floor;
    for (int round = 0; round < rounds; ++round) {
        writeFile(lists[3], contents[3]);
        const auto start = Clock::now();
        for (const int pack : {1, 2}) {
            const int result = TranslateProject(state, pack, pathText(lists[0]), false, true);
            if (result != 0) {
                std::fprintf(stderr, "pre-translation failed with %d\n", result);
                return 1;
            }
        }
        const auto translated = Clock::now();
        // The floor: what any pre-translation must at least do, twice.
        size_t bytes = 0;
        for (int pass = 0; pass < 2; ++pass) {
            std::string read[4];
            for (int i = 0; i < 4; ++i)
                bytes += (read[i] = readFile(lists[i])).size();
            for (int i = 0; i < 4; ++i)
                writeFile(lists[i], read[i]);
        }
        const auto done = Clock::now();
        translating.push_back(std::chrono::duration<double, std::milli>(translated - start).count());
        floor.push_back(std::chrono::duration<double, std::milli>(done - translated).count());
        if (bytes == 0)
            return 1;
    }
    const double translateMs = median(translating);
    const double floorMs = median(floor);
    std::printf("rows %zu, two packs: pre-translation %.1f ms, read and rewrite of the four files twice %.1f ms, "
                "ratio %.2f\n",
                rows, translateMs, floorMs, translateMs / floorMs);
    fs::remove_all(work);
    return 0;
}
