// Blocks, transfers and byte order of the file framing, and the formula walk
// that finds the operands to swap.
#include "tests/files/document_builder.h"
#include "tests/files/document_fixture.h"

#include "files/formula_walk.h"
#include "formula/function_table.h"

namespace {

using built::Bytes;

class FramingTest : public DocumentTest {
protected:
    int32_t counter = 0;

    void open_bytes(const Bytes& bytes) {
        write_bytes("Frame", bytes);
        ASSERT_EQ(pf::open_data_fork(spec("Frame"), pf::kReadPermission, f_ref), 0);
        counter = 0;
    }
    void TearDown() override {
        CleanUp(0);
        DocumentTest::TearDown();
    }
};

TEST_F(FramingTest, AbsentAndPartialBlocks) {
    open_bytes({0, 0, 0, 0, 0, 0, 0, 5, 1, 2, 3, 4, 5});
    MemoryRef block = reinterpret_cast<MemoryRef>(1);
    ASSERT_EQ(Read_Ref(&block, &counter, &mem_globals, 2, 0), 0);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(counter, 4);
    ASSERT_EQ(Read_Ref(&block, &counter, &mem_globals, 2, 0), 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GetMemorySize(block), 3);  // five bytes in two-byte records
    EXPECT_EQ(counter, 13);
    DisposeMemory(block);
}

TEST_F(FramingTest, BadLengthsAreDamageShownOnceWithNothingAllocated) {
    open_bytes({0x00, 0x10, 0x00, 0x00, 1, 2});
    MemoryRef block = nullptr;
    EXPECT_EQ(Read_Ref(&block, &counter, &mem_globals, 1, 0), kDamagedFileErr);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(f_ref, 0);
    CleanUp(kDamagedFileErr);  // the unwinding caller stays silent
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"error -1"}));

    open_bytes({0xFF, 0xFF, 0xFF, 0xF0});
    EXPECT_EQ(Read_Ref(&block, &counter, &mem_globals, 1, 0), kDamagedFileErr);
    open_bytes({0x00, 0x01});
    int32_t value = 0;
    EXPECT_EQ(ReadLongValue(&counter, &value), kDamagedFileErr);
    EXPECT_EQ(f_ref, 0);
}

TEST_F(FramingTest, NarrowColumnFormatsAreWidened) {
    Bytes formats = built::format_part(4, 60);
    built::Out out;
    out.block(formats);
    open_bytes(out.bytes);
    MemoryRef block = nullptr;
    ASSERT_EQ(Read_ModRef(&block, &counter, &mem_globals, 32, 0), 0);
    ASSERT_EQ(GetMemoryRecSize(block), 64);
    auto* record = static_cast<uint8_t*>(UseMemory(block));
    EXPECT_EQ(Bytes(record, record + 32), formats);
    EXPECT_EQ(Bytes(record + 32, record + 64), Bytes(32, 0));
    UnuseMemory(block);
    DisposeMemory(block);
}

TEST_F(FramingTest, NullBlocksWriteFourZeroBytes) {
    write_bytes("Out", {});
    ASSERT_EQ(pf::open_data_fork(spec("Out"), pf::kWritePermission, f_ref), 0);
    EXPECT_EQ(Write_Ref(nullptr, &counter), 0);
    EXPECT_EQ(WriteCellFRef(nullptr, &counter), 0);
    EXPECT_EQ(counter, 8);
    CleanUp(0);
    EXPECT_EQ(bytes_of("Out"), Bytes(8, 0));
}

TEST_F(FramingTest, HeaderPartsStoredTheOtherWayAreRepaired) {
    Bytes parts = sample::header_part(256, 3072, "swapped");  // 1 and 12 the other way round
    Bytes kept = sample::header_part(-1, 250, "layer size");
    Bytes left = sample::header_part(0, 72, "small");
    parts.insert(parts.end(), kept.begin(), kept.end());
    parts.insert(parts.end(), left.begin(), left.end());
    MemoryRef block = sample::block_of(parts.data(), 72, 3);
    verifyHeaderRef(block);
    auto* p = static_cast<uint8_t*>(UseMemory(block));
    EXPECT_EQ(load_i16(p), 1);
    EXPECT_EQ(load_i16(p + 4), 12);
    EXPECT_EQ(load_i16(p + 72), -1);
    EXPECT_EQ(load_i16(p + 76), 250);  // a size above 72 that is no swapped value stays
    EXPECT_EQ(load_i16(p + 144), 0);
    EXPECT_EQ(load_i16(p + 148), 72);
    UnuseMemory(block);
    DisposeMemory(block);
}

