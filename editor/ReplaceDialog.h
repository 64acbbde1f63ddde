#pragma once

#include "Dialog.h"
#include "TblReplace.h"

// The modeless Find and Replace window: "Find what", "Replace with", whether to look in keys or
// in values, match case, whole value only, and the buttons Find Next, Replace, Replace All and
// Close. The three buttons that act go to the owner as its commands, which read Query(); the
// buttons are greyed while "Find what" is empty. Close and Esc only hide the window, which
// keeps what was typed.
class CReplaceDialog : public CDialog {
public:
    explicit CReplaceDialog(HWND owner);

    // Shows the window, made on first use at the owner's top right, with the focus on "Find
    // what" and its text selected.
    void Open();
    TblReplaceQuery Query() const;
    // A message of the owner's loop meant for this window goes to the dialog manager, which
    // moves the focus with Tab and presses the buttons for Enter and Esc. True: it took it.
    bool TakeDialogMessage(MSG& message);

protected:
    bool OnInitDialog() override;
    // Enter presses Find Next; with it greyed, Enter does nothing.
    void OnOK() override {}
    void OnCancel() override;
    bool RouteCommand(UINT id, UINT code) override;

private:
    void PlaceAtOwnersTopRight();
    void EnableButtons();
};
