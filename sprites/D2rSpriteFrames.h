#pragma once

#include "Dc6Encoder.h"
#include "Image.h"
#include "Palette.h"

#include <cstdint>
#include <string>
#include <vector>

// A DC6 sprite's frames as a Diablo II: Resurrected sprite's. A sprite's frames share one
// size, so every frame is placed in a cell that holds them all where the game draws them (a
// DC6 frame's offsets place its bottom-left corner; frames without offsets are bottom-left
// aligned). Opaque pixels take their colour from `rgbPalette` (red, green, blue) at alpha
// 255, transparent ones and the cell around the frame are (0, 0, 0, 0); every pixel then
// becomes a block of `scale` x `scale`. Unreadable frames are left out. Fails with a reason
// when no frame can be read, `scale` is below 1, or the sprite would be no image the
// converter makes.
bool SpriteFramesFromDc6(const Dc6Sprite& dc6, const Palette& rgbPalette, int32_t scale,
                         std::vector<RgbaImage>& frames, std::string& problem);

// A sprite's frames as DC6 frames, their colours mapped to `rgbPalette` as a PNG's are
// (FrameFromPng): the nearest colour, alpha below `alphaThreshold` transparent.
void Dc6FramesFromSprite(const std::vector<RgbaImage>& frames, const Palette& rgbPalette, uint8_t alphaThreshold,
                         std::vector<Dc6SourceFrame>& dc6Frames);
