// The file commands of the main window: New, Open, open at start-up, Save and Save As.
#include "StrindleDlg.h"

#include "WideText_win.h"

void CStrindleDlg::ShowFailure(const Result& failure) {
    prompts_.Message(Handle(), WideFromUtf8(failure.Message), WideFromUtf8(failure.Caption), MB_OK);
}

TblProgress CStrindleDlg::Progress() {
    return [this](const std::string& text) {
        SetStatusText(0, WideFromUtf8(text));
        UpdateWindow(statusBar_);
    };
}

FileDialogRequest CStrindleDlg::TblFileRequest(bool save) const {
    FileDialogRequest request;
    request.Save = save;
    request.DefaultExtension = L"tbl";
    request.InitialFileName = L"*.tbl";
    request.Filter = L"Tbl Files (*.tbl)|*.tbl|All files (*.*)|*.*||";
    request.InitialFolder = Settings.DefaultDirectory;
    request.Flags = save ? OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST
                         : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return request;
}

void CStrindleDlg::PutUpCleanTitle() {
    Document.MarkClean();
    SetWindowTextW(Handle(), WideChars(Document.Title()));
}

void CStrindleDlg::StoreChosenFolder(const std::wstring& path) {
    if (!Settings.AutosaveLastPath)
        return;
    Settings.DefaultDirectory = FolderOfPath(path);
    Settings.StoreDefaultDirectory();
}

void CStrindleDlg::OnNew() {
    if (Document.Modified && !ConfirmDiscardChanges())
        return;
    keyList_.ResetContent();
    Document.Reset();
    SetChangeNotify(false);
    SetEditorText(u"");
    SetChangeNotify(true);
    SetEditorReadOnly(true);
    PutUpCleanTitle();
    ShowZeroIndexAndHash();
    SetStatusText(1, L"");
    Repaint();
}

void CStrindleDlg::OnOpen() {
    FileDialogRequest request = TblFileRequest(false);
    if (Document.Modified && !ConfirmDiscardChanges())
        return;
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), request, chosen))
        return;
    SetChangeNotify(false);
    StoreChosenFolder(chosen.Path);

    Document.Clear();
    keyList_.ResetContent();
    SetEditorReadOnly(false);
    SetEditorText(u"");
    SetStatusText(0, L"Loading....");
    if (const Result loaded = Document.Load(Utf16(chosen.Path), Settings.ParseOnLoad))
        ShowLoadedDocument();
    else
        ShowFailure(loaded);
    SetStatusText(0, L"Ready.");
}

bool CStrindleDlg::OpenTblPath(const std::u16string& path) {
    StartupOpenRequest = false;
    Document.Clear();
    keyList_.ResetContent();
    SetChangeNotify(false);
    SetEditorText(u"");
    SetEditorReadOnly(false);
    const Result loaded = Document.Load(path, Settings.ParseOnLoad);
    if (!loaded) {
        ShowFailure(loaded);
        return false;
    }
    ShowLoadedDocument();
    return true;
}

// Shared by Open and the open at start-up: the start-up open shows the first entry too, so
// that typing into the editor edits the entry the editor shows.
void CStrindleDlg::ShowLoadedDocument() {
    PutUpCleanTitle();
    keyList_.Fill(Document.Keys);
    if (keyList_.Count() > 0) {
        keyList_.Select(0, true);
        keyList_.SetCaret(0);
    }
    ShowCaretEntry();
    Repaint();
    SetStatusText(1, L"Loaded");
    Document.MarkClean();
    SetChangeNotify(true);
}

void CStrindleDlg::OnSave() {
    if (Document.Count() == 0)
        return;
    if (Document.PathName.empty()) {
        OnSaveAs();
        return;
    }
    if (const Result saved = Document.Compile(Document.PathName, Settings.ParseOnLoad, Progress()); !saved) {
        ShowFailure(saved);
        ReportSaveFailure(Document.FileName);
        return;
    }
    SetStatusText(1, L"Saved");
    SetStatusText(0, L"Ready.");
    PutUpCleanTitle();
}

void CStrindleDlg::OnSaveAs() {
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), TblFileRequest(true), chosen))
        return;
    if (const Result saved = Document.Compile(Utf16(chosen.Path), Settings.ParseOnLoad, Progress()); !saved) {
        ShowFailure(saved);
        ReportSaveFailure(Utf16(chosen.FileName));
        return;
    }
    PutUpCleanTitle();
    SetStatusText(0, L"Ready.");
    SetStatusText(1, L"Saved");
    StoreChosenFolder(chosen.Path);
}

void CStrindleDlg::ReportSaveFailure(const std::u16string& fileName) {
    prompts_.Message(Handle(), FormatText(L"File %ls not saved", WideChars(fileName)), L"Save Error", MB_OK);
    SetStatusText(1, L"Save Error");
    // The activity text of the failed attempt would otherwise stay up.
    SetStatusText(0, L"Ready.");
}
