// Writing a layer's cells through the bounded byte-order buffer: the same
// bytes as swapping a copy of the whole block, damage refused, and a save
// that runs out of memory leaving the document as it was.
#include <filesystem>

#include "tests/files/document_fixture.h"

namespace {

using sample::Bytes;

class CellBlockWriter : public DocumentTest {
protected:
    // The framed block as swapping a whole copy writes it.
    static Bytes swapped_copy(MemoryRef cells) {
        MemoryRef copy = MemoryDuplicate(cells);
        EXPECT_EQ(ByteFlipCells(copy, 1), 0);
        Bytes framed(4);
        store_u32(framed.data(), swap32(uint32_t(GetByteSize(copy))));
        auto* bytes = static_cast<uint8_t*>(UseMemory(copy));
        framed.insert(framed.end(), bytes, bytes + GetByteSize(copy));
        UnuseMemory(copy);
        DisposeMemory(copy);
        return framed;
    }

    // The block as write_swapped_cells writes it into a file of its own.
    int16_t write_streamed(MemoryRef cells, Bytes* written) {
        write_bytes("Cells", {});
        EXPECT_EQ(pf::open_data_fork(spec("Cells"), pf::kReadWritePermission, f_ref), 0);
        int32_t counter = 0;
        int16_t error = write_swapped_cells(cells, &counter);
        CleanUp(0);
        *written = bytes_of("Cells");
        if (!error) {
            EXPECT_EQ(size_t(counter), written->size());
        }
        return error;
    }

    static Bytes store_bytes(MemoryRef cells) {
        auto* bytes = static_cast<uint8_t*>(UseMemory(cells));
        Bytes copy(bytes, bytes + GetByteSize(cells));
        UnuseMemory(cells);
        return copy;
    }
};

TEST_F(CellBlockWriter, WritesTheBytesOfASwappedCopyAndLeavesTheCellsAlone) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef rich = GetSpreadSheetCells(find_SpreadSheet_item(book, 0));
    MemoryRef layer = sample::new_layer(book);
    sample::fill_numbers(layer, 5000);  // many times the buffer
    for (MemoryRef cells : {rich, GetSpreadSheetCells(layer)}) {
        Bytes before = store_bytes(cells);
        Bytes written;
        ASSERT_EQ(write_streamed(cells, &written), 0);
        EXPECT_EQ(written, swapped_copy(cells));
        EXPECT_EQ(store_bytes(cells), before);
    }
}

TEST_F(CellBlockWriter, EmptyAndHeaderOnlyBlocksAreWrittenAsTheyStand) {
    MemoryRef cells = pgAllocateNewRef(&mem_globals, 1, 0, 0, false);
    Bytes written;
    ASSERT_EQ(write_streamed(cells, &written), 0);
    EXPECT_EQ(written, Bytes(4, 0));
    SetMemorySize(cells, kRowHeaderSize);
    std::memset(UseMemory(cells), 7, kRowHeaderSize);
    UnuseMemory(cells);
    ASSERT_EQ(write_streamed(cells, &written), 0);
    EXPECT_EQ(written, (Bytes{0, 0, 0, 6, 7, 7, 7, 7, 7, 7}));
    DisposeMemory(cells);
}

TEST_F(CellBlockWriter, ADamagedBlockIsRefusedAndTheFileClosed) {
    MemoryRef book = sample::rich_workbook(1);
    MemoryRef cells = GetSpreadSheetCells(find_SpreadSheet_item(book, 0));
    auto* start = static_cast<uint8_t*>(UseMemory(cells));
    _SetRowLength_(start, _RowLength_(start) + 1);  // the row no longer ends where its cells do
    UnuseMemory(cells);
    Bytes written;
    EXPECT_EQ(write_streamed(cells, &written), kDamagedFileErr);
    EXPECT_EQ(f_ref, 0);
}

TEST_F(CellBlockWriter, ASaveWithoutMemoryGivesTheErrorAndKeepsTheDocument) {
    MemoryRef book = sample::rich_workbook(2);
    ASSERT_EQ(save(book, "Book.qrv"), 0);
    Bytes saved = bytes_of("Book.qrv");
    increment_change_ctr(find_SpreadSheet_item(book, 0));
    pf::set_temp_budget(0);
    pf::set_heap_budget(pf::heap_bytes_in_use() + 1024);  // no room for the buffer
    int16_t error = save(book, "Book.qrv");
    pf::set_heap_budget(pf::kNoBudget);
    pf::set_temp_budget(pf::kNoBudget);
    EXPECT_EQ(error, kNoMemoryErr);
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
    size_t files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.path)) ++files;
    EXPECT_EQ(files, 1u);
    EXPECT_NE(get_change_ctr(book), 0);
    ASSERT_EQ(save(book, "Book.qrv"), 0);  // and nothing is left in use
    EXPECT_EQ(bytes_of("Book.qrv"), saved);
}

}  // namespace
