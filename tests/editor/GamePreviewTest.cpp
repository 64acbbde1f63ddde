// The game preview window: opened by its command, following the caret entry and typing,
// drawn in the game's colours, its place and state kept with the settings.
#include "GuiTestSupport.h"

#include "ItemTextLayout.h"
#include "WideText_win.h"

#include <map>

namespace {

COLORREF ColourOfRow(size_t row) {
    const GameColour& colour = GameTextColours[row];
    return RGB(colour.Red, colour.Green, colour.Blue);
}

// Where pixels of one colour stand in a drawing.
struct ColourSpread {
    int Count = 0;
    int Top = INT_MAX, Bottom = -1, Left = INT_MAX, Right = -1;
};

class GamePreview : public MainWindowTest {
protected:
    HWND PreviewWindow() { return Dialog().Preview() ? Dialog().Preview()->Handle() : nullptr; }
    bool PreviewOpen() { return Dialog().PreviewShown(); }
    // The preview as it draws itself, pixel colour by pixel colour.
    std::map<COLORREF, ColourSpread> Drawn(int width = 240, int height = 120) {
        Canvas canvas(width, height);
        Dialog().Preview()->Draw(canvas.Dc(), RECT{0, 0, width, height});
        std::map<COLORREF, ColourSpread> spread;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                ColourSpread& s = spread[canvas.Pixel(x, y)];
                ++s.Count;
                s.Top = std::min(s.Top, y);
                s.Bottom = std::max(s.Bottom, y);
                s.Left = std::min(s.Left, x);
                s.Right = std::max(s.Right, x);
            }
        return spread;
    }
};

TEST_F(GamePreview, CommandOpensAndClosesThePreviewWithACheckMark) {
    OpenTableOf(2);
    SendCommand(ID_VIEW_GAMEPREVIEW);
    ASSERT_TRUE(PreviewOpen());
    EXPECT_TRUE(MenuItemChecked(Window(), ID_VIEW_GAMEPREVIEW));
    EXPECT_EQ(WindowText(PreviewWindow()), L"Game Preview");
    SendCommand(ID_VIEW_GAMEPREVIEW);
    EXPECT_FALSE(PreviewOpen());
    EXPECT_FALSE(MenuItemChecked(Window(), ID_VIEW_GAMEPREVIEW));
}

