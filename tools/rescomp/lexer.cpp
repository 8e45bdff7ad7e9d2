// Tokens of a source line: words, numbers, "strings" (UTF-8 in, Mac Roman out),
// 'four-character codes', braces, and "# " comments.
#include <cstdio>

#include "platform/text/mac_roman.h"
#include "tools/rescomp/source.h"

namespace rescomp {

void Diagnostics::error(const Location& at, const std::string& message) {
    messages.push_back(at.file + ":" + std::to_string(at.line) + ": error: " + message);
}

std::string type_text(pf::FourCC type) {
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) text += char((type >> shift) & 0xFF);
    return text + "'";
}

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text starting after the opening quote; pos ends after the closing quote.
bool read_quoted(const std::string& line, size_t& pos, char quote, const Location& at, std::string& out,
                 Diagnostics& diagnostics) {
    while (pos < line.size() && line[pos] != quote) {
        if (line[pos] == '\\') {
            if (pos + 1 >= line.size()) break;
            char escaped = line[pos + 1];
            pos += 2;
            switch (escaped) {
                case 'n': out += '\n'; continue;
                case 'r': out += '\r'; continue;
                case 't': out += '\t'; continue;
                case '\\': case '"': case '\'': out += escaped; continue;
                case 'x': {
                    int high = pos < line.size() ? hex_digit(line[pos]) : -1;
                    int low = pos + 1 < line.size() ? hex_digit(line[pos + 1]) : -1;
                    if (high < 0 || low < 0) {
                        diagnostics.error(at, "\\x needs two hex digits");
                        return false;
                    }
                    out += char(high * 16 + low);
                    pos += 2;
                    continue;
                }
                default:
                    diagnostics.error(at, std::string("unknown escape \\") + escaped);
                    return false;
            }
        }
        char32_t code_point = 0;
        if (!pf::decode_utf8(line, pos, code_point)) {
            diagnostics.error(at, "malformed UTF-8 in text");
            return false;
        }
        unsigned char mac_roman = 0;
        if (!pf::unicode_to_mac_roman(code_point, mac_roman)) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "U+%04X", unsigned(code_point));
            diagnostics.error(at, std::string("character ") + hex + " has no Mac Roman form");
            return false;
        }
        out += char(mac_roman);
    }
    if (pos >= line.size()) {
        diagnostics.error(at, std::string("unterminated ") + (quote == '"' ? "text" : "four-character code"));
        return false;
    }
    ++pos;
    return true;
}

bool parse_number(const std::string& word, int64_t& value) {
    size_t pos = word[0] == '-' ? 1 : 0;
    bool hex = word.size() > pos + 2 && word[pos] == '0' && (word[pos + 1] == 'x' || word[pos + 1] == 'X');
    if (hex) pos += 2;
    if (pos >= word.size() || word.size() - pos > 12) return false;
    int64_t result = 0;
    for (; pos < word.size(); ++pos) {
        int digit = hex ? hex_digit(word[pos]) : (word[pos] >= '0' && word[pos] <= '9' ? word[pos] - '0' : -1);
        if (digit < 0) return false;
        result = result * (hex ? 16 : 10) + digit;
    }
    value = word[0] == '-' ? -result : result;
    return true;
}

}  // namespace

bool tokenize_line(const std::string& line, const Location& at, std::vector<Token>& out,
                   Diagnostics& diagnostics) {
    size_t pos = 0;
    while (true) {
        while (pos < line.size() && is_space(line[pos])) ++pos;
        if (pos >= line.size()) return true;
        char c = line[pos];
        if (c == '#' && (pos + 1 == line.size() || is_space(line[pos + 1]))) return true;
        Token token;
        if (c == '"' || c == '\'') {
            ++pos;
            if (!read_quoted(line, pos, c, at, token.text, diagnostics)) return false;
            if (c == '\'') {
                if (token.text.size() != 4) {
                    diagnostics.error(at, "a four-character code needs exactly four characters");
                    return false;
                }
                token.kind = TokenKind::FourCharCode;
                for (unsigned char b : token.text) token.number = (token.number << 8) | b;
            } else {
                token.kind = TokenKind::String;
            }
        } else if (c == '{' || c == '}') {
            token.kind = c == '{' ? TokenKind::OpenBrace : TokenKind::CloseBrace;
            token.text = c;
            ++pos;
        } else {
            size_t end = pos;
            while (end < line.size() && !is_space(line[end]) && line[end] != '"' && line[end] != '{' &&
                   line[end] != '}')
                ++end;
            token.text = line.substr(pos, end - pos);
            token.kind = parse_number(token.text, token.number) ? TokenKind::Number : TokenKind::Word;
            pos = end;
        }
        out.push_back(std::move(token));
    }
}

}  // namespace rescomp
