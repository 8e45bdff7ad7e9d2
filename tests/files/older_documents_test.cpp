// Hand-built documents of the previous generation: every record kind read into
// the current model, then backed up and saved as a current document.
#include <cstring>
#include <numeric>

#include "files/older_layers.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "platform/memory/memory.h"
#include "tests/files/document_fixture.h"
#include "tests/files/older_document_builder.h"
#include "tests/support/platform_stand_ins.h"

namespace {

using built::Bytes;

std::string text_of(const uint8_t* pstring) { return std::string(reinterpret_cast<const char*>(pstring + 1), pstring[0]); }

class OlderDocumentTest : public DocumentTest {
protected:
    MemoryRef book = nullptr;

    void TearDown() override {
        if (book) close_document_file(book), DisposeWorkSheet(book);
        DocumentTest::TearDown();
    }

    MemoryRef layer0() { return find_SpreadSheet_item(book, 0); }

    const uint8_t* cell_at(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        return get_cell_ptr(&cell, &length, CellPoint{row, column}, layer0()) ? cell : nullptr;
    }

    void open_full(int version, const std::string& name = "Old.qrv") {
        write_bytes(name, older::document(version, {older::full_layer()}));
        book = open(name);
        ASSERT_NE(book, nullptr);
    }
};

TEST_F(OlderDocumentTest, CellsBecomeCurrentCellsWithTheirFormatsConverted) {
    open_full(1000);
    const uint8_t* number = cell_at(2, 1);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(_cellType_(number), kCellConstant);
    EXPECT_EQ(load_f64(_formulaPtr_(number)), 12.5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_constTextPtr_(number)), 4), "12.5");
    EXPECT_EQ(format_font(number), 3);
    EXPECT_EQ(number[kFmtSize], 10);
    EXPECT_EQ(number[kFmtTextColour], 5);  // low four bits only
    EXPECT_EQ(number[kFmtPattern], 6);
    EXPECT_EQ(number[kFmtPatternFore], 7);
    EXPECT_EQ(format_border_styles(number), 0x1234);

    const uint8_t* text = cell_at(2, 2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(_cellType_(text), kCellText);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_formulaPtr_(text)), 2), "hi");

    // Old code '4' is a General number labelled "m".
    const uint8_t* metres = cell_at(2, 3);
    ASSERT_NE(metres, nullptr);
    EXPECT_EQ(metres[kFmtCode], kFormatGeneral);
    EXPECT_NE(metres[kFmtFlagsB] & kFlagBFixedDecimals, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(_labelPtr_(metres)), _labelLength_(metres)), "m");
    EXPECT_EQ(load_f64(_formulaPtr_(metres)), 2);

    const uint8_t* formula = cell_at(4, 0);
    ASSERT_NE(formula, nullptr);
    EXPECT_EQ(_resultType_(formula), kResultNumber);
    EXPECT_EQ(load_f64(_resultPtr_(formula)), 7);
    const uint8_t* fixed = cell_at(4, 5);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed[kFmtCode], kFormatGeneral);
    EXPECT_EQ(_labelLength_(fixed), 0);
}

