// Dragging the selection's border in the running program: cells move within
// their layer (Option copies), copy to another window, and text dropped by
// another program becomes cells; each is one undo step, and a drop whose
// cells would reach past the grid is refused with nothing changed.
#include <fstream>
#include <string>

#include "../window/road_fixture.h"
#include "layout_default_font.h"
#include "editing/sheet_drag.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_drawing.h"
#include "objects/objects.h"
#include "ui/alerts.h"
#include "editing/undo.h"
#include "model/workbook.h"
#include "files/layout_settings.h"
#include "model/cell_letters.h"
#include "model/date_serials.h"
#include "platform/text/text.h"
#include "window/cell_entry.h"
#include "tests/objects/png_sample.h"
#include "tests/platform/temp_folder.h"
#include "platform/drag/drag.h"
#include "platform/draw/picture.h"
#include "ui/app_prefs.h"
#include "window/window_commands.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class CellDrag : public TypedRoadTest {
protected:
    void select(CellRange range) {
        LSelect(range.topLeft, &range, nullptr, 0, layer);
        run_until_idle();
    }
    CellRange selection() {
        CellRange range;
        GetSelectRect(&range, layer);
        return range;
    }
    // A point on the selection's top edge, over its first column.
    pf::Point top_edge() {
        const CellRange range = selection();
        pf::Rect r;
        Range_Location(0, &r, 1, &range, layer);
        const pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + r.top), int16_t(content.left + r.left + 10)};
    }
    // Drags the selection by its top edge so that its top-left lands on `cell`.
    void drag_to(CellPoint cell, uint16_t modifiers = 0) {
        pf::driver_drag(top_edge(), top_left_point(cell), modifiers);
        run_until_idle();
    }
    pf::Point top_left_point(CellPoint cell) { return top_left_point_in(window, cell); }
    static pf::Point top_left_point_in(pf::WindowRef in, CellPoint cell) {
        pf::Rect r;
        Cell_Location(0, &r, 1, cell, doc_window_layer(window_doc_record(in)));
        const pf::Rect content = pf::window_content_rect(in);
        return pf::Point{int16_t(content.top + r.top + 2), int16_t(content.left + r.left + 10)};
    }
    // Drags the selection by its top edge from this window onto `cell` of `other`.
    void drop_on(pf::WindowRef other, CellPoint cell) {
        pf::select_window(window);
        run_until_idle();
        pf::driver_drag(top_edge(), top_left_point_in(other, cell));
        run_until_idle();
    }
    // A new document window, side by side with this one at the right; answers it.
    pf::WindowRef new_window_beside() {
        pf::move_window(window, 0, 60, true);
        pf::size_window(window, 390, 400, true);
        DoFileMenu(nullptr, kFileNewItem);
        run_until_idle();
        pf::WindowRef other = pf::front_non_floating_window();
        pf::move_window(other, 400, 60, true);
        pf::size_window(other, 390, 400, true);
        return other;
    }
    // 1 and 2 over 3 and =B3+C3, at B3.
    void put_two_by_two() {
        click(CellPoint{2, 1});
        enter("1");
        enter("2");
        click(CellPoint{2, 2});
        enter("3");
        enter("=B3+C3");
        select(CellRange{{2, 1}, {3, 2}});
    }
};

TEST_F(CellDrag, TheBorderMovesTheCellsAndUndoPutsThemBack) {
    put_two_by_two();
    drag_to(CellPoint{6, 3});
    EXPECT_EQ(value(2, 1), -1);
    EXPECT_EQ(value(6, 3), 1);
    EXPECT_EQ(value(7, 3), 2);
    EXPECT_EQ(value(7, 4), 4) << "the moved formula follows the cells it uses";
    EXPECT_EQ(selection(), (CellRange{{6, 3}, {7, 4}}));
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1);
    EXPECT_EQ(value(6, 3), -1);
}

TEST_F(CellDrag, OptionCopiesAndLeavesTheCellsWhereTheyWere) {
    put_two_by_two();
    drag_to(CellPoint{5, 1}, pf::kOptionKey);
    EXPECT_EQ(value(2, 1), 1);
    EXPECT_EQ(value(5, 1), 1);
    EXPECT_EQ(value(6, 2), 4) << "the copied formula points at the copied cells";
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(5, 1), -1);
    EXPECT_EQ(value(2, 1), 1);
}

