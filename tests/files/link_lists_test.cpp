// Link lists kept in step with the formulas: unused and duplicate links
// dropped before saving, pasted links merged without clashing ids.
#include <gtest/gtest.h>

#include "files/link_lists.h"
#include "tests/files/sample_workbook.h"

namespace {

using sample::Bytes;

Bytes link_to(int16_t id, const std::string& name, int32_t folder, const std::string& path = "/p") {
    Bytes record = sample::link_record(id, name, path);
    store_i32(record.data() + kLinkSpecOffset + 2, folder);
    return record;
}

Bytes records(std::initializer_list<Bytes> list) {
    Bytes all;
    for (const Bytes& r : list) all.insert(all.end(), r.begin(), r.end());
    return all;
}

MemoryRef link_block(const Bytes& all) {
    return sample::block_of(all.data(), kLinkRecordSize, int32_t(all.size() / kLinkRecordSize));
}

std::vector<int16_t> ids_of(MemoryRef list) {
    std::vector<int16_t> ids;
    for (int32_t i = 0; list && i < GetMemorySize(list); ++i) {
        uint8_t record[kLinkRecordSize];
        GetMemoryRecord(list, i, record);
        ids.push_back(link_id(record));
    }
    return ids;
}

// Cells whose formulas use the given link ids, one row each from `first_row`.
Bytes cells_using(std::initializer_list<int16_t> ids, int16_t first_row = 0) {
    Bytes store;
    int16_t row = first_row;
    for (int16_t id : ids) sample::append_row(store, row++, {sample::formula_number_cell(0, sample::link_formula(id), 1)});
    return store;
}

class LinkListTest : public ::testing::Test {
protected:
    sample::Session session;
    MemoryRef book = sample::new_workbook();
    MemoryRef layer = sample::new_layer(book);

    void set_links(const Bytes& all) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->links = link_block(all);
        sheet->flags |= kLayerHasLinks;
        release_layer(layer);
    }
    MemoryRef links() { return GetSheetLinks(layer); }
};

TEST_F(LinkListTest, SavingDropsUnusedAndDuplicateLinks) {
    sample::install_cells(layer, cells_using({2, 3}));
    set_links(records({link_to(1, "Unused", 10), link_to(2, "Rates", 20, "/A/Rates"), link_to(3, "Costs", 30),
                       link_to(2, "Rates", 20, "/a/rates")}));
    CleanFileData(book);
    EXPECT_EQ(ids_of(links()), (std::vector<int16_t>{2, 3}));
    EXPECT_EQ(GetSheetFlags(layer) & kLayerHasLinks, 0u);
}

TEST_F(LinkListTest, ALayerWithNoUsedLinkLosesItsListAndCountsAsChanged) {
    set_links(records({link_to(1, "Gone", 10)}));
    int16_t before = get_change_ctr(book);
    CleanFileData(book);
    EXPECT_EQ(links(), nullptr);
    EXPECT_EQ(get_change_ctr(book), before + 1);
}

TEST_F(LinkListTest, LinkIdsAreRewrittenInsideTheRangeOnly) {
    MemoryRef cells = GetSpreadSheetCells(layer);
    sample::install_cells(layer, cells_using({4, 4, 4}));
    EXPECT_EQ(GetFileLinkInfo(4, 9, CellPoint{1, 0}, CellPoint{1, 0}, cells), 1);
    EXPECT_EQ(GetFileLinkInfo(9, 9, CellPoint{0, 0}, CellPoint{2, 5}, cells), 1);
    EXPECT_EQ(GetFileLinkInfo(9, 9, CellPoint{0, 0}, CellPoint{0, 5}, cells), 0);
    EXPECT_EQ(GetFileLinkInfo(4, 4, CellPoint{0, 0}, CellPoint{2, 5}, cells), 1);
    EXPECT_EQ(GetFileLinkInfo(-1, 4, CellPoint{0, 0}, CellPoint{2, 5}, cells), 0);
}

TEST_F(LinkListTest, PastedLinksNeverTakeAnIdTheLayerAlreadyLists) {
    // Link 1 of the layer names another file and no formula uses it.
    set_links(records({link_to(1, "Costs", 10)}));
    Bytes copied = cells_using({1}, 5);
    MemoryRef clip_cells = Bytes2Memory(&mem_globals, copied.data(), 1, int32_t(copied.size()));
    ClipLinks clip{clip_cells, {{5, 0}, {5, 0}}, link_block(records({link_to(1, "Rates", 20)}))};
    merge_clip_links(clip, layer);
    EXPECT_EQ(ids_of(links()), (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(GetFileLinkInfo(2, 2, CellPoint{5, 0}, CellPoint{5, 0}, clip_cells), 1);
    EXPECT_EQ(ids_of(clip.links), (std::vector<int16_t>{2}));
    EXPECT_NE(GetSheetFlags(layer) & kLayerHasLinks, 0u);
}

TEST_F(LinkListTest, APastedLinkClashingAtTheLargestIdTakesTheLowestFreeOne) {
    sample::install_cells(layer, cells_using({0}));
    set_links(records({link_to(0, "Costs", 10), link_to(32767, "Sales", 30)}));
    Bytes copied = cells_using({32767});
    MemoryRef clip_cells = Bytes2Memory(&mem_globals, copied.data(), 1, int32_t(copied.size()));
    ClipLinks clip{clip_cells, {{0, 0}, {0, 0}}, link_block(records({link_to(32767, "Rates", 20)}))};
    merge_clip_links(clip, layer);
    EXPECT_EQ(ids_of(links()), (std::vector<int16_t>{0, 32767, 1}));
    EXPECT_EQ(GetFileLinkInfo(1, 1, CellPoint{0, 0}, CellPoint{0, 0}, clip_cells), 1);
}

TEST_F(LinkListTest, PastedLinksToAFileTheLayerLinksReuseItsId) {
    set_links(records({link_to(3, "Costs", 10)}));
    Bytes copied = cells_using({7});
    MemoryRef clip_cells = Bytes2Memory(&mem_globals, copied.data(), 1, int32_t(copied.size()));
    ClipLinks clip{clip_cells, {{0, 0}, {0, 0}}, link_block(records({link_to(7, "Costs", 10)}))};
    merge_clip_links(clip, layer);
    EXPECT_EQ(ids_of(links()), (std::vector<int16_t>{3}));
    EXPECT_EQ(GetFileLinkInfo(3, 3, CellPoint{0, 0}, CellPoint{0, 0}, clip_cells), 1);
}

TEST_F(LinkListTest, ALayerWithoutLinksTakesThePastedOnesThatAreUsed) {
    Bytes copied = cells_using({4});
    MemoryRef clip_cells = Bytes2Memory(&mem_globals, copied.data(), 1, int32_t(copied.size()));
    ClipLinks clip{clip_cells, {{0, 0}, {0, 0}}, link_block(records({link_to(4, "A", 1), link_to(6, "B", 2)}))};
    merge_clip_links(clip, layer);
    EXPECT_EQ(ids_of(links()), (std::vector<int16_t>{4}));
    resolve_linkID(layer);  // the clipboard holds nothing yet: nothing changes
    EXPECT_EQ(ids_of(links()), (std::vector<int16_t>{4}));
}

}  // namespace
