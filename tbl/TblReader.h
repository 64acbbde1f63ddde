#pragma once

#include "TblDocument.h"
#include "LargeBlocks.h"
#include "TblFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Finds every entry of a whole .tbl file in its bytes, without decoding any text: where its
// key and value lie, each offset checked to start inside the file and its string to end there.
// An entry whose node is marked unused has an empty key and value.
//
// The file is refused as a whole when anything it points at lies outside it: then the result
// is false and `error` says what is wrong ("entry 812: the value offset 0x1F3A2 is past the end
// of the file (0x1F000)"). With `unreadable` given, only a file without a readable header and
// index is refused; a file cut short is read as far as it goes, and an entry that points outside
// what there is is kept empty and its reason added to `unreadable`. `header` receives the header whenever the file holds one, also on failure.
bool ReadTblEntries(std::span<const uint8_t> bytes, TblHeader& header, BlockVector<TblTextSpans>& entries,
                    std::string& error, std::vector<std::string>* unreadable = nullptr);

// A key as stored: one byte per character.
std::u16string KeyFromBytes(std::string_view bytes);

// A value as stored: UTF-8 (bytes that are not valid UTF-8 are kept, see Utf.h), with colour
// codes as tokens when `parseOnLoad` is set.
std::u16string ValueFromBytes(std::string_view bytes, bool parseOnLoad);
