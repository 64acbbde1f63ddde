#pragma once

#include "Dialog.h"
#include "Handles.h"
#include "ItemTextLayout.h"

#include <functional>
#include <string>

// The modeless game preview: the caret entry's value drawn as the game draws item text, in the
// game's colours on its dark background. Closing it only hides it; the owner is told.
class CItemPreviewWnd : public CDialog {
public:
    CItemPreviewWnd(HWND owner, std::function<void()> onHidden);

    // Shows `value` (as held in the document); repaints only when it changed.
    void ShowValue(const std::u16string& value);
    // Floats above every window while Strindle is the active program and its main window takes
    // input; otherwise lies just above the main window, under Strindle's own dialogs and under
    // other programs.
    void KeepAboveOwner(bool appActive);
    // Draws the laid-out value into `area` of `dc`, as the window paints itself.
    void Draw(HDC dc, const RECT& area) const;
    const std::vector<ItemTextLine>& Lines() const { return lines_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend struct ItemPreviewMessageMap;
    bool OnPaint(WPARAM wParam, LPARAM lParam);
    bool OnEraseBackground(WPARAM wParam, LPARAM lParam);
    bool OnSize(WPARAM wParam, LPARAM lParam);
    bool OnClose(WPARAM wParam, LPARAM lParam);
    bool OnShowWindow(WPARAM wParam, LPARAM lParam);
    bool OnActivateApp(WPARAM wParam, LPARAM lParam);

    std::function<void()> onHidden_;
    std::u16string value_;
    std::vector<ItemTextLine> lines_;
    UniqueGdi<HFONT> font_;
};

// The dark background behind the game's item text.
constexpr COLORREF GameBackground = RGB(0, 0, 0);
