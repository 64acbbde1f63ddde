#include "ExchangeTestSupport.h"

#include "DataExchange.h"
#include "ModalDialogProbe.h"

bool ControlEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::wstring ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void ClickButton(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::vector<std::wstring> ListItems(HWND dialog, int comboId) {
    std::vector<std::wstring> items;
    const LRESULT count = SendDlgItemMessageW(dialog, comboId, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendDlgItemMessageW(dialog, comboId, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendDlgItemMessageW(dialog, comboId, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        items.push_back(text);
    }
    return items;
}

int ListSelection(HWND dialog, int comboId) {
    return static_cast<int>(SendDlgItemMessageW(dialog, comboId, CB_GETCURSEL, 0, 0));
}

namespace {

struct TextSearch {
    const std::wstring* Text;
    HWND Found;
};

BOOL CALLBACK TakeChildWithText(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<TextSearch*>(data);
    if (WindowText(child) != *search->Text)
        return TRUE;
    search->Found = child;
    return FALSE;
}

}  // namespace

HWND ChildWithText(HWND dialog, const std::wstring& text) {
    TextSearch search{&text, nullptr};
    EnumChildWindows(dialog, TakeChildWithText, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

RECT PlaceInDialog(HWND dialog, HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
    // The dialog manager converts the size, not the far corner, as MapDialogRect converts each field.
    RECT units{x, y, width, height};
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

std::wstring FontFaceOf(HWND window) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW info{};
    if (!font || !GetObjectW(font, sizeof info, &info))
        return {};
    return info.lfFaceName;
}

COLORREF DrawnPixel(HWND button, int x, int y) {
    RECT client{};
    GetClientRect(button, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixel;
}

bool HasBorder(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_BORDER) || (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

void ExpectTabbedFileDialogLayout(HWND dialog, int browseId, int width, int height,
                                  const std::vector<PlacedControl>& controls) {
    EXPECT_EQ(WindowText(dialog), L"Txt Import");
    // The browse button shows the folder picture centred, its yellow at (4, 6) of the 16 x 16 bitmap.
    HWND browse = GetDlgItem(dialog, browseId);
    RECT button{};
    GetClientRect(browse, &button);
    EXPECT_EQ(DrawnPixel(browse, (button.right - 16) / 2 + 4, (button.bottom - 16) / 2 + 6), RGB(255, 255, 0));
    const LONG browseStyle = GetWindowLongW(browse, GWL_STYLE);
    EXPECT_EQ(browseStyle & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(browseStyle & BS_BITMAP);
    EXPECT_EQ(FontFaceOf(dialog), L"MS Sans Serif");
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT size = DialogUnitsToPixels(dialog, 0, 0, width, height);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    for (const PlacedControl& placed : controls) {
        ASSERT_NE(placed.Control, nullptr) << "control at " << placed.X << "," << placed.Y;
        EXPECT_EQ(WindowText(placed.Control), placed.Caption);
        const RECT want = DialogUnitsToPixels(dialog, placed.X, placed.Y, placed.Width, placed.Height);
        const RECT got = PlaceInDialog(dialog, placed.Control);
        EXPECT_TRUE(EqualRect(&want, &got))
            << "control at " << placed.X << "," << placed.Y << ": " << got.left << "," << got.top << ","
            << got.right << "," << got.bottom << " want " << want.left << "," << want.top << "," << want.right
            << "," << want.bottom;
    }
    HWND field = GetDlgItem(dialog, IDC_TXTFILENAME);
    const LONG fieldStyle = GetWindowLongW(field, GWL_STYLE);
    EXPECT_TRUE(fieldStyle & ES_READONLY);
    EXPECT_TRUE(fieldStyle & ES_AUTOHSCROLL);
    EXPECT_TRUE(HasBorder(field));
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

void WriteText(const std::filesystem::path& path, const std::string& text) { WriteBytes(path, Bytes(text)); }

void ExchangeTest::SetUp() {
    MainWindowTest::SetUp();
    OpenWindow();
}

void ExchangeTest::RunDialog(UINT command, const std::function<void(HWND)>& inside, int closeWith) {
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(command); }, inside, closeWith));
}
