#pragma once

#include "DataExchange.h"

#include <windows.h>

// A dialog bound to a dialog template of the program's resources. The static dialog procedure
// keeps `this` from WM_INITDIALOG and forwards every message to the object.
class CDialog {
public:
    explicit CDialog(UINT templateId, HWND owner = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog with its owner disabled until EndDialog; returns the result given there,
    // or -1 when the window could not be created.
    INT_PTR DoModal();
    // Creates the dialog without a loop of its own (the caller pumps messages).
    bool CreateModeless();
    // Ends a modal run with `result`, or destroys a modeless dialog.
    void EndDialog(INT_PTR result);

    HWND Handle() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    // Key messages of the modal loop are first offered to this table.
    void SetAccelerators(HACCEL accelerators) { accelerators_ = accelerators; }

    // Dialog data exchange: fills the controls (false) or takes their values back (true).
    bool UpdateData(bool saveAndValidate);

protected:
    // The controls exist; the base fills them by data exchange. True: give the default focus.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnOK();
    virtual void OnCancel();
    // The derived dialog's message map; each says whether it handled what it was given.
    virtual bool RouteCommand(UINT id, UINT code);
    virtual bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A key message of the modal loop, before the dialog manager sees it; true: consumed.
    virtual bool PreTranslateMessage(MSG& message);
    // The result of the few messages whose result is the dialog procedure's own return value
    // (WM_QUERYDRAGICON, WM_VKEYTOITEM, WM_CHARTOITEM, WM_COMPAREITEM, WM_CTLCOLOR...), for
    // which SetDlgMsgResult stores nothing. A handler sets it as its last step.
    void SetProcedureResult(INT_PTR result) { procedureResult_ = result; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND owner_;
    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr;
    bool inModalLoop_ = false;
    bool modalEnded_ = false;
    INT_PTR modalResult_ = IDCANCEL;
    INT_PTR procedureResult_ = 0;
};
