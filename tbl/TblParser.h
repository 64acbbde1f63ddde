#pragma once

#include "TblFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Decodes the bytes of a whole .tbl file into parallel keys and values. Keys are read one byte
// per character; values are UTF-8 (bytes that are not valid UTF-8 are kept, see Utf.h), passed
// through ToTokens when `parseOnLoad` is set. An entry whose node is marked unused gets an
// empty key and value.
//
// The file is refused as a whole when anything it points at lies outside it: then `keys` and
// `values` are empty, `error` says what is wrong ("entry 812: the value offset 0x1F3A2 is past
// the end of the file (0x1F000)") and the result is false. `header` receives the header
// whenever the file holds one, also on failure.
bool ParseTbl(std::span<const uint8_t> bytes, TblHeader& header, std::vector<std::u16string>& keys,
              std::vector<std::u16string>& values, bool parseOnLoad, std::string& error);

// A key as stored: one byte per character.
std::u16string KeyFromBytes(std::string_view bytes);
