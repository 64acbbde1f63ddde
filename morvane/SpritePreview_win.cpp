#include "SpritePreview_win.h"

#include "FileIo.h"
#include "Handles.h"
#include "TextFormat.h"
#include "WindowText_win.h"
#include "resource.h"

namespace {

// The game plays its animations at 25 frames a second.
constexpr UINT FrameMilliseconds = 1000 / 25;

// Steps `value` by `by` within 0 to count - 1, round the end.
int32_t Wrapped(int32_t value, int by, int32_t count) {
    return count < 1 ? 0 : static_cast<int32_t>(((int64_t(value) + by) % count + count) % count);
}

}  // namespace

void CSpritePreview::Show(const std::u16string& name, const Palette& bgr) {
    Stop();
    name_ = name;
    bgr_ = bgr;
    direction_ = frame_ = 0;
    std::vector<uint8_t> bytes;
    if (const Result read = ReadWholeFile(name, bytes, MaxSpriteFileBytes); !read)
        problem_ = Utf16ToUtf8(name) + ": " + read.Message;
    else if (!DecodeSpriteFile(bytes, Utf16ToUtf8(name), SpriteFrames::All, sprite_, problem_))
        problem_ = Utf16ToUtf8(name) + ": " + problem_;
    else
        problem_.clear();
    if (!problem_.empty())
        sprite_ = DecodedSprite{};
    cell_ = problem_.empty() ? DirectionCell(sprite_, 0) : FrameCell{};
    Update();
}

void CSpritePreview::Clear() {
    Stop();
    name_.clear();
    sprite_ = DecodedSprite{};
    problem_.clear();
    direction_ = frame_ = 0;
    Update();
}

void CSpritePreview::StepDirection(int by) {
    direction_ = Wrapped(direction_, by, sprite_.directions);
    cell_ = DirectionCell(sprite_, direction_);
    Update();
}

void CSpritePreview::StepFrame(int by) {
    frame_ = Wrapped(frame_, by, sprite_.framesPerDirection);
    Update();
}

void CSpritePreview::TogglePlay() {
    if (playing_) {
        Stop();
    } else if (Animated()) {
        playing_ = SetTimer(dialog_, PlayTimer, FrameMilliseconds, nullptr) != 0;
    }
    Update();
}

void CSpritePreview::Stop() {
    if (playing_)
        KillTimer(dialog_, PlayTimer);
    playing_ = false;
}

void CSpritePreview::Update() {
    const bool shown = !sprite_.frames.empty();
    const auto position = [shown](const char* what, int32_t index, int32_t count) {
        return shown ? FormatText("%s %d of %d", what, static_cast<int>(index + 1), static_cast<int>(count))
                     : std::string();
    };
    SetDlgItemTextA(dialog_, IDC_DIRECTIONTEXT, position("Direction", direction_, sprite_.directions).c_str());
    SetDlgItemTextA(dialog_, IDC_FRAMETEXT, position("Frame", frame_, sprite_.framesPerDirection).c_str());
    for (int id : {IDC_PREVDIRECTION, IDC_NEXTDIRECTION})
        EnableWindow(GetDlgItem(dialog_, id), sprite_.directions > 1);
    for (int id : {IDC_PREVFRAME, IDC_NEXTFRAME, IDC_PLAY})
        EnableWindow(GetDlgItem(dialog_, id), Animated());
    SetDlgItemTextW(dialog_, IDC_PLAY, playing_ ? L"&Stop" : L"P&lay");
    InvalidateRect(GetDlgItem(dialog_, IDC_PREVIEW), nullptr, FALSE);
}

void CSpritePreview::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    if (sprite_.frames.empty()) {
        DrawMessage(item.hDC, area, problem_);
        return;
    }
    const SpriteFrame& frame = sprite_.At(direction_, frame_);
    if (!frame.problem.empty()) {
        DrawMessage(item.hDC, area, FormatText("Frame %d: %s.", static_cast<int>(frame_ + 1), frame.problem.c_str()));
        return;
    }
    picture_.width = area.right - area.left;
    picture_.height = area.bottom - area.top;
    DrawOnCheckerboard(frame, cell_, bgr_, picture_);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_.width;
    info.bmiHeader.biHeight = -picture_.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(item.hDC, area.left, area.top, static_cast<DWORD>(picture_.width),
                      static_cast<DWORD>(picture_.height), 0, 0, 0, static_cast<UINT>(picture_.height),
                      picture_.pixels.data(), &info, DIB_RGB_COLORS);
}

void CSpritePreview::DrawMessage(HDC dc, const RECT& area, const std::string& text) const {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog_, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT inside = area;
    InflateRect(&inside, -4, -4);
    const std::wstring wide = WideFromUtf8(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &inside, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
}
