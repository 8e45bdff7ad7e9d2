// Reading SYLK into a layer. Cells are collected and stored in one go at the
// end, sorted by position, so records may come in any order; an "F" record
// given for a position before or after its "C" record formats that cell.
#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "core/number_text.h"
#include "files/entry_cells.h"
#include "files/entry_script.h"
#include "files/sylk.h"
#include "files/sylk_format.h"
#include "files/sylk_formula.h"
#include "files/sylk_text.h"
#include "files/text_encoding.h"
#include "files/text_exchange.h"
#include "formula/error_values.h"
#include "formula/reference_text.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/memory/memory.h"
#include "platform/resources/resources.h"
#include "platform/text/scripts.h"

namespace {

constexpr uint16_t kNoFont = kDefaultFontNumber;
constexpr int kSylkFaceBold = 1, kSylkFaceItalic = 2, kSylkFaceUnderline = 4, kSylkFaceOutline = 8, kSylkFaceShadow = 16;
constexpr uint8_t kBorderStyle = 2;
constexpr uint8_t kFillPattern = 3;
constexpr int kMaxLayerFontSize = 200;
constexpr int32_t kMostSylkDecimals = 15;

struct SylkFont {
    std::string name;
    uint16_t number;
    int16_t size;  // -1 none
    uint8_t face;
};

// A format waiting for the cell of its position.
struct PendingFormat {
    CellFormat format;
    bool number = false;  // a number format was given
    bool style = false;   // a style was given
    bool any() const { return number || style; }
};

struct StoredCell {
    uint32_t key;  // row << 16 | column
    uint32_t order;
    uint32_t offset;  // in the reader's cells
    uint32_t length;
};

// Calls visit(cell, row) for each cell of the row records in [start, end).
template <typename Visit>
void for_each_cell(uint8_t* start, const uint8_t* end, Visit visit) {
    for (uint8_t* row = start; row < end; row += _RowLength_(row))
        for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            visit(cell, _RowID_(row));
}

uint32_t key_of(int32_t row, int32_t column) { return uint32_t(row) << 16 | uint32_t(column); }

struct SylkReader {
    MemoryRef layer;
    int32_t row = -1, column = 0;
    PendingFormat pending;
    std::vector<int16_t> pictures;
    std::vector<SylkFont> fonts;
    bool layer_font_given = false;     // the file names the layer's default font ("F" record, "N" field)
    std::map<uint32_t, PendingFormat> formats_ahead;
    // The cells in the order read, in row records: the store itself when the
    // file gives them in order, once for each position, with no format after
    // its cell.
    CellBlockRows cells;
    uint32_t last_key = 0;
    bool in_order = true;
    bool dated = false;  // a cell read has a format that shows a date
    // The date systems the file names (0 the 1900 system, 4 the 1904 system,
    // -1 none): that of its serials (the options record), and that of the
    // workbook this program wrote the file from (the ID record; the options
    // record in files written before).
    int16_t date_system = -1, book_date_system = -1;
    bool from_other_program = false;  // the ID record names another program
    bool stopped = false;      // by the user, with Command-period
    ImportReport losses;       // what could not be kept (formulas kept as values or text, cells past the grid)
    std::string cell_bytes;    // the cell being built, its room kept from cell to cell
    SylkSpelling spelling;     // the file's encoding, and what its cells' scripts could not spell
    std::string roman_line, spelled_expression;  // texts converted from UTF-8
    std::string spelled_runs;  // of a value in several scripts
};

void reset_pending(SylkReader& r) {
    GetDefaultFormat(r.pending.format.bytes);
    r.pending.number = r.pending.style = false;
}

// The two parts an "F" record gives a cell: its number format (code,
// alignment, decimals, the flags that shape the number) and its style (font, size, face, colours,
// pattern, borders).
void copy_number_part(uint8_t* to, const uint8_t* from) {
    for (int field : {kFmtCode, kFmtAlign, kFmtDecimals, kFmtFlagsB}) to[field] = from[field];
    to[kFmtFlagsA] = uint8_t((to[kFmtFlagsA] & ~kSylkNumberFlagsA) | (from[kFmtFlagsA] & kSylkNumberFlagsA));
}

void copy_style_part(uint8_t* to, const uint8_t* from) {
    std::memcpy(to + kFmtFont, from + kFmtFont, 3);
    to[kFmtFace] = from[kFmtFace];
    std::memcpy(to + kFmtTextColour, from + kFmtTextColour, 10);
}

// The parts `later` gives replace those of `format`.
void apply_given_parts(uint8_t* format, const PendingFormat& later) {
    if (later.number) copy_number_part(format, later.format.bytes);
    if (later.style) copy_style_part(format, later.format.bytes);
}

// The pending format waits for a cell at the current position; one given
// before for the same position keeps the parts this one leaves open.
void set_aside_pending(SylkReader& r) {
    if (r.pending.any() && r.row >= 0 && r.row <= kLastCell && r.column >= 0 && r.column <= kLastCell) {
        auto [entry, added] = r.formats_ahead.try_emplace(key_of(r.row, r.column), r.pending);
        if (!added) {
            apply_given_parts(entry->second.format.bytes, r.pending);
            entry->second.number = entry->second.number || r.pending.number;
            entry->second.style = entry->second.style || r.pending.style;
        }
    }
    reset_pending(r);
}

bool set_position(SylkReader& r, const SylkField& f) {
    int32_t n = 0;
    if (!read_integer(f.value, &n)) return false;
    if (f.letter == 'Y') r.row = n - 1;
    else r.column = n - 1;
    return true;
}

// ---- "P" records -------------------------------------------------------------

int16_t picture_item(std::string_view text) {
    for (int16_t i = 1; i <= picture_count(); ++i)
        if (pf::get_indexed_string(kSylkPictureStrings, i) == text) return i;
    return 0;
}

uint8_t face_of_letters(std::string_view letters) {
    uint8_t face = 0;
    for (char c : letters) {
        switch (c) {
        case 'B': face |= kSylkFaceBold; break;
        case 'I': face |= kSylkFaceItalic; break;
        case 'U': face |= kSylkFaceUnderline; break;
        case 'O': face |= kSylkFaceOutline; break;
        case 'H': face |= kSylkFaceShadow; break;
        default: break;
        }
    }
    return face;
}

void read_font(SylkReader& r, std::string_view rest) {
    SylkField f;
    next_field(rest, f);
    SylkFont font{unescape_value(f.value, true), kNoFont, -1, 0};
    bool found = false;
    int16_t number = model_services.number_of_font_name(font.name, &found);
    if (found && number != 0) font.number = uint16_t(number);
    SylkField more;
    int32_t twentieths = 0;
    while (next_field(rest, more)) {
        if (more.letter == 'M' && read_integer(more.value, &twentieths)) font.size = int16_t(twentieths / 20);
        else if (more.letter == 'S') font.face = face_of_letters(more.value);
    }
    r.fonts.push_back(std::move(font));
}

void read_p_record(SylkReader& r, std::string_view rest) {
    if (rest.size() >= 2 && rest[1] == 'P') {
        r.pictures.push_back(picture_item(rest.substr(2)));
    } else if (rest.size() >= 2 && (rest[1] == 'F' || rest[1] == 'E')) {
        read_font(r, rest);
    }
}

// ---- "F" records -------------------------------------------------------------

void apply_format_letters(SylkReader& r, std::string_view value) {
    if (value.size() < 3) return;
    uint8_t* f = r.pending.format.bytes;
    if (f[kFmtCode] == kFormatGeneral) {
        switch (value[0]) {
        case '$':
            f[kFmtCode] = 36;
            f[kFmtFlagsB] |= kFlagBFixedDecimals;
            f[kFmtDecimals] = 2;
            break;
        case '%': f[kFmtCode] = 'I'; break;
        case 'C': f[kFmtCode] = 36; break;
        case 'E': f[kFmtCode] = 'S'; break;
        case 'F': f[kFmtFlagsB] |= kFlagBFixedDecimals; break;
        case 'G': f[kFmtFlagsB] &= uint8_t(~kFlagBFixedDecimals); break;
        default: break;
        }
    }
    // Decimals are digits, with a minus sign for a number rounded left of its
    // point; anything else (a plus sign, a letter) is refused.
    int32_t decimals = 0;
    std::string_view digits = value.substr(1, value.size() - 2);
    if (!digits.empty() && digits[0] != '+' && read_integer(digits, &decimals) && decimals >= -kMostSylkDecimals &&
        decimals <= kMostSylkDecimals)
        f[kFmtDecimals] = uint8_t(int8_t(decimals));
    const char align = value.back();
    uint8_t& a = f[kFmtAlign];
    if (align == 'L') a = uint8_t((a & ~7) | 1);
    else if (align == 'C') a = uint8_t((a & ~7) | 2);
    else if (align == 'R') a = uint8_t((a & ~7) | 3);
    r.pending.number = true;
}

void apply_picture(SylkReader& r, std::string_view value) {
    int32_t n = 0;
    int16_t code = -1;
    if (read_integer(value, &n) && n >= 0 && size_t(n) < r.pictures.size()) code = code_of_picture(r.pictures[n]);
    if (code >= 0) {
        r.pending.format.bytes[kFmtCode] = uint8_t(code);
        r.pending.number = true;
    } else {
        r.pending.number = false;
    }
}

// The layer's default font and size, which a cell of the same font or size
// follows rather than holds: the file's first font record when the file
// names the layer's font (as the writer does), else the layer's own.
SylkFont layer_font_of(const SylkReader& r) {
    if (r.layer_font_given && !r.fonts.empty()) return r.fonts.front();
    ConstLayerUse sheet(r.layer);
    SylkFont own{std::string(reinterpret_cast<const char*>(sheet->font_name + 1), sheet->font_name[0]), kNoFont,
                 sheet->size, 0};
    return own;
}

// "M" n of a style: the font list counted from 0, without a number 4 (fonts
// 0-3 are the four default fonts, then 5 on).
void apply_font(SylkReader& r, int32_t n) {
    if (n <= 0) return;
    size_t index = size_t(n <= 3 ? n : n - 1);
    if (index >= r.fonts.size()) return;
    const SylkFont& font = r.fonts[index];
    const SylkFont layer = layer_font_of(r);
    uint8_t* f = r.pending.format.bytes;
    store_u16(f + kFmtFont, font.name == layer.name ? kNoFont : font.number);
    if (font.size == layer.size) f[kFmtSize] = kLayerDefaultSize;
    else if (font.size > 0 && font.size < kLayerDefaultSize) f[kFmtSize] = uint8_t(font.size);
    f[kFmtFace] = font.face;
}

void set_border(uint8_t* f, int shift) {
    uint16_t styles = format_border_styles(f);
    styles = uint16_t((styles & ~(0xF << shift)) | (kBorderStyle << shift));
    store_u16(f + kFmtBorderStyles, styles);
}

void apply_style(SylkReader& r, std::string_view value) {
    uint8_t* f = r.pending.format.bytes;
    for (size_t i = 0; i < value.size(); ++i) {
        switch (value[i]) {
        case 'B': set_border(f, 0); break;
        case 'T': set_border(f, 8); break;
        case 'L': set_border(f, 12); break;
        case 'R': set_border(f, 4); break;
        case 'D': f[kFmtFace] = uint8_t(f[kFmtFace] | kSylkFaceBold); break;
        case 'I': f[kFmtFace] = uint8_t(f[kFmtFace] | kSylkFaceItalic); break;
        case 'U': f[kFmtFace] = uint8_t(f[kFmtFace] | kSylkFaceUnderline); break;
        case 'S': f[kFmtPattern] = kFillPattern; break;
        case 'M': {
            size_t start = i + 1, end = start;
            while (end < value.size() && value[end] >= '0' && value[end] <= '9') ++end;
            int32_t n = 0;
            if (end > start && read_integer(value.substr(start, end - start), &n)) apply_font(r, n);
            i = end - 1;
            break;
        }
        default: break;
        }
    }
    r.pending.style = true;
}

// The colours of a format, as far as the field gives them (numbers of 0 to 255).
void apply_colours(SylkReader& r, std::string_view value) {
    uint8_t* f = r.pending.format.bytes;
    for (int byte : kSylkColourBytes) {
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        const size_t end = std::min(value.find(' '), value.size());
        int32_t n = 0;
        if (end == 0 || !read_integer(value.substr(0, end), &n) || n < 0 || n > 255) break;
        f[byte] = uint8_t(n);
        value.remove_prefix(end);
    }
    r.pending.style = true;
}

// The flags that shape a number, as the writer gives them after the type letter.
void apply_number_flags(SylkReader& r, std::string_view value) {
    const size_t space = value.find(' ');
    int32_t a = 0, b = 0;
    if (space == std::string_view::npos || !read_integer(value.substr(0, space), &a) ||
        !read_integer(value.substr(space + 1), &b) || a < 0 || a > 255 || b < 0 || b > 255)
        return;
    uint8_t* f = r.pending.format.bytes;
    f[kFmtFlagsA] = uint8_t((f[kFmtFlagsA] & ~kSylkNumberFlagsA) | (a & kSylkNumberFlagsA));
    f[kFmtFlagsB] = uint8_t((f[kFmtFlagsB] & ~kSylkNumberFlagsB) | (b & kSylkNumberFlagsB));
    r.pending.number = true;
}

// Copies bytes 2-31 of the pending format into a column or row format record.
void copy_into_record(uint8_t* record, const uint8_t* format, bool keep_extent) {
    int16_t extent = format_extent(record);
    int16_t id = format_id(record);
    std::memcpy(record + 2, format + 2, kCellFormatSize - 2);
    set_format_id(record, id);
    if (keep_extent) set_format_extent(record, extent);
}

void column_format(SylkReader& r, int32_t n) {
    if (r.pending.any() && n >= 1 && n <= kLastCell + 1) {
        const int16_t column = int16_t(n - 1);
        if (InputColumnFormat(r.layer, int32_t(column) << 16 | column) == 0) {
            MemoryRef array = GetSpreadSheetColumnFormats(r.layer);
            if (uint8_t* record = FindColumnFormatID(array, column)) {
                copy_into_record(record, r.pending.format.bytes, true);
                UnuseMemory(array);
            }
        }
    }
    reset_pending(r);
}

void row_height(SylkReader& r, int32_t height, int32_t row) {
    if (row < 1) {
        if (height > 0 && height < 0x8000) {
            LayerUse sheet(r.layer);
            sheet->row_height = int16_t(height);
            set_format_extent(sheet->default_row_format, int16_t(height));
        }
        return;
    }
    if (row > kLastCell + 1 || height < 0 || height >= 0x8000) return;
    const int16_t index = int16_t(row - 1);
    if (InputRowFormat(r.layer, int32_t(index) << 16 | index) == 0) {
        MemoryRef array = GetSpreadSheetRowFormats(r.layer);
        if (uint8_t* record = FindRowFormatID(array, index)) {
            copy_into_record(record, r.pending.format.bytes, false);
            set_format_extent(record, int16_t(height));
            UnuseMemory(array);
        }
    }
    reset_pending(r);
}

void column_widths(SylkReader& r, std::string_view value) {
    int32_t numbers[3];
    for (int i = 0; i < 3; ++i) {
        size_t space = value.find(' ');
        if (!read_integer(value.substr(0, space), &numbers[i])) return;
        value = space == std::string_view::npos ? std::string_view() : value.substr(space + 1);
    }
    const int32_t first = numbers[0], last = numbers[1], width = numbers[2];
    if (first < 1 || last < first || last > kLastCell + 1 || width < 0 || width > 0x7FFF / 8) return;
    if (InputColumnFormat(r.layer, int32_t(first - 1) << 16 | (last - 1)) != 0) return;
    SetColumnSize(int16_t(first - 1), int16_t(last - 1), int16_t(width * 8), GetSpreadSheetColumnFormats(r.layer));
}

void layer_font(SylkReader& r, std::string_view value) {
    size_t space = value.find(' ');
    int32_t number = 0, size = 0;
    if (!read_integer(value.substr(0, space), &number)) return;
    r.layer_font_given = true;
    std::string name = model_services.name_of_font_number(int16_t(number));
    LayerUse sheet(r.layer);
    if (!name.empty()) {
        sheet->font = int16_t(number);
        sheet->font_name[0] = uint8_t(std::min<size_t>(name.size(), sizeof sheet->font_name - 1));
        std::memcpy(sheet->font_name + 1, name.data(), sheet->font_name[0]);
    }
    if (space != std::string_view::npos && read_integer(value.substr(space + 1), &size) && size >= 1 &&
        size <= kMaxLayerFontSize)
        sheet->size = int16_t(size);
}

void clear_layer_flag(SylkReader& r, uint32_t flag) { SetSheetFlags(r.layer, GetSheetFlags(r.layer) & ~flag); }

void read_f_record(SylkReader& r, std::string_view rest) {
    set_aside_pending(r);
    SylkField f;
    int32_t height = -1;
    while (next_field(rest, f)) {
        int32_t n = 0;
        switch (f.letter) {
        case 'F': apply_format_letters(r, f.value); break;
        case 'P': apply_picture(r, f.value); break;
        case 'S': apply_style(r, f.value); break;
        case kSylkColoursField: apply_colours(r, f.value); break;
        case kSylkNumberFlagsField: apply_number_flags(r, f.value); break;
        case 'C':
            if (read_integer(f.value, &n)) column_format(r, n);
            break;
        case 'M':
            if (read_integer(f.value, &n)) height = n / 20;
            break;
        case 'R':
            if (height >= 0 && read_integer(f.value, &n)) {
                row_height(r, height, n);
                height = -1;
            }
            break;
        case 'N': layer_font(r, f.value); break;
        case 'G': clear_layer_flag(r, kLayerGridLines); break;
        case 'H': clear_layer_flag(r, kLayerHeadings); break;
        case 'W': column_widths(r, f.value); break;
        case 'X':
        case 'Y': set_position(r, f); break;
        default: break;
        }
    }
    if (height >= 0) row_height(r, height, 0);
}

// ---- "C" records -------------------------------------------------------------

// The effective format of a position (its row's, its column's or the
// layer's) fills what the pending format leaves open.
void settle_format_at(MemoryRef layer, CellPoint at, PendingFormat& p) {
    if (p.number && p.style) return;
    uint8_t effective[kCellFormatSize];
    get_format(effective, at, layer);
    if (!p.number) copy_number_part(p.format.bytes, effective);
    if (!p.style) copy_style_part(p.format.bytes, effective);
}

void settle_cell_format(SylkReader& r, PendingFormat& p) {
    settle_format_at(r.layer, CellPoint{int16_t(r.row), int16_t(r.column)}, p);
}

// An error's text ("#DIV/0!" ...) as its error value.
bool error_of_text(std::string_view text, double* value) {
    for (int16_t code : {kErrDivZero, kErrTextValue, kErrValue, kErrRef, kErrNA, kErrNum}) {
        unsigned char name[32];
        error_text(code, name);
        if (text == std::string_view(reinterpret_cast<const char*>(name + 1), name[0])) {
            *value = N_AN(code);
            return true;
        }
    }
    return false;
}

void store_cell(SylkReader& r, const std::string& bytes) {
    const uint32_t key = key_of(r.row, r.column);
    if (r.cells.size() && key <= r.last_key) r.in_order = false;
    r.last_key = key;
    r.dated = r.dated || serial_counts_days(uint8_t(bytes[kFmtCode]), 1);
    r.cells.append_cell(int16_t(r.row), bytes);
}

struct CellValues {
    std::string_view value;         // K, unescaped, without its quotes
    std::string unescaped;          // the value when it had escapes
    bool has_value = false;
    bool quoted = false;
    std::string_view expression;    // E, raw
    std::string_view runs;          // of a value in several scripts
    bool expression_in_scripts = false;  // E in UTF-8: no one script spells it
};

// The entry of the cell at the reader's place, in the script its text is in.
EntryCell sylk_entry(const SylkReader& r, const uint8_t* header, std::string_view text) {
    EntryCell entry{CellPoint{int16_t(r.row), int16_t(r.column)}, header, text, {}};
    if (!r.spelling.utf8) entry.script = r.spelling.script;
    return entry;
}

// A text cell of the text as it stands.
void append_text_value(const SylkReader& r, const uint8_t* header, std::string_view text, std::string_view runs,
                       std::string& bytes) {
    EntryCell entry = sylk_entry(r, header, text);
    entry.text = true;
    entry.runs = runs;
    append_entry_cell(bytes, entry, r.layer);
}

// A cell of the value alone: a quoted value stays text, a number or an
// error's text is that value, anything else is read as an entry.
void append_value_cell(SylkReader& r, const CellValues& v, const uint8_t* header, std::string& bytes) {
    const int16_t column = int16_t(r.column);
    double number = 0;
    if (v.quoted) {
        append_text_value(r, header, v.value, v.runs, bytes);
    } else if (file_number(v.value, &number)) {
        append_number_cell(bytes, header, column, number, v.value);
    } else if (error_of_text(v.value, &number)) {
        append_number_cell(bytes, header, column, number, {});
    } else {
        EntryCell entry = sylk_entry(r, header, v.value);
        entry.quote_failed_formulas = true;
        entry.runs = v.runs;
        if (append_entry_cell(bytes, entry, r.layer).formula_kept_as_text) ++r.losses.formulas_in_scripts;
    }
}

// A formula cell of the expression with the file's value as its result;
// false when the expression is no formula here (another layer or a name the
// workbook lacks, a function this system does not have, a text too long),
// or one no one script spells (`in_scripts`).
bool append_formula_cell(SylkReader& r, const CellValues& v, const std::string& formula, const uint8_t* header,
                         std::string& bytes, bool& in_scripts) {
    if (formula.size() >= size_t(kMaxParsedEntry)) return false;
    uint8_t spelled[kCellHeaderSize];
    std::string letters, runs;
    std::string_view text = formula;
    if (v.expression_in_scripts) {  // the entry road reads its letters and keeps no such formula
        int32_t unspelled = 0;
        letters = formula;
        header = spell_field_for_cell(letters, runs, header, spelled, r.layer, unspelled);
        text = letters;
    }
    EntryCell entry = sylk_entry(r, header, text);
    entry.runs = runs;
    entry.result = v.value;
    entry.has_result = v.has_value && !v.expression_in_scripts;
    entry.result_is_text = v.quoted;
    double error = 0;
    if (v.has_value && !v.quoted && error_of_text(v.value, &error)) {
        entry.has_result = false;
        entry.result_value = &error;
    }
    const size_t before = bytes.size();
    const EntryCellAnswer answer = append_entry_cell(bytes, entry, r.layer);
    if (answer.type != kCellText) return true;
    in_scripts = answer.formula_kept_as_text;
    bytes.resize(before);
    return false;
}

// A formula's value, expression and format as read, before the script of
// its expression (in a UTF-8 file) chose the cell's font.
struct UnspelledValue {
    bool given = false;
    std::string value;
    std::string expression;
    CellFormat format;
    bool counted = true;  // what its spelling could not spell was counted with the expression
};

// What a formula that does not convert keeps, spelled as a value alone, so
// that its cell takes the font that value asks and not its expression's: the
// value the file gives, else the formula's text behind an apostrophe.
void append_kept_value(SylkReader& r, const CellValues& v, const uint8_t* header, const UnspelledValue& alone,
                       std::string& bytes) {
    if (!alone.given) return append_value_cell(r, v, header, bytes);
    CellValues value_alone;
    if (v.has_value) {
        value_alone.unescaped = alone.value;
        value_alone.quoted = v.quoted;
    } else {
        value_alone.unescaped =
            "'" + sylk_expression_to_formula(alone.expression, CellPoint{int16_t(r.row), int16_t(r.column)}, r.layer);
        value_alone.quoted = true;
    }
    value_alone.value = value_alone.unescaped;
    value_alone.has_value = true;
    CellFormat format = alone.format;
    std::string_view no_expression;
    std::string unused;
    const int32_t counted = r.spelling.unmapped;
    spell_sylk_cell(r.spelling, value_alone.value, value_alone.unescaped, no_expression, unused, r.spelled_runs,
                    format.bytes, r.layer);
    if (alone.counted) r.spelling.unmapped = counted;
    value_alone.runs = r.spelled_runs;
    append_value_cell(r, value_alone, format.bytes, bytes);
}

// A formula that does not convert keeps the value the file gives as a
// constant, or without one its text behind an apostrophe; either is counted
// for the import's note.
void build_cell(SylkReader& r, const CellValues& v, const uint8_t* header, const UnspelledValue& alone) {
    std::string& bytes = r.cell_bytes;
    bytes.clear();
    if (v.expression.empty()) {
        append_value_cell(r, v, header, bytes);
    } else {
        bool unheld_layer = false, in_scripts = false;
        std::string formula = sylk_expression_to_formula(v.expression, CellPoint{int16_t(r.row), int16_t(r.column)},
                                                         r.layer, &unheld_layer);
        if (unheld_layer || !append_formula_cell(r, v, formula, header, bytes, in_scripts)) {
            ++(in_scripts ? r.losses.formulas_in_scripts : r.losses.unconverted_formulas);
            if (v.has_value || alone.given) append_kept_value(r, v, header, alone, bytes);
            else append_text_value(r, header, "'" + formula, {}, bytes);
        }
    }
    store_cell(r, bytes);
}

void read_c_record(SylkReader& r, std::string_view rest) {
    CellValues v;
    SylkField f;
    while (next_field(rest, f)) {
        switch (f.letter) {
        case 'X':
        case 'Y':
            if (r.pending.any()) set_aside_pending(r);
            set_position(r, f);
            break;
        case 'K': {
            std::string_view raw = f.value;
            v.quoted = !raw.empty() && raw[0] == '"';
            if (v.quoted) raw = raw.substr(1, raw.size() >= 2 && raw.back() == '"' ? raw.size() - 2 : raw.size() - 1);
            v.value = sylk_cell_value(r.spelling, raw, v.unescaped);
            v.has_value = true;
            break;
        }
        case 'E': v.expression = f.value; break;
        default: break;
        }
    }
    const bool inside = r.row >= 0 && r.row <= kLastCell && r.column >= 0 && r.column <= kLastCell;
    const bool given = !v.value.empty() || !v.expression.empty() || v.quoted;  // an empty text is a text
    if (inside && given) {
        PendingFormat format = r.pending;
        if (!format.any()) {
            auto ahead = r.formats_ahead.find(key_of(r.row, r.column));
            if (ahead != r.formats_ahead.end()) {
                format = ahead->second;
                r.formats_ahead.erase(ahead);
            }
        }
        settle_cell_format(r, format);
        UnspelledValue alone;
        if (r.spelling.utf8 && !v.expression.empty())
            alone = UnspelledValue{true, std::string(v.value), std::string(v.expression), format.format};
        v.expression_in_scripts = !spell_sylk_cell(r.spelling, v.value, v.unescaped, v.expression,
                                                   r.spelled_expression, r.spelled_runs, format.format.bytes, r.layer);
        alone.counted = !v.expression_in_scripts;
        v.runs = r.spelled_runs;
        build_cell(r, v, format.format.bytes, alone);
    } else if (!inside && given) {
        ++r.losses.cells_beyond_grid;
    }
    reset_pending(r);
}

// ---- "NN" and "O" records ----------------------------------------------------

// "R" r "C" c, optionally ":" and a second corner; 1-based.
bool read_name_range(std::string_view text, int32_t corners[4]) {
    auto corner = [&](std::string_view& t, int32_t* row, int32_t* column) {
        if (t.empty() || t[0] != 'R') return false;
        size_t c = t.find('C');
        size_t end = t.find(':');
        if (c == std::string_view::npos || (end != std::string_view::npos && c > end)) return false;
        if (!read_integer(t.substr(1, c - 1), row)) return false;
        if (!read_integer(t.substr(c + 1, end == std::string_view::npos ? std::string_view::npos : end - c - 1), column))
            return false;
        t = end == std::string_view::npos ? std::string_view() : t.substr(end + 1);
        return true;
    };
    if (!corner(text, &corners[0], &corners[1])) return false;
    if (text.empty()) {
        corners[2] = corners[0], corners[3] = corners[1];
        return true;
    }
    return corner(text, &corners[2], &corners[3]) && text.empty();
}

void read_name_record(SylkReader& r, std::string_view rest) {
    std::string name;
    std::string_view expression;
    SylkField f;
    while (next_field(rest, f)) {
        if (f.letter == 'N') name = unescape_value(f.value, true);
        else if (f.letter == 'E') expression = f.value;
    }
    if (name.empty() || name.size() >= size_t(kNamedRangeNameSize)) return;
    unsigned char pname[kNamedRangeNameSize];
    pname[0] = uint8_t(name.size());
    std::memcpy(pname + 1, name.data(), name.size());
    if (TestRangeChars(pname)) return;
    int32_t c[4];
    if (!read_name_range(expression, c)) return;
    for (int32_t v : c)
        if (v < 1 || v > kLastCell + 1) return;
    MemoryRef list = Get_rangeinfo(r.layer);
    if (!list) {
        list = pgAllocateNewRef(GetMemoryGlobals(r.layer), kNamedRangeSize, 0, 10, true);
        if (!list) return;
        Set_rangeinfo(r.layer, list);
    }
    uint8_t record[kNamedRangeSize] = {};
    CellRange range{{int16_t(c[0] - 1), int16_t(c[1] - 1)}, {int16_t(c[2] - 1), int16_t(c[3] - 1)}};
    set_named_range(record, pname, range);
    PtrAndMemory(record, list, 1);
}

int16_t date_system_of(int32_t field) { return field == kSylk1904Dates ? kSylk1904Dates : kSylk1900Dates; }

void read_options(SylkReader& r, std::string_view rest) {
    SylkField f;
    int32_t n = 0;
    while (next_field(rest, f)) {
        if (f.letter == 'V' && read_integer(f.value, &n)) r.date_system = date_system_of(n);
        if (f.letter == kSylkBookDatesField && read_integer(f.value, &n)) r.book_date_system = date_system_of(n);
    }
}

void read_id(SylkReader& r, std::string_view rest) {
    SylkField f;
    int32_t n = 0;
    while (next_field(rest, f)) {
        if (f.letter == 'P') r.from_other_program = !f.value.empty() && f.value != kSylkProgramName;
        if (f.letter == kSylkBookDatesField && read_integer(f.value, &n)) r.book_date_system = date_system_of(n);
    }
}

// ---- The text ----------------------------------------------------------------

void dispatch(SylkReader& r, std::string_view line) {
    SylkRecord record = split_record(line);
    if (record.type != "C") record = split_record(roman_record(r.spelling, line, r.roman_line));
    if (record.type == "C") read_c_record(r, record.rest);
    else if (record.type == "F") read_f_record(r, record.rest);
    else if (record.type == "P") read_p_record(r, record.rest);
    else if (record.type == "NN") read_name_record(r, record.rest);
    else if (record.type == "O") read_options(r, record.rest);
    else if (record.type == "ID") read_id(r, record.rest);
}

// The workbook's date system and how the file's date serials come into it.
struct DateSystems {
    bool book_1900;
    bool file_1904;    // the file's serials count from 1904
    int32_t days;      // added to a serial that counts days
    bool as_written;   // this program wrote the file from a workbook of the same system
};

// Whether the serials of the file count from 1904: as its options record
// names; without one, from 1900 when another program wrote it, else in the
// workbook's own system.
bool file_counts_from_1904(const SylkReader& r, bool book_1904) {
    return r.date_system >= 0 ? r.date_system == kSylk1904Dates : !r.from_other_program && book_1904;
}

bool book_counts_from_1904(MemoryRef workbook) { return workbook && !Get_1900Date_Flag(workbook); }

// A document read from the file (its layer is its workbook's only one) takes
// the date system of the workbook the file was written from where the file
// names it, else that of the file's serials, so that every number means what
// it meant there. A layer added to a workbook keeps the workbook's system.
void settle_document_date_system(const SylkReader& r) {
    MemoryRef workbook = GetWorkSheet(r.layer);
    if (!workbook || num_SpreadSheets(workbook) != 1) return;
    const bool from_1904 = r.book_date_system >= 0 ? r.book_date_system == kSylk1904Dates
                                                   : file_counts_from_1904(r, book_counts_from_1904(workbook));
    Set_1900Date_Flag(workbook, !from_1904);
}

DateSystems date_systems(const SylkReader& r) {
    const bool book_1904 = book_counts_from_1904(GetWorkSheet(r.layer));
    const bool file_1904 = file_counts_from_1904(r, book_1904);
    const int32_t shift = int32_t(k1900ShiftDays);
    const bool same_book =
        !r.from_other_program && r.book_date_system >= 0 && (r.book_date_system == kSylk1904Dates) == book_1904;
    return {!book_1904, file_1904, file_1904 == book_1904 ? 0 : book_1904 ? -shift : shift, same_book};
}

// The number of a number cell or the number result of a formula, unless an
// error, or null.
uint8_t* number_slot(uint8_t* cell) {
    uint8_t* slot = nullptr;
    if (_cellType_(cell) == kCellConstant) slot = _formulaPtr_(cell);
    else if (_cellType_(cell) == kCellFormula && _resultType_(cell) == kResultNumber) slot = _resultPtr_(cell);
    if (!slot) return nullptr;
    const double value = load_f64(slot);
    return checkValue(&value) == 0 ? slot : nullptr;
}

// Whether the number of a slot moves into the workbook's date system: it
// counts days (a date, or a time of day on a date).
bool moves_with_dates(const uint8_t* cell, const uint8_t* slot, const DateSystems& systems) {
    const double value = load_f64(slot);
    return systems.days != 0 &&
           serial_counts_days(cell[kFmtCode], systems.file_1904 ? value : value - k1900ShiftDays);
}

// Whether a number cell takes the text a user types for its date (or time
// of day on a date): the entry line shows the date, not its serial, where
// the calendar shows that date.
bool retyped_as_date(const uint8_t* cell, double settled, const DateSystems& systems) {
    return _cellType_(cell) == kCellConstant && serial_counts_days(cell[kFmtCode], settled) &&
           serial_shows_its_date(settled, systems.book_1900);
}

// The text of a number cell as read from the file, where it spells the
// cell's number; else the number's shortest text.
std::string number_text_of(const uint8_t* cell, double value) {
    if (_cellType_(cell) == kCellConstant) {
        const std::string_view typed(reinterpret_cast<const char*>(_constTextPtr_(cell)),
                                     size_t(std::max(_formulaLength_(cell) - kNumberSlotSize, 0)));
        double read = 0;
        if (file_number(typed, &read) && read == value) return std::string(typed);
    }
    return file_number_text(value);
}

// The serial of a slot that moves, in the workbook's system: its text (a
// number cell's as read from the file, else the number's shortest) moved
// digit by digit, so that a number this program wrote comes back exactly.
double settled_serial(const uint8_t* cell, const uint8_t* slot, const DateSystems& systems) {
    const double value = load_f64(slot);
    const std::string text = number_text_of(cell, value);
    const std::string moved = decimal_moved_by_days(text, systems.days);
    double read = 0;
    return !moved.empty() && file_number(moved, &read) ? read : value + systems.days;
}

// Settles the dates of cells read in order where they stand: false (nothing
// changed) when a number cell of a date is among them, whose text changes.
bool settle_dates_in_place(SylkReader& r, const DateSystems& systems) {
    uint8_t* start = r.cells.use();
    const uint8_t* end = start + r.cells.size();
    bool retyped = false;
    for_each_cell(start, end, [&](uint8_t* cell, int16_t) {
        const uint8_t* slot = _cellType_(cell) == kCellConstant ? number_slot(cell) : nullptr;
        retyped = retyped ||
                  (slot && (moves_with_dates(cell, slot, systems) || retyped_as_date(cell, load_f64(slot), systems)));
    });
    if (!retyped && systems.days != 0) {
        for_each_cell(start, end, [&](uint8_t* cell, int16_t) {
            uint8_t* slot = number_slot(cell);
            if (slot && moves_with_dates(cell, slot, systems)) store_f64(slot, settled_serial(cell, slot, systems));
        });
    }
    r.cells.unuse();
    return !retyped;
}

// Moves the date serial of the number cell or number result that ends `row`
// from `start` into the workbook's date system. A number cell of a date
// takes the text a user types for it; one of another program's file that
// would show another date than its own (before 1904, after 2040) keeps its
// format, which shows its number, counted for the notes.
void settle_date(std::string& row, size_t start, const DateSystems& systems, ImportReport& losses) {
    auto* cell = reinterpret_cast<uint8_t*>(row.data() + start);
    uint8_t* slot = number_slot(cell);
    if (!slot) return;
    const bool moves = moves_with_dates(cell, slot, systems);
    const double settled = moves ? settled_serial(cell, slot, systems) : load_f64(slot);
    if (_cellType_(cell) != kCellConstant) {
        store_f64(slot, settled);
        return;
    }
    const bool shows_number = !systems.as_written && shows_another_date(cell[kFmtCode], settled, systems.book_1900);
    const bool retyped = !shows_number && retyped_as_date(cell, settled, systems);
    if (!shows_number && !retyped && !moves) return;
    uint8_t header[kCellHeaderSize];
    std::memcpy(header, cell, sizeof header);
    std::string typed;
    if (retyped) {
        unsigned char date[256];
        date_entry_text(settled, systems.book_1900, date);
        typed.assign(reinterpret_cast<const char*>(date + 1), date[0]);
    } else {
        typed = number_text_of(cell, settled);
    }
    if (shows_number) ++losses.dates_shown_as_numbers;
    row.resize(start);
    append_number_cell(row, header, _cellID_(header), settled, typed);
}

void sort_cells(std::vector<StoredCell>& cells) {
    std::sort(cells.begin(), cells.end(), [](const StoredCell& a, const StoredCell& b) {
        return a.key != b.key ? a.key < b.key : a.order < b.order;
    });
}

// The cells read, in the order read.
std::vector<StoredCell> index_cells(SylkReader& r) {
    std::vector<StoredCell> index;
    uint8_t* start = r.cells.use();
    for_each_cell(start, start + r.cells.size(), [&](uint8_t* cell, int16_t row) {
        index.push_back(StoredCell{key_of(row, _cellID_(cell)), uint32_t(index.size()), uint32_t(cell - start),
                                   uint32_t(_cellLength_(cell))});
    });
    r.cells.unuse();
    return index;
}

// The cell that stands at a position (the last record given for it), or null.
StoredCell* stored_cell_at(std::vector<StoredCell>& sorted, uint32_t key) {
    auto past = std::upper_bound(sorted.begin(), sorted.end(), key,
                                 [](uint32_t k, const StoredCell& cell) { return k < cell.key; });
    return past != sorted.begin() && (past - 1)->key == key ? &*(past - 1) : nullptr;
}

// Formats given after their cell's record join the cell; the others make
// format-only cells, which take what their record leaves open from their
// row, column or layer as a cell with a value does.
void place_formats_ahead(SylkReader& r, std::vector<StoredCell>& index) {
    sort_cells(index);
    std::vector<std::pair<uint32_t, PendingFormat*>> format_only;
    uint8_t* bytes = r.cells.use();
    for (auto& [key, format] : r.formats_ahead) {
        if (StoredCell* cell = stored_cell_at(index, key)) apply_given_parts(bytes + cell->offset, format);
        else format_only.emplace_back(key, &format);
    }
    r.cells.unuse();
    std::string only;
    for (auto [key, format] : format_only) {
        settle_format_at(r.layer, CellPoint{int16_t(key >> 16), int16_t(key & 0xFFFF)}, *format);
        only.clear();
        append_format_cell(only, format->format.bytes, int16_t(key & 0xFFFF));
        const uint32_t offset = r.cells.append_cell(int16_t(key >> 16), only);
        index.push_back(StoredCell{key, uint32_t(index.size()), offset, uint32_t(only.size())});
    }
    sort_cells(index);
}

// Every cell in order with the formats given for it, its dates in the
// workbook's system.
void build_rows(SylkReader& r, const DateSystems& systems, CellBlockRows& rows) {
    std::vector<StoredCell> index = index_cells(r);
    place_formats_ahead(r, index);
    const uint8_t* bytes = r.cells.use();
    std::string row_cells;
    int32_t row = -1;
    for (size_t i = 0; i < index.size(); ++i) {
        const StoredCell& cell = index[i];
        if (i + 1 < index.size() && index[i + 1].key == cell.key) continue;  // a later record wins
        const int32_t cell_row = int32_t(cell.key >> 16);
        if (cell_row != row) {
            if (!row_cells.empty()) rows.append(int16_t(row), row_cells);
            row_cells.clear();
            row = cell_row;
        }
        const size_t start = row_cells.size();
        row_cells.append(reinterpret_cast<const char*>(bytes + cell.offset), cell.length);
        settle_date(row_cells, start, systems, r.losses);
    }
    if (!row_cells.empty()) rows.append(int16_t(row), row_cells);
    r.cells.unuse();
}

// The layer's new cells: those read, where they stand when they came in
// order and need no change of length, else sorted and joined with their
// formats in a store of their own. False (the layer as it was) when memory
// ran out.
bool install_cells(SylkReader& r) {
    if (r.cells.failed()) return false;
    settle_document_date_system(r);
    const DateSystems systems = date_systems(r);
    if (r.in_order && r.formats_ahead.empty() && (!r.dated || settle_dates_in_place(r, systems))) {
        r.cells.install(r.layer);
        return true;
    }
    CellBlockRows rows;
    build_rows(r, systems, rows);
    if (rows.failed()) return false;
    rows.install(r.layer);
    return true;
}

// The first byte below 14 (where a line may break) of eight, from their
// start, or eight when none is: a byte's high bit is left where subtracting
// 14 from it borrows, and the lowest one left is exact.
int first_byte_below_14(const char* eight) {
    constexpr uint64_t kEachByte = 0x0101010101010101ull, kHighBits = 0x8080808080808080ull;
    uint64_t word = 0;
    std::memcpy(&word, eight, sizeof word);
    const uint64_t below = (word - kEachByte * 14) & ~word & kHighBits;
    if (!below) return 8;
    return (std::endian::native == std::endian::little ? std::countr_zero(below) : std::countl_zero(below)) / 8;
}

// Where the line from `start` ends: at its carriage return or line feed, or
// the text's end. Eight bytes are looked at a step.
size_t line_end(std::string_view text, size_t start) {
    size_t at = start;
    for (;; ++at) {
        while (at + 8 <= text.size()) {
            const int below = first_byte_below_14(text.data() + at);
            at += size_t(below);
            if (below < 8) break;
        }
        while (at < text.size() && uint8_t(text[at]) > '\r') ++at;  // no line break sorts above it
        if (at == text.size() || text[at] == '\r' || text[at] == '\n') return at;
    }
}

// A cell record whose quoted value runs past its line (some spreadsheets
// write a line break inside a text as it is).
bool opens_text(std::string_view line) {
    return line.size() > 2 && line[0] == 'C' && line[1] == ';' && line.find('"') != std::string_view::npos &&
           std::count(line.begin(), line.end(), '"') % 2 == 1;
}

// A line that begins a record of its own: a type of capitals, then ";" or nothing.
bool looks_like_record(std::string_view line) {
    size_t letters = 0;
    while (letters < line.size() && line[letters] >= 'A' && line[letters] <= 'Z') ++letters;
    return letters > 0 && letters <= 2 && (letters == line.size() || line[letters] == ';');
}

// The record with the following lines joined by line feeds, up to the line
// that closes the text; `pos` moves past it. A line that begins a record is
// never taken in.
std::string_view join_broken_text(std::string_view text, std::string_view line, size_t& pos, std::string& joined) {
    joined.assign(line);
    while (pos < text.size()) {
        size_t start = pos;
        if (text[pos - 1] == '\r' && text[pos] == '\n') ++start;
        size_t end = line_end(text, start);
        std::string_view more = text.substr(start, end - start);
        if (looks_like_record(more)) break;
        joined += '\n';
        joined.append(more);
        pos = end + 1;
        if (std::count(more.begin(), more.end(), '"') % 2 == 1) break;
    }
    return joined;
}

// The pages of a text owned by the read, given back as the read passes them;
// none for a text the caller keeps.
struct TextLetGo {
    char* start = nullptr;
    size_t given_back = 0;

