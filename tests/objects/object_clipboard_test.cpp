// Copying, cutting, clearing and pasting drawing objects through the private
// clipboard, within a layer and into another, with undo and redo; and the
// flavours copied objects give the system clipboard.
#include <cairo.h>

#include "editing/clipboard.h"
#include "objects/object_clipboard.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "platform/draw/draw.h"
#include "platform/draw/picture.h"
#include "platform/scrap/scrap.h"
#include "tests/editing/clipboard_fixture.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "resource_ids.h"

namespace {

class ObjectClipboardTest : public ClipboardTest {
protected:
    void SetUp() override {
        ClipboardTest::SetUp();
        pf::scrap_reset();
    }

    MemoryRef place(pf::FourCC kind, CellPoint cell, int16_t v = 2, int16_t h = 3, MemoryRef on = nullptr) {
        on = on ? on : layer;
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, on), 1);
        ObjectRecord* r = use_object(object);
        r->anchor_row = cell.v, r->anchor_column = cell.h, r->v_offset = v, r->h_offset = h;
        release_object(object);
        return object;
    }

    static ObjectRecord fields(MemoryRef object) {
        ObjectRecord f = *use_object(object);
        release_object(object);
        return f;
    }

    static std::vector<pf::FourCC> kinds(MemoryRef on) {
        std::vector<pf::FourCC> list;
        for (MemoryRef object : layer_objects(on)) list.push_back(fields(object).kind);
        return list;
    }

    static std::vector<MemoryRef> selected(MemoryRef on) {
        std::vector<MemoryRef> list;
        for (int32_t i = 1; MemoryRef object = get_selected_object(on, i); ++i) list.push_back(object);
        return list;
    }
};

TEST_F(ObjectClipboardTest, CopiesKeepTheirDistancesFromTheBoundingCell) {
    MemoryRef a = place(kRectObject, {4, 3}, 2, 5), b = place(kOvalObject, {6, 2}, 1, 7);
    add_selected(layer, a);
    add_selected(layer, b);
    ASSERT_EQ(Cut_Copy_Clear(layer, 0, 1), kEditDone);
    const ClipRecord clip = read_clip();
    EXPECT_EQ(clip.kind, int32_t(kRectObject));
    EXPECT_EQ(clip.export_pending, 1);
    ASSERT_NE(clip.objects, nullptr);
    MemoryRef second = reinterpret_cast<MemoryRef>(GetObj_info(clip.objects, pf::four_cc("link")));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetObj_info(second, pf::four_cc("link")), 0);
    // The bounding cell is row 4, column 2.
    EXPECT_EQ(fields(clip.objects).v_paste_offset, 2);
    EXPECT_EQ(fields(clip.objects).h_paste_offset, GetColumnSize(2, layer) + 5);
    EXPECT_EQ(fields(second).v_paste_offset, GetRowSize(4, layer) + GetRowSize(5, layer) + 1);
    EXPECT_EQ(fields(second).h_paste_offset, 7);
    EXPECT_EQ(num_objects(layer), 2);  // a copy leaves them
    EXPECT_EQ(undo_kind(), 0);
}

TEST_F(ObjectClipboardTest, PasteIntoAnotherLayerMakesSelectedCopiesAtTheCellSelection) {
    MemoryRef a = place(kRectObject, {4, 3}), b = place(kTextObject, {6, 2});
    add_selected(layer, a);
    add_selected(layer, b);
    ASSERT_EQ(Cut_Copy_Clear(layer, 0, 1), kEditDone);
    MemoryRef other = add_layer(workbook);
    select_range(cells(10, 10, 10, 10), other);
    ASSERT_EQ(DoPaste(other), kEditDone);
    EXPECT_EQ(kinds(other), (std::vector<pf::FourCC>{kRectObject, kTextObject}));
    EXPECT_EQ(selected(other), layer_objects(other));
    const std::vector<MemoryRef> pasted = layer_objects(other);
    EXPECT_EQ(GetObj_Location(pasted[0]).topLeft, (CellPoint{10, 11}));
    EXPECT_EQ(GetObj_Location(pasted[1]).topLeft, (CellPoint{12, 10}));
    for (MemoryRef object : pasted) {
        EXPECT_EQ(fields(object).owner, other);
        EXPECT_EQ(fields(object).link, nullptr);
        EXPECT_EQ(fields(object).v_paste_offset, 0);
    }
    EXPECT_NE(fields(pasted[0]).id, fields(pasted[1]).id);
    // Pasting again puts the copies' bounding cell one cell past the first selected copy.
    ASSERT_EQ(DoPaste(other), kEditDone);
    EXPECT_EQ(num_objects(other), 4);
    EXPECT_EQ(GetObj_Location(layer_objects(other)[2]).topLeft, (CellPoint{11, 13}));
    EXPECT_EQ(GetObj_Location(layer_objects(other)[3]).topLeft, (CellPoint{13, 12}));
    // Undo takes the last paste away, redo brings it back.
    DoUndo(workbook);
    EXPECT_EQ(num_objects(other), 2);
    EXPECT_TRUE(selected(other).empty());
    DoRedo(workbook);
    EXPECT_EQ(num_objects(other), 4);
    EXPECT_EQ(num_objects(layer), 2);
}

