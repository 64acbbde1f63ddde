#include "TblReplace.h"

#include "TblTestTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ReplaceTexts = std::vector<std::u16string>;

const ReplaceTexts ShownKeys = {u"WarrivGossip1", u"Stone", u"stone2", u"Key4"};

// Read from a file with "Parse On Load", as the editor shows it: the game code U+00FF "c1" of
// entry 1 comes as the token "\red;"; the "\n" there is the two characters the user typed.
TblDocument ShownTable(std::vector<uint8_t>& file) {
    TblBuilt built;
    std::string error;
    EXPECT_TRUE(TableOf(ShownKeys, {u"the Stone of\r\nJordan", u"\u00FFc1Stone\\n of Jordan", u"stone", u"STONE stone Stone\n"})
                    .Build(TblValueForm::Exact, built, error))
        << error;
    file.assign(built.Bytes.data(), built.Bytes.data() + built.Bytes.size());
    TblDocument document;
    EXPECT_TRUE(document.LoadBytes(file, true));
    return document;
}

const ReplaceTexts ShownValues = {u"the Stone of\r\nJordan", u"\\red;Stone\\n of Jordan", u"stone", u"STONE stone Stone\n"};

struct ReplaceAllCase {
    const char* name;
    TblReplaceQuery query;
    ReplaceTexts keys, values;     // afterwards
    std::string outcome;    // the summary, or the start of the refusal
};

const std::vector<ReplaceAllCase> ReplaceAllCases = {
    {"values, case ignored", {u"stone", u"Gem"}, ShownKeys,
     {u"the Gem of\r\nJordan", u"\\red;Gem\\n of Jordan", u"Gem", u"Gem Gem Gem\n"}, "6 replacements in 4 entries"},
    {"match case", {u"Stone", u"Gem", false, true}, ShownKeys,
     {u"the Gem of\r\nJordan", u"\\red;Gem\\n of Jordan", u"stone", u"STONE stone Gem\n"}, "3 replacements in 3 entries"},
    {"whole value", {u"STONE", u"Gem", false, false, true}, ShownKeys,
     {ShownValues[0], ShownValues[1], u"Gem", ShownValues[3]}, "1 replacements in 1 entries"},
    {"keys", {u"stone", u"Gem", true}, {ShownKeys[0], u"Gem", u"Gem2", ShownKeys[3]}, ShownValues, "2 replacements in 2 entries"},
    {"whole key", {u"stone", u"", true, false, true}, {ShownKeys[0], u"", ShownKeys[2], ShownKeys[3]}, ShownValues,
     "1 replacements in 1 entries"},
    {"colour token and line break", {u"\\red;stone\\n", u"\\blue;Gem "}, ShownKeys,
     {ShownValues[0], u"\\blue;Gem  of Jordan", ShownValues[2], ShownValues[3]}, "1 replacements in 1 entries"},
    {"line breaks however held: CR LF, the typed token, LF", {u"\\n", u" / "}, ShownKeys,
     {u"the Stone of / Jordan", u"\\red;Stone /  of Jordan", ShownValues[2], u"STONE stone Stone / "},
     "3 replacements in 3 entries"},
    {"no match", {u"Horadric", u"Gem"}, ShownKeys, ShownValues, "0 replacements in 0 entries"},
    {"empty find text", {u"", u"Gem"}, ShownKeys, ShownValues, "0 replacements in 0 entries"},
    {"key character above U+00FF", {u"Key", u"\u4E2D", true}, ShownKeys, ShownValues,
     "Entry 3 (Key4) would not fit a .tbl file after the replacement: the key"},
    {"value too long", {u"stone", std::u16string(40000, u'x')}, ShownKeys, ShownValues,
     "Entry 3 (Key4) would not fit a .tbl file after the replacement: the value is"},
    {"zero character", {u"Jordan", std::u16string(u"a\0b", 3)}, ShownKeys, ShownValues,
     "Entry 0 (WarrivGossip1) would not fit a .tbl file after the replacement: the value holds a zero"},
};

}  // namespace