    // Everything before `end` has been read.
    void read_up_to(size_t end) {
        if (!start || end <= given_back) return;
        auto* from = reinterpret_cast<uint8_t*>(start);
        given_back = size_t(pf::release_pages(from + given_back, end - given_back) - from);
    }
};

void read_records(SylkReader& r, std::string_view text, TextLetGo& let_go) {
    MachineRecord* machine = LayerUse(r.layer)->machine;
    auto progress = [&](int32_t done) {
        if (machine && machine->wait) machine->wait(r.layer, 0, done, 100);
    };
    progress(0);
    // A hundredth of the text when that is 100 bytes or more, else a quarter.
    const size_t hundredth = text.size() / 100;
    const size_t step = hundredth >= 100 ? hundredth : std::max<size_t>(text.size() / 4, 1);
    size_t next_report = step;
    size_t pos = 0;
    std::string joined;
    while (pos < text.size()) {
        size_t end = line_end(text, pos);
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line == "E") break;
        if (opens_text(line)) {
            line = join_broken_text(text, line, pos, joined);
        }
        if (!line.empty()) dispatch(r, line);
        if (pos >= next_report) {
            let_go.read_up_to(pos - 1);  // a broken text looks back one character
            progress(int32_t(uint64_t(pos) * 100 / text.size()));
            next_report = pos + step;
            if (reading_stopped()) {
                r.stopped = true;
                break;
            }
        }
    }
    if (r.pending.any()) set_aside_pending(r);
    progress(100);
}

