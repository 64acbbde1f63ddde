#include "TabbedFileDialog.h"

#include "WideText_win.h"
#include "resource.h"

FileDialogRequest TabbedTextFileRequest(bool save) {
    FileDialogRequest request;
    request.Save = save;
    request.DefaultExtension = L"txt";
    request.InitialFileName = L"*.txt";
    request.Filter = L"Tabbed Text Files (*.txt)|*.txt|All files (*.*)|*.*||";
    request.Flags = save ? OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST
                         : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return request;
}

void ShowTxtIoFailure(UserPrompts& prompts, HWND owner, const Result& failure) {
    prompts.Message(owner, WideFromUtf8(failure.Message), WideFromUtf8(TxtIoErrorCaption),
                    MB_OK | MB_ICONEXCLAMATION);
}

CTabbedFileDialog::CTabbedFileDialog(UINT templateId, int browseButtonId, UserPrompts& prompts, HWND owner)
    : CDialog(templateId, owner), prompts_(prompts), browseButtonId_(browseButtonId) {}

bool CTabbedFileDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    browseButton_.Attach(Item(browseButtonId_));
    browseButton_.SetBitmap(IDB_BROWSE, RGB(192, 192, 192));
    EnableOK(false);
    return true;
}

bool CTabbedFileDialog::RouteMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM)
        return false;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID != static_cast<UINT>(browseButtonId_))
        return false;
    browseButton_.Draw(*item);
    return true;
}

bool CTabbedFileDialog::ChooseTabbedFile(bool save) {
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), TabbedTextFileRequest(save), chosen))
        return false;
    SetDlgItemTextW(Handle(), IDC_TXTFILENAME, chosen.Path.c_str());
    path_ = Utf16(chosen.Path);
    return true;
}

void CTabbedFileDialog::EnableOK(bool enabled) { EnableWindow(Item(IDOK), enabled ? TRUE : FALSE); }

void CTabbedFileDialog::ShowFailure(const Result& failure) { ShowTxtIoFailure(prompts_, Handle(), failure); }
