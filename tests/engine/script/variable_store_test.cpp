#include "engine/script/variable_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/numbers.h"
#include "common/text.h"

using namespace pellion;

namespace {

TEST(VariableStore, NamesMatchWithoutLetterCaseAndKeepTheirFirstSpelling)
{
    TVariableManager store;
    store.Add(u"TargetDir", u"C:\\one\\");
    store.SetItem(u"TARGETDIR", u"C:\\two\\");
    EXPECT_EQ(store.GetItem(u"targetdir"), u"C:\\two\\");
    EXPECT_EQ(store.Count(), 1u);
    std::vector<std::u16string> names;
    store.ListNames(names);
    EXPECT_EQ(names, std::vector<std::u16string>{u"TargetDir"});
}

TEST(VariableStore, EmptyNameIsNeverStoredAndMissingReadsEmpty)
{
    TVariableManager store;
    store.Add(u"", u"x");
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_FALSE(store.Exists(u""));
    EXPECT_EQ(store.GetItem(u"MISSING"), u"");
    EXPECT_FALSE(store.Find(u"MISSING").has_value());
    store.Remove(u"MISSING");  // nothing to remove: no effect
    store.Add(u"A", u"");
    EXPECT_TRUE(store.Exists(u"a"));
    store.Remove(u"a");
    EXPECT_FALSE(store.Exists(u"A"));
}

TEST(VariableStore, HashIsThePjwElfStepOverLowerCaseLetters)
{
    // h = h*16 + c, folding the top nibble back once it is reached.
    EXPECT_EQ(TVariableManager::HashOf(u""), 0u);
    EXPECT_EQ(TVariableManager::HashOf(u"a"), 0x61u);
    EXPECT_EQ(TVariableManager::HashOf(u"AB"), 0x61u * 16 + 0x62u);
    EXPECT_EQ(TVariableManager::HashOf(u"TargetDir"), TVariableManager::HashOf(u"targetdir"));
    // Eight letters push bits into the top nibble: the fold keeps h below 2^28.
    uint32_t h = 0;
    for (char16_t c : std::u16string(u"abcdefghij")) {
        h = (h << 4) + c;
        if (h >= 0x10000000u)
            h = h ^ ((h >> 28) << 4) ^ (h & 0xF0000000u);
    }
    EXPECT_EQ(TVariableManager::HashOf(u"ABCDEFGHIJ"), h);
    EXPECT_LT(TVariableManager::HashOf(u"a long variable name with many letters"), 0x10000000u);
}

// Listing goes bucket by bucket: with n names the bucket count is 32, doubled
// each time the count reaches twice the buckets, so the order of the names
// follows their hash modulo that count.
TEST(VariableStore, ListingOrderFollowsTheBucketGrowthRule)
{
    struct Case {
        size_t names;
        uint32_t buckets;
    };
    for (const Case c : {Case{5, 32}, Case{63, 32}, Case{64, 64}, Case{127, 64}, Case{128, 128}, Case{300, 256}}) {
        TVariableManager store;
        for (size_t i = 0; i < c.names; ++i)
            store.Add(u"VAR" + formatInt(static_cast<int64_t>(i * 7919)), u"v");
        std::vector<std::u16string> names;
        EXPECT_EQ(store.ListNames(names), c.names);
        ASSERT_EQ(names.size(), c.names);
        std::vector<uint32_t> buckets;
        for (const auto& name : names)
            buckets.push_back(TVariableManager::HashOf(name) % c.buckets);
        EXPECT_TRUE(std::is_sorted(buckets.begin(), buckets.end())) << c.names << " names";
    }
}

TEST(VariableStore, ListPairsGivesNameThenValue)
{
    TVariableManager store;
    store.Add(u"ONE", u"1");
    store.Add(u"TWO", u"2");
    std::vector<std::u16string> pairs;
    EXPECT_EQ(store.ListPairs(pairs), 2u);
    ASSERT_EQ(pairs.size(), 4u);
    for (size_t i = 0; i < 4; i += 2)
        EXPECT_EQ(store.GetItem(pairs[i]), pairs[i + 1]);
}

TEST(VariableStore, ClearForgetsEverything)
{
    TVariableManager store;
    for (int i = 0; i < 100; ++i)
        store.Add(u"V" + formatInt(i), u"x");
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_FALSE(store.Exists(u"V1"));
    store.Add(u"V1", u"y");
    EXPECT_EQ(store.GetItem(u"v1"), u"y");
}

TEST(VariableStore, WorkersAndReadersShareTheStoreSafely)
{
    TVariableManager store;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop) {
            (void)store.Expand(u"$QUAV_thProgress$ of $QUAV_thMax$");
            std::vector<std::u16string> names;
            store.ListNames(names);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        store.SetItem(u"QUAV_thProgress", formatInt(i));
        store.Add(u"WORKER" + formatInt(i % 300), u"x");
        if (i % 7 == 0)
            store.Remove(u"WORKER" + formatInt((i / 7) % 300));
    }
    stop = true;
    reader.join();
    EXPECT_EQ(store.GetItem(u"QUAV_thProgress"), u"1999");
}

