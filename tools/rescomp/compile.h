// Compiling resource blocks to their binary layouts, and the small readers and
// writers every kind's compiler shares.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"
#include "tools/rescomp/source.h"

namespace rescomp {

// A reference from one resource to another, checked once every file is compiled.
struct Reference {
    Location at;
    pf::FourCC type = 0;
    pf::FourCC alternative_type = 0;  // also satisfied by this type (icons: ics8 or ics#)
    int16_t id = 0;
    int string_index = 0;  // for STR# references: the item that must exist
};

// A name the ids header gives to a number inside a resource: a menu's item,
// or the definition that draws the menu.
struct PartSymbol {
    Location at;
    std::string symbol;
    int16_t number = 0;
    const char* part = "item";
};

struct Compiled {
    Location at;
    pf::FourCC type = 0;
    int16_t id = 0;
    bool has_name = false;
    std::string name;
    std::string symbol;
    std::vector<PartSymbol> part_symbols;  // MENU: its items' and its definition's names
    uint16_t attributes = 0;
    std::vector<uint8_t> data;
    std::vector<Reference> references;
    int string_count = 0;  // STR#: number of items
};

// Big-endian output.
struct ByteWriter {
    std::vector<uint8_t>& out;
    void u8(unsigned value) { out.push_back(uint8_t(value)); }
    void u16(unsigned value) { u8(value >> 8); u8(value); }
    void u32(uint32_t value) { u16(value >> 16); u16(value & 0xFFFF); }
    void rect(const pf::Rect& r) { u16(uint16_t(r.top)); u16(uint16_t(r.left)); u16(uint16_t(r.bottom)); u16(uint16_t(r.right)); }
    void pstring(const std::string& text) { u8(unsigned(text.size())); out.insert(out.end(), text.begin(), text.end()); }
    void pad_to_even() { if (out.size() % 2) u8(0); }
};

// Reads the tokens of one body line in order. The first fault is reported with the
// line's location and clears `ok`; later reads then answer zeros quietly.
struct LineCursor {
    const Line& line;
    Diagnostics& diagnostics;
    size_t pos = 0;
    bool ok = true;

    LineCursor(const Line& l, Diagnostics& d) : line(l), diagnostics(d) {}
    bool at_end() const { return pos >= line.tokens.size(); }
    const Token* peek() const { return at_end() ? nullptr : &line.tokens[pos]; }
    bool peek_word(const char* word) const;
    void fail(const std::string& message);
    // The next token when it is of `kind`, else nullptr, after failing with
    // "expected <expectation>" unless a fault came before.
    const Token* expect(TokenKind kind, const std::string& expectation);

    std::string word(const char* what);
    int64_t integer(int64_t min, int64_t max, const char* what);
    int16_t int16(const char* what) { return int16_t(integer(-32768, 32767, what)); }
    uint16_t uint16(const char* what) { return uint16_t(integer(0, 65535, what)); }
    uint32_t four_char_code(const char* what);  // 'abcd' or a number
    std::string text(const char* what);          // one or more adjacent strings, joined
    std::string pstring(const char* what);       // text of at most 255 bytes
    pf::Rect rect();                             // top left bottom right
    void finish();                               // reports tokens left over
};

// Reads a body of field lines: `field` gets each line's first word and reads the values
// after it, answering false for a word it does not know (reported as unknown).
// Answers false when any line had a fault.
using FieldProc = std::function<bool(const std::string& key, LineCursor& cursor)>;
bool read_field_lines(const ResourceSource& source, Diagnostics& diagnostics, const FieldProc& field);
bool read_field_line(const Line& line, pf::FourCC type, Diagnostics& diagnostics, const FieldProc& field);

// Reads the run of image rows of '#' and '.' starting at body[index], all as wide as the first,
// into one value (0 or 1) per pixel; index ends after the run. False (reported) when a width differs.
bool read_bit_rows(const std::vector<Line>& body, size_t& index, size_t& width, size_t& height,
                   std::vector<uint8_t>& values, Diagnostics& diagnostics);

// A lookup table of names to numbers, for keywords such as kinds and flags.
struct NamedValue {
    const char* name;
    int64_t value;
};
bool find_named(const NamedValue* table, const std::string& name, int64_t& value);
// A name from the table, or a plain number within range.
int64_t named_or_number(LineCursor& cursor, const NamedValue* table, int64_t min, int64_t max, const char* what);

// Appends a token of hex digit pairs ("00FF12"); false when it is not one.
bool append_hex(const Token& token, std::vector<uint8_t>& out);

// Lines "keyword id id ..." as a count and a list of ids, each a reference to `type`.
bool compile_id_list(const ResourceSource& source, const char* keyword, pf::FourCC type, Compiled& out,
                     Diagnostics& diagnostics);

// Compiles a resource block; false when it had errors (already reported).
using CompileProc = bool (*)(const ResourceSource&, Compiled&, Diagnostics&);
CompileProc compiler_for(pf::FourCC type);

bool compile_string_list(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_string(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_opaque(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_version(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_menu(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_menu_bar(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_dialog(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_item_list(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_alert(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_control(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_cursor(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_pattern_list(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_color_table(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_color_icon(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_small_icon(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_small_icon_list(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_picture(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_button(const ResourceSource&, Compiled&, Diagnostics&);
bool compile_button_bar(const ResourceSource&, Compiled&, Diagnostics&);

// The whole bundle from compiled resources (sorted by type and id by the caller).
std::vector<uint8_t> build_bundle(const std::vector<Compiled>& resources);
// C++ source holding the bundle as a byte array, and its header.
std::string bundle_source(const std::vector<uint8_t>& bundle, const std::string& header_name);
std::string bundle_header();
// The header declaring one constant per resource given a symbol, in bundle order.
std::string ids_header(const std::vector<Compiled>& resources);

}  // namespace rescomp
