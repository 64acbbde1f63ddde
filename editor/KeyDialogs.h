#pragma once

#include "Dialog.h"

#include <string>

// Asks for the name of a new entry and where it goes.
class CAddStringDlg : public CDialog {
public:
    enum Placement { AppendToEnd = 0, InsertAtRow = 1 };

    explicit CAddStringDlg(HWND owner);

    std::wstring Name;
    int Place = AppendToEnd;  // index of the chosen radio button

protected:
    void DoDataExchange(DataExchange& dx) override;
};

// Edits the key of one entry.
class CKeyEdit : public CDialog {
public:
    CKeyEdit(std::wstring key, HWND owner);

    std::wstring Key;

protected:
    void DoDataExchange(DataExchange& dx) override;
};
