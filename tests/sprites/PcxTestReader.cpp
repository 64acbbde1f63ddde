#include "PcxTestReader.h"

#include "TestSupport.h"

PcxTestImage ReadPcxForTest(const std::vector<uint8_t>& bytes) {
    PcxTestImage image;
    if (bytes.size() < 128 + 769 || bytes[0] != 10 || bytes[3] != 8 || bytes[bytes.size() - 769] != 0x0C)
        return image;
    const auto u16 = [&bytes](size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    image.width = u16(8) - u16(4) + 1;
    image.height = u16(10) - u16(6) + 1;
    const int bytesPerLine = u16(66);
    const size_t end = bytes.size() - 769;
    size_t p = 128;
    std::vector<uint8_t> line;
    for (int y = 0; y < image.height; ++y) {
        line.clear();
        while (static_cast<int>(line.size()) < bytesPerLine) {
            if (p >= end)
                return image;
            uint8_t value = bytes[p++];
            int count = 1;
            if ((value & 0xC0) == 0xC0) {
                count = value & 0x3F;
                if (p >= end)
                    return image;
                value = bytes[p++];
            }
            line.insert(line.end(), static_cast<size_t>(count), value);
        }
        image.pixels.insert(image.pixels.end(), line.begin(), line.begin() + image.width);
    }
    image.palette.assign(bytes.end() - 768, bytes.end());
    image.valid = p == end;
    return image;
}

PcxTestImage ReadPcxFileForTest(const std::filesystem::path& path) {
    return ReadPcxForTest(ReadBytes(path));
}
