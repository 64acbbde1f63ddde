// Our PCX files read by an independent reader, ImageMagick, where it is installed (native only).
#include "BatchConvert.h"
#include "PcxTestReader.h"
#include "PcxWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <sstream>
#include <string>

namespace {

#ifdef _WIN32
bool ImageMagickMissing() {
    return true;
}
#else
bool ImageMagickMissing() {
    return std::system("identify -version >/dev/null 2>&1 && convert -version >/dev/null 2>&1") != 0;
}
#endif

#define SKIP_WITHOUT_IMAGEMAGICK()                                                                  \
    do {                                                                                            \
        if (ImageMagickMissing())                                                                   \
            GTEST_SKIP() << "ImageMagick's identify and convert are not installed (or not native)"; \
    } while (0)

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// "name width height" per PCX file of `folder`, as ImageMagick reads them.
std::map<std::string, std::pair<int, int>> IdentifyAll(const std::filesystem::path& folder, const ScratchDir& scratch) {
    const std::filesystem::path listing = scratch / "identify.txt";
    const std::string command = "identify -format '%f %w %h\\n' " + Quoted(folder) + "/*.pcx > " + Quoted(listing);
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::map<std::string, std::pair<int, int>> sizes;
    std::ifstream in(listing);
    std::string name;
    int width = 0, height = 0;
    while (in >> name >> width >> height)
        sizes[name] = {width, height};
    return sizes;
}

// The image as red, green, blue bytes per pixel, decoded by ImageMagick.
std::vector<uint8_t> ImageMagickRgb(const std::filesystem::path& pcx, const ScratchDir& scratch) {
    const std::filesystem::path raw = scratch / "pixels.rgb";
    const std::string command = "convert " + Quoted(pcx) + " -depth 8 rgb:" + Quoted(raw);
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadBytes(raw);
}

std::vector<uint8_t> ThroughPalette(const std::vector<uint8_t>& indices, const Palette& rgb) {
    std::vector<uint8_t> out;
    for (uint8_t index : indices)
        out.insert(out.end(), rgb.begin() + 3 * index, rgb.begin() + 3 * index + 3);
    return out;
}

}  // namespace

TEST(PcxReadByImageMagick, EveryIndexShowsItsPaletteColour) {
    SKIP_WITHOUT_IMAGEMAGICK();
    ScratchDir dir;
    // 256 indices on an odd width, so that lines are not padded and pairs cross nothing.
    std::vector<uint8_t> pixels(17 * 16);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 37);
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    OutputBatch outputs;
    ASSERT_TRUE(WritePCX(outputs, (dir / "all.pcx").u16string(), pixels.data(), 17, 16, 17, rgb));
    const auto sizes = IdentifyAll(dir.Path(), dir);
    ASSERT_EQ(sizes.count("all.pcx"), 1u);
    EXPECT_EQ(sizes.at("all.pcx"), std::make_pair(17, 16));
    EXPECT_EQ(ImageMagickRgb(dir / "all.pcx", dir), ThroughPalette(pixels, rgb));
}

TEST(PcxReadByImageMagick, EveryRealFileConvertsToImagesItReads) {
    SKIP_WITHOUT_REAL_DATA();
    SKIP_WITHOUT_IMAGEMAGICK();
    ScratchDir out;
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "dc6")) {
        // The files with more frames than the window converts go through --all-frames.
        const std::vector<uint8_t> bytes = ReadBytes(entry.path());
        const bool manyFrames = bytes.size() >= 24 && (bytes[20] | bytes[21] << 8) > 12;
        BatchRequest request;
        request.files = {entry.path().string()};
        request.outputFolder = out.Path().string();
        request.rgbPalette = rgb;
        request.scope = manyFrames ? Dc6FrameScope::AllFrames : Dc6FrameScope::FirstDirection;
        EXPECT_EQ(ConvertBatch(request, [](const std::string&, const std::string&) {}), 1u) << entry.path();
    }
    const std::filesystem::path folder = out / "PCXFiles";
    const auto sizes = IdentifyAll(folder, out);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const PcxTestImage ours = ReadPcxFileForTest(entry.path());
        ASSERT_TRUE(ours.valid) << name;
        ASSERT_EQ(sizes.count(name), 1u) << name << " not read by ImageMagick";
        EXPECT_EQ(sizes.at(name), std::make_pair(ours.width, ours.height)) << name;
        ++files;
    }
    EXPECT_EQ(files, sizes.size());
    EXPECT_EQ(files, 171u) << "every frame of the files with more than 12, the sheets and frames of the others";

    // The pixels of a sheet and of a damaged file, colour by colour.
    for (const char* name : {"sh_invchar6.pcx", "gf_A1L53.pcx", "sh_font1694.pcx"}) {
        const PcxTestImage ours = ReadPcxFileForTest(folder / name);
        EXPECT_EQ(ImageMagickRgb(folder / name, out), ThroughPalette(ours.pixels, rgb)) << name;
    }
}
