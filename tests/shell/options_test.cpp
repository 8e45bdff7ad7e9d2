// The Options menu and the options window in the running program: locking
// with undo, the calculation modes and automatic row heights with their
// marks, refusals on a protected workbook, unprotecting with the password,
// and the window's buttons.
#include <cairo.h>

#include <cstring>
#include <utility>

#include "format_fixture.h"
#include "../window/golden_image.h"
#include "palette_picture.h"
#include "ui/alerts.h"
#include "core/passwords.h"
#include "editing/undo.h"
#include "formula/recalc.h"
#include "model/cell_format.h"
#include "model/workbook.h"
#include "platform/draw/paint.h"
#include "platform/events/keyboard.h"
#include "shell/palette_grid.h"
#include "window/floating_palette.h"
#include "shell/shell_commands.h"
#include "window/cell_geometry.h"
#include "window/entry_line.h"
#include "window/front_document.h"
#include "core/number_text.h"
#include "model/record_bytes.h"
#include "resource_ids.h"

namespace {


struct OptionsMenu : FormatMenuTest {
    void SetUp() override {
        FormatMenuTest::SetUp();
        select(CellRange{{1, 1}, {2, 2}});
    }
    bool locked(int16_t row, int16_t column) { return at(row, column).bytes[kFmtFlagsA] & kFlagLocked; }
    bool enabled(int16_t item) { return pf::is_menu_item_enabled(pf::get_menu_handle(kOptionsMenu), item); }
    void protect(const char* password) {
        MemoryRef workbook = GetWorkSheet(layer);
        auto* book = static_cast<WorkSheet*>(UseMemory(workbook));
        std::memset(book->password, 0, kPasswordFieldBytes);
        book->password[0] = uint8_t(std::strlen(password));
        std::memcpy(book->password + 1, password, book->password[0]);
        encode_password(book->password);
        UnuseMemory(workbook);
        Set_Work_Flags(workbook, kWorkProtected | kWorkPassword);
    }
};

TEST_F(OptionsMenu, LockAndUnlockTheSelectionWithUndoAndMarkIt) {
    const bool default_locked = locked(1, 1);
    DoOptionMenu(nullptr, default_locked ? 22 : 21);
    EXPECT_NE(locked(1, 1), default_locked);
    EXPECT_NE(locked(2, 2), default_locked);
    set_option_menu(layer);
    EXPECT_EQ(checked(kOptionsMenu, 21), !default_locked);
    EXPECT_EQ(checked(kOptionsMenu, 22), default_locked);
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kOptionsMenu), 21), "Lock Cells");
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(locked(2, 2), default_locked);
}

TEST_F(OptionsMenu, CalculationModesAndRowHeightsAreMarked) {
    DoOptionMenu(nullptr, kOptionsManualItem);
    set_option_menu(layer);
    EXPECT_TRUE(checked(kOptionsMenu, 6));
    EXPECT_FALSE(checked(kOptionsMenu, 5));
    DoOptionMenu(nullptr, kOptionsAutomaticItem);
    set_option_menu(layer);
    EXPECT_TRUE(checked(kOptionsMenu, 5));
    EXPECT_LT(stopCalc, 0);

    const bool fixed = GetSheetFlags(layer) & kLayerFixedRowHeights;
    EXPECT_EQ(checked(kOptionsMenu, 15), !fixed);
    const int16_t changes = get_change_ctr(GetWorkSheet(layer));
    DoOptionMenu(nullptr, kOptionsRowHeightsItem);
    EXPECT_NE(bool(GetSheetFlags(layer) & kLayerFixedRowHeights), fixed);
    EXPECT_GT(get_change_ctr(GetWorkSheet(layer)), changes);
    set_option_menu(layer);
    EXPECT_EQ(checked(kOptionsMenu, 15), fixed);
}

TEST_F(OptionsMenu, NothingIsUsableWithoutADocumentOrWhileTyping) {
    set_option_menu(layer);
    EXPECT_TRUE(enabled(4));
    EXPECT_FALSE(enabled(25));  // the workbook is not protected
    set_option_menu(nullptr);
    EXPECT_FALSE(enabled(4));
    EditorKey('7', front_document_record(), 0);
    set_option_menu(layer);
    EXPECT_FALSE(enabled(21));
    EditorKey(pf::kEscapeChar, front_document_record(), 0);
}

