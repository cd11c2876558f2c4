// The state Lexwiz's pack work shares from the scan to the last translation:
// the pack list, the loaded indexes of the pack in use, and the services they
// need (files, the ANSI code page, message boxes). The program makes one;
// tests make a fresh one each.
#pragma once

#include <string_view>
#include <vector>

#include "common/translation_project.h"
#include "wizard/ansi_code_page.h"
#include "wizard/language_pack.h"

namespace pellion {

// Message boxes with only an OK button, owned by the wizard window.
class WizardMessages {
public:
    virtual ~WizardMessages() = default;
    virtual void show(std::u16string_view title, std::u16string_view text) = 0;
};

struct WizardState {
    WizardState(FileSystem& files, const AnsiCodePage& codePage, WizardMessages& messages)
        : files(files), codePage(codePage), messages(messages)
    {
    }

    FileSystem& files;
    const AnsiCodePage& codePage;
    WizardMessages& messages;

    bool packsScanned = false;
    std::vector<LanguagePack> packs;  // in scan order, id = position + 1
    LoadedIndexes indexes;

    const LanguagePack* findPack(int id) const
    {
        for (const auto& pack : packs)
            if (pack.id == id)
                return &pack;
        return nullptr;
    }
};

}  // namespace pellion
