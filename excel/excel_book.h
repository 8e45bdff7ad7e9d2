// A workbook as the record filter reads it, before anything of the program is
// made: every sheet with its column widths and row heights, and the tables the
// cells refer to. Reading checks every record of the stream, cells included,
// or fails, so a damaged file leaves nothing half-made; the cells themselves
// stay in the stream, to be read again one at a time as they are stored.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "excel/biff_stream.h"
#include "files/entry_script.h"
#include "platform/text/scripts.h"

enum class ExcelCellKind : uint8_t { kNumber, kText, kBoolean, kError, kFormula, kBlank };

// Error codes of Excel's cells and formulas.
enum ExcelErrorCode : uint8_t {
    kXlErrNull = 0x00,
    kXlErrDivZero = 0x07,
    kXlErrValue = 0x0F,
    kXlErrRef = 0x17,
    kXlErrName = 0x1D,
    kXlErrNum = 0x24,
    kXlErrNA = 0x2A,
};

// Where a cell's record is in the stream, and which of the record's cells it
// is (MULRK and MULBLANK hold several), to read it again.
struct ExcelCellPlace {
    size_t record = 0;
    uint16_t item = 0;
};

// A cell as its record gives it, handed over while the record is read: its
// text and tokens are good only for that call.
struct ExcelCell {
    uint16_t row = 0;
    uint16_t column = 0;
    uint16_t xf = 0;
    ExcelCellKind kind = ExcelCellKind::kBlank;
    // The value, or a formula's cached result: a number, a boolean (0 or 1) or
    // an error code; a text for kText and a text result, in `script`.
    ExcelCellKind value_kind = ExcelCellKind::kBlank;
    double number = 0;
    std::string_view text;
    int16_t script = 0;  // of a text: the script it is spelled in, -1 for several
    std::string_view runs;  // of a text in several scripts: its run table
    // Excel's parsed formula, inside the stream being read.
    const uint8_t* tokens = nullptr;
    uint16_t token_length = 0;
    ExcelCellPlace place;
};

// The tokens that the formulas of a range share, read with each cell's position.
struct SharedFormula {
    uint16_t first_row, last_row;
    uint8_t first_column, last_column;
    std::vector<uint8_t> tokens;
};

struct ExcelColumnWidth {
    uint16_t first = 0;
    uint16_t last = 0;
    uint16_t width = 0;  // 1/256 of the width of the digit zero
    uint16_t xf = 0;
};

struct ExcelRowHeight {
    uint16_t row = 0;
    uint16_t height = 0;  // twips
    bool custom = false;  // set by hand rather than following the row's fonts
};

struct ExcelMerge {
    uint16_t first_row, last_row, first_column, last_column;
};

// A cell's comment, its text in UTF-8.
struct ExcelComment {
    uint16_t row = 0;
    uint16_t column = 0;
    std::string text;
};

struct ExcelSheet {
    std::string name;  // Mac Roman
    // The workbook's name has letters Mac Roman lacks: `name` is a readable
    // one made of the sheet's place in the workbook.
    bool renamed = false;
    bool is_worksheet = true;
    size_t offset = 0;  // of its BOF in the stream
    bool is_protected = false;
    size_t cell_count = 0;      // cells of its records, MULRK and MULBLANK counted by cell
    bool cells_in_order = true;  // each cell after the one before it, by row then column
    uint16_t default_width = 0;  // of columns without their own, 1/256 of a digit; 0 none given
    std::vector<ExcelColumnWidth> columns;
    std::vector<ExcelRowHeight> rows;
    std::vector<ExcelMerge> merges;
    std::vector<SharedFormula> shared;
    std::vector<ExcelComment> comments;
    int comments_unreadable = 0;  // comments whose text objects could not be read
};

// Palette index of the window text colour: no colour of the cell's own.
constexpr uint16_t kExcelAutomaticColour = 0x7FFF;

struct ExcelFont {
    uint16_t height = 200;  // twips
    bool bold = false;
    bool italic = false;
    bool underline = false;
    uint16_t colour = kExcelAutomaticColour;  // palette index
    std::string name;
};

