// The byte layout of language pack files: 32-bit little-endian integers,
// scrambled text fields and their keys, index records. Reading goes through
// PackReader, which never reads past the bytes a file really holds and never
// allocates more than they amount to; pack files are untrusted input. The
// writing direction is here too, for the tool that makes packs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/translation_project.h"

namespace pellion {

inline constexpr std::u16string_view packSignature = u"Vantrel Language Pack";
inline constexpr std::u16string_view packTextKey = u"kzWOBNEFTUR";
inline constexpr std::u16string_view fingerprintKey = u"QZX";
inline constexpr std::u16string_view configurationFileName = u"configuration.dat";
// A configuration.dat of this size or less is passed over without a message.
inline constexpr uint64_t smallestSkippedConfiguration = 30;

// Index records: 32 UTF-16LE characters of key, then offset and length.
inline constexpr size_t indexKeyCharacters = 32;
inline constexpr size_t indexRecordSize = indexKeyCharacters * 2 + 4 + 4;

// The file names packs ship with.
inline constexpr std::u16string_view scriptDataFileName = u"scripts.dat";
inline constexpr std::u16string_view scriptIndexFileName = u"scripts.idx";
inline constexpr std::u16string_view dialogDataFileName = u"dialogs.dat";
inline constexpr std::u16string_view dialogIndexFileName = u"dialogs.idx";
inline constexpr std::u16string_view wellKnownFileName = u"translations.dat";

// Format 3 keeps pack texts plain; format 4 scrambles them with the decimal
// language code joined with the language extension as stored.
std::u16string packDataKey(int format, int languageCode, std::u16string_view extension);

// The text of scrambled bytes: each byte XOR-ed with the key's UTF-16LE bytes
// in turn (an empty key leaves them plain), then the first size / 2
// characters, cut at the first NUL.
std::u16string unscrambleText(std::string_view bytes, std::u16string_view key);
// The inverse: the text's UTF-16LE bytes XOR-ed with the key.
std::string scrambleText(std::u16string_view text, std::u16string_view key);

std::string int32Bytes(int32_t value);
int32_t int32At(const char* bytes);
// A scrambled text field: its byte count, then the scrambled bytes.
std::string scrambledField(std::u16string_view text, std::u16string_view key);

// Sequential reads from a pack file. A read that would need more bytes than
// the file holds from the current position yields nothing and moves nothing.
class PackReader {
public:
    explicit PackReader(InputFile& file, uint64_t position = 0) : file_(file), position_(position) {}

    uint64_t position() const { return position_; }
    uint64_t remaining() const;
    bool atEnd() const { return remaining() == 0; }

    std::optional<int32_t> readInt32();
    // count bytes of scrambled text; a count of 0 or less is the empty text
    // and reads nothing.
    std::optional<std::u16string> readScrambled(int32_t count, std::u16string_view key);
    // A whole scrambled text field: count, then the bytes.
    std::optional<std::u16string> readScrambledField(std::u16string_view key);
    std::optional<std::string> readBytes(uint64_t count);

private:
    InputFile& file_;
    uint64_t position_;
};

// The wizard's own reading of a scrambled text: the empty text when the file
// does not hold count bytes at the reader's position.
std::u16string ReadScrambledText(PackReader& file, int32_t count, std::u16string_view key);

}  // namespace pellion
