// Cells made from entry texts read out of interchange files (tab and CSV text,
// SYLK): each text is settled as a typed entry is (formula/typed_entry.h) and
// becomes the number, date, formula or text cell record typing would store,
// with the formula's result the file gives rather than one calculated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "formula/typed_entry.h"
#include "model/cell_range.h"
#include "model/cell_record.h"
#include "platform/text/scripts.h"

// The longest text a cell holds; longer texts are cut.
constexpr int32_t kMaxCellText = kLongestCellText;
// Entries of this length and more are not parsed: they are texts.
constexpr int32_t kMaxParsedEntry = kLongestParsedEntry + 1;

// Refusals of a typed entry beside the parser's codes (items of the parser's
// string list).
constexpr int32_t kEntryCircular = 14;
constexpr int32_t kEntryFormulaTooLong = 15;
constexpr int32_t kEntryFormulaInScripts = 19;  // a typed formula no one script spells

// The script of an entry's text is its format's (EntryCell::script).
constexpr int16_t kScriptOfFormat = -1;

// A text that becomes a cell: typed, pasted, dropped, set through the event
// socket, replaced, or read from a file.
struct EntryCell {
    CellPoint where;
    const uint8_t* header;   // the cell's 32-byte format; its id is set here
    std::string_view entry;  // what the cell holds, as typed
    // A formula's result as the file gives it (SYLK "K" beside "E"); none
    // leaves the parser's number in the result slot.
    std::string_view result;
    bool has_result = false;
    bool result_is_text = false;  // a text even when it reads as a number
    // A result the file gives as a value of its own (an error), or null.
    const double* result_value = nullptr;
    // A text that begins with "=" and is no formula keeps an apostrophe in
    // front, so that it is never parsed again (SYLK).
    bool quote_failed_formulas = false;
    // The style runs of the text (model/style_run_layout.h: a 16-bit count
    // first), each run in the script of its font; else the text is in
    // `script`.
    std::string_view runs;
    // The script of a text without runs (platform/text/scripts.h). A text
    // beyond ASCII sets the cell in a font of its script. kScriptOfFormat only
    // for a text in the script of `header`'s font, a format the road chose
    // for it (a file's field spelled for its cell).
    int16_t script = kScriptOfFormat;
    // A text as it stands, never read as a number or a formula (a quoted
    // SYLK value); even an empty one.
    bool text = false;
    // The label and note of the cell replaced, kept in the new one.
    std::string_view label_note;
    uint8_t label_length = 0;
    // Typed by the user: a formula is calculated at once, one that refers to
    // its own cell or that the parser refuses is refused, and a text is never
    // cut (the caller refuses one too long).
    bool typed = false;
};

// What became of an entry: the cell type appended (kCellConstant,
// kCellFormula, kCellText; kCellFormatOnly for an empty entry), or, for a
// typed entry, a refusal (nothing appended) and the offset of its fault.
struct EntryCellAnswer {
    uint8_t type = kCellFormatOnly;
    int32_t refusal = 0;
    int32_t error_offset = 0;
    bool text_cut = false;  // a file's text longer than a cell holds was cut
    // A formula no one script spells, from outside the entry line: kept as a
    // text cell holding it as written (a road says so; typing refuses it).
    bool formula_kept_as_text = false;
};

// Whether a whole text is a number as files write them ("." decimal point,
// any exponent), whatever the system's own number form.
bool file_number(std::string_view text, double* value);
// A number as files write it: the shortest text that reads back as the same
// number ("." as its point, at most 17 digits), or an error's text.
std::string file_number_text(double value);

// The one road from a text to a cell: appends the cell record of the entry to
// `row`. A text whose runs are in several scripts is spelled in one script
// when one spells it all, else kept in its runs; the cell's font follows the
// one script of a text beyond ASCII. The entry is read as the parser reads
// typing (number, date or time, formula, text) under the cell's format. A
// formula's texts are read in its cell's one script: whether a text in runs
// of several scripts is a formula is read from its letters (Unicode), and
// such a formula is refused when typed, else kept as a text cell.
EntryCellAnswer append_entry_cell(std::string& row, const EntryCell& entry, MemoryRef layer);
// The letters an entry means, UTF-8: its bytes read run by run, or in its
// script (that of the font its cell reads it in, for kScriptOfFormat).
std::string entry_letters(const EntryCell& entry, MemoryRef layer);