struct ExcelXf {
    uint16_t font = 0;
    uint16_t format = 0;
    uint8_t horizontal = 0;  // 0 general, 1 left, 2 centre, 3 right, ...
    bool locked = true;
    uint8_t border_left = 0, border_right = 0, border_top = 0, border_bottom = 0;
    uint8_t fill_pattern = 0;  // 0 none, 1 solid
    uint16_t fill_colour = kExcelAutomaticColour;  // palette index of the pattern's foreground
};

struct ExcelName {
    std::string name;     // Mac Roman
    bool usable = false;  // one range of one sheet, under a name a layer can hold
    int sheet = -1;       // the sheet of its range, -1 when it has none
    uint16_t first_row = 0, last_row = 0, first_column = 0, last_column = 0;
};

// A sheet that an EXTERNSHEET entry (BIFF8) or a BIFF5 reference names.
struct ExcelSheetRange {
    int first = -1;  // -1 when it is not a sheet of this workbook
    int last = -1;
    int supbook = -1;  // the SUPBOOK of the entry (BIFF8), -1 when unknown
};

struct ExcelBook {
    BiffVersion version = kBiff8;
    bool date1904 = false;
    bool password = false;
    bool structure_protected = false;
    uint16_t code_page = 1252;
    std::vector<ScriptedText> strings;  // the shared strings, each in the scripts that spell it
    std::vector<ExcelFont> fonts;
    std::vector<uint32_t> palette;  // 0xRRGGBB of indexes 8 on, when the workbook changed them
    std::map<uint16_t, std::string> formats;  // number format strings by index, UTF-8
    std::vector<ExcelXf> xfs;
    std::vector<ExcelSheet> sheets;
    std::vector<ExcelName> names;  // all the NAME records, in order
    std::vector<ExcelSheetRange> extern_sheets;
    std::vector<std::vector<std::string>> extern_names;  // the EXTERNNAME texts of each SUPBOOK (BIFF8)
    // What could not be carried over.
    int unconverted_formulas = 0;
    int replaced_characters = 0;
    int cells_beyond_grid = 0;
    int texts_cut = 0;  // longer than a cell holds
    int names_dropped = 0;  // of ranges a layer cannot hold
    // Dates the calendar here cannot show as themselves (before 1904 or
    // after 2040): their cells show their numbers.
    int dates_shown_as_numbers = 0;
    // Amounts in a currency this program has no format for: their cells show
    // their numbers with their decimals.
    int currencies_left_out = 0;
    // Durations in a form no format here shows: their cells show their numbers.
    int durations_left_out = 0;
    // Comments a cell note cannot hold (a note is Mac Roman, 255 characters
    // at most).
    int comments_left_out = 0;
    // The first few cells of the formulas kept as values ("F9: DAYS", with
    // what could not be converted when that is known), of the dates shown
    // as numbers, of the amounts without their currency and of the comments
    // left out.
    std::vector<std::string> unconverted_formula_cells;
    std::vector<std::string> date_number_cells;
    std::vector<std::string> currency_cells;
    std::vector<std::string> duration_cells;
    std::vector<std::string> comment_cells;
};

// Reads the workbook stream (BIFF4 worksheet, BIFF5/7 or BIFF8 workbook);
// throws ExcelDamaged. A workbook protected by a password comes back with
// `password` set and nothing else read; one that was `decrypted` with the
// default password comes back protected.
ExcelBook read_biff_workbook(const std::vector<uint8_t>& stream, bool decrypted = false);

using ExcelCellTaker = std::function<void(const ExcelCell&)>;

// Hands each cell of a worksheet that read_biff_workbook read from the same
// stream to `take`, in the order of its records, a formula with its text
// result; throws ExcelDamaged.
void read_sheet_cells(const ExcelBook& book, const std::vector<uint8_t>& stream, const ExcelSheet& sheet,
                      const ExcelCellTaker& take);
// The same for the one cell at a place a walk over the sheet gave.
void read_cell_at(const ExcelBook& book, const std::vector<uint8_t>& stream, ExcelCellPlace place,
                  const ExcelCellTaker& take);
