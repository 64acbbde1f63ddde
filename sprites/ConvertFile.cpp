#include "ConvertFile.h"

#include "Dc6Decoder.h"
#include "DccReader.h"
#include "DccSprite.h"
#include "FileIo.h"
#include "FrameImages.h"
#include "OutputNames.h"
#include "PcxWriter.h"
#include "PngCodec.h"
#include "SheetLayout.h"
#include "TextFormat.h"
#include "Utf.h"

#include <algorithm>
#include <functional>
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

// The image as a PNG: `painted` drawn over the file's background and `check` over another,
// so that pixels the frames did not paint, which differ between the two, become the one
// transparent index.
bool WritePngImage(OutputBatch& outputs, const std::u16string& path, Image&& painted, const Image& check,
                   uint8_t background, const Palette& rgbPalette, std::optional<PngFrameOffsets> offsets,
                   const Dc6Hooks& hooks) {
    if (!PathFits(path, hooks))
        return false;
    const FrameAsImage image = ImageOfDecodedFrame(std::move(painted), check, background);
    std::vector<uint8_t> png;
    std::string problem;
    if (!EncodeIndexedPng({&image.image, &rgbPalette, image.transparentIndex, offsets}, png, problem) ||
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

// Lays the usable frames of `sizes` out on one sheet filled with `background` and draws each
// through `draw` at its place. Fails when there is nothing to lay out or no sheet to be had.
bool DrawSheet(std::span<const FrameSize> sizes, const Dc6Hooks& hooks, uint8_t background, Image& sheet,
               const std::function<void(size_t, int64_t, int64_t)>& draw) {
    const SheetLayout layout = LayOutSheet(sizes);
    if (layout.width == 0)
        return false;
    if (!MakeImage(layout.width, layout.height, background, sheet)) {
        ReportImageRefused(hooks, "A sheet", layout.width, layout.height);
        return false;
    }
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (!sizes[i].usable)
            continue;
        // A frame taller than the one that starts its row is bottom-aligned with it and reaches
        // up into the row above; in the first row there is nothing above.
        if (layout.placements[i].y < 0) {
            ReportSkippedFrame(hooks, static_cast<int32_t>(i),
                               "it is taller than the frame that starts its row and would reach above the sheet");
            continue;
        }
        draw(i, layout.placements[i].x, layout.placements[i].y);
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
    return DrawSheet(sizes, hooks, background.value_or(info.Background()), sheet, [&](size_t i, int64_t x, int64_t y) {
        Decode(file, info, static_cast<int32_t>(i), frames[i], sheet, x, y, hooks);
    });
}

namespace {

// The frames of one file as images, drawn over a background index chosen by the caller.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual int32_t FrameCount() const = 0;
    virtual bool HasOffsets() const = 0;
    virtual uint8_t Background() const = 0;
    virtual bool Frame(int32_t index, const Dc6Hooks& hooks, Image& image, uint8_t background) const = 0;
    virtual bool Sheet(const Dc6Hooks& hooks, Image& sheet, uint8_t background) const = 0;
    virtual PngFrameOffsets Offsets(int32_t index) const = 0;
};

// A DC6 file's frames, decoded from its coded scanlines.
class Dc6FileFrames final : public FrameSource {
public:
    Dc6FileFrames(std::span<const uint8_t> file, const Dc6FileInfo& info) : file_(file), info_(info) {}

    int32_t FrameCount() const override { return info_.FrameCount(); }
    bool HasOffsets() const override { return info_.hasOffsets; }
    uint8_t Background() const override { return info_.Background(); }
    bool Frame(int32_t index, const Dc6Hooks& hooks, Image& image, uint8_t background) const override {
        return RenderFrame(file_, info_, index, hooks, image, background);
    }
    bool Sheet(const Dc6Hooks& hooks, Image& sheet, uint8_t background) const override {
        return RenderSheet(file_, info_, hooks, sheet, background);
    }
    PngFrameOffsets Offsets(int32_t index) const override {
        Dc6FrameInfo frame;
        std::string problem;
        GetFrameInfoDC6(file_, info_, index, frame, problem);
        return {frame.offsetX, frame.offsetY};
    }

private:
    std::span<const uint8_t> file_;
    const Dc6FileInfo& info_;
};

// Frames decoded already: their opaque pixels drawn over the background.
class DecodedFrames final : public FrameSource {
public:
    explicit DecodedFrames(const Dc6Sprite& sprite) : sprite_(sprite) {}

    int32_t FrameCount() const override { return static_cast<int32_t>(sprite_.frames.size()); }
    bool HasOffsets() const override {
        return std::any_of(sprite_.frames.begin(), sprite_.frames.end(),
                           [](const Dc6SourceFrame& frame) { return frame.offsetX != 0 || frame.offsetY != 0; });
    }
    uint8_t Background() const override { return sprite_.terminators[3]; }
    bool Frame(int32_t index, const Dc6Hooks& hooks, Image& image, uint8_t background) const override {
        const Dc6SourceFrame& frame = sprite_.frames[static_cast<size_t>(index)];
        if (!MakeImage(frame.width, frame.height, background, image)) {
            ReportImageRefused(hooks, FormatText("Frame %d: an image", static_cast<int>(index)).c_str(), frame.width,
                               frame.height);
            return false;
        }
        Draw(frame, image, 0, 0);
        return true;
    }
    bool Sheet(const Dc6Hooks& hooks, Image& sheet, uint8_t background) const override {
        std::vector<FrameSize> sizes;
        for (const Dc6SourceFrame& frame : sprite_.frames)
            sizes.push_back({frame.width, frame.height, true});
        return DrawSheet(sizes, hooks, background, sheet, [&](size_t i, int64_t x, int64_t y) {
            Draw(sprite_.frames[i], sheet, x, y);
        });
    }
    PngFrameOffsets Offsets(int32_t index) const override {
        const Dc6SourceFrame& frame = sprite_.frames[static_cast<size_t>(index)];
        return {frame.offsetX, frame.offsetY};
    }

private:
    static void Draw(const Dc6SourceFrame& frame, Image& image, int64_t left, int64_t top) {
        const size_t width = static_cast<size_t>(frame.width);
        for (int32_t y = 0; y < frame.height; ++y) {
            uint8_t* line = image.Row(static_cast<int32_t>(top) + y) + left;
            const size_t start = static_cast<size_t>(y) * width;
            for (size_t x = 0; x < width; ++x)
                if (frame.opaque[start + x])
                    line[x] = frame.pixels[start + x];
        }
    }

    const Dc6Sprite& sprite_;
};

// Writes the images of a file's frames: one sheet, or one image per frame.
bool WriteImages(const std::u16string& listName, const FrameSource& frames, Dc6FrameScope scope,
                 const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs, const std::u16string& folder,
                 ImageKind kind) {
    std::u16string baseName = listName;
    StripExtension(baseName);
    const uint8_t background = frames.Background();
    const uint8_t other = static_cast<uint8_t>(background ^ 0xFF);
    const Dc6Hooks silent;

    if (ConvertsToSheet(frames.HasOffsets(), scope)) {
        Image sheet, check;
        if (!frames.Sheet(hooks, sheet, background))
            return false;
        const std::u16string path = SheetOutputPath(folder, baseName, kind);
        if (kind == ImageKind::Pcx)
            return WriteImage(outputs, path, sheet, rgbPalette, hooks);
        return frames.Sheet(silent, check, other) &&
               WritePngImage(outputs, path, std::move(sheet), check, background, rgbPalette, std::nullopt, hooks);
    }
    bool wroteAny = false;
    for (int32_t i = 0; i < frames.FrameCount(); ++i) {
        Image image, check;
        if (!frames.Frame(i, hooks, image, background))
            continue;
        const std::u16string path = FrameOutputPath(folder, baseName, i, kind);
        const bool written =
            kind == ImageKind::Pcx
                ? WriteImage(outputs, path, image, rgbPalette, hooks)
                : frames.Frame(i, silent, check, other) &&
                      WritePngImage(outputs, path, std::move(image), check, background, rgbPalette, frames.Offsets(i),
                                    hooks);
        // An output that can not be written is reported once: the next frames would only
        // fail the same way (a missing or read-only folder, a full disk).
        if (!written)
            return false;
        wroteAny = true;
    }
    return wroteAny;
}

}  // namespace

bool ConvertFile(const std::u16string& listName, std::span<const uint8_t> file, const Dc6FileInfo& info,
                 const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs, const std::u16string& folder,
                 ImageKind kind) {
    return WriteImages(listName, Dc6FileFrames(file, info), info.scope, rgbPalette, hooks, outputs, folder, kind);
}

bool ConvertSprite(const std::u16string& listName, const Dc6Sprite& sprite, Dc6FrameScope scope,
                   const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs,
                   const std::u16string& folder, ImageKind kind) {
    return WriteImages(listName, DecodedFrames(sprite), scope, rgbPalette, hooks, outputs, folder, kind);
}

bool ConvertSpriteFile(const std::u16string& listName, std::span<const uint8_t> file, Dc6FrameScope scope,
                       const Palette& rgbPalette, const Dc6Hooks& hooks, OutputBatch& outputs,
                       const std::u16string& folder, ImageKind kind) {
    if (IsDccFile(listName, file)) {
        Dc6Sprite sprite;
        std::string problem;
        if (!DecodeDccSprite(file, scope, sprite, problem)) {
            hooks.Error(DccRefusal(problem));
            return false;
        }
        return ConvertSprite(listName, sprite, scope, rgbPalette, hooks, outputs, folder, kind);
    }
    Dc6FileInfo info;
    return GetFileInfoDC6(file, hooks, info, scope) &&
           ConvertFile(listName, file, info, rgbPalette, hooks, outputs, folder, kind);
}

std::string FileNotices(const std::string& fileName, const std::vector<std::string>& notices, size_t shown) {
    std::string text = fileName + ":";
    for (size_t i = 0; i < notices.size() && i < shown; ++i)
        text += "\n" + notices[i];
    if (notices.size() > shown)
        text += FormatText("\n... and %zu more.", notices.size() - shown);
    return text;
}
