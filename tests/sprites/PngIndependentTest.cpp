// Our PNGs read back by libpng and by independent readers: ImageMagick and Python's zlib
// (native only), and PNGs recoloured or drawn on by ImageMagick packed back into a DC6.
#include "Dc6Report.h"
#include "Dc6Sprite.h"
#include "FrameImages.h"
#include "PngCodec.h"
#include "SpriteFolder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

Image SmallImage() {
    Image image;
    MakeImage(3, 2, 0, image);
    image.pixels = {5, 9, 200, 9, 5, 0};
    return image;
}

bool CommandsMissing(const char* check) {
#ifdef _WIN32
    (void)check;
    return true;
#else
    return std::system(check) != 0;
#endif
}

std::string RunAndRead(const std::string& command, const ScratchDir& dir) {
    const std::string out = (dir / "out.txt").string();
    EXPECT_EQ(std::system((command + " > '" + out + "' 2>&1").c_str()), 0) << command;
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Parses the PNG's chunks with Python's zlib and struct: it prints the size, the oFFs values,
// the tRNS length and the inflated rows' indices (filter type 0 is all we write).
constexpr char PythonPngReader[] = R"(import struct, sys, zlib
b = open(sys.argv[1], 'rb').read()
assert b[:8] == b'\x89PNG\r\n\x1a\n'
p, idat, out = 8, b'', {}
while p < len(b):
    n, kind = struct.unpack('>I4s', b[p:p + 8]); body = b[p + 8:p + 8 + n]
    assert zlib.crc32(kind + body) == struct.unpack('>I', b[p + 8 + n:p + 12 + n])[0]
    if kind == b'IHDR': w, h, depth, colour = struct.unpack('>IIBB', body[:10])
    if kind == b'oFFs': out['offs'] = struct.unpack('>iiB', body)
    if kind == b'tRNS': out['trns'] = list(body)
    if kind == b'IDAT': idat += body
    p += 12 + n
raw = zlib.decompress(idat)
rows = [list(raw[y * (w + 1) + 1:(y + 1) * (w + 1)]) for y in range(h)]
print(w, h, depth, colour, out.get('offs'), out.get('trns'), rows)
)";

}  // namespace

TEST(PngCodec, WritesIndexedPixelsPaletteTransparencyAndOffsetsThatReadBack) {
    const Image image = SmallImage();
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::vector<uint8_t> png;
    std::string problem;
    ASSERT_TRUE(EncodeIndexedPng({&image, &rgb, uint8_t{9}, PngFrameOffsets{-137, 10}}, png, problem)) << problem;
    DecodedPng decoded;
    ASSERT_TRUE(DecodePng(png, decoded, problem)) << problem;
    EXPECT_TRUE(decoded.indexed);
    EXPECT_EQ(decoded.indices, image.pixels);
    ASSERT_EQ(decoded.palette.size(), 256u);
    EXPECT_EQ(decoded.palette[12], (std::array<uint8_t, 4>{244, 196, 108, 255}));
    EXPECT_EQ(decoded.palette[9][3], 0);
    ASSERT_TRUE(decoded.offsets.has_value());
    EXPECT_EQ(decoded.offsets->x, -137);
    EXPECT_EQ(decoded.offsets->y, 10);
}

TEST(PngCodec, RefusesWhatIsNotAPngAndADamagedOne) {
    const Image image = SmallImage();
    const Palette rgb = BuiltInPalette();
    std::vector<uint8_t> png;
    std::string problem;
    ASSERT_TRUE(EncodeIndexedPng({&image, &rgb, std::nullopt, std::nullopt}, png, problem));
    DecodedPng decoded;
    EXPECT_FALSE(DecodePng(std::vector<uint8_t>{1, 2, 3}, decoded, problem));
    EXPECT_EQ(problem, "not a PNG file (its first bytes are not the PNG signature)");
    png.resize(png.size() / 2);
    EXPECT_FALSE(DecodePng(png, decoded, problem));
    EXPECT_EQ(problem.rfind("damaged PNG: ", 0), 0u) << problem;
}

