// The Select, Fill Series and Sort dialogs as a user meets them: typed values
// checked on OK (a bad one said while the dialog stays open), and each run
// driving its command, undoable.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "editing/find_replace.h"
#include "editing/undo.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/record_bytes.h"
#include "model/workbook.h"
#include "ui/app_prefs.h"
#include "shell/command_dialogs.h"
#include "editing/clipboard.h"
#include "editing/editing_commands.h"
#include "shell/shell_commands.h"
#include "shell/sort_command.h"
#include "platform/screen/cursor.h"
#include "window/selection_tracking.h"
#include "tests/app/attended_fixture.h"
#include "tests/window/golden_image.h"
#include "format_fixture.h"
#include "app/event_loop.h"
#include "resource_ids.h"

namespace {


struct CommandDialogs : FormatMenuTest {
    void SetUp() override {
        FormatMenuTest::SetUp();
        set_unattended_run(false);
        dialogtest::guard_against_waiting();
        alert_requests().clear();
    }
    void TearDown() override {
        set_unattended_run(true);
        pf::host_set_composer(pf::compose_screen);
        FormatMenuTest::TearDown();
    }
    void put(int16_t row, int16_t column, const char* typed) {
        store_typed_text(layer, CellPoint{row, column}, typed);
    }
    // The number of a constant cell; NaN for none.
    double number(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer) || _cellType_(cell) != kCellConstant)
            return std::nan("");
        return load_f64(_formulaPtr_(cell));
    }
    std::string column_of_numbers(int16_t column, int16_t rows) {
        std::string out;
        for (int16_t row = 0; row < rows; ++row) {
            const double value = number(row, column);
            out += (row ? " " : "") + (std::isnan(value) ? std::string("-") : std::to_string(int(value)));
        }
        return out;
    }
    CellRange selection() {
        CellRange range;
        GetSelectRect(&range, layer);
        return range;
    }
    MemoryRef workbook() { return GetWorkSheet(layer); }
    static void type(const char* text) { pf::driver_type(text); }
    static void key(uint8_t code, unsigned char ch) { pf::driver_key(code, ch); }
    static void tab() { key(pf::kKeyCodeTab, pf::kTabChar); }
    static void ret() { key(pf::kKeyCodeReturn, pf::kReturnChar); }
    static void escape() { key(pf::kKeyCodeEscape, pf::kEscapeChar); }
    static void backspace() { key(pf::kKeyCodeBackspace, pf::kBackspaceChar); }
};

TEST_F(CommandDialogs, SortTakesAKeyColumnAndOrderAndIsUndone) {
    const char* a[] = {"2", "3", "1"};
    const char* b[] = {"20", "10", "30"};
    for (int16_t row = 0; row < 3; ++row) put(row, 0, a[row]), put(row, 1, b[row]);
    select(CellRange{{0, 0}, {2, 1}});
    type("B");
    attended::click_then_return(pf::Point{94, 340});  // Descending for the first key
    DoOptionMenu(nullptr, kOptionsSortItem);
    EXPECT_TRUE(attended::clicked);
    EXPECT_EQ(column_of_numbers(1, 3), "30 20 10");
    EXPECT_EQ(column_of_numbers(0, 3), "1 2 3");
    DoUndo(workbook());
    EXPECT_EQ(column_of_numbers(0, 3), "2 3 1");
}

TEST_F(CommandDialogs, SortByKeyRowsHoldsTheRowWithinTheRange) {
    // A wide range opens with keys that are rows; row 9 lies outside it.
    const char* first[] = {"5", "4", "6"};
    const char* second[] = {"2", "3", "1"};
    for (int16_t column = 0; column < 3; ++column) put(0, column, first[column]), put(1, column, second[column]);
    select(CellRange{{0, 0}, {1, 2}});
    const int beeps = pf::beep_count();
    type("9");
    ret();
    type("2");
    ret();
    DoOptionMenu(nullptr, kOptionsSortItem);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    EXPECT_EQ(number(1, 0), 1);
    EXPECT_EQ(number(1, 2), 3);
    EXPECT_EQ(number(0, 0), 6);
}

