// The registration-script parser on its own: structure, marks, replacements and errors.
#include "RegistrationScript.h"

#include <gtest/gtest.h>

namespace {

ScriptParseResult Parse(const std::string& text, const std::map<std::string, std::string>& replacements = {}) {
    return ParseRegistrationScript(text, replacements);
}

TEST(RegistrationScript, ReadsKeysMarksDefaultAndNamedValues) {
    const ScriptParseResult result = Parse(R"(
HKCR
{
    Thing.1 = s 'A Thing'
    NoRemove CLSID
    {
        ForceRemove Inner = s 'inner text'
        {
            val ThreadingModel = s 'Apartment'
            ForceRemove Programmable
        }
    }
    Shared Claim Handler = s 'ours'
})");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.roots.size(), 1u);
    EXPECT_EQ(result.roots[0].name, "HKCR");
    const std::vector<ScriptKey>& keys = result.roots[0].keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[2].mark, KeyMark::Claim);
    EXPECT_TRUE(keys[2].shared);

    EXPECT_EQ(keys[0].name, "Thing.1");
    EXPECT_EQ(keys[0].mark, KeyMark::None);
    ASSERT_EQ(keys[0].values.size(), 1u);
    EXPECT_EQ(keys[0].values[0].name, "");
    EXPECT_EQ(keys[0].values[0].data, "A Thing");
    EXPECT_TRUE(keys[0].subkeys.empty());

    EXPECT_EQ(keys[1].name, "CLSID");
    EXPECT_EQ(keys[1].mark, KeyMark::NoRemove);
    EXPECT_TRUE(keys[1].values.empty());
    ASSERT_EQ(keys[1].subkeys.size(), 1u);

    const ScriptKey& inner = keys[1].subkeys[0];
    EXPECT_EQ(inner.name, "Inner");
    EXPECT_EQ(inner.mark, KeyMark::ForceRemove);
    ASSERT_EQ(inner.values.size(), 2u);
    EXPECT_EQ(inner.values[0].name, "");
    EXPECT_EQ(inner.values[0].data, "inner text");
    EXPECT_EQ(inner.values[1].name, "ThreadingModel");
    EXPECT_EQ(inner.values[1].data, "Apartment");
    ASSERT_EQ(inner.subkeys.size(), 1u);
    EXPECT_EQ(inner.subkeys[0].name, "Programmable");
    EXPECT_EQ(inner.subkeys[0].mark, KeyMark::ForceRemove);
    EXPECT_TRUE(inner.subkeys[0].values.empty());
}

TEST(RegistrationScript, KeywordsAreCaseInsensitiveAndQuotedNamesAreNotKeywords) {
    const ScriptParseResult result = Parse("HKCR { noremove A { VAL x = S 'y' } 'NoRemove' }");
    ASSERT_TRUE(result.ok) << result.error;
    const std::vector<ScriptKey>& keys = result.roots[0].keys;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].mark, KeyMark::NoRemove);
    ASSERT_EQ(keys[0].values.size(), 1u);
    EXPECT_EQ(keys[0].values[0].name, "x");
    EXPECT_EQ(keys[1].name, "NoRemove");
    EXPECT_EQ(keys[1].mark, KeyMark::None);
}

TEST(RegistrationScript, SharedMarkGoesBeforeTheRemovalMarkAndCoversOnlyItsKey) {
    const ScriptParseResult result =
        Parse("HKCR { Shared ForceRemove A shared NoRemove B { C } Shared D 'Shared' }");
    ASSERT_TRUE(result.ok) << result.error;
    const std::vector<ScriptKey>& keys = result.roots[0].keys;
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].name, "A");
    EXPECT_TRUE(keys[0].shared);
    EXPECT_EQ(keys[0].mark, KeyMark::ForceRemove);
    EXPECT_EQ(keys[1].name, "B");
    EXPECT_TRUE(keys[1].shared);
    EXPECT_EQ(keys[1].mark, KeyMark::NoRemove);
    ASSERT_EQ(keys[1].subkeys.size(), 1u);
    EXPECT_FALSE(keys[1].subkeys[0].shared);
    EXPECT_EQ(keys[2].name, "D");
    EXPECT_TRUE(keys[2].shared);
    EXPECT_EQ(keys[2].mark, KeyMark::None);
    EXPECT_EQ(keys[3].name, "Shared");
    EXPECT_FALSE(keys[3].shared);
}

