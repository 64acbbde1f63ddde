#include "GuiTestSupport.h"

#include "Settings.h"
#include "TblCompiler.h"
#include "WideText_win.h"

#include <commctrl.h>

#include <thread>

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKeyPath); }

SettingsBackup::SettingsBackup() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        existed_ = true;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];
            DWORD nameLength = 256;
            DWORD type = 0;
            DWORD size = 0;
            if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                break;
            Value value{name, type, std::vector<BYTE>(size)};
            nameLength = 256;
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, value.Data.data(), &size);
            values_.push_back(std::move(value));
        }
        RegCloseKey(key);
    }
    DeleteSettingsKey();
}

SettingsBackup::~SettingsBackup() {
    DeleteSettingsKey();
    if (!existed_)
        return;
    for (const Value& value : values_)
        StoreRaw(value.Name.c_str(), value.Type, value.Data.data(), static_cast<DWORD>(value.Data.size()));
}

void StoreRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void StoreNumber(const wchar_t* name, DWORD value) { StoreRaw(name, REG_DWORD, &value, sizeof value); }

std::optional<DWORD> StoredNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, SettingsKeyPath, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> StoredText(const wchar_t* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, SettingsKeyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &type, text, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(text);
}

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
    TblHeader header;
    const Result compiled = CompileTbl(Utf16(path), keys, values, header, false);
    ASSERT_TRUE(compiled) << compiled.Message;
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
        rows.push_back(dialog_->KeyList().RowText(row));
    return rows;
}

std::vector<int> MainWindowTest::SelectedRows() { return dialog_->KeyList().SelectedRows(); }

int MainWindowTest::CaretRow() { return dialog_->KeyList().Caret(); }

std::wstring MainWindowTest::Status(int part) { return StatusText(dialog_->StatusBar(), part); }
