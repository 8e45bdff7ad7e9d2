#include "excel/excel_layers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>

#include "core/number_text.h"
#include "excel/excel_formats.h"
#include "excel/excel_import.h"
#include "excel/excel_text.h"
#include "excel/formula_tokens.h"
#include "files/document_reading.h"
#include "files/entry_cells.h"
#include "files/text_encoding.h"
#include "formula/error_values.h"
#include "formula/function_values.h"
#include "formula/parser.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/date_serials.h"
#include "model/display_text.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/style_run_layout.h"
#include "files/entry_script.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/memory/memory.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"

namespace {

MemoryGlobals* memory_of(MemoryRef layer) {
    MemoryGlobals* globals = LayerUse(layer)->machine->memory;
    return globals;
}

constexpr size_t kMaxFormulaText = 255;
constexpr int kMaxColumn = 255;

int16_t own_error_code(uint8_t excel_code) {
    switch (excel_code) {
    case kXlErrDivZero: return kErrDivZero;
    case kXlErrRef: return kErrRef;
    case kXlErrNum: return kErrNum;
    case kXlErrNA: return kErrNA;
    default: return kErrValue;
    }
}

double own_number(const ExcelCell& cell) {
    return cell.value_kind == ExcelCellKind::kError ? N_AN(own_error_code(uint8_t(cell.number))) : cell.number;
}

// A cell note (Mac Roman, at most 255 bytes) and its cell.
struct CellNote {
    int16_t row, column;
    std::string text;
};

// The rows of one layer's cell store, built in order in a block of their own
// and put in at once, each cell made by the one road from a file's value to a
// cell (files/entry_cells.h). The notes given go to their cells as these are
// added; a note of a cell that is not added gets a cell of its own, of the
// default format.
class CellBlockBuilder {
public:
    CellBlockBuilder(MemoryGlobals* globals, MemoryRef layer) : rows_(globals), layer_(layer) {}

    // The notes, in store order, one per cell.
    void take_notes(std::vector<CellNote> notes) {
        notes_ = std::move(notes);
        next_note_ = 0;
    }

    // Adds the cell of `value`, with its note; answers what became of it.
    EntryCellAnswer add(FileValueCell& value) {
        const int16_t row = value.where.v;
        add_notes_before(row, value.where.h);
        if (next_note_ < notes_.size() && notes_[next_note_].row == row && notes_[next_note_].column == value.where.h)
            value.label_note = notes_[next_note_++].text;
        cell_.clear();
        const EntryCellAnswer answer = append_file_value_cell(cell_, value, layer_);
        rows_.append_cell(row, cell_);
        return answer;
    }

    // A layer without cells takes the records as its store; any other gets
    // them pasted in.
    int16_t store() {
        add_notes_before(kLastCell + 1, 0);
        if (rows_.failed()) return kNoMemoryErr;
        if (rows_.size() == 0) return 0;
        if (GetByteSize(GetSpreadSheetCells(layer_)) == 0) {
            rows_.install(layer_);
            return 0;
        }
        return InputData(CellPoint{0, 0}, CellPoint{kLastCell, kLastCell}, rows_.records(), layer_);
    }

    void reserve(size_t bytes) { rows_.reserve(bytes); }

private:
    CellBlockRows rows_;
    MemoryRef layer_;
    std::string cell_;  // the cell being added
    std::vector<CellNote> notes_;
    size_t next_note_ = 0;

    // The notes of cells before (row, column) in store order, each in a cell
    // of its own.
    void add_notes_before(int32_t row, int16_t column) {
        while (next_note_ < notes_.size() &&
               (notes_[next_note_].row < row || (notes_[next_note_].row == row && notes_[next_note_].column < column))) {
            uint8_t format[kCellHeaderSize];
            GetDefaultFormat(format);
            FileValueCell value{.where = {notes_[next_note_].row, notes_[next_note_].column}, .header = format};
            add(value);
        }
    }
};

// The merged ranges of a sheet, asked about cells in store order: whether a
// cell is hidden under one (any cell of it but its top-left). The work is
// bounded, so that a damaged file of huge or overlapping ranges cannot hold up
// reading: past the bound the cells stay.
class MergedRanges {
public:
    explicit MergedRanges(const std::vector<ExcelMerge>& merges) : by_first_row_(merges) {
        std::stable_sort(by_first_row_.begin(), by_first_row_.end(),
                         [](const ExcelMerge& a, const ExcelMerge& b) { return a.first_row < b.first_row; });
    }