TEST_F(CommandDialogs, EmptyKeyFieldsKeepTheCallersKeys) {
    // A wide range of rows 1 to 5: keys are rows; only the third field holds one.
    const CellRange range{{0, 0}, {4, 9}};
    int16_t keys[kSortKeys] = {kNoSortKey, kNoSortKey, kNoSortKey};
    uint16_t ascending[kSortKeys] = {1, 1, 1};
    uint16_t by_columns = 7;
    backspace();
    tab();
    tab();
    type("3");
    ret();
    EXPECT_EQ(sort_dialog(keys, ascending, &by_columns, &range), 0);
    EXPECT_EQ(keys[0], kNoSortKey);
    EXPECT_EQ(keys[1], kNoSortKey);
    EXPECT_EQ(keys[2], 2);
    EXPECT_EQ(by_columns, 0);
}

TEST_F(CommandDialogs, FillSeriesStepsDownAndRefusesAStepThatIsNoNumber) {
    put(0, 0, "1");
    select(CellRange{{0, 0}, {4, 0}});
    type("1.2.3");
    ret();
    ret();  // the alert
    type("2");
    ret();
    DoOptionMenu(nullptr, kOptionsFillSeriesItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "The step value must be a number, such as 2 or -0.5.");
    EXPECT_EQ(column_of_numbers(0, 5), "1 3 5 7 9");
    DoUndo(workbook());
    EXPECT_TRUE(std::isnan(number(1, 0)));
}

TEST_F(CommandDialogs, FillSeriesStopValueIsCheckedAndStopsTheSeries) {
    put(0, 0, "1");
    select(CellRange{{0, 0}, {5, 0}});
    tab();
    type(".");
    ret();
    ret();  // the alert
    type("3");
    ret();
    DoOptionMenu(nullptr, kOptionsFillSeriesItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "The stop value must be a number, or left empty for no stop.");
    EXPECT_EQ(number(2, 0), 3);
    EXPECT_TRUE(std::isnan(number(3, 0)));
}

TEST_F(CommandDialogs, FillSeriesRunsAcrossAWideSelectionAndFiltersTypedCharacters) {
    put(0, 0, "1");
    select(CellRange{{0, 0}, {0, 3}});
    type("x5");  // "x" puts the field back to 1, selected; "5" replaces it
    ret();
    DoOptionMenu(nullptr, kOptionsFillSeriesItem);
    EXPECT_EQ(number(0, 3), 16);
    EXPECT_TRUE(alert_requests().empty());

    select(CellRange{{2, 2}, {2, 2}});
    ret();  // the alert
    series_dialog(layer);
    ASSERT_EQ(alert_requests().size(), 1u);  // one cell: nothing to fill
}

TEST_F(CommandDialogs, SelectCellsAreCheckedAsAUserTypesThem) {
    auto check = [&](const char* first, const char* last, CellRange* range) {
        unsigned char a[256], b[256];
        a[0] = uint8_t(std::strlen(first)), b[0] = uint8_t(std::strlen(last));
        std::memcpy(a + 1, first, a[0]);
        std::memcpy(b + 1, last, b[0]);
        return check_select_cells(a, b, layer, range);
    };
    CellRange range{};
    EXPECT_EQ(check("B2", "$C$5", &range), SelectRefusal::kNone);
    EXPECT_EQ(range, (CellRange{{1, 1}, {4, 2}}));
    EXPECT_EQ(check("A1:B2", "C3:D4", &range), SelectRefusal::kNone);
    EXPECT_EQ(range, (CellRange{{0, 0}, {3, 3}}));
    EXPECT_EQ(check("C5", "B2", &range), SelectRefusal::kWrongWayRound);
    EXPECT_EQ(check("A0", "B2", &range), SelectRefusal::kFirstCell);
    EXPECT_EQ(check("B2", "B99999", &range), SelectRefusal::kSecondCell);
    EXPECT_EQ(check("B2", "", &range), SelectRefusal::kSecondCell);
}

