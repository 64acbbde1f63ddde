#include "PngCodec.h"

#include "FileIo.h"
#include "TextFormat.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstring>

// libpng reports errors by longjmp back to the setjmp of the calling function. Only libpng's
// own frames and the callbacks below, which hold no objects with destructors, lie between.

namespace {

struct PngErrorState {
    char message[200] = "";
};

void OnPngError(png_structp png, png_const_charp text) {
    auto* state = static_cast<PngErrorState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

struct ReadCursor {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

void ReadFromCursor(png_structp png, png_bytep data, png_size_t length) {
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (length > cursor->size - cursor->position)
        png_error(png, "the file ends inside the image data");
    std::memcpy(data, cursor->data + cursor->position, length);
    cursor->position += length;
}

class PngWriteHandle {
public:
    explicit PngWriteHandle(PngErrorState& errors)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, OnPngError, OnPngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriteHandle() { png_destroy_write_struct(&png_, &info_); }
    PngWriteHandle(const PngWriteHandle&) = delete;
    PngWriteHandle& operator=(const PngWriteHandle&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

class PngReadHandle {
public:
    explicit PngReadHandle(PngErrorState& errors)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, OnPngError, OnPngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngReadHandle() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReadHandle(const PngReadHandle&) = delete;
    PngReadHandle& operator=(const PngReadHandle&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

}  // namespace

bool WorthCompressing(const Image& image) {
    // A pixel that repeats its left neighbour costs next to nothing in run-length deflate, a
    // run some 10 bits; the other pixels cost their order-0 entropy. Evenly spread rows of
    // some 16,000 pixels in all tell it well enough. Four tables, one per column modulo 4,
    // keep each count's increment from waiting for the previous one.
    constexpr double BitsPerRun = 10;
    constexpr int64_t SampledPixels = 16384;
    const int64_t pixels = int64_t(image.width) * image.height;
    const int32_t rowStep = static_cast<int32_t>(std::max<int64_t>(1, pixels / SampledPixels));
    std::array<std::array<uint32_t, 257>, 4> literals{};  // entry 256 counts repeats
    uint64_t runs = 0, sampled = 0;
    for (int32_t y = 0; y < image.height; y += rowStep) {
        const uint8_t* row = image.Row(y);
        ++literals[0][row[0]];
        bool inRun = false;
        for (int32_t x = 1; x < image.width; ++x) {
            const bool repeats = row[x] == row[x - 1];
            runs += repeats & !inRun;
            inRun = repeats;
            ++literals[x & 3][repeats ? 256u : row[x]];
        }
        sampled += static_cast<uint64_t>(image.width);
    }
    uint64_t literalCount = 0;
    std::array<uint64_t, 256> counts{};
    for (size_t i = 0; i < counts.size(); ++i) {
        counts[i] = uint64_t(literals[0][i]) + literals[1][i] + literals[2][i] + literals[3][i];
        literalCount += counts[i];
    }
    double bits = static_cast<double>(runs) * BitsPerRun;
    for (uint64_t count : counts)
        if (count != 0)
            bits += static_cast<double>(count) * std::log2(static_cast<double>(literalCount) / count);
    return bits / 8 <= 0.75 * static_cast<double>(sampled);
}

bool ReadPngFile(const std::string& path, DecodedPng& decoded, std::string& problem) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes)) {
        problem = path + " can not be read (missing, unreadable or empty)";
        return false;
    }
    if (!DecodePng(bytes, decoded, reason)) {
        problem = path + ": " + reason;
        return false;
    }
    return true;
}

bool LooksLikePng(std::span<const uint8_t> bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

bool EncodeIndexedPng(const IndexedPngImage& source, std::vector<uint8_t>& out, std::string& problem) {
    const Image& image = *source.image;
    if (!ImageSizeAllowed(image.width, image.height)) {
        problem = FormatText("an image of %d x %d pixels can not be written", static_cast<int>(image.width),
                             static_cast<int>(image.height));
        return false;
    }
    PngErrorState errors;
    PngWriteHandle handle(errors);
    if (!handle.info()) {
        problem = "out of memory";
        return false;
    }
    std::vector<png_color> colours(256);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = {(*source.rgbPalette)[3 * i], (*source.rgbPalette)[3 * i + 1], (*source.rgbPalette)[3 * i + 2]};
    std::vector<png_byte> alpha;
    if (source.transparentIndex) {
        alpha.assign(static_cast<size_t>(*source.transparentIndex) + 1, 255);
        alpha.back() = 0;
    }
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (int32_t y = 0; y < image.height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.Row(y));
    out.clear();
    // Room for stored pixels, each row's filter byte and the chunks: the output is not moved.
    out.reserve(image.pixels.size() + static_cast<size_t>(image.height) + 4096);

    png_structp png = handle.png();
    png_infop info = handle.info();
    if (setjmp(png_jmpbuf(png))) {
        problem = FormatText("libpng: %s", errors.message);
        return false;
    }
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    // Sprites are mostly runs of one index between noisy figure pixels: run-length deflate
    // finds the runs at a fraction of the cost of a full match search, and filters do not
    // help palette images. Where it would save little, the pixels are stored as they are.
    png_set_compression_level(png, WorthCompressing(image) ? 1 : 0);
    png_set_compression_strategy(png, 3);  // Z_RLE
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    if (!alpha.empty())
        png_set_tRNS(png, info, alpha.data(), static_cast<int>(alpha.size()), nullptr);
    if (source.offsets)
        png_set_oFFs(png, info, source.offsets->x, source.offsets->y, PNG_OFFSET_PIXEL);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

bool EncodeRgbaPng(const RgbaImage& image, std::vector<uint8_t>& out, std::string& problem) {
    if (!ImageSizeAllowed(image.width, image.height) ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 4) {
        problem = FormatText("an image of %d x %d pixels can not be written", static_cast<int>(image.width),
                             static_cast<int>(image.height));
        return false;
    }
    PngErrorState errors;
    PngWriteHandle handle(errors);
    if (!handle.info()) {
        problem = "out of memory";
        return false;
    }
    const size_t rowBytes = size_t(image.width) * 4;
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(image.pixels.data() + y * rowBytes);
    out.clear();

    png_structp png = handle.png();
    png_infop info = handle.info();
    if (setjmp(png_jmpbuf(png))) {
        problem = FormatText("libpng: %s", errors.message);
        return false;
    }
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    // Painted true-colour art: libpng's default filters and compression suit it.
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

RgbaImage RgbaOfPng(const DecodedPng& png) {
    RgbaImage image{png.width, png.height, png.rgba};
    if (!png.indexed)
        return image;
    image.pixels.resize(png.indices.size() * 4);
    for (size_t i = 0; i < png.indices.size(); ++i) {
        const uint8_t index = png.indices[i];
        const std::array<uint8_t, 4> colour = index < png.palette.size() ? png.palette[index]
                                                                         : std::array<uint8_t, 4>{0, 0, 0, 255};
        std::copy(colour.begin(), colour.end(), image.pixels.begin() + static_cast<ptrdiff_t>(4 * i));
    }
    return image;
}

bool DecodePng(std::span<const uint8_t> bytes, DecodedPng& decoded, std::string& problem) {
    if (!LooksLikePng(bytes)) {
        problem = "not a PNG file (its first bytes are not the PNG signature)";
        return false;
    }
    PngErrorState errors;
    PngReadHandle handle(errors);
    if (!handle.info()) {
        problem = "out of memory";
        return false;
    }
    ReadCursor cursor{bytes.data(), bytes.size(), 0};
    DecodedPng result;
    std::vector<png_bytep> rows;

    png_structp png = handle.png();
    png_infop info = handle.info();
    if (setjmp(png_jmpbuf(png))) {
        problem = FormatText("damaged PNG: %s", errors.message);
        return false;
    }
    png_set_read_fn(png, &cursor, ReadFromCursor);
    // libpng's own size limits would call a valid but large image damaged; the converter's
    // limit is checked below, before any pixels are read.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!ImageSizeAllowed(width, height)) {
        problem = FormatText("its size %u x %u is larger than the converter takes", static_cast<unsigned>(width),
                             static_cast<unsigned>(height));
        return false;
    }
    result.width = static_cast<int32_t>(width);
    result.height = static_cast<int32_t>(height);
    const int colourType = png_get_color_type(png, info);
    result.indexed = colourType == PNG_COLOR_TYPE_PALETTE;

    png_int_32 offsetX = 0, offsetY = 0;
    int unit = 0;
    if (png_get_oFFs(png, info, &offsetX, &offsetY, &unit) && unit == PNG_OFFSET_PIXEL)
        result.offsets = PngFrameOffsets{offsetX, offsetY};

    size_t bytesPerPixel = 1;
    if (result.indexed) {
        png_colorp colours = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &colours, &count);
        png_bytep alpha = nullptr;
        int alphaCount = 0;
        png_get_tRNS(png, info, &alpha, &alphaCount, nullptr);
        result.palette.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            result.palette[static_cast<size_t>(i)] = {colours[i].red, colours[i].green, colours[i].blue,
                                                      i < alphaCount ? alpha[i] : png_byte(255)};
        png_set_packing(png);  // 1-, 2- and 4-bit indices to one byte each
    } else {
        png_set_expand(png);   // grey below 8 bits, tRNS to alpha
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        bytesPerPixel = 4;
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    std::vector<uint8_t>& pixels = result.indexed ? result.indices : result.rgba;
    pixels.resize(static_cast<size_t>(width) * height * bytesPerPixel);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pixels.data() + static_cast<size_t>(y) * width * bytesPerPixel;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    decoded = std::move(result);
    return true;
}
