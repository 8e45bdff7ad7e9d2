// The record filter: the workbook globals (fonts, formats, cell formats,
// shared strings, sheets, names), then each worksheet's cells, column widths,
// row heights and merged ranges. Sheets other than worksheets are skipped.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "excel/excel_book.h"
#include "excel/excel_text.h"
#include "formula/reference_text.h"
#include "model/cell_range.h"
#include "model/named_ranges.h"
#include "platform/text/mac_roman.h"

namespace {

constexpr uint16_t kBofWorkbookGlobals = 0x0005;
constexpr uint16_t kBofWorksheet = 0x0010;
constexpr uint16_t kBiff8Version = 0x0600;
constexpr uint8_t kSheetKindWorksheet = 0;
constexpr uint16_t kNameBuiltIn = 0x0020;
constexpr size_t kMaxSheets = 4096;
constexpr size_t kMaxSharedTokens = 4096;

// A text as this program holds it. BIFF8 keeps compressed UTF-16, not the
// code page, in one-byte strings.
template <typename Decode>
auto decoded_as(ExcelTextDecoder& decoder, bool biff8, const RawText& raw, Decode decode) {
    if (biff8 && !raw.wide) {
        uint16_t page = decoder.code_page;
        decoder.code_page = 1200;
        auto out = decode(raw);
        decoder.code_page = page;
        return out;
    }
    return decode(raw);
}

std::string decoded_text(ExcelTextDecoder& decoder, bool biff8, const RawText& raw) {
    return decoded_as(decoder, biff8, raw, [&](const RawText& r) { return decoder.mac_roman(r); });
}

std::string decoded_unicode(ExcelTextDecoder& decoder, bool biff8, const RawText& raw) {
    return decoded_as(decoder, biff8, raw, [&](const RawText& r) { return decoder.utf8(r); });
}

// A cell's text, in the script that spells it.
ScriptedText decoded_cell_text(ExcelTextDecoder& decoder, bool biff8, const RawText& raw) {
    return decoded_as(decoder, biff8, raw, [&](const RawText& r) { return decoder.cell_text(r); });
}

RawText continued_raw_text(bool biff8, ByteCursor& body, RecordWalk& walk) {
    SegmentedCursor text{{body}, 0};
    for (ByteCursor& more : walk.continuations()) text.segments.push_back(more);
    return biff8 ? text.unicode_string(false) : text.byte_string(false);
}

// A text, which may go on in the CONTINUE records after its own, in the
// script that spells it.
ScriptedText continued_text(ExcelTextDecoder& decoder, bool biff8, ByteCursor& body, RecordWalk& walk) {
    return decoded_cell_text(decoder, biff8, continued_raw_text(biff8, body, walk));
}

// The records of a shared, array or table formula come between its first
// cell's FORMULA record and the STRING record of that cell's text result.
bool between_formula_and_result(uint16_t type) {
    return type == kRecShrFmla || type == kRecArray || type == kRecTable;
}

// The records of a sheet itself, up to its EOF, passing over the substreams
// embedded in it (charts) when `nested` (BIFF5 and BIFF8).
struct SheetRecords {
    RecordWalk walk;
    bool nested;
    int depth = 0;

    // False at the sheet's EOF; a stream that ends before it is damaged.
    bool next(BiffRecord& record) {
        while (true) {
            if (!walk.read(record)) excel_damaged("sheet without EOF");
            if (nested && (record.type == kRecBof || record.type == kRecBofBiff4)) {
                ++depth;
            } else if (record.type == kRecEof) {
                if (depth-- == 0) return false;
            } else if (depth == 0) {
                return true;
            }
        }
    }
};

// The cell records of a sheet, each read into cells handed over one by one.
// Handlers are named after their record, as the BiffReader's are.
class CellRecordReader {
public:
    CellRecordReader(const ExcelBook& book, ExcelTextDecoder& decoder) : book_(book), decoder_(decoder) {}

    // Whether a formula's text result is looked for in the records after it.
    bool find_text_results = false;
    // Whether the last cell read was a formula whose text result follows.
    bool text_result_follows = false;