// The text of a SYLK file, Mac Roman or (`utf8`) UTF-8, into the layer; the
// cells of a Mac Roman one in `script` (kScriptOfFormat: their format's).
int16_t read_sylk(std::string_view text, bool utf8, TextLetGo let_go, MemoryRef layer, ImportReport* report,
                  int16_t script = kScriptOfFormat) {
    SylkReader r;
    r.layer = layer;
    r.spelling.utf8 = utf8;
    r.spelling.script = script;
    reset_pending(r);
    int16_t error = 0;
    bool installed = false;
    try {
        error = memory_error_to_tell(with_failure_handler(&mem_globals, [&] {
            r.cells.reserve(text.size() * 2);  // about what cells of numbers take
            read_records(r, text, let_go);
            installed = install_cells(r);
        }));
    } catch (const std::bad_alloc&) {
        error = kNoMemoryErr;
    }
    if (error) return memory_error_to_tell(error);  // negative, as its callers take errors
    if (!installed) return kNoMemoryErr;
    if (report) {
        report->cells_beyond_grid += r.losses.cells_beyond_grid;
        report->unconverted_formulas += r.losses.unconverted_formulas;
        report->formulas_in_scripts += r.losses.formulas_in_scripts;
        report->dates_shown_as_numbers += r.losses.dates_shown_as_numbers;
        report->replaced_characters += r.spelling.unmapped;
    }
    return r.stopped ? 1 : 0;
}

}  // namespace