TEST_F(ObjectClipboardTest, CutOfThreeObjectsComesBackInOrderWithOneUndoAndGoesAgainWithRedo) {
    MemoryRef a = place(kRectObject, {1, 1}), b = place(kOvalObject, {2, 2}), c = place(kLineObject, {3, 3}),
              d = place(kRoundRectObject, {4, 4});
    for (MemoryRef object : {d, a, c}) add_selected(layer, object);
    ASSERT_EQ(Cut_Copy_Clear(layer, 1, 1), kEditDone);
    EXPECT_EQ(layer_objects(layer), std::vector<MemoryRef>{b});
    EXPECT_EQ(undo_kind(), kUndoCutObjects);
    EXPECT_EQ(read_clip().kind, int32_t(kRoundRectObject));
    DoUndo(workbook);
    EXPECT_EQ(layer_objects(layer), (std::vector<MemoryRef>{a, b, c, d}));
    DoRedo(workbook);
    EXPECT_EQ(layer_objects(layer), std::vector<MemoryRef>{b});
    EXPECT_EQ(undo_kind(), kUndoCutObjects);
    DoUndo(workbook);
    EXPECT_EQ(layer_objects(layer), (std::vector<MemoryRef>{a, b, c, d}));
    // The clipboard still pastes what was cut.
    select_range(cells(20, 0, 20, 0));
    clear_selected_objects(layer);
    ASSERT_EQ(DoPaste(layer), kEditDone);
    EXPECT_EQ(kinds(layer).size(), 7u);
}

TEST_F(ObjectClipboardTest, LockedObjectsAreNeitherCutNorCleared) {
    MemoryRef a = place(kRectObject, {1, 1}), b = place(kOvalObject, {2, 2});
    SetObj_info(b, pf::four_cc("prot"), 1);
    add_selected(layer, a);
    add_selected(layer, b);
    EXPECT_EQ(Cut_Copy_Clear(layer, 1, 1), 2);
    EXPECT_EQ(Do_Clear(0, layer), 2);
    EXPECT_EQ(undo_test::alerts, (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(num_objects(layer), 2);
    EXPECT_EQ(read_clip().objects, nullptr);
    EXPECT_EQ(Cut_Copy_Clear(layer, 0, 1), kEditDone);  // a copy is allowed
}

TEST_F(ObjectClipboardTest, OneTextBoxGivesItsTextAndOnePictureItsPicture) {
    MemoryRef box = place(kTextObject, {1, 1});
    const uint8_t data[] = {5, 0, 'H', 'e', 'l', 'l', 'o', 2, 0, 0xAB, 0xCD};
    SetObj_info(box, pf::four_cc("data"), reinterpret_cast<intptr_t>(Bytes2Memory(&mem_globals, data, 1, sizeof data)));
    add_selected(layer, box);
    ASSERT_EQ(edit_cut_copy(layer, false), kEditDone);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(pf::get_scrap(pf::kScrapText, bytes), pf::noErr);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Hello");
    ASSERT_EQ(pf::get_scrap(pf::four_cc("styl"), bytes), pf::noErr);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xAB, 0xCD}));
    EXPECT_EQ(read_clip().export_pending, 0);
}