TEST(FrameFromPng, MapsColoursExactThenNearestAndFullyTransparentPixelsToTransparent) {
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    DecodedPng png;
    png.width = 3;
    png.height = 1;
    png.rgba = {244, 196, 108, 255,  // entry 12 exactly
                37, 1, 0, 255,       // nearest: entry 1 (36, 0, 0)
                255, 255, 255, 0};   // fully transparent
    Dc6SourceFrame frame;
    FrameFromPng(png, rgb, DefaultAlphaThreshold, frame);
    EXPECT_EQ(frame.pixels[0], 12);
    EXPECT_EQ(frame.pixels[1], 1);
    EXPECT_EQ(frame.opaque, (std::vector<uint8_t>{1, 1, 0}));
}

TEST(FrameFromPng, PixelsLessOpaqueThanTheThresholdAreTransparentInTrueColourAndIndexedImages) {
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    struct Case {
        uint8_t threshold, alpha;
        bool opaque;
    };
    for (const Case c : {Case{DefaultAlphaThreshold, 127, false}, Case{DefaultAlphaThreshold, 128, true},
                         Case{1, 0, false}, Case{1, 1, true}, Case{255, 254, false}, Case{255, 255, true}}) {
        DecodedPng trueColour, indexed;
        trueColour.width = indexed.width = 1;
        trueColour.height = indexed.height = 1;
        trueColour.rgba = {244, 196, 108, c.alpha};
        indexed.indexed = true;
        indexed.indices = {0};
        indexed.palette = {{244, 196, 108, c.alpha}};
        for (const DecodedPng* png : {&trueColour, &indexed}) {
            Dc6SourceFrame frame;
            FrameFromPng(*png, rgb, c.threshold, frame);
            EXPECT_EQ(frame.opaque[0], c.opaque) << "alpha " << int(c.alpha) << " threshold " << int(c.threshold)
                                                 << (png->indexed ? " indexed" : " true colour");
        }
    }
}

TEST(FrameFromPng, IndexedImagesKeepAnIndexOnlyWhereTheirPaletteHasTheGameColourThere) {
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    const auto entry = [&rgb](size_t index, uint8_t alpha) {
        return std::array<uint8_t, 4>{rgb[3 * index], rgb[3 * index + 1], rgb[3 * index + 2], alpha};
    };
    DecodedPng png;
    png.width = 5;
    png.height = 1;
    png.indexed = true;
    // As a paint program rewrites it: entry 1 holds game colour 12, entry 3 is transparent.
    png.palette = {entry(0, 255), entry(12, 255), entry(2, 255), entry(1, 0)};
    png.indices = {0, 1, 2, 3, 7};  // 7 is past the palette: black
    Dc6SourceFrame frame;
    FrameFromPng(png, rgb, DefaultAlphaThreshold, frame);
    EXPECT_EQ(frame.opaque, (std::vector<uint8_t>{1, 1, 1, 0, 1}));
    EXPECT_EQ(frame.pixels[0], 0);
    EXPECT_EQ(frame.pixels[1], 12);
    EXPECT_EQ(frame.pixels[2], 2);
    EXPECT_EQ(frame.pixels[4], 0) << "black is game colour 0";
}

TEST(ImageOfFrame, GivesTransparencyAnIndexNoOpaquePixelUses) {
    Dc6SourceFrame frame;
    frame.width = 3;
    frame.height = 1;
    frame.pixels = {0, 1, 0};
    frame.opaque = {1, 1, 0};
    const FrameAsImage image = ImageOfFrame(frame, 0);
    EXPECT_EQ(image.transparentIndex, 2) << "index 0 is an opaque pixel's; 2 is the lowest free one";
    EXPECT_EQ(image.image.pixels, (std::vector<uint8_t>{0, 1, 2}));
    EXPECT_FALSE(image.sharedIndex);
}

TEST(ImageOfFrame, ADoubleDecodingTellsPaintedBackgroundPixelsFromUnpaintedOnes) {
    Image painted, check;
    MakeImage(3, 1, 7, painted);
    MakeImage(3, 1, 7 ^ 0xFF, check);
    painted.pixels = {7, 4, 7};  // the first 7 painted, the last one not
    check.pixels = {7, 4, 7 ^ 0xFF};
    const FrameAsImage image = ImageOfDecodedFrame(std::move(painted), check, 7);
    EXPECT_EQ(image.image.pixels, (std::vector<uint8_t>{7, 4, 0}));
    EXPECT_EQ(image.transparentIndex, 0);
}

