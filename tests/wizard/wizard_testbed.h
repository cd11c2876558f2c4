// What the wizard's tests share: a fresh wizard state over an in-memory file
// system, packs written into it by the pack writer, and projects given as rows.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "authoring/packbuilder/pack_writer.h"
#include "tests/wizard/memory_file_system.h"
#include "wizard/wizard_state.h"

namespace pellion::testing {

class CollectedMessages final : public WizardMessages {
public:
    struct Message {
        std::u16string title;
        std::u16string text;
    };
    std::vector<Message> shown;
    void show(std::u16string_view title, std::u16string_view text) override
    {
        shown.push_back({std::u16string(title), std::u16string(text)});
    }
};

// One row of a project: key, original, map and translated line (UTF-8).
struct Row {
    std::string key;
    std::string original;
    std::string map;
    std::string translated;
};

// A row whose translation still equals its original.
Row untranslated(std::string key, std::string original, std::string map);

inline constexpr std::u16string_view programFolder = u"C:\\Lexwiz\\";
inline constexpr std::u16string_view projectFolder = u"C:\\Project\\";
inline constexpr std::u16string_view keyListPath = u"C:\\Project\\Setup.mtx";

// A pack source of the given language with no entries.
PackSource emptyPack(std::u16string name, std::u16string extension = u"German", int format = 4);

// The UTF-16 text of a UTF-8 literal, for lookup texts and translations.
std::u16string text(std::string_view utf8);

struct Testbed {
    MemoryFileSystem files;
    Windows1252CodePage codePage;
    CollectedMessages messages;
    WizardState state{files, codePage, messages};

    // Writes the pack into programFolder + folderName.
    void addPack(std::u16string_view folderName, const PackSource& source);
    std::u16string packFolder(std::u16string_view folderName) const;

    // The four lists of the project (BOM, CR LF), translated list of the extension.
    void addProject(const std::vector<Row>& rows, std::u16string_view extension = u"German");
    // The translated list's lines after a run (checks the BOM and the final CR LF).
    std::vector<std::string> translatedLines(std::u16string_view extension = u"German") const;

    int scan();
    int translate(int packId, bool overwrite = false, bool useWellKnown = false);
};

}  // namespace pellion::testing
