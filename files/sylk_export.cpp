// Writing a layer as SYLK: pictures and fonts, the layer's defaults, column
// and row formats, names, every cell with its format, value and formula, and
// the linked documents.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "core/number_text.h"
#include "files/entry_cells.h"
#include "files/file_framing.h"
#include "files/sylk.h"
#include "files/sylk_format.h"
#include "files/sylk_formula.h"
#include "files/sylk_text.h"
#include "files/text_encoding.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/date_serials.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/resources/resources.h"

namespace {

constexpr int kFirstCellFont = 5;
constexpr int kDefaultColumnWidth = 76;
constexpr size_t kFlushSize = 65536;

struct FontKey {
    uint16_t font;
    uint8_t size;
    uint8_t face;
    bool operator==(const FontKey&) const = default;
};

struct SylkWriter {
    MemoryRef layer;
    std::string text;  // UTF-8
    std::vector<FontKey> fonts;  // cell fonts, index kFirstCellFont on
    int32_t last_row = -1, last_column = -1;
    std::string default_font_name;
    int16_t default_size = 12;
    int16_t default_font = 0;
    bool dates_1904 = false;  // the workbook counts dates from 1904
    SylkVariant variant = SylkVariant::own;
    int32_t formulas_kept_as_values = 0;  // formulas naming layers the file cannot
};

// A Mac Roman text of a record other than a cell's: its accented letters as
// escapes in this program's own files, as they stand for other spreadsheets
// (the line carrying it is written in UTF-8).
void append_roman_text(const SylkWriter& w, std::string_view text, std::string& out) {
    if (w.variant == SylkVariant::own) escape_sylk_text(text, out);
    else escape_sylk_controls(text, out);
}

// A line of the file from Mac Roman text, or from UTF-8 with `utf8`.
void line(SylkWriter& w, std::string_view text, bool utf8 = false) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return uint8_t(c) < 0x80; });
    if (utf8 || ascii) w.text.append(text);
    else w.text.append(encode_text_file(text));
    w.text.append("\r\n");
}

void address(SylkWriter& w, int32_t row, int32_t column, std::string& out) {
    if (row != w.last_row) out.append(";Y" + std::to_string(row + 1));
    if (column != w.last_column) out.append(";X" + std::to_string(column + 1));
    w.last_row = row, w.last_column = column;
}

// ---- Fonts -------------------------------------------------------------------

bool has_own_font(const uint8_t* f) {
    return format_font(f) != kDefaultFontNumber || f[kFmtSize] != kLayerDefaultSize || f[kFmtFace] != 0;
}

std::string face_letters(uint8_t face) {
    std::string letters;
    if (face & 1) letters += 'B';
    if (face & 2) letters += 'I';
    if (face & 4) letters += 'U';
    if (face & 8) letters += 'O';
    if (face & 16) letters += 'H';
    return letters;
}

void font_line(SylkWriter& w, const FontKey& key) {
    std::string name =
        key.font == kDefaultFontNumber ? w.default_font_name : model_services.name_of_font_number(int16_t(key.font));
    int size = key.size > 200 ? w.default_size : key.size;
    std::string out = "P;F";
    append_roman_text(w, name, out);
    out += ";M" + std::to_string(size * 20);
    if (key.face) out += ";S" + face_letters(key.face);
    line(w, out);
}

template <typename Visit>
void each_cell(MemoryRef layer, Visit&& visit) {
    MemoryRef cells = GetSpreadSheetCells(layer);
    if (!cells || GetByteSize(cells) < kRowHeaderSize) return;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    for (const uint8_t* row = start; row + kRowHeaderSize <= end; row += _RowLength_(row)) {
        const uint8_t* row_end = row + _RowLength_(row);
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row_end; cell += _cellLength_(cell))
            visit(_RowID_(row), cell);
        visit(_RowID_(row), nullptr);  // the end of the row
    }
}

