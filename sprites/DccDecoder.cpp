#include "DccDecoder.h"

#include "DccBitReader.h"
#include "TextFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr int32_t CellSide = 4;

// One run of cells along an axis of a frame: where each starts in the plane and how long it is.
struct CellSpan {
    int32_t start = 0;
    int32_t size = 0;
};

struct FrameCells {
    int32_t firstColumn = 0;  // the plane cell of the frame's first cell
    int32_t firstRow = 0;
    std::vector<CellSpan> columns;
    std::vector<CellSpan> rows;
};

// Cuts `length` pixels starting `start` pixels into the plane along the plane's cell lines.
// A last piece of 1 pixel joins the cell before it, so cells run from 1 to 5 pixels.
std::vector<CellSpan> CutAxis(int32_t start, int32_t length) {
    const int32_t first = CellSide - start % CellSide;
    if (length - first <= 1)
        return {{start, length}};
    const int32_t rest = length - first - 1;
    const int32_t count = 2 + rest / CellSide - (rest % CellSide == 0 ? 1 : 0);
    std::vector<CellSpan> spans{{start, first}};
    int32_t at = start + first;
    for (int32_t i = 1; i < count - 1; ++i, at += CellSide)
        spans.push_back({at, CellSide});
    spans.push_back({at, start + length - at});
    return spans;
}

FrameCells CutFrame(const DccBox& plane, const DccBox& box) {
    const int32_t x = static_cast<int32_t>(box.left - plane.left);
    const int32_t y = static_cast<int32_t>(box.top - plane.top);
    return {x / CellSide, y / CellSide, CutAxis(x, static_cast<int32_t>(box.width)),
            CutAxis(y, static_cast<int32_t>(box.height))};
}

// A cell's four colours, as pixel codes (indices into the direction's colour list), and the
// frame cell they were read for.
struct CellColours {
    std::array<uint8_t, 4> codes{};
    int32_t frame = 0;
    int32_t cell = 0;
};

class DirectionDecoder {
public:
    DirectionDecoder(std::span<const uint8_t> file, const DccDirection& direction)
        : direction_(direction),
          equalCells_(file, direction.equalCells.start, direction.equalCells.bits),
          pixelMask_(file, direction.pixelMask.start, direction.pixelMask.bits),
          encodingType_(file, direction.encodingType.start, direction.encodingType.bits),
          rawPixels_(file, direction.rawPixels.start, direction.rawPixels.bits),
          pixelCodes_(file, direction.pixelCodes.start, direction.pixelCodes.bits),
          planeColumns_(1 + static_cast<int32_t>((direction.box.width - 1) / CellSide)),
          planeRows_(1 + static_cast<int32_t>((direction.box.height - 1) / CellSide)) {}

    bool Decode(std::vector<Image>& frames, std::string& problem, DccStreamsLeft* left) {
        cells_.reserve(direction_.frames.size());
        for (const DccFrameHeader& frame : direction_.frames)
            cells_.push_back(CutFrame(direction_.box, frame.box));
        if (!ReadCellColours(problem) || !DrawFrames(frames, problem))
            return false;
        if (left)
            *left = {equalCells_.Remaining(), pixelMask_.Remaining(), encodingType_.Remaining(),
                     rawPixels_.Remaining(), pixelCodes_.Remaining()};
        return true;
    }

private:
    // The first pass: the colours of every cell that does not equal the one before it.
    bool ReadCellColours(std::string& problem) {
        std::vector<int32_t> lastColours(static_cast<size_t>(planeColumns_) * static_cast<size_t>(planeRows_), -1);
        for (size_t f = 0; f < cells_.size(); ++f) {
            const FrameCells& frame = cells_[f];
            int32_t cell = 0;
            for (size_t row = 0; row < frame.rows.size(); ++row) {
                for (size_t column = 0; column < frame.columns.size(); ++column, ++cell) {
                    const size_t planeCell = PlaneCell(frame, column, row);
                    int32_t& last = lastColours[planeCell];
                    uint32_t mask = 0xF;
                    if (last >= 0) {
                        if (direction_.HasEqualCells() && equalCells_.Bits(1))
                            continue;
                        mask = pixelMask_.Bits(4);
                    }
                    CellColours colours{{}, static_cast<int32_t>(f), cell};
                    if (!ReadColours(mask, last >= 0 ? &colours_[static_cast<size_t>(last)] : nullptr, colours)) {
                        problem = FormatText("frame %zu: %s", f, StreamProblem().c_str());
                        return false;
                    }
                    last = static_cast<int32_t>(colours_.size());
                    colours_.push_back(colours);
                }
            }
        }
        return true;
    }