    bool hides(uint16_t row, uint16_t column) {
        if (by_first_row_.empty() || work_ > kMostWork) return false;
        if (row != row_) enter_row(row);
        for (const ExcelMerge* merge : active_) {
            if (++work_ > kMostWork) return false;
            bool top_left = row == merge->first_row && column == merge->first_column;
            if (column >= merge->first_column && column <= merge->last_column && !top_left) return true;
        }
        return false;
    }

private:
    static constexpr size_t kMostWork = size_t(1) << 24;

    std::vector<ExcelMerge> by_first_row_;
    std::vector<const ExcelMerge*> active_;  // the ranges over the row
    size_t next_ = 0;                        // the first range not yet over a row
    int32_t row_ = -1;
    uint16_t earliest_end_ = 0xFFFF;         // the last row of the range of active_ that ends first
    size_t work_ = 0;

    void enter_row(uint16_t row) {
        row_ = row;
        while (next_ < by_first_row_.size() && by_first_row_[next_].first_row <= row) {
            active_.push_back(&by_first_row_[next_++]);
            earliest_end_ = std::min(earliest_end_, active_.back()->last_row);
        }
        if (row <= earliest_end_) return;
        work_ += active_.size();
        std::erase_if(active_, [row](const ExcelMerge* merge) { return merge->last_row < row; });
        earliest_end_ = 0xFFFF;
        for (const ExcelMerge* merge : active_) earliest_end_ = std::min(earliest_end_, merge->last_row);
    }
};

// Lets go of the workbook stream's bytes as the sheets are read: the records
// before the place reached, but none of a sheet still to be read.
class StreamLetGo {
public:
    StreamLetGo(std::vector<uint8_t>& stream, const ExcelBook& book) : stream_(stream) {
        for (const ExcelSheet& sheet : book.sheets)
            if (sheet.is_worksheet) still_to_read_.push_back(sheet.offset);
        std::reverse(still_to_read_.begin(), still_to_read_.end());
    }

    // A sheet begins to be read: its own bytes are needed until up_to says otherwise.
    void begin_sheet() { still_to_read_.pop_back(); }

    // Lets go of the bytes before `offset` when that frees enough to matter.
    void up_to(size_t offset) {
        constexpr size_t kStep = size_t(256) << 10;
        for (size_t sheet : still_to_read_) offset = std::min(offset, sheet);
        offset = std::min(offset, stream_.size());
        if (offset < let_go_ + kStep) return;
        let_go_ = size_t(pf::release_pages(stream_.data() + let_go_, offset - let_go_) - stream_.data());
    }

    // A sheet is read: all before the next one goes.
    void end_sheet() { up_to(stream_.size()); }

private:
    std::vector<uint8_t>& stream_;
    std::vector<size_t> still_to_read_;  // the sheets' offsets, the next one to read last
    size_t let_go_ = 0;
};

// One worksheet into its layer: its cells read from the stream into records
// of their own first, for every sheet, then each layer given its name, cells
// and formats.
class LayerFiller {
public:
    LayerFiller(ExcelBook& book, const std::vector<uint8_t>& stream, StreamLetGo& let_go, MemoryRef layer,
                size_t sheet, const std::vector<int>& layer_of_sheet)
        : book_(book), stream_(stream), let_go_(let_go), layer_(layer), sheet_(book.sheets[sheet]),
          builder_(memory_of(layer), layer), merges_(sheet_.merges) {
        context_.book = &book_;
        context_.layer_of_sheet = &layer_of_sheet;
        context_.shared = &sheet_.shared;
        context_.sheet = int(sheet);
    }