struct ExpandCase {
    const char16_t* text;
    const char16_t* expected;
};

class Expansion : public ::testing::Test {
protected:
    Expansion()
    {
        store.Add(u"TITLE", u"Pellion");
        store.Add(u"NEWLINE", u"\r\n");
        store.Add(u"A", u"$B$");
        store.Add(u"B", u"word");
        store.Add(u"EMPTY", u"");
        store.Add(u"HALF", u"$TIT");
        store.Add(u"QUOTE", u"say \"hi\"");
    }
    TVariableManager store;
};

TEST_F(Expansion, ReplacesKnownReferencesAndKeepsTheRestAsWritten)
{
    const ExpandCase cases[] = {
        {u"no dollar at all", u"no dollar at all"},
        {u"Installing $TITLE$", u"Installing Pellion"},
        {u"$title$!", u"Pellion!"},
        {u"one$NEWLINE$two", u"one\r\ntwo"},
        {u"$UNKNOWN$ and $TITLE$", u"$UNKNOWN$ and Pellion"},
        {u"cost: 5$", u"cost: 5$"},
        {u"$", u"$"},
        {u"$$", u"$$"},
        {u"$$TITLE$", u"$Pellion"},
        {u"$A$", u"word"},
        {u"[$EMPTY$]", u"[]"},
        {u"$UNKNOWN$TITLE$", u"$UNKNOWNPellion"},
        {u"$HALF$LE$", u"Pellion"},  // a value may open a reference that the text closes
        {u"$TITLE$$TITLE$", u"PellionPellion"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(store.Expand(c.text), c.expected) << toUtf8(c.text);
}

TEST_F(Expansion, QuotedExpansionWrapsEachValue)
{
    EXPECT_EQ(store.ExpandQuoted(u"$TITLE$ = $B$"), u"\"Pellion\" = \"word\"");
    EXPECT_EQ(store.ExpandQuoted(u"$A$"), u"\"\"word\"\"");
    EXPECT_EQ(store.ExpandQuoted(u"$UNKNOWN$"), u"$UNKNOWN$");
}

TEST_F(Expansion, ManyReferencesToOneVariableAllExpand)
{
    std::u16string text;
    std::u16string expected;
    for (int i = 0; i < 500; ++i) {
        text += u"$TITLE$ ";
        expected += u"Pellion ";
    }
    EXPECT_EQ(store.Expand(text), expected);
}

TEST_F(Expansion, SelfReferencesEndWithTheReferenceLeftUnexpanded)
{
    store.Add(u"SELF", u"x$SELF$");
    store.Add(u"P", u"<$Q$>");
    store.Add(u"Q", u"[$P$]");
    store.Add(u"R", u"$R$$R$");
    EXPECT_EQ(store.Expand(u"$SELF$"), u"x$SELF$");
    EXPECT_EQ(store.Expand(u"$P$"), u"<[$P$]>");
    EXPECT_EQ(store.Expand(u"$Q$ $P$"), u"[<$Q$>] <[$P$]>");
    EXPECT_EQ(store.Expand(u"$R$"), u"$R$$R$");
    // Two separate references to the same self-referring variable each expand once.
    EXPECT_EQ(store.Expand(u"$SELF$-$SELF$"), u"x$SELF$-x$SELF$");
}

TEST_F(Expansion, ReferenceAcrossAValueBoundaryCannotLoop)
{
    // "$OPEN$Y$" expands to "$XY$", whose value leads back to "$OPEN$Y$".
    store.Add(u"OPEN", u"$X");
    store.Add(u"XY", u"$OPEN$Y$");
    EXPECT_EQ(store.Expand(u"$OPEN$Y$"), u"$OPEN$Y$");
}

TEST_F(Expansion, DoublingChainsStopAtTheSubstitutionBound)
{
    // Each level doubles the text: 2^40 references would never finish.
    for (int i = 0; i < 40; ++i)
        store.Add(u"L" + formatInt(i), u"$L" + formatInt(i + 1) + u"$$L" + formatInt(i + 1) + u"$");
    store.Add(u"L40", u"y");
    const std::u16string result = store.Expand(u"$L0$");
    EXPECT_LE(result.size(), TVariableManager::maxExpandedLength);
    EXPECT_NE(result.find(u'$'), std::u16string::npos);
}

}  // namespace
