#pragma once

// A pull tokenizer for JSON text (RFC 8259) that keeps where each token lies in the bytes.
//
// It checks the grammar as it goes with a stack of open containers, not recursion, so any
// depth of nesting is safe. Numbers are kept as their raw text, so any number is accepted.
// Strings are checked (escapes, surrogate pairs, no raw control characters) but not decoded:
// DecodeJsonString does that for the strings a caller wants.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class JsonTokenKind { BeginArray, EndArray, BeginObject, EndObject, Name, String, Number, Literal, End };

struct JsonToken {
    JsonTokenKind Kind = JsonTokenKind::End;
    size_t Begin = 0;  // a string or name: just after its opening quote; else the token's first byte
    size_t End = 0;    // a string or name: at its closing quote; else just after the token
    size_t Line = 1;   // the line the token starts on, from 1
};

class JsonTokenizer {
public:
    // Tokenizes `text` from byte `start` (after a byte-order mark, say); `text` must outlive it.
    JsonTokenizer(std::string_view text, size_t start);

    // The next token; after the last one, End. False with `error` ("line 3: ...") for text that
    // is not JSON; the tokenizer then stays at the fault.
    bool Next(JsonToken& token, std::string& error);

    // How many arrays and objects are open.
    size_t Depth() const { return open_.size(); }

    // Whether a string so far held a byte above 0x7F as it is, or an escape \uXXXX above U+007F.
    bool SawRawNonAscii() const { return sawRawNonAscii_; }
    bool SawEscapedNonAscii() const { return sawEscapedNonAscii_; }
    // Whether an escape \uXXXX so far wrote a hex digit as an upper-case letter.
    bool SawUpperHex() const { return sawUpperHex_; }

private:
    enum class Expect { Value, ValueOrClose, Name, NameOrClose, CommaOrClose, Done };

    void SkipWhitespace();
    bool Fail(const std::string& what, std::string& error) const;
    bool Close(char bracket, JsonToken& token, std::string& error);
    bool ReadValue(JsonToken& token, std::string& error);
    bool ReadString(JsonToken& token, std::string& error);
    bool ReadNumber(JsonToken& token, std::string& error);
    bool ReadHex4(size_t at, unsigned& code) const;
    void AfterValue() { expect_ = open_.empty() ? Expect::Done : Expect::CommaOrClose; }

    std::string_view text_;
    size_t pos_;
    size_t line_ = 1;
    Expect expect_ = Expect::Value;
    std::vector<char> open_;  // '[' or '{' for each open container
    bool sawRawNonAscii_ = false;
    bool sawEscapedNonAscii_ = false;
    bool sawUpperHex_ = false;
};

// The text of a string token's raw bytes (between the quotes) with its escapes decoded to UTF-8;
// the bytes must have passed the tokenizer.
std::string DecodeJsonString(std::string_view raw);

// `text` (UTF-8) as the bytes between the quotes of a JSON string: quote, backslash and control
// characters escaped (\n, \t, ... or \u00XX), and with `escapeNonAscii` every character above
// U+007F as \uXXXX (a surrogate pair above U+FFFF), hex digits in upper case if `upperHex`.
std::string EncodeJsonString(std::string_view text, bool escapeNonAscii, bool upperHex);
