#pragma once

#include "FramePictures.h"
#include "Palette.h"
#include "SpriteFile.h"

#include <windows.h>

#include <string>

// The preview beside Morvane Convert's file list: the selected file decoded once, when it is
// selected, and kept for stepping through its directions and frames and for playing them at
// the game's 25 frames a second. A file that can not be shown shows why instead. It works the
// main window's preview controls (resource.h) and is told of their clicks, of its timer and
// of the drawing of its picture by the window.
class CSpritePreview {
public:
    // The window's timer that plays the frames.
    static constexpr UINT_PTR PlayTimer = 1;

    void Attach(HWND dialog) { dialog_ = dialog; }

    // Decodes the file `name` of the working folder and shows its first frame in `bgr`.
    void Show(const std::u16string& name, const Palette& bgr);
    // Shows nothing (no file, or several selected).
    void Clear();
    const std::u16string& ShownName() const { return name_; }

    void StepDirection(int by);
    void StepFrame(int by);
    // Starts playing the direction's frames from the one shown, or stops.
    void TogglePlay();
    void OnPlayTimer() { StepFrame(1); }
    void Draw(const DRAWITEMSTRUCT& item);

private:
    bool Animated() const { return sprite_.framesPerDirection > 1; }
    void Stop();
    // The steppers' texts and states, and the picture drawn again.
    void Update();
    void DrawMessage(HDC dc, const RECT& area, const std::string& text) const;

    HWND dialog_ = nullptr;
    std::u16string name_;
    DecodedSprite sprite_;
    std::string problem_;  // why the file is not shown (UTF-8), else empty
    Palette bgr_{};
    FrameCell cell_;
    int32_t direction_ = 0;
    int32_t frame_ = 0;
    bool playing_ = false;
    BgraImage picture_;  // kept: every frame played is drawn into the same pixels
};