TEST_F(OptionsMenu, AProtectedWorkbookRefusesLockingUntilUnprotectedWithItsPassword) {
    protect("open");
    const bool was = locked(1, 1);
    alert_requests().clear();
    DoOptionMenu(nullptr, was ? 22 : 21);
    EXPECT_EQ(locked(1, 1), was);
    ASSERT_EQ(alert_requests().size(), 1u);
    set_option_menu(layer);
    EXPECT_TRUE(enabled(25));

    set_unattended_run(false);
    pf::driver_type("shut");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // wrong: the dialog says so and waits
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    DoOptionMenu(nullptr, kOptionsUnprotectItem);
    EXPECT_TRUE(check_access(layer));

    pf::driver_type("open");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);  // ends a dialog left open by a fault
    DoOptionMenu(nullptr, kOptionsUnprotectItem);
    EXPECT_FALSE(check_access(layer));
    EXPECT_FALSE(Get_Work_Flags(GetWorkSheet(layer)) & (kWorkProtected | kWorkPassword));
}

TEST_F(OptionsMenu, PageBreakItemPutsAndTakesABreakBeforeWholeRows) {
    set_option_menu(layer);
    EXPECT_FALSE(enabled(17));  // a block of cells
    select(CellRange{{2, 0}, {4, kLastCell}});
    set_option_menu(layer);
    ASSERT_TRUE(enabled(17));
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kOptionsMenu), 17), "Insert Page Break");
    const int16_t changes = get_change_ctr(GetWorkSheet(layer));
    DoOptionMenu(nullptr, kOptionsPageBreakItem);
    MemoryRef breaks = use_layer(layer)->row_page_breaks;
    release_layer(layer);
    ASSERT_NE(breaks, nullptr);
    ASSERT_EQ(GetMemorySize(breaks), 1);
    EXPECT_EQ(*static_cast<int16_t*>(UseMemory(breaks)), 2);
    UnuseMemory(breaks);
    EXPECT_GT(get_change_ctr(GetWorkSheet(layer)), changes);
    set_option_menu(layer);
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kOptionsMenu), 17), "Remove Page Break");
    DoOptionMenu(nullptr, kOptionsPageBreakItem);
    EXPECT_EQ(use_layer(layer)->row_page_breaks, nullptr);
    release_layer(layer);
    select(CellRange{{0, 3}, {kLastCell, 3}});  // a whole column
    DoOptionMenu(nullptr, kOptionsPageBreakItem);
    breaks = use_layer(layer)->column_page_breaks;
    release_layer(layer);
    ASSERT_NE(breaks, nullptr);
    EXPECT_EQ(*static_cast<int16_t*>(UseMemory(breaks)), 3);
    UnuseMemory(breaks);
}