// An alignment that is neither right, centre nor left would otherwise be
// swapped on one reading and not on the next.
TEST_F(FramingTest, UnknownHeaderAlignmentsReadAsLeft) {
    Bytes parts;
    for (int16_t alignment : {5, 0x0500, -2, 0x0300}) {
        Bytes part = sample::header_part(alignment, 12, "odd");
        parts.insert(parts.end(), part.begin(), part.end());
    }
    MemoryRef block = sample::block_of(parts.data(), 72, 4);
    verifyHeaderRef(block);
    auto* p = static_cast<uint8_t*>(UseMemory(block));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(load_i16(p + 72 * i), 0) << i;
    UnuseMemory(block);
    DisposeMemory(block);
}

TEST_F(FramingTest, CellBlocksSwapEveryOperandAndNothingInsideTexts) {
    Bytes f = sample::formula({'=', '"', '@', '#', 1, 2, 3, 4, '"', '+', 'I'});
    sample::add16(f, 0x0102);
    Bytes store;
    sample::append_row(store, 0x0203, {sample::formula_number_cell(0x0405, f, 1.0)});
    Bytes file = built::file_cells(store);
    EXPECT_EQ(file[0], 0x02);  // row number big-endian
    const uint8_t* cell = file.data() + kRowHeaderSize;
    EXPECT_EQ(cell[0], 0x04);
    const uint8_t* body = cell + kCellHeaderSize;
    EXPECT_EQ(Bytes(body, body + 9), Bytes(f.begin(), f.begin() + 9));  // the text is untouched
    EXPECT_EQ(body[11], 0x01);                                        // the "I" operand swapped
    EXPECT_EQ(body[12], 0x02);
    MemoryRef block = Bytes2Memory(&mem_globals, file.data(), 1, int32_t(file.size()));
    EXPECT_EQ(ByteFlipCells(block, 0), 0);
    EXPECT_EQ(Bytes(static_cast<uint8_t*>(UseMemory(block)), static_cast<uint8_t*>(UseMemory(block)) + store.size()),
              store);
    UnuseMemory(block), UnuseMemory(block);
    DisposeMemory(block);
}

TEST_F(FramingTest, DamagedCellBlocksAreRefused) {
    auto refused = [](Bytes file) {
        MemoryRef block = Bytes2Memory(&mem_globals, file.data(), 1, int32_t(file.size()));
        int16_t result = ByteFlipCells(block, 0);
        DisposeMemory(block);
        return result == kDamagedFileErr;
    };
    Bytes good;
    sample::append_row(good, 1, {sample::constant_cell(1, 2, "2"), sample::text_cell(2, "t", 1)});
    sample::append_row(good, 2, {sample::constant_cell(0, 2, "2")});
    Bytes file = built::file_cells(good);
    EXPECT_FALSE(refused(file));
    EXPECT_TRUE(refused(Bytes(file.begin(), file.begin() + 5)));  // shorter than a row header
    Bytes zero_row = file;
    zero_row[2] = zero_row[3] = zero_row[4] = zero_row[5] = 0;    // a row of length 0
    EXPECT_TRUE(refused(zero_row));
    Bytes rows_swapped = built::file_cells(Bytes(good.begin() + _RowLength_(good.data()), good.end()));
    Bytes first_row = built::file_cells(Bytes(good.begin(), good.begin() + _RowLength_(good.data())));
    rows_swapped.insert(rows_swapped.end(), first_row.begin(), first_row.end());
    EXPECT_TRUE(refused(rows_swapped));                           // rows not increasing
    Bytes outside = file;
    outside[0] = 0x7D, outside[1] = 0x00;                          // row 32000
    EXPECT_TRUE(refused(outside));
    Bytes long_label = file;
    long_label[kRowHeaderSize + kFmtLabelLength] = 200;            // label past its cell
    EXPECT_TRUE(refused(long_label));
    Bytes bad_type = file;
    bad_type[kRowHeaderSize + kFmtCellType] = 'X';
    EXPECT_TRUE(refused(bad_type));
}

