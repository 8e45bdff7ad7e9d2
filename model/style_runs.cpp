// Style runs of text cells and how they follow the cell's format. A run
// table is a 16-bit count, then 20-byte entries: start offset (i32), line
// height (i16), ascent (i16), font (i16), face (u8 and a filler), size (i16),
// colour (three u16).
#include <cstring>

#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/style_run_layout.h"
#include "platform/draw/colour.h"
#include "platform/text/text.h"

namespace {

constexpr uint8_t kSevenBitLimit = 0x80;

struct RunTable {
    uint8_t* runs;     // first entry
    int16_t count;
    const uint8_t* text;
    int32_t text_length;
};

// The run table of a text cell, or a table of no runs.
RunTable run_table(uint8_t* cell) {
    RunTable table{nullptr, 0, _formulaPtr_(cell), _formulaLength_(cell)};
    if (_cellType_(cell) != kCellText || _styleLength_(cell) < 2) return table;
    uint8_t* style = _stylePtr_(cell);
    int16_t count = load_i16(style);
    int16_t room = int16_t((_styleLength_(cell) - 2) / kRunEntrySize);
    table.runs = style + 2;
    table.count = count < room ? count : room;
    return table;
}

uint8_t* run_at(const RunTable& table, int i) { return table.runs + i * kRunEntrySize; }

// The characters of run i: from its start to the next run's start (the last
// run to the end of the text).
bool run_is_seven_bit(const RunTable& table, int i) {
    int32_t start = load_i32(run_at(table, i));
    int32_t end = i + 1 < table.count ? load_i32(run_at(table, i + 1)) : table.text_length;
    if (start < 0) start = 0;
    if (end > table.text_length) end = table.text_length;
    for (int32_t k = start; k < end; ++k)
        if (table.text[k] >= kSevenBitLimit) return false;
    return true;
}

bool text_is_seven_bit(const uint8_t* text, int32_t length) {
    for (int32_t k = 0; k < length; ++k)
        if (text[k] >= kSevenBitLimit) return false;
    return true;
}

int16_t script_of(int16_t font, int16_t default_font) {
    return pf::font_to_script(font == int16_t(kDefaultFontNumber) ? default_font : font);
}

pf::RGBColor colour_of_code(int16_t code) {
    pf::RGBColor colour = pf::kBlackColor;
    pf::index_color(code == 0 ? 1 : code - 1, colour);
    return colour;
}

void set_run_colour(uint8_t* run, const pf::RGBColor& colour) {
    store_u16(run + kRunColour, colour.red);
    store_u16(run + kRunColour + 2, colour.green);
    store_u16(run + kRunColour + 4, colour.blue);
}

// The colour code of an RGB colour: 0 for black, else the first colour-table
// entry that matches exactly (entry + 1), else 2.
uint8_t code_of_colour(const pf::RGBColor& colour) {
    if (colour == pf::kBlackColor) return 0;
    const std::vector<pf::RGBColor>& table = pf::color_table().colors;
    for (size_t i = 0; i < table.size() && i < 256; ++i)
        if (table[i] == colour) return uint8_t(i + 1);
    return 2;
}

}  // namespace

void format_styled_text(uint8_t* cell, const int16_t* font, const int16_t* size, const int16_t* colour,
                        const uint8_t* face, bool force, MemoryGlobals* globals) {
    if (!globals) return;
    RunTable table = run_table(cell);
    for (int i = 0; i < table.count; ++i) {
        uint8_t* run = run_at(table, i);
        if (font) {
            bool same_script = pf::font_to_script(load_i16(run + kRunFont)) == pf::font_to_script(*font);
            if (force || same_script || run_is_seven_bit(table, i)) store_i16(run + kRunFont, *font);
        }
        if (size) store_i16(run + kRunFontSize, *size);
        if (face) run[kRunFace] = *face;
        if (colour) set_run_colour(run, colour_of_code(*colour));
    }
}

MemoryRef _get_style_handle(MemoryGlobals* globals, uint8_t* cell) {
    if (_styleLength_(cell) <= 0) return nullptr;
    return Bytes2Memory(globals, _stylePtr_(cell), 1, _styleLength_(cell));
}

void get_style_format(uint8_t* cell, uint8_t* format) {
    RunTable table = run_table(cell);
    if (table.count < 1) return;
    const uint8_t* run = run_at(table, 0);
    store_u16(format + kFmtFont, uint16_t(load_i16(run + kRunFont)));
    format[kFmtSize] = uint8_t(load_i16(run + kRunFontSize) & 0xFF);
    format[kFmtFace] = run[kRunFace];
    pf::RGBColor colour{load_u16(run + kRunColour), load_u16(run + kRunColour + 2),
                        load_u16(run + kRunColour + 4)};
    format[kFmtTextColour] = code_of_colour(colour);
}

void synchronise_style(MemoryRef layer, const uint8_t* runs, uint8_t* format, bool keep_12) {
    if (!runs || load_i16(runs) < 1) return;
    const uint8_t* run = runs + 2;
    int16_t default_font = Get_Default_Font(layer), default_size = Get_Default_Size(layer);
    int16_t run_font = load_i16(run + kRunFont), run_size = load_i16(run + kRunFontSize);
    uint16_t font = format_font(format);
    int16_t current_font = font == kDefaultFontNumber ? default_font : int16_t(font);
    if (run_font != current_font) store_u16(format + kFmtFont, uint16_t(run_font));
    int16_t current_size = format[kFmtSize] > 200 ? default_size : format[kFmtSize];
    if (run_size != current_size && !(keep_12 && run_size == 12)) format[kFmtSize] = uint8_t(run_size);
}

void SetFormatByte(uint8_t* format, int16_t field, int16_t value, bool clear, bool force,
                   int16_t default_font, int16_t default_size, MemoryGlobals* globals) {
    bool text_cell = format[kFmtCellType] == kCellText;
    bool has_runs = text_cell && _styleLength_(format) > 0;
    bool runs_follow = globals && has_runs;
    switch (field) {
    case kFmtFont: {
        if (force || !globals || !text_cell) {
            SetFormatByte(format, field, value, clear);
        } else if (!has_runs) {
            int16_t current = int16_t(format_font(format));
            bool same_script = script_of(value, default_font) == script_of(current, default_font);
            if (same_script || text_is_seven_bit(_formulaPtr_(format), _formulaLength_(format)))
                SetFormatByte(format, field, value, clear);
        }
        if (runs_follow) {
            int16_t font = value == int16_t(kDefaultFontNumber) ? default_font : value;
            format_styled_text(format, &font, nullptr, nullptr, nullptr, force, globals);
        }
        return;
    }
    case kFmtSize: {
        SetFormatByte(format, field, value, clear);
        int16_t size = value == kLayerDefaultSize ? default_size : value;
        if (runs_follow) format_styled_text(format, nullptr, &size, nullptr, nullptr, true, globals);
        return;
    }
    case kFmtFace: {
        SetFormatByte(format, field, value, clear);
        uint8_t face = format[kFmtFace];
        if (runs_follow) format_styled_text(format, nullptr, nullptr, nullptr, &face, true, globals);
        return;
    }
    case kFmtTextColour: {
        SetFormatByte(format, field, value, clear);
        if (runs_follow) format_styled_text(format, nullptr, nullptr, &value, nullptr, true, globals);
        return;
    }
    default: SetFormatByte(format, field, value, clear);
    }
}
