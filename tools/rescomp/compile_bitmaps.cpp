// Bitmaps written as ASCII art (cursors, patterns, small icons, colour icons) and colour tables.
#include <functional>
#include <map>

#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

namespace {

// What each art character stands for. For one-bit images bit 0 is the image bit and
// bit 1 the mask bit; for colour icons the value is the colour index.
using Legend = std::map<char, uint8_t>;

const Legend kBlackWhite = {{'#', 1}, {'.', 0}};
const Legend kMasked = {{'#', 3}, {'o', 2}, {'.', 0}};
const Legend kCursorLegend = {{'#', 3}, {'o', 2}, {'.', 0}, {'x', 1}};

std::string legend_text(const Legend& legend) {
    std::string text;
    for (auto [c, value] : legend) text += c;
    return text;
}

// True for a line holding one word and nothing else: an art row (keywords are checked first).
bool is_art_row(const Line& line) { return line.tokens.size() == 1 && line.tokens[0].kind == TokenKind::Word; }

// An art row's values; false (reported) when its width or a character is wrong.
bool read_art_row(const Line& line, size_t width, const Legend& legend, std::vector<uint8_t>& values,
                  Diagnostics& diagnostics) {
    const std::string& row = line.tokens[0].text;
    if (row.size() != width) {
        diagnostics.error(line.at, "an image row has " + std::to_string(width) + " characters, this one " +
                                       std::to_string(row.size()));
        return false;
    }
    for (char c : row) {
        auto found = legend.find(c);
        if (found == legend.end()) {
            diagnostics.error(line.at, std::string("'") + c + "' is not one of \"" + legend_text(legend) + "\"");
            return false;
        }
        values.push_back(found->second);
    }
    return true;
}

// Packs `bit` of each value, eight values a byte, leftmost in the high bit.
void write_plane(ByteWriter& writer, const std::vector<uint8_t>& values, int bit) {
    for (size_t start = 0; start + 8 <= values.size(); start += 8) {
        unsigned byte = 0;
        for (size_t i = 0; i < 8; ++i) byte = byte << 1 | ((values[start + i] >> bit) & 1);
        writer.u8(byte);
    }
}

// A kind's keyword lines: answers false for a word it does not know.
using KeywordProc = std::function<bool(const std::string&, LineCursor&)>;

// Reads the body: keyword lines go to `keyword`, art rows are collected in order.
bool read_art_body(const ResourceSource& source, size_t width, const Legend& legend, std::vector<uint8_t>& values,
                   std::vector<Location>& row_lines, Diagnostics& diagnostics, const KeywordProc& keyword) {
    bool ok = true;
    for (const Line& line : source.body) {
        LineCursor cursor(line, diagnostics);
        cursor.pos = 1;
        const Token& first = line.tokens[0];
        if (first.kind == TokenKind::Word && keyword && keyword(first.text, cursor)) {
            cursor.finish();
            ok = ok && cursor.ok;
        } else if (is_art_row(line)) {
            ok = read_art_row(line, width, legend, values, diagnostics) && ok;
            row_lines.push_back(line.at);
        } else {
            diagnostics.error(line.at, "expected an image row or a " + type_text(source.type) + " field");
            ok = false;
        }
    }
    return ok;
}

// A body of exactly `rows` art rows of `width` characters, plus keyword lines.
bool read_image(const ResourceSource& source, size_t width, size_t rows, const Legend& legend,
                std::vector<uint8_t>& values, Diagnostics& diagnostics,
                const KeywordProc& keyword = nullptr) {
    std::vector<Location> row_lines;
    bool ok = read_art_body(source, width, legend, values, row_lines, diagnostics, keyword);
    if (ok && row_lines.size() != rows) {
        diagnostics.error(source.at, type_text(source.type) + " needs " + std::to_string(rows) + " image rows, found " +
                                         std::to_string(row_lines.size()));
        return false;
    }
    return ok;
}

bool is_bit_row(const Line& line) {
    return is_art_row(line) && line.tokens[0].text.find_first_not_of("#.") == std::string::npos;
}

}  // namespace

bool read_bit_rows(const std::vector<Line>& body, size_t& index, size_t& width, size_t& height,
                   std::vector<uint8_t>& values, Diagnostics& diagnostics) {
    width = index < body.size() && is_bit_row(body[index]) ? body[index].tokens[0].text.size() : 0;
    height = 0;
    bool ok = true;
    for (; index < body.size() && is_bit_row(body[index]); ++index, ++height)
        ok = read_art_row(body[index], width, kBlackWhite, values, diagnostics) && ok;
    return ok;
}

