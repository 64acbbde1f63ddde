#include "StrindleDlg.h"

#include "TblHash.h"
#include "WideText_win.h"
#include "resource.h"

#include <richedit.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <new>

namespace {

// Posted from the first WM_SHOWWINDOW so the file opens after the window's default showing.
constexpr UINT WM_APP_STARTUPOPEN = WM_APP + 1;

}  // namespace

struct StrindleMessageMap {
    static constexpr CommandEntry<CStrindleDlg> Commands[] = {
        {ID_FILE_NEW, CommandCode, &CStrindleDlg::OnNew},
        {ID_FILE_OPEN, CommandCode, &CStrindleDlg::OnOpen},
        {ID_FILE_SAVE, CommandCode, &CStrindleDlg::OnSave},
        {ID_FILE_SAVEAS, CommandCode, &CStrindleDlg::OnSaveAs},
        {ID_FILE_EXIT, CommandCode, &CStrindleDlg::OnExit},
        {ID_FILE_RECENT_FIRST + 0, CommandCode, &CStrindleDlg::OnRecentFile<0>},
        {ID_FILE_RECENT_FIRST + 1, CommandCode, &CStrindleDlg::OnRecentFile<1>},
        {ID_FILE_RECENT_FIRST + 2, CommandCode, &CStrindleDlg::OnRecentFile<2>},
        {ID_FILE_RECENT_FIRST + 3, CommandCode, &CStrindleDlg::OnRecentFile<3>},
        {ID_OPTIONS_ADVANCED, CommandCode, &CStrindleDlg::OnAdvancedMode},
        {ID_OPTIONS_PARSEONLOAD, CommandCode, &CStrindleDlg::OnParseOnLoad},
        {ID_OPTIONS_AUTOSAVEPOS, CommandCode, &CStrindleDlg::OnAutosaveWindowPos},
        {ID_OPTIONS_SAVEPOS, CommandCode, &CStrindleDlg::OnSaveCurrentPosition},
        {ID_OPTIONS_SETDEFAULTDIR, CommandCode, &CStrindleDlg::OnSetDefaultDirectory},
        {ID_OPTIONS_AUTOSAVEPATH, CommandCode, &CStrindleDlg::OnAutosaveLastPath},
        {ID_HELP_COLORCODES, CommandCode, &CStrindleDlg::OnColorCodes},
        {IDM_ABOUTBOX, CommandCode, &CStrindleDlg::OnAbout},
        {ID_SHOWITEMTEXT, CommandCode, &CStrindleDlg::OnShowItemText},
        {ID_SHOWTEXTONITEM, CommandCode, &CStrindleDlg::OnShowItemText},
        {ID_INDEXNUMBERS, CommandCode, &CStrindleDlg::OnIndexNumbers},
        {ID_VIEW_GAMEPREVIEW, CommandCode, &CStrindleDlg::OnGamePreview},
        {IDC_LANGUAGE, CBN_SELCHANGE, &CStrindleDlg::OnLanguageChange},
        {ID_VIEW_REFERENCE, CommandCode, &CStrindleDlg::OnReference},
        {ID_VIEW_CLOSEREFERENCE, CommandCode, &CStrindleDlg::OnCloseReference},
        {ID_VIEW_NEXTPROBLEM, CommandCode, &CStrindleDlg::OnNextProblem},
        {ID_VIEW_PREVIOUSPROBLEM, CommandCode, &CStrindleDlg::OnPreviousProblem},
        {ID_REFERENCE_LANGUAGE_FIRST + 0, CommandCode, &CStrindleDlg::OnReferenceLanguage<0>},
        {ID_REFERENCE_LANGUAGE_FIRST + 1, CommandCode, &CStrindleDlg::OnReferenceLanguage<1>},
        {ID_REFERENCE_LANGUAGE_FIRST + 2, CommandCode, &CStrindleDlg::OnReferenceLanguage<2>},
        {ID_REFERENCE_LANGUAGE_FIRST + 3, CommandCode, &CStrindleDlg::OnReferenceLanguage<3>},
        {ID_REFERENCE_LANGUAGE_FIRST + 4, CommandCode, &CStrindleDlg::OnReferenceLanguage<4>},
        {ID_REFERENCE_LANGUAGE_FIRST + 5, CommandCode, &CStrindleDlg::OnReferenceLanguage<5>},
        {ID_REFERENCE_LANGUAGE_FIRST + 6, CommandCode, &CStrindleDlg::OnReferenceLanguage<6>},
        {ID_REFERENCE_LANGUAGE_FIRST + 7, CommandCode, &CStrindleDlg::OnReferenceLanguage<7>},
        {ID_REFERENCE_LANGUAGE_FIRST + 8, CommandCode, &CStrindleDlg::OnReferenceLanguage<8>},
        {ID_REFERENCE_LANGUAGE_FIRST + 9, CommandCode, &CStrindleDlg::OnReferenceLanguage<9>},
        {ID_REFERENCE_LANGUAGE_FIRST + 10, CommandCode, &CStrindleDlg::OnReferenceLanguage<10>},
        {ID_REFERENCE_LANGUAGE_FIRST + 11, CommandCode, &CStrindleDlg::OnReferenceLanguage<11>},
        {ID_REFERENCE_LANGUAGE_FIRST + 12, CommandCode, &CStrindleDlg::OnReferenceLanguage<12>},
        {IDC_KEYLIST, LBN_SELCHANGE, &CStrindleDlg::OnKeyListSelChange},
        {IDC_VALUE, EN_CHANGE, &CStrindleDlg::OnValueChange},
        // Key editing
        {ID_EDIT_UNDO, CommandCode, &CStrindleDlg::OnUndo},
        {ID_EDIT_REDO, CommandCode, &CStrindleDlg::OnRedo},
        {ID_EDIT_ADDKEY, CommandCode, &CStrindleDlg::OnAddKey},
        {ID_EDIT_DELETEKEY, CommandCode, &CStrindleDlg::OnDeleteKey},
        {IDC_KEYLIST, LBN_DBLCLK, &CStrindleDlg::OnEditKeyString},
        {IDC_UP, BN_CLICKED, &CStrindleDlg::OnMoveUp},
        {IDC_DOWN, BN_CLICKED, &CStrindleDlg::OnMoveDown},
        // An owner-drawn button reports a quick second click as a double click.
        {IDC_UP, BN_DOUBLECLICKED, &CStrindleDlg::OnMoveUp},
        {IDC_DOWN, BN_DOUBLECLICKED, &CStrindleDlg::OnMoveDown},
        {ID_LIST_COPY, CommandCode, &CStrindleDlg::OnCopySelected},
        {ID_LIST_CUT, CommandCode, &CStrindleDlg::OnCutSelected},
        {ID_LIST_PASTE, CommandCode, &CStrindleDlg::OnPasteInto},
        {ID_EDIT_SELECTALL, CommandCode, &CStrindleDlg::OnSelectAll},
        {ID_COLOR_FIRST + 0, CommandCode, &CStrindleDlg::OnColourToken<0>},
        {ID_COLOR_FIRST + 1, CommandCode, &CStrindleDlg::OnColourToken<1>},
        {ID_COLOR_FIRST + 2, CommandCode, &CStrindleDlg::OnColourToken<2>},
        {ID_COLOR_FIRST + 3, CommandCode, &CStrindleDlg::OnColourToken<3>},
        {ID_COLOR_FIRST + 4, CommandCode, &CStrindleDlg::OnColourToken<4>},
        {ID_COLOR_FIRST + 5, CommandCode, &CStrindleDlg::OnColourToken<5>},
        {ID_COLOR_FIRST + 6, CommandCode, &CStrindleDlg::OnColourToken<6>},
        {ID_COLOR_FIRST + 7, CommandCode, &CStrindleDlg::OnColourToken<7>},
        {ID_COLOR_FIRST + 8, CommandCode, &CStrindleDlg::OnColourToken<8>},
        {ID_COLOR_FIRST + 9, CommandCode, &CStrindleDlg::OnColourToken<9>},
        {ID_COLOR_FIRST + 10, CommandCode, &CStrindleDlg::OnColourToken<10>},
        {ID_COLOR_FIRST + 11, CommandCode, &CStrindleDlg::OnColourToken<11>},
        {ID_COLOR_FIRST + 12, CommandCode, &CStrindleDlg::OnColourToken<12>},
        // Search and go-to
        {ID_EDIT_SEARCH, CommandCode, &CStrindleDlg::OnSearch},
        {ID_EDIT_REPEATSEARCH, CommandCode, &CStrindleDlg::OnRepeatSearch},
        {ID_EDIT_GOTOINDEX, CommandCode, &CStrindleDlg::OnGoToIndex},
        {ID_EDIT_REPLACE, CommandCode, &CStrindleDlg::OnFindAndReplace},
        {IDC_REPLACE_FINDNEXT, CommandCode, &CStrindleDlg::OnReplaceFindNext},
        {IDC_REPLACE_ONE, CommandCode, &CStrindleDlg::OnReplaceOne},
        {IDC_REPLACE_ALL, CommandCode, &CStrindleDlg::OnReplaceAll},
        // Table exchange
        {ID_EXPORT_TXT, CommandCode, &CStrindleDlg::OnExportTxt},
        {ID_IMPORT_TXT, CommandCode, &CStrindleDlg::OnImportTxt},
        {ID_IMPORT_TBL, CommandCode, &CStrindleDlg::OnImportTbl},
    };
    static constexpr MessageEntry<CStrindleDlg> Messages[] = {
        {WM_SIZE, &CStrindleDlg::OnSize},
        {WM_PAINT, &CStrindleDlg::OnPaint},
        {WM_SHOWWINDOW, &CStrindleDlg::OnShowWindow},
        {WM_ENABLE, &CStrindleDlg::OnEnable},
        {WM_INITMENUPOPUP, &CStrindleDlg::OnInitMenuPopup},
        {WM_APP_STARTUPOPEN, &CStrindleDlg::OnStartupOpen},
        {WM_CLOSE, &CStrindleDlg::OnClose},
        {WM_SYSCOMMAND, &CStrindleDlg::OnSysCommand},
        {WM_NOTIFY, &CStrindleDlg::OnNotify},
        {WM_MEASUREITEM, &CStrindleDlg::OnMeasureItem},
        {WM_DRAWITEM, &CStrindleDlg::OnDrawItem},
        {WM_CONTEXTMENU, &CStrindleDlg::OnContextMenu},
        {WM_QUERYDRAGICON, &CStrindleDlg::OnQueryDragIcon},
        {WM_DROPFILES, &CStrindleDlg::OnDropFiles},
        {WM_VKEYTOITEM, &CStrindleDlg::OnVKeyToItem},
        {WM_CHARTOITEM, &CStrindleDlg::OnCharToItem},
        {WM_GETMINMAXINFO, &CStrindleDlg::OnGetMinMaxInfo},
        {WM_SETCURSOR, &CStrindleDlg::OnSetCursor},
        {WM_LBUTTONDOWN, &CStrindleDlg::OnLButtonDown},
        {WM_MOUSEMOVE, &CStrindleDlg::OnMouseMove},
        {WM_LBUTTONUP, &CStrindleDlg::OnLButtonUp},
    };
};

