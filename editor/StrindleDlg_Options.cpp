// The Options commands and the small views of the main window.
#include "StrindleDlg.h"

#include "AuxiliaryDialogs.h"
#include "AuxiliaryTexts.h"
#include "resource.h"

#include <shlobj.h>

void CStrindleDlg::OnAdvancedMode() {
    Settings.AdvancedMode = !Settings.AdvancedMode;
    SetMenuCheck(ID_OPTIONS_ADVANCED, Settings.AdvancedMode);
    ShowUpDownButtons(Settings.AdvancedMode);
    // Placed at once rather than at the next resize, so that they never stand in the template's place.
    RECT client;
    GetClientRect(Handle(), &client);
    Layout(client.right, client.bottom);
}

void CStrindleDlg::OnParseOnLoad() {
    Settings.ParseOnLoad = !Settings.ParseOnLoad;
    SetMenuCheck(ID_OPTIONS_PARSEONLOAD, Settings.ParseOnLoad);
}

void CStrindleDlg::OnAutosaveWindowPos() {
    Settings.AutosaveWindowPos = !Settings.AutosaveWindowPos;
    SetMenuCheck(ID_OPTIONS_AUTOSAVEPOS, Settings.AutosaveWindowPos);
}

void CStrindleDlg::OnAutosaveLastPath() {
    Settings.AutosaveLastPath = !Settings.AutosaveLastPath;
    SetMenuCheck(ID_OPTIONS_AUTOSAVEPATH, Settings.AutosaveLastPath);
}

void CStrindleDlg::OnSaveCurrentPosition() { SaveWindowPosition(); }

void CStrindleDlg::SaveWindowPosition() {
    RECT rect;
    GetWindowRect(Handle(), &rect);
    Settings.WindowX = rect.left;
    Settings.WindowY = rect.top;
    Settings.WindowWidth = rect.right - rect.left;
    Settings.WindowHeight = rect.bottom - rect.top;
    Settings.StoreWindowRect();
}

void CStrindleDlg::OnSetDefaultDirectory() {
    std::wstring folder;
    if (prompts_.ChooseFolder(Handle(), L"Default Directory", Settings.DefaultDirectory, BIF_RETURNONLYFSDIRS, folder))
        Settings.DefaultDirectory = folder;
    // Written also after a cancel: the unchanged value is stored again.
    Settings.StoreDefaultDirectory();
}

void CStrindleDlg::OnColorCodes() {
    CColorHlp dialog(ColourTokensText(), Handle());
    dialog.DoModal();
}

void CStrindleDlg::OnAbout() {
    CAboutDlg dialog(Handle());
    dialog.DoModal();
}

void CStrindleDlg::OnShowItemText() {
    int caret = keyList_.Caret();
    if (caret < 0)
        return;
    CItemTxt dialog(ItemText(Document.Values[static_cast<size_t>(caret)]), Handle());
    dialog.DoModal();
}

void CStrindleDlg::OnIndexNumbers() {
    int caret = keyList_.Caret();
    CIndexNumberDlg dialog(IndexNumbersText(caret < 0 ? 0u : static_cast<unsigned>(caret)), Handle());
    dialog.DoModal();
}
