// Tab- and comma-separated text into cells. Lines end at CR, LF or CR LF;
// with any separator but tab a field that begins with a double quote runs to
// its closing quote, holding separators and line ends, with doubled quotes
// standing for one.
#include <cstring>
#include <new>
#include <vector>

#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "files/entry_cells.h"
#include "files/entry_script.h"
#include "files/field_cursor.h"
#include "files/files_services.h"
#include "files/file_framing.h"
#include "files/sylk.h"
#include "files/sylk_text.h"
#include "files/text_encoding.h"
#include "files/text_exchange.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"

namespace {

constexpr int32_t kLastRow = kLastCell;
constexpr int32_t kMaxTextFileLength = 256 * 1024 * 1024;

// Progress through the machine's wait procedure: a report each hundredth of
// the text (each quarter of a text under 100 bytes).
struct Progress {
    MachineRecord* machine = nullptr;
    MemoryRef layer = nullptr;
    size_t total = 0;
    size_t step = 0;
    size_t next = 0;

    void start(MemoryRef of_layer, size_t size) {
        layer = of_layer;
        machine = LayerUse(layer)->machine;
        total = size;
        step = size >= 100 ? size / 100 : (size / 4 > 0 ? size / 4 : 1);
        next = step;
        if (machine && machine->wait) machine->wait(layer, 0, 0, 100);
    }
    // Reports each step; false when the user stops the read.
    bool at(size_t done) {
        if (!machine || done < next) return true;
        next = done + step;
        if (machine->wait) machine->wait(layer, 0, int32_t(done * 100 / (total ? total : 1)), 100);
        return !reading_stopped();
    }
    void finish() {
        if (machine && machine->wait) machine->wait(layer, 0, 100, 100);
    }
};

// Tab text takes quotes as they stand; other separators quote fields.
bool quotes_count(uint8_t separator) { return separator != kTabSeparator; }

struct TextReader {
    MemoryRef layer;
    uint8_t header[kCellHeaderSize];
    std::string row_cells;
    std::string field;
    std::string runs;  // of a field in several scripts
    ImportReport* report;
    bool scripted = false;  // fields are UTF-8, each spelled in its scripts
    // The script of fields that are not: Roman for Mac Roman decoded from
    // Unicode, whatever the cell's font would read.
    int16_t script = kScriptOfFormat;
    uint8_t script_header[kCellHeaderSize] = {};
    RunLook look;  // of `header`'s text, for fields in scripts
};

// The format of the field's cell: a field spelled in one script other than
// Roman is set in the script's font; one in several keeps its runs.
const uint8_t* spelled_field_header(TextReader& r) {
    if (!r.scripted) return r.header;
    return spell_field_for_cell(r.field, r.runs, r.header, r.look, r.script_header, r.report->replaced_characters);
}

// Counts a loss and keeps the line (from 1) of the first.
void note_loss(int32_t& count, int32_t& first_line, int16_t row) {
    if (count++ == 0) first_line = row + 1;
}

// Row records appended to a string (a paste's cells).
struct StringRows {
    std::string& store;
    void append(int16_t row, const std::string& cells) { append_row_record(store, row, cells); }
};

// One line's fields into cells of `row`; answers the highest column filled.
template <typename Rows>
int32_t read_line(TextReader& r, FieldCursor& c, int16_t row, int16_t start_column, Rows& rows) {
    int32_t column = start_column, highest = -1;
    r.row_cells.clear();
    for (;;) {
        c.next_field(r.field);
        if (!r.field.empty()) {
            if (column <= kLastCell) {
                const uint8_t* header = spelled_field_header(r);
                if (r.field.size() > size_t(kMaxCellText))
                    note_loss(r.report->texts_cut, r.report->first_line_with_text_cut, row);
                EntryCell entry{CellPoint{row, int16_t(column)}, header, r.field, {}};
                entry.runs = r.runs;
                if (!r.scripted) entry.script = r.script;
                if (append_entry_cell(r.row_cells, entry, r.layer).formula_kept_as_text)
                    ++r.report->formulas_in_scripts;
                highest = column;
            } else {
                note_loss(r.report->fields_cut, r.report->first_line_with_fields_cut, row);
            }
        }
        if (c.at_line_end()) break;
        ++c.pos;  // the separator
        ++column;
    }
    if (!r.row_cells.empty()) rows.append(row, r.row_cells);
    return highest;
}

// Lines that hold more than line ends.
int32_t count_lines_left(FieldCursor& c) {
    int32_t lines = 0;
    while (!c.at_end()) {
        if (!c.at_line_end()) ++lines;
        c.skip_row();
    }
    return lines;
}

// The style runs of a pasted styled text, given to the one text cell made.
void append_style_runs(std::string& store, MemoryRef style) {
    if (store.size() < size_t(kRowHeaderSize + kCellHeaderSize)) return;
    auto* cell = reinterpret_cast<uint8_t*>(store.data() + kRowHeaderSize);
    const int32_t runs = GetByteSize(style);
    if (_cellType_(cell) != kCellText || _cellLength_(cell) + runs > 0x7FFF || runs <= 0) return;
    store_i16(cell + kFmtStyleLength, int16_t(runs));
    _SetCellLength_(cell, int16_t(_cellLength_(cell) + runs));
    store.append(MemoryUse<const char>(style).get(), size_t(runs));
    auto* row = reinterpret_cast<uint8_t*>(store.data());
    _SetRowLength_(row, uint32_t(store.size()));
}

// How a text's fields are spelled: UTF-8 in scripts of their own, or Mac
// Roman decoded from Unicode (kScriptRoman), or bytes in the cells' script.
struct FieldSpelling {
    bool scripted = false;
    int16_t script = kScriptOfFormat;
};

FieldSpelling spelling_of(const DecodedText& decoded) {
    if (decoded.scripted) return FieldSpelling{true};
    return FieldSpelling{false, decoded.guessed == 0 ? pf::kScriptRoman : kScriptOfFormat};
}

template <typename Rows>
int16_t read_cells(std::string_view text, uint8_t separator, int16_t start_column, MemoryRef layer, Rows& rows,
                   CellRange* range, ImportReport* report, bool with_progress, FieldSpelling spelling = {}) {
    const bool scripted = spelling.scripted;
    TextReader reader{layer, {}, {}, {}, {}, report, scripted, spelling.script};
    GetDefaultFormat(reader.header);
    if (scripted) reader.look = field_look(reader.header, layer);
    FieldCursor cursor{text, 0, char(separator), quotes_count(separator)};
    Progress progress;
    if (with_progress) progress.start(layer, text.size());
    int32_t row = 0, last_row = 0, highest = start_column;
    while (!cursor.at_end() && row <= kLastRow) {
        int32_t filled = read_line(reader, cursor, int16_t(row), start_column, rows);
        if (filled > highest) highest = filled;
        last_row = row++;
        cursor.skip_line_end();
        if (with_progress && !progress.at(cursor.pos)) return kTextCancelled;
    }
    report->rows_cut += count_lines_left(cursor);
    if (with_progress) progress.finish();
    *range = CellRange{{0, start_column}, {int16_t(last_row), int16_t(highest)}};
    return 0;
}

// The whole text file. Opening errors are shown here; an over-long file is
// shown and refused; any other read error counts as damage.
int16_t read_whole_text_file(const pf::FileSpec& spec, std::vector<uint8_t>& bytes) {
    int16_t ref = 0;
    if (pf::OSErr error = pf::open_data_fork(spec, pf::kReadPermission, ref)) {
        f_ref = 0;
        report_file_error(error);
        return error;
    }
    pf::OSErr error = pf::read_whole_fork(ref, kMaxTextFileLength, bytes);
    pf::close_file(ref);
    if (!error) return 0;
    if (error != pf::kFileTooLongErr && error != pf::kMemFullErr) return kDamagedFileErr;
    report_file_error(error);
    return error;
}

int16_t decode_bytes(std::string_view bytes, DecodedText& decoded) {
    try {
        decoded = decode_text_or_sylk_file(bytes);
    } catch (const std::bad_alloc&) {
        return kNoMemoryErr;
    }
    return 0;
}

// The whole text file in Mac Roman; the file's own bytes are let go at once.
int16_t read_decoded_file(const pf::FileSpec& spec, DecodedText& decoded) {
    std::vector<uint8_t> file;
    if (int16_t error = read_whole_text_file(spec, file)) return error;
    const int16_t error = decode_bytes(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), decoded);
    if (error) report_file_error(error);
    return error;
}

