// Drawing objects stay on their cells when rows and columns are inserted,
// deleted and sized, leave with the cells they lie in, and come back with undo.
#include "model/insert_delete.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "tests/editing/undo_fixture.h"
#include "window/cell_geometry.h"

namespace {

class ObjectsFollowCellsTest : public UndoTest {
protected:
    MemoryRef place(CellPoint cell, int16_t height, int16_t width) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kRectObject, &object, 0, layer), 1);
        ObjectRecord* record = use_object(object);
        record->anchor_row = cell.v, record->anchor_column = cell.h;
        record->v_offset = 2, record->h_offset = 3, record->height = height, record->width = width;
        release_object(object);
        ObjectLocation(object, layer);
        return object;
    }

    CellRange location(MemoryRef object) { return GetObj_Location(object); }

    std::vector<MemoryRef> objects() { return layer_objects(layer); }

    void insert_or_delete(bool insert, CellRange range) {
        select_range(range);
        const int16_t rows = range.topLeft.h == 0 && range.botRight.h == kLastCell;
        ASSERT_EQ(insert ? insert_rowcol(layer, rows) : delete_rowcol(layer, rows), 0);
    }
};

TEST_F(ObjectsFollowCellsTest, TheEndCellFollowsTheObjectsPixelSize) {
    const int16_t row = GetRowSize(4, layer), column = GetColumnSize(2, layer);
    MemoryRef small = place({4, 2}, 5, 5);
    MemoryRef tall = place({4, 2}, int16_t(2 * row), int16_t(column - 3));
    EXPECT_EQ(location(small), cells(4, 2, 4, 2));
    EXPECT_EQ(location(tall), cells(4, 2, 6, 2));
}

TEST_F(ObjectsFollowCellsTest, InsertedRowsAndColumnsMoveTheObjectsAtAndPastThem) {
    MemoryRef above = place({2, 1}, 5, 5), below = place({6, 4}, 5, 5);
    insert_or_delete(true, cells(4, 0, 5, kLastCell));
    EXPECT_EQ(location(above), cells(2, 1, 2, 1));
    EXPECT_EQ(location(below), cells(8, 4, 8, 4));
    insert_or_delete(true, cells(0, 4, kLastCell, 4));
    EXPECT_EQ(location(above), cells(2, 1, 2, 1));
    EXPECT_EQ(location(below), cells(8, 5, 8, 5));
    DoUndo(workbook);
    DoUndo(workbook);
    EXPECT_EQ(location(below), cells(6, 4, 6, 4));
}

TEST_F(ObjectsFollowCellsTest, DeletedRowsTakeTheObjectsInsideThemAndUndoBringsThemBack) {
    MemoryRef first = place({1, 1}, 5, 5), inside = place({5, 2}, 5, 5), across = place({6, 3}, 60, 5),
              last = place({12, 1}, 5, 5);
    add_selected(layer, inside);
    insert_or_delete(false, cells(5, 0, 7, kLastCell));
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{first, across, last}));
    EXPECT_EQ(get_selected_object(layer, 1), nullptr);  // nothing dangling
    EXPECT_EQ(location(last).topLeft, (CellPoint{9, 1}));
    EXPECT_EQ(location(across).topLeft, (CellPoint{5, 3}));  // its anchor was deleted: the next row
    EXPECT_EQ(location(first).topLeft, (CellPoint{1, 1}));

    DoUndo(workbook);
    EXPECT_EQ(objects(), (std::vector<MemoryRef>{first, inside, across, last}));
    EXPECT_EQ(location(inside), cells(5, 2, 5, 2));
    EXPECT_EQ(location(across).topLeft, (CellPoint{6, 3}));
    EXPECT_EQ(location(last), cells(12, 1, 12, 1));
}

TEST_F(ObjectsFollowCellsTest, DeletingWithoutKeepingFreesTheObjects) {
    place({1, 1}, 5, 5);
    place({3, 3}, 5, 5);
    const CellRange range = cells(0, 0, 2, 2);
    EXPECT_EQ(Delete_Objects(0, &range, layer), nullptr);
    EXPECT_EQ(num_objects(layer), 1);
}

}  // namespace
