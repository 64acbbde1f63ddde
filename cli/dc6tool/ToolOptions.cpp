#include "ToolOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>

namespace {

constexpr unsigned Bit(ToolCommand command) { return 1u << static_cast<unsigned>(command); }
constexpr unsigned Converting = Bit(ToolCommand::ToPcx) | Bit(ToolCommand::ToPng);
constexpr unsigned WritingFolders = Converting | Bit(ToolCommand::Unpack);
constexpr unsigned WritingOneFile = Bit(ToolCommand::Pack) | Bit(ToolCommand::FromImage) | Bit(ToolCommand::ToSprite);
constexpr unsigned TakingImages = Bit(ToolCommand::Pack) | Bit(ToolCommand::FromImage);

// The largest --scale. The new game draws classic art some 3.5 times larger (a 28-pixel inventory
// icon is 98 pixels there): 16 leaves room and refuses only mistakes.
constexpr int MaxScale = 16;

// What each command does, as its usage shows it.
struct CommandHelp {
    ToolCommand command;
    const char* text;
};

constexpr CommandHelp CommandTexts[] = {
    {ToolCommand::Info,
     "  dc6tool info FILE.dc6|FILE.dcc|FILE.sprite...\n"
     "      Shows each file's header, every frame's size, offsets and coded length (for DCC each\n"
     "      direction's box and whether it decodes), and what is wrong with a damaged file.\n"},
    {ToolCommand::ToPcx,
     "  dc6tool topcx [-o DIR] [--palette FILE] [--jobs N] [--all-frames] FILE.dc6|FILE.dcc...\n"
     "      Converts DC6 sprites and DCC animations into 8-bit PCX files in DIR/PCXFiles (DIR:\n"
     "      the current folder; index 0 is a DCC file's transparent colour).\n"
     "      A file whose frames have no offsets becomes one sheet NAME.pcx, any other one file\n"
     "      per frame NAME0.pcx, NAME1.pcx... Only the first direction's frames are converted,\n"
     "      at most 12, as Morvane Convert does.\n"},
    {ToolCommand::ToPng,
     "  dc6tool topng [-o DIR] [--palette FILE] [--jobs N] [--all-frames]\n"
     "                FILE.dc6|FILE.dcc|FILE.sprite...\n"
     "      As topcx, into DIR/PNGFiles as 8-bit indexed PNG files: undrawn pixels are\n"
     "      transparent, per-frame files carry the frame's offsets (oFFs). A Diablo II:\n"
     "      Resurrected .sprite gives a red, green, blue, alpha PNG per frame, NAME0.png...\n"},
    {ToolCommand::Unpack,
     "  dc6tool unpack [-o DIR] [--palette FILE] FILE.dc6|FILE.dcc|FILE.sprite...\n"
     "      Every frame of every direction as a PNG, with manifest.txt (directions, frame order,\n"
     "      offsets, termination bytes), in DIR/NAME/. A .sprite's frames are red, green, blue,\n"
     "      alpha PNGs.\n"},
    {ToolCommand::Pack,
     "  dc6tool pack [-o OUT.dc6|OUT.sprite] [--palette FILE] [--alpha-threshold N] FOLDER\n"
     "      Builds a DC6 file (default FOLDER.dc6) from an unpacked folder whose PNGs may have\n"
     "      been edited: colours are mapped to the palette (an indexed PNG keeps an index\n"
     "      where its own palette has the palette's colour there). A DC6 pixel is drawn or\n"
     "      not: pixels less than half opaque (alpha below 128) are transparent, the others\n"
     "      opaque. An OUT ending in .sprite is made of the PNGs' own colours and alpha.\n"},
    {ToolCommand::FromImage,
     "  dc6tool fromimage [-o OUT.dc6|OUT.sprite] [--palette FILE] [--alpha-threshold N]\n"
     "                    [--offset X,Y] [--transparent N] IMAGE...\n"
     "      One frame per PNG or PCX image and per frame of a .sprite, one direction (default\n"
     "      OUT: the first image's name with .dc6); PNGs and sprites are read as pack reads\n"
     "      PNGs. A PCX image's transparent pixels are those of the index topcx fills the\n"
     "      background with: of 238, 205 and 0 (the backgrounds of the game's DC6 files), the\n"
     "      one the image holds most; none when it holds none of them. An OUT ending in\n"
     "      .sprite is made of PNGs and sprites with their own colours and alpha; its frames\n"
     "      must all be of one size.\n"},
    {ToolCommand::ToSprite,
     "  dc6tool tosprite [-o OUT.sprite] [--scale N] [--palette FILE] FILE.dc6...\n"
     "      Makes a Diablo II: Resurrected .sprite of each DC6 file (default OUT: the file's\n"
     "      name with .sprite): every frame of every direction, coloured by the palette,\n"
     "      undrawn pixels fully transparent, side by side in one strip. Frames of different\n"
     "      sizes or offsets share the smallest size that holds each where the game draws it.\n"},
};

// Each option once, with the commands that take it.
struct OptionHelp {
    unsigned commands;
    const char* text;
};

constexpr OptionHelp OptionTexts[] = {
    {WritingFolders, "  -o DIR          topcx, topng, unpack: where the output goes (default: current folder)\n"},
    {WritingOneFile,
     "  -o OUT          pack, fromimage: the file written, a Diablo II: Resurrected sprite when\n"
     "                  its name ends in .sprite, else a DC6 file; tosprite: the sprite written\n"},
    {WritingFolders | WritingOneFile,
     "  --palette FILE  a palette: the game's 768-byte pal.dat (blue, green, red), a .pl2,\n"
     "                  a .act (red, green, blue), JASC-PAL text or a RIFF PAL file;\n"
     "                  default: the built-in act 1 palette\n"},
    {Converting, "  --jobs N        files converted at once (default: one per core); output is the same\n"},
    {Converting,
     "  --all-frames    every frame of every direction, one file per frame, numbered across\n"
     "                  directions (fonts, icon sets, animations)\n"},
    {TakingImages, "  --alpha-threshold N  pixels with alpha below N (1 to 255) are transparent in a DC6\n"},
    {Bit(ToolCommand::ToSprite),
     "  --scale N       every pixel becomes N x N pixels, nearest neighbour (1 to 16; default 1)\n"},
    {Bit(ToolCommand::FromImage), "  --offset X,Y    every frame's offsets (default: each PNG's oFFs)\n"},
    {Bit(ToolCommand::FromImage), "  --transparent N PCX images: index N (0 to 255) is transparent\n"},
};

constexpr char ExitStatusText[] =
    "Exit status: 0 when every file was converted, 1 when any was not (info: when any file is\n"
    "damaged), 2 on wrong usage.\n";


struct CommandName {
    const char* name;
    ToolCommand command;
};

constexpr CommandName Commands[] = {
    {"info", ToolCommand::Info},     {"topcx", ToolCommand::ToPcx}, {"topng", ToolCommand::ToPng},
    {"unpack", ToolCommand::Unpack}, {"pack", ToolCommand::Pack},   {"fromimage", ToolCommand::FromImage},
    {"tosprite", ToolCommand::ToSprite},
};

bool ParseOffset(const std::string& text, int& x, int& y) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    const char* end = text.data() + text.size();
    const auto [xEnd, xError] = std::from_chars(text.data(), text.data() + comma, x);
    const auto [yEnd, yError] = std::from_chars(text.data() + comma + 1, end, y);
    return xError == std::errc() && xEnd == text.data() + comma && yError == std::errc() && yEnd == end;
}

