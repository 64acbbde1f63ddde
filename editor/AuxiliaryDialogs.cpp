#include "AuxiliaryDialogs.h"

#include "AuxiliaryTexts.h"
#include "WideText_win.h"
#include "resource.h"

CTextDialog::CTextDialog(UINT templateId, int textControlId, const std::u16string& text, HWND owner)
    : CDialog(templateId, owner), textControlId_(textControlId), text_(Wide(text)) {}

void CTextDialog::DoDataExchange(DataExchange& dx) { DdxText(dx, textControlId_, text_); }

CIndexNumberDlg::CIndexNumberDlg(const std::u16string& text, HWND owner)
    : CTextDialog(IDD_INDEXNUMBER, IDC_INDEXNUMBERS, text, owner) {}

CColorHlp::CColorHlp(const std::u16string& text, HWND owner) : CTextDialog(IDD_COLORHLP, IDC_COLORCODES, text, owner) {}

CItemTxt::CItemTxt(const std::u16string& text, HWND owner) : CTextDialog(IDD_ITEMTXT, IDC_VALUE, text, owner) {}

CAboutDlg::CAboutDlg(HWND owner) : CTextDialog(IDD_ABOUTBOX, IDC_ABOUTTEXT, AboutText(), owner) {}
