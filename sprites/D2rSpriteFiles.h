#pragma once

#include "Dc6Hooks.h"
#include "FileIo.h"
#include "Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The image files made of a Diablo II: Resurrected sprite and made into one.

// topng of a loaded .sprite file: every frame as a red, green, blue, alpha PNG at
// FrameOutputPath(folder, name, i, ImageKind::Png), `listName` without its extension giving the
// name, written as files of `outputs`. A file that can not be read goes through
// hooks.NotifyError, a file that can not be written through hooks.ShowNotice, and ends the
// conversion. Returns whether every frame was written.
bool ConvertD2rSpriteFile(const std::u16string& listName, std::span<const uint8_t> file, const Dc6Hooks& hooks,
                          OutputBatch& outputs, const std::u16string& folder);

// unpack of a sprite: its frames as red, green, blue, alpha PNGs in `folder` (made when missing)
// with a manifest of one direction, as a DC6 sprite folder holds them, so that pack makes
// either kind of file of either kind of folder.
bool WriteD2rSpriteFolder(OutputBatch& outputs, const std::vector<RgbaImage>& frames, const std::string& folder,
                          const std::string& name, std::string& problem);

// The frames of an unpacked folder of either kind, the PNGs its manifest lists in frame order,
// as red, green, blue, alpha images.
bool ReadD2rSpriteFolder(const std::string& folder, std::vector<RgbaImage>& frames, std::string& problem);
