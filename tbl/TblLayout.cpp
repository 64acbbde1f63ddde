#include "TblLayout.h"

#include "ByteReader.h"

#include <cstring>

namespace {

TblHashNode ReadNode(ByteReader& in) {
    TblHashNode node;
    node.Used = in.U8();
    node.ElementIndex = in.U16LE();
    node.Hash = in.U32LE();
    node.KeyOffset = in.U32LE();
    node.ValueOffset = in.U32LE();
    node.ValueLength = in.U16LE();
    return node;
}

}  // namespace

std::string Hex(uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return "0x" + text;
}

uint64_t TblNodeTableEnd(const TblHeader& header) {
    return TblHeader::Size + 2ull * header.ElementCount + uint64_t{TblHashNode::Size} * header.HashTableSize;
}

std::string TblTextStartProblem(const TblHeader& header) {
    const uint64_t nodeTableEnd = TblNodeTableEnd(header);
    if (header.TextStart == nodeTableEnd)
        return {};
    return "the header's text area start is " + Hex(header.TextStart) + ", but the hash table ends at " +
           Hex(nodeTableEnd);
}

bool ReadTblHeader(std::span<const uint8_t> bytes, TblHeader& header) {
    ByteReader in(bytes);
    TblHeader h;
    h.Crc = in.U16LE();
    h.ElementCount = in.U16LE();
    h.HashTableSize = in.U32LE();
    h.Version = in.U8();
    h.TextStart = in.U32LE();
    h.MaxTries = in.U32LE();
    h.FileSize = in.U32LE();
    if (in.Failed())
        return false;
    header = h;
    return true;
}

namespace {

uint8_t* Put16(uint8_t* out, uint16_t v) {
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
    return out + 2;
}

uint8_t* Put32(uint8_t* out, uint32_t v) {
    return Put16(Put16(out, static_cast<uint16_t>(v)), static_cast<uint16_t>(v >> 16));
}

}  // namespace

void PutTblHeader(uint8_t* out, const TblHeader& header) {
    out = Put16(out, header.Crc);
    out = Put16(out, header.ElementCount);
    out = Put32(out, header.HashTableSize);
    *out++ = header.Version;
    out = Put32(out, header.TextStart);
    out = Put32(out, header.MaxTries);
    Put32(out, header.FileSize);
}

void PutTblNode(uint8_t* out, const TblHashNode& node) {
    *out++ = node.Used;
    out = Put16(out, node.ElementIndex);
    out = Put32(out, node.Hash);
    out = Put32(out, node.KeyOffset);
    out = Put32(out, node.ValueOffset);
    Put16(out, node.ValueLength);
}

bool ReadTblFrame(std::span<const uint8_t> bytes, TblLayout& layout, std::string& error, bool takeCutShort) {
    layout = {};
    if (!ReadTblHeader(bytes, layout.Header)) {
        error = "the file is " + std::to_string(bytes.size()) +
                " bytes long, shorter than the 21-byte header";
        return false;
    }
    const TblHeader& h = layout.Header;
    layout.End = h.FileSize;
    if (h.FileSize > bytes.size()) {
        if (!takeCutShort) {
            error = "the header gives a file size of " + std::to_string(h.FileSize) +
                    " bytes, but the file is only " + std::to_string(bytes.size()) + " bytes long";
            return false;
        }
        layout.End = bytes.size();
    }
    layout.NodeTableEnd = TblNodeTableEnd(h);
    if (layout.NodeTableEnd > layout.End) {
        error = "the index of " + std::to_string(h.ElementCount) + " entries and the hash table of " +
                std::to_string(h.HashTableSize) + " nodes need " + std::to_string(layout.NodeTableEnd) +
                " bytes, but the header gives a file size of " + std::to_string(h.FileSize) + " bytes";
        return false;
    }
    return true;
}

uint16_t TblNodeNumber(std::span<const uint8_t> bytes, size_t i) {
    return static_cast<uint16_t>(bytes[TblHeader::Size + 2 * i] | (bytes[TblHeader::Size + 2 * i + 1] << 8));
}

TblHashNode TblNodeAt(std::span<const uint8_t> bytes, const TblLayout& layout, size_t slot) {
    ByteReader in(bytes, TblHeader::Size + 2 * size_t{layout.Header.ElementCount} + TblHashNode::Size * slot);
    return ReadNode(in);
}

bool ReadTblString(std::span<const uint8_t> bytes, size_t end, uint32_t offset,
                   std::string_view& text, std::string& error) {
    if (end > bytes.size())
        end = bytes.size();
    if (offset >= end) {
        error = Hex(offset) + " is past the end of the file (" + Hex(end) + ")";
        return false;
    }
    const auto* start = bytes.data() + offset;
    const auto* zero = static_cast<const uint8_t*>(std::memchr(start, 0, end - offset));
    if (!zero) {
        error = Hex(offset) + " starts a string that has no terminating zero before the end of the file";
        return false;
    }
    text = std::string_view(reinterpret_cast<const char*>(start), static_cast<size_t>(zero - start));
    return true;
}