// Menu items greyed while the table is empty (their keys then do nothing either).
constexpr UINT EntryMenuCommands[] = {ID_FILE_SAVE,   ID_FILE_SAVEAS,       ID_EDIT_DELETEKEY,
                                      ID_EDIT_SEARCH, ID_EDIT_REPEATSEARCH, ID_EDIT_REPLACE};

bool LoadRichEditLibrary() {
    static HMODULE richEdit = LoadLibraryW(L"RICHED20.DLL");
    return richEdit != nullptr;
}

CStrindleDlg::CStrindleDlg(UserPrompts& prompts, HWND owner)
    : CDialog(IDD_STRINDLE_DIALOG, owner),
      prompts_(prompts),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CStrindleDlg::~CStrindleDlg() {
    if (toolbarImages_)
        ImageList_Destroy(toolbarImages_);
}

// The command boundary: no exception ends the program with unsaved edits. A command that fails
// says what failed; the table operations commit only once nothing can fail any more, so the
// table is as it was, and the list is filled from it again to be sure it shows just that.
template <class Route>
bool CStrindleDlg::Guarded(Route route) {
    try {
        return route();
    } catch (const std::bad_alloc&) {
        ReportCommandFailure(L"there is not enough memory");
    } catch (const std::exception& failure) {
        ReportCommandFailure(WideFromUtf8(failure.what()));
    } catch (...) {
        ReportCommandFailure(L"an unknown error");
    }
    return true;
}