template <typename Visit>
void each_record(MemoryRef array, Visit&& visit) {
    if (!array) return;
    MemoryUse<const uint8_t> records(array);
    const int32_t size = GetMemoryRecSize(array);
    for (int32_t i = 0; i < GetMemorySize(array); ++i) visit(records + i * size);
}

// A font line for the font of a format, unless it has none of its own or one
// is written already.
void note_font(SylkWriter& w, const uint8_t* f) {
    if (!has_own_font(f)) return;
    FontKey key{format_font(f), f[kFmtSize], f[kFmtFace]};
    for (const FontKey& known : w.fonts)
        if (known == key) return;
    w.fonts.push_back(key);
    font_line(w, key);
}

// The fonts of the cells, then those of the column and row formats.
void collect_fonts(SylkWriter& w) {
    each_cell(w.layer, [&](int16_t, const uint8_t* cell) {
        if (cell) note_font(w, cell);
    });
    each_record(GetSpreadSheetColumnFormats(w.layer), [&](const uint8_t* c) { note_font(w, c); });
    each_record(GetSpreadSheetRowFormats(w.layer), [&](const uint8_t* r) { note_font(w, r); });
}

int font_index(const SylkWriter& w, const uint8_t* f) {
    FontKey key{format_font(f), f[kFmtSize], f[kFmtFace]};
    for (size_t i = 0; i < w.fonts.size(); ++i)
        if (w.fonts[i] == key) return int(i) + kFirstCellFont;
    return 0;
}

// ---- Formats -----------------------------------------------------------------

std::string style_letters(const SylkWriter& w, const uint8_t* f) {
    std::string s;
    const uint8_t face = f[kFmtFace];
    const uint16_t borders = format_border_styles(f);
    if (face & 1) s += 'D';
    if (face & 2) s += 'I';
    if (borders & 0x0F00) s += 'T';
    if (borders & 0xF000) s += 'L';
    if (borders & 0x000F) s += 'B';
    if (borders & 0x00F0) s += 'R';
    if (f[kFmtPattern]) s += 'S';
    const bool plain_font = format_font(f) == kDefaultFontNumber && f[kFmtSize] >= 128 && face == 0;
    if (!plain_font) {
        int index = font_index(w, f);
        if (index > 0) s += "M" + std::to_string(index);
    }
    if (s.size() == 1) s += "M0";
    return s;
}

// Whether the file carries the fields of this program's own (a format's
// colours and number flags): only its own kind does, as other spreadsheets
// warn of a field they do not know.
bool writes_own_fields(const SylkWriter& w) { return w.variant == SylkVariant::own; }

// The colours field of a format, or nothing when it has none of its own.
std::string colours_field(const SylkWriter& w, const uint8_t* f) {
    if (!writes_own_fields(w)) return {};
    bool any = false;
    std::string numbers;
    for (int byte : kSylkColourBytes) {
        any = any || f[byte] != 0;
        numbers += (numbers.empty() ? "" : " ") + std::to_string(f[byte]);
    }
    return any ? std::string(";") + kSylkColoursField + numbers : std::string();
}

// The style and colour fields of a format: nothing when it has neither.
std::string style_fields(const SylkWriter& w, const uint8_t* f) {
    const std::string style = style_letters(w, f);
    return (style.empty() ? "" : ";S" + style) + colours_field(w, f);
}

char type_letter(const uint8_t* f) {
    const uint8_t code = f[kFmtCode];
    if ((code >= 31 && code <= 34) || (code >= 45 && code <= 49)) return 'C';
    if (code >= 36 && code <= 39) return '$';
    if (code == 'F' || (code == kFormatGeneral && (f[kFmtFlagsB] & kFlagBFixedDecimals))) return 'F';
    if (code == 'I') return '%';
    if (code == 'S') return 'E';
    return 'G';
}

char align_letter(const uint8_t* f) {
    switch (f[kFmtAlign] & kAlignMask) {
    case 1: return 'L';
    case 2: return 'C';
    case 3: return 'R';
    default: return 'D';
    }
}

