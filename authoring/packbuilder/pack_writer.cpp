// Pack writing. Data files hold the scrambled entries back to back, each
// addressed by one index record; a text longer than an index record can
// address is refused rather than written wrong.

#include "pack_writer.h"

#include <stdexcept>

#include "wizard/language_table.h"
#include "wizard/md5.h"
#include "wizard/pack_indexes.h"

namespace pellion {

namespace {

int32_t checkedSize(size_t size)
{
    if (size > 0x7FFFFFFFu)
        throw std::length_error("a pack file grew beyond 2 GiB");
    return static_cast<int32_t>(size);
}

struct IndexAndData {
    std::string index;
    std::string data;
};

IndexAndData indexAndData(const std::vector<PackEntrySource>& entries, std::u16string_view key,
                          const AnsiCodePage& codePage)
{
    IndexAndData files;
    for (const auto& entry : entries) {
        const std::string bytes = scrambleText(entry.translation, key);
        files.index += indexRecordBytes(TextFingerprint(codePage, entry.lookupText), checkedSize(files.data.size()),
                                        checkedSize(bytes.size()));
        files.data += bytes;
        checkedSize(files.data.size());
    }
    return files;
}

}  // namespace

std::string configurationBytes(const ConfigurationFields& fields)
{
    std::string bytes = scrambledField(fields.signature, packTextKey);
    for (const int32_t number : {fields.format, fields.major, fields.minor, fields.build})
        bytes += int32Bytes(number);
    bytes += scrambledField(fields.name, packTextKey);
    bytes += scrambledField(fields.extension, packTextKey);
    for (const auto& entry : fields.entries) {
        if (entry.fileName.empty()) {
            bytes += int32Bytes(0);
            continue;
        }
        bytes += scrambledField(entry.fileName, packTextKey);
        bytes += scrambledField(entry.fingerprint, fingerprintKey);
    }
    return bytes;
}

std::string indexRecordBytes(std::u16string_view key, int32_t offset, int32_t length)
{
    std::string bytes;
    bytes.reserve(indexRecordSize);
    for (size_t i = 0; i < indexKeyCharacters; ++i) {
        const char16_t c = i < key.size() ? key[i] : u'\0';
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes + int32Bytes(offset) + int32Bytes(length);
}

std::vector<PackFile> buildPackFiles(const PackSource& source, const AnsiCodePage& codePage)
{
    const int languageCode = LanguageCodeOf(source.extension);
    const std::u16string key = packDataKey(source.format, languageCode, source.extension);

    const IndexAndData scripts = indexAndData(source.scripts, key, codePage);
    const IndexAndData dialogs = indexAndData(source.dialogs, key, codePage);
    std::string wellKnown;
    for (const auto& pair : source.wellKnown)
        wellKnown += scrambledField(pair.source, key) + scrambledField(pair.translation, key);

    std::vector<PackFile> files = {
        {std::u16string(configurationFileName), {}},
        {std::u16string(scriptDataFileName), scripts.data},
        {std::u16string(scriptIndexFileName), scripts.index},
        {std::u16string(dialogDataFileName), dialogs.data},
        {std::u16string(dialogIndexFileName), dialogs.index},
        {std::u16string(wellKnownFileName), wellKnown},
    };

    files[0].bytes = configurationBytes(configurationFieldsOf(source, files));
    return files;
}

ConfigurationFields configurationFieldsOf(const PackSource& source, const std::vector<PackFile>& packFiles)
{
    ConfigurationFields fields;
    fields.format = source.format;
    fields.major = source.major;
    fields.minor = source.minor;
    fields.build = source.build;
    fields.name = source.name;
    fields.extension = source.extension;
    for (size_t i = 0; i < fields.entries.size() && i + 1 < packFiles.size(); ++i)
        fields.entries[i] = {packFiles[i + 1].name, md5Hex(packFiles[i + 1].bytes)};
    return fields;
}

bool writePackFiles(FileSystem& files, std::u16string_view packFolder, const std::vector<PackFile>& packFiles)
{
    const std::u16string folder = withTrailingBackslash(packFolder);
    for (const auto& file : packFiles) {
        const std::string_view pieces[] = {file.bytes};
        if (!files.writeFile(folder + file.name, pieces))
            return false;
    }
    return true;
}

}  // namespace pellion
