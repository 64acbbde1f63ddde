#include "ReferenceComparison.h"

#include "TblTestTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The placeholders' texts, split by spaces.
std::string PlaceholderTexts(std::string_view value) {
    std::string texts;
    for (const Placeholder& p : FindPlaceholders(value)) {
        texts += texts.empty() ? "" : " ";
        texts += p.Text;
    }
    return texts;
}

}  // namespace

// A finding as a failed comparison shows it.
void PrintTo(const TranslationFinding& f, std::ostream* out) {
    *out << "{kind " << f.What << ", index " << f.Index << ", reference " << f.ReferenceIndex << ", \"" << f.Detail << "\"}";
}

TEST(TranslationCheck, PlaceholderRule) {
    struct Case {
        std::string Value;
        std::string Found;  // the placeholders FindPlaceholders reads in Value
        std::string Other;
        bool Same;          // whether Value and Other take the same arguments, either way round
    };
    const Case cases[] = {
        // The game's own: positional 0 to 2 against three printf placeholders, in another order.
        {"%d%% Chance to cast level %d %s when you Die", "%d %d %s",
         "%0%% de chances de lancer %2 - niv. %1 quand vous mourez", true},
        {"%s (%s) requested to be Real ID friends.", "%s %s", "%s a demand\u00E9 \u00E0 \u00EAtre ami.", false},
        {"Level %d %s Aura When Equipped", "%d %s", "%s-Aura Level %d", false},
        // %% is a percent sign, also before a conversion letter or after a placeholder.
        {"%%d", "", "100%% sure", true},
        {"%%d", "", "%d", false},
        {"%+d%%", "%+d", "%+d%% more", true},
        {"%+d%%", "%+d", "%d%%", false},
        {"%0%%", "%0", "%d%%", true},
        {"%+0 to Strength", "%+0", "%+d to Strength", true},
        // A % that starts nothing: at the end, before a sign alone, a minus or another letter.
        {"50%", "", "", true},
        {"up to %+", "", "% off, %-d, %y", true},
        // Digits before a conversion letter belong to a printf placeholder, else they number one.
        {"%2d", "%2d", "%0", true},
        {"%2d", "%2d", "%d", false},
        {"%i %u %x %c", "%i %u %x %c", "%3 %2 %1 %0", true},
        {"%5 secondes", "%5", "%d seconds", false},
        {"%99999999999999999999", "%99999999999999999999", "%d", false},
        // Positional against printf, and printf order.
        {"%1 %0", "%1 %0", "%d %s", true},
        {"%s %d", "%s %d", "%d %s", false},
        {"%0 %1", "%0 %1", "%1 %0", true},
        // A gap leaves an argument out; a repeat shows one twice.
        {"%0 %2", "%0 %2", "%d %d %d", false},
        {"%0 %2", "%0 %2", "%2 %0", true},
        {"%0 %0 %1", "%0 %0 %1", "%d %s", true},
        {"%0 %0", "%0 %0", "%d %d", false},
        {"%0 %1 %1", "%0 %1 %1", "%1 %0", true},
        // No placeholder against some.
        {"", "", "%0", false},
        {"", "", "%d", false},
        // Mixed kinds pass only against the same placeholders in the same order.
        {"%d and %0", "%d %0", "%d und %0", true},
        {"%d and %0", "%d %0", "%d %d", false},
        {"%d and %0", "%d %0", "%0 %1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceholderTexts(c.Value), c.Found) << c.Value;
        EXPECT_EQ(SameArguments(c.Value, c.Other), c.Same) << c.Value << " / " << c.Other;
        EXPECT_EQ(SameArguments(c.Other, c.Value), c.Same) << c.Other << " / " << c.Value;
    }
}

TEST(TranslationCheck, FindingsOfEachKindInTheTablesOrderThenMissing) {
    const TblDocument reference = TableOf({u"k", u"k", u"gone", u"col", u"lines"},
                                          {u"first %d", u"second %s", u"x", u"\u00FFc1Red \u00FFc4Gold", u"a\nb"});
    const TblDocument table = TableOf({u"k", u"col", u"k", u"new", u"lines"},
                                      {u"erste %d", u"\u00FFc4Gold \u00FFc\u00E9 \u00FFc4Gold \u00FFc\n", u"zweite %d", u"y", u"%d ab"});
    using F = TranslationFinding;
    const std::vector<F> expected = {
        {F::Colours, 1, 3, "\\red; only in the reference, \u00FFcU+000A \\gold; \u00FFc\u00E9 only here"},
        {F::Lines, 1, 3, "0 line feeds in the reference, 1 here"},
        // The second "k" here is matched with the second "k" there.
        {F::Placeholders, 2, 1, "%s in the reference, %d here"},
        {F::Extra, 3, Unmatched, "not in the reference"},
        {F::Placeholders, 4, 4, "none in the reference, %d here"},
        {F::Lines, 4, 4, "1 line feed in the reference, 0 here"},
        {F::Missing, Unmatched, 2, "entry 2 of the reference"},
    };
    EXPECT_EQ(CheckTranslation(table, reference), expected);
    EXPECT_TRUE(CheckTranslation(reference, reference).empty());
}

// The editor's view: the same findings by entry, a step through them that goes round, and an
// edit taken back into them; an edited value's colour tokens count as the game's codes.
TEST(TranslationCheck, ComparisonByEntryFollowsEdits) {
    const TblDocument reference = TableOf({u"a", u"b", u"c", u"gone"}, {u"%d", u"\u00FFc1Red", u"x", u""});
    TblDocument table;
    ASSERT_TRUE(table.LoadBytes(TableFileOf({u"a", u"b", u"c", u"new"}, {u"%s", u"\u00FFc1Rot", u"y", u""}).Bytes(), true).Ok);
    ReferenceComparison comparison;
    comparison.Compare(table, reference);
    EXPECT_EQ(comparison.Match(2), 2u);
    EXPECT_EQ(comparison.Match(3), Unmatched);
    EXPECT_EQ(comparison.Problem(0), "placeholders: %d in the reference, %s here");
    EXPECT_EQ(comparison.Problem(3), "extra: not in the reference");
    EXPECT_EQ(comparison.ProblemCount(), 2u);
    EXPECT_EQ(comparison.MissingCount(), 1u);
    EXPECT_EQ(comparison.NextProblem(0, true), 3u);
    EXPECT_EQ(comparison.NextProblem(3, true), 0u);
    EXPECT_EQ(comparison.NextProblem(0, false), 3u);

    table.SetValue(0, u"%d");
    table.SetValue(1, u"\\red;Rot");  // the token of the red code, as "Parse On Load" shows it
    comparison.Recheck(table, reference, 0);
    comparison.Recheck(table, reference, 1);
    EXPECT_FALSE(comparison.HasProblem(0));
    EXPECT_FALSE(comparison.HasProblem(1));
    EXPECT_EQ(comparison.NextProblem(3, true), 3u);
}
