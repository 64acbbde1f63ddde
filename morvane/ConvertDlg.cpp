#include "ConvertDlg.h"

#include "ConvertTexts.h"
#include "MessageMap.h"
#include "MessageText.h"
#include "OutputNames.h"
#include "TextFormat.h"
#include "WindowText_win.h"
#include "resource.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <windowsx.h>

namespace {

// Posted from initialisation: the folder picker of a start in a folder without DC6 or DCC files
// opens once the window is up.
constexpr UINT WM_APP_BROWSEATSTART = WM_APP + 1;

constexpr int ListedControls[] = {IDC_NOERRORS, IDC_BROWSE, IDCANCEL, IDOK, IDC_SELECTALL, IDC_WRITEPCX, IDC_WRITEPNG};

bool FileExists(const wchar_t* path) {
    if (std::char_traits<wchar_t>::length(path) > MaxOutputPathLength)
        return false;
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether "x.dc6" was converted: its sheet is there ("PCXFiles\x.pcx"), or, for a sprite
// written one file per frame, its first frame's file ("PCXFiles\x0.pcx").
bool ConvertedBefore(const std::u16string& fileName, ImageKind kind) {
    std::u16string base = fileName;
    StripExtension(base);
    return FileExists(WideChars(SheetOutputPath(u"", base, kind))) ||
           FileExists(WideChars(FrameOutputPath(u"", base, 0, kind)));
}

void CentreOnScreen(HWND window) {
    RECT self;
    GetWindowRect(window, &self);
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int x = area.left + ((area.right - area.left) - (self.right - self.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (self.bottom - self.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AddColumn(HWND list, int index, const wchar_t* title, int format, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title);
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

struct ConvertMessageMap {
    static constexpr CommandEntry<CConvertDlg> Commands[] = {
        {IDC_BROWSE, BN_CLICKED, &CConvertDlg::OnBrowse},
        {IDC_SELECTALL, BN_CLICKED, &CConvertDlg::OnSelectAll},
        {IDC_NOERRORS, BN_CLICKED, &CConvertDlg::OnNoErrorsClicked},
        {IDC_WRITEPCX, BN_CLICKED, &CConvertDlg::OnOutputKindClicked},
        {IDC_WRITEPNG, BN_CLICKED, &CConvertDlg::OnOutputKindClicked},
        {IDC_PREVDIRECTION, BN_CLICKED, &CConvertDlg::OnPreviousDirection},
        {IDC_NEXTDIRECTION, BN_CLICKED, &CConvertDlg::OnNextDirection},
        {IDC_PREVFRAME, BN_CLICKED, &CConvertDlg::OnPreviousFrame},
        {IDC_NEXTFRAME, BN_CLICKED, &CConvertDlg::OnNextFrame},
        {IDC_PLAY, BN_CLICKED, &CConvertDlg::OnPlay},
    };
    static constexpr MessageEntry<CConvertDlg> Messages[] = {
        {WM_NOTIFY, &CConvertDlg::OnNotify},
        {WM_HELP, &CConvertDlg::OnHelp},
        {WM_PAINT, &CConvertDlg::OnPaint},
        {WM_QUERYDRAGICON, &CConvertDlg::OnQueryDragIcon},
        {WM_APP_BROWSEATSTART, &CConvertDlg::OnBrowseAtStart},
        {WM_SETCURSOR, &CConvertDlg::OnSetCursor},
        {CConvertDlg::WM_APP_SELECTIONCHANGED, &CConvertDlg::OnSelectionChanged},
        {WM_DRAWITEM, &CConvertDlg::OnDrawItem},
        {WM_TIMER, &CConvertDlg::OnTimer},
    };
};

std::wstring HelpPathIn(const std::wstring& folder) { return folder + L"\\Morvane.chm"; }

std::wstring FindHelpPath(const std::wstring& startFolder, const std::wstring& programFolder) {
    const std::wstring started = HelpPathIn(startFolder);
    const std::wstring beside = HelpPathIn(programFolder);
    return !FileExists(started.c_str()) && FileExists(beside.c_str()) ? beside : started;
}

CConvertDlg::CConvertDlg(UserPrompts& prompts, std::wstring helpPath, HWND owner)
    : CDialog(IDD_MORVANE_DIALOG, owner),
      prompts_(prompts),
      helpPath_(std::move(helpPath)),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CConvertDlg::~CConvertDlg() = default;

bool CConvertDlg::RouteCommand(UINT id, UINT code) {
    // During a run no command of the window may act, whatever re-enabled it or let a click
    // through (a message box re-enables its owner when it closes). A close request is kept
    // for the end of the run.
    if (running_) {
        if (id == IDCANCEL)
            closeRequested_ = true;
        return true;
    }
    return RouteCommandFrom(*this, ConvertMessageMap::Commands, id, code);
}

bool CConvertDlg::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The dialog manager turns WM_CLOSE into Cancel only while Quit is enabled, which it is not
    // during a run.
    if (running_ && message == WM_CLOSE) {
        closeRequested_ = true;
        return true;
    }
    if (running_ && (message == WM_NOTIFY || message == WM_HELP || message == WM_APP_BROWSEATSTART))
        return true;
    return RouteMessageFrom(*this, ConvertMessageMap::Messages, message, wParam, lParam);
}

bool CConvertDlg::OnInitDialog() {
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    AddColumn(List(), 0, L"File", LVCFMT_LEFT, 200);
    AddColumn(List(), 1, L"Converted", LVCFMT_CENTER, 80);
    SendMessageW(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SetWindowTextA(Handle(), ConverterCaption);
    preview_.Attach(Handle());
    CheckRadioButton(Handle(), IDC_WRITEPCX, IDC_WRITEPNG, IDC_WRITEPCX);
    CentreOnScreen(Handle());
    if (!RefreshList())
        PostMessageW(Handle(), WM_APP_BROWSEATSTART, 0, 0);
    customPalette_.reset();
    return true;
}

bool CConvertDlg::OnBrowseAtStart(WPARAM, LPARAM) {
    if (BrowseFolder())
        RefreshList();
    return true;
}

void CConvertDlg::DisableControls() {
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(systemMenu, SC_MOVE, MF_BYCOMMAND | MF_GRAYED);
    for (int id : ListedControls)
        EnableWindow(Item(id), FALSE);
}

void CConvertDlg::EnableIdleControls() {
    int rows = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    EnableWindow(Item(IDC_SELECTALL), rows > 0);
    for (int id : {IDCANCEL, IDC_BROWSE, IDC_NOERRORS, IDC_FILELIST, IDC_WRITEPCX, IDC_WRITEPNG})
        EnableWindow(Item(id), TRUE);
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(systemMenu, SC_MOVE, MF_BYCOMMAND | MF_ENABLED);
}

bool CConvertDlg::RefreshList() {
    DisableControls();
    SetWindowTextA(Handle(), "Retrieving file list...");
    SendMessageW(List(), LVM_DELETEALLITEMS, 0, 0);
    preview_.Clear();

    // The wide search: a name outside the system's code page would come back as "?" marks.
    for (const wchar_t* pattern : {L"*.dc6", L"*.dcc"}) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(pattern, &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                AddFileRow(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }

    int rows = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    // A run lists the folder again before its summary; the controls wait for the summary.
    if (!running_)
        EnableIdleControls();
    SetWindowTextA(Handle(), FormatText("%s: (%d files)", ConverterCaption, rows).c_str());
    return rows > 0;
}

void CConvertDlg::AddFileRow(const wchar_t* fileName) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    row.pszText = const_cast<wchar_t*>(fileName);
    // The list keeps its rows sorted: the row lands where the sort puts it.
    int index = static_cast<int>(SendMessageW(List(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    if (index < 0)
        return;
    LVITEMW converted{};
    converted.iSubItem = 1;
    converted.pszText = const_cast<wchar_t*>(ConvertedBefore(Utf16(fileName), OutputKind()) ? L"Yes" : L"No");
    SendMessageW(List(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&converted));
}

bool CConvertDlg::BrowseFolder() {
    std::wstring folder;
    if (!prompts_.ChooseFolder(Handle(), L"Select the folder which contains the DC6 or DCC files...", L"", 0, folder))
        return false;
    return !folder.empty() && SetCurrentDirectoryW(folder.c_str());
}

void CConvertDlg::OnBrowse() {
    if (BrowseFolder())
        RefreshList();
}

std::u16string CConvertDlg::RowName(int row) const {
    wchar_t name[MAX_PATH] = {};
    LVITEMW text{};
    text.iSubItem = 0;
    text.pszText = name;
    text.cchTextMax = MAX_PATH;
    SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&text));
    return Utf16(name);
}

int CConvertDlg::CountSelected() const { return static_cast<int>(SendMessageW(List(), LVM_GETSELECTEDCOUNT, 0, 0)); }

void CConvertDlg::OnSelectAll() {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    SetFocus(List());
    EnableWindow(Item(IDOK), TRUE);
}

ImageKind CConvertDlg::OutputKind() const {
    return IsDlgButtonChecked(Handle(), IDC_WRITEPNG) == BST_CHECKED ? ImageKind::Png : ImageKind::Pcx;
}

// The Converted column follows the chosen kind of image.
void CConvertDlg::OnOutputKindClicked() { RefreshList(); }

void CConvertDlg::OnNoErrorsClicked() { showErrors_ = IsDlgButtonChecked(Handle(), IDC_NOERRORS) != BST_CHECKED; }

bool CConvertDlg::OnNotify(WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    // Only a mouse click changes Convert; a selection made from the keyboard leaves it.
    if (header->idFrom == IDC_FILELIST && header->code == NM_CLICK)
        EnableWindow(Item(IDOK), CountSelected() >= 1);
    if (header->idFrom == IDC_FILELIST && header->code == LVN_ITEMCHANGED &&
        (reinterpret_cast<const NMLISTVIEW*>(lParam)->uChanged & LVIF_STATE))
        NoteSelectionChange();
    return false;
}

void CConvertDlg::OnOK() {
    // Enter or a stray IDOK must not start a run that the disabled button would not.
    if (!IsWindowEnabled(Item(IDOK)))
        return;
    BeginRun();
    selectedCount_ = CountSelected();
    convertedCount_ = 0;
    RunConversion();
    RefreshList();
    if (!closeRequested_)
        Ask(FormatText("Successfully converted %d out of %d files selected", convertedCount_, selectedCount_),
            MB_OK | MB_ICONINFORMATION, Handle());
    EndRun();
    if (closeRequested_)
        EndDialog(IDCANCEL);
}

void CConvertDlg::BeginRun() {
    running_ = true;
    closeRequested_ = false;
    cursorBeforeRun_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    preview_.Clear();
    DisableControls();
    EnableWindow(List(), FALSE);
    EnableWindow(Handle(), FALSE);
}

void CConvertDlg::EndRun() {
    running_ = false;
    EnableIdleControls();
    EnableWindow(Handle(), TRUE);
    SetCursor(cursorBeforeRun_);
}

bool CConvertDlg::OnSetCursor(WPARAM, LPARAM) {
    if (!running_)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SetDlgMsgResult(Handle(), WM_SETCURSOR, TRUE);
    return true;
}

int CConvertDlg::Ask(const std::string& text, UINT type, HWND owner) {
    int answer = prompts_.Message(owner, ShortenLongRuns(WideFromUtf8(text)), ConverterCaptionW, type);
    // A message box enables its owner again as it closes.
    if (running_)
        EnableWindow(Handle(), FALSE);
    return answer;
}

bool CConvertDlg::OnHelp(WPARAM, LPARAM) {
    // A missing file is known before the viewer is asked: no window of the viewer's own opens.
    HWND help = nullptr;
    if (FileExists(helpPath_.c_str()))
        help = HtmlHelpW(GetDesktopWindow(), helpPath_.c_str(), HH_DISPLAY_TOPIC, 0);
    if (!help)
        Ask("ERROR: Can't Find Help File", MB_OK, Handle());
    return true;
}

bool CConvertDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(Handle()))
        return false;
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

bool CConvertDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    SetProcedureResult(reinterpret_cast<INT_PTR>(icon_));
    return true;
}
