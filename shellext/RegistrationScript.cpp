#include "RegistrationScript.h"

#include <cctype>
#include <optional>

namespace {

// Deeper nesting than any registration needs is refused rather than recursed into.
constexpr int kMaxKeyDepth = 32;

enum class TokenKind { Word, Quoted, OpenBrace, CloseBrace, Equals, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // Word and Quoted: the text, quotes removed, not yet expanded
    int line = 1;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    // Returns the next token; an unterminated quote sets `error` and returns End.
    Token Next(std::string& error) {
        SkipBlanks();
        Token token;
        token.line = line_;
        if (pos_ == text_.size())
            return token;
        const char c = text_[pos_];
        if (c == '{' || c == '}' || c == '=') {
            ++pos_;
            token.kind = c == '{' ? TokenKind::OpenBrace : c == '}' ? TokenKind::CloseBrace : TokenKind::Equals;
            return token;
        }
        if (c == '\'')
            return ReadQuoted(token, error);
        token.kind = TokenKind::Word;
        while (pos_ < text_.size() && !IsDelimiter(text_[pos_]))
            token.text += text_[pos_++];
        return token;
    }

private:
    static bool IsDelimiter(char c) {
        return std::isspace(static_cast<unsigned char>(c)) || c == '{' || c == '}' || c == '=' || c == '\'';
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
    }

    Token ReadQuoted(Token& token, std::string& error) {
        ++pos_;  // opening quote
        for (;;) {
            if (pos_ == text_.size()) {
                error = "line " + std::to_string(token.line) + ": quoted text is not closed";
                return Token{TokenKind::End, {}, token.line};
            }
            const char c = text_[pos_++];
            if (c == '\'') {
                if (pos_ < text_.size() && text_[pos_] == '\'') {
                    token.text += '\'';
                    ++pos_;
                    continue;
                }
                token.kind = TokenKind::Quoted;
                return token;
            }
            if (c == '\n')
                ++line_;
            token.text += c;
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

class Parser {
public:
    Parser(std::string_view text, const std::map<std::string, std::string>& replacements)
        : tokens_(text), replacements_(replacements) {}

    ScriptParseResult Parse() {
        ScriptParseResult result;
        result.ok = ParseRoots(result.roots);
        if (!result.ok)
            result.error = error_;
        return result;
    }

private:
    Token Next() {
        if (peeked_) {
            Token token = std::move(*peeked_);
            peeked_.reset();
            return token;
        }
        return tokens_.Next(error_);
    }

    const Token& Peek() {
        if (!peeked_)
            peeked_ = tokens_.Next(error_);
        return *peeked_;
    }

    bool Fail(int line, const std::string& message) {
        if (error_.empty())  // the tokenizer's own message comes first
            error_ = "line " + std::to_string(line) + ": " + message;
        return false;
    }

    bool ParseRoots(std::vector<ScriptRoot>& roots) {
        for (;;) {
            Token token = Next();
            if (token.kind == TokenKind::End)
                return error_.empty();
            if (token.kind != TokenKind::Word)
                return Fail(token.line, "expected a hive name such as HKCR");
            ScriptRoot& root = roots.emplace_back();
            root.name = token.text;
            if (!Expect(TokenKind::OpenBrace, "'{' after " + root.name) || !ParseKeys(root.keys, nullptr, 1))
                return false;
        }
    }

    // Reads the keys and named values of a block up to its closing brace; named values belong
    // to `owner`, which is null directly under a hive.
    bool ParseKeys(std::vector<ScriptKey>& keys, ScriptKey* owner, int depth) {
        if (depth > kMaxKeyDepth)
            return Fail(Peek().line, "keys are nested too deeply");
        for (;;) {
            Token token = Next();
            if (token.kind == TokenKind::CloseBrace)
                return true;
            if (token.kind == TokenKind::End)
                return Fail(token.line, "'}' is missing at the end of the script");
            if (token.kind == TokenKind::Word && EqualsIgnoringCase(token.text, "val")) {
                if (!owner)
                    return Fail(token.line, "a named value needs a key to belong to");
                if (!ParseNamedValue(*owner))
                    return false;
                continue;
            }
            ScriptKey& key = keys.emplace_back();
            if (!ParseKey(std::move(token), key, depth))
                return false;
        }
    }

    bool ParseKey(Token token, ScriptKey& key, int depth) {
        if (token.kind == TokenKind::Word && EqualsIgnoringCase(token.text, "Shared")) {
            key.shared = true;
            token = Next();
        }
        if (token.kind == TokenKind::Word && EqualsIgnoringCase(token.text, "ForceRemove")) {
            key.mark = KeyMark::ForceRemove;
            token = Next();
        } else if (token.kind == TokenKind::Word && EqualsIgnoringCase(token.text, "NoRemove")) {
            key.mark = KeyMark::NoRemove;
            token = Next();
        } else if (token.kind == TokenKind::Word && EqualsIgnoringCase(token.text, "Claim")) {
            key.mark = KeyMark::Claim;
            token = Next();
        }
        if (!ReadName(token, key.name, "a key name"))
            return false;
        if (Peek().kind == TokenKind::Equals) {
            Next();
            ScriptValue& value = key.values.emplace_back();
            if (!ParseStringData(value.data))
                return false;
        }
        if (Peek().kind == TokenKind::OpenBrace) {
            Next();
            return ParseKeys(key.subkeys, &key, depth + 1);
        }
        return error_.empty();
    }

    bool ParseNamedValue(ScriptKey& owner) {
        ScriptValue value;
        if (!ReadName(Next(), value.name, "a value name") || !Expect(TokenKind::Equals, "'=' after the value name") ||
            !ParseStringData(value.data))
            return false;
        owner.values.push_back(std::move(value));
        return true;
    }

    // "s 'text'": the only value type this server writes.
    bool ParseStringData(std::string& data) {
        Token type = Next();
        if (type.kind != TokenKind::Word || !EqualsIgnoringCase(type.text, "s"))
            return Fail(type.line, "expected the value type s (string)");
        Token text = Next();
        if (text.kind != TokenKind::Quoted)
            return Fail(text.line, "expected quoted text after s");
        return Expand(text, data);
    }

    bool ReadName(const Token& token, std::string& name, const std::string& what) {
        if (token.kind != TokenKind::Word && token.kind != TokenKind::Quoted)
            return Fail(token.line, "expected " + what);
        if (!Expand(token, name))
            return false;
        if (name.empty())
            return Fail(token.line, what + " is empty");
        return true;
    }

    bool Expect(TokenKind kind, const std::string& what) {
        Token token = Next();
        if (token.kind != kind)
            return Fail(token.line, "expected " + what);
        return true;
    }

    // Replaces every %NAME% of the token's text by its replacement and %% by %.
    bool Expand(const Token& token, std::string& out) {
        out.clear();
        const std::string& text = token.text;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%') {
                out += text[i];
                continue;
            }
            const size_t close = text.find('%', i + 1);
            if (close == std::string::npos)
                return Fail(token.line, "'%' without its closing '%' in \"" + text + "\"");
            const std::string name = text.substr(i + 1, close - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                const auto found = replacements_.find(name);
                if (found == replacements_.end())
                    return Fail(token.line, "no replacement for %" + name + "%");
                out += found->second;
            }
            i = close;
        }
        return true;
    }

    Tokenizer tokens_;
    const std::map<std::string, std::string>& replacements_;
    std::optional<Token> peeked_;
    std::string error_;
};

}  // namespace

ScriptParseResult ParseRegistrationScript(std::string_view text,
                                          const std::map<std::string, std::string>& replacements) {
    return Parser(text, replacements).Parse();
}
