// The record filter: the workbook globals (fonts, formats, cell formats,
// shared strings, sheets, names), then each worksheet's cells, column widths,
// row heights and merged ranges. Sheets other than worksheets are skipped.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "excel/excel_book.h"
#include "excel/excel_text.h"
#include "excel/formula_tokens.h"
#include "formula/reference_text.h"
#include "model/cell_range.h"
#include "model/named_ranges.h"

namespace {

constexpr uint16_t kBofWorkbookGlobals = 0x0005;
constexpr uint16_t kBofWorksheet = 0x0010;
constexpr uint16_t kBiff8Version = 0x0600;
constexpr uint8_t kSheetKindWorksheet = 0;
constexpr uint16_t kNameBuiltIn = 0x0020;
constexpr size_t kMaxSheets = 4096;
constexpr size_t kMaxSharedTokens = 4096;

// Record handlers are named after the record they read: p31 reads FONT
// (0x0031), pE0 an XF (0x00E0), pFC the shared strings (0x00FC) and so on.
class BiffReader {
public:
    BiffReader(const std::vector<uint8_t>& stream, bool decrypted) : stream_(stream), decrypted_(decrypted) {}

    ExcelBook read() {
        RecordWalk walk{&stream_, 0};
        BiffRecord bof;
        if (!walk.read(bof) || (bof.type != kRecBof && bof.type != kRecBofBiff4)) excel_damaged("no BOF");
        if (bof.type == kRecBofBiff4) {
            read_biff4_worksheet(walk, bof);
        } else {
            uint16_t version = bof.body.u16();
            uint16_t kind = bof.body.u16();
            if (kind != kBofWorkbookGlobals) excel_damaged("not a workbook");
            book_.version = version == kBiff8Version ? kBiff8 : kBiff5;
            read_globals(walk);
            if (book_.password) return std::move(book_);
            for (size_t i = 0; i < book_.sheets.size(); ++i)
                if (book_.sheets[i].is_worksheet) read_sheet(book_.sheets[i], sheet_span(i));
        }
        convert_formulas();
        book_.replaced_characters = text_.replaced;
        return std::move(book_);
    }

private:
    const std::vector<uint8_t>& stream_;
    bool decrypted_;  // with the default password: the workbook's structure is protected
    ExcelBook book_;
    ExcelTextDecoder text_;
    bool biff4_format_indices_ = false;

    bool biff8() const { return book_.version == kBiff8; }

    // ---- Texts ------------------------------------------------------------

    std::string text_of(const RawText& raw) {
        // BIFF8 keeps compressed UTF-16, not the code page, in one-byte strings.
        if (biff8() && !raw.wide) {
            uint16_t page = text_.code_page;
            text_.code_page = 1200;
            std::string out = text_.mac_roman(raw);
            text_.code_page = page;
            return out;
        }
        return text_.mac_roman(raw);
    }
    // A cell's or format's text: a 16-bit length.
    std::string long_text(ByteCursor& body) {
        return text_of(biff8() ? read_unicode_string(body, false) : read_byte_string(body, false));
    }
    // A sheet's or font's name: an 8-bit length.
    std::string short_text(ByteCursor& body) {
        return text_of(biff8() ? read_unicode_string(body, true) : read_byte_string(body, true));
    }

    // ---- Globals ----------------------------------------------------------

    void read_globals(RecordWalk& walk) {
        BiffRecord record;
        while (true) {
            if (!walk.read(record)) excel_damaged("globals without EOF");
            ByteCursor& body = record.body;
            switch (record.type) {
            case kRecEof: return;
            case kRecFilePass:
                if (decrypted_) {
                    book_.structure_protected = true;
                    break;
                }
                book_.password = true;
                return;
            case kRecCodePage: text_.code_page = book_.code_page = body.u16(); break;
            case kRecDateMode: book_.date1904 = body.u16() == 1; break;
            case kRecProtect: book_.structure_protected = body.u16() != 0; break;
            case kRecFont: p31(body); break;
            case kRecFormat: p41E(body); break;
            case kRecXfBiff8: biff8() ? pE0(body) : pE0_biff5(body); break;
            case kRecBoundSheet: p85(body); break;
            case kRecSst: pFC(record, walk); break;
            case kRecSupBook: p1AE(body); break;
            case kRecExternSheet: if (biff8()) p17(body); break;
            case kRecName: p18(body); break;
            default: break;
            }
        }
    }

