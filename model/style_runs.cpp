// Style runs of text cells and how they follow the cell's format; a font set
// over a cell that keeps every letter. A run
// table is a 16-bit count, then 20-byte entries: start offset (i32), line
// height (i16), ascent (i16), font (i16), face (u8 and a filler), size (i16),
// colour (three u16).
#include <cstring>
#include <string>
#include <vector>

#include "model/cell_formats.h"
#include "model/cell_letters.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/style_run_layout.h"
#include "model/text_runs.h"
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

pf::RGBColor colour_of_code(int16_t code) {
    pf::RGBColor colour = pf::kBlackColor;
    pf::index_color(code == 0 ? 1 : code - 1, colour);
    return colour;
}

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

namespace {

// A stretch of a text set in one font, and the run entry whose look it keeps
// (none: the cell's).
struct FontPiece {
    int16_t font;
    std::string bytes;
    const uint8_t* entry;
};

class FontPieces {
public:
    explicit FontPieces(int16_t chosen) : chosen_(chosen) {}

    // The words of a run that the chosen font's script spells take that
    // font, the rest keep the run's (pf::pieces_in_script). False when a word
    // does not come back whole in the run's own script.
    bool add_run(std::string_view bytes, int16_t font, const uint8_t* entry) {
        const std::vector<pf::ScriptPiece> pieces =
            pf::pieces_in_script(bytes, pf::font_to_script(font), pf::font_to_script(chosen_));
        for (const pf::ScriptPiece& piece : pieces) add(piece.in_target ? chosen_ : font, piece.bytes, entry);
        return !pieces.empty();
    }

    void keep_run(std::string_view bytes, int16_t font, const uint8_t* entry) { add(font, bytes, entry); }

    const std::vector<FontPiece>& pieces() const { return pieces_; }
    bool any_chosen() const {
        for (const FontPiece& piece : pieces_)
            if (piece.font == chosen_) return true;
        return false;
    }

private:
    void add(int16_t font, std::string_view bytes, const uint8_t* entry) {
        if (!pieces_.empty() && pieces_.back().font == font && pieces_.back().entry == entry)
            pieces_.back().bytes += bytes;
        else
            pieces_.push_back(FontPiece{font, std::string(bytes), entry});
    }

    int16_t chosen_;
    std::vector<FontPiece> pieces_;
};

std::string_view bytes_at(const uint8_t* p, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(p), size_t(length > 0 ? length : 0));
}

// A run entry setting a piece as its own entry did, or as the cell's format.
std::string piece_entry(const FontPiece& piece, int32_t start, const uint8_t* format, int16_t default_size) {
    std::string entry(kRunEntrySize, '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(entry.data());
    if (piece.entry) {
        std::memcpy(bytes, piece.entry, kRunEntrySize);
    } else {
        bytes[kRunFace] = format[kFmtFace];
        store_i16(bytes + kRunFontSize, format[kFmtSize] < kLayerDefaultSize ? format[kFmtSize] : default_size);
        set_run_colour(bytes, colour_of_code(format[kFmtTextColour]));
    }
    store_i32(bytes + kRunStart, start);
    store_i16(bytes + kRunFont, piece.font);
    return entry;
}

// A cell record: `cell`'s header and what precedes its body, then `body` and
// `tail` (a result or a run table).
std::string cell_with(const uint8_t* cell, std::string_view body, std::string_view tail, int16_t style_length) {
    const size_t head = size_t(_formulaPtr_(cell) - cell);
    std::string out(reinterpret_cast<const char*>(cell), head);
    out.append(body).append(tail);
    auto* bytes = reinterpret_cast<uint8_t*>(out.data());
    _SetFormulaLength_(bytes, int16_t(body.size()));
    store_i16(bytes + kFmtStyleLength, style_length);
    _SetCellLength_(bytes, int16_t(out.size()));
    return out;
}

// A text cell set in `font`: its words in the runs the font's script spells
// take it, the rest keep theirs.
std::string text_in_font(const uint8_t* cell, uint16_t font, int16_t chosen, int16_t old_font, int16_t default_size) {
    const std::string_view text = bytes_at(_formulaPtr_(cell), _formulaLength_(cell));
    const std::string_view runs = bytes_at(_stylePtr_(cell), _styleLength_(cell));
    const std::string unchanged(reinterpret_cast<const char*>(cell), size_t(_cellLength_(cell)));
    FontPieces pieces(chosen);
    const std::vector<TextRun> found = text_runs(runs, text.size());
    if (found.empty() && !pieces.add_run(text, old_font, nullptr)) return unchanged;
    for (const TextRun& run : found) {
        const std::string_view bytes = text.substr(run.start, run.end - run.start);
        const int16_t own = run_font(run, old_font);
        if (!pieces.add_run(bytes, own, run.entry)) pieces.keep_run(bytes, own, run.entry);
    }
    if (!pieces.any_chosen()) return unchanged;
    std::string body, table;
    if (found.empty() && pieces.pieces().size() == 1) {
        body = pieces.pieces()[0].bytes;
    } else {
        table.assign(2, '\0');
        store_i16(reinterpret_cast<uint8_t*>(table.data()), int16_t(pieces.pieces().size()));
        for (const FontPiece& piece : pieces.pieces()) {
            table += piece_entry(piece, int32_t(body.size()), cell, default_size);
            body += piece.bytes;
        }
    }
    constexpr size_t kLongestCell = 0x7FFF;
    if (size_t(_formulaPtr_(cell) - cell) + body.size() + table.size() > kLongestCell) return unchanged;
    std::string out = cell_with(cell, body, table, int16_t(table.size()));
    store_u16(reinterpret_cast<uint8_t*>(out.data()) + kFmtFont, font);
    return out;
}

}  // namespace

