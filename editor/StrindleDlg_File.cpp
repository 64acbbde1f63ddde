// The file commands of the main window: New, Open, open at start-up, Save and Save As.
#include "StrindleDlg.h"

#include "TblCompiler.h"
#include "TblLoader.h"
#include "WideText_win.h"

TblReport CStrindleDlg::Report() {
    TblReport report;
    report.Message = [this](const std::string& text, const std::string& caption) {
        prompts_.Message(Handle(), WideFromUtf8(text), WideFromUtf8(caption), MB_OK);
    };
    report.Progress = [this](const std::string& text) {
        SetStatusText(0, WideFromUtf8(text));
        UpdateWindow(statusBar_);
    };
    return report;
}

// While saving, the compiler's reason for a failure is kept for the one message that says the
// file was not saved.
TblReport CStrindleDlg::SaveReport(std::wstring& failure) {
    TblReport report = Report();
    report.Message = [&failure](const std::string& text, const std::string&) {
        failure += (failure.empty() ? L"" : L"\n") + WideFromUtf8(text);
    };
    return report;
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
    Document.PathName = Utf16(chosen.Path);
    Document.FileName = Utf16(chosen.FileName);
    if (LoadTbl(Document.PathName, Document.Keys, Document.Values, Document.Header, Settings.ParseOnLoad, Report()))
        ShowLoadedDocument();
    else
        ForgetRefusedFile();
    SetStatusText(0, L"Ready.");
}

// A file that could not be read is not the document's file: the empty table left behind is
// "Untitled", so that a later Save asks for a name instead of writing over the refused file.
void CStrindleDlg::ForgetRefusedFile() {
    Document.Reset();  // nothing half-read stays behind
    PutUpCleanTitle();
}

bool CStrindleDlg::OpenTblPath(const std::u16string& path) {
    StartupOpenRequest = false;
    Document.Clear();
    keyList_.ResetContent();
    SetChangeNotify(false);
    SetEditorText(u"");
    SetEditorReadOnly(false);
    Document.PathName = path;
    Document.FileName = FileNameOfPath(path);
    if (!LoadTbl(Document.PathName, Document.Keys, Document.Values, Document.Header, Settings.ParseOnLoad, Report())) {
        ForgetRefusedFile();
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
    std::wstring failure;
    if (!CompileTbl(Document.PathName, Document.Keys, Document.Values, Document.Header, Settings.ParseOnLoad,
                    SaveReport(failure))) {
        ReportSaveFailure(Document.FileName, failure);
        return;
    }
    SetStatusText(1, L"Saved");
    SetStatusText(0, L"Ready.");
    PutUpCleanTitle();
    ShowSavedValue();
}

void CStrindleDlg::OnSaveAs() {
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), TblFileRequest(true), chosen))
        return;
    std::wstring failure;
    if (!CompileTbl(Utf16(chosen.Path), Document.Keys, Document.Values, Document.Header, Settings.ParseOnLoad,
                    SaveReport(failure))) {
        ReportSaveFailure(Utf16(chosen.FileName), failure);
        return;
    }
    Document.FileName = Utf16(chosen.FileName);
    Document.PathName = Utf16(chosen.Path);
    PutUpCleanTitle();
    SetStatusText(0, L"Ready.");
    SetStatusText(1, L"Saved");
    ShowSavedValue();
    StoreChosenFolder(chosen.Path);
}

// Saving holds the values as written (colour tokens in their one spelling, text as UTF-8
// keeps it); the editor shows the caret entry's value as now held. An unchanged value is left
// alone, so that the editor keeps its caret and scroll position.
void CStrindleDlg::ShowSavedValue() {
    int caret = keyList_.Caret();
    if (caret < 0 || static_cast<size_t>(caret) >= Document.Count())
        return;
    if (Utf16(WindowText(valueEditor_)) != Document.Values[static_cast<size_t>(caret)])
        ShowCaretEntry();
}

void CStrindleDlg::ReportSaveFailure(const std::u16string& fileName, const std::wstring& reason) {
    std::wstring text = FormatText(L"File %ls not saved", WideChars(fileName));
    if (!reason.empty())
        text += L"\n\n" + reason;
    prompts_.Message(Handle(), text, L"Save Error", MB_OK);
    SetStatusText(1, L"Save Error");
    // The activity text of the failed attempt would otherwise stay up.
    SetStatusText(0, L"Ready.");
}
