#pragma once

#include "TblFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The fixed parts of a .tbl file, read field by field and checked against the file's length:
// what the loader and the structural check share. The index and the nodes are read where they
// lie in the file, one at a time, not copied out.
struct TblLayout {
    TblHeader Header;
    uint64_t NodeTableEnd = 0;        // 21 + 2N + 17H: where the text area begins in fact
    size_t End = 0;                   // the header's file size: strings must end before it
};

// 21 + 2N + 17H: where the header's counts end the hash table, so where the text area begins.
uint64_t TblNodeTableEnd(const TblHeader& header);
// Empty when the header's text area start is that place, else the problem in the words of
// `tbltool info` ("the header's text area start is 0x16B, but the hash table ends at 0x147"):
// a count or size that was changed by damage, which the loader would read as another table.
std::string TblTextStartProblem(const TblHeader& header);

// Reads the 21-byte header; false when `bytes` is shorter.
bool ReadTblHeader(std::span<const uint8_t> bytes, TblHeader& header);
// Write the 21 bytes of a header or the 17 bytes of a node at `out`.
void PutTblHeader(uint8_t* out, const TblHeader& header);
void PutTblNode(uint8_t* out, const TblHashNode& node);

// Reads the header and checks the layout against the file. Fails, saying why in `error`, when
// the file is shorter than its header's file size or the index and node tables do not fit in
// it; then node number i (below N) and node `slot` (below H) can be read. With `takeCutShort`,
// a file shorter than its header says is taken as far as it goes (End is then the file's
// length), provided its index and node tables are whole.
bool ReadTblFrame(std::span<const uint8_t> bytes, TblLayout& layout, std::string& error, bool takeCutShort = false);
uint16_t TblNodeNumber(std::span<const uint8_t> bytes, size_t i);
TblHashNode TblNodeAt(std::span<const uint8_t> bytes, const TblLayout& layout, size_t slot);

// The zero-terminated string at `offset`, which must start and end before `end`; on failure
// `error` says what is wrong ("is past the end of the file", "has no terminating zero").
bool ReadTblString(std::span<const uint8_t> bytes, size_t end, uint32_t offset,
                   std::string_view& text, std::string& error);

// "0x1F3A2"
std::string Hex(uint64_t value);
