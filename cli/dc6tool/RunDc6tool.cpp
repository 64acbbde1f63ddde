#include "RunDc6tool.h"

#include "BatchConvert.h"
#include "CommandLine.h"
#include "D2rSprite.h"
#include "D2rSpriteCommands.h"
#include "D2rSpriteReport.h"
#include "Dc6Report.h"
#include "DccReader.h"
#include "DccReport.h"
#include "FileIo.h"
#include "MessageLine.h"
#include "MessageText.h"
#include "PaletteFormats.h"
#include "SpriteCommands.h"
#include "ToolOptions.h"
#include "Utf.h"

#include <algorithm>
#include <iostream>
#include <thread>

namespace {

constexpr int ExitConverted = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

int RunInfo(const ToolOptions& options) {
    bool allSound = true;
    for (const std::string& path : options.files) {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, bytes)) {
            std::cout << path << ": can not be read (missing, unreadable or empty)\n";
            allSound = false;
            continue;
        }
        const bool sound = LooksLikeD2rSprite(bytes) ? DescribeD2rSprite(path, bytes, std::cout)
                           : IsDccFile(path, bytes)    ? DescribeDcc(path, bytes, std::cout)
                                                       : DescribeDc6(path, bytes, std::cout);
        allSound = sound && allSound;
    }
    return allSound ? ExitConverted : ExitFailed;
}

// The run's palette, red, green, blue; false after saying why the palette file was refused.
bool LoadRunPalette(const ToolOptions& options, Palette& rgb) {
    Palette palette = BuiltInPalette();
    if (!options.palettePath.empty()) {
        const PaletteFileResult loaded = LoadPaletteFile(Utf8ToUtf16(options.palettePath));
        if (!loaded.loaded) {
            std::cerr << "dc6tool: " << options.palettePath << ": " << loaded.problem << '\n';
            return false;
        }
        if (!loaded.notice.empty())
            std::cerr << "dc6tool: " << options.palettePath << ": " << loaded.notice << '\n';
        palette = loaded.palette;
    }
    rgb = SwapRedAndBlue(palette);
    return true;
}

int RunConvert(const ToolOptions& options, const Palette& rgb) {
    BatchRequest request;
    request.files = options.files;
    request.outputFolder = options.outputFolder;
    request.scope = options.allFrames ? Dc6FrameScope::AllFrames : Dc6FrameScope::FirstDirection;
    request.jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    request.kind = options.command == ToolCommand::ToPng ? ImageKind::Png : ImageKind::Pcx;
    request.rgbPalette = rgb;

    ProgressLine progress(std::cerr);
    const size_t converted = ConvertBatch(
        request,
        [&progress](const std::string& file, const std::string& message) {
            progress.Clear();
            std::cerr << file << ": " << MessageLine(FirstParagraph(message)) << '\n';
        },
        [&progress](size_t done, size_t total) { progress.Show(done, total); });
    progress.Clear();
    std::cout << "Successfully converted " << converted << " out of " << request.files.size()
              << " files selected\n";
    return converted == request.files.size() ? ExitConverted : ExitFailed;
}

}  // namespace

int RunDc6tool(const std::vector<std::string>& args) {
    ToolOptions options;
    std::string error;
    if (!ParseToolOptions(ExpandedArguments(args), options, error)) {
        std::cerr << "dc6tool: " << error << "\n\n" << ToolUsage(options.command);
        return ExitUsage;
    }
    if (options.command == ToolCommand::Help || options.help) {
        std::cout << ToolUsage(options.command);
        return ExitConverted;
    }
    if (options.command == ToolCommand::Info)
        return RunInfo(options);
    Palette rgb{};
    if (!LoadRunPalette(options, rgb))
        return ExitFailed;
    switch (options.command) {
    case ToolCommand::Unpack:
        return RunUnpack(options, rgb, std::cerr) ? ExitConverted : ExitFailed;
    case ToolCommand::Pack:
        return RunPack(options, rgb, std::cerr) ? ExitConverted : ExitFailed;
    case ToolCommand::FromImage:
        return RunFromImage(options, rgb, std::cerr) ? ExitConverted : ExitFailed;
    case ToolCommand::ToSprite:
        return RunToSprite(options, rgb, std::cerr) ? ExitConverted : ExitFailed;
    default:
        return RunConvert(options, rgb);
    }
}