void CStrindleDlg::ReportCommandFailure(const std::wstring& what) {
    try {
        keyList_.Fill(Document.Count());
        ShowCaretEntry();
        prompts_.Message(Handle(), FormatText(L"The command failed: %ls. The table is as it was before it.", what.c_str()),
                         L"Strindle", MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Saying so failed too (no memory left): the table is kept all the same.
    }
}

// Any command but the value editor's own notifications ends a run of typing.
bool CStrindleDlg::RouteCommand(UINT id, UINT code) {
    if (id != IDC_VALUE)
        Document.EndTyping();
    return Guarded([&] { return RouteCommandFrom(*this, StrindleMessageMap::Commands, id, code); });
}

bool CStrindleDlg::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return RouteMessageFrom(*this, StrindleMessageMap::Messages, message, wParam, lParam); });
}

bool CStrindleDlg::OnInitDialog() {
    if (!CreateValueEditor()) {
        EndDialog(-1);
        return false;
    }
    // Row i of the key list shows the key of entry i.
    keyList_.Attach(Item(IDC_KEYLIST), [this](int row) {
        return static_cast<size_t>(row) < Document.Count() ? Document.Key(static_cast<size_t>(row)) : std::u16string();
    });
    keyList_.SetRowMark([this](int row) { return comparison_.HasProblem(static_cast<size_t>(row)); });
    upButton_.Attach(Item(IDC_UP));
    downButton_.Attach(Item(IDC_DOWN));

    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    wchar_t aboutText[64] = {};
    if (systemMenu && LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, aboutText, 64) > 0) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    ConfirmDelete = true;
    Settings.Load();
    ShowUpDownButtons(Settings.AdvancedMode);

    HMENU menu = GetMenu(Handle());
    for (UINT id : EntryMenuCommands)
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
    SetMenuCheck(ID_OPTIONS_PARSEONLOAD, Settings.ParseOnLoad);
    SetMenuCheck(ID_OPTIONS_ADVANCED, Settings.AdvancedMode);
    SetMenuCheck(ID_OPTIONS_AUTOSAVEPOS, Settings.AutosaveWindowPos);
    SetMenuCheck(ID_OPTIONS_AUTOSAVEPATH, Settings.AutosaveLastPath);
    ShowRecentFiles();
    DragAcceptFiles(Handle(), TRUE);

    CreateToolbar();
    CreateLanguageBox();
    CreateStatusBar();
    LayoutReady = true;
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    SetChangeNotify(true);
    SetWindowTextW(valueEditor_, L"");
    SetEditorReadOnly(true);
    // The selection stays visible without the focus: a search marks its hit there.
    SendMessageW(valueEditor_, EM_SETOPTIONS, ECOOP_OR, ECO_AUTOVSCROLL | ECO_AUTOHSCROLL | ECO_NOHIDESEL);
    SetEditorFont();

    SetWindowTextW(Handle(), L"Strindle - Untitled");
    ResetSearchState();
    Document.FileName = u"Untitled";
    Document.MarkClean();

    RECT placed = StoredRectOnScreen();
    MoveWindow(Handle(), placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
    RECT client;
    GetClientRect(Handle(), &client);
    Layout(client.right, client.bottom);
    Repaint();
    if (Settings.PreviewOpen)
        ShowPreview(true);
    return true;
}

