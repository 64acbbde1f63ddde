#pragma once

// The end-to-end fixture: starts the real strindle.exe of this build, drives it with real key
// presses and mouse clicks (RealInput) and reads what the user sees (ForeignControls), waiting
// for every expected change with a deadline.

#include "ForeignControls.h"
#include "GuiTestSupport_win.h"
#include "RealInput.h"
#include "SettingsStore.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// One running strindle.exe; ended when the object goes, should the test not have closed it.
class StrindleRun {
public:
    // Starts Strindle in `folder` (the test program's own folder when empty).
    StrindleRun(const std::vector<std::wstring>& arguments, const std::wstring& folder);
    ~StrindleRun();
    StrindleRun(const StrindleRun&) = delete;
    StrindleRun& operator=(const StrindleRun&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    bool Ended() const;
    // The main window, once it is shown.
    HWND Window() const;

    // What the main window shows.
    std::wstring Title() const;
    std::wstring Status(int part) const;
    HWND List() const;
    HWND Editor() const;
    int Caret() const { return CaretRowOf(List()); }
    int TopRow() const { return TopRowOf(List()); }
    std::vector<int> Selected() const { return SelectedRowsOf(List()); }
    std::wstring Value() const { return TextOf(Editor()); }
    // The control identifier of the window with the focus (0 when none of the main window's).
    int FocusedControl() const;
    // A shown window of this Strindle with this caption (a question, a dialog), or null.
    HWND Dialog(const std::wstring& caption) const { return TopWindowCaptioned(Id(), caption); }

private:
    PROCESS_INFORMATION process_{};
};

class EndToEndTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts Strindle with these arguments, in `folder` when one is given, and waits until
    // its window is up and active.
    StrindleRun& Start(const std::vector<std::wstring>& arguments = {}, const std::wstring& folder = {});
    // Starts Strindle on the table at `path` and waits until it says "Loaded".
    StrindleRun& StartLoaded(const std::wstring& path);
    // Writes a table into the test's folder; returns its path.
    std::wstring MakeTable(const std::string& name, std::vector<std::u16string> keys,
                           std::vector<std::u16string> values);
    // A table of `count` entries key0... with values value0...
    std::wstring MakeTableOf(const std::string& name, int count);

    // Real input into the active window (the pointer is put inside it first).
    void Press(const std::string& keys);
    void TypeText(const std::string& text);
    void Click(HWND control, int button = 1, int count = 1);
    void ClickRow(const StrindleRun& run, int row, int button = 1, int count = 1);
    void ClickAt(POINT screen, int button = 1, int count = 1) { input_.Click(screen, button, count); }

    // The key of each row, once the list has `rows` rows, as the user sees it to edit it: a
    // double click on the row opens "Edit Key String" with the key, and Escape closes it
    // unchanged. The list draws its rows itself, so no other program can read their texts.
    // Leaves the last row selected alone.
    std::vector<std::wstring> Keys(const StrindleRun& run, int rows);
    std::wstring KeyOfRow(const StrindleRun& run, int row);

    // Go To Index # from the toolbar, with `number` typed into its dialog.
    void GoToIndex(const StrindleRun& run, const std::string& number);
    // Double-clicks the middle of the main window's title bar.
    void DoubleClickCaption(const StrindleRun& run);

    // Waits until `run` shows a window captioned `caption`; null when none came.
    HWND WaitForDialog(const StrindleRun& run, const std::wstring& caption);
    // Waits until the window captioned `caption` is active, then presses `keys` into it.
    void AnswerDialog(const StrindleRun& run, const std::wstring& caption, const std::string& keys);

    ScratchDir scratch_;
    RealInput input_;

private:
    UnmanagedWindowsOf unmanaged_{L"strindle.exe"};
    std::unique_ptr<SettingsBackup> settings_;
    std::vector<std::unique_ptr<StrindleRun>> runs_;
};

// Polls `condition` until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Waits until `observe()` equals `expected`; the failure names the last value seen.
template <class Observe, class Value>
testing::AssertionResult Becomes(Observe observe, const Value& expected,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
    auto last = observe();
    if (WaitUntil([&] { return (last = observe()) == expected; }, timeout))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "still " << testing::PrintToString(last) << " instead of "
                                       << testing::PrintToString(expected);
}
