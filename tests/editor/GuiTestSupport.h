#pragma once

#include "ImageButton.h"
#include "StrindleDlg.h"
#include "GuiTestSupport_win.h"
#include "SettingsStore.h"
#include "TblTestTables.h"
#include "TestSupport.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The commands greyed while the table has no entries, in the menu and on the toolbar.
constexpr UINT EntryMenuCommands[] = {ID_FILE_SAVE, ID_FILE_SAVEAS, ID_EDIT_DELETEKEY, ID_EDIT_SEARCH,
                                      ID_EDIT_REPEATSEARCH};
constexpr UINT EntryToolbarButtons[] = {ID_FILE_SAVE, ID_EDIT_DELETEKEY, ID_EDIT_SEARCH, ID_EDIT_REPEATSEARCH,
                                        ID_COLORS,    ID_EDIT_GOTOINDEX, ID_SHOWITEMTEXT};

std::wstring StatusText(HWND statusBar, int part);
bool MenuItemGrayed(HWND window, UINT id);
bool MenuItemChecked(HWND window, UINT id);
bool ToolbarButtonEnabled(HWND toolbar, UINT id);
std::wstring TitleOf(HWND window);
// The control would show with its parent (WS_VISIBLE).
bool ShownWithParent(HWND control);
// Writes a table with these keys and values (through the compiler).
void WriteTable(const std::wstring& path, std::vector<std::u16string> keys, std::vector<std::u16string> values);
// The same with the value offsets of the entries from `firstUnreadable` on pointing far past
// the end of the file: a damaged table whose other entries can be read.
void WriteDamagedTable(const std::wstring& path, std::vector<std::u16string> keys, std::vector<std::u16string> values,
                       size_t firstUnreadable);

// A memory bitmap to draw into and read back.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// `button` drawn as the window would draw it, at the button's size.
class DrawnButton : public Canvas {
public:
    DrawnButton(const CImageButton& button, UINT state);
};

// What `window`'s client area shows on the screen now.
class ShownWindow : public Canvas {
public:
    explicit ShownWindow(HWND window);
};

// Where `window` stands on the screen: left, top, width and height, as one comparable value.
std::array<int, 4> PlaceOf(HWND window);

// The single-line extent of `text` in `window`'s font (prefix ampersands taken out unless asked).
SIZE TextExtentIn(HWND window, const std::wstring& text, bool prefixes = true);

// A main window created modeless (not shown), with scripted prompts and the settings kept.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the window (after the test has arranged the stored settings).
    void OpenWindow();
    void SendCommand(UINT id);
    void SelectRow(int row);  // as a click on the row: caret and selection, then the notification
    void Type(const std::wstring& text);  // characters typed into the value editor
    HWND Window() const { return dialog_->Handle(); }
    CStrindleDlg& Dialog() { return *dialog_; }
    std::wstring EditorText() const;
    // Opens `path` with the Open command.
    void OpenFile(const std::wstring& path);
    // Writes a table of these entries into the test's scratch folder; returns its path.
    std::wstring MakeTable(const std::string& name, std::vector<std::u16string> keys,
                           std::vector<std::u16string> values);
    // Makes the table `name` and opens it with Open, creating the window first if there is none.
    void OpenTable(std::vector<std::u16string> keys, std::vector<std::u16string> values,
                   const std::string& name = "table.tbl");
    // Opens a table of `count` entries key0, key1... with values value0, value1...
    void OpenTableOf(int count);

    // What the window shows.
    std::vector<std::wstring> Rows();
    std::vector<int> SelectedRows();
    int CaretRow();
    std::wstring Status(int part);

    ScratchDir scratch_;
    ScriptedPrompts prompts_;
    std::optional<SettingsBackup> settings_;
    std::unique_ptr<CStrindleDlg> dialog_;
};
