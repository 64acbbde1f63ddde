#include "Palette.h"
#include "PaletteFormats.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    ASSERT_TRUE(LoadPaletteFile((dir / "colours.pl2").u16string(), palette));
    EXPECT_EQ(std::vector<uint8_t>(palette.begin(), palette.end()), bytes);
}

TEST(LoadPaletteFile, RefusesFilesOfAnyOtherSizeAndLeavesThePaletteAlone) {
    ScratchDir dir;
    WriteBytes(dir / "colours.pal", std::vector<uint8_t>(1024, 0x11));
    WriteBytes(dir / "short.pal", std::vector<uint8_t>(767, 0x11));
    WriteBytes(dir / "empty.pal", {});
    Palette palette = BuiltInPalette();
    EXPECT_FALSE(LoadPaletteFile((dir / "colours.pal").u16string(), palette));
    EXPECT_FALSE(LoadPaletteFile((dir / "short.pal").u16string(), palette));
    EXPECT_FALSE(LoadPaletteFile((dir / "empty.pal").u16string(), palette));
    EXPECT_FALSE(LoadPaletteFile((dir / "missing.pal").u16string(), palette));
    EXPECT_EQ(palette, BuiltInPalette());
}

// The colours the game's act 1 palette gives its telling entries, as (red, green, blue).
void ExpectActOneColours(const Palette& palette, const std::string& file) {
    EXPECT_EQ(StoredColour(palette, 0), (std::array<int, 3>{0, 0, 0})) << file;
    EXPECT_EQ(StoredColour(palette, 1), (std::array<int, 3>{36, 0, 0})) << file;
    EXPECT_EQ(StoredColour(palette, 5), (std::array<int, 3>{92, 0, 0})) << file;
    EXPECT_EQ(StoredColour(palette, 8), (std::array<int, 3>{144, 0, 0})) << file;
    EXPECT_EQ(StoredColour(palette, 10), (std::array<int, 3>{188, 0, 0})) << file;
    EXPECT_EQ(StoredColour(palette, 12), (std::array<int, 3>{244, 196, 108})) << file;
}

PaletteFileResult LoadRealPalette(const std::string& name) {
    SaveFuzzSeed("PaletteFuzz", name, ReadBytes(RealDataDir() / "palette" / name));
    return LoadPaletteFile((RealDataDir() / "palette" / name).u16string());
}

