// Typing in a text box: the text tool opens an editor over the new box, keys
// and presses go to it, and the text is stored into the box (undoably) when
// the editing ends.
#include "editing/clipboard.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "objects/object_commands.h"
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/objects.h"
#include "model/insert_delete.h"
#include "objects/object_placement.h"
#include "objects/object_store.h"
#include "objects/text_box_editing.h"
#include "platform/scrap/scrap.h"
#include "printing/printing.h"
#include "tests/objects/drawing_fixture.h"

namespace {

class TextBoxEditingTest : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        pf::scrap_reset();
        g_Clip = nullptr;
    }
    void TearDown() override {
        ClobberObjectEditor(layer);
        ClobberScrap(0);
        g_Clip = nullptr;
        DrawingTest::TearDown();
    }

    static void press(pf::Point at) { drag(at, at); }

    MemoryRef new_text_box() { return make_with(10, in_pane(20, 30), in_pane(80, 200)); }

    void type(const std::string& text) {
        for (char c : text) ObjectKey(uint8_t(c), layer);
    }

    std::string text_of(MemoryRef box) {
        const TextBoxParts parts = text_box_parts(reinterpret_cast<MemoryRef>(GetObj_info(box, pf::four_cc("data"))));
        return std::string(parts.text.begin(), parts.text.end());
    }
};

TEST_F(TextBoxEditingTest, TypedTextIsStoredWhenEditingEndsAndUndoTakesItBack) {
    MemoryRef box = new_text_box();
    ASSERT_EQ(GetObjEditor(layer, nullptr), box);
    EXPECT_NE(GetObj_info(box, pf::four_cc("ised")), 0);
    type("Sales rose");
    EXPECT_EQ(text_of(box), "");  // still in the editor
    ObjectKey(27, layer);         // Escape ends the editing, as Enter does
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    EXPECT_EQ(text_of(box), "Sales rose");
    EXPECT_FALSE(text_box_parts(reinterpret_cast<MemoryRef>(GetObj_info(box, pf::four_cc("data")))).styles.empty());
    EXPECT_EQ(GetSheetUndo(layer), kUndoObjectAttributes);
    DoUndo(workbook);
    EXPECT_EQ(text_of(box), "");
    DoRedo(workbook);
    EXPECT_EQ(text_of(box), "Sales rose");
    // Undo of the new box itself leaves no box behind.
    DoUndo(workbook);
    DoUndo(workbook);
    EXPECT_EQ(num_objects(layer), 0);
}

TEST_F(TextBoxEditingTest, PrintingKeepsTheTextBeingTypedSoThatThePagesShowIt) {
    MemoryRef box = new_text_box();
    type("Draft");
    EXPECT_EQ(pages_to_print(layer), 1) << "the box alone makes a page";
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    EXPECT_EQ(text_of(box), "Draft");
}

TEST_F(TextBoxEditingTest, APressElsewhereEndsTheEditingAndASecondPressOnTheBoxResumesIt) {
    MemoryRef box = new_text_box();
    type("One");
    press(in_pane(200, 400));
    EXPECT_EQ(ClickinObject(layer, in_pane(200, 400), 0, 0), 0);
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    EXPECT_EQ(text_of(box), "One");
    // A first press selects the box, a second one types in it, after the text.
    press(in_pane(40, 60));
    EXPECT_EQ(ClickinObject(layer, in_pane(40, 60), 0, 0), 1);
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    press(in_pane(40, 60));
    EXPECT_EQ(ClickinObject(layer, in_pane(40, 60), 0, 0), 1);
    ASSERT_EQ(GetObjEditor(layer, nullptr), box);
    WESetSelection(3, 3, object_text_editor(layer));
    type(" two");
    ClobberObjectEditor(layer);
    EXPECT_EQ(text_of(box), "One two");
}

TEST_F(TextBoxEditingTest, ClearingTheBoxUnderEditLeavesNoEditorBehind) {
    MemoryRef box = new_text_box();
    type("Gone");
    add_selected(layer, box);
    EXPECT_EQ(delete_selected_objects(layer), 1);
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    EXPECT_EQ(object_text_editor(layer), nullptr);
    DoUndo(workbook);
    ASSERT_EQ(num_objects(layer), 1);
    EXPECT_EQ(text_of(box), "Gone");
}