TEST_F(CellDrag, AClickOnTheBorderWithoutMovingChangesNothing) {
    put_two_by_two();
    const pf::Point edge = top_edge();
    pf::driver_click(edge);
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1);
    EXPECT_EQ(selection(), (CellRange{{2, 1}, {3, 2}}));
    // A drop on the cells' own place does nothing either.
    pf::driver_drag(edge, pf::Point{int16_t(edge.v + 3), int16_t(edge.h + 3)});
    run_until_idle();
    EXPECT_EQ(value(2, 1), 1);
}

TEST_F(CellDrag, ADropPastTheLastRowIsRefusedAndNothingChanges) {
    SheetAutoScroll(layer, CellPoint{kLastCell, 0}, 1);
    run_until_idle();
    click(CellPoint{kLastCell - 3, 0});
    enter("8");
    enter("9");
    select(CellRange{{kLastCell - 3, 0}, {kLastCell - 2, 0}});
    alert_requests().clear();
    drag_to(CellPoint{kLastCell, 0});
    EXPECT_EQ(value(kLastCell - 3, 0), 8);
    EXPECT_EQ(value(kLastCell, 0), -1);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_NE(alert_requests()[0].text.find("past the last row"), std::string::npos);
    // A copy is refused the same way.
    drag_to(CellPoint{kLastCell, 0}, pf::kOptionKey);
    EXPECT_EQ(value(kLastCell, 0), -1);
    EXPECT_EQ(alert_requests().size(), 2u);
    // The target is kept whole, so that it can be refused.
    EXPECT_EQ(drop_target(CellPoint{kLastCell, 5}, CellPoint{0, 0}, CellRange{{0, 0}, {1, 1}}).botRight,
              (CellPoint{kLastCell + 1, 6}));
    EXPECT_EQ(drop_target(CellPoint{1, 1}, CellPoint{3, 2}, CellRange{{5, 5}, {8, 6}}).topLeft, (CellPoint{0, 0}));
}

TEST_F(CellDrag, ADropOnAnotherWindowCopies) {
    put_two_by_two();
    pf::WindowRef other = new_window_beside();
    ASSERT_NE(other, window);
    MemoryRef other_layer = doc_window_layer(window_doc_record(other));
    drop_on(other, CellPoint{2, 1});
    EXPECT_EQ(value(2, 1), 1) << "the source stays";
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{2, 1}, other_layer));
    EXPECT_EQ(load_f64(_formulaPtr_(cell)), 1);
}

// A text in the default font of a Cyrillic layer dropped on a Greek one
// reads the same there, and a date on a workbook counting from 1900 names
// the same day.
TEST_F(CellDrag, ADropOnAnotherWindowKeepsTheLettersAndTheDays) {
    choose_default_font(layer, pf::script_font(pf::kScriptCyrillic));
    std::string cyrillic;
    ASSERT_TRUE(pf::utf8_to_script("Москва", pf::kScriptCyrillic, cyrillic));
    select(CellRange{{2, 1}, {2, 1}});
    MemoryRef text = Bytes2Memory(&mem_globals, cyrillic.data(), 1, int32_t(cyrillic.size()));
    uint16_t at = 0;
    ASSERT_EQ(Enter_Data(layer, text, nullptr, &at, 0), kEntryStored);
    DisposeMemory(text);
    click(CellPoint{2, 2});
    enter("3/4/2021");
    select(CellRange{{2, 1}, {2, 2}});
    const double day = value(2, 2);
    pf::WindowRef other = new_window_beside();
    MemoryRef other_layer = doc_window_layer(window_doc_record(other));
    choose_default_font(other_layer, pf::script_font(pf::kScriptGreek));
    Set_1900Date_Flag(GetWorkSheet(other_layer), 1);
    drop_on(other, CellPoint{2, 1});
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{2, 1}, other_layer));
    const std::vector<uint8_t> copy(cell, cell + length);
    EXPECT_EQ(cell_unicode_text(copy.data(), CellPoint{2, 1}, other_layer), "Москва");
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{2, 2}, other_layer));
    EXPECT_EQ(load_f64(_formulaPtr_(cell)), day + k1900ShiftDays);
}