TEST(RegistrationScript, QuotedTextHoldsBlanksBracesAndDoubledQuotes) {
    const ScriptParseResult result = Parse("HKCR { 'Key With {Braces}' = s 'it''s = fine' }");
    ASSERT_TRUE(result.ok) << result.error;
    const ScriptKey& key = result.roots[0].keys[0];
    EXPECT_EQ(key.name, "Key With {Braces}");
    EXPECT_EQ(key.values[0].data, "it's = fine");
}

TEST(RegistrationScript, ReplacesNamesInKeysAndValuesAndDoubledPercent) {
    const ScriptParseResult result =
        Parse("HKCR { %CLSID% = s '%MODULE%' { Share = s '100%%' } }",
              {{"CLSID", "{DF71FFD3-3FDD-45EF-8DDE-E292F5A12A6B}"}, {"MODULE", "C:\\Tools\\Dunmore.dll"}});
    ASSERT_TRUE(result.ok) << result.error;
    const ScriptKey& key = result.roots[0].keys[0];
    EXPECT_EQ(key.name, "{DF71FFD3-3FDD-45EF-8DDE-E292F5A12A6B}");
    EXPECT_EQ(key.values[0].data, "C:\\Tools\\Dunmore.dll");
    EXPECT_EQ(key.subkeys[0].values[0].data, "100%");
}

TEST(RegistrationScript, ReplacementTextIsTakenLiterally) {
    // A module path may hold quotes, braces or percent signs of its own.
    const std::string path = "C:\\Users\\O'Brien\\{100%}\\Dunmore.dll";
    const ScriptParseResult result = Parse("HKCR { Server = s '%MODULE%' }", {{"MODULE", path}});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.roots[0].keys[0].values[0].data, path);
}

TEST(RegistrationScript, AcceptsSeveralHivesAndAnEmptyScript) {
    const ScriptParseResult several = Parse("HKCR { A } HKCU { B }");
    ASSERT_TRUE(several.ok) << several.error;
    ASSERT_EQ(several.roots.size(), 2u);
    EXPECT_EQ(several.roots[1].name, "HKCU");
    EXPECT_EQ(several.roots[1].keys[0].name, "B");

    const ScriptParseResult empty = Parse("  \n ");
    EXPECT_TRUE(empty.ok) << empty.error;
    EXPECT_TRUE(empty.roots.empty());
}

struct BadScript {
    const char* text;
    const char* error;
};

class RegistrationScriptErrors : public testing::TestWithParam<BadScript> {};

TEST_P(RegistrationScriptErrors, NameTheLineAndTheFault) {
    const ScriptParseResult result = Parse(GetParam().text, {{"MODULE", "x"}});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    RegistrationScript, RegistrationScriptErrors,
    testing::Values(
        BadScript{"HKCR\n{\n  A = s 'open", "line 3: quoted text is not closed"},
        BadScript{"HKCR\n{\n  A = s 'x'\n", "line 4: '}' is missing at the end of the script"},
        BadScript{"HKCR A", "line 1: expected '{' after HKCR"},
        BadScript{"{ A }", "line 1: expected a hive name such as HKCR"},
        BadScript{"HKCR {\n A = d '1' }", "line 2: expected the value type s (string)"},
        BadScript{"HKCR { A = s x }", "line 1: expected quoted text after s"},
        BadScript{"HKCR { val A = s 'x' }", "line 1: a named value needs a key to belong to"},
        BadScript{"HKCR { A { val B s 'x' } }", "line 1: expected '=' after the value name"},
        BadScript{"HKCR { A = s '%CLSID%' }", "line 1: no replacement for %CLSID%"},
        BadScript{"HKCR { A = s '50% off' }", "line 1: '%' without its closing '%' in \"50% off\""},
        BadScript{"HKCR { '' }", "line 1: a key name is empty"},
        BadScript{"HKCR { ForceRemove }", "line 1: expected a key name"}));

TEST(RegistrationScript, RefusesNestingDeeperThanAnyRegistrationNeeds) {
    std::string text = "HKCR ";
    for (int i = 0; i < 100; ++i)
        text += "{ K ";
    text += std::string(100, '}');
    const ScriptParseResult result = Parse(text);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "line 1: keys are nested too deeply");
}

}  // namespace
