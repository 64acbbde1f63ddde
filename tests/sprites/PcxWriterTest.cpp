#include "PcxWriter.h"

#include "FileIo.h"
#include "PcxTestReader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Palette CountingPalette() {
    Palette palette;
    std::iota(palette.begin(), palette.end(), 0);
    return palette;
}

Bytes Encode(const Bytes& pixels, int32_t width, int32_t rows, size_t stride, const Palette& rgb = CountingPalette()) {
    Bytes out(PcxMaxFileSize(static_cast<size_t>(width), static_cast<size_t>(rows)));
    out.resize(EncodePcx(pixels.data(), width, rows, stride, rgb, out.data()));
    return out;
}

uint16_t U16At(const Bytes& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

Bytes CodedPixels(const Bytes& file) {
    return {file.begin() + 128, file.end() - 769};
}

}  // namespace

TEST(PcxWriter, TwoByOneImageIs900BytesWithTheHighPixelAsAPair) {
    const Palette palette = CountingPalette();
    const Bytes file = Encode({0x05, 0xC3}, 2, 1, 2, palette);
    ASSERT_EQ(file.size(), 900u);
    EXPECT_EQ(CodedPixels(file), (Bytes{0x05, 0xC1, 0xC3}));
    EXPECT_EQ(file[900 - 769], 0x0C);
    EXPECT_EQ(Bytes(file.end() - 768, file.end()), Bytes(palette.begin(), palette.end()));
}

TEST(PcxWriter, HeaderCarriesTheSizeInTheRangeResolutionAndLineFields) {
    const Bytes file = Encode({1, 2, 3, 4, 5, 6}, 3, 2, 3);
    EXPECT_EQ(file.size(), 128u + 6 + 769);
    EXPECT_EQ(file[0], 10);
    EXPECT_EQ(file[1], 5);
    EXPECT_EQ(file[2], 1);
    EXPECT_EQ(file[3], 8);
    EXPECT_EQ(U16At(file, 4), 0);
    EXPECT_EQ(U16At(file, 6), 0);
    EXPECT_EQ(U16At(file, 8), 2);   // x max
    EXPECT_EQ(U16At(file, 10), 1);  // y max
    EXPECT_EQ(U16At(file, 12), 3);  // horizontal resolution: the width
    EXPECT_EQ(U16At(file, 14), 2);  // vertical resolution: the height
    EXPECT_EQ(file[64], 0);
    EXPECT_EQ(file[65], 1);
    EXPECT_EQ(U16At(file, 66), 3);  // bytes per line: the odd width, unpadded
    EXPECT_EQ(U16At(file, 68), 2);
    EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 64), Bytes(48, 0));
    EXPECT_EQ(Bytes(file.begin() + 70, file.begin() + 128), Bytes(58, 0));
}

TEST(PcxWriter, CodesEveryPixelAloneWithPairsOnlyFromC0Up) {
    EXPECT_EQ(CodedPixels(Encode({0xBF}, 1, 1, 1)), (Bytes{0xBF}));
    EXPECT_EQ(CodedPixels(Encode({0xC0}, 1, 1, 1)), (Bytes{0xC1, 0xC0}));
    EXPECT_EQ(CodedPixels(Encode({0xFF}, 1, 1, 1)), (Bytes{0xC1, 0xFF}));
    // Equal neighbours are never joined into a longer run.
    EXPECT_EQ(CodedPixels(Encode({0x07, 0x07, 0xD0, 0xD0}, 4, 1, 4)), (Bytes{0x07, 0x07, 0xC1, 0xD0, 0xC1, 0xD0}));
}

TEST(PcxWriter, WorstCaseFillsTheBoundExactly) {
    const Bytes file = Encode(Bytes(12, 0xFF), 4, 3, 4);
    EXPECT_EQ(file.size(), PcxMaxFileSize(4, 3));
}

TEST(PcxWriter, TakesEachRowAtItsStride) {
    // Two rows of two pixels taken from a buffer five bytes wide.
    const Bytes pixels{1, 2, 99, 99, 99, 3, 4, 99, 99, 99};
    EXPECT_EQ(CodedPixels(Encode(pixels, 2, 2, 5)), (Bytes{1, 2, 3, 4}));
}

TEST(PcxWriter, WritesAFileThatReadsBack) {
    ScratchDir dir;
    Bytes pixels(7 * 5);
    std::iota(pixels.begin(), pixels.end(), 0xB0);
    const std::filesystem::path path = dir / "out.pcx";
    OutputBatch outputs;
    ASSERT_TRUE(WritePCX(outputs, path.u16string(), pixels.data(), 7, 5, 7, CountingPalette()));
    const PcxTestImage image = ReadPcxFileForTest(path);
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.height, 5);
    EXPECT_EQ(image.pixels, pixels);
}

TEST(PcxWriter, RefusesSizesTheHeaderCannotHold) {
    ScratchDir dir;
    const Bytes pixels(65536, 1);
    const Palette palette = CountingPalette();
    OutputBatch outputs;
    EXPECT_FALSE(WritePCX(outputs, (dir / "a.pcx").u16string(), pixels.data(), 65536, 1, 65536, palette));
    EXPECT_FALSE(WritePCX(outputs, (dir / "b.pcx").u16string(), pixels.data(), 0, 1, 1, palette));
    EXPECT_FALSE(WritePCX(outputs, (dir / "c.pcx").u16string(), pixels.data(), 4, 2, 3, palette))
        << "stride below the width";
    EXPECT_TRUE(WritePCX(outputs, (dir / "d.pcx").u16string(), pixels.data(), 65535, 1, 65535, palette));
    EXPECT_FALSE(std::filesystem::exists(dir / "a.pcx"));
}

TEST(PcxWriter, FailsWhenTheFileCannotBeCreated) {
    ScratchDir dir;
    const Bytes pixels{1};
    OutputBatch outputs;
    EXPECT_FALSE(
        WritePCX(outputs, (dir / "missing" / "x.pcx").u16string(), pixels.data(), 1, 1, 1, CountingPalette()));
}
