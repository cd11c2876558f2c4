// The indexes of the pack in use: loading its two index files and its
// well-known pairs, the lookup of a pack text by fingerprint, and the
// fingerprint of a lookup text.
#pragma once

#include <string>
#include <string_view>

#include "common/translation_project.h"
#include "wizard/wizard_state.h"

namespace pellion {

// Replaces the loaded indexes with those of the pack. 0; -200 when no pack has
// the id; -201 when an index file or the well-known file cannot be opened
// (the loaded indexes are then empty); -299 on an unexpected failure.
int LoadPackIndexes(WizardState& state, int id);

// The text the index gives for the fingerprint (compared in upper case with
// the keys as stored, first record in file order), read from the data file
// with the pack data key. The empty text without a data file, without a
// matching record, or when the record does not lie within the data file.
std::u16string LookupPackText(std::u16string_view fingerprint, const PackIndex& index, InputFile* dataFile,
                              std::u16string_view key);

// The upper-case hexadecimal MD5 of the text in the ANSI code page.
std::u16string TextFingerprint(const AnsiCodePage& codePage, std::u16string_view text);

}  // namespace pellion
