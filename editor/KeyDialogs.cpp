#include "KeyDialogs.h"

#include "resource.h"

#include <utility>

CAddStringDlg::CAddStringDlg(HWND owner) : CDialog(IDD_ADDSTRING, owner) {}

void CAddStringDlg::DoDataExchange(DataExchange& dx) {
    DdxText(dx, IDC_NEWKEYNAME, Name);
    DdxRadio(dx, IDC_APPENDTOEND, Place);
}

CKeyEdit::CKeyEdit(std::wstring key, HWND owner) : CDialog(IDD_KEYEDIT, owner), Key(std::move(key)) {}

void CKeyEdit::DoDataExchange(DataExchange& dx) { DdxText(dx, IDC_KEYTEXT, Key); }
