// The picture of the selected cells: its frame the cells' size, whole columns
// cut where the cells end, and its playback compared with its golden image.
#include "../window/golden_image.h"
#include "../window/sheet_fixture.h"
#include "platform/draw/picture.h"
#include "objects/object_mouse.h"
#include "objects/object_records.h"
#include "printing/cell_picture.h"

namespace {

class CellPictureTest : public SheetTest {
protected:
    void TearDown() override {
        pf::kill_picture(picture);
        SheetTest::TearDown();
    }
    pf::PicHandle picture = nullptr;
};

TEST_F(CellPictureTest, TheSelectedCellsArePicturedAsTheSheetShowsThem) {
    fill_formatted_sheet();
    SetSheetFlags(layer, GetSheetFlags(layer) | kLayerGridLines | kLayerPrintColours);
    set_selection(CellRange{{0, 0}, {6, 3}});
    Image_List(&picture, layer);
    ASSERT_NE(picture, nullptr);
    const pf::Rect frame = pf::picture_frame(picture->data.data(), picture->data.size());
    EXPECT_EQ(frame.width(), GetColumnSize(0, layer) + 40 + GetColumnSize(2, layer) + GetColumnSize(3, layer));
    int32_t height = 0;
    for (int16_t row = 0; row <= 6; ++row) height += GetRowSize(row, layer);
    EXPECT_EQ(frame.height(), height);

    pf::set_port(&port);
    pf::erase_rect(port.port_rect);
    ASSERT_EQ(pf::draw_picture(picture, pf::Rect{10, 10, int16_t(10 + frame.height()), int16_t(10 + frame.width())}),
              pf::noErr);
    EXPECT_TRUE(matches_golden_image(surface, "cell_picture", "printing"));
}

TEST_F(CellPictureTest, WholeColumnsArePicturedAsFarAsTheCellsReach) {
    put_number(4, 1, 7);
    set_selection(CellRange{{0, 1}, {kLastCell, 2}});
    Image_List(&picture, layer);
    ASSERT_NE(picture, nullptr);
    const pf::Rect frame = pf::picture_frame(picture->data.data(), picture->data.size());
    EXPECT_EQ(frame.height(), 5 * GetRowSize(0, layer));
    EXPECT_EQ(frame.width(), GetColumnSize(1, layer) + GetColumnSize(2, layer));
}

TEST_F(CellPictureTest, SelectedObjectsArePicturedInsteadOfTheCells) {
    put_number(0, 0, 7);
    MemoryRef left = nullptr, right = nullptr, other = nullptr;
    ASSERT_EQ(NewObject(kRectObject, &left, 0, layer), 1);
    ASSERT_EQ(NewObject(kOvalObject, &right, 0, layer), 1);
    ASSERT_EQ(NewObject(kOvalObject, &other, 0, layer), 1);
    const pf::Rect pane = pane_rect(0);
    move_object_to(left, pf::Rect{int16_t(pane.top + 10), int16_t(pane.left + 10), int16_t(pane.top + 40),
                                  int16_t(pane.left + 50)}, 0, layer);
    move_object_to(right, pf::Rect{int16_t(pane.top + 30), int16_t(pane.left + 80), int16_t(pane.top + 70),
                                   int16_t(pane.left + 100)}, 0, layer);
    add_selected(layer, left);
    add_selected(layer, right);
    Image_List(&picture, layer);
    ASSERT_NE(picture, nullptr);
    const pf::Rect frame = pf::picture_frame(picture->data.data(), picture->data.size());
    EXPECT_EQ(frame.height(), 60);  // from the rectangle's top to the oval's bottom
    EXPECT_EQ(frame.width(), 90);
}

}  // namespace
