// What reading a workbook leaves in its layers, byte for byte: the cell
// store, row and column formats, named ranges and sheet names of sample
// workbooks of every kind, against digests taken when the reader was known
// to be right. A change of the reader that changes a single byte of any
// layer shows here.
#include "model/named_ranges.h"
#include "tests/excel/excel_fixture.h"
#include "tests/excel/excel_samples.h"

namespace {

using biff::Body;
using biff::Record;
using biff::Sheet;
using biff::Tokens;

struct Digest {
    uint64_t value = 1469598103934665603ull;
    void add(const void* bytes, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            value ^= static_cast<const uint8_t*>(bytes)[i];
            value *= 1099511628211ull;
        }
    }
    void add_block(MemoryRef block) {
        const int32_t size = block ? GetByteSize(block) : -1;
        add(&size, sizeof size);
        if (size <= 0) return;
        add(UseMemory(block), size_t(size));
        UnuseMemory(block);
    }
    void add_count(int count) { add(&count, sizeof count); }
};

class ExcelStoredLayersTest : public ExcelTest {
protected:
    // Every layer's stored bytes and the losses noted, in one digest, read
    // into a workbook of its own.
    uint64_t digest_of_import(const std::vector<uint8_t>& file) {
        MemoryRef book = make_workbook("Stored", 1);
        ImportReport losses;
        Digest digest;
        digest.add_count(read_excel_bytes(file, add_layer(book), &losses));
        for (int16_t i = 0; i < num_SpreadSheets(book); ++i) {
            MemoryRef at = find_SpreadSheet_item(book, i);
            digest.add_block(GetSpreadSheetCells(at));
            digest.add_block(GetSpreadSheetRowFormats(at));
            digest.add_block(GetSpreadSheetColumnFormats(at));
            digest.add_block(Get_rangeinfo(at));
            unsigned char name[32];
            GetSheetName(name, at);
            digest.add(name, size_t(name[0]) + 1);
            digest.add(use_layer(at)->default_column_format, kColumnFormatSize);
            release_layer(at);
        }
        for (int count : {losses.unconverted_formulas, losses.replaced_characters, losses.cells_beyond_grid,
                          losses.texts_cut, losses.names_dropped})
            digest.add_count(count);
        DisposeWorkSheet(book);
        return digest.value;
    }

    void expect_digest(const char* what, const std::vector<uint8_t>& file, uint64_t expected) {
        const uint64_t found = digest_of_import(file);
        EXPECT_EQ(found, expected) << what << ": 0x" << std::hex << found;
    }
};

Record sst(const std::vector<std::string>& strings) {
    Body body;
    body.u32(uint32_t(strings.size())).u32(uint32_t(strings.size()));
    for (const std::string& s : strings) body.text8(s);
    return {biff::kSst, body.v};
}

// A cell format that shows on an empty cell (a bottom border), beside the
// general one.
std::vector<Record> formats_with_border() {
    Record font{0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0).text8("Arial", true).v};
    auto xf = [](uint32_t borders) {
        return Record{0x00E0, Body().u16(0).u16(0).u16(0x0001).u8(0).u8(0).u8(0).u8(0).u32(borders).u32(0).u16(0).v};
    };
    return {font, xf(0), xf(0x1000)};
}

Record blank(uint16_t row, uint16_t column, uint16_t xf) { return {0x0201, Body().cell(row, column, xf).v}; }
Record merged(uint16_t first_row, uint16_t last_row, uint16_t first_column, uint16_t last_column) {
    return {0x00E5, Body().u16(1).u16(first_row).u16(last_row).u16(first_column).u16(last_column).v};
}

// A LABEL of `length` letters, going on in CONTINUE records.
std::vector<Record> label_in_parts(uint16_t row, uint16_t column, size_t length) {
    constexpr size_t kPart = 8000;
    std::vector<Record> records{{0x0204, Body().cell(row, column).u16(uint16_t(length)).u8(0).raw(std::string(kPart, 'L')).v}};
    for (size_t at = kPart; at < length; at += kPart)
        records.push_back({biff::kContinue, Body().u8(0).raw(std::string(std::min(kPart, length - at), 'M')).v});
    return records;
}