    // The colours the mask's bits take: codes read in increasing order, each as a step from
    // the one before (or raw), a code equal to the one before ending the list early. The set
    // bits take them from the lowest bit, the last code read first, and code 0 when the list
    // ran short; the other bits keep the colours of `before`.
    bool ReadColours(uint32_t mask, const CellColours* before, CellColours& colours) {
        const int count = std::popcount(mask);
        const bool raw = direction_.HasRawPixels() && encodingType_.Bits(1);
        std::array<uint32_t, 4> read{};
        uint32_t previous = 0;
        int readCount = 0;
        for (int i = 0; i < count; ++i) {
            uint32_t code = raw ? rawPixels_.Bits(8) : previous;
            if (!raw) {
                uint32_t step = 0;
                do {
                    step = pixelCodes_.Bits(4);
                    code += step;
                } while (step == 15 && code < 256);
            }
            if (code == previous)
                break;
            if (code >= static_cast<uint32_t>(direction_.pixelValueCount)) {
                badCode_ = code;
                return false;
            }
            read[static_cast<size_t>(readCount++)] = code;
            previous = code;
        }
        int next = readCount - 1;
        for (size_t bit = 0; bit < 4; ++bit) {
            if (mask & (1u << bit))
                colours.codes[bit] = next >= 0 ? static_cast<uint8_t>(read[static_cast<size_t>(next--)]) : 0;
            else
                colours.codes[bit] = before ? before->codes[bit] : 0;
        }
        return !StreamsFailed();
    }

    // The second pass: every frame drawn cell by cell into the plane, then cut out of it.
    bool DrawFrames(std::vector<Image>& frames, std::string& problem) {
        Image plane;
        if (!MakeImage(direction_.box.width, direction_.box.height, 0, plane)) {
            problem = "its plane of frames can not be made (not enough memory)";
            return false;
        }
        std::vector<CellSpan> lastColumn(static_cast<size_t>(planeColumns_) * static_cast<size_t>(planeRows_));
        std::vector<CellSpan> lastRow(lastColumn.size());
        frames.assign(cells_.size(), Image{});
        size_t nextColours = 0;
        for (size_t f = 0; f < cells_.size(); ++f) {
            const FrameCells& frame = cells_[f];
            int32_t cell = 0;
            for (size_t row = 0; row < frame.rows.size(); ++row) {
                for (size_t column = 0; column < frame.columns.size(); ++column, ++cell) {
                    const CellSpan& x = frame.columns[column];
                    const CellSpan& y = frame.rows[row];
                    const size_t planeCell = PlaneCell(frame, column, row);
                    if (nextColours < colours_.size() && colours_[nextColours].frame == static_cast<int32_t>(f) &&
                        colours_[nextColours].cell == cell) {
                        DrawCell(colours_[nextColours++], x, y, plane);
                    } else {
                        CopyCell(lastColumn[planeCell], lastRow[planeCell], x, y, plane);
                    }
                    lastColumn[planeCell] = x;
                    lastRow[planeCell] = y;
                }
            }
            if (pixelCodes_.Failed()) {
                problem = FormatText("frame %zu: the pixel codes end before its cells are drawn", f);
                return false;
            }
            if (!CutOut(plane, direction_.frames[f].box, frames[f])) {
                problem = FormatText("frame %zu: its image can not be made (not enough memory)", f);
                return false;
            }
        }
        return true;
    }

