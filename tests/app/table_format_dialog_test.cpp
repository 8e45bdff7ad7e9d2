// The Table Format dialog as a user meets it: a look picked in the list and the
// options ticked change the sample; OK gives the selection that look in one
// undo step; Cancel changes nothing; a range too small never opens it.
#include <filesystem>

#include "app/app_menus.h"
#include "app/event_loop.h"
#include "ui/dialog_items.h"
#include "editing/table_format.h"
#include "editing/undo.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "shell/format_menus.h"
#include "tests/app/attended_fixture.h"
#include "tests/window/golden_image.h"
#include "window/doc_window.h"
#include "resource_ids.h"

namespace {


struct TableFormatDialog : AttendedDocumentTest {
    void SetUp() override {
        AttendedDocumentTest::SetUp();
        if (HasFatalFailure()) return;
        select(CellRange{{1, 1}, {6, 4}});
        alert_requests().clear();
    }
    void select(CellRange range) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->selection = range;
        sheet->active_cell = range.topLeft;
        release_layer(layer);
    }
    CellFormat at(int16_t row, int16_t column) {
        CellFormat f;
        get_cell_format(f.bytes, CellPoint{row, column}, layer);
        return f;
    }
    static void then_cancel() { pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar); }
};

TEST_F(TableFormatDialog, TheMenuItemIsEnabledWithADocument) {
    enable_menus();
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kFormatMenu), kFormatTableItem));
}

TEST_F(TableFormatDialog, TheOpeningLookWithItsSampleScreenshot) {
    std::string png = attended::fresh_front_modal_screenshot("table_format_dialog.png");
    then_cancel();
    DoFormatMenu(record, kFormatTableItem);
    cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_TRUE(matches_golden_image(shot, "table_format_dialog"));
    cairo_surface_destroy(shot);
}

TEST_F(TableFormatDialog, CancelChangesNothing) {
    const int16_t changes = get_change_ctr(doc_window_workbook(record));
    then_cancel();
    DoFormatMenu(record, kFormatTableItem);
    EXPECT_EQ(get_change_ctr(doc_window_workbook(record)), changes);
    EXPECT_EQ(at(1, 1).bytes[kFmtPattern], 0);
}

TEST_F(TableFormatDialog, ADoubleClickedLookIsAppliedAndUndoneInOneStep) {
    const CellFormat before = at(2, 2);
    // Lined, the sixth row of the list; its rows are 19 pixels high from 32.
    attended::pending_click = pf::Point{int16_t(32 + 5 * 19 + 10), 60};
    attended::clicked = false;
    pf::host_set_composer([] {
        pf::compose_screen();
        pf::WindowRef front = pf::front_window();
        if (!attended::clicked && pf::is_modal_window(front)) {
            attended::clicked = true;
            const pf::Rect content = pf::window_content_rect(front);
            const pf::Point at{int16_t(content.top + attended::pending_click.v),
                               int16_t(content.left + attended::pending_click.h)};
            pf::driver_click(at);
            pf::driver_click(at);
        }
        dialogtest::guarded_compose_step();
    });
    DoFormatMenu(record, kFormatTableItem);
    EXPECT_TRUE(attended::clicked);
    // Thick lines under the headings and above the totals row, grey ones between.
    EXPECT_EQ(format_border_styles(at(1, 1).bytes) & 0xF, 4);
    EXPECT_EQ(format_border_styles(at(3, 2).bytes) & 0xF, 3);
    EXPECT_EQ(format_border_styles(at(5, 4).bytes) & 0xF, 4);
    DoUndo(doc_window_workbook(record));
    EXPECT_EQ(format_border_styles(at(1, 1).bytes), 0);
    EXPECT_EQ(format_border_styles(at(3, 2).bytes), format_border_styles(before.bytes));
}

// Once the dialog is up: Totals row clicked off, then Totals column once that
// was taken; then the state of Bold totals read, and Return.
bool bold_totals_enabled = true;
int totals_clicks = 0;
void totals_off_then_return() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    pf::DialogRef dialog = pf::is_modal_window(front) ? pf::get_dialog_from_window(front) : nullptr;
    if (dialog && totals_clicks < 3) {
        const pf::Rect content = pf::window_content_rect(front);
        const int16_t row_box = GetCheckbox(dialog, 10), column_box = GetCheckbox(dialog, 11);
        if (totals_clicks == 0 || (totals_clicks == 1 && !row_box)) {
            const int16_t v = totals_clicks == 0 ? 59 : 79;
            pf::driver_click(pf::Point{int16_t(content.top + v), int16_t(content.left + 340)});
            ++totals_clicks;
        } else if (totals_clicks == 2 && !column_box) {
            bold_totals_enabled = pf::dialog_item(dialog, 9)->enabled;
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
            ++totals_clicks;
        }
    }
    dialogtest::guarded_compose_step();
}

TEST_F(TableFormatDialog, WithoutTotalsBoldTotalsIsDimmedAndIgnored) {
    totals_clicks = 0;
    bold_totals_enabled = true;
    pf::host_set_composer(totals_off_then_return);
    DoFormatMenu(record, kFormatTableItem);
    EXPECT_EQ(totals_clicks, 3);
    EXPECT_FALSE(bold_totals_enabled);
    EXPECT_EQ(at(6, 4).bytes[kFmtFace] & 1, 0) << "no bold totals row";
    EXPECT_EQ(at(6, 2).bytes[kFmtCode], 'F') << "the last row is a body row";
    EXPECT_EQ(format_border_styles(at(6, 2).bytes) & 0xF, 4);
}

// The refusal says the rule, for a range too short and for one too narrow.
TEST_F(TableFormatDialog, ARangeTooSmallIsRefusedWithoutTheDialogAndTheRuleIsSaid) {
    set_unattended_run(true);
    for (CellRange range : {CellRange{{1, 1}, {2, 4}}, CellRange{{0, 0}, {2, 0}}}) {
        alert_requests().clear();
        select(range);
        DoFormatMenu(record, kFormatTableItem);
        ASSERT_EQ(alert_requests().size(), 1u);
        EXPECT_NE(alert_requests()[0].text.find("at least two columns and three rows"), std::string::npos);
    }
}

}  // namespace
