#pragma once

#include "TblDocument.h"

#include <string>
#include <string_view>
#include <vector>

// Entries travel through the clipboard as one UTF-16 text under the registered format
// "TBL_FORMAT": key TAB value, entries joined by TAB, with no TAB after the last value.

// The text of the entries at `rows` (ascending); rows beyond the table are left out.
std::u16string EntryPayload(const TblDocument& table, const std::vector<int>& rows);

// The fields of a payload, split at every TAB; empty fields count. An empty text has no
// fields: it is what copying no row gives, and it holds no entry.
std::vector<std::u16string_view> PayloadFields(std::u16string_view payload);

// The entries of a payload: fields 0, 2, 4... are keys, each followed by its value (empty for
// a last key without one).
std::vector<TblEntry> EntriesOfPayload(std::u16string_view payload);

// The payload's text as held in a clipboard block of `bytes` bytes: up to the first NUL, and
// never past the block when it has none.
std::u16string_view PayloadInBlock(const char16_t* block, size_t bytes);
