// Damaged documents: every truncation of a real document and thousands of
// random byte changes are refused or read into a sound model, never a crash,
// and nothing stays open.
#include <random>

#include "model/cell_store.h"
#include "tests/files/document_builder.h"
#include "tests/files/document_fixture.h"
#include "tests/files/older_document_builder.h"

namespace {

class DamageTest : public DocumentTest {
protected:
    std::vector<uint8_t> real;
    int opened = 0;

    // A real document of `layers` rich layers.
    void make_real(int layers) {
        MemoryRef book = sample::rich_workbook(layers);
        ASSERT_EQ(save(book, "Real.qrv"), 0);
        real = bytes_of("Real.qrv");
        close_document_file(book);
        DisposeWorkSheet(book);
    }

    // A document of the previous generation with a record of every kind.
    void make_older() { real = older::document(1000, {older::full_layer(), older::full_layer()}); }

    // Opens the bytes; a document that was read must hold sound cell stores,
    // and now and then it is saved again.
    void open_damaged(const std::vector<uint8_t>& bytes) {
        write_bytes("Damaged.qrv", bytes);
        MemoryRef book = open("Damaged.qrv");
        std::remove(path("Damaged.qrv(3.x)").c_str());  // the backup of an older document
        EXPECT_EQ(f_ref, 0);
        if (!book) {
            EXPECT_EQ(count_open_workbooks(&quorvin_rsrv), 0);
            return;
        }
        for (int16_t i = 0; i < num_SpreadSheets(book); ++i) {
            MemoryRef copy = MemoryDuplicate(GetSpreadSheetCells(find_SpreadSheet_item(book, i)));
            EXPECT_EQ(ByteFlipCells(copy, 1), 0);
            DisposeMemory(copy);
        }
        sample::snapshot(book);
        if (++opened % 20 == 0) EXPECT_EQ(save(book, "Resaved.qrv"), 0);
        close_document_file(book);
        DisposeWorkSheet(book);
    }

    void open_every_truncation() {
        for (size_t length = 0; length < real.size(); ++length) {
            open_damaged(std::vector<uint8_t>(real.begin(), real.begin() + std::ptrdiff_t(length)));
            if (HasFailure()) {
                ADD_FAILURE() << "at length " << length;
                return;
            }
        }
    }

    // Trials of one to four changed bytes; answers how many read without a message.
    int open_with_random_changes(unsigned seed, int trials) {
        std::mt19937 random(seed);
        int read_silently = 0;
        for (int trial = 0; trial < trials; ++trial) {
            std::vector<uint8_t> bytes = real;
            int changes = 1 + int(random() % 4);
            for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] ^= uint8_t(1 + random() % 255);
            prompts_log::seen.clear();
            open_damaged(bytes);
            if (HasFailure()) {
                ADD_FAILURE() << "at trial " << trial;
                break;
            }
            // The question before converting an older document is no complaint.
            std::erase(prompts_log::seen, std::string("ask 20000/29"));
            read_silently += prompts_log::seen.empty();
        }
        return read_silently;
    }
};

TEST_F(DamageTest, EveryTruncationIsRefusedOrReadSoundly) {
    make_real(1);
    open_every_truncation();
}

TEST_F(DamageTest, RandomByteChangesAreRefusedOrReadSoundly) {
    make_real(2);
    // Many changes land in text or format bytes and still read.
    EXPECT_GT(open_with_random_changes(1029, 2000), 100);
}

TEST_F(DamageTest, EveryTruncationOfAnOlderDocumentIsRefusedOrReadSoundly) {
    make_older();
    open_every_truncation();
}

TEST_F(DamageTest, RandomByteChangesOfAnOlderDocumentAreRefusedOrReadSoundly) {
    make_older();
    // Each one read is backed up and saved again: fewer trials.
    EXPECT_GT(open_with_random_changes(1000, 600), 30);
}

// A cell block larger than the pieces it is read and swapped in: read whole it
// holds every cell; with rows damaged past its first piece, or the file
// ending inside a row of a later one, it is refused or read soundly.
TEST_F(DamageTest, ACellBlockReadInPiecesIsCheckedToItsEnd) {
    MemoryRef book = sample::new_workbook();
    sample::fill_numbers(sample::new_layer(book), 30000);
    const std::string before = sample::snapshot(book);
    ASSERT_EQ(save(book, "Large.qrv"), 0);
    real = bytes_of("Large.qrv");
    close_document_file(book);
    DisposeWorkSheet(book);
    ASSERT_GT(real.size(), size_t(1) << 20);  // four pieces and more
    MemoryRef again = open("Large.qrv");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(sample::snapshot(again), before);
    close_document_file(again);
    DisposeWorkSheet(again);
    std::mt19937 random(77);
    for (int trial = 0; trial < 40 && !HasFailure(); ++trial) {
        std::vector<uint8_t> bytes = real;
        const size_t at = (size_t(300) << 10) + random() % (real.size() - (size_t(400) << 10));
        if (trial % 4 == 0) bytes.resize(at);
        else bytes[at] ^= uint8_t(1 + random() % 255);
        open_damaged(bytes);
    }
}

