#include "TranslationCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The placeholders' texts, split by spaces.
std::string PlaceholderTexts(std::u16string_view value) {
    std::string texts;
    for (const Placeholder& p : FindPlaceholders(value)) {
        texts += texts.empty() ? "" : " ";
        for (const char16_t c : p.Text)
            texts += static_cast<char>(c);
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
        std::u16string Value;
        std::string Found;  // the placeholders FindPlaceholders reads in Value
        std::u16string Other;
        bool Same;          // whether Value and Other take the same arguments, either way round
    };
    const Case cases[] = {
        // The game's own: positional 0 to 2 against three printf placeholders, in another order.
        {u"%d%% Chance to cast level %d %s when you Die", "%d %d %s",
         u"%0%% de chances de lancer %2 - niv. %1 quand vous mourez", true},
        {u"%s (%s) requested to be Real ID friends.", "%s %s", u"%s a demand\u00E9 \u00E0 \u00EAtre ami.", false},
        {u"Level %d %s Aura When Equipped", "%d %s", u"%s-Aura Level %d", false},
        // %% is a percent sign, also before a conversion letter or after a placeholder.
        {u"%%d", "", u"100%% sure", true},
        {u"%%d", "", u"%d", false},
        {u"%+d%%", "%+d", u"%+d%% more", true},
        {u"%+d%%", "%+d", u"%d%%", false},
        {u"%0%%", "%0", u"%d%%", true},
        {u"%+0 to Strength", "%+0", u"%+d to Strength", true},
        // A % that starts nothing: at the end, before a sign alone, a minus or another letter.
        {u"50%", "", u"", true},
        {u"up to %+", "", u"% off, %-d, %y", true},
        // Digits before a conversion letter belong to a printf placeholder, else they number one.
        {u"%2d", "%2d", u"%0", true},
        {u"%2d", "%2d", u"%d", false},
        {u"%i %u %x %c", "%i %u %x %c", u"%3 %2 %1 %0", true},
        {u"%5 secondes", "%5", u"%d seconds", false},
        {u"%99999999999999999999", "%99999999999999999999", u"%d", false},
        // Positional against printf, and printf order.
        {u"%1 %0", "%1 %0", u"%d %s", true},
        {u"%s %d", "%s %d", u"%d %s", false},
        {u"%0 %1", "%0 %1", u"%1 %0", true},
        // A gap leaves an argument out; a repeat shows one twice.
        {u"%0 %2", "%0 %2", u"%d %d %d", false},
        {u"%0 %2", "%0 %2", u"%2 %0", true},
        {u"%0 %0 %1", "%0 %0 %1", u"%d %s", true},
        {u"%0 %0", "%0 %0", u"%d %d", false},
        {u"%0 %1 %1", "%0 %1 %1", u"%1 %0", true},
        // No placeholder against some.
        {u"", "", u"%0", false},
        {u"", "", u"%d", false},
        // Mixed kinds pass only against the same placeholders in the same order.
        {u"%d and %0", "%d %0", u"%d und %0", true},
        {u"%d and %0", "%d %0", u"%d %d", false},
        {u"%d and %0", "%d %0", u"%0 %1", false},
    };
    for (const Case& c : cases) {
        const std::string value(c.Value.begin(), c.Value.end()), other(c.Other.begin(), c.Other.end());
        EXPECT_EQ(PlaceholderTexts(c.Value), c.Found) << value;
        EXPECT_EQ(SameArguments(FindPlaceholders(c.Value), FindPlaceholders(c.Other)), c.Same) << value << " / " << other;
        EXPECT_EQ(SameArguments(FindPlaceholders(c.Other), FindPlaceholders(c.Value)), c.Same) << other << " / " << value;
    }
}

TEST(TranslationCheck, FindingsOfEachKindInTheTablesOrderThenMissing) {
    const std::vector<TblEntry> reference = {
        {u"k", u"first %d"},  {u"k", u"second %s"}, {u"gone", u"x"},
        {u"col", u"\u00FFc1Red \u00FFc4Gold"}, {u"lines", u"a\nb"},
    };
    const std::vector<TblEntry> table = {
        {u"k", u"erste %d"}, {u"col", u"\u00FFc4Gold \u00FFc4Gold \u00FFc\n"}, {u"k", u"zweite %d"},
        {u"new", u"y"}, {u"lines", u"%d ab"},
    };
    using F = TranslationFinding;
    const std::vector<F> expected = {
        {F::Colours, 1, 3, "\\red; only in the reference, \u00FFcU+000A \\gold; only here"},
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
