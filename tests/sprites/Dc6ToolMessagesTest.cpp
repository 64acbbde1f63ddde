// What dc6tool says about inputs it can not take, as a user sees it: each message names what
// is wrong with the file, and the exit status agrees with it.
#include "Dc6Builder.h"
#include "RunDc6tool.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

void PutU32BE(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& png, const char* kind, const std::vector<uint8_t>& body) {
    PutU32BE(png, static_cast<uint32_t>(body.size()));
    const size_t start = png.size();
    png.insert(png.end(), kind, kind + 4);
    png.insert(png.end(), body.begin(), body.end());
    PutU32BE(png, static_cast<uint32_t>(crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

// A valid 8-bit greyscale PNG, every pixel black, made without the converter's own coder
// (which refuses sizes it does not take).
std::vector<uint8_t> BlackPng(uint32_t width, uint32_t height) {
    const std::vector<uint8_t> rows(static_cast<size_t>(width + 1) * height, 0);
    std::vector<uint8_t> packed(compressBound(static_cast<uLong>(rows.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32BE(header, width);
    PutU32BE(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

std::vector<uint8_t> OneFrameDc6(int32_t width, int32_t height, int32_t directions = 1) {
    Dc6TestFile file;
    file.directions = directions;
    file.frames.push_back({width, height, 0, 0, {0x80}});
    return file.Bytes();
}

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

struct ToolRun {
    int exit = 0;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
    ToolRun run;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    run.exit = RunDc6tool(args);
    run.out = testing::internal::GetCapturedStdout();
    run.err = testing::internal::GetCapturedStderr();
    return run;
}

}  // namespace

TEST(Dc6toolMessages, EachRefusedInputIsNamedForWhatIsWrongWithIt) {
    struct Case {
        const char* input;  // written into the scratch folder
        std::vector<uint8_t> bytes;
        std::vector<std::string> args;  // {in}: the input's path, {dir}: the scratch folder
        int exit;
        const char* said;  // all of standard error
    };
    const std::string jascOf16 = "JASC-PAL\r\n0100\r\n16\r\n" + [] {
        std::string lines;
        for (int i = 0; i < 16; ++i)
            lines += std::to_string(i) + " 0 0\r\n";
        return lines;
    }();
    const std::vector<std::string> topcx = {"topcx", "-o", "{dir}", "{in}"};
    const std::vector<std::string> fromimage = {"fromimage", "-o", "{dir}/out.dc6", "{in}"};
    const std::vector<Case> cases = {
        {"one.dc6", {0x06}, topcx, 1,
         "{in}: DC6 file is truncated: its header or frame table ends past the end of the file and can not be "
         "converted!\n"},
        {"text.png", Text("hello\n"), fromimage, 1,
         "{in}: neither a PNG, a PCX image nor a .sprite (its first bytes are none of their signatures)\n"},
        {"wide.png", BlackPng(100000, 1), fromimage, 1, "{in}: its size 100000 x 1 is larger than the converter takes\n"},
        {"huge.dc6", OneFrameDc6(65535, 65535), {"unpack", "-o", "{dir}", "{in}"}, 0,
         "{in}: Frame 0 is skipped: an image of 65535 x 65535 pixels can not be made (at most 67108864 pixels in all, "
         "and the memory must be there).\n"},
        {"backwards.dc6", OneFrameDc6(2, 2, -1), topcx, 1,
         "{in}: DC6 file has invalid number of blocks and can not be converted!\n"},
        {"backwards.dc6", OneFrameDc6(2, 2, -1), {"topng", "-o", "{dir}", "{in}"}, 1,
         "{in}: DC6 file has invalid number of blocks and can not be converted!\n"},
        {"short.dcc", {0x74, 0x06, 0x01}, topcx, 1,
         "{in}: DCC file can not be converted: the file is 3 bytes long, shorter than the 15-byte DCC header.\n"},
        {"renamed.dcc", OneFrameDc6(2, 2), {"unpack", "-o", "{dir}", "{in}"}, 1,
         "{in}: its first byte is 0x06, not the DCC signature 0x74\n"},
        {"nowhere.dcc", {0x74, 6, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0}, topcx, 1,
         "{in}: DCC file can not be converted: direction 0: its offset 0x40 lies outside the file's data (0x13 to "
         "0x13).\n"},
        {"p16.pal", Text(jascOf16), {"topcx", "-o", "{dir}", "--palette", "{in}", "{dir}/sprite.dc6"}, 0,
         "dc6tool: {in}: JASC-PAL text gives 16 colours; entries 16 to 255 are black\n"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const std::string input = (dir / c.input).string();
        const auto filled = [&](std::string text) {
            for (const auto& [name, value] : {std::pair{"{in}", input}, {"{dir}", dir.Path().string()}})
                for (size_t at; (at = text.find(name)) != std::string::npos;)
                    text.replace(at, std::string(name).size(), value);
            return text;
        };
        WriteBytes(input, c.bytes);
        WriteBytes(dir / "sprite.dc6", OneFrameDc6(2, 2));
        std::vector<std::string> args;
        for (const std::string& arg : c.args)
            args.push_back(filled(arg));
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.err, filled(c.said)) << c.input << " " << args[0];
        EXPECT_EQ(run.exit, c.exit) << c.input << " " << args[0];
    }
}

TEST(Dc6toolMessages, ACommandsHelpShowsThatCommandAndTheOptionsItTakes) {
    const ToolRun topng = RunTool({"topng", "--help"});
    EXPECT_EQ(topng.exit, 0);
    EXPECT_NE(topng.out.find("dc6tool topng [-o DIR]"), std::string::npos) << topng.out;
    EXPECT_NE(topng.out.find("--all-frames"), std::string::npos) << topng.out;
    EXPECT_EQ(topng.out.find("dc6tool topcx"), std::string::npos) << topng.out;
    EXPECT_EQ(topng.out.find("--offset"), std::string::npos) << topng.out;

    const ToolRun fromimage = RunTool({"fromimage", "a.png", "-h"});
    EXPECT_NE(fromimage.out.find("--offset X,Y"), std::string::npos) << fromimage.out;
    EXPECT_EQ(fromimage.out.find("--jobs"), std::string::npos) << fromimage.out;

    const ToolRun all = RunTool({"--help"});
    for (const char* command : {"info", "topcx", "topng", "unpack", "pack", "fromimage"})
        EXPECT_NE(all.out.find(std::string("dc6tool ") + command + " "), std::string::npos) << command;
    EXPECT_GT(all.out.size(), topng.out.size() + fromimage.out.size());
}