    // The cells in store order, without those hidden under merged ranges and
    // with only the last of any written twice. Throws ExcelDamaged for
    // damaged formula tokens.
    void build_cells() {
        builder_.reserve(sheet_.cell_count * (kCellHeaderSize + 2 * kNumberSlotSize));
        builder_.take_notes(notes_of_comments());
        let_go_.begin_sheet();
        if (sheet_.cells_in_order)
            read_sheet_cells(book_, stream_, sheet_, [this](const ExcelCell& cell) {
                if (kept(cell)) put_shown_cell(cell);
                let_go_.up_to(cell.place.record);
            });
        else
            put_cells_out_of_order();
        let_go_.end_sheet();
        parsed_ = {};
    }

    int16_t finish() {
        SetSheetName(pascal(sheet_.name, kNamedRangeNameSize - 1).data(), layer_);
        if (int16_t error = builder_.store()) return error;
        if (int16_t error = put_column_widths()) return error;
        return put_row_heights();
    }

private:
    ExcelBook& book_;
    const std::vector<uint8_t>& stream_;
    StreamLetGo& let_go_;
    MemoryRef layer_;
    ExcelSheet& sheet_;
    CellBlockBuilder builder_;
    MergedRanges merges_;
    FormulaContext context_;

    static std::vector<unsigned char> pascal(const std::string& text, size_t limit) {
        size_t length = std::min(text.size(), limit);
        std::vector<unsigned char> out(length + 1);
        out[0] = uint8_t(length);
        std::memcpy(out.data() + 1, text.data(), length);
        return out;
    }

    // Whether a cell is one to store: not an empty one without a format that
    // shows, and inside the grid (the others are counted).
    bool kept(const ExcelCell& cell) {
        if (cell.kind == ExcelCellKind::kBlank && !shows_format(cell.xf)) return false;
        if (cell_in_grid(cell.row, cell.column)) return true;
        ++book_.cells_beyond_grid;
        return false;
    }

    void put_shown_cell(const ExcelCell& cell) {
        if (!merges_.hides(cell.row, cell.column)) put_cell(cell);
    }