TEST(PngCodec, StoresNoiseUncompressedAndCompressesSpriteArtBothReadingBackExactly) {
    Image noise, art;
    MakeImage(64, 64, 0, noise);
    MakeImage(64, 64, 0, art);
    uint32_t state = 1;
    for (uint8_t& pixel : noise.pixels)
        pixel = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 24);
    for (int32_t y = 16; y < 48; ++y)
        for (int32_t x = 20; x < 44; ++x)
            art.Row(y)[x] = static_cast<uint8_t>(100 + (x + y) % 4);
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    for (const Image* image : {&noise, &art}) {
        const bool compress = image == &art;
        EXPECT_EQ(WorthCompressing(*image), compress);
        std::vector<uint8_t> png;
        std::string problem;
        ASSERT_TRUE(EncodeIndexedPng({image, &rgb, uint8_t{0}, std::nullopt}, png, problem)) << problem;
        EXPECT_EQ(png.size() > image->pixels.size(), !compress) << png.size() << " bytes";
        DecodedPng decoded;
        ASSERT_TRUE(DecodePng(png, decoded, problem)) << problem;
        EXPECT_EQ(decoded.indices, image->pixels);
    }
}

TEST(PngIndependent, ImageMagickAndPythonZlibReadOurUnpackedFrames) {
    SKIP_WITHOUT_REAL_DATA();
    if (CommandsMissing("identify -version >/dev/null 2>&1 && python3 -c 'import zlib' >/dev/null 2>&1"))
        GTEST_SKIP() << "ImageMagick's identify or Python 3 is not installed (or not native)";
    Dc6Sprite sprite;
    std::string problem;
    ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(RealDataDir() / "dc6" / "sh_hlthmana.dc6"), {}, sprite, problem));
    ScratchDir dir;
    std::vector<std::string> notices;
    OutputBatch outputs;
    ASSERT_TRUE(WriteSpriteFolder(outputs, sprite, (dir / "u").string(), "h", SwapRedAndBlue(BuiltInPalette()), notices,
                                  problem));
    const std::string frame = (dir / "u" / "h_0_1.png").string();
    EXPECT_EQ(RunAndRead("identify -format '%w %h %z %[type] %X %Y' '" + frame + "'", dir),
              std::to_string(sprite.frames[1].width) + " " + std::to_string(sprite.frames[1].height) +
                  " 8 PaletteAlpha -137 +10");

    WriteBytes(dir / "read.py", std::vector<uint8_t>(PythonPngReader, PythonPngReader + sizeof PythonPngReader - 1));
    std::istringstream fields(RunAndRead("python3 '" + (dir / "read.py").string() + "' '" + frame + "'", dir));
    int width = 0, height = 0, depth = 0, colour = 0;
    fields >> width >> height >> depth >> colour;
    EXPECT_EQ(width, sprite.frames[1].width);
    EXPECT_EQ(depth, 8);
    EXPECT_EQ(colour, 3) << "indexed colour";
    std::string rest;
    std::getline(fields, rest);
    EXPECT_EQ(rest.rfind(" (-137, 10, 0) [", 0), 0u) << rest.substr(0, 40);
    const FrameAsImage image = ImageOfFrame(sprite.frames[1], sprite.terminators[3]);
    std::string firstRow = "[[";
    for (int32_t x = 0; x < image.image.width; ++x)
        firstRow += (x ? ", " : "") + std::to_string(image.image.pixels[static_cast<size_t>(x)]);
    EXPECT_NE(rest.find(firstRow + "]"), std::string::npos) << "the first row's indices";
}