    void DrawCell(const CellColours& colours, const CellSpan& x, const CellSpan& y, Image& plane) {
        std::array<uint8_t, 4> palette;
        for (size_t i = 0; i < 4; ++i)
            palette[i] = direction_.pixelValues[colours.codes[i]];
        const std::array<uint8_t, 4>& c = colours.codes;
        const unsigned bits = c[0] == c[1] ? 0 : c[1] == c[2] ? 1 : 2;
        for (int32_t row = 0; row < y.size; ++row) {
            uint8_t* line = plane.Row(y.start + row) + x.start;
            if (bits == 0) {
                std::memset(line, palette[0], static_cast<size_t>(x.size));
                continue;
            }
            for (int32_t column = 0; column < x.size; ++column)
                line[column] = palette[pixelCodes_.Bits(bits)];
        }
    }

    // A cell equal to the one before takes its pixels from where that one was drawn; the game
    // clears it instead when the two differ in size.
    static void CopyCell(const CellSpan& fromX, const CellSpan& fromY, const CellSpan& x, const CellSpan& y,
                         Image& plane) {
        const bool sameSize = fromX.size == x.size && fromY.size == y.size;
        if (sameSize && fromX.start == x.start && fromY.start == y.start)
            return;
        std::array<uint8_t, 25> pixels{};
        const size_t width = static_cast<size_t>(x.size);
        if (sameSize)
            for (int32_t row = 0; row < y.size; ++row)
                std::memcpy(&pixels[static_cast<size_t>(row) * width], plane.Row(fromY.start + row) + fromX.start,
                            width);
        for (int32_t row = 0; row < y.size; ++row)
            std::memcpy(plane.Row(y.start + row) + x.start, &pixels[static_cast<size_t>(row) * width], width);
    }

    bool CutOut(const Image& plane, const DccBox& box, Image& frame) const {
        if (!MakeImage(box.width, box.height, 0, frame))
            return false;
        const int32_t x = static_cast<int32_t>(box.left - direction_.box.left);
        const int32_t y = static_cast<int32_t>(box.top - direction_.box.top);
        for (int32_t row = 0; row < frame.height; ++row)
            std::memcpy(frame.Row(row), plane.Row(y + row) + x, static_cast<size_t>(frame.width));
        return true;
    }

    size_t PlaneCell(const FrameCells& frame, size_t column, size_t row) const {
        return static_cast<size_t>(frame.firstRow + static_cast<int32_t>(row)) * static_cast<size_t>(planeColumns_) +
               static_cast<size_t>(frame.firstColumn + static_cast<int32_t>(column));
    }

    bool StreamsFailed() const {
        return equalCells_.Failed() || pixelMask_.Failed() || encodingType_.Failed() || rawPixels_.Failed() ||
               pixelCodes_.Failed();
    }

    std::string StreamProblem() const {
        if (badCode_ > 0)
            return FormatText("a pixel code names colour %u of a list of %d", badCode_,
                              static_cast<int>(direction_.pixelValueCount));
        const char* stream = equalCells_.Failed()     ? "equal cells"
                             : pixelMask_.Failed()    ? "pixel masks"
                             : encodingType_.Failed() ? "encoding types"
                             : rawPixels_.Failed()    ? "raw pixels"
                                                      : "pixel codes";
        return FormatText("the %s end before its cells' colours are read", stream);
    }

    const DccDirection& direction_;
    DccBitReader equalCells_, pixelMask_, encodingType_, rawPixels_, pixelCodes_;
    int32_t planeColumns_;
    int32_t planeRows_;
    std::vector<FrameCells> cells_;
    std::vector<CellColours> colours_;
    uint32_t badCode_ = 0;
};

}  // namespace

bool DecodeDccDirection(std::span<const uint8_t> file, const DccDirection& direction, std::vector<Image>& frames,
                        std::string& problem, DccStreamsLeft* left) {
    DirectionDecoder decoder(file, direction);
    return decoder.Decode(frames, problem, left);
}
