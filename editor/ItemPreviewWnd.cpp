#include "ItemPreviewWnd.h"

#include "MessageMap.h"
#include "resource.h"

#include <windowsx.h>

#include <algorithm>

struct ItemPreviewMessageMap {
    static constexpr MessageEntry<CItemPreviewWnd> Messages[] = {
        {WM_PAINT, &CItemPreviewWnd::OnPaint},
        {WM_ERASEBKGND, &CItemPreviewWnd::OnEraseBackground},
        {WM_SIZE, &CItemPreviewWnd::OnSize},
        {WM_CLOSE, &CItemPreviewWnd::OnClose},
        {WM_SHOWWINDOW, &CItemPreviewWnd::OnShowWindow},
        {WM_ACTIVATEAPP, &CItemPreviewWnd::OnActivateApp},
    };
};

CItemPreviewWnd::CItemPreviewWnd(HWND owner, std::function<void()> onHidden)
    : CDialog(IDD_ITEMPREVIEW, owner), onHidden_(std::move(onHidden)) {}

bool CItemPreviewWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessageFrom(*this, ItemPreviewMessageMap::Messages, message, wParam, lParam);
}

// Whole pixels of one colour, without smoothing, as the game's bitmap font draws them.
bool CItemPreviewWnd::OnInitDialog() {
    font_.reset(CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    lines_ = LayOutItemText(value_);
    return false;
}

void CItemPreviewWnd::ShowValue(const std::u16string& value) {
    if (value == value_ && !lines_.empty())
        return;
    value_ = value;
    lines_ = LayOutItemText(value_);
    if (Handle())
        InvalidateRect(Handle(), nullptr, FALSE);
}

// Lines centred one below the other, the block centred in the window (from the top when it
// is taller than the window).
void CItemPreviewWnd::Draw(HDC dc, const RECT& area) const {
    UniqueGdi<HBRUSH> background(CreateSolidBrush(GameBackground));
    FillRect(dc, &area, background.get());
    SelectedObject selected(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight;
    const int blockHeight = lineHeight * static_cast<int>(lines_.size());
    int y = area.top + std::max(0, static_cast<int>(area.bottom - area.top - blockHeight) / 2);
    auto width = [&](const std::u16string& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                              &size);
        return static_cast<int>(size.cx);
    };
    for (const ItemTextLine& line : lines_) {
        int lineWidth = 0;
        for (const ColourRun& run : line)
            lineWidth += width(run.Text);
        int x = area.left + (area.right - area.left - lineWidth) / 2;
        for (const ColourRun& run : line) {
            const GameColour& colour = GameTextColours[run.ColourRow];
            SetTextColor(dc, RGB(colour.Red, colour.Green, colour.Blue));
            TextOutW(dc, x, y, reinterpret_cast<const wchar_t*>(run.Text.c_str()), static_cast<int>(run.Text.size()));
            x += width(run.Text);
        }
        y += lineHeight;
    }
}

bool CItemPreviewWnd::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client;
    GetClientRect(Handle(), &client);
    Draw(dc, client);
    EndPaint(Handle(), &paint);
    return true;
}

// Painting fills the whole window itself.
bool CItemPreviewWnd::OnEraseBackground(WPARAM, LPARAM) {
    SetDlgMsgResult(Handle(), WM_ERASEBKGND, TRUE);
    return true;
}

bool CItemPreviewWnd::OnSize(WPARAM, LPARAM) {
    InvalidateRect(Handle(), nullptr, FALSE);
    return true;
}

// Windows keeps an owned window above its owner by itself. Wine without a window manager (a
// virtual desktop, or an X display with none) does not: a part of the owner redrawn from the
// screen, as after a dialog closes or a maximise, lifts the owner over the preview. A topmost
// window is never lifted over, so the preview floats while the user works in Strindle.
void CItemPreviewWnd::KeepAboveOwner(bool appActive) {
    const HWND owner = GetWindow(Handle(), GW_OWNER);
    const bool topmost = (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (appActive && IsWindowEnabled(owner)) {
        if (!topmost)
            SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    const HWND above = GetWindow(owner, GW_HWNDPREV);
    if (above == Handle() && !topmost)
        return;
    // Beneath the window over the owner, or at the top of the ordinary windows when none is.
    const bool ordinary = above && above != Handle() && !(GetWindowLongW(above, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(Handle(), ordinary ? above : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CItemPreviewWnd::OnShowWindow(WPARAM wParam, LPARAM) {
    if (wParam)
        KeepAboveOwner(GetWindowThreadProcessId(GetForegroundWindow(), nullptr) == GetCurrentThreadId());
    return false;
}

bool CItemPreviewWnd::OnActivateApp(WPARAM wParam, LPARAM) {
    KeepAboveOwner(wParam != FALSE);
    return false;
}

bool CItemPreviewWnd::OnClose(WPARAM, LPARAM) {
    OnCancel();
    return true;
}

void CItemPreviewWnd::OnCancel() {
    ShowWindow(Handle(), SW_HIDE);
    if (onHidden_)
        onHidden_();
}