TEST_F(CommandDialogs, SelectUsedPartsOfTheLayer) {
    EXPECT_EQ(used_part_of_layer(layer, 6), (CellRange{{0, 0}, {0, 0}}));
    put(2, 1, "x");
    put(1, 3, "y");
    EXPECT_EQ(used_part_of_layer(layer, 3), (CellRange{{0, 0}, {kLastCell, kLastCell}}));
    EXPECT_EQ(used_part_of_layer(layer, 4), (CellRange{{0, 0}, {2, kLastCell}}));
    EXPECT_EQ(used_part_of_layer(layer, 5), (CellRange{{0, 0}, {kLastCell, 3}}));
    EXPECT_EQ(used_part_of_layer(layer, 6), (CellRange{{0, 0}, {2, 3}}));
}

TEST_F(CommandDialogs, SelectTwoCellsSaysAWrongWayRangeAndStaysOpen) {
    tab();
    type("C5");
    tab();
    type("B2");
    ret();
    ret();  // the alert; the first cell is selected again
    type("B2");
    tab();
    type("C5");
    ret();
    EXPECT_EQ(SelectDialog(layer), 8);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "The first cell must lie above and to the left of the last cell.");
    EXPECT_EQ(selection(), (CellRange{{1, 1}, {4, 2}}));
}

TEST_F(CommandDialogs, SelectThePageOrTheUsedArea) {
    put(3, 2, "z");
    ret();  // the used area, on at opening
    EXPECT_EQ(SelectDialog(layer), 6);
    EXPECT_EQ(selection(), (CellRange{{0, 0}, {3, 2}}));

    type("0");
    ret();
    ret();  // the alert: pages count from 1
    type("1");
    ret();
    EXPECT_EQ(SelectDialog(layer), 7);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(selection(), (CellRange{{0, 0}, {3, 2}}));
}

TEST_F(CommandDialogs, PagesAreCountedDownThenAcrossAndWithinThePrintArea) {
    put(100, 20, "far");  // several pages down and across
    type("2");
    ret();
    ASSERT_EQ(SelectDialog(layer), 7);
    const CellRange second = selection();
    EXPECT_GT(second.topLeft.v, 0);
    EXPECT_EQ(second.topLeft.h, 0);

    // With a print area from column H, its first page is the first one starting there.
    SpreadSheet* sheet = use_layer(layer);
    sheet->print_area = CellRange{{0, 7}, {101, 21}};
    release_layer(layer);
    type("1");
    ret();
    ASSERT_EQ(SelectDialog(layer), 7);
    EXPECT_EQ(selection().topLeft, (CellPoint{0, 7}));

    const int beeps = pf::beep_count();
    type("999");
    ret();
    SelectDialog(layer);
    EXPECT_EQ(pf::beep_count(), beeps + 1);  // no such page
    EXPECT_EQ(selection().topLeft, (CellPoint{0, 7}));
}

TEST_F(CommandDialogs, SortDialogScreenshot) {
    select(CellRange{{0, 0}, {4, 2}});
    std::string png = dialogtest::screenshot_path("sort_dialog.png");
    std::filesystem::remove(png);
    attended::screenshot_front_modal(png);
    escape();
    Sort(layer, 0);
    cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_TRUE(matches_golden_image(shot, "sort_dialog"));
    cairo_surface_destroy(shot);
}

// The Sort dialog's direction picture, as the screen shows it when the dialog
// opens and last before it closes; a click on the rows button first when asked.
struct SortPictureWatch {
    bool choose_rows = false;
    bool opened = false;
    std::vector<uint32_t> at_open, at_close;
};
SortPictureWatch sort_picture;

std::vector<uint32_t> item_pixels(pf::WindowRef window, const pf::Rect& box) {
    const pf::Rect content = pf::window_content_rect(window);
    std::vector<uint32_t> pixels;
    for (int16_t v = box.top; v < box.bottom; ++v)
        for (int16_t h = box.left; h < box.right; ++h)
            pixels.push_back(pf::screen_pixel(content.left + h, content.top + v));
    return pixels;
}

