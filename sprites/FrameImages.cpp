#include "FrameImages.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

// Maps colours to palette indices: the first entry of exactly that colour, else the entry
// nearest in red, green, blue (squared distance, the lower index on a tie). Answers are kept:
// an image holds few distinct colours.
class ColourMapper {
public:
    explicit ColourMapper(const Palette& rgb) : rgb_(rgb) {
        for (size_t i = 256; i-- > 0;)
            found_[Key(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2])] = static_cast<uint8_t>(i);
    }

    uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue) {
        const uint32_t key = Key(red, green, blue);
        const auto it = found_.find(key);
        if (it != found_.end())
            return it->second;
        const uint8_t nearest = Nearest(red, green, blue);
        found_.emplace(key, nearest);
        return nearest;
    }

private:
    static uint32_t Key(uint8_t red, uint8_t green, uint8_t blue) {
        return static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
    }

    uint8_t Nearest(int red, int green, int blue) const {
        int best = 0;
        int bestDistance = INT32_MAX;
        for (int i = 0; i < 256; ++i) {
            const int dr = rgb_[3 * i] - red, dg = rgb_[3 * i + 1] - green, db = rgb_[3 * i + 2] - blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        return static_cast<uint8_t>(best);
    }

    const Palette& rgb_;
    std::unordered_map<uint32_t, uint8_t> found_;
};

void SizeFrame(Dc6SourceFrame& frame, int32_t width, int32_t height) {
    frame.width = width;
    frame.height = height;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    frame.pixels.assign(pixels, 0);
    frame.opaque.assign(pixels, 1);
}

// Picks the transparent index from the indices opaque pixels use (`used`, 0 or 1 each).
void ChooseTransparentIndex(const std::array<uint8_t, 256>& used, uint8_t preferred, FrameAsImage& result) {
    result.transparentIndex = preferred;
    result.sharedIndex = false;
    if (!used[preferred])
        return;
    result.sharedIndex = true;
    for (size_t i = 0; i < used.size(); ++i) {
        if (!used[i]) {
            result.transparentIndex = static_cast<uint8_t>(i);
            result.sharedIndex = false;
            return;
        }
    }
}

}  // namespace

FrameAsImage ImageOfFrame(const Dc6SourceFrame& frame, uint8_t preferred) {
    std::array<uint8_t, 256> used{};
    for (size_t i = 0; i < frame.pixels.size(); ++i)
        used[frame.pixels[i]] |= frame.opaque[i];
    FrameAsImage result;
    ChooseTransparentIndex(used, preferred, result);
    result.image.width = frame.width;
    result.image.height = frame.height;
    result.image.pixels = frame.pixels;
    for (size_t i = 0; i < frame.pixels.size(); ++i)
        if (!frame.opaque[i])
            result.image.pixels[i] = result.transparentIndex;
    return result;
}

FrameAsImage ImageOfDecodedFrame(Image&& painted, const Image& check, uint8_t background) {
    const uint8_t other = static_cast<uint8_t>(background ^ 0xFF);
    const size_t count = painted.pixels.size();
    const uint8_t* c = check.pixels.data();
    FrameAsImage result;
    result.transparentIndex = background;
    // In `check` the unpainted pixels hold `other`: the background index appears there only
    // where it is painted. Without it (the usual case) the unpainted pixels of `painted` hold
    // the transparent index already.
    if (std::find(c, c + count, background) != c + count) {
        const uint8_t* p = painted.pixels.data();
        std::array<uint8_t, 256> used{};
        for (size_t i = 0; i < count; ++i)
            used[p[i]] |= static_cast<uint8_t>((p[i] != background) | (c[i] != other));
        ChooseTransparentIndex(used, background, result);
    }
    result.image = std::move(painted);
    if (result.transparentIndex != background) {
        uint8_t* q = result.image.pixels.data();
        for (size_t i = 0; i < count; ++i)
            if (q[i] == background && c[i] == other)
                q[i] = result.transparentIndex;
    }
    return result;
}

void FrameFromPng(const DecodedPng& png, const Palette& rgbPalette, uint8_t alphaThreshold, Dc6SourceFrame& frame) {
    SizeFrame(frame, png.width, png.height);
    if (png.offsets) {
        frame.offsetX = png.offsets->x;
        frame.offsetY = png.offsets->y;
    }
    ColourMapper mapper(rgbPalette);
    if (png.indexed) {
        // What each PNG index becomes. An index past the palette's end shows black, as
        // libpng shows it.
        constexpr std::array<uint8_t, 4> Black{0, 0, 0, 255};
        std::array<uint8_t, 256> indexFor{}, opaqueFor{};
        for (size_t i = 0; i < 256; ++i) {
            const std::array<uint8_t, 4>& entry = i < png.palette.size() ? png.palette[i] : Black;
            const bool gameColour = std::equal(entry.begin(), entry.begin() + 3, rgbPalette.begin() + 3 * i);
            indexFor[i] = gameColour ? static_cast<uint8_t>(i) : mapper.IndexOf(entry[0], entry[1], entry[2]);
            opaqueFor[i] = entry[3] >= alphaThreshold;
        }
        for (size_t i = 0; i < png.indices.size(); ++i) {
            frame.pixels[i] = indexFor[png.indices[i]];
            frame.opaque[i] = opaqueFor[png.indices[i]];
        }
        return;
    }
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        const uint8_t* p = png.rgba.data() + 4 * i;
        if (p[3] < alphaThreshold)
            frame.opaque[i] = 0;
        else
            frame.pixels[i] = mapper.IndexOf(p[0], p[1], p[2]);
    }
}

std::optional<uint8_t> TopcxBackgroundIndex(const Image& image) {
    std::array<size_t, 256> counts{};
    for (uint8_t index : image.pixels)
        ++counts[index];
    std::optional<uint8_t> background;
    for (uint8_t candidate : {238, 205, 0})
        if (counts[candidate] > (background ? counts[*background] : 0))
            background = candidate;
    return background;
}

void FrameFromIndexedImage(const Image& image, std::optional<uint8_t> transparentIndex, Dc6SourceFrame& frame) {
    SizeFrame(frame, image.width, image.height);
    frame.pixels = image.pixels;
    if (transparentIndex)
        for (size_t i = 0; i < frame.pixels.size(); ++i)
            frame.opaque[i] = frame.pixels[i] != *transparentIndex;
}
