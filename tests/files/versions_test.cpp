// Hand-built documents of every current version: read field by field, older
// ones widened, backed up under a name of their own and saved as 1029.
#include <sys/stat.h>

#include <algorithm>

#include "tests/files/document_builder.h"
#include "tests/files/document_fixture.h"

#include "model/cell_formats.h"
#include "model/cell_store.h"

namespace {

using built::Bytes;

class VersionTest : public DocumentTest {
protected:
    MemoryRef layer0(MemoryRef book) { return find_SpreadSheet_item(book, 0); }

    double number_at(MemoryRef book, int16_t row, int16_t column) {
        uint8_t* cell;
        int16_t length;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer0(book))) return -999;
        return load_f64(_cellType_(cell) == kCellFormula ? _resultPtr_(cell) : _formulaPtr_(cell));
    }

    int16_t version_on_disk(const std::string& name) {
        Bytes bytes = bytes_of(name);
        return bytes.size() < 4 ? 0 : int16_t(bytes[2] << 8 | bytes[3]);
    }
};

TEST_F(VersionTest, MinimalCurrentDocumentIsReadFieldByField) {
    built::Layer layer = built::simple_layer("Minimal");
    layer.header_part = sample::header_part(1, 12, "Title");
    built::Out swapped;  // the header part stored big-endian as the writer does
    swapped.i16(1), swapped.i16(3), swapped.i16(12), swapped.u8(1), swapped.u8(2);
    swapped.raw(Bytes(layer.header_part.begin() + 8, layer.header_part.end()));
    layer.header_part = swapped.bytes;
    write_bytes("Minimal.qrv", built::document(1029, {layer}, kWorkProtected));
    MemoryRef book = open("Minimal.qrv");
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(num_SpreadSheets(book), 1);
    EXPECT_EQ(number_at(book, 2, 1), 12.5);
    EXPECT_EQ(number_at(book, 4, 0), 7);
    SpreadSheet* sheet = use_layer(layer0(book));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(sheet->name + 1), sheet->name[0]), "Minimal");
    EXPECT_EQ(sheet->active_cell, (CellPoint{2, 1}));
    EXPECT_EQ(sheet->flags & (kLayerActiveBits | kLayerPrinting), 0u);
    EXPECT_EQ(sheet->flags & 0x3, 0x3u);
    EXPECT_NE(sheet->flags & kLayerFormatStale, 0u);
    EXPECT_EQ(sheet->print_options, 0x40);
    EXPECT_EQ(sheet->pane_rects[0], (pf::Rect{10, 20, 300, 400}));
    EXPECT_EQ(format_extent(sheet->default_column_format), 77);
    EXPECT_EQ(sheet->size, 10);
    EXPECT_EQ(load_i16(static_cast<uint8_t*>(UseMemory(sheet->row_page_breaks))), 12);
    UnuseMemory(sheet->row_page_breaks);
    auto* part = static_cast<uint8_t*>(UseMemory(sheet->header));
    EXPECT_EQ(load_i16(part), 1);
    EXPECT_EQ(load_i16(part + 4), 12);
    UnuseMemory(sheet->header);
    uint8_t* column = FindColumnFormatID(sheet->column_formats, 3);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(format_extent(column), 90);
    EXPECT_EQ(column[kColumnNameOffset], 4);  // "Wide"
    UnuseMemory(sheet->column_formats);
    release_layer(layer0(book));
    EXPECT_EQ(Get_Work_Flags(book), kWorkProtected);
    EXPECT_TRUE(prompts_log::seen.empty());
}

// The backup keeps the document's mode, and so does the document saved as current.
TEST_F(VersionTest, OlderVersionsAreWidenedBackedUpAndSavedAsCurrent) {
    const auto mode_of = [this](const std::string& name) {
        struct stat st {};
        stat(path(name).c_str(), &st);
        return mode_t(st.st_mode & 07777);
    };
    for (int version = 1025; version <= 1028; ++version) {
        SCOPED_TRACE(version);
        std::string name = "Old" + std::to_string(version) + ".qrv";
        Bytes original = built::document(version, {built::simple_layer("A"), built::simple_layer("B")});
        write_bytes(name, original);
        const mode_t mode = version % 2 ? 0600 : 0640;
        ASSERT_EQ(chmod(path(name).c_str(), mode), 0);
        MemoryRef book = open(name);
        ASSERT_NE(book, nullptr);
        ASSERT_EQ(num_SpreadSheets(book), 2);
        EXPECT_EQ(number_at(book, 2, 1), 12.5);
        MemoryRef columns = GetSpreadSheetColumnFormats(layer0(book));
        ASSERT_NE(columns, nullptr);
        EXPECT_EQ(GetMemoryRecSize(columns), kColumnFormatSize);
        EXPECT_EQ(static_cast<uint8_t*>(UseMemory(columns))[kColumnNameOffset], 0);  // widened half is clear
        UnuseMemory(columns);
        // The question was asked, the backup holds the original bytes and the
        // document itself is now version 1029.
        ASSERT_EQ(prompts_log::seen.size(), 1u);
        EXPECT_EQ(prompts_log::seen[0], "ask 20000/29");
        std::string backup = "Old" + std::to_string(version) + ".qrv(4.x)";
        EXPECT_EQ(bytes_of(backup), original);
        EXPECT_EQ(mode_of(backup), mode);
        EXPECT_EQ(mode_of(name), mode);
        EXPECT_EQ(version_on_disk(name), 1029);
        EXPECT_EQ(get_change_ctr(book), 0);
        std::string before = sample::snapshot(book);
        MemoryRef again = open(name);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(sample::snapshot(again), before);
        prompts_log::seen.clear();
    }
}