// The decimals as a signed number (negative ones round left of the point);
// at most 9, which readers of one digit take.
int decimals_of(const uint8_t* f) { return std::min<int>(int8_t(f[kFmtDecimals]), 9); }

// The number format fields of an "F" record: the picture, when the code has
// one, the type letter, decimals and alignment, and the flags that shape the
// number when it has any (in this program's own files).
std::string number_fields(const SylkWriter& w, const uint8_t* f) {
    std::string out;
    if (const int16_t picture = picture_of_code(f[kFmtCode])) out += ";P" + std::to_string(picture - 1);
    out += ";F";
    out += type_letter(f);
    out += std::to_string(decimals_of(f));
    out += align_letter(f);
    const uint8_t flags_a = f[kFmtFlagsA] & kSylkNumberFlagsA, flags_b = f[kFmtFlagsB] & kSylkNumberFlagsB;
    if (writes_own_fields(w) && (flags_a || flags_b))
        out += std::string(";") + kSylkNumberFlagsField + std::to_string(flags_a) + " " + std::to_string(flags_b);
    return out;
}

// The format fields of a column's or row's record: its number format where
// it is not the one a format read without one takes, and its style.
std::string line_format_fields(const SylkWriter& w, const uint8_t* f) {
    uint8_t plain[kCellFormatSize];
    GetDefaultFormat(plain);
    const std::string number = number_fields(w, f);
    return (number == number_fields(w, plain) ? std::string() : number) + style_fields(w, f);
}

// The "F" record of a cell: each part of its format (number format, style)
// that differs from what a cell without a record takes when read (its
// column's or row's format, else the layer's); nothing when neither does.
// A plain style over a styled row or column is written as the plain font.
void format_record(SylkWriter& w, const uint8_t* cell, int32_t row) {
    uint8_t taken[kCellFormatSize];
    get_format(taken, CellPoint{int16_t(row), _cellID_(cell)}, w.layer);
    const std::string number = number_fields(w, cell);
    std::string style = style_fields(w, cell);
    const bool own_number = number != number_fields(w, taken);
    const bool own_style = style != style_fields(w, taken);
    if (!own_number && !own_style) return;
    if (own_style && style.empty()) style = ";SM0";
    std::string out = "F";
    if (own_number) out += number;
    if (own_style) out += style;
    address(w, row, _cellID_(cell), out);
    line(w, out);
}

// ---- Cells -------------------------------------------------------------------

void quoted_value(const uint8_t* cell, std::string_view text, int16_t font, bool utf8, std::string& out) {
    out += ";K\"";
    append_sylk_cell_text(cell, text, font, utf8, out);
    out += '"';
}

int16_t cell_font(const SylkWriter& w, const uint8_t* cell) {
    const uint16_t font = format_font(cell);
    return font == kDefaultFontNumber ? w.default_font : int16_t(font);
}

std::string_view text_of(const uint8_t* p, int32_t length) {
    return std::string_view(reinterpret_cast<const char*>(p), size_t(length > 0 ? length : 0));
}

// A number as the file carries it: in the 1900 date system, which other
// programs read. The serials of a workbook of that system go out as they
// are; those of a 1904-system workbook that count days (dates, times of day
// on a date) move by 1,462 days, digit by digit so that the reader gets the
// same number back.
std::string number_for_file(const SylkWriter& w, const uint8_t* cell, double value) {
    if (!w.dates_1904 || checkValue(&value) != 0 || !serial_counts_days(cell[kFmtCode], value))
        return file_number_text(value);
    return number_text_moved_by_days(value, int32_t(k1900ShiftDays));
}

