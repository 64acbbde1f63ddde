// The key list under real key presses: every navigation key moves from where the user is.
#include "EndToEndTest.h"

namespace {

class KeyListNavigation : public EndToEndTest {
protected:
    // Starts Strindle on a table of 60 entries and clicks row `row`.
    StrindleRun& StartOnRow(int row) {
        StrindleRun& run = Start({MakeTableOf("nav.tbl", 60)});
        EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
        ClickRow(run, row);
        EXPECT_TRUE(Becomes([&] { return run.Caret(); }, row));
        EXPECT_TRUE(Becomes([&] { return run.Value(); }, L"value" + std::to_wstring(row)));
        return run;
    }
    // Starts Strindle on a table of these keys, with values value0, value1..., and clicks `row`.
    StrindleRun& StartOnKeys(const std::vector<std::u16string>& keys, int row) {
        std::vector<std::u16string> values;
        for (size_t i = 0; i < keys.size(); ++i) {
            const std::string number = std::to_string(i);
            values.push_back(u"value" + std::u16string(number.begin(), number.end()));
        }
        StrindleRun& run = Start({MakeTable("keys.tbl", keys, std::move(values))});
        EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
        ClickRow(run, row);
        EXPECT_TRUE(Becomes([&] { return run.Caret(); }, row));
        return run;
    }
    // Presses `keys` and waits for the value of entry `row` to show with that row selected alone.
    void PressAndExpectRow(StrindleRun& run, const std::string& keys, int row) {
        Press(keys);
        EXPECT_TRUE(Becomes([&] { return run.Value(); }, L"value" + std::to_wstring(row))) << keys;
        EXPECT_EQ(run.Selected(), std::vector<int>{row}) << keys;
        EXPECT_EQ(run.Caret(), row) << keys;
    }
};

TEST_F(KeyListNavigation, AClickSelectsTheRowAndShowsItsEntry) {
    StrindleRun& run = StartOnRow(7);
    EXPECT_EQ(run.Selected(), std::vector<int>{7});
    EXPECT_EQ(run.Status(2), L"Index: 7(7h)/59(3Bh)");
    EXPECT_EQ(run.Title(), L"Strindle - nav.tbl") << "showing an entry changes nothing";
}

TEST_F(KeyListNavigation, ArrowKeysMoveFromTheClickedRow) {
    StrindleRun& run = StartOnRow(4);
    PressAndExpectRow(run, "Down", 5);
    EXPECT_EQ(run.Status(2), L"Index: 5(5h)/59(3Bh)");
    PressAndExpectRow(run, "Up Up", 3);
}

TEST_F(KeyListNavigation, HomeEndAndPageKeysMoveAsInAnyList) {
    StrindleRun& run = StartOnRow(10);
    PressAndExpectRow(run, "End", 59);
    PressAndExpectRow(run, "Home", 0);
    Press("Next");
    EXPECT_TRUE(WaitUntil([&] { return run.Caret() > 0; })) << "Page Down moves down a page";
    const int pageDown = run.Caret();
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, L"value" + std::to_wstring(pageDown)));
    PressAndExpectRow(run, "Prior", 0);
}

TEST_F(KeyListNavigation, ShiftExtendsTheSelectionFromTheClickedRow) {
    StrindleRun& run = StartOnRow(20);
    Press("shift+Down shift+Down");
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{20, 21, 22}));
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value22")));
    Press("shift+Up shift+Up shift+Up");
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{19, 20}));
}

TEST_F(KeyListNavigation, ALoneControlKeepsTheCaretRow) {
    StrindleRun& run = StartOnRow(12);
    Press("ctrl");
    PressAndExpectRow(run, "Down", 13);
}

TEST_F(KeyListNavigation, ATypedLetterGoesToTheNextKeyStartingWithIt) {
    StrindleRun& run = StartOnKeys({u"apple", u"Banana", u"avocado", u"berry", u"cherry"}, 1);
    PressAndExpectRow(run, "b", 3);
    PressAndExpectRow(run, "shift+b", 1);  // from the last row round to the top, in either case
    PressAndExpectRow(run, "a", 2);
    Press("z shift+Down");  // no key starts with z; Shift extends from the row the letter chose
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{2, 3}));
}

TEST_F(KeyListNavigation, LettersTypedTogetherGoToTheKeyStartingWithThemAll) {
    StrindleRun& run = StartOnKeys({u"apple", u"sat", u"rope", u"Strength", u"string"}, 0);
    TypeText("stri");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value4")));
    EXPECT_EQ(run.Selected(), std::vector<int>{4});
}

}  // namespace
