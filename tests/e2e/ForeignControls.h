#pragma once

// What the controls of another process's windows show, read with Win32 messages.

#include <windows.h>

#include <string>
#include <vector>

std::wstring TextOf(HWND window);  // WM_GETTEXT: captions, edits, rich edits
std::wstring StatusPartText(HWND statusBar, int part);

int RowCountOf(HWND list);
int CaretRowOf(HWND list);
int TopRowOf(HWND list);
std::vector<int> SelectedRowsOf(HWND list);
// Row `row`'s rectangle, in screen coordinates.
RECT RowRectOnScreen(HWND list, int row);

// Row `row` of a list view, in screen coordinates.
RECT ListViewRowRectOnScreen(HWND listView, int row);

// The rectangle of toolbar button `command`, in screen coordinates.
RECT ToolbarButtonRectOnScreen(HWND toolbar, UINT command);

// The selected characters of an edit or rich edit, as [first, last).
std::pair<int, int> EditSelectionOf(HWND edit);

// The window with the keyboard focus in `window`'s thread, or null.
HWND FocusOf(HWND window);

// The visible top-level windows of a process, topmost first.
std::vector<HWND> TopWindowsOf(DWORD processId);
// The first visible top-level window of the process with exactly this caption, or null.
HWND TopWindowCaptioned(DWORD processId, const std::wstring& caption);
// A popup menu of the process is open.
bool MenuShownBy(DWORD processId);
// The texts of a dialog's static controls (a message box's message among them).
std::vector<std::wstring> StaticTextsOf(HWND dialog);

POINT CentreOnScreen(HWND window);
POINT CentreOf(const RECT& rect);
