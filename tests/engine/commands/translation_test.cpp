// The translated-parameter rule over the three parallel tables.

#include <gtest/gtest.h>

#include "common/text.h"
#include "engine/commands/translation_tables.h"

using namespace pellion;

namespace {

TranslationTables germanTables()
{
    TranslationTables tables;
    tables.language = u"German";
    tables.keys = {u"{A1}", u"{A1}", u"ZIVIDIRU$GREETING$ZIVIDIRU", u"{B2}"};
    tables.original = {u"Hello", u"Second", u"Welcome", u"Edited"};
    tables.translated = {u"Hallo", u"Zweite", u"Willkommen #PRODUCT#", u"Bearbeitet"};
    tables.index();
    return tables;
}

std::u16string translated(const TranslationTables& tables, const char16_t* mode, const char16_t* key, int ordinal,
                          const char16_t* raw)
{
    return translateParameter(tables, mode, key, ordinal, raw,
                              [](const std::u16string& row) { return u"[" + row + u"]"; });
}

struct Case {
    const char16_t* mode;
    const char16_t* key;
    int ordinal;
    const char16_t* raw;
    const char16_t* result;
};

TEST(TranslatedParameters, ModesDecideWhatIsLookedUpAndChecked)
{
    const auto tables = germanTables();
    const Case cases[] = {
        {u"NEWONLY", u"{A1}", 1, u"Hello", u"[Hallo]"},
        {u"newonly", u"{a1}", 1, u"Hello", u"[Hallo]"},          // mode and key ignore letter case
        {u"NEWONLY", u"{A1}", 1, u"hello", u"hello"},            // the original comparison does not
        {u"NEWONLY", u"{A1}", 1, u"Hello again", u"Hello again"},  // edited after translation
        {u"NEWONLY", u"{A1}", 2, u"Second", u"[Zweite]"},
        {u"NEWONLY", u"{B2}", 1, u"Edited", u"[Bearbeitet]"},
        {u"NEWONLY", u"{B2}", 2, u"beyond", u"beyond"},          // past the tables' end
        {u"NEWONLY", u"{C3}", 1, u"Hello", u"Hello"},            // unknown key
        {u"ALL", u"{A1}", 1, u"anything", u"[Hallo]"},           // other modes skip the check
        {u"", u"{A1}", 1, u"anything", u"[Hallo]"},
        {u"VARSONLY", u"{A1}", 1, u"Hello", u"Hello"},           // only localized variables
        {u"varsonly", u"ZIVIDIRU$GREETING$ZIVIDIRU", 1, u"changed", u"[Willkommen #PRODUCT#]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translated(tables, c.mode, c.key, c.ordinal, c.raw), c.result)
            << "mode " << toUtf8(c.mode) << " raw " << toUtf8(c.raw);
}

TEST(TranslatedParameters, NoLanguageLoadedLeavesEveryText)
{
    auto tables = germanTables();
    tables.language.clear();
    EXPECT_EQ(translated(tables, u"NEWONLY", u"{A1}", 1, u"Hello"), u"Hello");
}

TEST(TranslatedParameters, TheFirstRowOfARepeatedKeyCounts)
{
    auto tables = germanTables();
    tables.keys[3] = u"{A1}";
    tables.index();
    EXPECT_EQ(translated(tables, u"ALL", u"{A1}", 1, u"x"), u"[Hallo]");
}

}  // namespace