TEST(TblReplace, ReplaceAllChangesEveryMatchAsOneStepOrRefusesAndChangesNothing) {
    for (const ReplaceAllCase& c : ReplaceAllCases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> file;
        TblDocument document = ShownTable(file);
        const TblReplaceAllResult result = TblReplacer(c.query).ReplaceAll(document, 2);
        EXPECT_TRUE((result.Refusal.empty() ? result.Summary() : result.Refusal).starts_with(c.outcome))
            << result.Summary() << " / " << result.Refusal;
        EXPECT_EQ(KeysOf(document), c.keys);
        EXPECT_EQ(ValuesOf(document), c.values);
        const bool changed = result.Entries > 0;
        ASSERT_EQ(document.History().CanUndo(), changed);
        if (!changed)
            continue;
        EXPECT_EQ(document.History().UndoName(), "Replace All");
        size_t focus = 0;
        ASSERT_TRUE(document.Undo(focus));
        EXPECT_EQ(focus, 2u);
        EXPECT_EQ(KeysOf(document), ShownKeys);
        EXPECT_EQ(ValuesOf(document), ShownValues);
        EXPECT_FALSE(document.History().CanUndo());
    }
}

TEST(TblReplace, FindNextGoesOnAtTheFirstEntryAfterTheLast) {
    struct Case {
        TblReplaceQuery query;
        TblTextPlace from;
        bool found;
        TblMatch match;
    };
    const Case cases[] = {
        {{u"stone"}, {0, 0}, true, {{0, 4}, 5}},
        {{u"stone"}, {0, 5}, true, {{1, 5}, 5}},
        {{u"stone"}, {3, 13}, true, {{0, 4}, 5}},
        {{u"Stone", u"", false, true}, {3, 1}, true, {{3, 12}, 5}},
        {{u"stone", u"", false, false, true}, {3, 0}, true, {{2, 0}, 5}},
        {{u"stone", u"", true}, {2, 1}, true, {{1, 0}, 5}},
        {{u"stone", u"", false, false, true}, {2, 1}, true, {{2, 0}, 5}},
        {{u"Horadric"}, {1, 0}, false, {}},
        {{u"stone"}, {9, 0}, true, {{0, 4}, 5}},
        {{u"of\\nj"}, {0, 0}, true, {{0, 10}, 5}},  // the line break held as CR LF
        {{u"stone\\n"}, {1, 0}, true, {{1, 5}, 7}},  // ...and as the typed token
    };
    std::vector<uint8_t> file;
    const TblDocument document = ShownTable(file);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from.Index << ":" << c.from.Position);
        TblMatch match;
        EXPECT_EQ(TblReplacer(c.query).FindNext(document, c.from, match), c.found);
        EXPECT_EQ(match.Place, c.match.Place);
        EXPECT_EQ(match.Length, c.match.Length);
    }
}

TEST(TblReplace, ReplaceAtChangesTheOneMatchAsAStepOrRefusesAnEntryTheFormatCannotHold) {
    struct Case {
        TblReplaceQuery query;
        TblTextPlace at;
        std::u16string value3;  // afterwards
        bool refused;
    };
    const Case cases[] = {
        {{u"stone", u"Gem"}, {3, 6}, u"STONE Gem Stone\n", false},
        {{u"stone", u"Gem"}, {3, 7}, ShownValues[3], false},  // no match starts there: nothing to do
        {{u"stone", std::u16string(u"\0", 1)}, {3, 0}, ShownValues[3], true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.at.Position);
        std::vector<uint8_t> file;
        TblDocument document = ShownTable(file);
        const std::string refusal = TblReplacer(c.query).ReplaceAt(document, c.at);
        EXPECT_EQ(!refusal.empty(), c.refused) << refusal;
        EXPECT_EQ(document.Value(3), c.value3);
        const std::string step = document.History().CanUndo() ? document.History().UndoName() : "";
        EXPECT_EQ(step, c.value3 != ShownValues[3] ? "Replace" : "");
    }
}