TEST_F(VersionTest, BackupNeverReplacesAnExistingFileOrTheDocument) {
    write_bytes("Doc.qrv(4.x)", {1, 2, 3});
    Bytes original = built::document(1028, {built::simple_layer("A")});
    write_bytes("Doc.qrv", original);
    ASSERT_NE(open("Doc.qrv"), nullptr);
    EXPECT_EQ(bytes_of("Doc.qrv(4.x)"), (Bytes{1, 2, 3}));
    EXPECT_EQ(bytes_of("Doc.qrv(4.x) 2"), original);

    // A document saved under its backup name keeps that name to itself.
    std::string same = std::string(26, 'b') + "(4.x)";
    write_bytes(same, original);
    ASSERT_NE(open(same), nullptr);
    EXPECT_EQ(bytes_of(same + " 2"), original);
    EXPECT_EQ(version_on_disk(same), 1029);
}

TEST_F(VersionTest, LongNamesAreCutForTheBackup) {
    std::string name = "A name of thirty characters!!";
    name += "x";
    ASSERT_EQ(name.size(), 30u);
    write_bytes(name, built::document(1027, {built::simple_layer("A")}));
    ASSERT_NE(open(name), nullptr);
    EXPECT_TRUE(exists(name.substr(0, 26) + "(4.x)"));
    EXPECT_EQ(version_on_disk(name), 1029);
}

TEST_F(VersionTest, WithoutABackupTheDocumentOpensReadOnlyAndIsNeverSavedOver) {
    Bytes original = built::document(1028, {built::simple_layer("A")});
    write_bytes("Busy.qrv", original);
    write_bytes("Busy.qrv(4.x)", {0});
    for (int n = 2; n <= 99; ++n) write_bytes("Busy.qrv(4.x) " + std::to_string(n), {0});
    MemoryRef book = open("Busy.qrv");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(prompts_log::seen.back(), "tell 130/7");
    EXPECT_EQ(bytes_of("Busy.qrv"), original);
    EXPECT_NE(file_record_of(book).flags & kFileUnconverted, 0u);
    // Save goes to Save As (cancelled here) and leaves the original alone.
    EXPECT_EQ(DoSave(false, layer0(book), kWholeWorkbook), 1);
    EXPECT_EQ(bytes_of("Busy.qrv"), original);
}

TEST_F(VersionTest, RefusedConversionLeavesNoBackupAndNoWorkbook) {
    write_bytes("Keep.qrv", built::document(1026, {built::simple_layer("A")}));
    prompts_log::answer = kAnswerCancel;
    int16_t result = 0;
    EXPECT_EQ(open("Keep.qrv", &result), nullptr);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(exists("Keep.qrv(4.x)"));
    EXPECT_EQ(f_ref, 0);
    EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 0);
}