// A value a file gives a cell already read for what it is (a workbook's
// number, text or formula), never parsed again; filled by name.
struct FileValueCell {
    CellPoint where{};
    const uint8_t* header = nullptr;  // the cell's 32-byte format
    // kCellFormatOnly, kCellConstant (`number`), kCellText (`text`) or
    // kCellFormula (`formula`, with `number` or `text` as its result).
    uint8_t type = kCellFormatOnly;
    double number = 0;
    std::string_view typed{};  // the text a number shows on the entry line
    // A text, or a formula's text result (then `result_is_text`): in `script`
    // (platform/text/scripts.h), or in `runs` when it has them (a text cell
    // only). A text beyond ASCII is spelled in the script of the cell's font
    // when that spells it too, as typed text is; else it sets the cell in a
    // font of its own script.
    std::string_view text{};
    std::string_view runs{};
    int16_t script = pf::kScriptRoman;
    bool result_is_text = false;
    // A formula as the parser stores it, its texts in `formula_script`, and
    // its text as parsed (bytes in that script), which the cell reads back as.
    std::string_view formula{};
    std::string_view formula_text{};
    int16_t formula_script = pf::kScriptRoman;
    // The script of the signs beyond ASCII a number's format shows (a
    // currency's), -1 for none: the cell's font follows it as it follows a
    // text's script (a formula's texts go first).
    int16_t shown_script = -1;
    // The cell's label and note.
    std::string_view label_note{};
    uint8_t label_length = 0;
};

// Appends the cell record of a value a file gives to `row`: the cell's font
// follows the script of its text (or of its formula's texts) by the rule of
// append_entry_cell; a text longer than a cell holds is cut (`text_cut`).
EntryCellAnswer append_file_value_cell(std::string& row, const FileValueCell& cell, MemoryRef layer);

// The parts of one cell record: its 32-byte format (the column id and the
// type and lengths are set from the rest), the label and note bytes (kept
// from the cell it replaces), the body (a formula, a number's slot and the
// text it was typed as, or a text) and what follows the body: a formula's
// result, or a text's style runs.
struct CellRecordParts {
    const uint8_t* header = nullptr;
    int16_t column = 0;
    uint8_t type = kCellFormatOnly;
    std::string_view label_note;
    uint8_t label_length = 0;
    // A number cell's value, written as the slot that opens the body; `body`
    // then holds what follows the slot (the text it was typed as).
    std::optional<double> number;
    std::string_view body;
    std::string_view tail;
    bool tail_is_style = false;
    int16_t result_type = kResultNone;
};
// Appends the bytes of the cell record to `row`: every cell built from an
// entry, typed or read from a file, is assembled here.
void append_cell_record(std::string& row, const CellRecordParts& parts);
// The body of a number cell: the number's slot and the text it was typed as.
std::string number_cell_body(double value, std::string_view typed);

// Cell records of a known kind: only a format; a text as it stands (cut to
// kMaxCellText), with its runs when it is in several scripts; a number with
// the text it was typed as.
void append_format_cell(std::string& row, const uint8_t* header, int16_t column);
void append_text_cell(std::string& row, const uint8_t* header, int16_t column, std::string_view text,
                      std::string_view runs = {}, MemoryRef layer = nullptr);
void append_number_cell(std::string& row, const uint8_t* header, int16_t column, double value,
                        std::string_view typed);

// A row record of the cells in `cells`, appended to `store`.
void append_row_record(std::string& store, int16_t row, const std::string& cells);

// Replaces the layer's cells by the bytes of a cell store.
void set_layer_cells(MemoryRef layer, const std::string& store);

// Row records gathered in a cell block of their own, which becomes a layer's
// store only once a whole file is read: the layer keeps its cells when the
// read fails, and the records are never copied.
class CellBlockRows {
public:
    explicit CellBlockRows(MemoryGlobals* globals = &mem_globals);
    ~CellBlockRows();
    CellBlockRows(const CellBlockRows&) = delete;
    CellBlockRows& operator=(const CellBlockRows&) = delete;

    // Room for about `bytes` of records, so that the block grows in few steps.
    void reserve(size_t bytes);
    // A row record of the cells.
    void append(int16_t row, std::string_view cells);
    // One cell at the end of the last row record when that is of `row`, else
    // in a new one; answers where the cell's bytes begin.
    uint32_t append_cell(int16_t row, std::string_view cell);
    // The records, in place until unuse.
    uint8_t* use();
    void unuse();
    size_t size() const;
    MemoryRef records() const { return block_; }
    // Whether memory ran out: what came after was not kept.
    bool failed() const { return failed_; }
    // Gives the records to the layer in place of its cells.
    void install(MemoryRef layer);

private:
    // `length` more bytes at the end, in use; null when memory runs out.
    uint8_t* grow(int32_t length);

    MemoryRef block_;
    bool failed_ = false;
    int32_t last_row_ = -1;
    size_t last_row_at_ = 0;
};