    // Hands the cells of a cell record to `take`, only the cell `only` of a
    // MULRK or MULBLANK when that is given; false for a record of another kind.
    bool read(BiffRecord& record, RecordWalk& walk, const ExcelCellTaker& take, int only = -1) {
        ByteCursor& body = record.body;
        ExcelCell cell;
        cell.place.record = record.offset;
        text_result_follows = false;
        switch (record.type) {
        case kRecNumber:
            read_head(cell, body);
            set_number(cell, body.f64());
            break;
        case kRecRk:
            read_head(cell, body);
            set_number(cell, rk_value(body.u32()));
            break;
        case kRecBlank: read_head(cell, body); break;  // a format without a value
        case kRecMulRk: pBD(cell, body, take, only); return true;
        case kRecMulBlank: pBE(cell, body, take, only); return true;
        case kRecLabelSst: {
            read_head(cell, body);
            uint32_t index = body.u32();
            if (index >= book_.strings.size()) excel_damaged("shared string out of range");
            set_text(cell, book_.strings[index]);
            break;
        }
        case kRecLabel:
        case kRecRString:
            read_head(cell, body);
            label_ = decoded_cell_text(decoder_, biff8(), continued_raw_text(biff8(), body, walk));
            set_text(cell, label_);
            break;
        case kRecBoolErr: {
            read_head(cell, body);
            uint8_t value = body.u8();
            bool error = body.u8() != 0;
            cell.kind = cell.value_kind = error ? ExcelCellKind::kError : ExcelCellKind::kBoolean;
            cell.number = error ? value : value != 0;
            break;
        }
        case kRecFormula:
        case kRecFormulaBiff4: p6(cell, body, walk); break;
        default: return false;
        }
        take(cell);
        return true;
    }

private:
    const ExcelBook& book_;
    ExcelTextDecoder& decoder_;
    ScriptedText text_;      // of the formula result being handed over
    ScriptedText label_;   // of the text cell being handed over

    bool biff8() const { return book_.version == kBiff8; }

    void read_head(ExcelCell& cell, ByteCursor& body) const {
        cell.row = body.u16();
        cell.column = body.u16();
        cell.xf = body.u16();
        check_xf(cell.xf);
    }

    void check_xf(uint16_t xf) const {
        if (!book_.xfs.empty() && xf >= book_.xfs.size()) excel_damaged("cell format out of range");
    }

    static void set_number(ExcelCell& cell, double value) {
        cell.kind = cell.value_kind = ExcelCellKind::kNumber;
        cell.number = value;
    }
    static void set_text(ExcelCell& cell, const ScriptedText& text) {
        cell.kind = cell.value_kind = ExcelCellKind::kText;
        cell.text = text.text;
        cell.script = text.script;
        cell.runs = text.runs;
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
    void read_cell_run(ExcelCell& cell, ByteCursor& body, bool with_numbers, const ExcelCellTaker& take, int only) {
        size_t item = with_numbers ? 6 : 2;
        if (body.size < 6 || (body.size - 6) % item != 0) excel_damaged("cell run length");
        cell.row = body.u16();
        uint16_t column = body.u16();
        size_t count = (body.size - 6) / item;
        for (size_t i = 0; i < count; ++i) {
            cell.column = uint16_t(column + i);
            cell.xf = body.u16();
            check_xf(cell.xf);
            if (with_numbers) set_number(cell, rk_value(body.u32()));
            cell.place.item = uint16_t(i);
            if (only < 0 || size_t(only) == i) take(cell);
        }
        if (body.u16() != column + count - 1) excel_damaged("cell run columns");
    }
    void pBD(ExcelCell& cell, ByteCursor& body, const ExcelCellTaker& take, int only) {
        read_cell_run(cell, body, true, take, only);
    }
    void pBE(ExcelCell& cell, ByteCursor& body, const ExcelCellTaker& take, int only) {
        read_cell_run(cell, body, false, take, only);
    }

    void p6(ExcelCell& cell, ByteCursor& body, const RecordWalk& walk) {
        read_head(cell, body);
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
                text_result_follows = true;
                if (find_text_results) {
                    const ScriptedText& text = text_result_after(walk);
                    cell.text = text.text;
                    cell.script = text.script;
                    cell.runs = text.runs;
                }
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

    // The text of the STRING record after a formula's; the records of its
    // shared formula and substreams embedded in the sheet may come between.
    // Empty when another record comes first.
    const ScriptedText& text_result_after(const RecordWalk& walk) {
        text_ = {};
        SheetRecords records{walk, book_.version != kBiff4};
        BiffRecord record;
        while (records.next(record)) {
            if (record.type == kRecString) {
                text_ = continued_text(decoder_, biff8(), record.body, records.walk);
                break;
            }
            if (!between_formula_and_result(record.type)) break;
        }
        return text_;
    }
};

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
                if (book_.sheets[i].is_worksheet) read_sheet(book_.sheets[i]);
        }
        book_.replaced_characters = text_.replaced;
        return std::move(book_);
    }

private:
    const std::vector<uint8_t>& stream_;
    bool decrypted_;  // with the default password: the workbook's structure is protected
    ExcelBook book_;
    ExcelTextDecoder text_;
    CellRecordReader cells_{book_, text_};
    bool biff4_format_indices_ = false;