    void p31(ByteCursor& body) {
        ExcelFont font;
        font.height = body.u16();
        uint16_t options = body.u16();
        font.italic = options & 0x02;
        body.skip(2);  // colour
        font.bold = body.u16() >= 700;
        body.skip(2);  // escapement
        font.underline = body.u8() != 0;
        body.skip(3);  // family, character set, reserved
        font.name = short_text(body);
        book_.fonts.push_back(std::move(font));
    }

    void p231(ByteCursor& body) {
        ExcelFont font;
        font.height = body.u16();
        uint16_t options = body.u16();
        font.bold = options & 0x01;
        font.italic = options & 0x02;
        font.underline = options & 0x04;
        body.skip(2);  // colour
        font.name = short_text(body);
        book_.fonts.push_back(std::move(font));
    }

    void p41E(ByteCursor& body) {
        uint16_t index = body.u16();
        if (biff4_format_indices_) index = uint16_t(book_.formats.size());
        book_.formats[index] = biff8() ? long_text(body) : short_text(body);
    }

    // The fields BIFF5 and BIFF8 XF records begin alike with.
    static ExcelXf xf_head(ByteCursor& body) {
        ExcelXf xf;
        xf.font = body.u16();
        xf.format = body.u16();
        xf.locked = body.u16() & 0x01;
        xf.horizontal = body.u8() & 0x07;
        return xf;
    }

    void pE0(ByteCursor& body) {
        ExcelXf xf = xf_head(body);
        body.skip(3);  // rotation, indent, used attributes
        uint32_t borders = body.u32();
        xf.border_left = borders & 0x0F;
        xf.border_right = (borders >> 4) & 0x0F;
        xf.border_top = (borders >> 8) & 0x0F;
        xf.border_bottom = (borders >> 12) & 0x0F;
        book_.xfs.push_back(xf);
    }

    void pE0_biff5(ByteCursor& body) {
        ExcelXf xf = xf_head(body);
        body.skip(1);  // orientation, used attributes
        xf.border_bottom = (body.u32() >> 22) & 0x07;
        uint32_t borders = body.u32();
        xf.border_top = borders & 0x07;
        xf.border_left = (borders >> 3) & 0x07;
        xf.border_right = (borders >> 6) & 0x07;
        book_.xfs.push_back(xf);
    }

    void p443(ByteCursor& body) {
        ExcelXf xf;
        xf.font = body.u8();
        xf.format = body.u8();
        xf.locked = body.u8() & 0x01;
        body.skip(1);
        xf.horizontal = body.u16() & 0x07;
        body.skip(2);  // fill
        uint32_t borders = body.u32();
        xf.border_top = borders & 0x07;
        xf.border_left = (borders >> 8) & 0x07;
        xf.border_bottom = (borders >> 16) & 0x07;
        xf.border_right = (borders >> 24) & 0x07;
        book_.xfs.push_back(xf);
    }

    void p85(ByteCursor& body) {
        if (book_.sheets.size() >= kMaxSheets) excel_damaged("too many sheets");
        ExcelSheet sheet;
        sheet.offset = body.u32();
        body.skip(1);  // visibility
        sheet.is_worksheet = body.u8() == kSheetKindWorksheet;
        sheet.name = short_text(body);
        book_.sheets.push_back(std::move(sheet));
    }

    void pFC(BiffRecord& record, RecordWalk& walk) {
        SegmentedCursor strings{{record.body}, 0};
        for (ByteCursor& more : walk.continuations()) strings.segments.push_back(more);
        strings.u32();  // references to strings in the workbook
        uint32_t count = strings.u32();
        for (uint32_t i = 0; i < count; ++i) book_.strings.push_back(text_of(strings.unicode_string(false)));
    }

    std::vector<bool> internal_supbooks_;