TEST_F(OlderDocumentTest, HeaderFormatsLinksNamesAndTextsReachTheLayer) {
    open_full(771);
    SpreadSheet* sheet = use_layer(layer0());
    EXPECT_EQ(text_of(sheet->name), "Old");
    EXPECT_EQ(sheet->active_cell, (CellPoint{3, 2}));
    EXPECT_EQ(sheet->selection, (CellRange{{3, 2}, {5, 4}}));
    EXPECT_EQ(sheet->print_options, 0x40);
    EXPECT_EQ(sheet->flags & 0xFFFF, 0x2u | 0x1 | 0x8 | 0x200 | 0x100);
    EXPECT_NE(sheet->flags & kLayerFormatStale, 0u);
    EXPECT_EQ(sheet->margins[1], 18);
    EXPECT_EQ(sheet->printable_rect, (pf::Rect{0, 0, 700, 500}));
    EXPECT_EQ(sheet->print_title_rows[0], 4);
    EXPECT_EQ(sheet->first_page_number, 3);
    EXPECT_EQ(sheet->page_setup[31], 31);
    EXPECT_EQ(sheet->pane_rects[0], (pf::Rect{40, 10, 300, 400}));

    uint8_t* column = FindColumnFormatID(sheet->column_formats, 3);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(format_extent(column), 80);
    UnuseMemory(sheet->column_formats);
    column = FindColumnFormatID(sheet->column_formats, 4);
    if (column) {
        EXPECT_EQ(format_extent(column), -1);
        UnuseMemory(sheet->column_formats);
    }
    EXPECT_EQ(GetMemoryRecSize(sheet->row_formats), kRowFormatSize);
    EXPECT_EQ(format_extent(static_cast<uint8_t*>(UseMemory(sheet->row_formats))), 30);
    UnuseMemory(sheet->row_formats);

    ASSERT_NE(sheet->links, nullptr);
    auto* link = static_cast<uint8_t*>(UseMemory(sheet->links));
    EXPECT_EQ(link_id(link), 1);
    EXPECT_EQ(text_of(link + kLinkNameOffset), "Rates");
    EXPECT_EQ(text_of(link + kLinkPathOffset), "/home/a/Rates");
    UnuseMemory(sheet->links);

    auto* header = static_cast<uint8_t*>(UseMemory(sheet->header));
    EXPECT_EQ(load_i16(header), 1);
    EXPECT_EQ(text_of(header + 8), "^dPage");
    UnuseMemory(sheet->header);
    auto* footer = static_cast<uint8_t*>(UseMemory(sheet->footer));
    EXPECT_EQ(text_of(footer + 8), "ab^t^fc");  // tab and delete dropped, each ending a run
    UnuseMemory(sheet->footer);

    ASSERT_EQ(GetMemorySize(sheet->named_ranges), 1);
    EXPECT_EQ(named_range_cells(static_cast<uint8_t*>(UseMemory(sheet->named_ranges))), (CellRange{{1, 1}, {3, 3}}));
    UnuseMemory(sheet->named_ranges);
    release_layer(layer0());
}

Bytes handle_bytes(pf::Handle handle) {
    const auto* first = reinterpret_cast<const uint8_t*>(*handle);
    return Bytes(first, first + pf::get_handle_size(handle));
}

// The record goes whole to the platform, whose page format (here a copy of
// the record) the layer keeps; tests/app checks the platform's conversion.
TEST_F(OlderDocumentTest, TheOldPrintRecordBecomesTheLayersPageFormat) {
    older::Layer layer = older::full_layer();
    layer.print_record.resize(120);
    std::iota(layer.print_record.begin(), layer.print_record.end(), uint8_t(1));
    write_bytes("Printed.qrv", older::document(1000, {layer}));
    book = open("Printed.qrv");
    ASSERT_NE(book, nullptr);
    const Bytes handed_over(stand_in::last_old_print_record().begin(), stand_in::last_old_print_record().end());
    EXPECT_EQ(handed_over, layer.print_record);
    pf::Handle page_format = use_layer(layer0())->page_format;
    ASSERT_NE(page_format, nullptr);
    EXPECT_EQ(handle_bytes(page_format), layer.print_record);
    release_layer(layer0());
}

TEST_F(OlderDocumentTest, LongHeaderTextsAreClampedToTheirField) {
    // Every zero of a full-length text grows into a two-character field code.
    unsigned char old[64];
    old[0] = 63;
    for (int i = 1; i <= 63; ++i) old[i] = i % 2 ? 0 : 'x';
    unsigned char text[kHeaderPartTextSize + 8];
    std::memset(text, 0xEE, sizeof text);
    convert_headertext(old, text);
    EXPECT_EQ(text[0], 63);
    EXPECT_EQ(text[kHeaderPartTextSize], 0xEE);  // nothing past the field
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), 6), "^tx^tx");
    // A code that does not fit whole is left off rather than cut.
    old[0] = 63;
    for (int i = 1; i <= 63; ++i) old[i] = i == 63 ? 0 : 'y';
    convert_headertext(old, text);
    EXPECT_EQ(text[0], 62);
    EXPECT_EQ(text[62], 'y');

    // A length byte claiming more than its field holds is cut to the field.
    older::Layer layer = older::full_layer();
    layer.header = older::header_part(0, Bytes(63, 0));
    layer.header[8] = 255;
    write_bytes("Long.qrv", older::document(900, {layer}));
    book = open("Long.qrv");
    ASSERT_NE(book, nullptr);
    SpreadSheet* sheet = use_layer(layer0());
    auto* part = static_cast<uint8_t*>(UseMemory(sheet->header));
    EXPECT_EQ(part[8], 0);  // one run of 63 zeros stands for no code
    UnuseMemory(sheet->header);
    release_layer(layer0());
}

