#include "TblBuilder.h"

#include "TblHash.h"
#include "TblLayout.h"
#include "TblSlots.h"
#include "Utf.h"

#include <algorithm>

namespace {

std::string Entry(size_t i) { return "entry " + std::to_string(i) + ": "; }

std::string CodePoint(char16_t c) {
    std::string hex = Hex(c).substr(2);
    return "U+" + std::string(4 - std::min<size_t>(4, hex.size()), '0') + hex;
}

// Checks one entry and adds the bytes of its key and value, terminators included, to `total`.
bool CheckEntry(size_t i, std::u16string_view key, std::u16string_view value, uint64_t& total,
                std::string& error) {
    for (char16_t c : key) {
        if (c == 0) {
            error = Entry(i) + "the key holds a zero character, which would end it early";
            return false;
        }
        if (c > 0xFF) {
            error = Entry(i) + "the key \"" + Utf16ToUtf8(key) + "\" holds the character " + CodePoint(c) +
                    "; a key can hold only the characters U+0001 to U+00FF";
            return false;
        }
    }
    if (value.find(u'\0') != std::u16string_view::npos) {
        error = Entry(i) + "the value holds a zero character, which would end it early";
        return false;
    }
    const size_t valueBytes = Utf8Length(value) + 1;
    if (valueBytes > UINT16_MAX) {
        error = Entry(i) + "the value is " + std::to_string(valueBytes - 1) +
                " bytes long; a value can hold at most 65,534 bytes";
        return false;
    }
    total += key.size() + 1 + valueBytes;
    return true;
}

}  // namespace

bool BuildTbl(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values,
              TblHeader& header, std::vector<uint8_t>& bytes, std::string& error) {
    const size_t count = keys.size();
    if (count != values.size()) {
        error = "the table has " + std::to_string(count) + " keys but " + std::to_string(values.size()) + " values";
        return false;
    }
    if (count > TblMaxEntries) {
        error = "the table has " + std::to_string(count) + " entries; a table can hold at most 65,535";
        return false;
    }
    const uint64_t textStart = TblHeader::Size + uint64_t{2 + TblHashNode::Size} * count;
    uint64_t fileSize = textStart;
    for (size_t i = 0; i < count; ++i)
        if (!CheckEntry(i, keys[i], values[i], fileSize, error))
            return false;
    if (fileSize > UINT32_MAX) {
        error = "the table would make a file of " + std::to_string(fileSize) +
                " bytes; a table file cannot pass 4 GiB";
        return false;
    }

    const auto n = static_cast<uint32_t>(count);
    std::vector<uint32_t> homes(count);
    for (size_t i = 0; i < count; ++i)
        homes[i] = TblKeyHash(keys[i], n);
    uint32_t longestProbe = 0;
    const std::vector<uint32_t> slots = AssignSlots(homes, longestProbe);

    // Text first, from the text start on; the front is filled in once the CRC is known.
    std::vector<uint8_t> out(static_cast<size_t>(fileSize));
    size_t at = static_cast<size_t>(textStart);
    std::vector<TblHashNode> nodes(count);
    for (size_t i = 0; i < count; ++i) {
        TblHashNode& node = nodes[slots[i]];
        node.Used = 1;
        node.ElementIndex = static_cast<uint16_t>(i);
        node.Hash = homes[i];
        node.KeyOffset = static_cast<uint32_t>(at);
        for (char16_t c : keys[i])
            out[at++] = static_cast<uint8_t>(c);
        out[at++] = 0;
        node.ValueOffset = static_cast<uint32_t>(at);
        at += WriteUtf8(values[i], out.data() + at);
        out[at++] = 0;
        node.ValueLength = static_cast<uint16_t>(at - node.ValueOffset);
    }

    TblHeader h;
    h.Crc = TblCrc16(out.data() + textStart, out.size() - static_cast<size_t>(textStart));
    h.ElementCount = static_cast<uint16_t>(count);
    h.HashTableSize = n;
    h.Version = 0;
    h.TextStart = static_cast<uint32_t>(textStart);
    h.MaxTries = longestProbe + 1;
    h.FileSize = static_cast<uint32_t>(out.size());

    std::vector<uint8_t> front;
    front.reserve(static_cast<size_t>(textStart));
    WriteTblHeader(front, h);
    for (uint32_t slot : slots) {
        front.push_back(static_cast<uint8_t>(slot));
        front.push_back(static_cast<uint8_t>(slot >> 8));
    }
    for (const TblHashNode& node : nodes)
        WriteTblNode(front, node);
    std::copy(front.begin(), front.end(), out.begin());

    header = h;
    bytes = std::move(out);
    return true;
}