    void p1AE(ByteCursor& body) {
        bool internal = body.size == 4 && body.data[2] == 0x01 && body.data[3] == 0x04;
        internal_supbooks_.push_back(internal);
    }

    void p17(ByteCursor& body) {
        uint16_t count = body.u16();
        for (uint16_t i = 0; i < count; ++i) {
            uint16_t supbook = body.u16();
            int16_t first = body.i16(), last = body.i16();
            bool internal = supbook < internal_supbooks_.size() && internal_supbooks_[supbook];
            book_.extern_sheets.push_back(internal && first >= 0 && last >= first ? ExcelSheetRange{first, last}
                                                                                 : ExcelSheetRange{});
        }
    }

    // Every name is kept, in order, for the formulas that use it by number; a
    // name that stands for one range of one sheet becomes a named range of
    // that layer, names of other kinds are left out.
    void p18(ByteCursor& body) {
        uint16_t options = body.u16();
        body.skip(1);  // keyboard shortcut
        uint8_t name_length = body.u8();
        uint16_t formula_length = body.u16();
        body.skip(2);  // unused, or the extern sheet index
        body.skip(2);  // the sheet of a local name
        body.skip(4);  // lengths of menu, description, help and status texts
        RawText raw;
        if (biff8()) {
            raw.wide = body.u8() & 0x01;
            size_t bytes = size_t(name_length) * (raw.wide ? 2 : 1);
            raw.bytes.assign(reinterpret_cast<const char*>(body.bytes(bytes)), bytes);
        } else {
            raw.bytes.assign(reinterpret_cast<const char*>(body.bytes(name_length)), name_length);
        }
        ByteCursor tokens{body.bytes(formula_length), formula_length, 0};
        ExcelName name;
        name.name = text_of(raw);
        if (!(options & kNameBuiltIn) && name_range(tokens, name)) {
            name.usable = range_held(name) && usable_name_text(name);
            if (!range_held(name)) ++book_.names_dropped;
        }
        book_.names.push_back(std::move(name));
    }

    // Both corners in the grid, the first above and left of the last.
    static bool range_held(const ExcelName& name) {
        return cell_in_grid(name.first_row, name.first_column) && cell_in_grid(name.last_row, name.last_column) &&
               name.first_row <= name.last_row && name.first_column <= name.last_column;
    }

    // Whether a named range of this program can carry the name's text.
    static bool usable_name_text(const ExcelName& name) {
        if (name.name.empty() || name.name.size() >= kNamedRangeNameSize) return false;
        unsigned char text[kNamedRangeNameSize];
        text[0] = uint8_t(name.name.size());
        std::memcpy(text + 1, name.name.data(), name.name.size());
        return TestRangeChars(text) == 0;
    }

    bool name_range(ByteCursor& tokens, ExcelName& name) {
        if (tokens.size == 0) return false;
        uint8_t token = tokens.u8();
        uint8_t base = token >= 0x40 ? uint8_t((token & 0x1F) | 0x20) : token;
        if (base != 0x3A && base != 0x3B) return false;
        int sheet;
        if (biff8()) {
            uint16_t entry = tokens.u16();
            if (entry >= book_.extern_sheets.size()) return false;
            const ExcelSheetRange& range = book_.extern_sheets[entry];
            if (range.first < 0 || range.first != range.last) return false;
            sheet = range.first;
        } else {
            tokens.skip(10);
            sheet = tokens.i16();
            if (tokens.i16() != sheet) return false;
        }
        name.sheet = sheet;
        if (base == 0x3A) {
            name.first_row = name.last_row = tokens.u16();
            name.first_column = name.last_column = biff8() ? tokens.u16() & 0xFF : tokens.u8();
        } else {
            name.first_row = tokens.u16();
            name.last_row = tokens.u16();
            name.first_column = biff8() ? tokens.u16() & 0xFF : tokens.u8();
            name.last_column = biff8() ? tokens.u16() & 0xFF : tokens.u8();
        }
        if (!biff8()) {
            name.first_row &= 0x3FFF;
            name.last_row &= 0x3FFF;
        }
        return tokens.left() == 0;
    }

    // ---- Worksheets -------------------------------------------------------