// Arial 8 pt, not bold, for the text there is and, as the default format, for every text the
// editor is given later: replacing the whole text takes the default format, not the old one.
void CStrindleDlg::SetEditorFont() {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD;
    format.yHeight = 160;
    wcscpy(format.szFaceName, L"Arial");
    SendMessageW(valueEditor_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageW(valueEditor_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

bool CStrindleDlg::CreateValueEditor() {
    if (!LoadRichEditLibrary())
        return false;
    valueEditor_ = CreateWindowExW(0, L"RichEdit20W", L"",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                                       ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN,
                                   0, 0, 10, 10, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_VALUE)),
                                   GetModuleHandleW(nullptr), nullptr);
    // Ctrl+Z in the editor takes back steps of the table's history; the editor keeps none of
    // its own, which would be a second history at odds with it.
    if (valueEditor_)
        SendMessageW(valueEditor_, EM_SETUNDOLIMIT, 0, 0);
    return valueEditor_ != nullptr;
}

// The key list takes a third of the width, or the width the user dragged it to; the 27 pixels
// between the list and the editor hold the Up and Down buttons and are the splitter.
namespace {

// A list width the window can show, leaving the editor at least as wide as the narrowest list.
int FittedKeyListWidth(int wanted, int cx) {
    constexpr int Narrowest = 40;
    return std::clamp(wanted, Narrowest, std::max(Narrowest, cx - 37 - Narrowest));
}

}  // namespace

int CStrindleDlg::KeyListWidth(int cx) const {
    return Settings.KeyListWidth > 0 ? FittedKeyListWidth(Settings.KeyListWidth, cx) : cx / 3;
}

void CStrindleDlg::Layout(int cx, int cy) {
    SetStatusParts(cx);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);  // the bar follows the window's new width
    const int list = KeyListWidth(cx);
    MoveWindow(keyList_.Handle(), 5, 34, list, cy - 65, TRUE);
    // An open reference takes the upper third of the editor's place.
    const int referenceHeight = reference_ ? (cy - 65) / 3 : 0;
    MoveWindow(referenceView_, list + 32, 34, cx - list - 37, std::max(referenceHeight - 4, 0), TRUE);
    MoveWindow(valueEditor_, list + 32, 34 + referenceHeight, cx - list - 37, cy - 65 - referenceHeight, TRUE);
    if (Settings.AdvancedMode) {
        PlaceButton(upButton_.Handle(), list + 5, cy / 2 - 45);
        PlaceButton(downButton_.Handle(), list + 5, cy / 2 + 5);
    }
}