void cell_record(SylkWriter& w, const uint8_t* cell, int16_t row) {
    const uint8_t type = _cellType_(cell);
    if (type != kCellFormula && type != kCellConstant && type != kCellText && type != kCellFormatOnly) return;
    format_record(w, cell, row);
    if (type == kCellFormatOnly) return;
    std::string out = "C";
    address(w, row, _cellID_(cell), out);
    const int16_t font = cell_font(w, cell);
    const bool utf8 = sylk_cell_in_utf8(cell, font, w.variant);
    if (type == kCellText) {
        quoted_value(cell, text_of(_formulaPtr_(cell), _formulaLength_(cell)), font, utf8, out);
    } else if (type == kCellConstant) {
        out += ";K" + number_for_file(w, cell, load_f64(_formulaPtr_(cell)));
    } else {
        const bool kept = sylk_names_every_layer(_formulaPtr_(cell), _formulaLength_(cell), w.layer);
        if (!kept) ++w.formulas_kept_as_values;
        if (_resultType_(cell) > 0) {
            quoted_value(cell, text_of(_resultPtr_(cell), _resultLength_(cell)), font, utf8, out);
        } else {
            const double result = _resultLength_(cell) >= 8 ? load_f64(_resultPtr_(cell)) : 0;
            out += ";K" + number_for_file(w, cell, result);
        }
        if (!kept) return line(w, out, utf8);
        std::string expression;
        formula_to_sylk(_formulaPtr_(cell), _formulaLength_(cell), CellPoint{row, _cellID_(cell)}, w.layer,
                        expression);
        out += ";E";
        append_sylk_cell_text(cell, expression, font, utf8, out);
    }
    line(w, out, utf8);
}

// ---- Layer parts -------------------------------------------------------------

void pictures_and_fonts(SylkWriter& w) {
    for (int16_t i = 1; i <= picture_count(); ++i) line(w, "P;P" + pf::get_indexed_string(kSylkPictureStrings, i));
    std::string base = "P;F";
    append_roman_text(w, w.default_font_name, base);
    base += ";M" + std::to_string(w.default_size * 20);
    for (const char* face : {"", ";SB", ";SI", ";SBI"}) line(w, base + face);
    collect_fonts(w);
}

void layer_defaults(SylkWriter& w) {
    LayerUse sheet(w.layer);
    const uint32_t flags = sheet->flags;
    const int16_t row_height = sheet->row_height;
    const int16_t font = sheet->font;
    sheet.release();
    std::string out = "F;P0;DG0G10;SM0";
    if (!(flags & kLayerGridLines)) out += ";G";
    if (!(flags & kLayerHeadings)) out += ";H";
    out += ";M" + std::to_string(row_height * 20);
    out += ";N" + std::to_string(font) + " " + std::to_string(w.default_size);
    line(w, out);
    // Serials go out in the 1900 system, which other programs read.
    line(w, "O;L;D;V" + std::to_string(kSylk1900Dates) + ";K47;G100 0.001");
}

// The ID record, with the workbook's own date system for this program's
// reader in a field other programs pass over.
void id_record(SylkWriter& w) {
    line(w, std::string("ID;P") + kSylkProgramName + ";N;E;" + kSylkBookDatesField +
                std::to_string(w.dates_1904 ? kSylk1904Dates : kSylk1900Dates));
}

void column_formats(SylkWriter& w) {
    LayerUse sheet(w.layer);
    const int16_t layer_width = format_extent(sheet->default_column_format);
    sheet.release();
    MemoryRef columns = GetSpreadSheetColumnFormats(w.layer);
    each_record(columns, [&](const uint8_t* c) {
        int16_t width = format_extent(c);
        if (width == 0) return;
        if (width < 0) width = layer_width > 0 ? layer_width : int16_t(kDefaultColumnWidth);
        const std::string n = std::to_string(format_id(c) + 1);
        line(w, "F;W" + n + " " + n + " " + std::to_string(width / 8));
    });
    each_record(columns, [&](const uint8_t* c) {
        const std::string fields = line_format_fields(w, c);
        if (!fields.empty()) line(w, "F" + fields + ";C" + std::to_string(format_id(c) + 1));
    });
}