TEST_F(ObjectClipboardTest, APictureOnTheSystemClipboardPastesAsAPictureObject) {
    pf::Port port;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 50, 50);
    pf::open_port(port, surface, 50, 50);
    pf::set_port(&port);
    pf::PicHandle picture = pf::open_picture(pf::Rect{0, 0, 30, 40});
    pf::paint_oval(pf::Rect{0, 0, 30, 40});
    pf::close_picture();
    ASSERT_EQ(pf::zero_scrap(), pf::noErr);
    ASSERT_EQ(pf::put_scrap(pf::four_cc("PICT"), picture->data.data(), picture->data.size()), pf::noErr);
    ASSERT_EQ(edit_paste(layer), kEditDone);
    ASSERT_EQ(kinds(layer), std::vector<pf::FourCC>{kPictureObject});
    MemoryRef pasted = find_object_item(layer, 1);
    EXPECT_EQ(fields(pasted).height, 30);
    EXPECT_EQ(fields(pasted).width, 40);
    EXPECT_EQ(GetByteSize(fields(pasted).picture), int32_t(picture->data.size()));
    // Damaged picture bytes make no object and change nothing.
    const uint8_t junk[] = {0, 1, 2};
    ASSERT_EQ(pf::zero_scrap(), pf::noErr);
    ASSERT_EQ(pf::put_scrap(pf::four_cc("PICT"), junk, sizeof junk), pf::noErr);
    edit_paste(layer);
    EXPECT_EQ(num_objects(layer), 1);
    pf::kill_picture(picture);
    pf::set_port(nullptr);
    pf::close_port(port);
    cairo_surface_destroy(surface);
}

}  // namespace

namespace {

TEST_F(ObjectClipboardTest, SelectAllWithAnObjectSelectedSelectsEveryObjectNotTheCells) {
    MemoryRef a = place(kRectObject, {1, 1}), b = place(kOvalObject, {2, 2}), c = place(kLineObject, {3, 3});
    add_selected(layer, b);
    select_range(cells(4, 4, 4, 4));
    MemoryRef record = pgAllocateNewRef(&mem_globals, sizeof(DocWindowRecord), 1, 0, true);
    write_doc_window(record, DocWindowRecord{nullptr, layer, workbook, record, {}, {}, 0});
    DoEditMenu(record, kEditSelectAllItem);
    EXPECT_EQ(selected(layer), (std::vector<MemoryRef>{b, a, c}));
    EXPECT_EQ(selection(), cells(4, 4, 4, 4));
    DisposeMemory(record);
}

}  // namespace

namespace {

TEST_F(ObjectClipboardTest, TwoCopiedObjectsGiveOnePictureOfBothThatPastesAsOnePicture) {
    pf::Port port;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 50, 50);
    pf::open_port(port, surface, 50, 50);
    pf::set_port(&port);
    // One object's picture is its own bounds, wherever it lies in its cell.
    MemoryRef alone = place(kOvalObject, {5, 1}, 3, 56);
    add_selected(layer, alone);
    ASSERT_EQ(edit_cut_copy(layer, false), kEditDone);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(pf::get_scrap(pf::four_cc("PICT"), bytes), pf::noErr);
    EXPECT_EQ(pf::picture_frame(bytes.data(), bytes.size()), (pf::Rect{0, 0, 20, 20}));
    ASSERT_EQ(edit_cut_copy(layer, true), kEditDone);

    MemoryRef a = place(kRectObject, {2, 1}, 0, 0), b = place(kOvalObject, {2, 2}, 10, 4);
    add_selected(layer, a);
    add_selected(layer, b);
    ASSERT_EQ(edit_cut_copy(layer, false), kEditDone);
    ASSERT_EQ(pf::get_scrap(pf::four_cc("PICT"), bytes), pf::noErr);
    // The frame reaches the oval's far corner: a column and 4 pixels, then 20 more, across.
    const pf::Rect frame = pf::picture_frame(bytes.data(), bytes.size());
    EXPECT_EQ(frame, (pf::Rect{0, 0, 30, int16_t(GetColumnSize(1, layer) + 24)}));
    // Another program's copy replaces it: the picture comes back as one object.
    pf::scrap_system_changed();
    pf::zero_scrap();
    ASSERT_EQ(pf::put_scrap(pf::four_cc("PICT"), bytes.data(), bytes.size()), pf::noErr);
    clear_selected_objects(layer);
    ASSERT_EQ(edit_paste(layer), kEditDone);
    EXPECT_EQ(kinds(layer), (std::vector<pf::FourCC>{kRectObject, kOvalObject, kPictureObject}));
    pf::set_port(nullptr);
    pf::close_port(port);
    cairo_surface_destroy(surface);
}

}  // namespace
