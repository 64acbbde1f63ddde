// Decoding and PCX coding speed of DC6 sprites, alone and as a batch over many files, and a
// whole topng --all-frames run over the real sprites beside a plain writer of the same files.
#include "BatchConvert.h"
#include "ConvertFile.h"
#include "Dc6Decoder.h"
#include "Dc6Reader.h"
#include "Dc6Sprite.h"
#include "PcxWriter.h"
#include "PngCodec.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int32_t Side = 256;
constexpr int32_t FramesPerFile = 10;
constexpr uint8_t Background = 0xCD;

void PutI32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// A sprite-like frame: a figure of random colours with transparent margins of varying width,
// coded as the game codes it (runs of at most 127, rows bottom-up).
std::vector<uint8_t> CodedSpriteFrame(std::mt19937& random) {
    std::vector<uint8_t> coded;
    std::uniform_int_distribution<int> margin(0, 40);
    std::uniform_int_distribution<int> colour(0, 255);
    for (int32_t row = 0; row < Side; ++row) {
        const int left = margin(random);
        const int right = Side - margin(random);
        for (int x = 0; x < left;) {
            const int run = std::min(left - x, 127);
            coded.push_back(static_cast<uint8_t>(0x80 + run));
            x += run;
        }
        for (int x = left; x < right;) {
            const int run = std::min(right - x, 127);
            coded.push_back(static_cast<uint8_t>(run));
            for (int i = 0; i < run; ++i)
                coded.push_back(static_cast<uint8_t>(colour(random)));
            x += run;
        }
        coded.push_back(0x80);
    }
    return coded;
}

// A DC6 file of FramesPerFile frames of Side x Side with offsets, so one PCX file per frame.
std::vector<uint8_t> SpriteFile() {
    std::mt19937 random(12345);
    std::vector<uint8_t> bytes(24 + 4 * FramesPerFile, 0);
    PutI32(bytes, 0, 6);
    for (int i = 12; i < 16; ++i)
        bytes[static_cast<size_t>(i)] = Background;
    PutI32(bytes, 16, 1);
    PutI32(bytes, 20, FramesPerFile);
    for (int f = 0; f < FramesPerFile; ++f) {
        const std::vector<uint8_t> coded = CodedSpriteFrame(random);
        const size_t at = bytes.size();
        PutI32(bytes, 24 + 4 * static_cast<size_t>(f), static_cast<int32_t>(at));
        bytes.resize(at + 32, 0);
        PutI32(bytes, at + 4, Side);
        PutI32(bytes, at + 8, Side);
        PutI32(bytes, at + 12, -Side / 2);
        PutI32(bytes, at + 16, -8);
        PutI32(bytes, at + 28, static_cast<int32_t>(coded.size()));
        bytes.insert(bytes.end(), coded.begin(), coded.end());
        bytes.insert(bytes.end(), 3, Background);
    }
    return bytes;
}

const std::vector<uint8_t>& SharedSpriteFile() {
    static const std::vector<uint8_t> file = SpriteFile();
    return file;
}

Dc6FileInfo CheckedInfo(const std::vector<uint8_t>& file) {
    Dc6FileInfo info;
    GetFileInfoDC6(file, {}, info);
    return info;
}

void SetPixelCounters(benchmark::State& state, int64_t pixelsPerIteration) {
    state.SetItemsProcessed(state.iterations() * pixelsPerIteration);
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * pixelsPerIteration), benchmark::Counter::kIsRate);
}

void BM_DecodeFrame(benchmark::State& state) {
    const std::vector<uint8_t>& file = SharedSpriteFile();
    const Dc6FileInfo info = CheckedInfo(file);
    Dc6FrameInfo frame;
    std::string problem;
    GetFrameInfoDC6(file, info, 0, frame, problem);
    Image image;
    MakeImage(Side, Side, Background, image);
    for (auto _ : state) {
        DecodeFrameDC6(std::span(file).subspan(frame.dataPosition), frame.length, info.terminators, image,
                       {0, 0, Side, Side});
        benchmark::DoNotOptimize(image.pixels.data());
    }
    SetPixelCounters(state, int64_t(Side) * Side);
}
BENCHMARK(BM_DecodeFrame);