void watch_sort_picture() {
    constexpr int16_t kByRowsItem = 19, kSortPictureItem = 22;
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (pf::DialogRef dialog = pf::is_modal_window(front) ? pf::get_dialog_from_window(front) : nullptr) {
        sort_picture.at_close = item_pixels(front, pf::get_dialog_item_box(dialog, kSortPictureItem));
        if (!sort_picture.opened) {
            sort_picture.opened = true;
            sort_picture.at_open = sort_picture.at_close;
            const pf::Rect content = pf::window_content_rect(front);
            const pf::Rect rows = pf::get_dialog_item_box(dialog, kByRowsItem);
            if (sort_picture.choose_rows)
                pf::driver_click(pf::Point{int16_t(content.top + (rows.top + rows.bottom) / 2),
                                           int16_t(content.left + rows.left + 6)});
            pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        }
    }
    dialogtest::guarded_compose_step();
}

// Switching the keys from columns to rows shows the picture a wide range
// opens with, which differs from the tall range's.
TEST_F(CommandDialogs, TheSortPictureFollowsTheChoiceOfRowsOrColumns) {
    auto run = [&](CellRange range, bool choose_rows) {
        select(range);
        sort_picture = SortPictureWatch{choose_rows};
        pf::host_set_composer(watch_sort_picture);
        Sort(layer, 0);
        pf::host_set_composer(dialogtest::guarded_compose_step);
        EXPECT_TRUE(sort_picture.opened);
        return sort_picture;
    };
    const SortPictureWatch wide = run(CellRange{{0, 0}, {1, 5}}, false);
    const SortPictureWatch tall = run(CellRange{{0, 0}, {4, 2}}, true);
    EXPECT_NE(tall.at_open, wide.at_open);
    EXPECT_EQ(tall.at_close, wide.at_open);
}

// The Fill Series and Select dialogs written for people to look at.
TEST_F(CommandDialogs, FillSeriesAndSelectScreenshots) {
    select(CellRange{{0, 0}, {0, 5}});
    for (const char* name : {"fill_series_dialog.png", "select_dialog.png"}) {
        std::string png = dialogtest::screenshot_path(name);
        std::filesystem::remove(png);
        attended::screenshot_front_modal(png);
        escape();
        if (name[0] == 'f') series_dialog(layer);
        else SelectDialog(layer);
        EXPECT_TRUE(std::filesystem::exists(png));
    }
}

// ---- Paste Special ------------------------------------------------------------


// Once the dialog is up: the clicks (in its content) and pop-up drags of the
// script, then Return.
struct DialogStep {
    pf::Point at;
    int16_t drag_down = 0;  // pixels: a drag in the pop-up menu
};
std::vector<DialogStep> dialog_script;
bool script_played = false;

void play_dialog_script() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!script_played && pf::is_modal_window(front)) {
        script_played = true;
        const pf::Rect content = pf::window_content_rect(front);
        for (const DialogStep& step : dialog_script) {
            const pf::Point at{int16_t(content.top + step.at.v), int16_t(content.left + step.at.h)};
            if (step.drag_down) pf::driver_drag(at, pf::Point{int16_t(at.v + step.drag_down), at.h});
            else pf::driver_click(at);
        }
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    dialogtest::guarded_compose_step();
}

struct PasteSpecialDialog : CommandDialogs {
    void copy(CellRange range) {
        select(range);
        DoEditMenu(nullptr, kEditCopyItem);
    }
    void paste_special(CellRange target, std::vector<DialogStep> script) {
        select(target);
        dialog_script = std::move(script);
        script_played = false;
        pf::host_set_composer(play_dialog_script);
        DoEditMenu(nullptr, kEditPasteSpecialItem);
        pf::host_set_composer(dialogtest::guarded_compose_step);
        EXPECT_TRUE(script_played);
    }
    static constexpr pf::Point kValues{63, 40}, kFormats{103, 40}, kTranspose{kObjectMenu, 40}, kSkipBlanks{153, 40};
    static constexpr pf::Point kOperation{44, 250};
    static constexpr int16_t kOneItemDown = 21;
};