TEST_F(CellDrag, TextDroppedByAnotherProgramBecomesCells) {
    pf::driver_drop_text(cell_point(CellPoint{2, 1}), "5\t6\n7\tword\n");
    run_until_idle();
    EXPECT_EQ(value(2, 1), 5);
    EXPECT_EQ(value(2, 2), 6);
    EXPECT_EQ(value(3, 1), 7);
    EXPECT_EQ(selection(), (CellRange{{2, 1}, {3, 2}}));
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(value(2, 1), -1);
}

}  // namespace

namespace {

TEST_F(CellDrag, ImageFilesDroppedByAnotherProgramBecomePicturesAndOthersAreSkipped) {
    TempFolder folder;
    const std::vector<uint8_t> png = png_sample::halves();
    const std::string good = folder.path + "/Sample.png", damaged = folder.path + "/Damaged.png";
    std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    std::ofstream(damaged, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), 60);
    pf::driver_drop_files(cell_point(CellPoint{2, 1}), {good, damaged, good});
    run_until_idle();
    ASSERT_EQ(num_objects(layer), 2);
    EXPECT_EQ(GetObj_Location(find_object_item(layer, 1)).topLeft, (CellPoint{2, 1}));
    EXPECT_EQ(GetObj_Location(find_object_item(layer, 2)).topLeft, (CellPoint{4, 3}));
    EXPECT_EQ(pf::FourCC(GetObj_info(find_object_item(layer, 1), pf::four_cc("type"))), kPictureObject);
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(num_objects(layer), 0);
}

TEST_F(CellDrag, ADropOfOnlyFilesThatAreNoImagesIsRefused) {
    TempFolder folder;
    const std::string text = folder.path + "/Notes.png";
    std::ofstream(text) << "not an image at all, just some words";
    pf::driver_drop_files(cell_point(CellPoint{2, 1}), {text});
    run_until_idle();
    EXPECT_EQ(num_objects(layer), 0);
}

}  // namespace

namespace {

// What a receiving window read of the dropped item: its picture's frame, or
// an empty one when the drag offered no picture.
pf::Rect received_frame{};
pf::OSErr receive_picture(pf::WindowRef, void*, pf::DragRef drag) {
    received_frame = pf::Rect{};
    int32_t size = 0;
    if (pf::get_flavor_data_size(drag, 1, pf::kFlavorTypePicture, size) != pf::noErr) return pf::noErr;
    std::vector<uint8_t> bytes(size_t(size), 0);
    pf::get_flavor_data(drag, 1, pf::kFlavorTypePicture, bytes.data(), size, 0);
    received_frame = pf::picture_frame(bytes.data(), bytes.size());
    return pf::noErr;
}

// Dragged cells carry a picture of themselves only when the preferences ask.
TEST_F(CellDrag, DraggedCellsOfferTheirPictureWhenThePreferencesAsk) {
    put_two_by_two();
    pf::WindowRef other = new_window_beside();
    ASSERT_NE(other, window);
    remove_sheet_drag_handlers(other);
    pf::install_receive_handler(receive_picture, other, nullptr);
    pf::select_window(window);
    run_until_idle();
    const pf::Rect content = pf::window_content_rect(other);
    const pf::Point drop{int16_t(content.top + 100), int16_t(content.left + 100)};
    const CellRange dragged = selection();
    pf::Rect cells;
    Range_Location(0, &cells, 1, &dragged, layer);

    app_prefs.options |= 0x08000000;
    pf::driver_drag(top_edge(), drop);
    run_until_idle();
    EXPECT_EQ(received_frame.bottom - received_frame.top, cells.bottom - cells.top);
    EXPECT_EQ(received_frame.right - received_frame.left, cells.right - cells.left);

    app_prefs.options &= ~uint32_t(0x08000000);
    select(dragged);
    pf::driver_drag(top_edge(), drop);
    run_until_idle();
    EXPECT_EQ(received_frame.bottom - received_frame.top, 0) << "no picture offered";
    pf::remove_receive_handler(receive_picture, other);
}

}  // namespace