TEST(PngIndependent, AFrameRecolouredByImageMagickPacksIntoASoundDc6) {
    SKIP_WITHOUT_REAL_DATA();
    if (CommandsMissing("convert -version >/dev/null 2>&1"))
        GTEST_SKIP() << "ImageMagick's convert is not installed (or not native)";
    Dc6Sprite sprite;
    std::string problem;
    ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(RealDataDir() / "dc6" / "gf_invtok2_dgr.dc6"), {}, sprite, problem));
    ScratchDir dir;
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::vector<std::string> notices;
    const std::string folder = (dir / "u").string();
    OutputBatch outputs;
    ASSERT_TRUE(WriteSpriteFolder(outputs, sprite, folder, "t", rgb, notices, problem));
    const std::string png = (dir / "u" / "t_0_0.png").string();
    RunAndRead("convert '" + png + "' -modulate 100,100,150 PNG32:'" + png + "'", dir);

    Dc6Sprite packed;
    ASSERT_TRUE(ReadSpriteFolder(folder, rgb, DefaultAlphaThreshold, packed, problem)) << problem;
    std::vector<uint8_t> file;
    ASSERT_TRUE(EncodeDc6(packed, file, problem)) << problem;
    std::ostringstream report;
    EXPECT_TRUE(DescribeDc6("t.dc6", file, report)) << report.str();
    EXPECT_EQ(report.str().find("problem"), std::string::npos) << report.str();
    Dc6Sprite reread;
    ASSERT_TRUE(DecodeDc6Sprite(file, {}, reread, problem)) << problem;
    ASSERT_EQ(reread.frames.size(), 1u);
    EXPECT_EQ(reread.frames[0].opaque, sprite.frames[0].opaque) << "transparency survives the recolour";
    EXPECT_NE(reread.frames[0].pixels, sprite.frames[0].pixels) << "the hue changed";
}

TEST(PngIndependent, ABoxDrawnByImageMagickOnAnUnpackedFramePacksWithTheGameColours) {
    SKIP_WITHOUT_REAL_DATA();
    if (CommandsMissing("convert -version >/dev/null 2>&1"))
        GTEST_SKIP() << "ImageMagick's convert is not installed (or not native)";
    Dc6Sprite sprite;
    std::string problem;
    ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(RealDataDir() / "dc6" / "sh_hlthmana.dc6"), {}, sprite, problem));
    ScratchDir dir;
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::vector<std::string> notices;
    const std::string folder = (dir / "u").string();
    OutputBatch outputs;
    ASSERT_TRUE(WriteSpriteFolder(outputs, sprite, folder, "h", rgb, notices, problem));
    ASSERT_TRUE(outputs.Finish());
    // ImageMagick writes the frame back as an indexed PNG with a palette of its own.
    const std::string png = (dir / "u" / "h_0_0.png").string();
    RunAndRead("convert '" + png + "' -fill yellow -draw 'rectangle 30,30,39,39' '" + png + "'", dir);
    SaveFuzzSeed("ImageReadFuzz", "imagemagick-box.png", ReadBytes(png));
    DecodedPng edited;
    ASSERT_TRUE(DecodePng(ReadBytes(png), edited, problem)) << problem;
    ASSERT_TRUE(edited.indexed);
    ASSERT_LT(edited.palette.size(), 256u) << "ImageMagick kept the whole palette: the case is not exercised";

    Dc6Sprite packed;
    ASSERT_TRUE(ReadSpriteFolder(folder, rgb, DefaultAlphaThreshold, packed, problem)) << problem;
    const Dc6SourceFrame& before = sprite.frames[0];
    const Dc6SourceFrame& after = packed.frames[0];
    ASSERT_EQ(after.pixels.size(), before.pixels.size());
    for (int32_t y = 0; y < before.height; ++y) {
        for (int32_t x = 0; x < before.width; ++x) {
            const size_t i = static_cast<size_t>(y * before.width + x);
            if (x >= 30 && x <= 39 && y >= 30 && y <= 39) {
                ASSERT_TRUE(after.opaque[i]);
                const uint8_t* colour = rgb.data() + 3 * after.pixels[i];
                ASSERT_TRUE(colour[0] > 200 && colour[1] > 150 && colour[2] < 100)
                    << "the box is yellow, not index " << int(after.pixels[i]);
            } else {
                ASSERT_EQ(after.opaque[i], before.opaque[i]) << x << "," << y;
                if (before.opaque[i]) {
                    ASSERT_EQ(after.pixels[i], before.pixels[i]) << x << "," << y;
                }
            }
        }
    }
}
