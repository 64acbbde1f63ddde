#pragma once

#include "Handles.h"

// An owner-drawn push button showing an icon or a bitmap with a transparent colour, and its
// caption when it has one. Its parent forwards WM_DRAWITEM to Draw.
class CImageButton {
public:
    CImageButton() = default;
    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    void Attach(HWND button) { button_ = button; }
    HWND Handle() const { return button_; }

    // Shows icon resource `iconId` and no caption.
    void SetIcon(UINT iconId);
    // Shows bitmap resource `bitmapId`, `transparent` left out, and no caption.
    void SetBitmap(UINT bitmapId, COLORREF transparent);
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    HWND button_ = nullptr;
    UniqueIcon icon_;
    UniqueGdi<HBITMAP> bitmap_;
    COLORREF transparent_ = 0;
};