    // Workbooks write their cells in order; for one that does not, the cells'
    // places are sorted (the last written of a cell stays) and each cell read
    // again from its place.
    void put_cells_out_of_order() {
        struct Placed {
            uint16_t row, column;
            ExcelCellPlace place;
        };
        std::vector<Placed> cells;
        cells.reserve(sheet_.cell_count);
        read_sheet_cells(book_, stream_, sheet_, [&](const ExcelCell& cell) {
            if (kept(cell)) cells.push_back({cell.row, cell.column, cell.place});
        });
        std::stable_sort(cells.begin(), cells.end(), [](const Placed& a, const Placed& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        for (size_t i = 0; i < cells.size(); ++i) {
            const bool written_again = i + 1 < cells.size() && cells[i + 1].row == cells[i].row &&
                                       cells[i + 1].column == cells[i].column;
            if (!written_again)
                read_cell_at(book_, stream_, cells[i].place, [this](const ExcelCell& cell) { put_shown_cell(cell); });
        }
    }

    // The comments a note can hold, in store order, one per cell; the others
    // are counted and their first cells named.
    std::vector<CellNote> notes_of_comments() {
        constexpr size_t kLongestNote = 255;
        book_.comments_left_out += sheet_.comments_unreadable;
        std::vector<ExcelComment> comments = sheet_.comments;
        std::stable_sort(comments.begin(), comments.end(), [](const ExcelComment& a, const ExcelComment& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        std::vector<CellNote> notes;
        for (const ExcelComment& comment : comments) {
            std::string roman;
            const bool held = cell_in_grid(comment.row, comment.column) &&
                              spelled_in_mac_roman(comment.text, roman) &&
                              roman.size() <= kLongestNote;
            const bool second = !notes.empty() && notes.back().row == comment.row &&
                                notes.back().column == comment.column;
            if (held && !second) {
                notes.push_back({int16_t(comment.row), int16_t(comment.column), std::move(roman)});
                continue;
            }
            ++book_.comments_left_out;
            note_cell(book_.comment_cells, comment.row, comment.column, "");
        }
        return notes;
    }

    // An empty cell is kept for a format that shows (borders, alignment...).
    bool shows_format(uint16_t xf) {
        uint8_t standard[kCellFormatSize];
        GetDefaultFormat(standard);
        return format_differs_visibly(format_of(xf).bytes, standard);
    }

    // The format block of each cell format, made once, and whether the
    // format's currency or duration was left out.
    struct MadeFormat {
        bool made = false;
        bool currency_left_out = false;
        bool duration_left_out = false;
        int16_t font_script = pf::kScriptRoman;  // of its font, the layer's default standing for the default font
        int16_t signs_script = -1;               // of the signs beyond ASCII its numbers show
        CellFormat format;
    };
    std::vector<MadeFormat> formats_;

    const MadeFormat& made_format(uint16_t xf) {
        if (formats_.empty()) formats_.resize(book_.xfs.size() + 1);
        MadeFormat& made = formats_[xf < book_.xfs.size() ? xf : book_.xfs.size()];
        if (!made.made) {
            GetDefaultFormat(made.format.bytes);
            const NumberFormatMatch number = apply_excel_format(book_, xf, sheet_.is_protected, made.format.bytes);
            made.currency_left_out = number.currency_left_out;
            made.duration_left_out = number.duration_left_out;
            made.font_script = pf::font_to_script(format_font_in(made.format.bytes, layer_));
            made.signs_script = made.font_script == pf::kScriptRoman ? -1 : signs_script_of(made.format.bytes);
            made.made = true;
        }
        return made;
    }
    const CellFormat& format_of(uint16_t xf) { return made_format(xf).format; }

    // Roman, for a format whose numbers show signs beyond ASCII (a currency's,
    // spelled in Roman); else -1.
    int16_t signs_script_of(const uint8_t* format) const {
        uint8_t roman[kCellHeaderSize];
        std::memcpy(roman, format, kCellHeaderSize);
        store_u16(roman + kFmtFont, uint16_t(pf::script_font(pf::kScriptRoman)));
        const double one = 1;
        unsigned char shown[256];
        get_format_string(shown, roman, &one, layer_);
        return has_high_bytes(std::string_view(reinterpret_cast<const char*>(shown + 1), shown[0])) ? pf::kScriptRoman
                                                                                                    : -1;
    }

    void put_cell(const ExcelCell& cell) {
        CellFormat format = format_of(cell.xf);
        if (cell.value_kind == ExcelCellKind::kBoolean && format.bytes[kFmtCode] == kFormatGeneral)
            format.bytes[kFmtCode] = kFormatBoolean;
        FileValueCell value{.where = {int16_t(cell.row), int16_t(cell.column)}, .header = format.bytes};
        value.shown_script = made_format(cell.xf).signs_script;
        if (cell.kind == ExcelCellKind::kBlank) {
            builder_.add(value);
            return;
        }
        if (cell.value_kind == ExcelCellKind::kNumber) {
            note_date_shown_as_number(cell, format.bytes);
            note_currency_left_out(cell);
            note_duration_left_out(cell);
        }
        std::string stopping_function;
        if (cell.kind == ExcelCellKind::kFormula && put_formula(cell, value, stopping_function)) return;
        if (cell.kind == ExcelCellKind::kFormula) {
            ++book_.unconverted_formulas;
            note_cell(book_.unconverted_formula_cells, cell.row, cell.column,
                      stopping_function.empty() ? "" : ": " + stopping_function);
        }
        if (cell.value_kind == ExcelCellKind::kText) return put_text(cell, value);
        put_number(cell, value);
    }

    // The first few cells of a kind the user is told of: the cell's name (with
    // its sheet's when the workbook has others), then `more`.
    void note_cell(std::vector<std::string>& cells, uint16_t row, uint16_t column, const std::string& more) {
        constexpr size_t kCellsNamed = 5;
        if (cells.size() >= kCellsNamed) return;
        unsigned char letters[8];
        NumberToColumn(letters, int16_t(std::min<int>(column, kMaxColumn)));
        std::string name = book_.sheets.size() > 1 ? sheet_.name + "!" : "";
        name.append(reinterpret_cast<const char*>(letters + 1), letters[0]);
        cells.push_back(name + std::to_string(row + 1) + more);
    }

    // An amount whose currency no format here shows: its cell shows the
    // number with its decimals.
    void note_currency_left_out(const ExcelCell& cell) {
        if (!made_format(cell.xf).currency_left_out) return;
        ++book_.currencies_left_out;
        note_cell(book_.currency_cells, cell.row, cell.column, "");
    }

    // A duration in a form no format here shows: its cell shows the number.
    void note_duration_left_out(const ExcelCell& cell) {
        if (!made_format(cell.xf).duration_left_out) return;
        ++book_.durations_left_out;
        note_cell(book_.duration_cells, cell.row, cell.column, "");
    }

    // A number in a date format that the calendar here cannot show as the
    // date it is (before 1904, after 2040) keeps its format, which shows its
    // number, and is noted.
    void note_date_shown_as_number(const ExcelCell& cell, const uint8_t* format) {
        if (!shows_another_date(format[kFmtCode], cell.number, !book_.date1904)) return;
        ++book_.dates_shown_as_numbers;
        note_cell(book_.date_number_cells, cell.row, cell.column, "");
    }

    // A text, in the script that spells it, else in runs of the scripts of
    // its words set in the cell's font and size; a text longer than a cell
    // holds is cut and counted.
    void put_text(const ExcelCell& cell, FileValueCell& value) {
        std::string runs(cell.runs);
        if (!runs.empty()) {
            RunLook look;
            look.font = format_font_in(value.header, layer_);
            look.size = format_size_in(value.header, layer_);
            set_runs_look(runs, look);
        }
        value.type = kCellText;
        value.text = cell.text;
        value.runs = runs;
        value.script = cell.script;
        if (builder_.add(value).text_cut) ++book_.texts_cut;
    }

    // A number constant: its value, then its text as if typed (the entry line
    // shows it); an error keeps its error text.
    void put_number(const ExcelCell& cell, FileValueCell& value) {
        value.number = own_number(cell);
        std::string typed;
        if (cell.value_kind == ExcelCellKind::kError) {
            unsigned char text[256];
            error_text(checkValue(&value.number), text);
            typed.assign(reinterpret_cast<const char*>(text + 1), text[0]);
        } else {
            typed = round_trip_number(value.number);
        }
        value.type = kCellConstant;
        value.typed = typed;
        builder_.add(value);
    }

    // A formula as this program's parser stores it, its text spelled as a
    // typed formula is: in one script, the cell's own first. Empty when the
    // parser refuses it or no one script spells its texts.
    struct ParsedFormula {
        std::vector<uint8_t> body;
        std::string text;  // in `script`
        int16_t script = pf::kScriptRoman;
        bool unspelled = false;  // no one script spells its texts
    };

    // Parsed formulas by formula key, format code and the script of the
    // cell's font.
    std::unordered_map<std::string, ParsedFormula> parsed_;

    // The formula parsed once for all the cells whose formulas are stored
    // alike.
    const ParsedFormula& parsed_formula(const ConvertedFormula& formula, const ExcelCell& cell, const uint8_t* format) {
        std::string key = formula.key;
        key += char(format[kFmtCode]);
        key += char(made_format(cell.xf).font_script);
        auto found = parsed_.find(key);
        if (found != parsed_.end()) return found->second;
        ParsedFormula& stored = parsed_[key];
        RunLook look;
        look.font = format_font_in(format, layer_);
        const ScriptedText spelled = spell_text_in_scripts(formula.text, look);
        stored.unspelled = spelled.script < 0 || spelled.unspelled > 0;
        if (stored.unspelled || spelled.text.size() > kMaxFormulaText) return stored;
        unsigned char text[kMaxFormulaText + 1];
        text[0] = uint8_t(spelled.text.size());
        std::memcpy(text + 1, spelled.text.data(), spelled.text.size());
        MemoryRef parsed = nullptr;
        int16_t kind = 0;
        int32_t offset = 0;
        int16_t result = parse_formula_text(text, CellPoint{int16_t(cell.row), int16_t(cell.column)}, layer_,
                                            &parsed, &kind, &offset, format[kFmtCode]);
        if (result == 0 && parsed) {
            MemoryUse<const uint8_t> bytes(parsed);
            stored.body.assign(bytes.get(), bytes + GetByteSize(parsed));
            stored.text = spelled.text;
            stored.script = spelled.script;
        }
        if (parsed) DisposeMemory(parsed);
        return stored;
    }

    // A formula parsed by this program's parser, with Excel's result until
    // the recalculation (a text result no one script spells is left to it);
    // false when the parser refuses it or no one script spells its texts.
    // `stopping_function` names what stopped the conversion when a function
    // or texts no one script spells did.
    bool put_formula(const ExcelCell& cell, FileValueCell& value, std::string& stopping_function) {
        context_.row = cell.row;
        context_.column = cell.column;
        ConvertedFormula formula = excel_formula_text(cell.tokens, cell.token_length, context_);
        stopping_function = formula.stopping_function;
        if (formula.text.empty()) return false;
        const ParsedFormula& parsed = parsed_formula(formula, cell, value.header);
        if (parsed.unspelled) stopping_function = "texts of several scripts";
        if (parsed.body.empty()) return false;
        value.type = kCellFormula;
        value.formula = std::string_view(reinterpret_cast<const char*>(parsed.body.data()), parsed.body.size());
        value.formula_text = parsed.text;
        value.formula_script = parsed.script;
        value.number = own_number(cell);
        if (cell.value_kind == ExcelCellKind::kText) {
            value.result_is_text = true;
            if (cell.script >= 0) {
                value.text = cell.text;
                value.script = cell.script;
            }
        }
        if (builder_.add(value).text_cut) ++book_.texts_cut;
        return true;
    }

    static int16_t pixels_of_width(uint16_t width) { return int16_t((uint32_t(width) * 7 + 128) / 256); }

    int16_t put_column_widths() {
        if (sheet_.default_width) {
            LayerUse layer(layer_);
            set_format_extent(layer->default_column_format, pixels_of_width(sheet_.default_width));
        }
        for (const ExcelColumnWidth& column : sheet_.columns) {
            if (column.first > kMaxColumn || column.last < column.first) continue;
            int16_t first = int16_t(column.first), last = int16_t(std::min<int>(column.last, kMaxColumn));
            if (int16_t error = InputColumnFormat(layer_, int32_t(first) << 16 | last)) return error;
            SetColumnSize(first, last, pixels_of_width(column.width), GetSpreadSheetColumnFormats(layer_));
        }
        return 0;
    }

    // A height that follows Excel's fonts is kept only where it is taller than
    // the layer's own rows (larger text); shorter ones would clip our text.
    int16_t put_row_heights() {
        const int16_t own_height = layer_row_height();
        for (const ExcelRowHeight& row : sheet_.rows) {
            if (!cell_in_grid(row.row, 0) || row.height == 0) continue;
            int16_t pixels = int16_t((row.height + 10) / 20);
            if (!row.custom && pixels <= own_height) continue;
            int16_t at = int16_t(row.row);
            if (int16_t error = InputRowFormat(layer_, int32_t(at) << 16 | at)) return error;
            SetRowSize(at, at, pixels, GetSpreadSheetRowFormats(layer_));
        }
        return 0;
    }

    int16_t layer_row_height() const {
        LayerUse layer(layer_);
        int16_t height = format_extent(layer->default_row_format);
        if (height <= 0) height = layer->row_height;
        return height;
    }
};

// Names of single ranges of a sheet become named ranges of its layer.
int16_t put_names(const ExcelBook& book, const std::vector<MemoryRef>& layer_of_sheet) {
    for (size_t sheet = 0; sheet < book.sheets.size(); ++sheet) {
        MemoryRef layer = layer_of_sheet[sheet];
        if (!layer) continue;
        std::vector<uint8_t> records;
        for (const ExcelName& name : book.names) {
            if (!name.usable || name.sheet != int(sheet)) continue;
            unsigned char text[kNamedRangeNameSize];
            text[0] = uint8_t(name.name.size());
            std::memcpy(text + 1, name.name.data(), name.name.size());
            CellRange range{{int16_t(name.first_row), int16_t(name.first_column)},
                            {int16_t(name.last_row), int16_t(name.last_column)}};
            records.resize(records.size() + kNamedRangeSize, 0);
            set_named_range(records.data() + records.size() - kNamedRangeSize, text, range);
        }
        if (records.empty()) continue;
        MemoryRef list = Bytes2Memory(memory_of(layer), records.data(), kNamedRangeSize,
                                      int32_t(records.size() / kNamedRangeSize));
        if (!list) return kNoMemoryErr;
        Set_rangeinfo(layer, list);
    }
    return 0;
}

int16_t fill_all(ExcelBook& book, std::vector<uint8_t>& stream, MemoryRef first_layer, MemoryRef workbook,
                 std::vector<MemoryRef>& layers) {
    MachineRecord* machine = LayerUse(first_layer)->machine;
    bool first = true;
    std::vector<int> layer_of_sheet;
    int worksheets = 0;
    for (const ExcelSheet& sheet : book.sheets) {
        MemoryRef layer = nullptr;
        if (sheet.is_worksheet) {
            if (first) {
                layer = first_layer;
                first = false;
            } else if (int16_t error = New_SpreadSheet(machine, workbook, &layer, kLayerGridLines | kLayerHeadings,
                                                       nullptr)) {
                return error;
            }
        }
        layer_of_sheet.push_back(layer ? worksheets++ : -1);
        layers.push_back(layer);
    }
    // Names first: the formulas are parsed against them.
    if (int16_t error = put_names(book, layers)) return error;
    std::vector<std::unique_ptr<LayerFiller>> fillers;
    StreamLetGo let_go(stream, book);
    let_go.up_to(stream.size());  // the globals
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        if (!layers[i]) continue;
        fillers.push_back(std::make_unique<LayerFiller>(book, stream, let_go, layers[i], i, layer_of_sheet));
        fillers.back()->build_cells();
    }
    for (const auto& filler : fillers)
        if (int16_t error = filler->finish()) return error;
    return 0;
}

// fill_all, with a damaged stream, the memory manager's failure or a failed
// allocation as its error.
int16_t fill_all_or_fail(ExcelBook& book, std::vector<uint8_t>& stream, MemoryRef first_layer,
                         MemoryRef workbook, std::vector<MemoryRef>& layers) {
    int16_t error = 0;
    try {
        int16_t failure = with_failure_handler(memory_of(first_layer), [&] {
            error = fill_all(book, stream, first_layer, workbook, layers);
        });
        return failure ? failure : error;
    } catch (const ExcelDamaged&) {
        return kExcelUnreadableErr;
    } catch (const std::bad_alloc&) {
        return kNoMemoryErr;
    }
}

}  // namespace

int16_t fill_excel_layers(ExcelBook& book, std::vector<uint8_t>& stream, MemoryRef first_layer) {
    MemoryRef workbook = GetWorkSheet(first_layer);
    int16_t layers_before = num_SpreadSheets(workbook);
    MemoryRef names_before = Get_rangeinfo(first_layer);
    Set_1900Date_Flag(workbook, !book.date1904);
    // Excel protects sheet by sheet; here the workbook is protected and only
    // the locked cells of protected sheets are locked.
    bool is_protected = book.structure_protected;
    for (const ExcelSheet& sheet : book.sheets) is_protected = is_protected || (sheet.is_worksheet && sheet.is_protected);
    if (is_protected) Set_Work_Flags(workbook, Get_Work_Flags(workbook) | kWorkProtected);
    std::vector<MemoryRef> layers;
    int16_t error = fill_all_or_fail(book, stream, first_layer, workbook, layers);
    if (error) {
        while (num_SpreadSheets(workbook) > layers_before) drop_last_layer(workbook);
        const CellRange everything{{0, 0}, {kLastCell, kLastCell}};
        Clear_Cells(&everything, GetSpreadSheetCells(first_layer));
        if (MemoryRef names = Get_rangeinfo(first_layer); names != names_before) {
            DisposeNonNilMemory(names);
            Set_rangeinfo(first_layer, names_before);
        }
    }
    return error;
}