TEST_F(FramingTest, StyleRunsMustFitTheirBlock) {
    Bytes runs = sample::style_runs(2);
    EXPECT_EQ(ByteSwapStyle(runs.data(), int32_t(runs.size()), 1), 0);
    EXPECT_EQ(runs[1], 2);  // count now big-endian
    EXPECT_EQ(ByteSwapStyle(runs.data(), int32_t(runs.size()) - 1, 0), -50);
    EXPECT_EQ(ByteSwapStyle(runs.data(), 1, 0), -50);
}

int operand_count(Bytes formula) {
    int words = 0;
    FormulaWalk walk{[](uint8_t*, void* n) { ++*static_cast<int*>(n); }, nullptr, &words};
    return walk_stored_formula(formula.data(), int32_t(formula.size()), walk) ? words : -1;
}

// A stored call of every function of the function table is sound, and one of
// a number past the table is not.
TEST(FormulaWalk, KnowsTheFunctionsOfTheFunctionTable) {
    const int last = int(worksheet_functions().size());
    ASSERT_LT(last, 255);
    for (int number = 1; number <= last; ++number)
        EXPECT_EQ(operand_count(sample::formula({'=', 0xC4, uint8_t(number)})), 0) << number;
    EXPECT_EQ(operand_count(sample::formula({'=', 0xC4, uint8_t(last + 1), '('})), -1);
}

TEST(FormulaWalk, FindsEveryOperandAndRefusesBadFormulas) {
    EXPECT_EQ(operand_count(sample::worked_example()), 2 + 1 + 4);
    EXPECT_EQ(operand_count(sample::link_formula(1)), 1 + 2 + 2 + 2);
    EXPECT_EQ(operand_count(sample::formula({'=', '"', 'a'})), -1);          // text not closed
    EXPECT_EQ(operand_count(sample::formula({'=', 0xC4, 0, '('})), -1);      // function 0
    EXPECT_EQ(operand_count(sample::formula({'=', '!', 0, 1, '+'})), -1);    // link without reference
    EXPECT_EQ(operand_count(sample::formula({'=', '!', 0, 1})), -1);
    EXPECT_EQ(operand_count(sample::formula({'=', '@', '&', 0})), -1);       // empty name
    EXPECT_EQ(operand_count(sample::formula({'=', '@', '&', 5, 'a'})), -1);  // name past the end
    EXPECT_EQ(operand_count(sample::formula({'=', '@', '#', 1, 2, 3})), -1); // cut reference
    EXPECT_EQ(operand_count(sample::formula({'=', '@', 'r', 'x', '#', 0, 0, 0, 0, 0, 0, 0, 0})), -1);
}

}  // namespace

namespace {

TEST(TextObjects, LengthsThatDoNotFitLeaveTheRestAlone) {
    Bytes data = {2, 0, 'h', 'i'};  // text length in host order on this processor
    Bytes runs = sample::style_runs(1);
    sample::Bytes style_length;
    sample::put16(style_length, int16_t(runs.size()));
    data.insert(data.end(), style_length.begin(), style_length.end());
    data.insert(data.end(), runs.begin(), runs.end());
    pf::Handle handle = pf::ptr_to_hand(data.data(), int32_t(data.size()));
    ByteFlipTextObject(handle, 1);
    auto* bytes = reinterpret_cast<uint8_t*>(*handle);
    EXPECT_EQ(bytes[1], 2);                      // text length big-endian
    EXPECT_EQ(bytes[5], runs.size());            // style length big-endian
    EXPECT_EQ(bytes[7], 1);                      // run count big-endian
    ByteFlipTextObject(handle, 0);
    EXPECT_EQ(Bytes(bytes, bytes + data.size()), data);
    pf::dispose_handle(handle);

    Bytes lying = {0x7F, 0x00, 'x'};             // a text length past the handle
    pf::Handle short_handle = pf::ptr_to_hand(lying.data(), 3);
    ByteFlipTextObject(short_handle, 0);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(*short_handle)[2], 'x');
    pf::dispose_handle(short_handle);
}

TEST(ChartRecords, LabelFormatsSwapTheirWordsOnly) {
    uint8_t format[kChartLabelFormatSize] = {};
    format[0] = 1, format[2] = 9, format[32] = 3, format[38] = 4;
    ByteFlipChartLabelFormat(format);
    EXPECT_EQ(format[1], 1);
    EXPECT_EQ(format[2], 9);
    EXPECT_EQ(format[33], 3);
    EXPECT_EQ(format[39], 4);
}

}  // namespace
