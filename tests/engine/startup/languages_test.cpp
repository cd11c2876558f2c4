#include "engine/startup/languages.h"

#include <gtest/gtest.h>

using namespace pellion;

namespace {

TEST(LanguageTable, NamesAndNumbersBothWays)
{
    struct Case { const char16_t* name; int number; };
    const Case cases[] = {
        {u"German", 1031}, {u"English", 1033}, {u"Spanish", 3082}, {u"Chinese (PRC)", 2052},
        {u"Portuguese (Portugal)", 2070}, {u"Basque", 1069}, {u"Vietnamese", 1066},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(languageNumberOf(c.name), c.number);
        EXPECT_EQ(languageNameOf(c.number), c.name);
    }
}

TEST(LanguageTable, MisspeltAndUnknownNames)
{
    EXPECT_EQ(languageNumberOf(u"german"), 1031);
    EXPECT_EQ(languageNumberOf(u"PORTUGESE (BRAZIL)"), 1046);
    EXPECT_EQ(languageNumberOf(u"portugese (portugal)"), 2070);
    EXPECT_EQ(languageNameOf(1046), u"Portuguese (Brazil)");
    EXPECT_EQ(languageNumberOf(u"Klingon"), 1033);
    EXPECT_EQ(languageNumberOf(u""), 1033);
    EXPECT_EQ(languageNameOf(9999), u"");
    EXPECT_EQ(languageNameOf(0), u"");
}

}  // namespace
