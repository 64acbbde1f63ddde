#pragma once

#include "TblFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A structural check of a .tbl file's bytes, finer than the loader's: what `tbltool info`
// shows. Problems are damage the game would trip over; notes are differences it tolerates.
struct TblCheckResult {
    bool HeaderRead = false;    // the file holds at least a header
    TblHeader Header;
    uint32_t UnusedNodes = 0;   // nodes of the hash table marked free
    uint32_t UnusedEntries = 0; // entries whose node is marked free (loaded empty)
    uint32_t DuplicateKeys = 0; // entries whose key an earlier entry already has
    uint16_t TextCrc = 0;       // TblCrc16 over the text area as it lies in the file
    uint32_t LongestProbe = 0;  // the most slots any used node lies past its key's home slot
    std::vector<std::string> Problems;
    std::vector<std::string> Notes;

    bool Damaged() const { return !Problems.empty(); }
};

TblCheckResult CheckTbl(std::span<const uint8_t> bytes);
