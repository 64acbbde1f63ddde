// Messages stay narrower than the screen: long paths inside them are shortened in the middle.
#include "ConvertTestSupport.h"

#include "MessageText.h"

#include <algorithm>

namespace {

size_t LongestRun(const std::wstring& text) {
    size_t longest = 0;
    size_t run = 0;
    for (wchar_t c : text) {
        run = iswspace(c) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST(ShortenLongRuns, KeepsTheStartAndEndOfALongPathAroundAnEllipsis) {
    const std::wstring path = L"PCXFiles\\" + std::wstring(200, L'x') + L"end.pcx";
    const std::wstring text = L"The file " + path + L" could not be created or written.";
    const std::wstring shortened = ShortenLongRuns(text, 40);
    EXPECT_EQ(shortened, L"The file PCXFiles\\xxxxxxxxx...xxxxxxxxxxxxend.pcx could not be created or written.");
    EXPECT_EQ(LongestRun(shortened), 40u);
}

TEST(ShortenLongRuns, LeavesShortRunsLinesAndSpacesAsTheyAre) {
    const std::wstring text = L"Span overrun @ 3\n\nDo you wish  to go on?\t";
    EXPECT_EQ(ShortenLongRuns(text, 10), text);
}

TEST(ShortenLongRuns, NeverSplitsASurrogatePair) {
    // U+1F600 as a pair at the cut on both sides.
    const std::wstring pair = L"\xD83D\xDE00";
    std::wstring run;
    for (int i = 0; i < 20; ++i)
        run += pair;
    const std::wstring shortened = ShortenLongRuns(run, 9);
    for (size_t i = 0; i < shortened.size(); ++i) {
        if (shortened[i] >= 0xD800 && shortened[i] <= 0xDBFF) {
            ASSERT_LT(i + 1, shortened.size());
            EXPECT_TRUE(shortened[i + 1] >= 0xDC00 && shortened[i + 1] <= 0xDFFF);
        }
    }
    EXPECT_NE(shortened.find(L"..."), std::wstring::npos);
    EXPECT_LE(shortened.size(), 9u);
}

using ConvertLongNames = ConvertWindowTest;

TEST_F(ConvertLongNames, ANoticeAboutA250CharacterNameShowsItsStartAndEndInALineThatFits) {
    const std::string name = "start" + std::string(238, 'n') + "end.dc6";
    ASSERT_EQ(name.size(), 250u);
    // Per-frame names ("...end0.pcx") are one character too long for the output path.
    WriteDc6(WorkingFolder() / name, SolidDc6(1, true));
    OpenWindow();
    Click(4);
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    ASSERT_EQ(prompts_.Messages.size(), 3u);
    const std::wstring notice = prompts_.Messages[1].Text;
    EXPECT_LE(LongestRun(notice), 64u) << std::string(notice.begin(), notice.end());
    EXPECT_NE(notice.find(L"PCXFiles\\startnnn"), std::wstring::npos);
    EXPECT_NE(notice.find(L"nnnend0.pcx"), std::wstring::npos);
    EXPECT_NE(notice.find(L"..."), std::wstring::npos);
}

}  // namespace