std::string cell_in_font(const uint8_t* cell, CellPoint where, uint16_t font, MemoryRef layer) {
    const int16_t default_font = Get_Default_Font(layer);
    const int16_t old_font = format_font_in(cell, layer);
    const int16_t chosen = font == kDefaultFontNumber ? default_font : int16_t(font);
    const int16_t from = pf::font_to_script(old_font), to = pf::font_to_script(chosen);
    std::string out(reinterpret_cast<const char*>(cell), size_t(_cellLength_(cell)));
    auto* bytes = reinterpret_cast<uint8_t*>(out.data());
    if (_cellType_(cell) == kCellText) return text_in_font(cell, font, chosen, old_font, Get_Default_Size(layer));
    if (from != to) {
        std::string typed;
        if (_cellType_(cell) == kCellConstant)
            typed = bytes_at(_constTextPtr_(cell), _formulaLength_(cell) - kNumberSlotSize);
        else if (_cellType_(cell) == kCellFormula)
            typed = cell_formula_bytes(cell, where, layer);
        if (pf::script_to_utf8(typed, from) != pf::script_to_utf8(typed, to)) return out;
        if (_cellType_(cell) == kCellFormula && _resultType_(cell) > 0)
            _SetResultType_(bytes, text_result_type(text_result_script(_resultType_(cell), from), to));
    }
    store_u16(bytes + kFmtFont, font);
    return out;
}

std::string cell_in_format(const uint8_t* cell, CellPoint where, const uint8_t* format, MemoryRef layer) {
    std::string out(reinterpret_cast<const char*>(cell), size_t(_cellLength_(cell)));
    auto* bytes = reinterpret_cast<uint8_t*>(out.data());
    const uint16_t font = format_font(cell);
    std::memcpy(bytes + kFmtFont, format + kFmtFont, kFmtLabelLength - kFmtFont);
    bytes[kFmtFlagsB] = format[kFmtFlagsB];
    std::memcpy(bytes + kFmtTextColour, format + kFmtTextColour, kFmtExtent - kFmtTextColour);
    store_u16(bytes + kFmtFont, font);
    const int16_t size = int16_t(format_size_in(format, layer)), colour = format[kFmtTextColour];
    format_styled_text(bytes, nullptr, &size, &colour, &format[kFmtFace], true, GetMemoryGlobals(layer));
    std::string set = cell_in_font(bytes, where, format_font(format), layer);
    const auto* record = reinterpret_cast<const uint8_t*>(set.data());
    if (_cellType_(record) != kCellText || _styleLength_(record) <= 0) return set;
    const std::string_view text = bytes_at(_formulaPtr_(record), _formulaLength_(record));
    const int16_t cell_font = format_font_in(record, layer);
    if (styled_text_utf8(text, bytes_at(_stylePtr_(record), _styleLength_(record)), cell_font) !=
        pf::script_to_utf8(text, pf::font_to_script(cell_font)))
        return set;
    return cell_with(record, text, {}, 0);  // the runs go where the letters do not need them
}
