#pragma once

#include "Dialog.h"
#include "Handles.h"
#include "ImageButton.h"
#include "ItemPreviewWnd.h"
#include "ListBoxEx.h"
#include "MessageMap.h"
#include "ReferenceComparison.h"
#include "ReplaceDialog.h"
#include "Settings.h"
#include "TblDocument.h"
#include "UserPrompts.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

// Strindle's main window: the key list, the value editor of the caret entry, toolbar and
// status bar, over the one open table.
class CStrindleDlg : public CDialog {
public:
    explicit CStrindleDlg(UserPrompts& prompts, HWND owner = nullptr);
    ~CStrindleDlg() override;

    TblDocument Document;
    StrindleSettings Settings;
    // Set when Strindle was started with a file to open when the window first shows.
    bool StartupOpenRequest = false;
    std::u16string StartupPath;
    bool LayoutReady = false;
    bool ConfirmDelete = false;
    // The search state: positions of the last hit, and the row it was in.
    int KeyHitPos = -1;
    int ValueHitPos = -1;
    int SearchRow = -1;
    // The text of the last confirmed search (lower-cased when case is ignored) and its case rule.
    std::u16string SearchText;
    bool IgnoreCase = false;
    // Searches from the first row, as Search does once its dialog is confirmed: selects the
    // first hit or shows "End of Search". Also the entry point for measuring a search.
    void RunSearch(const std::u16string& text, bool caseSensitive);

    // Shows the caret entry's value and its index and hash in the status bar.
    void ShowCaretEntry();
    // Greys or enables the commands that need entries and puts up the not-saved indication.
    void UpdateCommandStates();
    void SetChangeNotify(bool on);
    void DeselectAll();
    void SetStatusText(int part, const std::wstring& text);
    // Opens the file named on the command line.
    bool OpenTblPath(const std::u16string& path);

    CListBoxEx& KeyList() { return keyList_; }
    HWND ValueEditor() const { return valueEditor_; }
    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return statusBar_; }
    // The toolbar's "Language" drop-down, which a D2R string file's language is chosen with.
    HWND LanguageBox() const { return languageBox_; }
    // The reference's value of the caret entry, above the value editor while a reference is open.
    HWND ReferenceView() const { return referenceView_; }
    // The reference, or null while none is open, and the table compared with it.
    const TblDocument* Reference() const { return reference_.get(); }
    const ReferenceComparison& Comparison() const { return comparison_; }
    // The game preview, or null before it was first opened.
    CItemPreviewWnd* Preview() const { return preview_.get(); }
    bool PreviewShown() const;

    // The Colors drop-down's items: measured and drawn by the window.
    void MeasureColourItem(MEASUREITEMSTRUCT& item) const;
    bool DrawColourItem(const DRAWITEMSTRUCT& item) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool RouteCommand(UINT id, UINT code) override;
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG& message) override;

