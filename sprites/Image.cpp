#include "Image.h"

#include <new>

bool ImageSizeAllowed(int64_t width, int64_t height) {
    return width >= 1 && width <= MaxImageSide && height >= 1 && height <= MaxImageSide &&
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= MaxImagePixels;
}

bool MakeImage(int64_t width, int64_t height, uint8_t background, Image& image) {
    if (!ImageSizeAllowed(width, height))
        return false;
    try {
        image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), background);
    } catch (const std::bad_alloc&) {
        return false;
    }
    image.width = static_cast<int32_t>(width);
    image.height = static_cast<int32_t>(height);
    return true;
}
