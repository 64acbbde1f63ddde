#include "EndToEndTest.h"

#include "GuiTestSupport.h"
#include "resource.h"

#include <filesystem>

namespace {

std::filesystem::path StrindleProgram() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / L"strindle.exe";
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// A point inside the window, clear of its controls' middles: the bottom-left corner, where the
// main window has its status bar and a dialog its margin. The X focus follows the pointer.
POINT PointerHold(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left + 6, rect.bottom - 6};
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

StrindleRun::StrindleRun(const std::vector<std::wstring>& arguments, const std::wstring& folder) {
    std::wstring commandLine = Quoted(StrindleProgram().wstring());
    for (const std::wstring& argument : arguments)
        commandLine += L" " + Quoted(argument);
    STARTUPINFOW startup{sizeof startup};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process_))
        process_ = {};
}

StrindleRun::~StrindleRun() {
    if (!process_.hProcess)
        return;
    if (!Ended()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool StrindleRun::Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

HWND StrindleRun::Window() const {
    for (HWND window : TopWindowsOf(Id()))
        if (TextOf(window).starts_with(L"Strindle - "))
            return window;
    return nullptr;
}

std::wstring StrindleRun::Title() const { return TextOf(Window()); }

std::wstring StrindleRun::Status(int part) const {
    return StatusPartText(GetDlgItem(Window(), IDC_STATUSBAR), part);
}

HWND StrindleRun::List() const { return GetDlgItem(Window(), IDC_KEYLIST); }

HWND StrindleRun::Editor() const { return GetDlgItem(Window(), IDC_VALUE); }

int StrindleRun::FocusedControl() const {
    HWND focus = FocusOf(Window());
    return focus && GetParent(focus) == Window() ? GetDlgCtrlID(focus) : 0;
}

void EndToEndTest::SetUp() {
    std::string why = RealInput::Unavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    settings_ = std::make_unique<SettingsBackup>();
}

void EndToEndTest::TearDown() {
    runs_.clear();
    settings_.reset();
}

StrindleRun& EndToEndTest::Start(const std::vector<std::wstring>& arguments, const std::wstring& folder) {
    runs_.push_back(std::make_unique<StrindleRun>(arguments, folder));
    StrindleRun& run = *runs_.back();
    EXPECT_TRUE(run.Started()) << "strindle.exe did not start: " << GetLastError();
    // The first start in a fresh prefix takes a while. A message at start-up (a refused file)
    // may be the active window instead of the main window.
    bool up = WaitUntil(
        [&] {
            DWORD active = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &active);
            return run.Ended() || (run.Window() && active == run.Id());
        },
        std::chrono::seconds(60));
    EXPECT_TRUE(up && !run.Ended()) << "Strindle's window did not come up active";
    return run;
}

StrindleRun& EndToEndTest::StartLoaded(const std::wstring& path) {
    StrindleRun& run = Start({path});
    EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
    return run;
}

std::wstring EndToEndTest::MakeTable(const std::string& name, std::vector<std::u16string> keys,
                                     std::vector<std::u16string> values) {
    std::wstring path = (scratch_ / name).wstring();
    WriteTable(path, std::move(keys), std::move(values));
    return path;
}

std::wstring EndToEndTest::MakeTableOf(const std::string& name, int count) {
    std::vector<std::u16string> keys, values;
    for (int i = 0; i < count; ++i) {
        std::string number = std::to_string(i);
        keys.push_back(u"key" + std::u16string(number.begin(), number.end()));
        values.push_back(u"value" + std::u16string(number.begin(), number.end()));
    }
    return MakeTable(name, std::move(keys), std::move(values));
}

void EndToEndTest::Press(const std::string& keys) { input_.Keys(keys, PointerHold(GetForegroundWindow())); }

void EndToEndTest::TypeText(const std::string& text) { input_.Type(text, PointerHold(GetForegroundWindow())); }

void EndToEndTest::Click(HWND control, int button, int count) { input_.Click(CentreOnScreen(control), button, count); }

void EndToEndTest::ClickRow(const StrindleRun& run, int row, int button, int count) {
    ASSERT_LT(row, RowCountOf(run.List())) << "the list has no row " << row << " to click";
    input_.Click(CentreOf(RowRectOnScreen(run.List(), row)), button, count);
}

std::vector<std::wstring> EndToEndTest::Keys(const StrindleRun& run, int rows) {
    if (!WaitUntil([&] { return RowCountOf(run.List()) == rows; }))
        return {L"(" + std::to_wstring(RowCountOf(run.List())) + L" rows)"};
    std::vector<std::wstring> keys;
    for (int row = 0; row < rows; ++row)
        keys.push_back(KeyOfRow(run, row));
    return keys;
}

std::wstring EndToEndTest::KeyOfRow(const StrindleRun& run, int row) {
    ClickRow(run, row, 1, 2);
    HWND dialog = WaitForDialog(run, L"Edit Key String");
    if (!dialog)
        return L"(no Edit Key String window)";
    std::wstring key = TextOf(GetDlgItem(dialog, IDC_KEYTEXT));
    AnswerDialog(run, L"Edit Key String", "Escape");
    WaitUntil([&] { return run.Dialog(L"Edit Key String") == nullptr; });
    return key;
}

void EndToEndTest::GoToIndex(const StrindleRun& run, const std::string& number) {
    constexpr int ToolbarId = 0xE800;
    ClickAt(CentreOf(ToolbarButtonRectOnScreen(GetDlgItem(run.Window(), ToolbarId), ID_EDIT_GOTOINDEX)));
    ASSERT_NE(WaitForDialog(run, L"Go To Index #"), nullptr);
    Press("ctrl+a");
    TypeText(number);
    Press("Return");
    EXPECT_TRUE(WaitUntil([&] { return run.Dialog(L"Go To Index #") == nullptr; }));
}

void EndToEndTest::DoubleClickCaption(const StrindleRun& run) {
    RECT window{};
    GetWindowRect(run.Window(), &window);
    POINT client{0, 0};
    ClientToScreen(run.Window(), &client);
    // The caption lies above the menu bar, which lies above the client area.
    const int captionMiddle = client.y - GetSystemMetrics(SM_CYMENU) - GetSystemMetrics(SM_CYCAPTION) / 2;
    ClickAt(POINT{(window.left + window.right) / 2, captionMiddle}, 1, 2);
}

HWND EndToEndTest::WaitForDialog(const StrindleRun& run, const std::wstring& caption) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = run.Dialog(caption)) != nullptr; });
    return dialog;
}

void EndToEndTest::AnswerDialog(const StrindleRun& run, const std::wstring& caption, const std::string& keys) {
    HWND dialog = WaitForDialog(run, caption);
    ASSERT_NE(dialog, nullptr) << "no window captioned " << testing::PrintToString(caption);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }))
        << testing::PrintToString(caption) << " did not become active";
    input_.Keys(keys, PointerHold(dialog));
}
