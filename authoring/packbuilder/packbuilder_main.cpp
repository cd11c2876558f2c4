// packbuilder: makes a language pack folder from its readable source.
//
//   packbuilder [--format 3|4] SOURCE_FOLDER PACK_FOLDER
//
// The pack folder is created when missing; its six files are replaced.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "authoring/packbuilder/pack_source.h"
#include "common/text.h"
#include "wizard/ansi_code_page.h"

namespace {

using namespace pellion;

int usage()
{
    std::cerr << "usage: packbuilder [--format 3|4] SOURCE_FOLDER PACK_FOLDER\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::optional<int> format;
    if (arguments.size() >= 2 && arguments[0] == "--format") {
        if (arguments[1] != "3" && arguments[1] != "4")
            return usage();
        format = arguments[1] == "3" ? 3 : 4;
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.size() != 2)
        return usage();

    NativeFileSystem files;
    auto parsed = readPackSource(files, toUtf16(arguments[0]));
    if (!parsed.pack) {
        std::cerr << "packbuilder: " << arguments[0] << "/" << parsed.error << "\n";
        return 1;
    }
    PackSource& pack = *parsed.pack;
    if (format)
        pack.format = *format;

    std::error_code error;
    std::filesystem::create_directories(arguments[1], error);
    const Windows1252CodePage codePage;
    if (error || !writePackFiles(files, toUtf16(arguments[1]), buildPackFiles(pack, codePage))) {
        std::cerr << "packbuilder: cannot write the pack into " << arguments[1] << "\n";
        return 1;
    }
    std::cout << toUtf8(pack.name) << " (format " << pack.format << ", version " << pack.major << "." << pack.minor
              << "." << pack.build << "): " << pack.dialogs.size() << " dialog entries, " << pack.scripts.size()
              << " script entries, " << pack.wellKnown.size() << " well-known pairs -> " << arguments[1] << "\n";
    return 0;
}
