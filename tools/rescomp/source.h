// The resource compiler's view of the source text: tokens, resource blocks and
// the diagnostics that name file and line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace rescomp {

struct Location {
    std::string file;
    int line = 0;
};

// Errors are collected, printed as "file:line: error: message", and fail the build.
struct Diagnostics {
    std::vector<std::string> messages;
    void error(const Location& at, const std::string& message);
    bool failed() const { return !messages.empty(); }
};

enum class TokenKind { Word, Number, String, FourCharCode, OpenBrace, CloseBrace };

struct Token {
    TokenKind kind = TokenKind::Word;
    std::string text;    // word as written; string contents in Mac Roman
    int64_t number = 0;  // number value; four-character code value
};

// One line of a resource body, already split into tokens.
struct Line {
    Location at;
    std::vector<Token> tokens;
};

// A resource as written: header fields and body lines.
struct ResourceSource {
    Location at;
    pf::FourCC type = 0;
    int16_t id = 0;
    std::string name;  // Mac Roman; empty for none
    bool has_name = false;
    std::string symbol;  // the C++ constant naming the id in the ids header; empty for none
    uint16_t attributes = 0;
    std::vector<Line> body;
};

// Splits one source line into tokens; false (with an error) on bad syntax.
bool tokenize_line(const std::string& text, const Location& at, std::vector<Token>& out,
                   Diagnostics& diagnostics);

// Reads a whole resource file into resource blocks.
void parse_resource_file(const std::string& path, const std::string& text,
                         std::vector<ResourceSource>& out, Diagnostics& diagnostics);

// A C++ constant name of the form kName, as `symbol` takes it.
bool is_symbol(const std::string& word);

// "'STR '" style spelling of a type for messages.
std::string type_text(pf::FourCC type);

}  // namespace rescomp
