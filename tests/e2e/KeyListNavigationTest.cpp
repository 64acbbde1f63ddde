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
};

TEST_F(KeyListNavigation, AClickSelectsTheRowAndShowsItsEntry) {
    StrindleRun& run = StartOnRow(7);
    EXPECT_EQ(run.Selected(), std::vector<int>{7});
    EXPECT_EQ(run.Status(2), L"Index: 7(7h)/59(3Bh)");
    EXPECT_EQ(run.Title(), L"Strindle - nav.tbl") << "showing an entry changes nothing";
}

}  // namespace
