#pragma once

#include "Dialog.h"

#include <string>

// A modal dialog that shows one text in one control, closed with OK.
class CTextDialog : public CDialog {
public:
    CTextDialog(UINT templateId, int textControlId, const std::u16string& text, HWND owner);

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    int textControlId_;
    std::wstring text_;
};

class CIndexNumberDlg : public CTextDialog {
public:
    CIndexNumberDlg(const std::u16string& text, HWND owner);
};

class CColorHlp : public CTextDialog {
public:
    CColorHlp(const std::u16string& text, HWND owner);
};

class CItemTxt : public CTextDialog {
public:
    CItemTxt(const std::u16string& text, HWND owner);
};

class CAboutDlg : public CTextDialog {
public:
    explicit CAboutDlg(HWND owner);
};