TEST_F(DamageTest, HugeBlockLengthAllocatesNothing) {
    make_real(1);
    std::vector<uint8_t> bytes = real;
    // The first layer's cell block length follows its fixed part.
    size_t cells_length_at = 102 + 4 + 2 + 132 + 12 + 12;
    bytes[cells_length_at] = 0x7F;
    int32_t before = mem_globals.bytes_in_use;
    write_bytes("Huge.qrv", bytes);
    EXPECT_EQ(open("Huge.qrv"), nullptr);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"error -1"}));
    EXPECT_LE(mem_globals.bytes_in_use, before + 4096);
}

}  // namespace

namespace {

// Style runs stored with a formula would outlive the next recalculation's
// result and make every later save refuse the layer.
TEST_F(DocumentTest, AFormulaCellReadWithStyleRunsKeepsNone) {
    built::Layer layer = built::simple_layer("Styled");
    sample::Bytes styled = sample::formula_text_cell(2, sample::worked_example(), "abcdef");
    store_i16(styled.data() + kFmtStyleLength, 4);
    sample::append_row(layer.cells, 6, {styled});
    write_bytes("Styled.qrv", built::document(1029, {layer}));
    MemoryRef book = open("Styled.qrv");
    ASSERT_NE(book, nullptr);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{6, 2}, find_SpreadSheet_item(book, 0)));
    EXPECT_EQ(_styleLength_(cell), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(_resultPtr_(cell)), 6), "abcdef");
    EXPECT_EQ(save(book, "Styled.qrv"), 0);
    close_document_file(book);
    DisposeWorkSheet(book);
}

// A name whose range leaves the grid (as a workbook imported with an inverted
// range once stored) is left out with a note; the document still opens.
TEST_F(DocumentTest, ANameOutsideTheGridIsLeftOutAndTheDocumentOpens) {
    MemoryRef book = sample::new_workbook();
    MemoryRef layer = sample::new_layer(book);
    sample::fill_numbers(layer, 10);
    sample::Bytes names(kNamedRangeSize * 3, 0);
    set_named_range(names.data(), reinterpret_cast<const unsigned char*>("\x04Good"), CellRange{{1, 2}, {3, 4}});
    set_named_range(names.data() + kNamedRangeSize, reinterpret_cast<const unsigned char*>("\x03" "Bad"),
                    CellRange{{int16_t(-25536), 0}, {3, 0}});
    set_named_range(names.data() + 2 * kNamedRangeSize, reinterpret_cast<const unsigned char*>("\x04Last"),
                    CellRange{{0, 0}, {kLastCell, 2}});
    Set_rangeinfo(layer, sample::block_of(names.data(), kNamedRangeSize, 3));
    ASSERT_EQ(save(book, "Names.qrv"), 0);
    close_document_file(book);
    DisposeWorkSheet(book);
    prompts_log::seen.clear();
    MemoryRef opened = open("Names.qrv");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(prompts_log::seen, (std::vector<std::string>{"tell 130/11"}));
    MemoryRef kept = Get_rangeinfo(find_SpreadSheet_item(opened, 0));
    ASSERT_EQ(GetMemorySize(kept), 2);
    CellRange found{};
    EXPECT_EQ(find_named_range(kept, reinterpret_cast<const unsigned char*>("\x04LAST"), &found), 1);
    EXPECT_EQ(found, (CellRange{{0, 0}, {kLastCell, 2}}));
    close_document_file(opened);
    DisposeWorkSheet(opened);
}

TEST_F(DocumentTest, ShortMemoryRefusesTheDocumentCleanly) {
    MemoryRef book = sample::new_workbook();
    sample::fill_numbers(sample::new_layer(book), 20000);
    ASSERT_EQ(save(book, "Big.qrv"), 0);
    close_document_file(book);
    DisposeWorkSheet(book);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 200000);
    pf::set_temp_budget(pf::temp_bytes_in_use() + 100000);
    int16_t result = 0;
    EXPECT_EQ(open("Big.qrv", &result), nullptr);
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(f_ref, 0);
    ASSERT_FALSE(prompts_log::seen.empty());
    // The memory manager's own code: no memory, or purging could not free enough.
    EXPECT_TRUE(prompts_log::seen[0] == "error -108" || prompts_log::seen[0] == "error 257") << prompts_log::seen[0];
    EXPECT_NE(open("Big.qrv"), nullptr);  // with memory again it opens
}

}  // namespace