private:
    friend struct StrindleMessageMap;

    // File commands
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    template <size_t Index>
    void OnRecentFile() { OpenRecentFile(Index); }
    void OpenRecentFile(size_t index);
    // Options
    void OnAdvancedMode();
    void OnParseOnLoad();
    void OnAutosaveWindowPos();
    void OnSaveCurrentPosition();
    void OnSetDefaultDirectory();
    void OnAutosaveLastPath();
    // Table exchange
    void OnExportTxt();
    void OnImportTxt();
    void OnImportTbl();
    void ShowImportedEntries();
    // Views
    void OnColorCodes();
    void OnAbout();
    void OnShowItemText();
    void OnIndexNumbers();
    void OnGamePreview();
    // D2R string files and the reference (StrindleDlg_Reference.cpp)
    // The language named by a setting ("deDE"), or enUS for a name of none.
    static size_t LanguageIndex(const std::wstring& name);
    void CreateLanguageBox();
    void ShowLanguageBox();
    void OnLanguageChange();
    void WarnOfRepeatedIds();
    void OnReference();
    void OnCloseReference();
    template <size_t Language>
    void OnReferenceLanguage() { SetReferenceLanguage(Language); }
    void SetReferenceLanguage(size_t language);
    bool LoadReference(const std::wstring& path);
    void OnNextProblem();
    void OnPreviousProblem();
    void GoToProblem(bool forward);
    // Compares the table with the reference again when it changed since the last comparison.
    void UpdateComparison();
    void ForgetComparison() { comparedState_ = NotCompared; }
    // The reference's value of entry `caret` above the editor, and its problem in the status bar.
    void ShowReferenceOf(size_t caret);
    // The status bar's id part: the D2R entry's id, or the value's hash in a table.
    void ShowIdOrHash(size_t caret, const std::u16string& value);
    void ShowPreview(bool show);
    void UpdatePreview();
    void StorePreviewPlace();
    // Controls
    void OnKeyListSelChange();
    void OnValueChange();
    void OnExit();
    // Key editing (StrindleDlg_Edit.cpp)
    void OnAddKey();
    void OnDeleteKey();
    void OnEditKeyString();
    void OnMoveUp();
    void OnMoveDown();
    void OnCopySelected();
    void OnCutSelected();
    void OnPasteInto();
    void OnSelectAll();
    template <size_t Row>
    void OnColourToken() { InsertColourToken(Row); }
    // Search and go-to
    void OnUndo();
    void OnRedo();
    void OnSearch();
    void OnRepeatSearch();
    void OnGoToIndex();
    void ResetSearchState();
    void StartSearchOver();
    bool FindNextInSearchRowValue();
    void ScanFromSearchRow(bool deselectOnHit);
    void ShowSearchHit(bool deselectFirst);
    // Find and Replace: the window's three buttons come as commands, read its query, and
    // work from the last hit shown.
    void OnFindAndReplace();
    void OnReplaceFindNext();
    void OnReplaceOne();
    void OnReplaceAll();
    TblTextPlace ReplaceSearchStart(bool pastHit) const;
    void FindNextToReplace(const TblReplacer& replacer, TblTextPlace from);
    void RefuseReplacement(const std::string& refusal);
    // Marks `length` characters from `position` of entry `row`'s value, which the editor shows.
    void MarkInEditor(size_t row, size_t position, size_t length);

    bool OnSize(WPARAM wParam, LPARAM lParam);
    bool OnPaint(WPARAM wParam, LPARAM lParam);
    bool OnShowWindow(WPARAM wParam, LPARAM lParam);
    bool OnEnable(WPARAM wParam, LPARAM lParam);
    bool OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    bool OnStartupOpen(WPARAM wParam, LPARAM lParam);
    bool OnClose(WPARAM wParam, LPARAM lParam);
    bool OnSysCommand(WPARAM wParam, LPARAM lParam);
    bool OnNotify(WPARAM wParam, LPARAM lParam);
    bool OnMeasureItem(WPARAM wParam, LPARAM lParam);
    bool OnDrawItem(WPARAM wParam, LPARAM lParam);
    bool OnContextMenu(WPARAM wParam, LPARAM lParam);
    bool OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    bool OnDropFiles(WPARAM wParam, LPARAM lParam);
    bool OnVKeyToItem(WPARAM wParam, LPARAM lParam);
    bool OnCharToItem(WPARAM wParam, LPARAM lParam);
    bool OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    // The splitter between the key list and the value editor.
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    bool OnLButtonDown(WPARAM wParam, LPARAM lParam);
    bool OnMouseMove(WPARAM wParam, LPARAM lParam);
    bool OnLButtonUp(WPARAM wParam, LPARAM lParam);
    bool OnSplitterPoint(POINT client) const;
    int KeyListWidth(int cx) const;
    void SelectRowUnderMouse(LPARAM screenPoint);

    template <class Route>
    bool Guarded(Route route);
    void ReportCommandFailure(const std::wstring& what);
    bool CreateValueEditor();
    void CreateToolbar();
    void CreateStatusBar();
    void Layout(int cx, int cy);
    void PlaceButton(HWND button, int x, int y);
    void SetEditorFont();
    void SetStatusParts(int cx);
    void FitStatusParts(int rows);
    void ShowUpDownButtons(bool show);
    void SetToolbarButtonsEnabled(bool enabled);
    void SetEditorReadOnly(bool readOnly);
    void SetEditorText(const std::u16string& text);
    void ShowColoursMenu(const NMTOOLBARW& button);
    void ShowToolTip(NMTTDISPINFOW& info) const;
    void ShowToolTip(NMTTDISPINFOA& info) const;
    void PutUpCleanTitle();
    // Status pane 1 of a table with no unsaved changes: "Loaded", "Saved" or empty; Undo and
    // Redo bring it back with the state last saved.
    void ShowCleanStatus(const wchar_t* text);
    // Undo or Redo (`step`), showing the entry the step changed and whether the table is saved.
    void TakeStep(bool (TblDocument::*step)(size_t& focus));
    void ShowModifiedState();
    void ShowLoadedDocument();
    void ShowEntriesFromTop();
    bool RescueAccepted(TblDocument& rescued, const std::u16string& path, const Result& refusal);
    bool OpenChosenFile(const std::wstring& path);
    void RememberRecentFile(const std::wstring& path);
    void ShowRecentFiles();
    void ShowZeroIndexAndHash();
    void SaveWindowPosition();
    RECT StoredRectOnScreen() const;
    void StoreChosenFolder(const std::wstring& path);
    void ClosePath();
    bool ConfirmDiscardChanges();
    void ReportSaveFailure(const std::u16string& fileName, const std::wstring& reason);
    void ShowSavedValue();
    // Open offers tables and D2R files, Import Tbl tables, Save the open document's kind.
    enum class FileChoice { Open, OpenTable, Save };
    FileDialogRequest StringFileRequest(FileChoice choice) const;
    // A core operation's failure in a message box with its caption.
    void ShowFailure(const Result& failure);
    // Shows the compiler's activity texts in status part 0 at once.
    TblProgress Progress();
    void Repaint();
    void SetMenuCheck(UINT id, bool checked);
    // Key editing (StrindleDlg_Edit.cpp)
    void MarkNotSaved();
    // Shows the table's keys as the list's rows.
    void SelectAndShow(int row);
    bool AddEntryAt(size_t row, std::u16string name);
    void MoveCaretEntry(int step);
    bool CopySelected();
    void InsertColourToken(size_t row);

    UserPrompts& prompts_;
    HICON icon_;
    CListBoxEx keyList_;
    CImageButton upButton_;
    CImageButton downButton_;
    HWND valueEditor_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    HIMAGELIST toolbarImages_ = nullptr;
    std::wstring cleanStatus_;
    // What a change in the value editor is called in the history: "Typing", or "Color" while a
    // colour token goes in.
    const char* typedStepName_ = "Typing";
    std::unique_ptr<CItemPreviewWnd> preview_;
    std::unique_ptr<CReplaceDialog> replaceDialog_;  // made by the first Find and Replace
    std::optional<TblMatch> replaceHit_;              // the match Find and Replace shows
    HWND languageBox_ = nullptr;
    HWND referenceView_ = nullptr;
    std::unique_ptr<TblDocument> reference_;
    std::wstring referencePath_;
    ReferenceComparison comparison_;
    static constexpr uint64_t NotCompared = UINT64_MAX;
    uint64_t comparedState_ = NotCompared;  // the table's history state the comparison was made at
    // Widths of status parts 1 to 4 (part 0 takes what is left).
    int statusPartWidths_[4] = {75, 175, 100, 50};
    int statusPartFitted_[4] = {75, 175, 100, 50};  // the least that shows each part's longest text
    int statusActivityWidth_ = 0;                    // what part 0 needs for "Compiling...."
    int splitterGrip_ = -1;  // while the splitter is dragged: where in it the mouse took it
    size_t statusDigits_ = 0;  // decimal digits of the last index the widths were fitted to
    wchar_t widestDecimalDigit_ = L'\0';  // in the status bar's font; found on the first fitting
    wchar_t widestHexDigit_ = L'\0';
};

// Loads the rich-edit library the value editor needs (held for the life of the process).
bool LoadRichEditLibrary();
