// Reading the values of a body line, with range checks that report the line.
#include <cstring>

#include "tools/rescomp/compile.h"

namespace rescomp {

void LineCursor::fail(const std::string& message) {
    if (ok) diagnostics.error(line.at, message);
    ok = false;
}

bool LineCursor::peek_word(const char* word) const {
    const Token* token = peek();
    return token && token->kind == TokenKind::Word && token->text == word;
}

const Token* LineCursor::expect(TokenKind kind, const std::string& expectation) {
    const Token* token = peek();
    if (!ok) return nullptr;
    if (!token || token->kind != kind) {
        fail("expected " + expectation);
        return nullptr;
    }
    return token;
}

std::string LineCursor::word(const char* what) {
    const Token* token = expect(TokenKind::Word, what);
    if (!token) return {};
    ++pos;
    return token->text;
}

int64_t LineCursor::integer(int64_t min, int64_t max, const char* what) {
    const Token* token = expect(TokenKind::Number, std::string("a number for ") + what);
    if (!token) return 0;
    if (token->number < min || token->number > max) {
        fail(std::string(what) + " " + token->text + " is out of range " + std::to_string(min) + " to " +
             std::to_string(max));
        return 0;
    }
    ++pos;
    return token->number;
}

uint32_t LineCursor::four_char_code(const char* what) {
    const Token* token = peek();
    if (ok && token && token->kind == TokenKind::FourCharCode) {
        ++pos;
        return uint32_t(token->number);
    }
    return uint32_t(integer(0, 0xFFFFFFFFll, what));
}

std::string LineCursor::text(const char* what) {
    if (!expect(TokenKind::String, std::string("a quoted text for ") + what)) return {};
    std::string joined;
    while (!at_end() && peek()->kind == TokenKind::String) joined += line.tokens[pos++].text;
    return joined;
}

std::string LineCursor::pstring(const char* what) {
    std::string result = text(what);
    if (result.size() > 255) fail(std::string(what) + " is longer than 255 bytes");
    return result;
}

pf::Rect LineCursor::rect() {
    pf::Rect r;
    r.top = int16("top");
    r.left = int16("left");
    r.bottom = int16("bottom");
    r.right = int16("right");
    if (ok && (r.bottom < r.top || r.right < r.left)) fail("rectangle (top left bottom right) is upside down");
    return r;
}

void LineCursor::finish() {
    if (ok && !at_end()) fail("unexpected '" + peek()->text + "'");
}

bool read_field_line(const Line& line, pf::FourCC type, Diagnostics& diagnostics, const FieldProc& field) {
    LineCursor cursor(line, diagnostics);
    std::string key = cursor.word("a field name");
    if (cursor.ok && !field(key, cursor)) cursor.fail("unknown " + type_text(type) + " field '" + key + "'");
    cursor.finish();
    return cursor.ok;
}

bool read_field_lines(const ResourceSource& source, Diagnostics& diagnostics, const FieldProc& field) {
    bool ok = true;
    for (const Line& line : source.body) ok = read_field_line(line, source.type, diagnostics, field) && ok;
    return ok;
}

bool find_named(const NamedValue* table, const std::string& name, int64_t& value) {
    for (; table->name; ++table) {
        if (name == table->name) {
            value = table->value;
            return true;
        }
    }
    return false;
}

int64_t named_or_number(LineCursor& cursor, const NamedValue* table, int64_t min, int64_t max, const char* what) {
    const Token* token = cursor.peek();
    if (cursor.ok && token && token->kind == TokenKind::Word) {
        int64_t value = 0;
        if (find_named(table, token->text, value)) {
            ++cursor.pos;
            return value;
        }
        std::string known;
        for (const NamedValue* entry = table; entry->name; ++entry) known += std::string(" ") + entry->name;
        cursor.fail("unknown " + std::string(what) + " '" + token->text + "' (known:" + known + ")");
        return 0;
    }
    return cursor.integer(min, max, what);
}

}  // namespace rescomp
