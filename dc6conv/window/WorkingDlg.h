#pragma once

#include "Dialog.h"

#include <string>

// The progress window of a conversion run: the file being processed and a bar. It is modeless
// and never closes from the keyboard: key-down messages to it or its controls are discarded.
class CWorkingDlg : public CDialog {
public:
    explicit CWorkingDlg(HWND owner);

    void SetRange(int count);
    void SetProcessingText(const std::string& text);
    void Step();
    // Whether `message` is a key-down for this window or one of its controls.
    bool IsKeyForThisWindow(const MSG& message) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG& message) override;
};