bool compile_cursor(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    pf::Point hot_spot;
    std::vector<uint8_t> values;
    bool ok = read_image(source, 16, 16, kCursorLegend, values, diagnostics,
                         [&](const std::string& key, LineCursor& cursor) {
                             if (key != "hotspot") return false;
                             hot_spot.v = int16_t(cursor.integer(0, 15, "hot spot v"));
                             hot_spot.h = int16_t(cursor.integer(0, 15, "hot spot h"));
                             return true;
                         });
    if (!ok) return false;
    ByteWriter writer{out.data};
    write_plane(writer, values, 0);
    write_plane(writer, values, 1);
    writer.u16(uint16_t(hot_spot.v));
    writer.u16(uint16_t(hot_spot.h));
    return true;
}

bool compile_small_icon(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    std::vector<uint8_t> values;
    if (!read_image(source, 16, 16, kMasked, values, diagnostics)) return false;
    ByteWriter writer{out.data};
    write_plane(writer, values, 0);
    write_plane(writer, values, 1);
    return true;
}

bool compile_small_icon_list(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    std::vector<uint8_t> values;
    std::vector<Location> row_lines;
    if (!read_art_body(source, 16, kBlackWhite, values, row_lines, diagnostics, nullptr)) return false;
    if (row_lines.empty() || row_lines.size() % 16) {
        diagnostics.error(source.at, "'SICN' holds images of 16 rows each, found " + std::to_string(row_lines.size()) +
                                         " rows");
        return false;
    }
    ByteWriter writer{out.data};
    write_plane(writer, values, 0);
    return true;
}

bool compile_pattern_list(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    std::vector<uint8_t> patterns;    // finished patterns, 8 bytes each
    std::vector<uint8_t> art_values;  // drawn rows not yet packed
    std::vector<Location> row_lines;
    auto pack_drawn = [&] {
        ByteWriter writer{patterns};
        write_plane(writer, art_values, 0);
        art_values.clear();
    };
    bool ok = read_art_body(source, 8, kBlackWhite, art_values, row_lines, diagnostics,
                            [&](const std::string& key, LineCursor& cursor) {
                                if (key != "hex") return false;
                                if (row_lines.size() % 8) cursor.fail("a drawn pattern needs 8 rows");
                                pack_drawn();
                                const Token* token = cursor.peek();
                                size_t before = patterns.size();
                                if (cursor.ok && (!token || !append_hex(*token, patterns) || patterns.size() != before + 8))
                                    cursor.fail("expected 16 hex digits (8 rows) after 'hex'");
                                ++cursor.pos;
                                return true;
                            });
    if (ok && row_lines.size() % 8) {
        diagnostics.error(row_lines.back(), "a drawn pattern needs 8 rows");
        ok = false;
    }
    pack_drawn();
    ByteWriter writer{out.data};
    writer.u16(unsigned(patterns.size() / 8));
    out.data.insert(out.data.end(), patterns.begin(), patterns.end());
    return ok;
}

bool compile_color_icon(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    Legend legend = {{'.', 0x00}, {'#', 0xFF}};
    // Legend lines come before the rows they describe.
    for (const Line& line : source.body) {
        if (line.tokens[0].kind != TokenKind::Word || line.tokens[0].text != "legend") continue;
        LineCursor cursor(line, diagnostics);
        ++cursor.pos;
        const Token* symbol = cursor.peek();
        if (!symbol || symbol->text.size() != 1 || uint8_t(symbol->text[0]) >= 0x80)
            cursor.fail("expected one ASCII character after 'legend' (quote it when it is '#')");
        ++cursor.pos;
        uint8_t index = uint8_t(cursor.integer(0, 255, "colour index"));
        cursor.finish();
        if (!cursor.ok) return false;
        legend[symbol->text[0]] = index;
    }
    std::vector<uint8_t> values;
    if (!read_image(source, 16, 16, legend, values, diagnostics,
                    [](const std::string& key, LineCursor& cursor) {
                        cursor.pos = cursor.line.tokens.size();
                        return key == "legend";
                    }))
        return false;
    out.data = values;
    return true;
}

bool compile_color_table(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    ByteWriter writer{out.data};
    writer.u32(0);
    writer.u16(0);
    writer.u16(uint16_t(int(source.body.size()) - 1));
    uint16_t index = 0;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key != "color") return false;
        writer.u16(index++);
        for (const char* part : {"red", "green", "blue"}) writer.u16(cursor.uint16(part));
        return true;
    });
    if (source.body.size() > 256) {
        diagnostics.error(source.at, "a colour table holds at most 256 colours");
        ok = false;
    }
    return ok;
}

}  // namespace rescomp
