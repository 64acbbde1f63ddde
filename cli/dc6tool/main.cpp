// dc6tool: DC6 sprite files to PCX images from the command line, as Morvane Convert does.
#include "BatchConvert.h"
#include "Dc6Report.h"
#include "FileIo.h"
#include "MessageLine.h"
#include "PaletteFormats.h"
#include "ToolOptions.h"

#include <algorithm>
#include <iostream>
#include <thread>

namespace {

constexpr int ExitConverted = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

int RunInfo(const ToolOptions& options) {
    bool allAccepted = true;
    for (const std::string& path : options.files) {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, bytes)) {
            std::cout << path << ": can not be read (missing, unreadable or empty)\n";
            allAccepted = false;
            continue;
        }
        allAccepted = DescribeDc6(path, bytes, std::cout) && allAccepted;
    }
    return allAccepted ? ExitConverted : ExitFailed;
}

int RunToPcx(const ToolOptions& options) {
    BatchRequest request;
    request.files = options.files;
    request.outputFolder = options.outputFolder;
    request.scope = options.allFrames ? Dc6FrameScope::AllFrames : Dc6FrameScope::FirstDirection;
    request.jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());

    Palette palette = BuiltInPalette();
    if (!options.palettePath.empty()) {
        const PaletteFileResult loaded = LoadPaletteFile(options.palettePath);
        if (!loaded.loaded) {
            std::cerr << "dc6tool: " << options.palettePath << ": " << loaded.problem << '\n';
            return ExitFailed;
        }
        palette = loaded.palette;
    }
    request.rgbPalette = SwapRedAndBlue(palette);

    const size_t converted = ConvertBatch(request, [](const std::string& file, const std::string& message) {
        std::cerr << file << ": " << MessageLine(message) << '\n';
    });
    std::cout << "Successfully converted " << converted << " out of " << request.files.size()
              << " files selected\n";
    return converted == request.files.size() ? ExitConverted : ExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    ToolOptions options;
    std::string error;
    if (!ParseToolOptions({argv + 1, argv + argc}, options, error)) {
        std::cerr << "dc6tool: " << error << "\n\n" << ToolUsage;
        return ExitUsage;
    }
    switch (options.command) {
    case ToolCommand::Help:
        std::cout << ToolUsage;
        return ExitConverted;
    case ToolCommand::Info:
        return RunInfo(options);
    case ToolCommand::ToPcx:
        return RunToPcx(options);
    }
    return ExitUsage;
}
