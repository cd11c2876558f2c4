// The readable source of a language pack: UTF-8 text files in one folder.
//
//   pack.txt       settings, one "name = value" per line: name, extension,
//                  format (3 or 4), version (major.minor.build)
//   dialogs.txt    dialog-group translations
//   scripts.txt    script-group translations
//   wellknown.txt  well-known pairs
//
// In the three entry files an entry is one or more lines starting with ">",
// the lines of its lookup text, followed by one or more lines starting with
// "=", its translation, one line per row. A well-known pair is one ">" line
// and one "=" line. Text after the marker is taken exactly, blanks included.
// Empty lines and lines starting with "#" are ignored; anything else is an
// error. Only pack.txt is required.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "authoring/packbuilder/pack_writer.h"

namespace pellion {

inline constexpr std::u16string_view packSettingsFileName = u"pack.txt";
inline constexpr std::u16string_view dialogSourceFileName = u"dialogs.txt";
inline constexpr std::u16string_view scriptSourceFileName = u"scripts.txt";
inline constexpr std::u16string_view wellKnownSourceFileName = u"wellknown.txt";

struct ParsedPackSource {
    std::optional<PackSource> pack;
    std::string error;  // "file:line: what is wrong" when pack is empty
};

ParsedPackSource parsePackSource(std::string_view settings, std::string_view dialogs, std::string_view scripts,
                                 std::string_view wellKnown);

ParsedPackSource readPackSource(FileSystem& files, std::u16string_view sourceFolder);

}  // namespace pellion
