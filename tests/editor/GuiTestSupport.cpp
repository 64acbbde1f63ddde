#include "GuiTestSupport.h"

#include "Settings.h"
#include "WideText_win.h"

#include <commctrl.h>

#include <thread>

std::wstring StatusText(HWND statusBar, int part) {
    LRESULT length = SendMessageW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    std::wstring text(LOWORD(length) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return text;
}

bool MenuItemGrayed(HWND window, UINT id) {
    UINT state = GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_GRAYED);
}

bool MenuItemChecked(HWND window, UINT id) {
    UINT state = GetMenuState(GetMenu(window), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

bool ToolbarButtonEnabled(HWND toolbar, UINT id) {
    LRESULT state = SendMessageW(toolbar, TB_GETSTATE, id, 0);
    return state != -1 && (state & TBSTATE_ENABLED) && !(state & TBSTATE_INDETERMINATE);
}

std::wstring TitleOf(HWND window) { return WindowText(window); }

bool ShownWithParent(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

void WriteTable(const std::wstring& path, std::vector<std::u16string> keys, std::vector<std::u16string> values) {
    const Result compiled = TableOf(keys, values).Compile(Utf16(path), false);
    ASSERT_TRUE(compiled) << compiled.Message;
}

void WriteDamagedTable(const std::wstring& path, std::vector<std::u16string> keys, std::vector<std::u16string> values,
                       size_t firstUnreadable) {
    WriteTable(path, std::move(keys), std::move(values));
    std::vector<uint8_t> bytes = ReadBytes(path);
    const auto number = [&](size_t at, int size) {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | bytes.at(at + static_cast<size_t>(i));
        return value;
    };
    const size_t entries = number(2, 2), slots = number(4, 4);
    for (size_t slot = 0; slot < slots; ++slot) {
        const size_t node = TblHeader::Size + 2 * entries + slot * TblHashNode::Size;
        if (bytes.at(node) != 0 && number(node + 1, 2) >= firstUnreadable)
            for (size_t i = 0; i < 4; ++i)  // the value offset, far past the end
                bytes.at(node + 11 + i) = i == 3 ? 0x7F : 0xF0;
    }
    WriteBytes(path, bytes);
}

namespace {

RECT ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

}  // namespace

Canvas::Canvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

DrawnButton::DrawnButton(const CImageButton& button, UINT state)
    : Canvas(ClientRect(button.Handle()).right, ClientRect(button.Handle()).bottom) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = button.Handle();
    item.hDC = Dc();
    item.rcItem = ClientRect(button.Handle());
    item.itemState = state;
    button.Draw(item);
}

ShownWindow::ShownWindow(HWND window) : Canvas(ClientRect(window).right, ClientRect(window).bottom) {
    RECT rect = ClientRect(window);
    HDC source = GetDC(window);
    BitBlt(Dc(), 0, 0, rect.right, rect.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
}

std::array<int, 4> PlaceOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

SIZE TextExtentIn(HWND window, const std::wstring& text, bool prefixes) {
    WindowDc dc(window);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | (prefixes ? 0 : DT_NOPREFIX));
    return {rect.right, rect.bottom};
}

void MainWindowTest::SetUp() {
    static const bool controlsReady = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&controls) && LoadRichEditLibrary();
    }();
    ASSERT_TRUE(controlsReady);
    settings_.emplace();
}

void MainWindowTest::OpenWindow() {
    dialog_ = std::make_unique<CStrindleDlg>(prompts_);
    // Left hidden: under Wine without a window manager, destroying a shown window waits 2 s.
    ASSERT_TRUE(dialog_->CreateModeless());
    PumpPending();
}

void MainWindowTest::TearDown() {
    dialog_.reset();
    PumpPending();
    settings_.reset();
    EXPECT_TRUE(prompts_.MessageAnswers.empty()) << "a scripted answer was not asked for";
    EXPECT_TRUE(prompts_.FileAnswers.empty()) << "a scripted file was not asked for";
}

void MainWindowTest::SendCommand(UINT id) { SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void MainWindowTest::SelectRow(int row) {
    HWND list = dialog_->KeyList().Handle();
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, row);
    SendMessageW(list, LB_SETCARETINDEX, row, FALSE);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_KEYLIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void MainWindowTest::Type(const std::wstring& text) {
    HWND editor = dialog_->ValueEditor();
    SendMessageW(editor, EM_SETSEL, -1, -1);
    for (wchar_t c : text)
        SendMessageW(editor, WM_CHAR, c, 1);
    PumpPending();
}

std::wstring MainWindowTest::EditorText() const { return WindowText(dialog_->ValueEditor()); }

void MainWindowTest::OpenFile(const std::wstring& path) {
    prompts_.FileAnswers.push_back(path);
    SendCommand(ID_FILE_OPEN);
}

std::wstring MainWindowTest::MakeTable(const std::string& name, std::vector<std::u16string> keys,
                                       std::vector<std::u16string> values) {
    std::wstring path = (scratch_ / name).wstring();
    WriteTable(path, std::move(keys), std::move(values));
    return path;
}

void MainWindowTest::OpenTable(std::vector<std::u16string> keys, std::vector<std::u16string> values,
                               const std::string& name) {
    const int count = static_cast<int>(keys.size());
    std::wstring path = MakeTable(name, std::move(keys), std::move(values));
    if (!dialog_)
        OpenWindow();
    OpenFile(path);
    ASSERT_EQ(dialog_->KeyList().Count(), count);
}

void MainWindowTest::OpenTableOf(int count) {
    std::vector<std::u16string> keys, values;
    for (int i = 0; i < count; ++i) {
        keys.push_back(Utf16(L"key" + std::to_wstring(i)));
        values.push_back(Utf16(L"value" + std::to_wstring(i)));
    }
    OpenTable(std::move(keys), std::move(values));
}

std::vector<std::wstring> MainWindowTest::Rows() {
    std::vector<std::wstring> rows;
    for (int row = 0; row < dialog_->KeyList().Count(); ++row)
        rows.push_back(Wide(dialog_->KeyList().RowText(row)));
    return rows;
}

std::vector<int> MainWindowTest::SelectedRows() { return dialog_->KeyList().SelectedRows(); }

int MainWindowTest::CaretRow() { return dialog_->KeyList().Caret(); }

std::wstring MainWindowTest::Status(int part) { return StatusText(dialog_->StatusBar(), part); }
