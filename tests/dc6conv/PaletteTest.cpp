#include "Palette.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// (red, green, blue) of entry `i` of a palette stored blue, green, red.
std::array<int, 3> StoredColour(const Palette& palette, size_t i) {
    return {palette[3 * i + 2], palette[3 * i + 1], palette[3 * i]};
}

}  // namespace

TEST(BuiltInPalette, IsTheActOnePaletteStoredBlueGreenRed) {
    const Palette& palette = BuiltInPalette();
    EXPECT_EQ(palette[3], 0x00);
    EXPECT_EQ(palette[4], 0x00);
    EXPECT_EQ(palette[5], 0x24);
    EXPECT_EQ(StoredColour(palette, 0), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(StoredColour(palette, 1), (std::array<int, 3>{36, 0, 0}));
    EXPECT_EQ(StoredColour(palette, 5), (std::array<int, 3>{92, 0, 0}));
    EXPECT_EQ(StoredColour(palette, 8), (std::array<int, 3>{144, 0, 0}));
    EXPECT_EQ(StoredColour(palette, 10), (std::array<int, 3>{188, 0, 0}));
    EXPECT_EQ(StoredColour(palette, 12), (std::array<int, 3>{244, 196, 108}));
    EXPECT_EQ(StoredColour(palette, 255), (std::array<int, 3>{255, 255, 255}));
}

TEST(BuiltInPalette, MatchesTheGamesActOnePaletteFile) {
    SKIP_WITHOUT_REAL_DATA();
    std::ifstream in(RealDataDir() / "palette" / "gm_d2-act1.pal");
    std::string magic, version;
    int count = 0;
    in >> magic >> version >> count;
    ASSERT_EQ(magic, "JASC-PAL");
    ASSERT_EQ(count, 256);
    for (size_t i = 0; i < 256; ++i) {
        std::array<int, 3> rgb{};
        in >> rgb[0] >> rgb[1] >> rgb[2];
        ASSERT_TRUE(in) << "entry " << i;
        EXPECT_EQ(StoredColour(BuiltInPalette(), i), rgb) << "entry " << i;
    }
}

TEST(SwapRedAndBlue, ExchangesFirstAndThirdByteOfEveryEntryAndLeavesTheSourceAlone) {
    const Palette before = BuiltInPalette();
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    EXPECT_EQ(rgb[3], 0x24);
    EXPECT_EQ(rgb[5], 0x00);
    EXPECT_EQ(rgb[36], 244);
    EXPECT_EQ(rgb[37], 196);
    EXPECT_EQ(rgb[38], 108);
    EXPECT_EQ(BuiltInPalette(), before);
    EXPECT_EQ(SwapRedAndBlue(BuiltInPalette()), rgb) << "every run converts the same colours";
}

TEST(LoadPaletteFile, AcceptsAny768ByteFileWhateverItsName) {
    ScratchDir dir;
    std::vector<uint8_t> bytes(768);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    WriteBytes(dir / "colours.pl2", bytes);
    Palette palette{};
    ASSERT_TRUE(LoadPaletteFile((dir / "colours.pl2").string(), palette));
    EXPECT_EQ(std::vector<uint8_t>(palette.begin(), palette.end()), bytes);
}

TEST(LoadPaletteFile, RefusesFilesOfAnyOtherSizeAndLeavesThePaletteAlone) {
    ScratchDir dir;
    WriteBytes(dir / "colours.pal", std::vector<uint8_t>(1024, 0x11));
    WriteBytes(dir / "short.pal", std::vector<uint8_t>(767, 0x11));
    WriteBytes(dir / "empty.pal", {});
    Palette palette = BuiltInPalette();
    EXPECT_FALSE(LoadPaletteFile((dir / "colours.pal").string(), palette));
    EXPECT_FALSE(LoadPaletteFile((dir / "short.pal").string(), palette));
    EXPECT_FALSE(LoadPaletteFile((dir / "empty.pal").string(), palette));
    EXPECT_FALSE(LoadPaletteFile((dir / "missing.pal").string(), palette));
    EXPECT_EQ(palette, BuiltInPalette());
}

TEST(LoadPaletteFile, ReadsTheGamesRawPaletteFile) {
    SKIP_WITHOUT_REAL_DATA();
    Palette palette{};
    EXPECT_TRUE(LoadPaletteFile((RealDataDir() / "palette" / "gm_act0.act").string(), palette));
    EXPECT_FALSE(LoadPaletteFile((RealDataDir() / "palette" / "gm_d2-act1.pal").string(), palette))
        << "a JASC text palette is not 768 bytes";
}
