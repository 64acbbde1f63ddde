#pragma once

#include "TblFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// Builds .tbl bytes field by field, independently of the compiler, so that tests can make
// files the compiler never would (damaged offsets, free slots, odd headers).
struct RawTbl {
    TblHeader Header;
    std::vector<uint16_t> Index;
    std::vector<TblHashNode> Nodes;
    std::string Text;  // the text area

    // Appends a zero-terminated string to the text area; returns its absolute offset.
    uint32_t AddString(const std::string& s);
    // The offset of the text area: 21 + 2N + 17H for the current index and nodes.
    uint32_t TextStart() const;
    // Header fields filled to match (count, size, text start, file size, CRC), then the bytes.
    std::vector<uint8_t> Bytes(bool fillHeader = true) const;
};

// A sound two-entry table with the given keys and values (each key in its own node, H = N).
RawTbl TwoEntryTable(const std::string& key0, const std::string& value0, const std::string& key1,
                     const std::string& value1);

std::vector<uint8_t> ToBytes(const std::string& s);