TEST_F(PasteSpecialDialog, AnOperationCombinesTheCopiedCellsWithTheTargetAndIsUndone) {
    put(0, 0, "3"), put(1, 0, "5");
    put(0, 2, "10"), put(1, 2, "20");
    copy(CellRange{{0, 0}, {1, 0}});
    enable_menus();
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kEditMenu), kEditPasteSpecialItem));
    paste_special(CellRange{{0, 2}, {0, 2}}, {{kOperation, 2 * kOneItemDown}});  // Subtract
    EXPECT_EQ(column_of_numbers(2, 2), "7 15");
    DoUndo(workbook());
    EXPECT_EQ(column_of_numbers(2, 2), "10 20");
    EXPECT_EQ(app_prefs.paste_special_choice, kPasteAll);
}

TEST_F(PasteSpecialDialog, TransposeAndSkipBlanksAreTakenFromTheirBoxes) {
    put(0, 0, "1"), put(0, 2, "3");  // B1 is blank
    put(0, 5, "8"), put(1, 4, "9");
    copy(CellRange{{0, 0}, {0, 2}});
    paste_special(CellRange{{0, 4}, {0, 4}}, {{kSkipBlanks}});
    EXPECT_EQ(number(0, 5), 8);
    EXPECT_EQ(number(0, 6), 3);
    paste_special(CellRange{{0, 4}, {0, 4}}, {{kTranspose}});
    EXPECT_EQ(column_of_numbers(4, 3), "1 - 3");  // the blank copied over 9
}

TEST_F(PasteSpecialDialog, ValuesReplaceFormulasAndTheChoiceIsRemembered) {
    put(0, 0, "=2*4");
    copy(CellRange{{0, 0}, {0, 0}});
    paste_special(CellRange{{0, 1}, {0, 1}}, {{kValues}});
    EXPECT_EQ(number(0, 1), 8);
    EXPECT_EQ(app_prefs.paste_special_choice, kPasteValues);

    // Opened again, Values is still chosen.
    paste_special(CellRange{{1, 1}, {1, 1}}, {});
    EXPECT_EQ(number(1, 1), 8);
}

TEST_F(PasteSpecialDialog, CancelPastesNothing) {
    put(0, 0, "4");
    copy(CellRange{{0, 0}, {0, 0}});
    select(CellRange{{2, 2}, {2, 2}});
    escape();
    DoEditMenu(nullptr, kEditPasteSpecialItem);
    EXPECT_TRUE(std::isnan(number(2, 2)));
}

// Once the dialog is up the operation becomes Multiply; when that is played
// the screen is written, then Escape.
std::string paste_special_png;
int shot_stage = 0;
void multiply_then_shoot() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (pf::is_modal_window(front) && shot_stage == 0) {
        shot_stage = 1;
        const pf::Rect content = pf::window_content_rect(front);
        const pf::Point at{int16_t(content.top + 44), int16_t(content.left + 250)};
        pf::driver_drag(at, pf::Point{int16_t(at.v + 63), at.h});
    } else if (pf::is_modal_window(front) && shot_stage >= 1 && shot_stage < 5 && pf::driver_pending_steps() == 0) {
        // The menu closed and the sample redrawn a few passes after the value changed.
        pf::ControlRef popup = GetDialogControl(pf::get_dialog_from_window(front), 12);
        if (shot_stage > 1 || pf::get_control_value(popup) == 4) ++shot_stage;
    }
    if (shot_stage == 5) {
        shot_stage = 6;
        pf::screen_write_png(paste_special_png);
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PasteSpecialDialog, Screenshot) {
    put(0, 0, "4");
    copy(CellRange{{0, 0}, {0, 0}});
    select(CellRange{{2, 2}, {2, 2}});
    paste_special_png = dialogtest::screenshot_path("paste_special_dialog.png");
    std::filesystem::remove(paste_special_png);
    shot_stage = 0;
    pf::host_set_composer(multiply_then_shoot);
    DoEditMenu(nullptr, kEditPasteSpecialItem);
    EXPECT_TRUE(std::isnan(number(2, 2)));
    cairo_surface_t* shot = cairo_image_surface_create_from_png(paste_special_png.c_str());
    EXPECT_TRUE(matches_golden_image(shot, "paste_special_dialog"));
    cairo_surface_destroy(shot);
}

}  // namespace