// The options each command takes, bound to `options`, those read further to `offset`,
// `transparent` and `scale`.
void AddCommandOptions(CLI::App& command, ToolCommand kind, ToolOptions& options, std::string& offset,
                       unsigned& transparent, std::string& scale) {
    command.set_help_flag();
    command.add_flag("-h,--help");
    const bool convertsMany = kind == ToolCommand::ToPcx || kind == ToolCommand::ToPng;
    if (kind != ToolCommand::Info) {
        const bool writesOneFile = (WritingOneFile & Bit(kind)) != 0;
        command.add_option("-o", writesOneFile ? options.outputFile : options.outputFolder);
        command.add_option("--palette", options.palettePath);
    }
    if (convertsMany) {
        command.add_option("--jobs", options.jobs)->check(CLI::Range(1u, 256u));
        command.add_flag("--all-frames", options.allFrames);
    }
    if ((TakingImages & Bit(kind)) != 0)
        command.add_option("--alpha-threshold", options.alphaThreshold)->check(CLI::Range(1u, 255u));
    if (kind == ToolCommand::ToSprite)
        command.add_option("--scale", scale);
    if (kind == ToolCommand::FromImage) {
        command.add_option("--offset", offset);
        command.add_option("--transparent", transparent)->check(CLI::Range(0u, 255u));
    }
    command.add_option("files", options.files);
}

}  // namespace

