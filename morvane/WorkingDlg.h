#pragma once

#include "Dialog.h"

#include <string>

// The progress window of a conversion run: the file being processed and a bar. It is modeless
// and never closes from the keyboard: its key-down messages are discarded and its OK and
// Cancel commands (Enter, Escape, the Close box) do nothing.
class CWorkingDlg : public CDialog {
public:
    explicit CWorkingDlg(HWND owner);

    void SetRange(int count);
    void SetProcessingText(const std::u16string& text);
    void Step();

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