// Reads the kind, record, and blocks of one stored object; advances `at`.
struct StoredObject {
    std::string kind;
    Bytes record, picture, data, chart, series;
};

StoredObject next_object(const uint8_t* bytes, size_t& at) {
    StoredObject o;
    auto block = [&](Bytes& into) {
        uint32_t length = uint32_t(bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]);
        into.assign(bytes + at + 4, bytes + at + 4 + length);
        at += 4 + length;
    };
    o.kind.assign(reinterpret_cast<const char*>(bytes + at), 4);
    o.record.assign(bytes + at, bytes + at + 88);
    at += 88;
    Bytes points, flag;
    block(o.picture), block(o.data), block(points);
    bool chart = bytes[at + 3] != 0;
    at += 4;
    if (!chart) return o;
    o.chart.assign(bytes + at, bytes + at + 722);
    at += 722;
    block(o.series);
    return o;
}

TEST_F(OlderDocumentTest, ObjectsAreRebuiltByKindAndUnknownKindsSkipped) {
    open_full(1024);
    SpreadSheet* sheet = use_layer(layer0());
    ASSERT_NE(sheet->stored_objects, nullptr);
    auto* bytes = static_cast<const uint8_t*>(UseMemory(sheet->stored_objects));
    size_t at = 0, end = size_t(GetByteSize(sheet->stored_objects));
    std::vector<StoredObject> objects;
    while (at < end) objects.push_back(next_object(bytes, at));
    UnuseMemory(sheet->stored_objects);
    release_layer(layer0());
    EXPECT_EQ(at, end);
    ASSERT_EQ(objects.size(), 3u);  // type 12 has no kind

    const StoredObject& rect = objects[0];
    EXPECT_EQ(rect.kind, "rect");
    EXPECT_EQ(rect.record[14], 6);                      // old bytes 6..33 at 14
    EXPECT_EQ(rect.record[46], 11);                     // pen colours and line size
    EXPECT_EQ(rect.record[49], 4);                      // line pattern less one
    EXPECT_EQ(rect.record[51], 2);                      // fill pattern less one
    EXPECT_EQ(rect.record[11], 0);                      // filled
    EXPECT_EQ(rect.record[57], 1);
    EXPECT_EQ(rect.record[71], 8);  // anchor and offsets
    EXPECT_EQ(rect.picture, (Bytes{0, 10, 1, 2}));
    EXPECT_TRUE(rect.data.empty());

    const StoredObject& text = objects[1];
    EXPECT_EQ(text.kind, "text");
    EXPECT_EQ(text.record[11], 0x4);  // no fill
    EXPECT_EQ(text.data, (Bytes{0, 2, 'h', 'i', 0, 0}));

    const StoredObject& chart = objects[2];
    EXPECT_EQ(chart.kind, "pie ");
    EXPECT_TRUE(chart.picture.empty());
    ASSERT_EQ(chart.chart.size(), 722u);
    EXPECT_EQ(chart.chart[0], 0xFF);
    EXPECT_EQ(chart.chart[1], 0xFF);  // source layer: its own
    EXPECT_EQ(chart.chart[3], 4);
    EXPECT_EQ(chart.chart[5], 5);        // series-name row and column
    EXPECT_EQ(chart.chart[15], 20);
    EXPECT_EQ(chart.chart[21], 23);    // data range
    uint32_t flags = uint32_t(chart.chart[30] << 24 | chart.chart[31] << 16 | chart.chart[32] << 8 | chart.chart[33]);
    EXPECT_EQ(flags, 0x1u | 0x4 | 0x40 | 0x400000);
    EXPECT_EQ(text_of(chart.chart.data() + 34), "Sales");              // chart title
    EXPECT_EQ(text_of(chart.chart.data() + 410), "10");                // x major unit
    const uint8_t* title_format = chart.chart.data() + 130;
    EXPECT_EQ(title_format[1], 4);                                     // font
    EXPECT_EQ(title_format[3], 1);                                     // face
    EXPECT_EQ(title_format[5], 3);                                     // stacked
    EXPECT_EQ(chart.chart[442 + 40 + 17], 1);                          // axis format marked
    ASSERT_EQ(chart.series.size(), 12u);
    EXPECT_EQ(chart.series[2], 2);
    EXPECT_EQ(chart.series[3], 4);
    EXPECT_EQ(chart.series[5], 5);
}