TEST_F(TextBoxEditingTest, TheEditMenuWorksOnTheTextOfTheBox) {
    MemoryRef box = new_text_box();
    type("copy me");
    ASSERT_EQ(text_editor_command(9, layer), 1);  // Select All
    ASSERT_EQ(text_editor_command(5, layer), 1);  // Copy
    std::vector<uint8_t> bytes;
    ASSERT_EQ(pf::get_scrap(pf::kScrapText, bytes), pf::noErr);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "copy me");
    WESetSelection(7, 7, object_text_editor(layer));
    ASSERT_EQ(text_editor_command(6, layer), 1);  // Paste
    ClobberObjectEditor(layer);
    EXPECT_EQ(text_of(box), "copy mecopy me");
    EXPECT_EQ(text_editor_command(6, layer), 0);  // no box under edit
}

TEST_F(TextBoxEditingTest, ABoxBeingEdited) {
    put_text(1, 0, "Under");
    new_text_box();
    type("Typed in a box");
    draw();
    EXPECT_TRUE(matches_golden("objects_text_box_edited"));
}

}  // namespace

namespace {

TEST_F(TextBoxEditingTest, SavingWhileABoxIsEditedKeepsWhatWasTyped) {
    MemoryRef box = new_text_box();
    type("Not lost");
    MemoryRef block = nullptr;
    ASSERT_EQ(objects_to_store(layer, &block), 0);
    ASSERT_NE(block, nullptr);
    const auto* bytes = static_cast<const char*>(UseMemory(block));
    const std::string stored(bytes, size_t(GetByteSize(block)));
    UnuseMemory(block);
    DisposeMemory(block);
    EXPECT_NE(stored.find("Not lost"), std::string::npos);
    EXPECT_EQ(GetObjEditor(layer, nullptr), box);  // the editing goes on
    type("!");
    ClobberObjectEditor(layer);
    EXPECT_EQ(text_of(box), "Not lost!");
}

}  // namespace

namespace {

TEST_F(TextBoxEditingTest, DeletedRowsTakeTheBoxUnderEditWithTheTextTyped) {
    MemoryRef box = new_text_box();
    type("Row text");
    const CellRange rows = GetObj_Location(box);
    SpreadSheet* sheet = use_layer(layer);
    sheet->selection = CellRange{{0, 0}, {int16_t(rows.botRight.v + 1), kLastCell}};
    release_layer(layer);
    ASSERT_EQ(delete_rowcol(layer, 1), 0);
    EXPECT_EQ(num_objects(layer), 0);
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    draw();  // no editor left over the box that went
    DoUndo(workbook);
    ASSERT_EQ(num_objects(layer), 1);
    EXPECT_EQ(text_of(find_object_item(layer, 1)), "Row text");
}

}  // namespace

namespace {

TEST_F(TextBoxEditingTest, TheEditorAlignsTheTextAsTheBoxDoes) {
    MemoryRef box = new_text_box();
    ClobberObjectEditor(layer);
    for (auto [info, alignment] : {std::pair{1, weCenter}, std::pair{2, weFlushRight}, std::pair{0, weFlushLeft}}) {
        SetObj_info(box, pf::four_cc("info"), info);
        ASSERT_EQ(begin_text_editing(box, 0, layer), 1);
        EXPECT_EQ(WEGetAlignment(object_text_editor(layer)), alignment) << info;
        ClobberObjectEditor(layer);
    }
}

}  // namespace

namespace {

TEST_F(TextBoxEditingTest, ABoxNoLongerEditedKeepsTheSizesAndFacesGivenItsText) {
    new_text_box();
    type("Big and plain");
    WETextStyle style;
    style.tsSize = 24;
    style.tsFace = pf::kBold;
    WESetSelection(0, 3, object_text_editor(layer));
    WESetStyle(weDoSize | weDoFace, style, object_text_editor(layer));
    ObjectKey(27, layer);
    ASSERT_EQ(GetObjEditor(layer, nullptr), nullptr);
    draw();
    EXPECT_TRUE(matches_golden("objects_text_box_styled"));
}

}  // namespace

namespace {

TEST_F(TextBoxEditingTest, AFilledBoxKeepsItsFillBehindItsStyledText) {
    MemoryRef box = new_text_box();
    type("Filled");
    ObjectKey(27, layer);
    SetObj_info(box, pf::four_cc("pat "), 1);
    SetObj_info(box, pf::four_cc("fcol"), 5);
    SetObj_info(box, pf::four_cc("bcol"), 5);
    draw();
    // Right of the word, inside its line: the fill, not the sheet's white.
    const pf::Point beside = in_pane(27, 180);
    const uint32_t fill = pixel(beside.h, int(in_pane(70, 100).v));
    EXPECT_NE(fill, 0xFFFFFFu);
    EXPECT_EQ(pixel(beside.h, beside.v), fill) << "the line of text is drawn over the fill";
}

}  // namespace
