#pragma once

// A main window over a small table, for the tests of the key editing commands.

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <initializer_list>
#include <string>
#include <vector>

// "key0", "key1"... for the given numbers (keyN and valueN are entry N of OpenTableOf).
std::vector<std::wstring> Numbered(const wchar_t* prefix, std::initializer_list<int> numbers);

class KeyEditingTest : public MainWindowTest {
protected:
    // Selects exactly `rows`, the caret on the last of them, as ctrl-clicks would.
    void SelectRows(const std::vector<int>& rows);
    std::wstring Title() { return TitleOf(Window()); }
    // The editor's selection, start and end.
    std::pair<int, int> EditorSelection();
    void ClickButton(int id);
};
