#pragma once

#include "Dc6Encoder.h"
#include "Dc6Hooks.h"
#include "Dc6Reader.h"
#include "FileIo.h"
#include "Image.h"
#include "OutputNames.h"
#include "Palette.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Converts one loaded and checked DC6 file (GetFileInfoDC6) into PCX files in
// OutputFolderPath(folder): one sheet of all frames when no frame has offsets, else one file
// per frame (always so for Dc6FrameScope::AllFrames, numbered across directions). `listName`
// is the file's name; its extension is cut off for the output names. Names and folder are
// UTF-16, whatever script they are in; paths in notices are UTF-8. `rgbPalette` is the
// run's palette in red, green, blue order. Frames that cannot be converted and files that
// cannot be written are reported through hooks.ShowNotice; the first file that cannot be
// written ends the file's conversion, so that it is reported once. Returns whether every
// image was written (at least one). The images are written as files of `outputs`, which the
// caller finishes once the whole run is done.
// With ImageKind::Png the same layouts go into PNGFiles as indexed PNGs whose undrawn pixels
// are transparent and whose per-frame files carry the frame's offsets.
bool ConvertFile(const std::u16string& listName, std::span<const uint8_t> file, const Dc6FileInfo& info,
                 const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs,
                 const std::u16string& folder = u"", ImageKind kind = ImageKind::Pcx);

// Whether a file's frames go on one sheet rather than one image each: when no frame has
// offsets and only the first direction is converted, as the batch window converts.
inline bool ConvertsToSheet(bool hasOffsets, Dc6FrameScope scope) {
    return !hasOffsets && scope == Dc6FrameScope::FirstDirection;
}

// Converts the decoded frames of a sprite, read from a file of another format (DCC), in the
// layouts and under the names ConvertFile gives a DC6 file's: `sprite` holds the frames of
// `scope`, and its T3 terminator is its transparent index.
bool ConvertSprite(const std::u16string& listName, const Dc6Sprite& sprite, Dc6FrameScope scope,
                   const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs,
                   const std::u16string& folder = u"", ImageKind kind = ImageKind::Pcx);

// Converts one loaded file of any sprite format the converter reads, DCC (IsDccFile) or DC6
// (GetFileInfoDC6, then ConvertFile), reporting through `hooks` as those do.
bool ConvertSpriteFile(const std::u16string& listName, std::span<const uint8_t> file, Dc6FrameScope scope,
                       const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs,
                       const std::u16string& folder = u"", ImageKind kind = ImageKind::Pcx);

// The in-memory halves of ConvertFile. RenderFrame decodes frame `index` into an image of its
// own; RenderSheet lays every frame out on one sheet and decodes them into it. Both report
// skipped frames through hooks.ShowNotice and fail when there is nothing to write. The image
// is filled with `background` (default: the file's background index T3) before decoding.
bool RenderFrame(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index, const Dc6Hooks& hooks,
                 Image& image, std::optional<uint8_t> background = {});
bool RenderSheet(std::span<const uint8_t> file, const Dc6FileInfo& info, const Dc6Hooks& hooks, Image& sheet,
                 std::optional<uint8_t> background = {});

// The notices one file's conversion gave, as one message that names the file: "x.dc6:" and a
// line for each notice, the first `shown` of them and then how many more there were.
std::string FileNotices(const std::string& fileName, const std::vector<std::string>& notices, size_t shown = 10);