namespace {

// Drawing objects dragged: moved within their layer as one undo step, copied
// with Option or to another window, and refused while one of them is locked.
class ObjectDrag : public CellDrag {
protected:
    MemoryRef box = nullptr;
    void SetUp() override {
        CellDrag::SetUp();
        ASSERT_EQ(NewObject(kRectObject, &box, 0, layer), 1);
        ObjectRecord* r = use_object(box);
        r->anchor_row = 2, r->anchor_column = 1, r->v_offset = 3, r->h_offset = 4, r->height = 30, r->width = 50;
        release_object(box);
        ObjectLocation(box, layer);
        add_selected(layer, box);
        run_until_idle();
    }
    // A global point inside the object, `dv` and `dh` from its top left.
    pf::Point on(MemoryRef object, MemoryRef in, pf::WindowRef w, int16_t dv, int16_t dh) {
        const pf::Rect r = object_rect(object, 0, in);
        const pf::Rect content = pf::window_content_rect(w);
        return pf::Point{int16_t(content.top + r.top + dv), int16_t(content.left + r.left + dh)};
    }
    std::vector<int> place_of(MemoryRef object) {
        const ObjectRecord r = *use_object(object);
        release_object(object);
        return {r.anchor_row, r.anchor_column, r.v_offset, r.h_offset};
    }
};

TEST_F(ObjectDrag, AMoveReanchorsTheObjectAndUndoPutsItBack) {
    const std::vector<int> before = place_of(box);
    pf::Rect cell;
    Cell_Location(0, &cell, 1, CellPoint{8, 3}, layer);
    const pf::Rect content = pf::window_content_rect(window);
    // Pressed 5 and 6 pixels inside its corner: the corner lands 2 and 1 pixels into D9.
    pf::driver_drag(on(box, layer, window, 5, 6), pf::Point{int16_t(content.top + cell.top + 7), int16_t(content.left + cell.left + 7)});
    run_until_idle();
    EXPECT_EQ(num_objects(layer), 1);
    EXPECT_EQ(place_of(box), (std::vector<int>{8, 3, 2, 1}));
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(place_of(box), before);
}

TEST_F(ObjectDrag, OptionCopiesAndADropOnAnotherWindowCopies) {
    pf::driver_drag(on(box, layer, window, 5, 5), on(box, layer, window, 45, 5), pf::kOptionKey);
    run_until_idle();
    ASSERT_EQ(num_objects(layer), 2);
    EXPECT_EQ(place_of(box), (std::vector<int>{2, 1, 3, 4})) << "the original stays";
    MemoryRef copy = get_selected_object(layer, 1);
    ASSERT_NE(copy, box);
    EXPECT_EQ(object_rect(copy, 0, layer).top, object_rect(box, 0, layer).top + 40);

    clear_selected_objects(layer);
    add_selected(layer, box);
    pf::WindowRef other = new_window_beside();
    MemoryRef other_layer = doc_window_layer(window_doc_record(other));
    pf::select_window(window);
    run_until_idle();
    const pf::Rect content = pf::window_content_rect(other);
    pf::driver_drag(on(box, layer, window, 5, 5), pf::Point{int16_t(content.top + 100), int16_t(content.left + 120)});
    run_until_idle();
    EXPECT_EQ(num_objects(layer), 2) << "the source keeps its objects";
    ASSERT_EQ(num_objects(other_layer), 1);
    MemoryRef dropped = find_object_item(other_layer, 1);
    const pf::Rect r = object_rect(dropped, 0, other_layer);
    EXPECT_EQ(r.top, 95);
    EXPECT_EQ(r.left, 115);
    EXPECT_EQ(r.height(), 30);
    DoUndo(GetWorkSheet(other_layer));
    run_until_idle();
    EXPECT_EQ(num_objects(other_layer), 0);
}

TEST_F(ObjectDrag, ALockedObjectIsNotMoved) {
    SetObj_info(box, pf::four_cc("prot"), 1);
    const std::vector<int> before = place_of(box);
    alert_requests().clear();
    pf::driver_drag(on(box, layer, window, 5, 5), on(box, layer, window, 60, 80));
    run_until_idle();
    EXPECT_EQ(place_of(box), before);
    EXPECT_EQ(alert_requests().size(), 1u);
}

}  // namespace
