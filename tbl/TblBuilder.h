#pragma once

#include "TblFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// Lays out keys and values (values already in their game form) as the bytes of a .tbl file:
// a hash table of exactly N slots filled by linear probing from each key's TblKeyHash, the text
// area holding key 0, value 0, key 1, value 1 and so on, and the header with TblCrc16 over the
// text area. Keys are stored one byte per character, values as UTF-8.
//
// Refuses, with `error` naming the entry, a table that the format cannot hold: more than
// 65,535 entries, a key character above U+00FF, a zero character in a key or value, a value of
// more than 65,535 bytes with its terminator, or a file past 4 GiB. Then nothing is produced.
bool BuildTbl(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values,
              TblHeader& header, std::vector<uint8_t>& bytes, std::string& error);
