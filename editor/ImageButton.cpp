#include "ImageButton.h"

#include "DataExchange.h"

void CImageButton::SetIcon(UINT iconId) {
    icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    bitmap_.reset();
    SetWindowTextW(button_, L"");
    InvalidateRect(button_, nullptr, TRUE);
}

void CImageButton::SetBitmap(UINT bitmapId, COLORREF transparent) {
    bitmap_.reset(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    transparent_ = transparent;
    icon_.reset();
    SetWindowTextW(button_, L"");
    InvalidateRect(button_, nullptr, TRUE);
}

void CImageButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    int shift = pressed ? 1 : 0;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;

    if (icon_) {
        DrawIconEx(dc, rect.left + (width - 16) / 2 + shift, rect.top + (height - 16) / 2 + shift, icon_.get(), 16,
                   16, 0, nullptr, DI_NORMAL);
    } else if (bitmap_) {
        BITMAP info{};
        GetObjectW(bitmap_.get(), sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        {
            SelectedObject selected(source, bitmap_.get());
            TransparentBlt(dc, rect.left + (width - info.bmWidth) / 2 + shift,
                           rect.top + (height - info.bmHeight) / 2 + shift, info.bmWidth, info.bmHeight, source, 0, 0,
                           info.bmWidth, info.bmHeight, transparent_);
        }
        DeleteDC(source);
    }

    std::wstring caption = WindowText(button_);
    if (!caption.empty()) {
        RECT textRect = rect;
        OffsetRect(&textRect, shift, shift);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextW(dc, caption.c_str(), -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}
