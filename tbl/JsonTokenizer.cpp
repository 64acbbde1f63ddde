#include "JsonTokenizer.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value of the four hex digits at raw[at] (0 for what is not four hex digits).
unsigned Hex4(std::string_view raw, size_t at) {
    unsigned code = 0;
    for (size_t k = 0; k < 4; ++k) {
        const int digit = at + k < raw.size() ? HexValue(raw[at + k]) : -1;
        if (digit < 0)
            return 0;
        code = code * 16 + static_cast<unsigned>(digit);
    }
    return code;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

constexpr unsigned StrayByte = 0xFFFFFFFF;

// The character of well-formed UTF-8 at `text[i]`, advancing i; for a byte that starts no
// well-formed sequence, StrayByte, and i moves one byte.
unsigned NextCharacter(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned first = byte(i);
    const size_t length = first >= 0xF0 && first <= 0xF4 ? 4 : first >= 0xE0 ? 3 : first >= 0xC2 && first < 0xE0 ? 2 : 1;
    if (first < 0x80) {
        ++i;
        return first;
    }
    if (length == 1 || i + length > text.size()) {
        ++i;
        return StrayByte;
    }
    unsigned code = first & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return StrayByte;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return StrayByte;
    }
    i += length;
    return code;
}

void AppendEscape(std::string& out, unsigned unit, bool upperHex) {
    const char* digits = upperHex ? "0123456789ABCDEF" : "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(unit >> shift) & 0xF];
}

}  // namespace

JsonTokenizer::JsonTokenizer(std::string_view text, size_t start) : text_(text), pos_(start) {}

void JsonTokenizer::SkipWhitespace() {
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '\n')
            ++line_;
        else if (c != ' ' && c != '\t' && c != '\r')
            return;
        ++pos_;
    }
}

bool JsonTokenizer::Fail(const std::string& what, std::string& error) const {
    error = "broken JSON at line " + std::to_string(line_) + ": " + what;
    return false;
}

bool JsonTokenizer::Next(JsonToken& token, std::string& error) {
    for (;;) {
        SkipWhitespace();
        token.Line = line_;
        token.Begin = pos_;
        if (pos_ == text_.size()) {
            if (expect_ != Expect::Done)
                return Fail("the file ends early", error);
            token.Kind = JsonTokenKind::End;
            token.End = pos_;
            return true;
        }
        const char c = text_[pos_];
        switch (expect_) {
        case Expect::Done:
            return Fail("text after the end of the JSON value", error);
        case Expect::ValueOrClose:
            if (c == ']')
                return Close(c, token, error);
            return ReadValue(token, error);
        case Expect::Value:
            return ReadValue(token, error);
        case Expect::NameOrClose:
        case Expect::Name:
            if (c == '}' && expect_ == Expect::NameOrClose)
                return Close(c, token, error);
            if (c != '"')
                return Fail("expected a name in quotes", error);
            if (!ReadString(token, error))
                return false;
            token.Kind = JsonTokenKind::Name;
            SkipWhitespace();
            if (pos_ == text_.size() || text_[pos_] != ':')
                return Fail("expected ':' after a name", error);
            ++pos_;
            expect_ = Expect::Value;
            return true;
        case Expect::CommaOrClose:
            if (c == ',') {
                ++pos_;
                expect_ = open_.back() == '[' ? Expect::Value : Expect::Name;
                continue;
            }
            if (c == ']' || c == '}')
                return Close(c, token, error);
            return Fail(std::string("expected ',' or '") + (open_.back() == '[' ? ']' : '}') + "'", error);
        }
    }
}

bool JsonTokenizer::Close(char bracket, JsonToken& token, std::string& error) {
    const char opening = bracket == ']' ? '[' : '{';
    if (open_.back() != opening)
        return Fail(std::string("'") + bracket + "' closes a '" + open_.back() + "'", error);
    open_.pop_back();
    token.Kind = bracket == ']' ? JsonTokenKind::EndArray : JsonTokenKind::EndObject;
    token.End = ++pos_;
    AfterValue();
    return true;
}

bool JsonTokenizer::ReadValue(JsonToken& token, std::string& error) {
    const char c = text_[pos_];
    if (c == '[' || c == '{') {
        open_.push_back(c);
        token.Kind = c == '[' ? JsonTokenKind::BeginArray : JsonTokenKind::BeginObject;
        token.End = ++pos_;
        expect_ = c == '[' ? Expect::ValueOrClose : Expect::NameOrClose;
        return true;
    }
    if (c == '"') {
        if (!ReadString(token, error))
            return false;
    } else if (c == '-' || IsDigit(c)) {
        if (!ReadNumber(token, error))
            return false;
    } else {
        const std::string_view rest = text_.substr(pos_);
        const std::string_view literal = rest.starts_with("true") ? "true" : rest.starts_with("false") ? "false"
                                         : rest.starts_with("null") ? "null" : "";
        if (literal.empty())
            return Fail(std::string("unexpected character '") + c + "'", error);
        token.Kind = JsonTokenKind::Literal;
        token.End = pos_ += literal.size();
    }
    AfterValue();
    return true;
}

