#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 <-> UTF-16 for table text and paths, lossless both ways.
//
// Bytes that are not part of a well-formed UTF-8 sequence (stray continuation bytes, truncated
// or overlong sequences, encoded surrogates, values above U+10FFFF) each become the lone low
// surrogate U+DC80 + (byte - 0x80), and Utf16ToUtf8 turns such a surrogate back into its byte.
// So Utf16ToUtf8(Utf8ToUtf16(bytes)) == bytes for any bytes at all: a damaged value survives a
// load and a save unchanged instead of turning into U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Other lone surrogates (which no decoding above produces) are written as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Whether `c` is a byte kept as above, and which byte it is.
constexpr bool IsKeptByte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }
constexpr uint8_t KeptByte(char32_t c) { return static_cast<uint8_t>(c - 0xDC00); }

// How a message names a character of decoded text: "the character U+4E2D", or for a kept byte
// "the byte 0xFF (not UTF-8)", which is what a file gets back in its place.
std::string CharacterName(char16_t c);

// Writes the bytes of Utf16ToUtf8(text) to `out`, which has room for Utf8Length(text) bytes;
// returns that length.
size_t WriteUtf8(std::u16string_view text, uint8_t* out);

// The number of bytes Utf16ToUtf8 produces, without producing them.
size_t Utf8Length(std::u16string_view text);
