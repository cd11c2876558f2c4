// The wizard tests' shared testbed.

#include "wizard_testbed.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "wizard/pack_scan.h"
#include "wizard/pretranslation.h"

namespace pellion::testing {

Row untranslated(std::string key, std::string original, std::string map)
{
    Row row{std::move(key), original, std::move(map), original};
    return row;
}

PackSource emptyPack(std::u16string name, std::u16string extension, int format)
{
    PackSource source;
    source.name = std::move(name);
    source.extension = std::move(extension);
    source.format = format;
    return source;
}

std::u16string text(std::string_view utf8)
{
    return toUtf16(utf8);
}

void Testbed::addPack(std::u16string_view folderName, const PackSource& source)
{
    files.addFolder(packFolder(folderName));
    ASSERT_TRUE(writePackFiles(files, packFolder(folderName), buildPackFiles(source, codePage)));
}

std::u16string Testbed::packFolder(std::u16string_view folderName) const
{
    return std::u16string(programFolder) + std::u16string(folderName) + u"\\";
}

void Testbed::addProject(const std::vector<Row>& rows, std::u16string_view extension)
{
    std::string keys, originals, maps, translations;
    for (const auto& row : rows) {
        keys += row.key + "\r\n";
        originals += row.original + "\r\n";
        maps += row.map + "\r\n";
        translations += row.translated + "\r\n";
    }
    const std::string bom(utf8ByteOrderMark);
    const std::u16string folder(projectFolder);
    files.setFile(keyListPath, bom + keys);
    files.setFile(folder + u"translations.original", bom + originals);
    files.setFile(folder + u"translations.map", bom + maps);
    files.setFile(folder + translatedListName(extension), bom + translations);
}

std::vector<std::string> Testbed::translatedLines(std::u16string_view extension) const
{
    const auto bytes = files.file(std::u16string(projectFolder) + translatedListName(extension));
    if (!bytes)
        return {"<no translated list>"};
    EXPECT_TRUE(bytes->starts_with(utf8ByteOrderMark));
    EXPECT_TRUE(bytes->size() == utf8ByteOrderMark.size() || bytes->ends_with("\r\n"));
    const ProjectList list = ProjectList::fromBytes(*bytes);
    std::vector<std::string> lines;
    for (size_t row = 0; row < list.size(); ++row)
        lines.emplace_back(list.line(row));
    return lines;
}

int Testbed::scan()
{
    return ScanLanguagePacks(state, programFolder);
}

int Testbed::translate(int packId, bool overwrite, bool useWellKnown)
{
    return TranslateProject(state, packId, keyListPath, overwrite, useWellKnown);
}

}  // namespace pellion::testing
