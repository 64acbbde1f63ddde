#include "GuiTestSupport.h"

#include "DataExchange.h"
#include "ImageButton.h"

namespace {

class ImageButton : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        OpenWindow();
        button_.Attach(GetDlgItem(Window(), IDC_UP));
        SetWindowPos(button_.Handle(), nullptr, 0, 0, 27, 40, SWP_NOMOVE | SWP_NOZORDER);
    }
    CImageButton button_;
};

TEST_F(ImageButton, IconReplacesTheCaptionAndIsDrawnCentred) {
    EXPECT_EQ(WindowText(button_.Handle()), L"&Up");
    button_.SetIcon(IDI_UP);
    EXPECT_EQ(WindowText(button_.Handle()), L"");
    DrawnButton drawn(button_, 0);
    // The arrow's shaft, green in the icon, 16 x 16 centred in 27 x 40.
    EXPECT_EQ(drawn.Pixel(5 + 7, 12 + 10), RGB(0, 160, 0));
    EXPECT_EQ(drawn.Pixel(5 + 1, 12 + 12), GetSysColor(COLOR_BTNFACE));  // transparent part of the icon
}

TEST_F(ImageButton, BitmapLeavesItsTransparentColourOut) {
    button_.SetBitmap(IDB_BROWSE, RGB(192, 192, 192));
    EXPECT_EQ(WindowText(button_.Handle()), L"");
    DrawnButton drawn(button_, 0);
    // 16 x 16 centred in 27 x 40: the folder's yellow at (4, 6) of the picture, grey at (15, 0).
    EXPECT_EQ(drawn.Pixel(5 + 4, 12 + 6), RGB(255, 255, 0));
    EXPECT_EQ(drawn.Pixel(5 + 15, 12 + 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ImageButton, FocusRectangleStandsThreePixelsInside) {
    button_.SetIcon(IDI_UP);
    DrawnButton plain(button_, 0);
    DrawnButton focused(button_, ODS_FOCUS);
    bool differsOnTheFocusLine = false;
    for (int x = 3; x < 24; ++x)
        differsOnTheFocusLine |= plain.Pixel(x, 3) != focused.Pixel(x, 3);
    EXPECT_TRUE(differsOnTheFocusLine);
    EXPECT_EQ(plain.Pixel(13, 5), focused.Pixel(13, 5));  // inside the rectangle nothing changes
}

}  // namespace