// Cells of every kind with a shared formula, a text result after it, merged
// ranges, empty cells with and without a visible format, a cell past the grid
// and a text longer than a cell; in order or not, some written twice.
std::vector<uint8_t> mixed_workbook(bool in_order) {
    std::vector<uint8_t> shared = Body().u8(0x24).u16(0).u16(0xC000).u8(0x1E).u16(2).u8(0x05).v;  // A1*2, relative
    std::vector<uint8_t> exp = Body().u8(0x01).u16(2).u16(1).v;
    std::vector<Record> cells{
        biff::number(0, 0, 1.5), biff::label_sst(0, 1, 1), biff::rk(0, 2, (9u << 2) | 2), blank(0, 3, 1), blank(0, 4, 0),
        biff::number(1, 0, 2.25), biff::boolerr(1, 1, 1, false), biff::boolerr(1, 2, 0x07, true),
        biff::formula_marked(2, 1, exp, 0, 0),
        {0x04BC, Body().u16(2).u16(4).u8(1).u8(1).u16(0).u16(uint16_t(shared.size())).raw(shared).v},
        {0x0207, Body().text8("shared text").v},
        biff::formula(3, 1, Body().u8(0x01).u16(2).u16(1).v, 6), biff::formula(4, 1, Body().u8(0x01).u16(2).u16(1).v, 7),
        {0x00BD, Body().u16(5).u16(0).u16(0).u32((3u << 2) | 2).u16(1).u32(0x3FF00000).u16(0).u32((4u << 2) | 3).u16(2).v},
        biff::number(7, 0, 70), biff::number(7, 1, 71), biff::number(8, 0, 80), biff::number(8, 1, 81),
        biff::number(40000, 0, 1),
    };
    std::vector<Record> long_label = label_in_parts(6, 0, 33000);
    std::vector<Record> records{biff::row(1, 400), biff::row(7, 0x8000 | 255)};
    if (in_order) {
        records.insert(records.end(), cells.begin(), cells.end());
    } else {
        for (size_t i = cells.size(); i-- > 0;)
            if (i < 8 || i > 10) records.push_back(cells[i]);
        records.insert(records.begin() + 4, cells.begin() + 8, cells.begin() + 11);  // the formula, its shared tokens, its text
        records.push_back(biff::number(0, 0, 99));  // written twice: this one stays
        records.push_back(blank(0, 0, 0));          // an empty cell without a visible format is no cell
    }
    records.insert(records.begin() + 3, long_label.begin(), long_label.end());
    records.push_back(merged(7, 8, 0, 1));
    records.push_back({0x007D, Body().u16(1).u16(2).u16(20 * 256).u16(0).u16(0).u16(0).v});
    std::vector<Record> globals = formats_with_border();
    globals.push_back(sst({"zero", "one"}));
    return biff::compound_file(biff::workbook(true, globals, {Sheet{"Mixed", records}, Sheet{"Next", {biff::number(0, 0, 5)}}}));
}

std::vector<uint8_t> biff5_workbook() {
    Record code_page{0x0042, Body().u16(1252).v};
    std::vector<uint8_t> tokens = Body().u8(0x24).u16(0xC000).u8(0).u8(0x1E).u16(1).u8(0x03).v;  // A1+1
    Sheet sheet{"Five", {{0x0204, Body().cell(0, 1).text5("caf\xe9").v}, biff::number(0, 0, 4),
                         biff::formula(1, 0, tokens, 5), biff::number(1, 3, 8)}};
    return biff::compound_file(biff::workbook(false, {code_page}, {sheet}), "Book");
}

std::vector<uint8_t> biff4_worksheet() {
    std::vector<uint8_t> stream;
    biff::append(stream, {0x0409, Body().u16(0).u16(0x0010).u16(0).v});
    biff::append(stream, biff::number(0, 0, 2.5));
    biff::append(stream, {0x0204, Body().cell(1, 0).text5("four").v});
    biff::append(stream, biff::number(0, 2, 3));
    biff::append(stream, {biff::kEof, {}});
    return stream;
}

TEST_F(ExcelStoredLayersTest, SampleWorkbooksLeaveTheirLayersByteForByte) {
    expect_digest("rich", biff::compound_file(biff::rich_stream()), 0xd5de5e84116043dbull);  // its date before 1904 keeps its format
    expect_digest("grid", biff::formula_grid(300), 0x11367dfd096dda2dull);
    expect_digest("mixed in order", mixed_workbook(true), 0x93009e5baafa0cc0ull);
    expect_digest("mixed out of order", mixed_workbook(false), 0x68b6d439d7e4df85ull);
    expect_digest("biff5", biff5_workbook(), 0x957c6fc3da2fee2aull);
    expect_digest("biff4", biff4_worksheet(), 0xbffc74ba9d18ee42ull);
}

}  // namespace