    // The bytes from a sheet's BOF to the next sheet's, or to the end.
    size_t sheet_span(size_t index) const {
        size_t end = stream_.size();
        for (const ExcelSheet& other : book_.sheets)
            if (other.offset > book_.sheets[index].offset && other.offset < end) end = other.offset;
        return end > book_.sheets[index].offset ? end - book_.sheets[index].offset : 0;
    }

    void read_sheet(ExcelSheet& sheet, size_t span) {
        if (sheet.offset >= stream_.size()) excel_damaged("sheet outside the stream");
        constexpr size_t kSmallestCellRecord = 14, kMostReserved = size_t(1) << 20;
        sheet.cells.reserve(std::min(span / kSmallestCellRecord, kMostReserved));
        RecordWalk walk{&stream_, sheet.offset};
        BiffRecord bof;
        if (!walk.read(bof) || bof.type != kRecBof) excel_damaged("sheet without BOF");
        bof.body.u16();
        if (bof.body.u16() != kBofWorksheet) {
            sheet.is_worksheet = false;
            return;
        }
        read_sheet_records(walk, sheet);
    }

    void read_sheet_records(RecordWalk& walk, ExcelSheet& sheet) {
        BiffRecord record;
        ExcelCell* awaiting_string = nullptr;  // a formula whose text result follows
        int depth = 0;  // substreams embedded in the sheet (charts)
        while (true) {
            if (!walk.read(record)) excel_damaged("sheet without EOF");
            ByteCursor& body = record.body;
            if (record.type == kRecBof || record.type == kRecBofBiff4) {
                ++depth;
                continue;
            }
            if (record.type == kRecEof) {
                if (depth-- == 0) break;
                continue;
            }
            if (depth > 0) continue;
            if (record.type == kRecString) {
                std::string text = continued_text(body, walk);
                if (awaiting_string) awaiting_string->text = std::move(text);
                awaiting_string = nullptr;
                continue;
            }
            if (!between_formula_and_result(record.type)) awaiting_string = nullptr;
            read_sheet_record(record.type, body, walk, sheet, awaiting_string);
        }
    }

    // The records of a shared, array or table formula come between its first
    // cell's FORMULA record and the STRING record of that cell's text result.
    static bool between_formula_and_result(uint16_t type) {
        return type == kRecShrFmla || type == kRecArray || type == kRecTable;
    }

    // A cell's text, which may go on in the CONTINUE records after its own.
    std::string continued_text(ByteCursor& body, RecordWalk& walk) {
        SegmentedCursor text{{body}, 0};
        for (ByteCursor& more : walk.continuations()) text.segments.push_back(more);
        return text_of(biff8() ? text.unicode_string(false) : text.byte_string(false));
    }

