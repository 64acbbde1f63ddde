#pragma once

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Controls of a dialog as the user sees them.
bool ControlEnabled(HWND dialog, int id);
std::wstring ControlText(HWND dialog, int id);
// Presses a button as a click does (a radio button gets checked).
void ClickButton(HWND dialog, int id);
std::vector<std::wstring> ListItems(HWND dialog, int comboId);
int ListSelection(HWND dialog, int comboId);  // CB_ERR without one
// A child of `dialog` by its caption (for controls without an identifier).
HWND ChildWithText(HWND dialog, const std::wstring& text);
// The rectangle `window` takes in `dialog`'s client area, and dialog units converted as the
// dialog converts them.
RECT PlaceInDialog(HWND dialog, HWND window);
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);
std::wstring FontFaceOf(HWND window);
// The colour of pixel (x, y) of `button` as it draws itself (owner-drawn: by its dialog).
COLORREF DrawnPixel(HWND button, int x, int y);
// A bordered control: the dialog manager turns WS_BORDER into a sunken client edge.
bool HasBorder(HWND control);

// A control of a dialog template: its caption and its place in dialog units.
struct PlacedControl {
    HWND Control;
    const wchar_t* Caption;
    int X, Y, Width, Height;
};
// What the export and import dialogs share: caption "Txt Import", font, client size, the browse
// button's picture and style, the read-only bordered file field, the default OK button; and
// each of `controls` with its caption at its place.
void ExpectTabbedFileDialogLayout(HWND dialog, int browseId, int width, int height,
                                  const std::vector<PlacedControl>& controls);


std::vector<uint8_t> Bytes(const std::string& text);
void WriteText(const std::filesystem::path& path, const std::string& text);

// The main window with a scratch folder for the tables and text files of a test.
class ExchangeTest : public MainWindowTest {
protected:
    void SetUp() override;
    std::wstring ScratchPath(const std::string& name) const { return (scratch_ / name).wstring(); }
    // Runs `command`; once its dialog is up hands it to `inside`, then presses `closeWith`.
    void RunDialog(UINT command, const std::function<void(HWND)>& inside, int closeWith = IDOK);
};
