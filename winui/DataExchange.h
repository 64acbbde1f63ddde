#pragma once

#include <windows.h>

#include <string>

// One pass of dialog data exchange: to the controls (Save false) or back from them (Save true).
struct DataExchange {
    HWND Dialog;
    bool Save;
    bool Failed = false;

    // A value could not be taken: focus its control so the user can correct it.
    void Fail(int controlId);
};

// Text of any control (edit, rich edit, static).
void DdxText(DataExchange& dx, int controlId, std::wstring& text);
// An unsigned decimal number in an edit control; a text that is no such number fails.
void DdxNumber(DataExchange& dx, int controlId, unsigned& number);
// A radio group starting at `firstId` (consecutive identifiers up to the next group):
// the index of the checked button, -1 for none.
void DdxRadio(DataExchange& dx, int firstId, int& index);
// A check box: on or off.
void DdxCheck(DataExchange& dx, int controlId, bool& checked);

// The whole text of a window.
std::wstring WindowText(HWND window);
