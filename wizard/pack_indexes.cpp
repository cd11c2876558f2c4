// Loading pack indexes and looking pack texts up. Index files are read in
// whole records; a trailing piece shorter than a record is ignored. A
// well-known file that ends inside a pair ends the list there.

#include "pack_indexes.h"

#include <vector>

#include "common/letter_case.h"
#include "wizard/md5.h"
#include "wizard/pack_format.h"

namespace pellion {

namespace {

bool loadIndex(FileSystem& files, const std::u16string& path, PackIndex& index)
{
    auto file = files.openForReading(path);
    if (!file)
        return false;
    constexpr size_t recordsPerRead = 1024;
    std::vector<char> buffer(indexRecordSize * recordsPerRead);
    const uint64_t records = file->size() / indexRecordSize;
    for (uint64_t first = 0; first < records; first += recordsPerRead) {
        const uint64_t left = records - first;
        const size_t count = left < recordsPerRead ? static_cast<size_t>(left) : recordsPerRead;
        const size_t wanted = count * indexRecordSize;
        if (file->readAt(first * indexRecordSize, std::span(buffer.data(), wanted)) != wanted)
            return true;  // the file shrank while being read: keep what was read
        for (size_t i = 0; i < count; ++i) {
            const char* record = buffer.data() + i * indexRecordSize;
            PackIndexRecord entry;
            entry.key.resize(indexKeyCharacters);
            for (size_t c = 0; c < indexKeyCharacters; ++c)
                entry.key[c] = static_cast<char16_t>(static_cast<uint8_t>(record[2 * c])
                                                     | (static_cast<uint8_t>(record[2 * c + 1]) << 8));
            entry.offset = int32At(record + indexKeyCharacters * 2);
            entry.length = int32At(record + indexKeyCharacters * 2 + 4);
            index.add(std::move(entry));
        }
    }
    return true;
}

bool hasLineBreak(std::u16string_view text)
{
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

bool loadWellKnown(FileSystem& files, const std::u16string& path, std::u16string_view key, WellKnownList& list)
{
    auto file = files.openForReading(path);
    if (!file)
        return false;
    PackReader reader(*file);
    while (!reader.atEnd()) {
        const auto source = reader.readScrambledField(key);
        const auto translation = source ? reader.readScrambledField(key) : std::nullopt;
        if (!translation)
            break;
        // Each side is one line; a side with a line break would add rows to
        // the project it is written into.
        if (!source->empty() && !translation->empty() && !hasLineBreak(*source) && !hasLineBreak(*translation))
            list.add({*source, *translation});
    }
    return true;
}

}  // namespace

int LoadPackIndexes(WizardState& state, int id)
{
    try {
        state.indexes.clear();
        const LanguagePack* pack = state.findPack(id);
        if (!pack)
            return -200;
        bool opened = true;
        if (!pack->scriptDataPath.empty() && !pack->scriptIndexPath.empty())
            opened = loadIndex(state.files, pack->scriptIndexPath, state.indexes.scripts);
        if (opened && !pack->dialogDataPath.empty() && !pack->dialogIndexPath.empty())
            opened = loadIndex(state.files, pack->dialogIndexPath, state.indexes.dialogs);
        if (opened && !pack->wellKnownPath.empty())
            opened = loadWellKnown(state.files, pack->wellKnownPath, pack->dataKey, state.indexes.wellKnown);
        if (!opened) {
            state.indexes.clear();
            return -201;
        }
        return 0;
    } catch (...) {
        state.indexes.clear();
        return -299;
    }
}

std::u16string LookupPackText(std::u16string_view fingerprint, const PackIndex& index, InputFile* dataFile,
                              std::u16string_view key)
{
    if (!dataFile)
        return {};
    const PackIndexRecord* record = index.find(asciiUpperCase(fingerprint));
    if (!record || record->offset < 0 || record->length <= 0)
        return {};
    const uint64_t end = static_cast<uint64_t>(record->offset) + static_cast<uint64_t>(record->length);
    if (end > dataFile->size())
        return {};
    PackReader reader(*dataFile, static_cast<uint64_t>(record->offset));
    return ReadScrambledText(reader, record->length, key);
}

std::u16string TextFingerprint(const AnsiCodePage& codePage, std::u16string_view text)
{
    return md5Hex(codePage.encode(text));
}

}  // namespace pellion
