// What Morvane Convert's preview costs: drawing a 256 x 256 frame over the checkerboard (each
// step and each frame played at 25 a second draws one), a thumbnail of it, and decoding a
// whole real sprite of ten such frames, done once when a file is selected.
#include "FramePictures.h"
#include "SpriteFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

namespace {

constexpr int32_t Side = 256;

// A frame of random colours, a fifth of it transparent.
SpriteFrame RandomFrame() {
    std::mt19937 random(7);
    SpriteFrame frame;
    frame.width = frame.height = Side;
    const size_t count = static_cast<size_t>(Side) * Side;
    frame.pixels.resize(count);
    frame.opaque.resize(count);
    for (size_t i = 0; i < count; ++i) {
        frame.pixels[i] = static_cast<uint8_t>(random());
        frame.opaque[i] = random() % 5 != 0;
    }
    return frame;
}

void BM_DrawFrameOnCheckerboard(benchmark::State& state) {
    const SpriteFrame frame = RandomFrame();
    const FrameCell cell{0, -Side, Side, Side};
    BgraImage picture;
    picture.width = picture.height = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        DrawOnCheckerboard(frame, cell, BuiltInPalette(), picture);
        benchmark::DoNotOptimize(picture.pixels.data());
    }
}
// The frame as it is, and enlarged twice, as the preview shows a frame half its size.
BENCHMARK(BM_DrawFrameOnCheckerboard)->Arg(Side)->Arg(2 * Side)->Unit(benchmark::kMillisecond);

void BM_ThumbnailOfFrame(benchmark::State& state) {
    const SpriteFrame frame = RandomFrame();
    BgraImage thumbnail;
    for (auto _ : state) {
        ThumbnailOfFrame(frame, BuiltInPalette(), static_cast<int32_t>(state.range(0)), thumbnail);
        benchmark::DoNotOptimize(thumbnail.pixels.data());
    }
}
BENCHMARK(BM_ThumbnailOfFrame)->Arg(96)->Arg(256)->Unit(benchmark::kMillisecond);

void BM_DecodeRealSpriteForPreview(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::path(STRINDLE_REAL_DATA_DIR) / "dc6" / "sh_loadingscreen.dc6";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.empty()) {
        state.SkipWithError("shared/real-data is not beside this checkout");
        return;
    }
    DecodedSprite sprite;
    std::string problem;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeSpriteFile(bytes, "sh_loadingscreen.dc6", SpriteFrames::All, sprite, problem));
}
BENCHMARK(BM_DecodeRealSpriteForPreview)->Unit(benchmark::kMillisecond);

void PutI32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// The most a file may cost: as large as is shown, one frame of the whole pixel budget whose
// damaged length makes the decoder go through every byte after it, all zero codes that paint
// nothing. Each frame is decoded twice, for its opacity.
void BM_DecodeFileAtTheBudgets(benchmark::State& state) {
    std::vector<uint8_t> file(MaxSpriteFileBytes, 0);
    PutI32(file, 0, 6);
    PutI32(file, 16, 1);
    PutI32(file, 20, 1);
    PutI32(file, 24, 28);
    PutI32(file, 28 + 4, 2048);
    PutI32(file, 28 + 8, 2048);
    DecodedSprite sprite;
    std::string problem;
    for (auto _ : state) {
        DecodeSpriteFile(file, "budget.dc6", SpriteFrames::All, sprite, problem);
        if (!sprite.frames.at(0).problem.empty())
            state.SkipWithError("the frame was not decoded");
    }
}
BENCHMARK(BM_DecodeFileAtTheBudgets)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
