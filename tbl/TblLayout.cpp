#include "TblLayout.h"

#include "ByteReader.h"
#include "ByteWriter.h"

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

void WriteTblHeader(std::vector<uint8_t>& out, const TblHeader& header) {
    ByteWriter w(out);
    w.U16LE(header.Crc);
    w.U16LE(header.ElementCount);
    w.U32LE(header.HashTableSize);
    w.U8(header.Version);
    w.U32LE(header.TextStart);
    w.U32LE(header.MaxTries);
    w.U32LE(header.FileSize);
}

void WriteTblNode(std::vector<uint8_t>& out, const TblHashNode& node) {
    ByteWriter w(out);
    w.U8(node.Used);
    w.U16LE(node.ElementIndex);
    w.U32LE(node.Hash);
    w.U32LE(node.KeyOffset);
    w.U32LE(node.ValueOffset);
    w.U16LE(node.ValueLength);
}

bool ReadTblLayout(std::span<const uint8_t> bytes, TblLayout& layout, std::string& error) {
    layout = {};
    if (!ReadTblHeader(bytes, layout.Header)) {
        error = "the file is " + std::to_string(bytes.size()) +
                " bytes long, shorter than the 21-byte header";
        return false;
    }
    const TblHeader& h = layout.Header;
    if (h.FileSize > bytes.size()) {
        error = "the header gives a file size of " + std::to_string(h.FileSize) +
                " bytes, but the file is only " + std::to_string(bytes.size()) + " bytes long";
        return false;
    }
    layout.End = h.FileSize;
    layout.NodeTableEnd = TblHeader::Size + 2ull * h.ElementCount + uint64_t{TblHashNode::Size} * h.HashTableSize;
    if (layout.NodeTableEnd > layout.End) {
        error = "the index of " + std::to_string(h.ElementCount) + " entries and the hash table of " +
                std::to_string(h.HashTableSize) + " nodes need " + std::to_string(layout.NodeTableEnd) +
                " bytes, but the header gives a file size of " + std::to_string(h.FileSize) + " bytes";
        return false;
    }
    const std::span<const uint8_t> file = bytes.first(layout.End);
    ByteReader in(file, TblHeader::Size);
    layout.Index.resize(h.ElementCount);
    for (uint16_t& node : layout.Index)
        node = in.U16LE();
    layout.Nodes.resize(h.HashTableSize);
    for (TblHashNode& node : layout.Nodes)
        node = ReadNode(in);
    // The sizes were checked above, so the reads cannot have run out.
    return !in.Failed();
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
