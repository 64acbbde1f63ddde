#pragma once

#include "Dc6Encoder.h"
#include "FileIo.h"
#include "Palette.h"

#include <string>
#include <vector>

// A sprite unpacked into a folder: one indexed PNG per frame and the text file
// "manifest.txt", which holds what the PNGs cannot: the header fields, the termination
// bytes, the directions and the order of the frames with their offsets.
//
//   DC6 sprite folder 1
//   flags 1
//   encoding 0
//   terminators EE EE EE EE
//   frame-terminator CD CD CD        ("none" when the file has none)
//   directions 1
//   frames-per-direction 2
//   frame 0 0 -137 10 0 0 NAME_0_0.png   (direction, frame, offset x, offset y, flip,
//   frame 0 1 0 0 0 0 NAME_0_1.png        unknown field, PNG file)
//   unreadable-frame 0 2 00000004        (a frame that can not be read: no PNG, its
//                                          pointer as the file held it, in hexadecimal)

constexpr char SpriteManifestName[] = "manifest.txt";

// Writes the sprite's PNGs (palette `rgbPalette`, red, green, blue) and manifest into
// `folder`, which is made when missing, as files of `outputs`. `notices` receives a line for
// each frame that uses all 256 indices, whose transparent pixels then share the background
// index.
bool WriteSpriteFolder(OutputBatch& outputs, const Dc6Sprite& sprite, const std::string& folder,
                       const std::string& name, const Palette& rgbPalette, std::vector<std::string>& notices,
                       std::string& problem);

// The parts of a folder other sprite kinds share: the name of frame `frame` of direction
// `direction`'s PNG ("NAME_0_2.png"), the manifest naming frame i's PNG `files[i]`, and the
// paths of the PNGs a folder's manifest lists, in frame order, frames listed unreadable left out.
std::string SpriteFramePngName(const std::string& name, size_t direction, size_t frame);
bool WriteSpriteManifest(OutputBatch& outputs, const Dc6Sprite& sprite, const std::vector<std::string>& files,
                         const std::string& folder, std::string& problem);
bool ListSpriteFolderImages(const std::string& folder, std::vector<std::string>& paths, std::string& problem);

// Reads a folder written by WriteSpriteFolder, whose PNGs may have been edited: their sizes
// are taken as they are now, their pixels as FrameFromPng reads them, the offsets from the
// manifest.
bool ReadSpriteFolder(const std::string& folder, const Palette& rgbPalette, uint8_t alphaThreshold, Dc6Sprite& sprite,
                      std::string& problem);