TEST_F(GamePreview, ClosingThePreviewWindowHidesItAndClearsTheCheckMark) {
    OpenTableOf(1);
    SendCommand(ID_VIEW_GAMEPREVIEW);
    SendMessageW(PreviewWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(PreviewOpen());
    EXPECT_FALSE(MenuItemChecked(Window(), ID_VIEW_GAMEPREVIEW));
    EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(GamePreview, FollowsTheCaretEntryAndTyping) {
    OpenTable({u"a", u"b"}, {u"first\n\\red;second", u"other"});
    SendCommand(ID_VIEW_GAMEPREVIEW);
    EXPECT_EQ(Dialog().Preview()->Lines(),
              (std::vector<ItemTextLine>{{{u"second", 0}}, {{u"first", PlainTextColourRow}}}));
    SelectRow(1);
    EXPECT_EQ(Dialog().Preview()->Lines(), (std::vector<ItemTextLine>{{{u"other", PlainTextColourRow}}}));
    Type(L"\\blue;X");
    EXPECT_EQ(Dialog().Preview()->Lines(),
              (std::vector<ItemTextLine>{{{u"other", PlainTextColourRow}, {u"X", 2}}}));
}

TEST_F(GamePreview, DrawsTheLastLineOnTopCentredInItsColoursOnTheDarkBackground) {
    OpenTable({u"a"}, {u"\\blue;Magic Sword\n\\red;Cursed"});
    SendCommand(ID_VIEW_GAMEPREVIEW);
    std::map<COLORREF, ColourSpread> drawn = Drawn();
    EXPECT_GT(drawn[GameBackground].Count, 240 * 120 / 2);
    const ColourSpread red = drawn[ColourOfRow(0)];
    const ColourSpread blue = drawn[ColourOfRow(2)];
    ASSERT_GT(red.Count, 0) << "the red line is not drawn in the game's red";
    ASSERT_GT(blue.Count, 0) << "the blue line is not drawn in the game's blue";
    EXPECT_LT(red.Bottom, blue.Top) << "the value's last line stands on top";
    EXPECT_NEAR((red.Left + red.Right) / 2, 120, 3);
    EXPECT_NEAR((blue.Left + blue.Right) / 2, 120, 3);
    EXPECT_NEAR((red.Top + blue.Bottom) / 2, 60, 3) << "the lines stand in the middle";
}

TEST_F(GamePreview, OpenStateAndPlaceAreKeptForTheNextStart) {
    OpenTableOf(1);
    SendCommand(ID_VIEW_GAMEPREVIEW);
    MoveWindow(PreviewWindow(), 210, 220, 300, 180, FALSE);
    SendCommand(ID_FILE_EXIT);
    EXPECT_EQ(StoredNumber(L"Preview Open"), 1u);
    EXPECT_EQ(StoredNumber(L"Preview XPos"), 210u);
    EXPECT_EQ(StoredNumber(L"Preview Width"), 300u);

    dialog_.reset();
    OpenWindow();
    ASSERT_TRUE(PreviewOpen());
    EXPECT_EQ(PlaceOf(PreviewWindow()), (std::array<int, 4>{210, 220, 300, 180}));

    SendCommand(ID_VIEW_GAMEPREVIEW);
    SendCommand(ID_FILE_EXIT);
    EXPECT_EQ(StoredNumber(L"Preview Open"), 0u);
}

TEST_F(GamePreview, APlaceNoScreenShowsOpensBesideTheMainWindow) {
    StoreNumber(L"Preview Open", 1);
    StoreNumber(L"Preview XPos", static_cast<DWORD>(-30000));
    StoreNumber(L"Preview YPos", static_cast<DWORD>(-30000));
    StoreNumber(L"Preview Width", 300);
    StoreNumber(L"Preview Height", 180);
    OpenWindow();
    ASSERT_TRUE(PreviewOpen());
    RECT main, place;
    GetWindowRect(Window(), &main);
    GetWindowRect(PreviewWindow(), &place);
    EXPECT_EQ(place.left, main.right);
    EXPECT_EQ(place.top, main.top);
}

// Real values with colour codes, laid out and drawn: each coloured run shows in its colour.
TEST_F(GamePreview, RealTableValuesShowEachColourTheyHold) {
    SKIP_WITHOUT_REAL_DATA();
    OpenWindow();
    OpenFile((RealDataDir() / "tbl" / "vf_ENG_string.tbl").wstring());
    SendCommand(ID_VIEW_GAMEPREVIEW);
    const std::vector<std::u16string> keys = KeysOf(Dialog().Document);
    for (const char16_t* key : {u"strwhisperworked", u"D2bnetHelp6"}) {
        auto found = std::find(keys.begin(), keys.end(), key);
        ASSERT_NE(found, keys.end());
        SelectRow(static_cast<int>(found - keys.begin()));
        std::map<COLORREF, ColourSpread> drawn = Drawn(700, 60);
        for (const ItemTextLine& line : Dialog().Preview()->Lines())
            for (const ColourRun& run : line) {
                const std::string text(run.Text.begin(), run.Text.end());
                const int pixels = drawn[ColourOfRow(run.ColourRow)].Count;
                EXPECT_GT(pixels, 0) << text << " is not drawn in its colour (row " << run.ColourRow << ")";
                RecordProperty(std::string(key, key + std::char_traits<char16_t>::length(key)) + ": \"" + text +
                                   "\" row " + std::to_string(run.ColourRow),
                               pixels);
            }
    }
}

}  // namespace
