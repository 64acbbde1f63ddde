// Decoding speed of the game's DCC animations, counted in pixels of decoded frame boxes, and
// a whole folder of them converted through ConvertBatch with one job and with two.
#include "BatchConvert.h"
#include "DccDecoder.h"
#include "DccReader.h"
#include "DccSprite.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::filesystem::path RealDccDir() { return std::filesystem::path(STRINDLE_REAL_DATA_DIR) / "dcc"; }

bool RealDataMissing(benchmark::State& state) {
    if (!std::string(STRINDLE_REAL_DATA_DIR).empty())
        return false;
    state.SkipWithError("shared/real-data is not beside this checkout");
    return true;
}

// The monster walk: 8 directions of 11 frames, 459,164 pixels of frame boxes.
const std::vector<uint8_t>& MonsterWalk() {
    static const std::vector<uint8_t> bytes = [] {
        std::ifstream in(RealDccDir() / "gf_HPTRLITWLHTH.dcc", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

int64_t FramePixels(const DccFileInfo& info) {
    int64_t pixels = 0;
    for (const DccDirection& direction : info.directionHeaders)
        for (const DccFrameHeader& frame : direction.frames)
            pixels += frame.box.width * frame.box.height;
    return pixels;
}

void SetPixelCounters(benchmark::State& state, int64_t pixelsPerIteration) {
    state.SetItemsProcessed(state.iterations() * pixelsPerIteration);
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * pixelsPerIteration), benchmark::Counter::kIsRate);
}

// Every direction of the file decoded to frames of palette indices, headers read each time.
void BM_DecodeDccDirections(benchmark::State& state) {
    if (RealDataMissing(state))
        return;
    const std::vector<uint8_t>& file = MonsterWalk();
    DccFileInfo info;
    std::string problem;
    for (auto _ : state) {
        GetFileInfoDcc(file, info, problem);
        for (const DccDirection& direction : info.directionHeaders) {
            std::vector<Image> frames;
            DecodeDccDirection(file, direction, frames, problem);
            benchmark::DoNotOptimize(frames.data());
        }
    }
    SetPixelCounters(state, FramePixels(info));
}
BENCHMARK(BM_DecodeDccDirections);

// The same into the converter's sprite model: pixels and opacity per frame.
void BM_DecodeDccSprite(benchmark::State& state) {
    if (RealDataMissing(state))
        return;
    const std::vector<uint8_t>& file = MonsterWalk();
    Dc6Sprite sprite;
    std::string problem;
    for (auto _ : state) {
        DecodeDccSprite(file, Dc6FrameScope::AllFrames, sprite, problem);
        benchmark::DoNotOptimize(sprite.frames.data());
    }
    DccFileInfo info;
    GetFileInfoDcc(file, info, problem);
    SetPixelCounters(state, FramePixels(info));
}
BENCHMARK(BM_DecodeDccSprite);

// dc6tool topcx or topng (range(1) 0 or 1) --all-frames --jobs range(0) over a folder of the
// real DCC files, linked under 25 names each: 7,850 frames, files written and made durable.
void BM_ConvertDccFolder(benchmark::State& state) {
    if (RealDataMissing(state))
        return;
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "dcc_bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "in");
    BatchRequest request;
    int64_t pixels = 0;
    for (int copy = 0; copy < 25; ++copy)
        for (const auto& entry : std::filesystem::directory_iterator(RealDccDir())) {
            std::string name = "c";
            name.append(std::to_string(copy)).append(entry.path().filename().string());
            const std::filesystem::path path = root / "in" / name;
            std::error_code ec;
            std::filesystem::create_hard_link(entry.path(), path, ec);
            if (ec)
                std::filesystem::copy_file(entry.path(), path);
            request.files.push_back(path.string());
            std::ifstream in(path, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            DccFileInfo info;
            std::string problem;
            GetFileInfoDcc(bytes, info, problem);
            pixels += FramePixels(info);
        }
    request.outputFolder = (root / "out").string();
    request.rgbPalette = SwapRedAndBlue(BuiltInPalette());
    request.scope = Dc6FrameScope::AllFrames;
    request.jobs = static_cast<unsigned>(state.range(0));
    request.kind = state.range(1) == 0 ? ImageKind::Pcx : ImageKind::Png;
    size_t converted = 0;
    for (auto _ : state)
        converted = ConvertBatch(request, [](const std::string&, const std::string&) {});
    if (converted != request.files.size())
        state.SkipWithError("not every file converted");
    SetPixelCounters(state, pixels);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ConvertDccFolder)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
