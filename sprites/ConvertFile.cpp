#include "ConvertFile.h"

#include "Dc6Decoder.h"
#include "FileIo.h"
#include "FrameImages.h"
#include "OutputNames.h"
#include "PcxWriter.h"
#include "PngCodec.h"
#include "SheetLayout.h"
#include "TextFormat.h"
#include "Utf.h"

#include <vector>

namespace {

void ReportSkippedFrame(const Dc6Hooks& hooks, int32_t index, const std::string& problem) {
    hooks.Notice(SkippedFrameNotice(index, problem));
}

void ReportImageRefused(const Dc6Hooks& hooks, const char* what, int64_t width, int64_t height) {
    hooks.Notice(FormatText("%s of %lld x %lld pixels can not be made: each side must be 1 to %d pixels, "
                            "at most %zu pixels in all, and the memory must be there.",
                            what, static_cast<long long>(width), static_cast<long long>(height),
                            static_cast<int>(MaxImageSide), MaxImagePixels));
}

// Decodes frame `index` and sums up in one notice whatever was wrong with its coded data.
void Decode(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index, const Dc6FrameInfo& frame,
            Image& image, int64_t left, int64_t top, const Dc6Hooks& hooks) {
    const Dc6FrameTarget target{static_cast<int32_t>(left), static_cast<int32_t>(top), frame.width, frame.height};
    const Dc6DecodeResult result =
        DecodeFrameDC6(file.subspan(frame.dataPosition), frame.length, info.terminators, image, target);
    const std::string notice = FrameNotice(index, frame, result);
    if (!notice.empty())
        hooks.Notice(notice);
}

// The image as PNG bytes: `painted` decoded over the file's background and `check` over
// another, so that pixels the frames did not paint, which differ between the two, become the
// one transparent index.
bool EncodePngOutput(Image&& painted, const Image& check, uint8_t background, const Palette& rgbPalette,
                     std::optional<PngFrameOffsets> offsets, std::vector<uint8_t>& png) {
    const FrameAsImage image = ImageOfDecodedFrame(std::move(painted), check, background);
    std::string problem;
    return EncodeIndexedPng({&image.image, &rgbPalette, image.transparentIndex, offsets}, png, problem);
}

bool PathFits(const std::u16string& path, const Dc6Hooks& hooks) {
    if (path.size() <= MaxOutputPathLength)
        return true;
    hooks.Notice(FormatText("The output path %s is longer than %zu characters; it is not written.",
                            Utf16ToUtf8(path).c_str(), MaxOutputPathLength));
    return false;
}

void ReportNotWritten(const std::u16string& path, const Dc6Hooks& hooks) {
    hooks.Notice(FormatText("The file %s could not be created or written.", Utf16ToUtf8(path).c_str()));
}

bool WritePngImage(OutputBatch& outputs, const std::u16string& path, Image&& painted, const Image& check,
                   uint8_t background, const Palette& rgbPalette, std::optional<PngFrameOffsets> offsets,
                   const Dc6Hooks& hooks) {
    if (!PathFits(path, hooks))
        return false;
    std::vector<uint8_t> png;
    if (!EncodePngOutput(std::move(painted), check, background, rgbPalette, offsets, png) ||
        !outputs.Write(path, png)) {
        ReportNotWritten(path, hooks);
        return false;
    }
    return true;
}

bool WriteImage(OutputBatch& outputs, const std::u16string& path, const Image& image, const Palette& rgbPalette,
                const Dc6Hooks& hooks) {
    if (!PathFits(path, hooks))
        return false;
    if (!WritePCX(outputs, path, image.pixels.data(), image.width, image.height, static_cast<size_t>(image.width),
                  rgbPalette)) {
        ReportNotWritten(path, hooks);
        return false;
    }
    return true;
}

}  // namespace

bool RenderFrame(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index, const Dc6Hooks& hooks,
                 Image& image, std::optional<uint8_t> background) {
    Dc6FrameInfo frame;
    std::string problem;
    if (!GetFrameInfoDC6(file, info, index, frame, problem)) {
        ReportSkippedFrame(hooks, index, problem);
        return false;
    }
    if (!MakeImage(frame.width, frame.height, background.value_or(info.Background()), image)) {
        ReportImageRefused(hooks, FormatText("Frame %d: an image", static_cast<int>(index)).c_str(), frame.width,
                           frame.height);
        return false;
    }
    Decode(file, info, index, frame, image, 0, 0, hooks);
    return true;
}