bool ParseToolOptions(const std::vector<std::string>& args, ToolOptions& options, std::string& error) {
    options = ToolOptions{};
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        options.command = ToolCommand::Help;
        return true;
    }
    const auto known = std::find_if(std::begin(Commands), std::end(Commands),
                                    [&name](const CommandName& c) { return name == c.name; });
    if (known == std::end(Commands)) {
        error = "unknown command \"" + name + "\"";
        return false;
    }
    options.command = known->command;

    CLI::App command("dc6tool " + name, name);
    std::string offset;
    unsigned transparent = 0;
    std::string scale;
    AddCommandOptions(command, options.command, options, offset, transparent, scale);
    std::vector<std::string> rest(args.begin() + 1, args.end());
    std::reverse(rest.begin(), rest.end());  // CLI11 takes the arguments last first
    try {
        command.parse(rest);
    } catch (const CLI::ParseError& e) {
        error = e.what();
        if (error.empty())
            error = "wrong usage of " + name;
        return false;
    }
    if (command.count("--help") > 0) {
        options.help = true;
        return true;
    }
    if (!offset.empty() && !ParseOffset(offset, options.offsetX, options.offsetY)) {
        error = "--offset takes two whole numbers X,Y, not \"" + offset + "\"";
        return false;
    }
    options.offsetGiven = !offset.empty();
    if (!scale.empty()) {
        const auto [end, failure] = std::from_chars(scale.data(), scale.data() + scale.size(), options.scale);
        if (failure != std::errc() || end != scale.data() + scale.size() || options.scale < 1 ||
            options.scale > MaxScale) {
            error = "--scale takes a whole number from 1 to " + std::to_string(MaxScale) + ", not \"" + scale + "\"";
            return false;
        }
    }
    if (options.command == ToolCommand::FromImage && command.count("--transparent") > 0)
        options.pcxTransparentIndex = static_cast<uint8_t>(transparent);
    if (options.files.empty()) {
        error = name + (options.command == ToolCommand::Pack        ? " needs the folder to pack"
                        : options.command == ToolCommand::FromImage ? " needs at least one image"
                                                                    : " needs at least one DC6 or DCC file");
        return false;
    }
    if (options.command == ToolCommand::Pack && options.files.size() != 1) {
        error = "pack takes one folder";
        return false;
    }
    if (options.command == ToolCommand::ToSprite && !options.outputFile.empty() && options.files.size() != 1) {
        error = "tosprite -o takes one DC6 file";
        return false;
    }
    return true;
}

std::string ToolUsage(ToolCommand command) {
    const bool all = command == ToolCommand::Help;
    std::string usage = "Usage:\n";
    for (const CommandHelp& help : CommandTexts)
        if (all || help.command == command)
            usage += help.text;
    if (all)
        usage += "  dc6tool --help, dc6tool COMMAND --help\n";
    std::string options;
    for (const OptionHelp& option : OptionTexts)
        if (all || (option.commands & Bit(command)) != 0)
            options += option.text;
    if (!options.empty())
        usage += "Options:\n" + options;
    return usage + ExitStatusText;
}