void row_formats(SylkWriter& w) {
    const int16_t layer_height = LayerUse(w.layer)->row_height;
    each_record(GetSpreadSheetRowFormats(w.layer), [&](const uint8_t* r) {
        int16_t height = format_extent(r);
        if (height < 0) height = layer_height;
        const std::string tail = ";M" + std::to_string(height * 20) + ";R" + std::to_string(format_id(r) + 1);
        const std::string fields = line_format_fields(w, r);
        if (!fields.empty() || height >= 0) line(w, "F" + fields + tail);
    });
}

void names(SylkWriter& w) {
    each_record(Get_rangeinfo(w.layer), [&](const uint8_t* record) {
        unsigned char name[256];
        named_range_name(record, name);
        if (name[0] == 0) return;
        CellRange r = named_range_cells(record);
        std::string out = "NN;N";
        append_roman_text(w, text_of(name + 1, name[0]), out);
        out += ";ER" + std::to_string(r.topLeft.v + 1) + "C" + std::to_string(r.topLeft.h + 1);
        if (!(r.topLeft == r.botRight))
            out += ":R" + std::to_string(r.botRight.v + 1) + "C" + std::to_string(r.botRight.h + 1);
        line(w, out);
    });
}

void links(SylkWriter& w) {
    each_record(GetSheetLinks(w.layer), [&](const uint8_t* record) {
        std::string_view path = text_of(record + kLinkPathOffset + 1, record[kLinkPathOffset]);
        if (path.empty()) return;
        std::string out = "NE;F";
        append_roman_text(w, path, out);
        line(w, out);
    });
}

void report(MemoryRef layer, int32_t done, int32_t total) {
    MachineRecord* machine = LayerUse(layer)->machine;
    if (machine && machine->wait) machine->wait(layer, 1, done, total);
}

void write_layer(SylkWriter& w) {
    LayerUse sheet(w.layer);
    w.default_font_name.assign(reinterpret_cast<const char*>(sheet->font_name + 1), sheet->font_name[0]);
    w.default_size = sheet->size;
    w.default_font = sheet->font;
    sheet.release();
    MemoryRef workbook = GetWorkSheet(w.layer);
    w.dates_1904 = workbook && !Get_1900Date_Flag(workbook);
    id_record(w);
    pictures_and_fonts(w);
    layer_defaults(w);
    column_formats(w);
    row_formats(w);
    names(w);
    each_cell(w.layer, [&](int16_t row, const uint8_t* cell) {
        if (cell) cell_record(w, cell, row);
    });
    links(w);
    line(w, "E");
}

}  // namespace

std::string sylk_layer_text(MemoryRef layer, SylkVariant variant, ExportReport* report) {
    SylkWriter w;
    w.layer = layer;
    w.variant = variant;
    write_layer(w);
    if (report) report->formulas_kept_as_values += w.formulas_kept_as_values;
    if (variant == SylkVariant::other_spreadsheets)
        return sylk_lines_for_other_spreadsheets(w.text, report ? &report->letters_written_as_marks : nullptr);
    return std::move(w.text);
}

int16_t write_sylk(MemoryRef layer, int32_t* counter, SylkVariant variant, ExportReport* losses) {
    report(layer, 0, 100);
    std::string text;
    try {
        text = sylk_layer_text(layer, variant, losses);
    } catch (const std::bad_alloc&) {
        report(layer, 100, 100);
        return kNoMemoryErr;
    }
    if (losses) report_letters_written_as_marks(*losses);
    int16_t error = 0;
    for (size_t at = 0; at < text.size() && !error; at += kFlushSize) {
        const size_t n = std::min(kFlushSize, text.size() - at);
        error = WriteItem(int32_t(n), text.data() + at, counter);
        report(layer, int32_t(uint64_t(at + n) * 100 / text.size()), 100);
    }
    report(layer, 100, 100);
    return error;
}