bool JsonTokenizer::ReadHex4(size_t at, unsigned& code) const {
    if (at + 4 > text_.size())
        return false;
    code = 0;
    for (size_t k = 0; k < 4; ++k) {
        const int digit = HexValue(text_[at + k]);
        if (digit < 0)
            return false;
        code = code * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

bool JsonTokenizer::ReadString(JsonToken& token, std::string& error) {
    token.Kind = JsonTokenKind::String;
    token.Begin = ++pos_;
    for (;;) {
        if (pos_ >= text_.size())
            return Fail("a string is not closed", error);
        const auto c = static_cast<unsigned char>(text_[pos_]);
        if (c == '"')
            break;
        if (c < 0x20)
            return Fail("a control character (a line end, say) inside a string; write it as an escape such as \\n", error);
        if (c >= 0x80)
            sawRawNonAscii_ = true;
        if (c != '\\') {
            ++pos_;
            continue;
        }
        if (pos_ + 1 >= text_.size())
            return Fail("a string is not closed", error);
        const char escaped = text_[pos_ + 1];
        if (escaped != 'u') {
            if (std::string_view("\"\\/bfnrt").find(escaped) == std::string_view::npos)
                return Fail(std::string("unknown escape \\") + escaped + " in a string", error);
            pos_ += 2;
            continue;
        }
        unsigned code = 0;
        if (!ReadHex4(pos_ + 2, code))
            return Fail("an escape \\u without four hex digits", error);
        for (size_t k = 2; k < 6; ++k)
            sawUpperHex_ = sawUpperHex_ || (text_[pos_ + k] >= 'A' && text_[pos_ + k] <= 'F');
        sawEscapedNonAscii_ = sawEscapedNonAscii_ || code >= 0x80;
        pos_ += 6;
        if (code >= 0xDC00 && code <= 0xDFFF)
            return Fail("a low surrogate escape without a high one before it", error);
        if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (pos_ + 1 >= text_.size() || text_[pos_] != '\\' || text_[pos_ + 1] != 'u' || !ReadHex4(pos_ + 2, low) ||
                low < 0xDC00 || low > 0xDFFF)
                return Fail("a high surrogate escape without a low one after it", error);
            pos_ += 6;
        }
    }
    token.End = pos_++;
    return true;
}

bool JsonTokenizer::ReadNumber(JsonToken& token, std::string& error) {
    token.Kind = JsonTokenKind::Number;
    const auto digits = [&] {
        const size_t from = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_]))
            ++pos_;
        return pos_ > from;
    };
    const auto at = [&](char c) { return pos_ < text_.size() && text_[pos_] == c; };
    if (at('-'))
        ++pos_;
    if (at('0'))
        ++pos_;
    else if (!digits())
        return Fail("a number without digits", error);
    if (at('.')) {
        ++pos_;
        if (!digits())
            return Fail("a number without digits after its '.'", error);
    }
    if (at('e') || at('E')) {
        ++pos_;
        if (at('+') || at('-'))
            ++pos_;
        if (!digits())
            return Fail("a number without digits in its exponent", error);
    }
    token.End = pos_;
    return true;
}

std::string DecodeJsonString(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 >= raw.size()) {
            text += raw[i];
            continue;
        }
        const char escaped = raw[++i];
        switch (escaped) {
        case 'b': text += '\b'; break;
        case 'f': text += '\f'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case 'u': {
            unsigned code = Hex4(raw, i + 1);
            i += 4;
            if (code >= 0xD800 && code <= 0xDBFF && raw.substr(i + 1, 2) == "\\u") {
                const unsigned low = Hex4(raw, i + 3);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    i += 6;
                }
            }
            AppendUtf8(text, code);
            break;
        }
        default: text += escaped; break;  // " \ /
        }
    }
    return text;
}

std::string EncodeJsonString(std::string_view text, bool escapeNonAscii, bool upperHex) {
    std::string raw;
    raw.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size();) {
        const size_t from = i;
        const unsigned code = NextCharacter(text, i);
        const std::string_view shortForm = code == '"'    ? "\\\""
                                           : code == '\\' ? "\\\\"
                                           : code == '\n' ? "\\n"
                                           : code == '\r' ? "\\r"
                                           : code == '\t' ? "\\t"
                                           : code == '\b' ? "\\b"
                                           : code == '\f' ? "\\f"
                                                          : "";
        if (!shortForm.empty())
            raw += shortForm;
        else if (code < 0x20)
            AppendEscape(raw, code, upperHex);
        else if (code == StrayByte || code < 0x80 || !escapeNonAscii)
            raw.append(text.substr(from, i - from));
        else if (code < 0x10000)
            AppendEscape(raw, code, upperHex);
        else {
            AppendEscape(raw, 0xD800 + ((code - 0x10000) >> 10), upperHex);
            AppendEscape(raw, 0xDC00 + ((code - 0x10000) & 0x3FF), upperHex);
        }
    }
    return raw;
}
