#include "Utf.h"

#include <cstdio>

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence at the start of `s`, and its code point; 0 when the first
// byte does not begin one. The ranges are those of the Unicode standard's table of well-formed
// byte sequences, so decoding and re-encoding give back the same bytes.
size_t DecodeSequence(std::string_view s, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0F;
        if (b0 == 0xE0)
            low = 0xA0;   // no overlong forms
        else if (b0 == 0xED)
            high = 0x9F;  // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    const auto b1 = static_cast<unsigned char>(s[1]);
    if (b1 < low || b1 > high)
        return 0;
    cp = (cp << 6) | (b1 & 0x3F);
    for (size_t i = 2; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (!IsContinuation(b))
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return length;
}

template <typename Sink>
void EncodeUtf16(std::u16string_view text, Sink&& sink) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp < 0x80) {
            sink(static_cast<unsigned char>(cp));
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsKeptByte(cp)) {
            sink(KeptByte(cp));
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x800) {
            sink(static_cast<unsigned char>(0xC0 | (cp >> 6)));
            sink(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            sink(static_cast<unsigned char>(0xE0 | (cp >> 12)));
            sink(static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F)));
            sink(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
        } else {
            sink(static_cast<unsigned char>(0xF0 | (cp >> 18)));
            sink(static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F)));
            sink(static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F)));
            sink(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
        }
    }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view bytes) {
    // Never more UTF-16 units than bytes: size once, fill, then cut to what was written.
    std::u16string text(bytes.size(), u'\0');
    char16_t* out = text.data();
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *out++ = b;
            ++i;
            continue;
        }
        char32_t cp = 0;
        const size_t length = DecodeSequence(bytes.substr(i), cp);
        if (length == 0) {
            *out++ = static_cast<char16_t>(0xDC00 + b);  // IsKeptByte
            ++i;
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            i += length;
        } else {
            *out++ = static_cast<char16_t>(cp);
            i += length;
        }
    }
    text.resize(static_cast<size_t>(out - text.data()));
    return text;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    EncodeUtf16(text, [&](unsigned char b) { bytes.push_back(static_cast<char>(b)); });
    return bytes;
}

size_t WriteUtf8(std::u16string_view text, uint8_t* out) {
    uint8_t* const start = out;
    EncodeUtf16(text, [&](unsigned char b) { *out++ = b; });
    return static_cast<size_t>(out - start);
}

size_t Utf8Length(std::u16string_view text) {
    size_t length = 0;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF)
            break;  // pairs and stray bytes: counted by the encoder itself
        length += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    }
    EncodeUtf16(text.substr(i), [&](unsigned char) { ++length; });
    return length;
}

std::string CharacterName(char16_t c) {
    char name[32];
    if (IsKeptByte(c))
        std::snprintf(name, sizeof name, "the byte 0x%02X (not UTF-8)", KeptByte(c));
    else
        std::snprintf(name, sizeof name, "the character U+%04X", static_cast<unsigned>(c));
    return name;
}
