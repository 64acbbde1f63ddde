// The file commands of the main window: New, Open, open at start-up, Save and Save As.
#include "StrindleDlg.h"

#include "RecentFiles.h"
#include "RescueQuestion.h"
#include "WideText_win.h"
#include "resource.h"

#include <shellapi.h>

#include <cwctype>

void CStrindleDlg::ShowFailure(const Result& failure) {
    prompts_.Message(Handle(), WideFromUtf8(failure.Message), WideFromUtf8(failure.Caption), MB_OK);
}

TblProgress CStrindleDlg::Progress() {
    return [this](const std::string& text) {
        SetStatusText(0, WideFromUtf8(text));
        UpdateWindow(statusBar_);
    };
}

FileDialogRequest CStrindleDlg::StringFileRequest(FileChoice choice) const {
    FileDialogRequest request;
    const bool save = choice == FileChoice::Save;
    request.Save = save;
    // Open takes either kind; a document is saved as the kind it is.
    if (choice == FileChoice::Open) {
        request.DefaultExtension = L"tbl";
        request.InitialFileName = L"*.tbl;*.json";
        request.Filter = L"String Tables (*.tbl, *.json)|*.tbl;*.json|Tbl Files (*.tbl)|*.tbl|"
                         L"D2R String Files (*.json)|*.json|All files (*.*)|*.*||";
    } else if (save && Document.IsD2r()) {
        request.DefaultExtension = L"json";
        request.InitialFileName = L"*.json";
        request.Filter = L"D2R String Files (*.json)|*.json|All files (*.*)|*.*||";
    } else {
        request.DefaultExtension = L"tbl";
        request.InitialFileName = L"*.tbl";
        request.Filter = L"Tbl Files (*.tbl)|*.tbl|All files (*.*)|*.*||";
    }
    // Beside the open table's file, where the next table most likely is; else the default folder.
    request.InitialFolder = Document.PathName.empty() ? Settings.DefaultDirectory : FolderOfPath(Wide(Document.PathName));
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
    ShowCleanStatus(L"");
    ShowLanguageBox();
    ForgetComparison();
    ShowCaretEntry();
    Repaint();
}

void CStrindleDlg::OnOpen() {
    FileDialogRequest request = StringFileRequest(FileChoice::Open);
    if (Document.Modified && !ConfirmDiscardChanges())
        return;
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), request, chosen))
        return;
    StoreChosenFolder(chosen.Path);
    OpenChosenFile(chosen.Path);
}

// Loads `path` in place of the document, once the user has chosen it (by the Open dialog,
// the recent-files list or a drop) and agreed to lose unsaved changes. The file is read beside
// the open table, which stays as it was (its name, rows and modified state) should the file be
// refused and not rescued.
bool CStrindleDlg::OpenChosenFile(const std::wstring& path) {
    SetStatusText(0, L"Loading....");
    TblDocument read;
    read.SetLanguage(LanguageIndex(Settings.Language));
    const Result loaded = read.Load(Utf16(path), Settings.ParseOnLoad);
    if (loaded || RescueAccepted(read, Utf16(path), loaded)) {
        SetChangeNotify(false);
        Document = std::move(read);
        SetEditorReadOnly(false);
        ShowLanguageBox();
        if (loaded) {
            ShowLoadedDocument();
            RememberRecentFile(path);
            WarnOfRepeatedIds();
        } else {
            ShowEntriesFromTop();  // "Untitled" and modified: the star, "Not Saved", and Save asks for a name
            SetChangeNotify(true);
        }
    }
    SetStatusText(0, L"Ready.");
    return loaded.Ok;
}

void CStrindleDlg::OpenRecentFile(size_t index) {
    if (index >= Settings.RecentFiles.size())
        return;
    if (Document.Modified && !ConfirmDiscardChanges())
        return;
    const std::wstring path = Settings.RecentFiles[index];
    // The loader has said why it failed; a file that is no longer there leaves the list.
    if (OpenChosenFile(path) || GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    RemoveRecentFile(Settings.RecentFiles, path);
    Settings.StoreRecentFiles();
    ShowRecentFiles();
}

namespace {

bool HasTblExtension(const std::wstring& path) {
    if (path.size() < 4)
        return false;
    std::wstring extension = path.substr(path.size() - 4);
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return extension == L".tbl";
}

// The first .tbl or D2R string file of a drop, or nothing.
std::wstring DroppedTable(HDROP drop) {
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
        if (HasTblExtension(path) || IsD2rPath(Utf16(path)))
            return path;
    }
    return {};
}

}  // namespace

// A .tbl or D2R string file dropped on the window opens as if chosen with Open.
bool CStrindleDlg::OnDropFiles(WPARAM wParam, LPARAM) {
    auto drop = reinterpret_cast<HDROP>(wParam);
    const std::wstring path = DroppedTable(drop);
    DragFinish(drop);
    if (path.empty()) {
        MessageBeep(MB_ICONWARNING);
        return true;
    }
    if (!IsWindowEnabled(Handle()))  // a modal dialog of the window is open
        return true;
    if (Document.Modified && !ConfirmDiscardChanges())
        return true;
    OpenChosenFile(path);
    return true;
}