void BM_EncodePcx(benchmark::State& state) {
    std::mt19937 random(7);
    std::vector<uint8_t> pixels(size_t(Side) * Side);
    for (uint8_t& p : pixels)
        p = static_cast<uint8_t>(random());
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::vector<uint8_t> out(PcxMaxFileSize(Side, Side));
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodePcx(pixels.data(), Side, Side, Side, rgb, out.data()));
    SetPixelCounters(state, int64_t(Side) * Side);
}
BENCHMARK(BM_EncodePcx);

// topng's coding of one frame: random colours with transparent margins, as SpriteFile's frames.
void BM_EncodePng(benchmark::State& state) {
    const std::vector<uint8_t>& file = SharedSpriteFile();
    const Dc6FileInfo info = CheckedInfo(file);
    Image image;
    RenderFrame(file, info, 0, {}, image);
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    const IndexedPngImage source{&image, &rgb, Background, PngFrameOffsets{-Side / 2, -8}};
    std::vector<uint8_t> png;
    std::string problem;
    for (auto _ : state) {
        EncodeIndexedPng(source, png, problem);
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = static_cast<double>(png.size());
    SetPixelCounters(state, int64_t(Side) * Side);
}
BENCHMARK(BM_EncodePng);

// Everything but the file writes: make the image, decode, assemble the PCX block.
void BM_DecodeAndCodeFile(benchmark::State& state) {
    const std::vector<uint8_t>& file = SharedSpriteFile();
    const Dc6FileInfo info = CheckedInfo(file);
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::vector<uint8_t> out(PcxMaxFileSize(Side, Side));
    for (auto _ : state) {
        for (int32_t f = 0; f < FramesPerFile; ++f) {
            Image image;
            RenderFrame(file, info, f, {}, image);
            benchmark::DoNotOptimize(EncodePcx(image.pixels.data(), Side, Side, Side, rgb, out.data()));
        }
    }
    SetPixelCounters(state, int64_t(Side) * Side * FramesPerFile);
}
BENCHMARK(BM_DecodeAndCodeFile);

// pack's coding: every frame of a decoded sprite coded back into a DC6 file, on one core.
void BM_EncodeDc6(benchmark::State& state) {
    Dc6Sprite sprite;
    std::string problem;
    DecodeDc6Sprite(SharedSpriteFile(), {}, sprite, problem);
    std::vector<uint8_t> out;
    for (auto _ : state) {
        EncodeDc6(sprite, out, problem);
        benchmark::DoNotOptimize(out.data());
    }
    SetPixelCounters(state, int64_t(Side) * Side * FramesPerFile);
}
BENCHMARK(BM_EncodeDc6);

// A whole sprite set through ConvertBatch: read, decode, code and write, with range(0) jobs
// over range(1) files of 10 frames of 256 x 256, as PCX (range(2) 0, topcx) or PNG (1, topng).
void BM_ConvertBatch(benchmark::State& state) {
    const unsigned jobs = static_cast<unsigned>(state.range(0));
    const int64_t fileCount = state.range(1);
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "dc6_bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "in");
    const std::filesystem::path first = root / "in" / "sprite0.dc6";
    {
        FILE* f = std::fopen(first.string().c_str(), "wb");
        std::fwrite(SharedSpriteFile().data(), 1, SharedSpriteFile().size(), f);
        std::fclose(f);
    }
    BatchRequest request;
    request.files.push_back(first.string());
    for (int64_t i = 1; i < fileCount; ++i) {
        const std::filesystem::path path = root / "in" / ("sprite" + std::to_string(i) + ".dc6");
        std::error_code ec;
        std::filesystem::create_hard_link(first, path, ec);
        if (ec)
            std::filesystem::copy_file(first, path);
        request.files.push_back(path.string());
    }
    request.outputFolder = (root / "out").string();
    request.rgbPalette = SwapRedAndBlue(BuiltInPalette());
    request.jobs = jobs;
    request.kind = state.range(2) == 0 ? ImageKind::Pcx : ImageKind::Png;
    size_t converted = 0;
    for (auto _ : state)
        converted = ConvertBatch(request, [](const std::string&, const std::string&) {});
    if (converted != request.files.size())
        state.SkipWithError("not every file converted");
    SetPixelCounters(state, fileCount * FramesPerFile * Side * Side);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ConvertBatch)
    ->Args({1, 1000, 0})
    ->Args({2, 1000, 0})
    ->Args({1, 200, 0})
    ->Args({1, 200, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The real sprites, linked under RealSpriteCopies names each, into `folder`: with
// --all-frames some 7,000 frames, as a mod's interface folder gives.
constexpr int RealSpriteCopies = 37;

std::vector<std::string> RealSpritesIn(const std::filesystem::path& folder) {
    std::vector<std::string> files;
    const std::filesystem::path real = std::filesystem::path(STRINDLE_REAL_DATA_DIR) / "dc6";
    std::filesystem::create_directories(folder);
    for (int copy = 0; copy < RealSpriteCopies; ++copy)
        for (const auto& entry : std::filesystem::directory_iterator(real)) {
            const std::filesystem::path path = folder / ("c" + std::to_string(copy) + entry.path().filename().string());
            std::error_code ec;
            std::filesystem::create_hard_link(entry.path(), path, ec);
            if (ec)
                std::filesystem::copy_file(entry.path(), path);
            files.push_back(path.string());
        }
    return files;
}

BatchRequest RealTopngRequest(const std::filesystem::path& root) {
    BatchRequest request;
    request.files = RealSpritesIn(root / "in");
    request.outputFolder = (root / "out").string();
    request.rgbPalette = SwapRedAndBlue(BuiltInPalette());
    request.scope = Dc6FrameScope::AllFrames;
    request.jobs = std::max(1u, std::thread::hardware_concurrency());
    request.kind = ImageKind::Png;
    return request;
}

// dc6tool topng --all-frames over the real sprites, files written and made durable included.
// Compare with BM_WriteTopngOutputsPlainly: the issue asks for at most 3 times its time.
void BM_TopngAllFramesOfRealSprites(benchmark::State& state) {
    if (std::string(STRINDLE_REAL_DATA_DIR).empty()) {
        state.SkipWithError("shared/real-data is not beside this checkout");
        return;
    }
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "dc6_bench_real";
    std::filesystem::remove_all(root);
    const BatchRequest request = RealTopngRequest(root);
    size_t converted = 0;
    for (auto _ : state)
        converted = ConvertBatch(request, [](const std::string&, const std::string&) {});
    if (converted != request.files.size())
        state.SkipWithError("not every file converted");
    const auto outputs = std::distance(std::filesystem::directory_iterator(root / "out" / "PNGFiles"),
                                       std::filesystem::directory_iterator());
    state.counters["files"] = static_cast<double>(outputs);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_TopngAllFramesOfRealSprites)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The baseline: the bytes that topng writes for the real sprites, written by plain
// fopen, fwrite and fclose to as many files, as cat would.
void BM_WriteTopngOutputsPlainly(benchmark::State& state) {
    if (std::string(STRINDLE_REAL_DATA_DIR).empty()) {
        state.SkipWithError("shared/real-data is not beside this checkout");
        return;
    }
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "dc6_bench_plain";
    std::filesystem::remove_all(root);
    ConvertBatch(RealTopngRequest(root), [](const std::string&, const std::string&) {});
    std::vector<std::pair<std::string, std::vector<char>>> files;
    for (const auto& entry : std::filesystem::directory_iterator(root / "out" / "PNGFiles")) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(entry.path().filename().string(),
                           std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    const std::filesystem::path out = root / "plain";
    for (auto _ : state) {
        state.PauseTiming();  // new files each time, as topng's are
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        state.ResumeTiming();
        for (const auto& [name, bytes] : files) {
            FILE* file = std::fopen((out / name).string().c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    state.counters["files"] = static_cast<double>(files.size());
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_WriteTopngOutputsPlainly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