struct PrintRows : OptionsMenu {
    void SetUp() override {
        OptionsMenu::SetUp();
        set_unattended_run(false);
    }
    static void type_and_return(const char* text) {
        pf::driver_type(text);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    std::pair<int16_t, int16_t> rows() {
        SpreadSheet* sheet = use_layer(layer);
        const std::pair<int16_t, int16_t> first_last{sheet->print_title_rows[1], sheet->print_title_rows[0]};
        release_layer(layer);
        return first_last;
    }
};

TEST_F(PrintRows, TypedRowsAreStoredAndABadReferenceKeepsTheDialogOpen) {
    type_and_return("nowhere");                           // typing chooses "only the rows"
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
    type_and_return("3:7");
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    const int16_t changes = get_change_ctr(GetWorkSheet(layer));
    DoOptionMenu(nullptr, kOptionsPrintRowsItem);
    EXPECT_EQ(rows(), std::make_pair(int16_t(2), int16_t(6)));
    EXPECT_GT(get_change_ctr(GetWorkSheet(layer)), changes);

    pf::driver_type("9:12");
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    DoOptionMenu(nullptr, kOptionsPrintRowsItem);
    EXPECT_EQ(rows(), std::make_pair(int16_t(2), int16_t(6)));  // cancelled: kept
}

TEST_F(PrintRows, ALongSelectionProposesItsFirstRowOnly) {
    select(CellRange{{9, 0}, {158, 3}});
    pf::driver_key(pf::kKeyCodeRightArrow, pf::kRightArrowChar);  // keeps the text, chooses the rows
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    DoOptionMenu(nullptr, kOptionsPrintRowsItem);
    EXPECT_EQ(rows(), std::make_pair(int16_t(9), int16_t(9)));
}

struct SizeItems : PrintRows {
    void SetUp() override {
        PrintRows::SetUp();
        app_prefs.margin_unit = kUnitPoints;
    }
    int16_t default_extent(bool rows) {
        SpreadSheet* sheet = use_layer(layer);
        const int16_t size = load_i16((rows ? sheet->default_row_format : sheet->default_column_format) + kFmtExtent);
        release_layer(layer);
        return size;
    }
};

TEST_F(SizeItems, ColumnWidthSetsTheSelectedColumnsWithUndo) {
    select(CellRange{{3, 2}, {5, 4}});  // a block: its columns C to E
    const int16_t before = GetColumnSize(5, layer);
    type_and_return("90");
    DoOptionMenu(nullptr, kOptionsColumnWidthItem);
    for (int16_t column : {2, 3, 4}) EXPECT_EQ(GetColumnSize(column, layer), 90) << column;
    EXPECT_EQ(GetColumnSize(5, layer), before);
    EXPECT_EQ(GetColumnSize(1, layer), before);
    EXPECT_NE(default_extent(false), 90);
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(GetColumnSize(3, layer), before);

    pf::driver_type("45");
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    DoOptionMenu(nullptr, kOptionsColumnWidthItem);
    EXPECT_EQ(GetColumnSize(3, layer), before) << "cancelled";
}

TEST_F(SizeItems, RowHeightStartsFromTheFirstRowAndRefusesTooTall) {
    select(CellRange{{2, 0}, {6, kLastCell}});  // whole rows 3 to 7
    const int16_t other = GetRowSize(7, layer);
    type_and_return("");        // keeps the proposed height: the first row's
    DoOptionMenu(nullptr, kOptionsRowHeightItem);
    EXPECT_EQ(GetRowSize(2, layer), other);
    alert_requests().clear();
    type_and_return("300");                                // refused with a message
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
    type_and_return("30");
    DoOptionMenu(nullptr, kOptionsRowHeightItem);
    EXPECT_EQ(alert_requests().size(), 1u);
    for (int16_t row = 2; row <= 6; ++row) EXPECT_EQ(GetRowSize(row, layer), 30) << row;
    EXPECT_EQ(GetRowSize(7, layer), other);
    EXPECT_NE(default_extent(true), 30);
}

TEST_F(SizeItems, SizingEveryColumnChangesTheLayersDefault) {
    select(CellRange{{0, 0}, {kLastCell, kLastCell}});
    type_and_return("50");
    DoOptionMenu(nullptr, kOptionsColumnWidthItem);
    EXPECT_EQ(default_extent(false), 50);
    EXPECT_EQ(GetColumnSize(200, layer), 50);
    EXPECT_EQ(use_layer(layer)->column_formats, nullptr) << "no column records for all columns";
    release_layer(layer);
}

TEST_F(OptionsMenu, WindowButtonsSendTheirCommands) {
    app_prefs.options |= kPrefOptionsPalette;
    MakeOpWindow();
    WindowRef window = find_palette("Options");
    ASSERT_NE(window, nullptr);
    run_until_idle();

    cairo_surface_t* shot = palette_picture(window, palette_width(), palette_height(kLongPaletteRows));
    EXPECT_TRUE(matches_golden_image(shot, "options_window"));
    cairo_surface_destroy(shot);

    pf::Rect box;
    FindToolBox(kLongPaletteRows, 2, &box);  // the plus sign
    const pf::Rect content = pf::window_content_rect(window);
    pf::driver_click(pf::Point{int16_t(content.top + 10), int16_t(content.left + box.left + 10)});
    run_until_idle();
    unsigned char text[16];
    const int32_t length = entry_text(text, sizeof text);
    ASSERT_GE(length, 1);
    EXPECT_EQ(text[length - 1], '+');

    CloseTaskFromWindow(window);
    EXPECT_EQ(find_palette("Options"), nullptr);
    EXPECT_FALSE(app_prefs.options & kPrefOptionsPalette);
}

}  // namespace
