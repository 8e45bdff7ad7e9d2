// Object Settings in the running program: a double click on a selected
// object opens them; what is confirmed goes to every selected object as one
// undoable step; the text settings apply to text boxes only.
#include <filesystem>

#include "editing/undo.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "objects/object_drawing.h"
#include "objects/object_mouse.h"
#include "objects/objects.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "window/front_document.h"
#include "tests/app/attended_fixture.h"
#include "tests/window/golden_image.h"
#include "window/window_commands.h"

namespace {

struct ObjectSettingsTest : AttendedTest {
    MemoryRef layer = nullptr;
    void SetUp() override {
        AttendedTest::SetUp();
        DoCommand(code_value("newd"));
        run_until_idle();
        layer = doc_window_layer(front_document_record());
        ASSERT_NE(layer, nullptr);
    }
    MemoryRef made(pf::FourCC kind, int16_t row) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        use_object(object)->anchor_row = row;
        release_object(object);
        return object;
    }
    static intptr_t get(MemoryRef object, const char (&tag)[5]) { return GetObj_info(object, pf::four_cc(tag)); }
};

TEST_F(ObjectSettingsTest, ADoubleClickOpensTheSettingsAndOKAppliesThemToTheSelection) {
    MemoryRef box = made(kTextObject, 2), rect = made(kRectObject, 6);
    add_selected(layer, box);
    add_selected(layer, rect);
    attended::click_then_return(pf::Point{53, 40});  // Locked
    pf::driver_type("4");
    use_layer(layer)->click_count = 1;
    release_layer(layer);
    const pf::Rect r = object_rect(box, 0, layer);
    EXPECT_EQ(ClickinObject(layer, pf::Point{int16_t(r.top + 5), int16_t(r.left + 5)}, 0, 0), 1);
    EXPECT_EQ((std::vector<intptr_t>{get(box, "lsiz"), get(box, "prot"), get(rect, "lsiz"), get(rect, "prot")}),
              (std::vector<intptr_t>{4, 1, 4, 1}));
    EXPECT_EQ(get(box, "fram"), 1);  // untouched
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ((std::vector<intptr_t>{get(box, "lsiz"), get(box, "prot"), get(rect, "lsiz"), get(rect, "prot")}),
              (std::vector<intptr_t>{1, 0, 1, 0}));
}

TEST_F(ObjectSettingsTest, TextSettingsGoToTextBoxesOnly) {
    MemoryRef box = made(kTextObject, 2), oval = made(kOvalObject, 6);
    add_selected(layer, box);
    add_selected(layer, oval);
    ObjectSettings settings = object_settings_of(box);
    EXPECT_TRUE(settings.text);
    settings.framed = false, settings.alignment = 2;
    apply_object_settings(layer, settings);
    EXPECT_EQ((std::vector<intptr_t>{get(box, "fram"), get(box, "info"), get(oval, "fram"), get(oval, "info")}),
              (std::vector<intptr_t>{0, 2, 1, 0}));
}

TEST_F(ObjectSettingsTest, TheDialogOfATextBox) {
    MemoryRef box = made(kTextObject, 2);
    SetObj_info(box, pf::four_cc("info"), 1);
    std::string png = attended::fresh_front_modal_screenshot("object_settings.png");
    ObjectSettings settings = object_settings_of(box);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    EXPECT_EQ(object_settings_dialog(&settings), 0);
    cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_TRUE(matches_golden_image(shot, "object_settings"));
    cairo_surface_destroy(shot);
}

}  // namespace