bool CStrindleDlg::OnSplitterPoint(POINT client) const {
    RECT area;
    GetClientRect(Handle(), &area);
    const int list = KeyListWidth(area.right);
    return client.x >= list + 5 && client.x < list + 32 && client.y >= 34 && client.y < area.bottom - 31;
}

bool CStrindleDlg::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(Handle(), &point);
    if (reinterpret_cast<HWND>(wParam) != Handle() || LOWORD(lParam) != HTCLIENT || !OnSplitterPoint(point))
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
    SetProcedureResult(TRUE);
    return true;
}

bool CStrindleDlg::OnLButtonDown(WPARAM, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!OnSplitterPoint(point))
        return false;
    RECT area;
    GetClientRect(Handle(), &area);
    splitterGrip_ = point.x - (KeyListWidth(area.right) + 5);
    SetCapture(Handle());
    return true;
}

bool CStrindleDlg::OnMouseMove(WPARAM, LPARAM lParam) {
    if (splitterGrip_ < 0 || GetCapture() != Handle())
        return false;
    RECT area;
    GetClientRect(Handle(), &area);
    Settings.KeyListWidth = FittedKeyListWidth(GET_X_LPARAM(lParam) - splitterGrip_ - 5, area.right);
    Layout(area.right, area.bottom);
    return true;
}