uint8_t separator_of_type(pf::FourCC type) {
    if (type == kTabFileType) return kTabSeparator;
    if (type == kCsvFileType) return kCommaSeparator;
    return 0;
}

bool is_sylk(std::string_view bytes) { return bytes.substr(0, 3) == "ID;"; }

// The separator the first lines of a text show outside quotes: semicolon
// when every line holds one and they hold no more commas than semicolons (as
// CSV written where the comma is the decimal point does), else comma when
// they hold one; 0 when they show neither.
uint8_t separator_shown(std::string_view bytes) {
    constexpr int kLinesLooked = 5;
    int lines = 0, semicolons = 0, commas = 0;
    bool quoted = false, line_has_semicolon = false, line_empty = true, every_line_has_semicolon = true;
    for (size_t i = 0; i <= bytes.size() && lines < kLinesLooked; ++i) {
        const char c = i < bytes.size() ? bytes[i] : '\n';
        const bool line_end = !quoted && (c == '\n' || (c == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')));
        if (line_end) {
            if (!line_empty && !line_has_semicolon) every_line_has_semicolon = false;
            lines += !line_empty;
            line_has_semicolon = false;
            line_empty = true;
            continue;
        }
        if (c != '\r') line_empty = false;
        if (c == '"') quoted = !quoted;
        else if (quoted) continue;
        else if (c == ',') ++commas;
        else if (c == ';') ++semicolons, line_has_semicolon = true;
    }
    if (every_line_has_semicolon && semicolons > 0 && commas <= semicolons) return kSemicolonSeparator;
    return commas > 0 ? kCommaSeparator : 0;
}

// The separator a file's kind gives, or that plain text shows by holding
// tabs; else what the user picks (0 when cancelled), offered first the
// separator the text shows (a semicolon for a CSV that looks split by
// semicolons; tab for a text of one column).
uint8_t separator_for(std::string_view bytes, pf::FourCC type) {
    uint8_t separator = separator_of_type(type);
    if (separator == kCommaSeparator && separator_shown(bytes) == kSemicolonSeparator) {
        separator = kSemicolonSeparator;
    } else if (separator != 0) {
        return separator;
    } else if (bytes.find('\t') != std::string_view::npos) {
        return kTabSeparator;
    } else {
        const uint8_t shown = separator_shown(bytes);
        separator = shown ? shown : kTabSeparator;
    }
    return files_services.choose_separator(&separator) == kAnswerOK ? separator : 0;
}

}  // namespace

bool reading_stopped() { return files_services.stop_requested(); }

int16_t read_text_cells(std::string_view text, uint8_t separator, int16_t start_column, MemoryRef layer,
                        std::string& store, CellRange* range, ImportReport* report) {
    ImportReport ignored;
    StringRows rows{store};
    return read_cells(text, separator, start_column, layer, rows, range, report ? report : &ignored, false);
}

int16_t InputTextData(bool* progress, uint8_t separator, MemoryRef text, MemoryRef style, MemoryRef* cells,
                      CellRange* range, MemoryRef layer) {
    *cells = nullptr;
    std::string store;
    ImportReport report;
    bool cancelled = false;
    int16_t error = with_failure_handler(&mem_globals, [&] {
        std::string mac_roman;
        if (text) {
            MemoryUse<const char> bytes(text);
            std::string_view raw(bytes, size_t(GetByteSize(text)));
            if (std::memchr(raw.data(), 0, raw.size())) {
                DecodedText decoded = decode_text_file(raw);
                unscript_text(decoded);
                mac_roman = std::move(decoded.text);
            } else {
                mac_roman.assign(raw);
            }
        }
        StringRows rows{store};
        cancelled = read_cells(mac_roman, separator, range->topLeft.h, layer, rows, range, &report,
                               progress && *progress) == kTextCancelled;
    });
    if (error) return error;
    if (cancelled) return kTextCancelled;
    if (style && range->topLeft == range->botRight) append_style_runs(store, style);
    *cells = Bytes2Memory(&mem_globals, store.data(), 1, int32_t(store.size()));
    if (!*cells) return kNoMemoryErr;
    if (progress) *progress = false;
    return 0;
}

int16_t read_decoded_text(const DecodedText& decoded, uint8_t separator, MemoryRef layer, ImportReport* report) {
    ImportReport ignored;
    if (!report) report = &ignored;
    const std::string_view text = decoded.text;
    if (is_sylk(text)) return read_decoded_sylk(decoded, layer, report);
    CellBlockRows rows;
    int16_t error = 0, read = 0;
    try {
        error = with_failure_handler(&mem_globals, [&] {
            rows.reserve(text.size() * 4);  // about what cells of short fields take
            CellRange range{};
            read = read_cells(text, separator, 0, layer, rows, &range, report, true, spelling_of(decoded));
        });
    } catch (const std::bad_alloc&) {
        error = kNoMemoryErr;
    }
    if (error || read) return error ? error : read;
    if (rows.failed()) return kNoMemoryErr;
    rows.install(layer);
    return 0;
}

int16_t read_text_bytes(std::string_view bytes, uint8_t separator, MemoryRef layer, ImportReport* report) {
    DecodedText decoded;
    if (int16_t error = decode_bytes(bytes, decoded)) return error;
    if (report) count_decoding_losses(decoded, *report);
    return read_decoded_text(decoded, separator, layer, report);
}

namespace {

// The format of a text read with the separator.
int16_t separated_format(uint8_t separator) {
    return separator == kCommaSeparator || separator == kSemicolonSeparator ? kFormatCsv : kFormatTabValues;
}

// The file record takes the format the text was read in, so that Save writes
// it back in that form (semicolon-separated text as CSV, space-separated as
// tab text), with the separator, in the encoding and with the line ends read;
// SYLK has no separator.
void remember_format_read(MemoryRef file_info, int16_t code, const TextFileForm& form, uint8_t separator = 0) {
    if (!file_info) return;
    FileInfoRecord record = read_file_record(file_info);
    record.text_form = form;
    record.text_separator = separator;
    const bool same_kind = code == kFormatSylk ? record.format_code == kFormatSylkOther
                                               : code == kFormatTabValues && (record.format_code == kFormatTabFormulas ||
                                                                              record.format_code == kFormatTabDisplayed);
    if (!same_kind) record.format_code = code;
    write_file_record(file_info, record);
}

// The Mac Roman text of the file into the layer: 0, an error (shown),
// kTextCancelled (also when the user cancels the separator: an empty layer
// would open as a document tied to the file, whose Save then wrote over it),
// or 1 for a SYLK read stopped by the user. A SYLK text is given back to the
// system as it is read.
int16_t read_file_text(DecodedText& decoded, MemoryRef file_info, MemoryRef layer, pf::FourCC type,
                       ImportReport* report) {
    const std::string_view bytes = decoded.text;
    if (is_sylk(bytes)) {
        int16_t result = read_decoded_sylk_letting_go(decoded, layer, report);
        if (result < 0) report_file_error(result);
        if (!result) remember_format_read(file_info, kFormatSylk, decoded.form);
        return result;
    }
    const uint8_t separator = separator_for(bytes, type);
    if (separator == 0) return kTextCancelled;
    int16_t error = read_decoded_text(decoded, separator, layer, report);
    if (error && error != kTextCancelled) report_file_error(error);
    if (!error) remember_format_read(file_info, separated_format(separator), decoded.form, separator);
    return error;
}

// The text file read into the layer; its errors are shown.
int16_t read_text_file(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer, pf::FourCC type) {
    DecodedText decoded;
    if (int16_t error = read_decoded_file(spec, decoded)) return error;
    // A text read into a layer added to a document leaves the document's record alone.
    MemoryRef own_record = record_is_of_file(file_info, spec) ? file_info : nullptr;
    ImportReport report;
    count_decoding_losses(decoded, report);
    if (int16_t error = read_file_text(decoded, own_record, layer, type, &report)) return error;
    if (own_record) mark_document_text_layer(layer);
    remember_import_losses(own_record, spec, report);
    report_text_import(report);
    return 0;
}

}  // namespace

int16_t ReadTextFile(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer, pf::FourCC type) {
    return read_under_failure_handler([&] { return read_text_file(spec, file_info, layer, type); });
}