    void read_sheet_record(uint16_t type, ByteCursor& body, RecordWalk& walk, ExcelSheet& sheet,
                           ExcelCell*& awaiting_string) {
        switch (type) {
        case kRecNumber: {
            ExcelCell& cell = add_cell(sheet, body);
            set_number(cell, body.f64());
            break;
        }
        case kRecRk: {
            ExcelCell& cell = add_cell(sheet, body);
            set_number(cell, rk_value(body.u32()));
            break;
        }
        case kRecMulRk: pBD(sheet, body); break;
        case kRecBlank: add_cell(sheet, body); break;  // a format without a value
        case kRecMulBlank: pBE(sheet, body); break;
        case kRecLabelSst: {
            ExcelCell& cell = add_cell(sheet, body);
            uint32_t index = body.u32();
            if (index >= book_.strings.size()) excel_damaged("shared string out of range");
            set_text(cell, book_.strings[index]);
            break;
        }
        case kRecLabel:
        case kRecRString: {
            ExcelCell& cell = add_cell(sheet, body);
            set_text(cell, continued_text(body, walk));
            break;
        }
        case kRecBoolErr: {
            ExcelCell& cell = add_cell(sheet, body);
            uint8_t value = body.u8();
            bool error = body.u8() != 0;
            cell.kind = cell.value_kind = error ? ExcelCellKind::kError : ExcelCellKind::kBoolean;
            cell.number = error ? value : value != 0;
            break;
        }
        case kRecFormula:
        case kRecFormulaBiff4: p6(sheet, body, awaiting_string); break;
        case kRecShrFmla: p4BC(sheet, body); break;
        case kRecColInfo: {
            ExcelColumnWidth column;
            column.first = body.u16();
            column.last = body.u16();
            column.width = body.u16();
            column.xf = body.u16();
            sheet.columns.push_back(column);
            break;
        }
        case kRecRow: {
            ExcelRowHeight row;
            row.row = body.u16();
            body.skip(4);
            uint16_t height = body.u16();
            row.height = height & 0x7FFF;
            if (!(height & 0x8000)) sheet.rows.push_back(row);
            break;
        }
        case kRecMergedCells: {
            uint16_t count = body.u16();
            for (uint16_t i = 0; i < count; ++i) {
                ExcelMerge merge;
                merge.first_row = body.u16();
                merge.last_row = body.u16();
                merge.first_column = body.u16();
                merge.last_column = body.u16();
                sheet.merges.push_back(merge);
            }
            break;
        }
        case kRecProtect: sheet.is_protected = body.u16() != 0; break;
        case kRecDefColWidth:  // in characters, without the 5-pixel margin; STANDARDWIDTH wins
            if (!sheet.default_width) sheet.default_width = uint16_t(std::min(body.u16() * 256 + 183, 0xFFFF));
            break;
        case kRecStandardWidth: sheet.default_width = body.u16(); break;
        default: break;
        }
    }

    ExcelCell& add_cell(ExcelSheet& sheet, ByteCursor& body) {
        ExcelCell cell;
        cell.row = body.u16();
        cell.column = body.u16();
        cell.xf = body.u16();
        check_xf(cell.xf);
        sheet.cells.push_back(std::move(cell));
        return sheet.cells.back();
    }

    void check_xf(uint16_t xf) const {
        if (!book_.xfs.empty() && xf >= book_.xfs.size()) excel_damaged("cell format out of range");
    }

    static void set_number(ExcelCell& cell, double value) {
        cell.kind = cell.value_kind = ExcelCellKind::kNumber;
        cell.number = value;
    }
    static void set_text(ExcelCell& cell, std::string text) {
        cell.kind = cell.value_kind = ExcelCellKind::kText;
        cell.text = std::move(text);
    }

    static double rk_value(uint32_t rk) {
        double value;
        if (rk & 0x02) {
            value = double(int32_t(rk) >> 2);
        } else {
            uint64_t bits = uint64_t(rk & 0xFFFFFFFC) << 32;
            std::memcpy(&value, &bits, sizeof value);
        }
        return rk & 0x01 ? value / 100 : value;
    }

    // MULRK and MULBLANK: a row, its first column, a cell format (and for
    // MULRK a number) per cell, then the last column.
    void read_cell_run(ExcelSheet& sheet, ByteCursor& body, bool with_numbers) {
        size_t item = with_numbers ? 6 : 2;
        if (body.size < 6 || (body.size - 6) % item != 0) excel_damaged("cell run length");
        uint16_t row = body.u16();
        uint16_t column = body.u16();
        size_t count = (body.size - 6) / item;
        for (size_t i = 0; i < count; ++i) {
            ExcelCell cell;
            cell.row = row;
            cell.column = uint16_t(column + i);
            cell.xf = body.u16();
            check_xf(cell.xf);
            if (with_numbers) set_number(cell, rk_value(body.u32()));
            sheet.cells.push_back(std::move(cell));
        }
        if (body.u16() != column + count - 1) excel_damaged("cell run columns");
    }
    void pBD(ExcelSheet& sheet, ByteCursor& body) { read_cell_run(sheet, body, true); }
    void pBE(ExcelSheet& sheet, ByteCursor& body) { read_cell_run(sheet, body, false); }

