// The pack scan. Pack folders are the subfolders without an extension; each
// is read through PackReader, so a configuration.dat that ends inside a field
// cannot make the scan read or allocate beyond it. A file that ends inside
// the header (signature to language extension) counts as an invalid header;
// one that ends inside the file entries leaves those entries unaccepted.

#include "pack_scan.h"

#include "common/numbers.h"
#include "wizard/language_table.h"
#include "wizard/md5.h"
#include "wizard/pack_format.h"

namespace pellion {

namespace {

void skipMessage(WizardState& state, std::u16string_view title, const std::u16string& packFolder,
                 std::u16string_view complaint)
{
    state.messages.show(title, u"The Language Pack located in '" + packFolder + u"' contains " + std::u16string(complaint)
                                   + u". This Language Pack will be skipped!");
}

// A name that stays inside the pack folder.
bool isPlainFileName(std::u16string_view name)
{
    if (name.empty() || name == u"." || name == u"..")
        return false;
    for (const char16_t c : name)
        if (c == u'\\' || c == u'/' || c == u':')
            return false;
    return true;
}

struct AcceptedFile {
    std::u16string path;
    std::u16string fingerprint;
};

// One file entry. Nothing when the configuration ends inside it; an empty
// path when the entry is not accepted.
std::optional<AcceptedFile> readFileEntry(WizardState& state, PackReader& reader, const std::u16string& packFolder)
{
    const auto count = reader.readInt32();
    if (!count)
        return std::nullopt;
    if (*count <= 0)
        return AcceptedFile{};
    const auto name = reader.readScrambled(*count, packTextKey);
    if (!name)
        return std::nullopt;
    const auto fingerprint = reader.readScrambledField(fingerprintKey);
    if (!fingerprint)
        return std::nullopt;
    if (!isPlainFileName(*name))
        return AcceptedFile{};
    const std::u16string path = packFolder + *name;
    const EntryInfo info = state.files.entryInfo(path);
    if (info.kind != EntryKind::file || info.size == 0)
        return AcceptedFile{};
    if (fileFingerprint(state.files, path) != *fingerprint)
        return AcceptedFile{};
    return AcceptedFile{path, *fingerprint};
}

void scanPackFolder(WizardState& state, const std::u16string& packFolder)
{
    const std::u16string configurationPath = packFolder + std::u16string(configurationFileName);
    const EntryInfo info = state.files.entryInfo(configurationPath);
    if (info.kind != EntryKind::file || info.size <= smallestSkippedConfiguration)
        return;
    auto file = state.files.openForReading(configurationPath);
    if (!file)
        return;
    PackReader reader(*file);

    auto invalidHeader = [&] { skipMessage(state, u"Invalid Language Pack Header", packFolder, u"an invalid header"); };
    const auto signatureCount = reader.readInt32();
    if (!signatureCount)
        return invalidHeader();
    std::u16string signature;
    if (*signatureCount == static_cast<int32_t>(packSignature.size() * 2))
        signature = reader.readScrambled(*signatureCount, packTextKey).value_or(u"");
    if (signature != packSignature)
        return invalidHeader();

    const auto format = reader.readInt32();
    if (!format)
        return invalidHeader();
    if (*format != 3 && *format != 4)
        return skipMessage(state, u"Invalid Language Pack Version", packFolder,
                           u"the unsuppored version " + formatInt(*format));

    const auto major = reader.readInt32();
    const auto minor = reader.readInt32();
    const auto build = reader.readInt32();
    const auto name = reader.readScrambledField(packTextKey);
    const auto extension = name ? reader.readScrambledField(packTextKey) : std::nullopt;
    if (!major || !minor || !build || !name || !extension)
        return invalidHeader();
    const int languageCode = LanguageCodeOf(*extension);
    if (languageCode == 0)
        return skipMessage(state, u"Invalid Language Pack Extension", packFolder,
                           u"the unknown language extension '" + *extension + u"'");

    LanguagePack pack;
    pack.languageCode = languageCode;
    pack.format = *format;
    pack.major = *major;
    pack.minor = *minor;
    pack.build = *build;
    pack.name = *name;
    pack.extension = *extension;

    AcceptedFile entries[5];
    for (auto& entry : entries) {
        const auto read = readFileEntry(state, reader, packFolder);
        if (!read)
            break;  // the configuration ends here: this entry and the rest stay empty
        entry = *read;
    }
    file.reset();

    pack.scriptDataPath = entries[0].path;
    pack.scriptDataFingerprint = entries[0].fingerprint;
    pack.scriptIndexPath = entries[1].path;
    pack.dialogDataPath = entries[2].path;
    pack.dialogDataFingerprint = entries[2].fingerprint;
    pack.dialogIndexPath = entries[3].path;
    pack.wellKnownPath = entries[4].path;
    pack.dataKey = packDataKey(pack.format, pack.languageCode, pack.extension);
    pack.id = static_cast<int>(state.packs.size()) + 1;
    state.packs.push_back(std::move(pack));
}

bool hasNoExtension(std::u16string_view name)
{
    return name.find(u'.') == std::u16string_view::npos;
}

}  // namespace

int ScanLanguagePacks(WizardState& state, std::u16string_view folder)
{
    try {
        state.packs.clear();
        state.indexes.clear();
        const std::u16string programFolder = withTrailingBackslash(folder);
        const auto entries = state.files.listFolder(programFolder);
        if (!entries)
            return -2;
        for (const auto& entry : *entries) {
            if (entry.isFolder && hasNoExtension(entry.name))
                scanPackFolder(state, programFolder + entry.name + u"\\");
        }
        state.packsScanned = true;
        return state.packs.empty() ? -1 : 0;
    } catch (...) {
        return -99;
    }
}

}  // namespace pellion