    bool biff8() const { return book_.version == kBiff8; }

    // ---- Texts ------------------------------------------------------------

    std::string text_of(const RawText& raw) { return decoded_text(text_, biff8(), raw); }
    // A text of a record: a 16-bit length (a format's), or an 8-bit one (a
    // sheet's or font's name).
    RawText raw_text(ByteCursor& body, bool short_length) {
        return biff8() ? read_unicode_string(body, short_length) : read_byte_string(body, short_length);
    }
    std::string short_text(ByteCursor& body) { return text_of(raw_text(body, true)); }
    // The same in UTF-8, nothing replaced.
    std::string unicode_text(ByteCursor& body, bool short_length) {
        return decoded_unicode(text_, biff8(), raw_text(body, short_length));
    }
    // A font's name in Mac Roman. A name of another script names no font
    // here, so its letters are not counted among those of the workbook's
    // texts that were replaced.
    std::string font_name(ByteCursor& body) { return pf::utf8_to_mac_roman(unicode_text(body, true)); }

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
            case kRecPalette: p92(body); break;
            case kRecFormat: p41E(body); break;
            case kRecXfBiff8: biff8() ? pE0(body) : pE0_biff5(body); break;
            case kRecBoundSheet: p85(body); break;
            case kRecSst: pFC(record, walk); break;
            case kRecSupBook: p1AE(body); break;
            case kRecExternSheet: if (biff8()) p17(body); break;
            case kRecExternName: if (biff8()) p23(body); break;
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
        font.colour = body.u16();
        font.bold = body.u16() >= 700;
        body.skip(2);  // escapement
        font.underline = body.u8() != 0;
        body.skip(3);  // family, character set, reserved
        font.name = font_name(body);
        book_.fonts.push_back(std::move(font));
    }

    void p92(ByteCursor& body) {
        uint16_t count = body.u16();
        book_.palette.clear();
        for (uint16_t i = 0; i < count; ++i) {
            const uint8_t* rgb = body.bytes(4);
            book_.palette.push_back(uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]);
        }
    }

    void p231(ByteCursor& body) {
        ExcelFont font;
        font.height = body.u16();
        uint16_t options = body.u16();
        font.bold = options & 0x01;
        font.italic = options & 0x02;
        font.underline = options & 0x04;
        font.colour = body.u16();
        font.name = font_name(body);
        book_.fonts.push_back(std::move(font));
    }

    void p41E(ByteCursor& body) {
        uint16_t index = body.u16();
        if (biff4_format_indices_) index = uint16_t(book_.formats.size());
        book_.formats[index] = unicode_text(body, !biff8());
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
        xf.fill_pattern = uint8_t(body.u32() >> 26);
        xf.fill_colour = body.u16() & 0x7F;
        book_.xfs.push_back(xf);
    }

    void pE0_biff5(ByteCursor& body) {
        ExcelXf xf = xf_head(body);
        body.skip(1);  // orientation, used attributes
        uint32_t fill = body.u32();
        xf.fill_colour = fill & 0x7F;
        xf.fill_pattern = (fill >> 16) & 0x3F;
        xf.border_bottom = (fill >> 22) & 0x07;
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
        if (!spelled_in_mac_roman(unicode_text(body, true), sheet.name)) {
            sheet.name = "Sheet " + std::to_string(book_.sheets.size() + 1);
            sheet.renamed = true;
        }
        book_.sheets.push_back(std::move(sheet));
    }

    void pFC(BiffRecord& record, RecordWalk& walk) {
        SegmentedCursor strings{{record.body}, 0};
        for (ByteCursor& more : walk.continuations()) strings.segments.push_back(more);
        strings.u32();  // references to strings in the workbook
        uint32_t count = strings.u32();
        for (uint32_t i = 0; i < count; ++i)
            book_.strings.push_back(decoded_cell_text(text_, biff8(), strings.unicode_string(false)));
    }

    std::vector<bool> internal_supbooks_;

    void p1AE(ByteCursor& body) {
        bool internal = body.size == 4 && body.data[2] == 0x01 && body.data[3] == 0x04;
        internal_supbooks_.push_back(internal);
        book_.extern_names.emplace_back();
    }

    // A name of the last SUPBOOK (an add-in function's, another workbook's),
    // kept only to tell the user which function a formula calls: one cut
    // short is kept empty.
    void p23(ByteCursor& body) {
        if (book_.extern_names.empty()) return;
        std::string name;
        try {
            body.skip(6);  // options, sheet, reserved
            name = short_text(body);
        } catch (const ExcelDamaged&) {
        }
        book_.extern_names.back().push_back(std::move(name));
    }

    void p17(ByteCursor& body) {
        uint16_t count = body.u16();
        for (uint16_t i = 0; i < count; ++i) {
            uint16_t supbook = body.u16();
            int16_t first = body.i16(), last = body.i16();
            bool internal = supbook < internal_supbooks_.size() && internal_supbooks_[supbook];
            ExcelSheetRange range;
            if (internal && first >= 0 && last >= first) range.first = first, range.last = last;
            range.supbook = supbook;
            book_.extern_sheets.push_back(range);
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

    void read_sheet(ExcelSheet& sheet) {
        if (sheet.offset >= stream_.size()) excel_damaged("sheet outside the stream");
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

    // Every record is read to be checked; of the cells, only their number and
    // order are kept.
    void read_sheet_records(RecordWalk& walk, ExcelSheet& sheet) {
        SheetRecords records{walk, true};
        ExcelCellTaker count = cell_counter(sheet);
        comment_objects_ = {};
        BiffRecord record;
        while (records.next(record)) {
            if (record.type == kRecString)
                continued_text(text_, biff8(), record.body, records.walk);
            else if (record.type == kRecObj)
                p5D(record.body);
            else if (record.type == kRecTxo)
                p1B6(record.body, records.walk);
            else if (!cells_.read(record, records.walk, count))
                read_sheet_record(record.type, record.body, sheet);
        }
    }

    // ---- Comments ---------------------------------------------------------
    //
    // BIFF8 keeps a comment's text in a text object (TXO, its characters in
    // the CONTINUE records after it) that follows the comment's OBJ; the NOTE
    // record ties the object to its cell. Earlier versions keep the text in
    // the NOTE records themselves. A comment that cannot be read is counted
    // and left out; it never makes the workbook unreadable.

    struct CommentObjects {
        int last_object = -1;  // the id of the last OBJ when it is a comment's
        std::map<uint16_t, std::string> texts;  // by object id, UTF-8
    } comment_objects_;

    void p5D(ByteCursor& body) {
        constexpr uint16_t kCommonObjectData = 0x15, kCommentObject = 0x19;
        comment_objects_.last_object = -1;
        if (body.left() < 8 || body.u16() != kCommonObjectData) return;
        body.skip(2);  // its length
        uint16_t kind = body.u16();
        uint16_t id = body.u16();
        if (kind == kCommentObject) comment_objects_.last_object = id;
    }

    void p1B6(ByteCursor& body, RecordWalk& walk) {
        std::vector<ByteCursor> continuations = walk.continuations();
        if (comment_objects_.last_object < 0) return;
        const uint16_t id = uint16_t(comment_objects_.last_object);
        comment_objects_.last_object = -1;
        try {
            body.skip(10);  // options, rotation, reserved
            const uint16_t length = body.u16();
            if (length > 0 && continuations.empty()) excel_damaged("text object without its text");
            SegmentedCursor text{continuations.empty() ? std::vector<ByteCursor>{body} : continuations, 0};
            comment_objects_.texts[id] = decoded_unicode(text_, true, text.text_object_characters(length));
        } catch (const ExcelDamaged&) {
            // its NOTE finds no text and counts the comment as left out
        }
    }

    void read_note(ByteCursor& body, ExcelSheet& sheet) {
        try {
            p1C(body, sheet);
        } catch (const ExcelDamaged&) {
            ++sheet.comments_unreadable;
        }
    }

    // A NOTE record: BIFF8 names the text object of the cell's comment; an
    // earlier one holds (part of) the comment's text, a part after the first
    // in a record of row 0xFFFF.
    void p1C(ByteCursor& body, ExcelSheet& sheet) {
        const uint16_t row = body.u16();
        const uint16_t column = body.u16();
        if (biff8()) {
            body.skip(2);  // options
            auto found = comment_objects_.texts.find(body.u16());
            if (found != comment_objects_.texts.end())
                sheet.comments.push_back({row, column, found->second});
            else
                ++sheet.comments_unreadable;
            return;
        }
        constexpr uint16_t kMorePart = 0xFFFF;
        const uint16_t length = body.u16();
        RawText part;
        const size_t here = std::min<size_t>(length, body.left());
        part.bytes.assign(reinterpret_cast<const char*>(body.bytes(here)), here);
        if (row == kMorePart) {
            if (!sheet.comments.empty()) sheet.comments.back().text += text_.utf8(part);
        } else {
            sheet.comments.push_back({row, column, text_.utf8(part)});
        }
    }

    // Counts the cells of a sheet and notes whether any comes out of order.
    static ExcelCellTaker cell_counter(ExcelSheet& sheet) {
        return [&sheet, last = int64_t(-1)](const ExcelCell& cell) mutable {
            const int64_t at = int64_t(cell.row) << 16 | cell.column;
            if (at <= last) sheet.cells_in_order = false;
            last = at;
            ++sheet.cell_count;
        };
    }

    void read_sheet_record(uint16_t type, ByteCursor& body, ExcelSheet& sheet) {
        switch (type) {
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
            if (body.left() >= 6) {
                body.skip(4);
                row.custom = body.u16() & kRowHeightSetByHand;
            }
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
        case kRecNote: read_note(body, sheet); break;
        case kRecDefColWidth:  // in characters, without the 5-pixel margin; STANDARDWIDTH wins
            if (!sheet.default_width) sheet.default_width = uint16_t(std::min(body.u16() * 256 + 183, 0xFFFF));
            break;
        case kRecStandardWidth: sheet.default_width = body.u16(); break;
        default: break;
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
        ExcelCellTaker count = cell_counter(sheet);
        BiffRecord record;
        bool awaiting_string = false;  // a formula's text result follows
        while (true) {
            if (!walk.read(record)) excel_damaged("worksheet without EOF");
            ByteCursor& body = record.body;
            if (record.type == kRecEof) break;
            if (record.type == kRecFilePass) {
                book_.password = true;
                return;
            }
            if (record.type == kRecString && awaiting_string) {
                continued_text(text_, biff8(), body, walk);
                awaiting_string = false;
                continue;
            }
            if (!between_formula_and_result(record.type)) awaiting_string = false;
            switch (record.type) {
            case kRecCodePage: text_.code_page = book_.code_page = body.u16(); break;
            case kRecDateMode: book_.date1904 = body.u16() == 1; break;
            case kRecFontBiff4: p231(body); break;
            case kRecFormat: p41E(body); break;
            case kRecXfBiff4: p443(body); break;
            default:
                if (cells_.read(record, walk, count))
                    awaiting_string = cells_.text_result_follows;
                else
                    read_sheet_record(record.type, body, sheet);
                break;
            }
        }
    }
};

}  // namespace

ExcelBook read_biff_workbook(const std::vector<uint8_t>& stream, bool decrypted) {
    return BiffReader(stream, decrypted).read();
}

namespace {

// A reader of the cells of a sheet already read: texts through the
// workbook's code page, formulas with their text results.
struct StoredCellReader {
    explicit StoredCellReader(const ExcelBook& book) : cells(book, decoder) {
        decoder.code_page = book.code_page;
        cells.find_text_results = true;
    }
    ExcelTextDecoder decoder;
    CellRecordReader cells;
};

}  // namespace

void read_sheet_cells(const ExcelBook& book, const std::vector<uint8_t>& stream, const ExcelSheet& sheet,
                      const ExcelCellTaker& take) {
    StoredCellReader reader(book);
    SheetRecords records{RecordWalk{&stream, sheet.offset}, book.version != kBiff4};
    BiffRecord record;
    records.walk.read(record);  // its BOF
    while (records.next(record)) reader.cells.read(record, records.walk, take);
}

void read_cell_at(const ExcelBook& book, const std::vector<uint8_t>& stream, ExcelCellPlace place,
                  const ExcelCellTaker& take) {
    StoredCellReader reader(book);
    RecordWalk walk{&stream, place.record};
    BiffRecord record;
    if (walk.read(record)) reader.cells.read(record, walk, take, place.item);
}