bool RenderSheet(std::span<const uint8_t> file, const Dc6FileInfo& info, const Dc6Hooks& hooks, Image& sheet,
                 std::optional<uint8_t> background) {
    const int32_t count = info.FrameCount();
    std::vector<Dc6FrameInfo> frames(static_cast<size_t>(count));
    std::vector<FrameSize> sizes(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        std::string problem;
        Dc6FrameInfo& frame = frames[static_cast<size_t>(i)];
        if (GetFrameInfoDC6(file, info, i, frame, problem))
            sizes[static_cast<size_t>(i)] = {frame.width, frame.height, true};
        else
            ReportSkippedFrame(hooks, i, problem);
    }
    const SheetLayout layout = LayOutSheet(sizes);
    if (layout.width == 0)
        return false;
    if (!MakeImage(layout.width, layout.height, background.value_or(info.Background()), sheet)) {
        ReportImageRefused(hooks, "A sheet", layout.width, layout.height);
        return false;
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        if (!sizes[i].usable)
            continue;
        // A frame taller than the one that starts its row is bottom-aligned with it and reaches
        // up into the row above; in the first row there is nothing above.
        if (layout.placements[i].y < 0) {
            ReportSkippedFrame(hooks, static_cast<int32_t>(i),
                               "it is taller than the frame that starts its row and would reach above the sheet");
            continue;
        }
        Decode(file, info, static_cast<int32_t>(i), frames[i], sheet, layout.placements[i].x,
               layout.placements[i].y, hooks);
    }
    return true;
}

bool ConvertFile(const std::u16string& listName, std::span<const uint8_t> file, const Dc6FileInfo& info,
                 const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs, const std::u16string& folder,
                 ImageKind kind) {
    std::u16string baseName = listName;
    StripExtension(baseName);
    const uint8_t background = info.Background();
    const uint8_t other = static_cast<uint8_t>(background ^ 0xFF);
    const Dc6Hooks silent;

    if (!info.hasOffsets && info.scope == Dc6FrameScope::FirstDirection) {
        Image sheet, check;
        if (!RenderSheet(file, info, hooks, sheet))
            return false;
        const std::u16string path = SheetOutputPath(folder, baseName, kind);
        if (kind == ImageKind::Pcx)
            return WriteImage(outputs, path, sheet, rgbPalette, hooks);
        return RenderSheet(file, info, silent, check, other) &&
               WritePngImage(outputs, path, std::move(sheet), check, background, rgbPalette, std::nullopt, hooks);
    }
    bool wroteAny = false;
    for (int32_t i = 0; i < info.FrameCount(); ++i) {
        Image image, check;
        if (!RenderFrame(file, info, i, hooks, image))
            continue;
        const std::u16string path = FrameOutputPath(folder, baseName, i, kind);
        bool written = false;
        if (kind == ImageKind::Pcx) {
            written = WriteImage(outputs, path, image, rgbPalette, hooks);
        } else {
            Dc6FrameInfo frame;
            std::string problem;
            GetFrameInfoDC6(file, info, i, frame, problem);
            written = RenderFrame(file, info, i, silent, check, other) &&
                      WritePngImage(outputs, path, std::move(image), check, background, rgbPalette,
                                    PngFrameOffsets{frame.offsetX, frame.offsetY}, hooks);
        }
        // An output that can not be written is reported once: the next frames would only
        // fail the same way (a missing or read-only folder, a full disk).
        if (!written)
            return false;
        wroteAny = true;
    }
    return wroteAny;
}

std::string FileNotices(const std::string& fileName, const std::vector<std::string>& notices, size_t shown) {
    std::string text = fileName + ":";
    for (size_t i = 0; i < notices.size() && i < shown; ++i)
        text += "\n" + notices[i];
    if (notices.size() > shown)
        text += FormatText("\n... and %zu more.", notices.size() - shown);
    return text;
}