TEST_F(VersionTest, DamagedOlderDocumentIsReported) {
    Bytes bytes = built::document(1027, {built::simple_layer("A")});
    bytes.resize(bytes.size() - 3);
    write_bytes("Torn.qrv", bytes);
    EXPECT_EQ(open("Torn.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen.back(), "error -1");
    EXPECT_EQ(bytes_of("Torn.qrv"), bytes);
    EXPECT_FALSE(exists("Torn.qrv(4.x)"));  // no backup of a document that was not opened
}

TEST_F(VersionTest, VersionLimitsAndExactEnd) {
    write_bytes("New.qrv", built::document(1030, {built::simple_layer("A")}));
    EXPECT_EQ(open("New.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen.back(), "error 1000");
    write_bytes("Ancient.qrv", built::document(700, {}));
    EXPECT_EQ(open("Ancient.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen.back(), "error -1");
    Bytes extra = built::document(1029, {built::simple_layer("A")});
    extra.push_back(0);
    write_bytes("Extra.qrv", extra);
    EXPECT_EQ(open("Extra.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen.back(), "error -1");
    write_bytes("No layers.qrv", built::document(1029, {}));
    EXPECT_EQ(open("No layers.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen.back(), "error -1");
}

TEST_F(VersionTest, ObjectsAndPrintRecordsStayWithTheirLayer) {
    built::Layer layer = built::simple_layer("Drawn");
    layer.objects = built::chart_object();
    write_bytes("Drawn.qrv", built::document(1029, {layer, built::simple_layer("Next")}));
    MemoryRef book = open("Drawn.qrv");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(num_SpreadSheets(book), 2);
}

TEST_F(VersionTest, ExtendedNumberSlotsBecomeDoubles) {
    // 3.5 as an 80-bit extended value, as the file holds it; the cell builder
    // swaps the first 8 bytes as a double, so they go in reversed.
    Bytes extended = {0x40, 0x00, 0xE0, 0, 0, 0, 0, 0, 0, 0};
    Bytes slot = extended;
    std::reverse(slot.begin(), slot.begin() + 8);
    Bytes cell = sample::constant_cell(0, 0, "3.5");
    std::copy(slot.begin(), slot.end(), cell.begin() + kCellHeaderSize);
    Bytes result = sample::formula_number_cell(1, sample::formula({'=', 'I', 0, 1}), 0);
    std::copy(slot.begin(), slot.end(), result.end() - kNumberSlotSize);
    built::Layer layer;
    sample::append_row(layer.cells, 0, {cell, result});
    write_bytes("Extended.qrv", built::document(1025, {layer}, 0, "", 10));
    MemoryRef book = open("Extended.qrv");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(number_at(book, 0, 0), 3.5);
    EXPECT_EQ(number_at(book, 0, 1), 3.5);
}

TEST_F(VersionTest, LayersShownWhenSavedGetNoWindowThatCannotBeMade) {
    built::Layer shown = built::simple_layer("Shown");
    shown.with_window = true;
    write_bytes("Shown.qrv", built::document(1029, {shown, shown}));
    MemoryRef book = open("Shown.qrv");
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(num_WorkSheet_winds(book), 0);
}

TEST_F(VersionTest, TheStoredShownFlagSurvivesASaveWithoutWindows) {
    built::Layer shown = built::simple_layer("Shown");
    shown.with_window = true;
    built::Layer hidden = built::simple_layer("Hidden");
    write_bytes("Shown.qrv", built::document(1029, {shown, hidden}));
    MemoryRef book = open("Shown.qrv");
    ASSERT_NE(book, nullptr);
    ASSERT_EQ(save(book, "Again.qrv"), 0);
    MemoryRef again = open("Again.qrv");
    ASSERT_NE(again, nullptr);
    auto kept = [&](int16_t index) {
        MemoryRef layer = find_SpreadSheet_item(again, index);
        bool flag = use_layer(layer)->window_flag_kept;
        release_layer(layer);
        return flag;
    };
    EXPECT_TRUE(kept(0));
    EXPECT_FALSE(kept(1));
}

TEST_F(VersionTest, PasswordIsAskedWhenTheDocumentDemandsIt) {
    write_bytes("Locked.qrv", built::document(1029, {built::simple_layer("A")}, kWorkPassword, "pw"));
    EXPECT_EQ(open("Locked.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"password"}));
    prompts_log::password_answer = 1;
    MemoryRef book = open("Locked.qrv");
    ASSERT_NE(book, nullptr);
    unsigned char field[16];
    auto* sheet = static_cast<WorkSheet*>(UseMemory(book));
    std::memcpy(field, sheet->password, 16);
    UnuseMemory(book);
    decode_password(field);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field + 1), field[0]), "pw");
}

TEST_F(VersionTest, AddingLayersAppendsThemAfterTheWorkbooksOwn) {
    write_bytes("More.qrv", built::document(1029, {built::simple_layer("X"), built::simple_layer("Y")}));
    MemoryRef book = sample::rich_workbook(1);
    ASSERT_EQ(add_layers_from_document(book, spec("More.qrv")), 0);
    ASSERT_EQ(num_SpreadSheets(book), 3);
    EXPECT_EQ(GetSheetID(find_SpreadSheet_item(book, 2)), 2);
    EXPECT_GT(get_change_ctr(book), 0);
    Bytes torn = bytes_of("More.qrv");
    torn.resize(torn.size() - 10);
    write_bytes("Torn.qrv", torn);
    EXPECT_EQ(add_layers_from_document(book, spec("Torn.qrv")), 1);
    EXPECT_EQ(num_SpreadSheets(book), 3);
    EXPECT_EQ(f_ref, 0);
}

}  // namespace
