// The thumbnail handler as the shell drives it: made through the library's class factory,
// given a file as a stream, asked for a picture of at most a size. Its pixels are compared with
// what the DC6 decoder makes of the file's first frame in the act 1 palette.
#include "Dc6Sprite.h"
#include "DccReader.h"
#include "DccSprite.h"
#include "DunmoreTestSupport.h"
#include "Palette.h"
#include "TestSupport.h"

#include <propsys.h>
#include <shlwapi.h>
#include <thumbcache.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

struct ThumbnailResult {
    HRESULT result = E_FAIL;
    bool bitmap = false;
    WTS_ALPHATYPE alpha = WTSAT_UNKNOWN;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // blue, green, red, alpha, rows top-down
};

// The bitmap's size and pixels, read through GDI as a top-down DIB of 32 bits.
void ReadBitmap(HBITMAP bitmap, ThumbnailResult& thumbnail) {
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof section, &section), static_cast<int>(sizeof section)) << "not a DIB section";
    ASSERT_EQ(section.dsBm.bmBitsPixel, 32);
    thumbnail.width = section.dsBm.bmWidth;
    thumbnail.height = section.dsBm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, thumbnail.width, -thumbnail.height, 1, 32, BI_RGB};
    thumbnail.pixels.resize(4 * static_cast<size_t>(thumbnail.width) * static_cast<size_t>(thumbnail.height));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, static_cast<UINT>(thumbnail.height), thumbnail.pixels.data(), &info,
                        DIB_RGB_COLORS),
              thumbnail.height);
    ReleaseDC(nullptr, screen);
}

// The handler's answer for `stream` and `side`, made as the shell makes it.
ThumbnailResult ThumbnailOf(IStream* stream, UINT side) {
    ThumbnailResult thumbnail;
    IClassFactory* factory = nullptr;
    EXPECT_EQ(Dunmore().getClassObject(CLSID_DunmoreThumbnail, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    if (!factory)
        return thumbnail;
    IInitializeWithStream* initialize = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IInitializeWithStream, reinterpret_cast<void**>(&initialize)), S_OK);
    factory->Release();
    if (!initialize)
        return thumbnail;
    IThumbnailProvider* provider = nullptr;
    EXPECT_EQ(initialize->QueryInterface(__uuidof(IThumbnailProvider), reinterpret_cast<void**>(&provider)), S_OK);
    if (provider && SUCCEEDED(initialize->Initialize(stream, STGM_READ))) {
        HBITMAP bitmap = nullptr;
        thumbnail.result = provider->GetThumbnail(side, &bitmap, &thumbnail.alpha);
        thumbnail.bitmap = bitmap != nullptr;
        if (bitmap) {
            ReadBitmap(bitmap, thumbnail);
            DeleteObject(bitmap);
        }
    }
    if (provider)
        provider->Release();
    initialize->Release();
    return thumbnail;
}

ThumbnailResult ThumbnailOfBytes(const std::vector<uint8_t>& bytes, UINT side) {
    IStream* stream = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream)
        return {};
    ThumbnailResult thumbnail = ThumbnailOf(stream, side);
    stream->Release();
    return thumbnail;
}

// The file as the shell hands it over: a stream on the file, which names it.
ThumbnailResult ThumbnailOfFile(const std::filesystem::path& path, UINT side) {
    IStream* stream = nullptr;
    if (FAILED(SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, FILE_ATTRIBUTE_NORMAL, FALSE,
                                      nullptr, &stream)))
        return {};
    ThumbnailResult thumbnail = ThumbnailOf(stream, side);
    stream->Release();
    return thumbnail;
}

// The first frame as the converter decodes it.
Dc6SourceFrame FirstFrameOf(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    Dc6Sprite sprite;
    std::string problem;
    EXPECT_TRUE(IsDccFile(path.string(), bytes) ? DecodeDccSprite(bytes, Dc6FrameScope::AllFrames, sprite, problem)
                                                 : DecodeDc6Sprite(bytes, {}, sprite, problem))
        << problem;
    return sprite.frames.empty() ? Dc6SourceFrame{} : sprite.frames.front();
}

TEST(DunmoreThumbnail, EveryRealSpriteGivesItsFirstFrameInTheAct1PaletteTransparentWhereItIsNotDrawn) {
    SKIP_WITHOUT_REAL_DATA();
    const Palette& bgr = BuiltInPalette();
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"dc6", "dcc"})
        for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / folder))
            files.push_back(entry.path());
    for (const std::filesystem::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Dc6SourceFrame frame = FirstFrameOf(path);
        const UINT side = static_cast<UINT>(std::max(frame.width, frame.height));
        const ThumbnailResult thumbnail = ThumbnailOfFile(path, std::max(side, 1u));
        if (frame.unreadablePointer) {
            EXPECT_TRUE(FAILED(thumbnail.result));
            EXPECT_FALSE(thumbnail.bitmap);
            continue;
        }
        ASSERT_EQ(thumbnail.result, S_OK);
        EXPECT_EQ(thumbnail.alpha, WTSAT_ARGB);
        ASSERT_EQ(thumbnail.width, frame.width);
        ASSERT_EQ(thumbnail.height, frame.height);
        std::vector<uint8_t> expected;
        for (size_t i = 0; i < frame.pixels.size(); ++i) {
            const uint8_t index = frame.pixels[i];
            if (frame.opaque[i])
                expected.insert(expected.end(), {bgr[3 * index], bgr[3 * index + 1], bgr[3 * index + 2], 0xFF});
            else
                expected.insert(expected.end(), {0, 0, 0, 0});
        }
        EXPECT_TRUE(thumbnail.pixels == expected) << "the pixels differ from the decoder's";
    }
}

TEST(DunmoreThumbnail, ALargerFrameShrinksToTheSizeAskedKeepingItsShape) {
    SKIP_WITHOUT_REAL_DATA();
    const std::filesystem::path path = RealDataDir() / "dc6" / "sh_invchar6.dc6";
    const Dc6SourceFrame frame = FirstFrameOf(path);
    const int side = std::max(frame.width, frame.height) / 4;
    const ThumbnailResult thumbnail = ThumbnailOfFile(path, static_cast<UINT>(side));
    ASSERT_EQ(thumbnail.result, S_OK);
    EXPECT_EQ(std::max(thumbnail.width, thumbnail.height), side);
    EXPECT_NEAR(double(thumbnail.width) / thumbnail.height, double(frame.width) / frame.height, 0.05);
}

TEST(DunmoreThumbnail, ADamagedFileGivesNoBitmap) {
    std::vector<uint8_t> real;
    if (!RealDataDir().empty())
        real = ReadBytes(RealDataDir() / "dc6" / "sh_invchar6.dc6");
    std::vector<uint8_t> noFrames(24, 0);
    noFrames[0] = 6;
    noFrames[16] = 1;
    const std::vector<std::vector<uint8_t>> damaged = {
        {},
        noFrames,
        std::vector<uint8_t>(1000, 0xFF),
        std::vector<uint8_t>(real.begin(), real.begin() + std::min<size_t>(real.size(), 60)),
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        const ThumbnailResult thumbnail = ThumbnailOfBytes(damaged[i], 96);
        EXPECT_TRUE(FAILED(thumbnail.result)) << "file " << i;
        EXPECT_FALSE(thumbnail.bitmap) << "file " << i;
    }
}

}  // namespace