bool CStrindleDlg::OnLButtonUp(WPARAM, LPARAM) {
    if (splitterGrip_ < 0)
        return false;
    splitterGrip_ = -1;
    ReleaseCapture();
    Settings.StoreKeyListWidth();
    return true;
}

// A moved button is drawn anew in full: the bits copied from its old place are not its picture
// once the list and the editor have moved over that place.
void CStrindleDlg::PlaceButton(HWND button, int x, int y) {
    SetWindowPos(button, nullptr, x, y, 27, 40, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    InvalidateRect(button, nullptr, TRUE);
}

bool CStrindleDlg::OnSize(WPARAM, LPARAM lParam) {
    if (LayoutReady) {
        SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
        Layout(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    }
    return true;
}

// The buttons show their arrows whenever they are shown: their captions do not fit 27 pixels.
void CStrindleDlg::ShowUpDownButtons(bool show) {
    if (show) {
        upButton_.SetIcon(IDI_UP);
        downButton_.SetIcon(IDI_DOWN);
    }
    for (HWND button : {upButton_.Handle(), downButton_.Handle()}) {
        ShowWindow(button, show ? SW_SHOW : SW_HIDE);
        EnableWindow(button, show ? TRUE : FALSE);
    }
}

void CStrindleDlg::SetMenuCheck(UINT id, bool checked) {
    CheckMenuItem(GetMenu(Handle()), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CStrindleDlg::SetStatusText(int part, const std::wstring& text) {
    SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void CStrindleDlg::SetChangeNotify(bool on) {
    LRESULT mask = SendMessageW(valueEditor_, EM_GETEVENTMASK, 0, 0);
    mask = on ? (mask | ENM_CHANGE) : (mask & ~static_cast<LRESULT>(ENM_CHANGE));
    SendMessageW(valueEditor_, EM_SETEVENTMASK, 0, mask);
}

// Left alone when already so: the editor redraws itself on every change of the flag.
void CStrindleDlg::SetEditorReadOnly(bool readOnly) {
    const bool isReadOnly = (SendMessageW(valueEditor_, EM_GETOPTIONS, 0, 0) & ECO_READONLY) != 0;
    if (isReadOnly != readOnly)
        SendMessageW(valueEditor_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void CStrindleDlg::SetEditorText(const std::u16string& text) { SetWindowTextW(valueEditor_, WideChars(text)); }

void CStrindleDlg::DeselectAll() { keyList_.DeselectAll(); }

// Painting runs UpdateCommandStates; it runs here too, as a hidden window is not painted.
void CStrindleDlg::Repaint() {
    UpdateCommandStates();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CStrindleDlg::ShowCaretEntry() {
    UpdateComparison();
    int rows = keyList_.Count();
    if (rows == 0) {
        UpdateCommandStates();
        return;
    }
    int caret = keyList_.Caret();
    if (caret < 0 || static_cast<size_t>(caret) >= Document.Count()) {
        UpdateCommandStates();
        return;
    }
    SetChangeNotify(false);
    const std::u16string value = Document.Value(static_cast<size_t>(caret));
    SetEditorText(value);
    FitStatusParts(rows);
    SetStatusText(2, FormatText(L"Index: %d(%Xh)/%d(%Xh)", caret, caret, rows - 1, rows - 1));
    ShowIdOrHash(static_cast<size_t>(caret), value);
    ShowReferenceOf(static_cast<size_t>(caret));
    SetChangeNotify(true);
    UpdateCommandStates();
}

void CStrindleDlg::ShowIdOrHash(size_t caret, const std::u16string& value) {
    if (Document.IsD2r()) {
        SetStatusText(3, L"Id: " + WideFromUtf8(Document.Id(caret)));
        return;
    }
    // The status bar hashes the caret entry's value, as shown in the editor, as its UTF-8 bytes.
    uint32_t hash = TblTextHash(value, static_cast<uint32_t>(Document.Count()));
    SetStatusText(3, FormatText(L"Hash: %u/%Xh", hash, hash));
}

void CStrindleDlg::OnKeyListSelChange() { ShowCaretEntry(); }

void CStrindleDlg::OnValueChange() {
    if (Document.Count() == 0)
        return;
    int caret = keyList_.Caret();
    if (caret < 0 || static_cast<size_t>(caret) >= Document.Count())
        return;
    std::u16string text = Utf16(WindowText(valueEditor_));
    if (text == Document.Value(static_cast<size_t>(caret)))
        return;
    Document.TypeValue(static_cast<size_t>(caret), std::move(text), typedStepName_);
    if (reference_) {
        comparison_.Recheck(Document, *reference_, static_cast<size_t>(caret));
        ForgetComparison();  // a run of typing keeps the history's state
        keyList_.RedrawRow(caret);
        ShowReferenceOf(static_cast<size_t>(caret));
    }
    UpdatePreview();
    if (!Document.Modified) {
        Document.MarkModified();
        UpdateCommandStates();
    }
}

void CStrindleDlg::UpdateCommandStates() {
    bool hasEntries = Document.Count() > 0;
    SetToolbarButtonsEnabled(hasEntries);
    EnableWindow(valueEditor_, hasEntries ? TRUE : FALSE);
    SetEditorReadOnly(!hasEntries);
    HMENU menu = GetMenu(Handle());
    for (UINT id : EntryMenuCommands)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (hasEntries ? MF_ENABLED : MF_GRAYED));
    if (Document.Modified && !Document.ModifiedShown) {
        SetStatusText(1, L"Not Saved");
        SetWindowTextW(Handle(), WideChars(Document.Title()));
        Document.ModifiedShown = true;
    }
    UpdatePreview();
}

bool CStrindleDlg::OnPaint(WPARAM, LPARAM) {
    if (IsIconic(Handle())) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        RECT client;
        GetClientRect(Handle(), &client);
        int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, icon_);
        EndPaint(Handle(), &paint);
        return true;
    }
    UpdateCommandStates();
    return false;  // the default painting follows
}

bool CStrindleDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    SetProcedureResult(reinterpret_cast<INT_PTR>(icon_));
    return true;
}

// The key list passes its keys here first (LBS_WANTKEYBOARDINPUT). Delete runs Delete Key;
// every other key gets the list's own handling (-1), so navigation and selection work as in
// any list. An unanswered message would tell the list to go to row 0.
bool CStrindleDlg::OnVKeyToItem(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != keyList_.Handle())
        return false;
    if (LOWORD(wParam) == VK_DELETE && Document.Count() > 0) {
        OnDeleteKey();
        SetProcedureResult(-2);  // handled: the list does nothing more
        return true;
    }
    SetProcedureResult(-1);
    return true;
}

// Typed characters go to the row whose key starts with them (the list's type-ahead) and
// select that row alone, as an arrow key does; a character that starts no key changes nothing. The list does
// nothing more (-2): it would select from the anchor row to the found one.
bool CStrindleDlg::OnCharToItem(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != keyList_.Handle())
        return false;
    const int row = keyList_.RowForTyped(static_cast<wchar_t>(LOWORD(wParam)), static_cast<DWORD>(GetMessageTime()));
    if (row >= 0) {
        DeselectAll();
        SelectAndShow(row);
        keyList_.SetAnchor(row);
        ShowCaretEntry();
    }
    SetProcedureResult(-2);
    return true;
}

bool CStrindleDlg::OnShowWindow(WPARAM wParam, LPARAM) {
    if (wParam && StartupOpenRequest)
        PostMessageW(Handle(), WM_APP_STARTUPOPEN, 0, 0);
    return false;
}

bool CStrindleDlg::OnStartupOpen(WPARAM, LPARAM) {
    if (StartupOpenRequest)
        OpenTblPath(StartupPath);
    return true;
}

bool CStrindleDlg::OnSysCommand(WPARAM wParam, LPARAM) {
    if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    OnAbout();
    return true;
}

// Maximised, the window fills the work area of its screen with only its sizing border outside
// it. Wine's default counts a popup window's caption and menu as border too, which puts the
// title bar above the top of the screen.
bool CStrindleDlg::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    RECT border{};
    AdjustWindowRectEx(&border, style & ~WS_CAPTION, FALSE, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    const RECT& work = monitor.rcWork;
    auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
    info.ptMaxPosition = {work.left - monitor.rcMonitor.left + border.left, work.top - monitor.rcMonitor.top + border.top};
    info.ptMaxSize = {work.right - work.left + border.right - border.left, work.bottom - work.top + border.bottom - border.top};
    return true;
}

bool CStrindleDlg::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) == keyList_.Handle()) {
        SelectRowUnderMouse(lParam);
        keyList_.ShowContextMenu(lParam);
        return true;
    }
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_WINDOWMENU)));
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1)
        GetCursorPos(&point);
    // The main window owns the menu, so that "Show Text on Item" reaches it.
    TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
    return true;
}

