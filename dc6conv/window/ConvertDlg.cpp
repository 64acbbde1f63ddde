#include "ConvertDlg.h"

#include "AnsiText_win.h"
#include "ConvertTexts.h"
#include "MessageMap.h"
#include "OutputNames.h"
#include "TextFormat.h"
#include "resource.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <windowsx.h>

namespace {

// Posted from initialisation: the folder picker of a start in a folder without DC6 files
// opens once the window is up.
constexpr UINT WM_APP_BROWSEATSTART = WM_APP + 1;

constexpr int ListedControls[] = {IDC_NOERRORS, IDC_BROWSE, IDCANCEL, IDOK, IDC_SELECTALL};

// "PCXFiles\x.pcx" for "x.dc6": the sheet a file's conversion writes.
std::string SheetPathOf(const std::string& fileName) {
    std::string path = FormatText("%s\\%s", OutputFolderName, fileName.c_str());
    if (path.size() >= 3)
        path.replace(path.size() - 3, 3, "pcx");
    return path;
}

bool FileExists(const std::string& path) {
    if (path.size() > MaxOutputPathLength)
        return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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

void AddColumn(HWND list, int index, const char* title, int format, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

struct ConvertMessageMap {
    static constexpr CommandEntry<CConvertDlg> Commands[] = {
        {IDC_BROWSE, BN_CLICKED, &CConvertDlg::OnBrowse},
        {IDC_SELECTALL, BN_CLICKED, &CConvertDlg::OnSelectAll},
        {IDC_NOERRORS, BN_CLICKED, &CConvertDlg::OnNoErrorsClicked},
    };
    static constexpr MessageEntry<CConvertDlg> Messages[] = {
        {WM_NOTIFY, &CConvertDlg::OnNotify},
        {WM_HELP, &CConvertDlg::OnHelp},
        {WM_PAINT, &CConvertDlg::OnPaint},
        {WM_QUERYDRAGICON, &CConvertDlg::OnQueryDragIcon},
        {WM_APP_BROWSEATSTART, &CConvertDlg::OnBrowseAtStart},
    };
};

std::string HelpPathIn(const std::string& folder) { return FormatText("%s\\Morvane.chm", folder.c_str()); }

CConvertDlg::CConvertDlg(UserPrompts& prompts, std::string helpPath, HWND owner)
    : CDialog(IDD_MORVANE_DIALOG, owner),
      prompts_(prompts),
      helpPath_(std::move(helpPath)),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CConvertDlg::~CConvertDlg() = default;

bool CConvertDlg::RouteCommand(UINT id, UINT code) {
    return RouteCommandFrom(*this, ConvertMessageMap::Commands, id, code);
}

bool CConvertDlg::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessageFrom(*this, ConvertMessageMap::Messages, message, wParam, lParam);
}

bool CConvertDlg::OnInitDialog() {
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    AddColumn(List(), 0, "File", LVCFMT_LEFT, 200);
    AddColumn(List(), 1, "Converted", LVCFMT_CENTER, 80);
    SendMessageW(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SetWindowTextA(Handle(), ConverterCaption);
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

void CConvertDlg::EnableListingControls(bool enable) {
    HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(systemMenu, SC_CLOSE, state);
    EnableMenuItem(systemMenu, SC_MOVE, state);
    if (!enable)
        for (int id : ListedControls)
            EnableWindow(Item(id), FALSE);
}

bool CConvertDlg::RefreshList() {
    EnableListingControls(false);
    SetWindowTextA(Handle(), "Retrieving file list...");
    SendMessageW(List(), LVM_DELETEALLITEMS, 0, 0);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.dc6", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                AddFileRow(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    int rows = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    EnableWindow(Item(IDC_SELECTALL), rows > 0);
    for (int id : {IDCANCEL, IDC_BROWSE, IDC_NOERRORS})
        EnableWindow(Item(id), TRUE);
    EnableListingControls(true);
    SetWindowTextA(Handle(), FormatText("%s: (%d files)", ConverterCaption, rows).c_str());
    return rows > 0;
}

void CConvertDlg::AddFileRow(const char* fileName) {
    LVITEMA row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    row.pszText = const_cast<char*>(fileName);
    // The list keeps its rows sorted: the row lands where the sort puts it.
    int index = static_cast<int>(SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    if (index < 0)
        return;
    LVITEMA converted{};
    converted.iSubItem = 1;
    converted.pszText = const_cast<char*>(FileExists(SheetPathOf(fileName)) ? "Yes" : "No");
    SendMessageA(List(), LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&converted));
}

bool CConvertDlg::BrowseFolder() {
    std::wstring folder;
    if (!prompts_.ChooseFolder(Handle(), L"Select the folder which contains the DC6 files...", L"", 0, folder))
        return false;
    return !folder.empty() && SetCurrentDirectoryW(folder.c_str());
}

void CConvertDlg::OnBrowse() {
    if (BrowseFolder())
        RefreshList();
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

void CConvertDlg::OnNoErrorsClicked() { showErrors_ = IsDlgButtonChecked(Handle(), IDC_NOERRORS) != BST_CHECKED; }

bool CConvertDlg::OnNotify(WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    // Only a mouse click changes Convert; a selection made from the keyboard leaves it.
    if (header->idFrom == IDC_FILELIST && header->code == NM_CLICK)
        EnableWindow(Item(IDOK), CountSelected() >= 1);
    return false;
}

void CConvertDlg::OnOK() {
    // Enter or a stray IDOK must not start a run that the disabled button would not.
    if (!IsWindowEnabled(Item(IDOK)))
        return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EnableWindow(Handle(), FALSE);
    selectedCount_ = CountSelected();
    convertedCount_ = 0;
    RunConversion();
    RefreshList();
    Ask(FormatText("Successfully converted %d out of %d files selected", convertedCount_, selectedCount_),
        MB_OK | MB_ICONINFORMATION, Handle());
    EnableWindow(Handle(), TRUE);
    SetCursor(previous);
}

int CConvertDlg::Ask(const std::string& text, UINT type, HWND owner) {
    return prompts_.Message(owner, WideFromAnsi(text), ConverterCaptionW, type);
}

bool CConvertDlg::OnHelp(WPARAM, LPARAM) {
    // A missing file is known before the viewer is asked: no window of the viewer's own opens.
    DWORD attributes = GetFileAttributesA(helpPath_.c_str());
    HWND help = nullptr;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        help = HtmlHelpA(GetDesktopWindow(), helpPath_.c_str(), HH_DISPLAY_TOPIC, 0);
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
