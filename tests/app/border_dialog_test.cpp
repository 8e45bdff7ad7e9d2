// The cell borders dialog as a user meets it: opened from the Format menu on
// the selection's sides, its look, Cancel changing nothing, a line chosen
// from a pop-up and applied with OK.
#include "model/cell_formats.h"
#include "shell/border_dialog.h"
#include "shell/format_menus.h"
#include "tests/app/sheet_dialog_fixture.h"
#include "tests/window/golden_image.h"
#include "resource_ids.h"

namespace {


struct BordersDialog : SheetDialogTest {
    uint16_t word(int16_t row, int16_t column) {
        CellFormat f;
        get_cell_format(f.bytes, CellPoint{row, column}, layer);
        return format_border_styles(f.bytes);
    }
    static void then_cancel() { pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar); }
};

TEST_F(BordersDialog, ItOpensOnTheSelectionsSidesAndCancelChangesNothing) {
    select(CellRange{{1, 1}, {2, 2}});
    BorderChoices c;
    c.line_param[kLeftSide] = kLineDouble, c.line_param[kTopSide] = kLineHair;
    c.line_param[kRightSide] = kLineGray, c.line_param[kOutlineSides] = kLineThick;
    c.color_param[kOutlineSides] = 4;
    apply_border_choices(layer, c);
    select(CellRange{{2, 2}, {2, 2}});  // double left, hairline top, thick right and bottom
    const std::string png = dialogtest::screenshot_path("border_dialog.png");
    attended::capture_front_modal_window(png);
    then_cancel();
    DoFormatMenu(record, kFormatBordersItem);
    cairo_surface_t* shot = attended::captured_modal_window();
    ASSERT_NE(shot, nullptr);
    EXPECT_TRUE(matches_golden_image(shot, "border_dialog"));
    cairo_surface_destroy(shot);
    EXPECT_EQ(word(1, 1), 0x4430);
    EXPECT_EQ(word(2, 2), 0x6544);
}

TEST_F(BordersDialog, ALineChosenForEverySideIsAppliedWithOK) {
    select(CellRange{{1, 1}, {2, 2}});
    // A click on the all-sides pop-up (item 10) opens its menu; the arrow
    // keys move down two lines to the third (thin) and Return chooses it;
    // once the menu has gone, Return accepts the dialog.
    static int stage;
    stage = 0;
    pf::host_set_composer([] {
        pf::compose_screen();
        pf::WindowRef front = pf::front_window();
        const bool popped_up = pf::get_menu_handle(5002) != nullptr;
        if (stage == 0 && pf::is_modal_window(front)) {
            const pf::Rect content = pf::window_content_rect(front);
            pf::driver_click(pf::Point{int16_t(content.top + 48), int16_t(content.left + 150)});
            stage = 1;
        } else if (stage == 1 && popped_up && pf::driver_pending_steps() == 0) {
            for (int line = 1; line <= 2; ++line) pf::driver_key(pf::kKeyCodeDownArrow, pf::kDownArrowChar);
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
            stage = 2;
        } else if (stage == 2 && !popped_up) {
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
            stage = 3;
        }
        dialogtest::guarded_compose_step();
    });
    DoFormatMenu(record, kFormatBordersItem);
    EXPECT_EQ(stage, 3);
    EXPECT_EQ(word(1, 1), 0x2222);
    EXPECT_EQ(word(2, 2), 0x2222);
}

}  // namespace
