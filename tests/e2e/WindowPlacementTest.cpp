// Where the main window stands on the screen when maximised.
#include "EndToEndTest.h"

namespace {

class WindowPlacement : public EndToEndTest {
protected:
    StrindleRun& StartOnTable() {
        StrindleRun& run = Start({MakeTableOf("placed.tbl", 3)});
        EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
        return run;
    }
    static RECT WorkArea(HWND window) {
        MONITORINFO monitor{sizeof monitor};
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        return monitor.rcWork;
    }
};

TEST_F(WindowPlacement, MaximisedTheTitleBarStaysOnTheScreenAndRestoresTheWindow) {
    StrindleRun& run = StartOnTable();
    DoubleClickCaption(run);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(run.Window()) != FALSE; })) << "the window did not maximise";
    const RECT work = WorkArea(run.Window());
    POINT client{0, 0};
    ClientToScreen(run.Window(), &client);
    EXPECT_GE(client.y - GetSystemMetrics(SM_CYMENU) - GetSystemMetrics(SM_CYCAPTION), work.top)
        << "the title bar starts above the screen";
    DoubleClickCaption(run);
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(run.Window()); })) << "the title bar did not take the double click";
}

// Long keys need a wider list: the bar between the list and the editor drags, and the width
// it leaves is there again at the next start.
TEST_F(WindowPlacement, TheSplitterWidensTheKeyListAndTheWidthIsKept) {
    RECT list{}, editor{};
    {
        StrindleRun& run = StartOnTable();
        GetWindowRect(run.List(), &list);
        GetWindowRect(run.Editor(), &editor);
        const POINT grip{(list.right + editor.left) / 2, (list.top + list.bottom) / 2};
        input_.Drag(grip, POINT{grip.x + 120, grip.y});
        EXPECT_TRUE(Becomes([&] { RECT now{}; GetWindowRect(run.List(), &now); return now.right - now.left; },
                            list.right - list.left + 120));
        RECT movedEditor{};
        GetWindowRect(run.Editor(), &movedEditor);
        EXPECT_EQ(movedEditor.left, editor.left + 120) << "the editor gives up the width";
        EXPECT_EQ(movedEditor.right, editor.right);
        Press("ctrl+q");
        ASSERT_TRUE(WaitUntil([&] { return run.Ended(); }));
    }
    StrindleRun& again = StartOnTable();
    RECT kept{};
    GetWindowRect(again.List(), &kept);
    EXPECT_EQ(kept.right - kept.left, list.right - list.left + 120);
}

}  // namespace