int16_t read_sylk_text(std::string_view mac_roman, MemoryRef layer, ImportReport* report) {
    return read_sylk(mac_roman, false, TextLetGo{}, layer, report);
}

int16_t read_sylk_text_letting_go(std::string& mac_roman, MemoryRef layer, ImportReport* report) {
    return read_sylk(mac_roman, false, TextLetGo{mac_roman.data()}, layer, report);
}

namespace {

// Mac Roman decoded from Unicode is Roman; bytes taken as they stand are in
// their cells' script.
int16_t decoded_script(const DecodedText& decoded) {
    return decoded.guessed == 0 ? pf::kScriptRoman : kScriptOfFormat;
}

}  // namespace

int16_t read_decoded_sylk(const DecodedText& decoded, MemoryRef layer, ImportReport* report) {
    return read_sylk(decoded.text, decoded.scripted, TextLetGo{}, layer, report, decoded_script(decoded));
}

int16_t read_decoded_sylk_letting_go(DecodedText& decoded, MemoryRef layer, ImportReport* report) {
    return read_sylk(decoded.text, decoded.scripted, TextLetGo{decoded.text.data()}, layer, report,
                     decoded_script(decoded));
}

int16_t InputSLYKData(MemoryRef text, MemoryRef layer) {
    if (!text) return 0;
    std::string copy(MemoryUse<const char>(text).get(), size_t(GetByteSize(text)));
    return read_sylk_text_letting_go(copy, layer, nullptr);
}

int16_t read_sylk_bytes(std::string_view bytes, MemoryRef layer, ImportReport* report) {
    DecodedText decoded = decode_text_or_sylk_file(bytes);
    if (report) count_decoding_losses(decoded, *report);
    return read_decoded_sylk_letting_go(decoded, layer, report);
}