// A right-click on a row that is not selected selects that row alone, as Explorer does; on a
// selected row it keeps the selection, so that the menu works on all selected rows.
void CStrindleDlg::SelectRowUnderMouse(LPARAM screenPoint) {
    if (screenPoint == -1)  // from the keyboard: the selection stays
        return;
    int row = keyList_.RowAt(POINT{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)});
    if (row < 0 || keyList_.IsSelected(row))
        return;
    DeselectAll();
    SelectAndShow(row);
    ShowCaretEntry();
}

// Tab and Shift+Tab in the value editor move the focus on, as in any dialog: the rich edit
// would type a TAB. Ctrl+Tab still types one.
bool CStrindleDlg::PreTranslateMessage(MSG& message) {
    if (replaceDialog_ && replaceDialog_->TakeDialogMessage(message))
        return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && message.hwnd == valueEditor_ &&
        GetKeyState(VK_CONTROL) >= 0) {
        SendMessageW(Handle(), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? TRUE : FALSE, FALSE);
        return true;
    }
    return CDialog::PreTranslateMessage(message);
}

// Enter in the list or on a button must not close the window.
void CStrindleDlg::OnOK() {}

void CStrindleDlg::OnCancel() { ClosePath(); }

void CStrindleDlg::OnExit() { ClosePath(); }

bool CStrindleDlg::OnClose(WPARAM, LPARAM) {
    ClosePath();
    return true;
}

void CStrindleDlg::ClosePath() {
    Settings.StoreSwitches();
    StorePreviewPlace();
    if (Settings.AutosaveWindowPos)
        SaveWindowPosition();
    if (Document.Modified && !ConfirmDiscardChanges())
        return;
    Document.Modified = false;
    EndDialog(IDOK);
}

bool CStrindleDlg::ConfirmDiscardChanges() {
    return prompts_.Message(Handle(), L"File not Saved, Continue??", L"Caution", MB_YESNO | MB_ICONINFORMATION) ==
           IDYES;
}
