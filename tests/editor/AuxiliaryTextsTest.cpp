#include "GuiTestSupport.h"
#include "ModalDialogProbe.h"

#include "AuxiliaryTexts.h"
#include "DataExchange.h"
#include "TestSupport.h"
#include "WideText_win.h"

namespace {

std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(u'\n', start)) != std::u16string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(IndexNumbersText, RowZeroPadsOnlyTheFirstLineAndEndsWithoutLineFeed) {
    std::vector<std::u16string> lines = Lines(IndexNumbersText(0));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"String.tbl:\t\t00000\t0000h");
    EXPECT_EQ(lines[1], u"Patchstring.tbl:\t\t10000\t2710h");
    EXPECT_EQ(lines[2], u"Expansionstring.tbl:\t20000\t4E20h");
    EXPECT_EQ(lines[5], u"CustomString3.tbl:\t\t50000\tC350h");
}

TEST(IndexNumbersText, BasesStepByTenThousand) {
    std::vector<std::u16string> lines = Lines(IndexNumbersText(37));
    EXPECT_EQ(lines[0], u"String.tbl:\t\t00037\t0025h");
    EXPECT_EQ(lines[1], u"Patchstring.tbl:\t\t10037\t2735h");
    EXPECT_EQ(Lines(IndexNumbersText(9999))[1], u"Patchstring.tbl:\t\t19999\t4E1Fh");
    EXPECT_EQ(Lines(IndexNumbersText(9999))[4], u"CustomString2.tbl:\t\t49999\tC34Fh");
}

TEST(ColourTokensText, ListsTheThirteenTokensInTableOrder) {
    std::vector<std::u16string> lines = Lines(ColourTokensText());
    ASSERT_EQ(lines.size(), 14u);  // 13 lines, each with its line feed
    EXPECT_EQ(lines[0], u"\\red;");
    EXPECT_EQ(lines[10], u"\\dgrey;");
    EXPECT_EQ(lines[12], u"\\black;");
    EXPECT_EQ(lines[13], u"");
}

TEST(ItemText, ReversesTheLines) {
    EXPECT_EQ(ItemText(u"A\nB\nC"), u"C\nB\nA\n");
    EXPECT_EQ(ItemText(u"single"), u"single\n");
}

TEST(ItemText, FinalLineFeedGivesAnEmptyFirstLine) { EXPECT_EQ(ItemText(u"A\nB\n"), u"\nB\nA\n"); }

TEST(AboutText, NamesProgramAndVersion) { EXPECT_EQ(AboutText(), u"Strindle 1.11u"); }

class TextViews : public MainWindowTest {};

TEST_F(TextViews, IndexNumbersShowsTheCaretRowsNumbers) {
    std::wstring path = (scratch_ / "t.tbl").wstring();
    WriteTable(path, {u"a", u"b", u"c"}, {u"x", u"y", u"z"});
    OpenWindow();
    OpenFile(path);
    SelectRow(2);
    std::wstring shown;
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_INDEXNUMBERS); },
                       [&](HWND dialog) {
                           shown = WindowText(GetDlgItem(dialog, IDC_INDEXNUMBERS));
                           EXPECT_EQ(WindowText(dialog), L"Index Numbers");
                       }));
    EXPECT_NE(shown.find(L"00002\t0002h"), std::wstring::npos) << std::string(shown.begin(), shown.end());
    EXPECT_NE(shown.find(L"50002\tC352h"), std::wstring::npos);
}

TEST_F(TextViews, ShowTextOnItemOpensTheItemTextView) {
    std::wstring path = (scratch_ / "t.tbl").wstring();
    WriteTable(path, {u"a"}, {u"A\nB\nC"});
    OpenWindow();
    OpenFile(path);
    std::wstring shown;
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_SHOWTEXTONITEM); },
                       [&](HWND dialog) { shown = WindowText(GetDlgItem(dialog, IDC_VALUE)); }));
    // The rich edit control gives its line breaks back as carriage return and line feed.
    std::wstring lines;
    for (wchar_t c : shown)
        if (c != L'\r')
            lines += c;
    EXPECT_EQ(lines.substr(0, 6), L"C\nB\nA\n");
}

TEST_F(TextViews, ColorCodesAndAboutShowTheirTexts) {
    OpenWindow();
    std::wstring colours, about;
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_HELP_COLORCODES); },
                       [&](HWND dialog) { colours = WindowText(GetDlgItem(dialog, IDC_COLORCODES)); }));
    EXPECT_EQ(colours.substr(0, 5), L"\\red;");
    EXPECT_NE(colours.find(L"\\black;"), std::wstring::npos);
    EXPECT_TRUE(InspectModalDialog([&] { SendMessageW(Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); },
                       [&](HWND dialog) { about = WindowText(GetDlgItem(dialog, IDC_ABOUTTEXT)); }));
    EXPECT_EQ(about, L"Strindle 1.11u");
}

}  // namespace
