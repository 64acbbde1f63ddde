// The recent-files list and the game preview under real clicks and key presses.
#include "EndToEndTest.h"

#include "ItemTextLayout.h"
#include "resource.h"

namespace {

class FeaturesFlow : public EndToEndTest {
protected:
    // Clicks the menu bar's "File" and waits for its menu. Wine keeps menus to their process, so
    // the items of another process's menu cannot be located: entries are then chosen by their
    // mnemonic key.
    void OpenFileMenuByClick(const StrindleRun& run) {
        POINT client{0, 0};
        ClientToScreen(run.Window(), &client);
        ClickAt(POINT{client.x + 12, client.y - GetSystemMetrics(SM_CYMENU) / 2});
        ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; })) << "the menu did not open";
    }
    // Pixels of the game colour of `row` that the screen shows inside `window`.
    int ShownPixelsOf(HWND window, size_t row) {
        RECT rect;
        GetClientRect(window, &rect);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        const GameColour& colour = GameTextColours[row];
        const COLORREF wanted = RGB(colour.Red, colour.Green, colour.Blue);
        int count = 0;
        for (int y = 0; y < rect.bottom; ++y)
            for (int x = 0; x < rect.right; ++x)
                count += GetPixel(screen, origin.x + x, origin.y + y) == wanted;
        ReleaseDC(nullptr, screen);
        return count;
    }
};

TEST_F(FeaturesFlow, ARecentFileReopensFromTheFileMenu) {
    const std::wstring first = MakeTable("first.tbl", {u"alpha"}, {u"A"});
    const std::wstring second = MakeTable("second.tbl", {u"beta", u"gamma"}, {u"B", u"G"});
    {
        StrindleRun& earlier = Start({first});
        ASSERT_TRUE(Becomes([&] { return earlier.Title(); }, std::wstring(L"Strindle - first.tbl")));
        Press("ctrl+q");
        ASSERT_TRUE(WaitUntil([&] { return earlier.Ended(); }));
    }
    StrindleRun& run = Start({second});
    ASSERT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - second.tbl")));
    OpenFileMenuByClick(run);
    Press("2");  // "&2 ...\\first.tbl"
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - first.tbl")));
    EXPECT_EQ(Keys(run, 1), std::vector<std::wstring>{L"alpha"});
}

// A table named relative to the folder Strindle starts in is remembered by its full path.
TEST_F(FeaturesFlow, ATableStartedByARelativeNameReopensFromTheFileMenu) {
    const std::wstring relative = MakeTable("relative.tbl", {u"alpha"}, {u"A"});
    StrindleRun& run = Start({L"relative.tbl"}, scratch_.Path().wstring());
    ASSERT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - relative.tbl")));
    input_.DropFile(MakeTable("other.tbl", {u"beta"}, {u"B"}), CentreOnScreen(run.List()));
    ASSERT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - other.tbl")));
    OpenFileMenuByClick(run);
    Press("2");  // "&2 ...\\relative.tbl"
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - relative.tbl")));
    EXPECT_EQ(run.Dialog(L"Error"), nullptr);
    EXPECT_EQ(StoredText(L"Recent File 1"), relative);
}

TEST_F(FeaturesFlow, ThePreviewFollowsWhatIsTyped) {
    StrindleRun& run = Start({MakeTable("preview.tbl", {u"sword"}, {u"Short Sword"})});
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
    Press("ctrl+p");
    HWND preview = WaitForDialog(run, L"Game Preview");
    ASSERT_NE(preview, nullptr);
    const size_t red = 0;
    EXPECT_EQ(ShownPixelsOf(preview, red), 0);
    Click(run.Editor());
    Press("End");
    TypeText("\\red;Cursed");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"Short Sword\\red;Cursed")));
    EXPECT_TRUE(WaitUntil([&] { return ShownPixelsOf(preview, red) > 20; }))
        << "the typed red text is not shown in the game's red";
}

// Closing a dialog or maximising redraws the main window; the preview stays in sight above it,
// and gives way once another program is active.
TEST_F(FeaturesFlow, ThePreviewStaysAboveTheMainWindow) {
    StrindleRun& run = Start({MakeTable("above.tbl", {u"sword"}, {u"Short Sword"})});
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
    Press("ctrl+p");
    const HWND preview = WaitForDialog(run, L"Game Preview");
    ASSERT_NE(preview, nullptr);
    const POINT centre = CentreOnScreen(run.Window());
    SetWindowPos(preview, nullptr, centre.x - 100, centre.y - 50, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    const auto previewInSight = [&] { return GetAncestor(WindowFromPoint(centre), GA_ROOT) == preview; };
    ASSERT_TRUE(WaitUntil(previewInSight));

    const std::function<void()> flows[] = {
        [&] {
            Press("alt+h");
            Press("a");
            AnswerDialog(run, L"About Strindle", "Return");
            ASSERT_TRUE(WaitUntil([&] { return run.Dialog(L"About Strindle") == nullptr; }));
        },
        [&] {
            DoubleClickCaption(run);
            ASSERT_TRUE(WaitUntil([&] { return IsZoomed(run.Window()) != FALSE; }));
        },
    };
    for (const auto& flow : flows) {
        flow();
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == run.Window(); }));
        EXPECT_TRUE(previewInSight()) << "the preview went behind the main window";
    }

    PROCESS_INFORMATION other{};
    STARTUPINFOW startup{sizeof startup};
    wchar_t notepad[] = L"notepad.exe";
    ASSERT_TRUE(CreateProcessW(nullptr, notepad, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &other));
    EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(preview, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }))
        << "the preview floats over another program";
    TerminateProcess(other.hProcess, 0);
    CloseHandle(other.hThread);
    CloseHandle(other.hProcess);
}

}  // namespace