    void p6(ExcelSheet& sheet, ByteCursor& body, ExcelCell*& awaiting_string) {
        ExcelCell& cell = add_cell(sheet, body);
        cell.kind = ExcelCellKind::kFormula;
        const uint8_t* result = body.bytes(8);
        body.skip(2);                                   // options
        if (book_.version != kBiff4) body.skip(4);      // reserved
        uint16_t length = body.u16();
        cell.tokens = body.bytes(length);
        cell.token_length = length;
        if (result[6] == 0xFF && result[7] == 0xFF) {
            switch (result[0]) {
            case 0:
                cell.value_kind = ExcelCellKind::kText;
                awaiting_string = &cell;
                break;
            case 1:
                cell.value_kind = ExcelCellKind::kBoolean;
                cell.number = result[2] != 0;
                break;
            case 2:
                cell.value_kind = ExcelCellKind::kError;
                cell.number = result[2];
                break;
            default: cell.value_kind = ExcelCellKind::kText; break;  // the empty text
            }
        } else {
            ByteCursor value{result, 8, 0};
            cell.value_kind = ExcelCellKind::kNumber;
            cell.number = value.f64();
        }
    }

    void p4BC(ExcelSheet& sheet, ByteCursor& body) {
        SharedFormula shared;
        shared.first_row = body.u16();
        shared.last_row = body.u16();
        shared.first_column = body.u8();
        shared.last_column = body.u8();
        body.skip(2);
        uint16_t length = body.u16();
        if (length > kMaxSharedTokens) excel_damaged("shared formula too long");
        const uint8_t* tokens = body.bytes(length);
        shared.tokens.assign(tokens, tokens + length);
        sheet.shared.push_back(std::move(shared));
    }

    // A BIFF4 file holds one worksheet with its own fonts and formats.
    void read_biff4_worksheet(RecordWalk& walk, BiffRecord& bof) {
        bof.body.u16();
        if (bof.body.u16() != kBofWorksheet) excel_damaged("not a worksheet");
        book_.version = kBiff4;
        biff4_format_indices_ = true;
        book_.sheets.push_back(ExcelSheet{});
        ExcelSheet& sheet = book_.sheets.back();
        sheet.name = "Sheet1";
        BiffRecord record;
        ExcelCell* awaiting_string = nullptr;
        while (true) {
            if (!walk.read(record)) excel_damaged("worksheet without EOF");
            ByteCursor& body = record.body;
            if (record.type == kRecEof) break;
            if (record.type == kRecFilePass) {
                book_.password = true;
                return;
            }
            if (record.type == kRecString && awaiting_string) {
                awaiting_string->text = continued_text(body, walk);
                awaiting_string = nullptr;
                continue;
            }
            if (!between_formula_and_result(record.type)) awaiting_string = nullptr;
            switch (record.type) {
            case kRecCodePage: text_.code_page = book_.code_page = body.u16(); break;
            case kRecDateMode: book_.date1904 = body.u16() == 1; break;
            case kRecFontBiff4: p231(body); break;
            case kRecFormat: p41E(body); break;
            case kRecXfBiff4: p443(body); break;
            default: read_sheet_record(record.type, body, walk, sheet, awaiting_string); break;
            }
        }
    }

    // ---- Formulas ---------------------------------------------------------

    void convert_formulas() {
        std::vector<int> layer_of_sheet;
        int layers = 0;
        for (const ExcelSheet& sheet : book_.sheets) layer_of_sheet.push_back(sheet.is_worksheet ? layers++ : -1);
        for (ExcelSheet& sheet : book_.sheets) {
            FormulaContext context;
            context.book = &book_;
            context.layer_of_sheet = &layer_of_sheet;
            context.shared = &sheet.shared;
            context.sheet = int(&sheet - book_.sheets.data());
            for (ExcelCell& cell : sheet.cells) {
                if (cell.kind != ExcelCellKind::kFormula) continue;
                context.row = cell.row;
                context.column = cell.column;
                ConvertedFormula converted = excel_formula_text(cell.tokens, cell.token_length, context);
                cell.formula = std::move(converted.text);
                cell.formula_key = std::move(converted.key);
                cell.tokens = nullptr;  // the stream goes when reading ends
            }
        }
    }
};

}  // namespace

ExcelBook read_biff_workbook(const std::vector<uint8_t>& stream, bool decrypted) {
    return BiffReader(stream, decrypted).read();
}
