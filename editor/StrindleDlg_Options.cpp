// The Options commands and the small views of the main window.
#include "StrindleDlg.h"

#include "AuxiliaryDialogs.h"
#include "AuxiliaryTexts.h"
#include "resource.h"

#include <shlobj.h>

#include <algorithm>

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
    // Minimised or maximised, the window comes back to its normal rectangle: store that one.
    // The placement gives it in work-area coordinates, which start where the taskbar ends.
    WINDOWPLACEMENT placement{sizeof placement};
    if ((IsIconic(Handle()) || IsZoomed(Handle())) && GetWindowPlacement(Handle(), &placement)) {
        rect = placement.rcNormalPosition;
        MONITORINFO monitor{sizeof monitor};
        if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor))
            OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    Settings.WindowX = rect.left;
    Settings.WindowY = rect.top;
    Settings.WindowWidth = rect.right - rect.left;
    Settings.WindowHeight = rect.bottom - rect.top;
    Settings.StoreWindowRect();
}

// The stored rectangle, moved onto the nearest monitor's work area when no monitor shows any of
// it (it was stored on a monitor that is gone); a rectangle partly on screen stays as it is.
RECT CStrindleDlg::StoredRectOnScreen() const {
    RECT rect{Settings.WindowX, Settings.WindowY, Settings.WindowX + Settings.WindowWidth,
              Settings.WindowY + Settings.WindowHeight};
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return rect;
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return rect;
    const RECT& work = monitor.rcWork;
    int x = std::clamp<int>(rect.left, work.left, std::max<int>(work.left, work.right - Settings.WindowWidth));
    int y = std::clamp<int>(rect.top, work.top, std::max<int>(work.top, work.bottom - Settings.WindowHeight));
    OffsetRect(&rect, x - rect.left, y - rect.top);
    return rect;
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
    CItemTxt dialog(ItemText(Document.Value(static_cast<size_t>(caret))), Handle());
    dialog.DoModal();
}

void CStrindleDlg::OnIndexNumbers() {
    int caret = keyList_.Caret();
    CIndexNumberDlg dialog(IndexNumbersText(caret < 0 ? 0u : static_cast<unsigned>(caret)), Handle());
    dialog.DoModal();
}

void CStrindleDlg::OnGamePreview() { ShowPreview(!PreviewShown()); }

bool CStrindleDlg::PreviewShown() const { return preview_ && preview_->Handle() && IsWindowVisible(preview_->Handle()); }

// Opens at its last place when a screen shows that place, else beside the main window.
void CStrindleDlg::ShowPreview(bool show) {
    if (show && !preview_) {
        preview_ = std::make_unique<CItemPreviewWnd>(Handle(), [this] { SetMenuCheck(ID_VIEW_GAMEPREVIEW, false); });
        if (!preview_->CreateModeless()) {
            preview_.reset();
            return;
        }
        RECT place{Settings.PreviewX, Settings.PreviewY, Settings.PreviewX + Settings.PreviewWidth,
                   Settings.PreviewY + Settings.PreviewHeight};
        if (Settings.PreviewWidth <= 0 || Settings.PreviewHeight <= 0 ||
            !MonitorFromRect(&place, MONITOR_DEFAULTTONULL)) {
            RECT main, own;
            GetWindowRect(Handle(), &main);
            GetWindowRect(preview_->Handle(), &own);
            place = {main.right, main.top, main.right + own.right - own.left, main.top + own.bottom - own.top};
        }
        MoveWindow(preview_->Handle(), place.left, place.top, place.right - place.left, place.bottom - place.top,
                   FALSE);
    }
    if (preview_) {
        UpdatePreview();
        ShowWindow(preview_->Handle(), show ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    SetMenuCheck(ID_VIEW_GAMEPREVIEW, show && preview_);
}

// While a dialog or a message box holds the main window, the preview lies beneath it.
bool CStrindleDlg::OnEnable(WPARAM, LPARAM) {
    if (PreviewShown())
        preview_->KeepAboveOwner(GetWindowThreadProcessId(GetForegroundWindow(), nullptr) == GetCurrentThreadId());
    return false;
}

// The preview follows the caret entry, and the value as it is typed.
void CStrindleDlg::UpdatePreview() {
    if (!preview_)
        return;
    int caret = keyList_.Caret();
    bool hasEntry = caret >= 0 && static_cast<size_t>(caret) < Document.Count();
    preview_->ShowValue(hasEntry ? Document.Value(static_cast<size_t>(caret)) : std::u16string());
}

void CStrindleDlg::StorePreviewPlace() {
    Settings.PreviewOpen = PreviewShown();
    if (preview_ && preview_->Handle()) {
        RECT rect;
        GetWindowRect(preview_->Handle(), &rect);
        Settings.PreviewX = rect.left;
        Settings.PreviewY = rect.top;
        Settings.PreviewWidth = rect.right - rect.left;
        Settings.PreviewHeight = rect.bottom - rect.top;
    }
    Settings.StorePreview();
}