void CStrindleDlg::RememberRecentFile(const std::wstring& path) {
    std::vector<std::wstring> updated = Settings.RecentFiles;
    AddRecentFile(updated, path);
    // Opening the file already at the top of the list again leaves nothing to store or show.
    if (updated == Settings.RecentFiles)
        return;
    Settings.RecentFiles = std::move(updated);
    Settings.StoreRecentFiles();
    ShowRecentFiles();
}

// The list stands in the File menu between the separators above Exit; without entries a
// greyed "Recent Files" holds its place.
void CStrindleDlg::ShowRecentFiles() {
    HMENU file = GetSubMenu(GetMenu(Handle()), 0);
    for (UINT id = ID_FILE_RECENT_FIRST; id <= ID_FILE_RECENT_LAST; ++id)
        DeleteMenu(file, id, MF_BYCOMMAND);
    int exitPosition = 0;
    while (GetMenuItemID(file, exitPosition) != ID_FILE_EXIT)
        ++exitPosition;
    const UINT before = static_cast<UINT>(exitPosition - 1);  // the separator above Exit
    if (Settings.RecentFiles.empty()) {
        InsertMenuW(file, before, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_RECENT_FIRST, L"Recent Files");
        return;
    }
    for (size_t index = 0; index < Settings.RecentFiles.size() && index < RecentFileLimit; ++index)
        InsertMenuW(file, before + static_cast<UINT>(index), MF_BYPOSITION | MF_STRING,
                    ID_FILE_RECENT_FIRST + index, RecentFileMenuText(index, Settings.RecentFiles[index]).c_str());
}

// Load refused `path`. A damaged table of which entries can be read is offered: the question
// says what could not be read, and Yes reads those entries into `rescued`, a new, modified
// table. Otherwise the refusal is said.
bool CStrindleDlg::RescueAccepted(TblDocument& rescued, const std::u16string& path, const Result& refusal) {
    std::vector<std::string> unreadable;
    // A header whose count was set to 0 rescues nothing: only the refusal is said.
    if (!rescued.Rescue(path, Settings.ParseOnLoad, unreadable) || rescued.Count() == 0) {
        ShowFailure(refusal);
        return false;
    }
    return prompts_.Message(Handle(), RescueQuestion(WideFromUtf8(refusal.Message), unreadable),
                            WideFromUtf8(refusal.Caption), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

bool CStrindleDlg::OpenTblPath(const std::u16string& path) {
    StartupOpenRequest = false;
    return OpenChosenFile(FullPathOf(Wide(path)));
}

// Shared by Open and the open at start-up: the start-up open shows the first entry too, so
// that typing into the editor edits the entry the editor shows.
void CStrindleDlg::ShowLoadedDocument() {
    PutUpCleanTitle();
    ShowEntriesFromTop();
    ShowCleanStatus(L"Loaded");
    Document.MarkClean();
    SetChangeNotify(true);
}

void CStrindleDlg::ShowEntriesFromTop() {
    ForgetComparison();  // another document's history may pass through the same state numbers
    keyList_.Fill(Document.Count());
    if (keyList_.Count() > 0) {
        keyList_.Select(0, true);
        keyList_.SetCaret(0);
    }
    ShowCaretEntry();
    Repaint();
}

void CStrindleDlg::OnSave() {
    if (Document.Count() == 0)
        return;
    if (Document.PathName.empty()) {
        OnSaveAs();
        return;
    }
    if (const Result saved = Document.Compile(Document.PathName, Settings.ParseOnLoad, Progress()); !saved) {
        ReportSaveFailure(Document.FileName, WideFromUtf8(saved.Message));
        return;
    }
    ShowCleanStatus(L"Saved");
    SetStatusText(0, L"Ready.");
    PutUpCleanTitle();
    ShowSavedValue();
}

void CStrindleDlg::OnSaveAs() {
    FileDialogRequest request = StringFileRequest(FileChoice::Save);
    // A table that has a file starts in that file's folder, under its name.
    if (!Document.PathName.empty()) {
        request.InitialFolder = FolderOfPath(Wide(Document.PathName));
        request.InitialFileName = Wide(Document.FileName);
    }
    ChosenFile chosen;
    if (!prompts_.ChooseFile(Handle(), request, chosen))
        return;
    if (const Result saved = Document.Compile(Utf16(chosen.Path), Settings.ParseOnLoad, Progress()); !saved) {
        ReportSaveFailure(Utf16(chosen.FileName), WideFromUtf8(saved.Message));
        return;
    }
    PutUpCleanTitle();
    SetStatusText(0, L"Ready.");
    ShowCleanStatus(L"Saved");
    ShowSavedValue();
    StoreChosenFolder(chosen.Path);
    RememberRecentFile(chosen.Path);
}

// Saving holds the values as written (colour tokens in their one spelling, text as UTF-8
// keeps it); the editor shows the caret entry's value as now held. An unchanged value is left
// alone, so that the editor keeps its caret and scroll position.
void CStrindleDlg::ShowSavedValue() {
    int caret = keyList_.Caret();
    if (caret < 0 || static_cast<size_t>(caret) >= Document.Count())
        return;
    if (Utf16(WindowText(valueEditor_)) != Document.Value(static_cast<size_t>(caret)))
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