TEST(LoadPaletteFile, ReadsTheGamesJascPalettesWithTheirColours) {
    SKIP_WITHOUT_REAL_DATA();
    const PaletteFileResult act1 = LoadRealPalette("gm_d2-act1.pal");
    ASSERT_TRUE(act1.loaded) << act1.problem;
    EXPECT_EQ(act1.format, PaletteFormat::JascPal);
    ExpectActOneColours(act1.palette, "gm_d2-act1.pal");
    EXPECT_EQ(StoredColour(act1.palette, 255), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(act1.palette, BuiltInPalette());

    const PaletteFileResult units = LoadRealPalette("gm_d2-units.pal");
    ASSERT_TRUE(units.loaded) << units.problem;
    ExpectActOneColours(units.palette, "gm_d2-units.pal");
    EXPECT_TRUE(std::equal(units.palette.begin(), units.palette.begin() + 3 * 225, act1.palette.begin()))
        << "the units palette equals act 1 below entry 225";
}

TEST(LoadPaletteFile, ReadsA768ByteActFileAsRedGreenBlueAndTheSameColoursFromRiff) {
    SKIP_WITHOUT_REAL_DATA();
    const PaletteFileResult act = LoadRealPalette("gm_act0.act");
    const PaletteFileResult riff = LoadRealPalette("gm_act0_ms.pal");
    ASSERT_TRUE(act.loaded) << act.problem;
    ASSERT_TRUE(riff.loaded) << riff.problem;
    EXPECT_EQ(act.format, PaletteFormat::Act);
    EXPECT_EQ(riff.format, PaletteFormat::RiffPal);
    const std::vector<uint8_t> raw = ReadBytes(RealDataDir() / "palette" / "gm_act0.act");
    EXPECT_EQ(StoredColour(act.palette, 1), (std::array<int, 3>{raw[3], raw[4], raw[5]})) << "red first in the file";
    EXPECT_EQ(act.palette, riff.palette);
}

TEST(LoadPaletteFile, TakesTheSame768BytesAsBlueGreenRedUnlessNamedAct) {
    ScratchDir dir;
    std::vector<uint8_t> bytes(768, 0);
    bytes[3] = 10;  // entry 1: first byte 10, third byte 30
    bytes[5] = 30;
    WriteBytes(dir / "pal.dat", bytes);
    WriteBytes(dir / "photo.ACT", bytes);
    Palette game{}, act{};
    ASSERT_TRUE(LoadPaletteFile((dir / "pal.dat").u16string(), game));
    ASSERT_TRUE(LoadPaletteFile((dir / "photo.ACT").u16string(), act));
    EXPECT_EQ(StoredColour(game, 1), (std::array<int, 3>{30, 0, 10}));
    EXPECT_EQ(StoredColour(act, 1), (std::array<int, 3>{10, 0, 30}));
}

TEST(LoadPaletteFile, ReadsA772ByteActAndTheFirst256EntriesOfAPl2) {
    ScratchDir dir;
    std::vector<uint8_t> act(772, 0);
    act[3] = 1, act[4] = 2, act[5] = 3;
    std::vector<uint8_t> pl2(4096, 0x77);
    pl2[4] = 4, pl2[5] = 5, pl2[6] = 6, pl2[7] = 0;
    WriteBytes(dir / "a.act", act);
    WriteBytes(dir / "units.pl2", pl2);
    const PaletteFileResult fromAct = LoadPaletteFile((dir / "a.act").u16string());
    const PaletteFileResult fromPl2 = LoadPaletteFile((dir / "units.pl2").u16string());
    ASSERT_TRUE(fromAct.loaded);
    ASSERT_TRUE(fromPl2.loaded);
    EXPECT_EQ(StoredColour(fromAct.palette, 1), (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(fromPl2.format, PaletteFormat::Pl2);
    EXPECT_EQ(StoredColour(fromPl2.palette, 1), (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(StoredColour(fromPl2.palette, 255), (std::array<int, 3>{0x77, 0x77, 0x77}));
}

TEST(ParsePalette, ShortJascListLeavesTheRestBlackAndBadLinesAreNamed) {
    const std::string shortList = "JASC-PAL\n0100\n2\n1 2 3\n4 5 6\n";
    Palette palette = BuiltInPalette();
    PaletteFormat format{};
    size_t colours = 0;
    std::string problem;
    ASSERT_TRUE(ParsePalette({reinterpret_cast<const uint8_t*>(shortList.data()), shortList.size()}, "x.pal",
                             palette, format, colours, problem));
    EXPECT_EQ(colours, 2u);
    EXPECT_EQ(StoredColour(palette, 1), (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(StoredColour(palette, 2), (std::array<int, 3>{0, 0, 0}));

    const std::string bad = "JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n4 5 256\r\n7 8 9\r\n";
    const Palette before = palette;
    EXPECT_FALSE(ParsePalette({reinterpret_cast<const uint8_t*>(bad.data()), bad.size()}, "x.pal", palette, format,
                              colours, problem));
    EXPECT_EQ(problem, "JASC-PAL text: line 5 is not three numbers from 0 to 255 (red, green, blue)");
    EXPECT_EQ(palette, before);
}

TEST(ParsePalette, RiffWithoutADataChunkOrWithAChunkPastTheEndIsRefusedWithItsReason) {
    std::vector<uint8_t> riff = {'R', 'I', 'F', 'F', 20, 0, 0, 0, 'P', 'A', 'L', ' ', 'x', 'y', 'z', 'w', 0, 0, 0, 0};
    Palette palette{};
    PaletteFormat format{};
    size_t colours = 0;
    std::string problem;
    EXPECT_FALSE(ParsePalette(riff, "m.pal", palette, format, colours, problem));
    EXPECT_EQ(problem, "RIFF PAL file: it has no data chunk");
    riff.insert(riff.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0, 0, 0, 3});
    EXPECT_FALSE(ParsePalette(riff, "m.pal", palette, format, colours, problem));
    EXPECT_EQ(problem, "RIFF PAL file: its chunk at 0x14 runs past the end of the file");
}

TEST(LoadPaletteFile, SaysWhyAFileIsNoPalette) {
    ScratchDir dir;
    WriteBytes(dir / "big.act", std::vector<uint8_t>(800, 1));
    WriteBytes(dir / "notes.txt", std::vector<uint8_t>(10, 'a'));
    EXPECT_EQ(LoadPaletteFile((dir / "big.act").u16string()).problem,
              "a .act palette is 768 or 772 bytes long, this file is 800 bytes");
    EXPECT_EQ(LoadPaletteFile((dir / "notes.txt").u16string()).problem,
              "not a palette: 10 bytes, neither JASC-PAL text nor a RIFF PAL file, and not the 768 bytes of a raw "
              "palette");
    EXPECT_EQ(LoadPaletteFile((dir / "missing.pal").u16string()).problem,
              "it can not be read (missing, unreadable or empty)");
}
