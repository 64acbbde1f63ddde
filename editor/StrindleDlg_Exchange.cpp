// The table exchange commands of the main window: Export To Tabbed Txt, Import Tabbed Txt File
// and Import Tbl File.
#include "StrindleDlg.h"

#include "MergeEntries.h"
#include "TxtExportDlg.h"
#include "TxtImportDlg.h"
#include "WideText_win.h"

// The export only reads the table: nothing on screen changes and the table stays as it was.
void CStrindleDlg::OnExportTxt() {
    CTxtExport dialog(prompts_, Document, Handle());
    dialog.DoModal();
}

void CStrindleDlg::OnImportTxt() {
    CTxtImport dialog(prompts_, Document, Handle());
    dialog.ImportMode = ImportMode::Append;
    TblDocument::Step step(Document, "Import Tabbed Txt File", Document.Count());
    if (dialog.DoModal() != IDOK)
        return;
    ShowImportedEntries();
    Document.MarkModified();  // also when no row was imported
    ShowCaretEntry();
}

// Merges another table into this one by key. Leaves Modified, the title and the document state
// as they were; the open table loses nothing when the other file can't be read.
void CStrindleDlg::OnImportTbl() {
    FileDialogRequest request = StringFileRequest(FileChoice::OpenTable);
    request.InitialFolder.clear();
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), request, chosen))
        return;
    TblDocument other;
    SetStatusText(0, L"Loading....");
    const Result loaded = other.Load(Utf16(chosen.Path), Settings.ParseOnLoad);
    if (!loaded)
        ShowFailure(loaded);
    SetStatusText(0, L"Ready.");
    if (!loaded)
        return;
    TblDocument::Step step(Document, "Import Tbl File", 0);
    if (Result merged = MergeEntries(other.Entries(), Document); !merged) {
        ShowTxtIoFailure(prompts_, Handle(), merged);
        return;
    }
    Document.Header = other.Header;
    ShowImportedEntries();
    ShowCaretEntry();  // the caret entry's value may have been replaced
}

// Refills the key list after an import. Imports never move an entry, so the selection, the
// caret and the scroll position stay on the same rows; a list that had no rows gets its first
// row selected, as after Open.
void CStrindleDlg::ShowImportedEntries() {
    HWND list = keyList_.Handle();
    std::vector<int> selected = keyList_.SelectedRows();
    int caret = keyList_.Caret();
    LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    keyList_.Fill(Document.Count());
    if (keyList_.Count() == 0)
        return;
    if (caret < 0) {
        caret = 0;
        selected = {0};
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (int row : selected)
        keyList_.Select(row, true);
    keyList_.SetCaret(caret);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}
