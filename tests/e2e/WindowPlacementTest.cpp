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

}  // namespace