TEST_F(OlderDocumentTest, ReadDocumentsAreBackedUpAndSavedAsCurrent) {
    for (int version : {768, 771, 1024}) {
        SCOPED_TRACE(version);
        std::string name = "Gen" + std::to_string(version) + ".qrv";
        Bytes original = older::document(version, {older::full_layer(), older::full_layer()});
        write_bytes(name, original);
        book = open(name);
        ASSERT_NE(book, nullptr);
        EXPECT_EQ(num_SpreadSheets(book), 2);
        EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"ask 20000/29"}));
        EXPECT_EQ(bytes_of(name + "(3.x)"), original);
        Bytes saved = bytes_of(name);
        ASSERT_GE(saved.size(), 4u);
        EXPECT_EQ(saved[2] << 8 | saved[3], 1029);
        std::string before = sample::snapshot(book);
        MemoryRef again = open(name);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(sample::snapshot(again), before);
        close_document_file(again), DisposeWorkSheet(again);
        close_document_file(book), DisposeWorkSheet(book);
        book = nullptr;
        prompts_log::seen.clear();
    }
}

TEST_F(OlderDocumentTest, LayersOfAnOlderDocumentCanBeAddedToAWorkbook) {
    Bytes original = older::document(771, {older::full_layer(), older::full_layer()});
    write_bytes("Parts.qrv", original);
    book = sample::rich_workbook(1);
    ASSERT_EQ(add_layers_from_document(book, spec("Parts.qrv")), 0);
    ASSERT_EQ(num_SpreadSheets(book), 3);
    EXPECT_EQ(GetSheetID(find_SpreadSheet_item(book, 2)), 2);
    EXPECT_EQ(bytes_of("Parts.qrv"), original);  // neither converted nor backed up
    EXPECT_FALSE(exists("Parts.qrv(3.x)"));
}

TEST_F(OlderDocumentTest, DamagedFieldsAreRefusedWithoutABackup) {
    struct Case {
        const char* what;
        void (*damage)(older::Layer&);
    } cases[] = {
        {"row past the grid", [](older::Layer& l) { l.cells.clear(), older::row(l.cells, 32000, {older::text(0, "x")}); }},
        {"column past the grid", [](older::Layer& l) { l.cells.clear(), older::row(l.cells, 1, {older::text(-2, "x")}); }},
        {"cell longer than its row", [](older::Layer& l) { l.cells[6 + 16] = 0x7F; }},
        {"cell shorter than its head", [](older::Layer& l) { l.cells[6 + 16] = 0, l.cells[6 + 17] = 3; }},
        {"unknown cell type", [](older::Layer& l) { l.cells.clear(), older::row(l.cells, 1, {older::cell(0, 'Q', 'G', {})}); }},
        {"formula longer than its cell",
         [](older::Layer& l) { l.cells.clear(), older::row(l.cells, 1, {older::cell(0, 'F', 'G', {0, 40, 1, 2})}); }},
        {"column format past the grid", [](older::Layer& l) { l.columns = older::format(-5, 'G', 2); }},
        {"object block past the end", [](older::Layer& l) { l.objects = older::object(2, {}, {}), l.objects[77] = 9; }},
        {"partial object record", [](older::Layer& l) { l.objects = Bytes(20, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        older::Layer layer = older::full_layer();
        c.damage(layer);
        write_bytes("Bad.qrv", older::document(1000, {layer}));
        prompts_log::seen.clear();
        EXPECT_EQ(open("Bad.qrv"), nullptr);
        EXPECT_EQ(f_ref, 0);
        EXPECT_FALSE(exists("Bad.qrv(3.x)"));
        EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 0);
    }
}

}  // namespace
