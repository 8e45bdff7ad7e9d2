// List boxes, menus and the keyboard state.
#include "../app/app_fixture.h"
#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "platform/controls/controls.h"
#include "platform/events/keyboard.h"
#include "tests/core/dialog_test_support.h"

#include <string>

namespace {

struct ListsAndMenus : AppTest {
    pf::WindowRef window = nullptr;
    pf::ListHandle list = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        window = pf::new_window(pf::Rect{80, 80, 300, 400}, reinterpret_cast<const unsigned char*>("\x05" "Lists"), true,
                                pf::kDocumentProc, pf::kFirstWindowOfClass, false, 0);
        pf::set_port(pf::window_port(window));
        list = pf::new_list(pf::Rect{10, 10, 110, 200}, 0, 1, pf::Point{}, nullptr, window, true, true);
    }
    void TearDown() override {
        pf::dispose_list(list);
        pf::dispose_window(window);
        AppTest::TearDown();
    }

    void add(const std::string& text) {
        unsigned char p[256];
        p[0] = uint8_t(text.size());
        text.copy(reinterpret_cast<char*>(p + 1), text.size());
        add_list_str(p, list);
    }
    std::string row(int16_t r) { return pf::list_get_cell(list, pf::Point{r, 0}); }
};

pf::MenuRef standard_sizes() {
    pf::MenuRef menu = pf::new_menu(900, "Size");
    pf::append_menu(menu, "9;10;12;14;18;24;36");
    return menu;
}

void drop_row_drawer(int16_t, bool, const pf::Rect&, pf::Point, std::string_view, pf::ListHandle) {}

}  // namespace

TEST_F(ListsAndMenus, RowsAreAppendedInOrderPastRow999AndEmptyTextsAreSkipped) {
    for (int i = 0; i < 1200; ++i) add("row " + std::to_string(i));
    add("");
    ASSERT_EQ(pf::list_rows(list), 1200);
    for (int16_t r : {0, 998, 999, 1000, 1199}) EXPECT_EQ(row(r), "row " + std::to_string(r));
    clear_list_data(list);
    EXPECT_EQ(pf::list_rows(list), 0);
}

TEST_F(ListsAndMenus, ArrowKeysMoveASelectedRowAndScrollItIntoView) {
    EXPECT_EQ(FindSelect(list), -1);
    for (int i = 0; i < 30; ++i) add("item " + std::to_string(i));
    EXPECT_EQ(FindSelect(list), -1);
    EXPECT_EQ(list_key(list, pf::kDownArrowChar), 0);  // nothing selected
    select_list_cell(list, 0, true);
    EXPECT_EQ(list_key(list, pf::kUpArrowChar), 0);
    EXPECT_EQ(list_key(list, pf::kLeftArrowChar), 0);
    for (int i = 0; i < 29; ++i) EXPECT_EQ(list_key(list, pf::kDownArrowChar), 1);
    EXPECT_EQ(FindSelect(list), 29);
    EXPECT_FALSE(pf::list_is_selected(list, pf::Point{28, 0}));
    pf::Rect cell = pf::list_cell_rect(list, pf::Point{29, 0});
    EXPECT_LE(cell.bottom, list->view.bottom);
    EXPECT_GT(list->top_row, 0);
    EXPECT_EQ(list_key(list, pf::kDownArrowChar), 0);
}

TEST_F(ListsAndMenus, ADefinitionProcedureIsInstalledOnlyOverAnEmptyOldSlot) {
    pf::ListDefProc old = nullptr;
    EXPECT_EQ(InstallLDEF(list, nullptr, &old), -1);
    EXPECT_EQ(InstallLDEF(list, drop_row_drawer, nullptr), -1);
    EXPECT_EQ(InstallLDEF(list, drop_row_drawer, &old), 0);
    EXPECT_EQ(list->ldef, drop_row_drawer);
    pf::ListDefProc taken = drop_row_drawer;
    EXPECT_EQ(InstallLDEF(list, drop_row_drawer, &taken), -1);
}

TEST_F(ListsAndMenus, TheSizePopUpShowsAnOddSizeAboveTheStandardOnes) {
    pf::DialogRef dialog = dialogtest::two_button_dialog();
    pf::ControlRef popup = pf::new_control(pf::get_dialog_window(dialog), pf::Rect{20, 124, 42, 220}, "", true, 1, 143, 0,
                                           pf::kPopupButtonControl, 0);
    pf::dispose_menu(popup->menu);
    popup->menu = standard_sizes();
    pf::dialog_item(dialog, 4)->control = popup;
    adjustSizePopup(dialog, 4, 13);
    ASSERT_EQ(pf::count_menu_items(popup->menu), 9);
    EXPECT_EQ(pf::get_menu_item_text(popup->menu, 1), "13");
    EXPECT_EQ(pf::get_item_mark(popup->menu, 1), pf::kCheckMark);
    EXPECT_EQ(pf::get_control_value(popup), 1);
    editSizePopup(dialog, 4);
    EXPECT_EQ(dialogtest::field(dialog, 3), "13");
    adjustSizePopup(dialog, 4, 15);
    EXPECT_EQ(pf::get_menu_item_text(popup->menu, 1), "15");
    adjustSizePopup(dialog, 4, 12);
    ASSERT_EQ(pf::count_menu_items(popup->menu), 7);
    EXPECT_EQ(pf::get_control_value(popup), 3);
    EXPECT_EQ(pf::get_item_mark(popup->menu, 3), pf::kCheckMark);
    EXPECT_EQ(pf::get_item_mark(popup->menu, 1), 0);
    pf::dispose_dialog(dialog);
}

TEST_F(ListsAndMenus, TheLastFontUsedStaysAtTheTopOfTheFontMenu) {
    pf::MenuRef fonts = pf::new_menu(901, "Font");
    pf::append_menu(fonts, "Courier;Geneva;Helvetica;Times");
    const unsigned char geneva[] = "\x06" "Geneva";
    const unsigned char times[] = "\x05" "Times";
    SavedFontNameUsed(fonts, geneva, 0, 1);
    ASSERT_EQ(pf::count_menu_items(fonts), 6);
    EXPECT_EQ(pf::get_menu_item_text(fonts, 1), "Geneva");
    SavedFontNameUsed(fonts, times, 0, 1);  // the one saved name is replaced
    ASSERT_EQ(pf::count_menu_items(fonts), 6);
    EXPECT_EQ(pf::get_menu_item_text(fonts, 1), "Times");
    SavedFontNameUsed(fonts, times, 0, 1);
    EXPECT_EQ(pf::count_menu_items(fonts), 6);
    EXPECT_EQ(find_font_name(fonts, reinterpret_cast<const unsigned char*>("\x06" "TIMES ")), 0);
    EXPECT_EQ(find_font_name(fonts, reinterpret_cast<const unsigned char*>("\x05" "TIMES")), 6);
    pf::dispose_menu(fonts);
}

TEST_F(ListsAndMenus, MenuItemsCheckedEnabledAndNamed) {
    pf::MenuRef menu = standard_sizes();
    check_menu_item(menu, 1, 7, 4);
    EXPECT_EQ(pf::get_item_mark(menu, 4), pf::kCheckMark);
    check_menu_item(menu, 1, 7, 2);
    EXPECT_EQ(pf::get_item_mark(menu, 4), 0);
    EXPECT_EQ(check_menu_disable(menu), 1);
    EXPECT_EQ(check_menu_disable(menu), 0);
    EXPECT_EQ(check_menu_enable(menu), 1);
    disable_all_items(menu);
    EXPECT_FALSE(pf::is_menu_item_enabled(menu, 7));
    enable_all_items(menu);
    EXPECT_TRUE(pf::is_menu_item_enabled(menu, 7));
    set_other_item(menu, reinterpret_cast<const unsigned char*>("\x05" "Other"), 7, 13, true);
    EXPECT_EQ(pf::get_menu_item_text(menu, 7), "Other (13)\xC9");
    remove_menu_items(menu, 3);
    EXPECT_EQ(pf::count_menu_items(menu), 2);
    pf::dispose_menu(menu);
}

TEST_F(ListsAndMenus, CommandPeriodNeedsBothKeys) {
    pf::driver_key_down(pf::kKeyCodeCommand, 0, pf::kCmdKey);
    run_until_idle();
    EXPECT_TRUE(CommandKeyDown());
    EXPECT_FALSE(CommandPeriod());
    pf::driver_key_down(pf::kKeyCodePeriod, '.', pf::kCmdKey);
    run_until_idle();
    EXPECT_TRUE(CommandPeriod());
    pf::driver_key_up(pf::kKeyCodePeriod, '.');
    pf::driver_key_up(pf::kKeyCodeCommand, 0);
    run_until_idle();
    EXPECT_FALSE(CommandKeyDown());
    EXPECT_TRUE(is_an_arrow(pf::kUpArrowChar));
    EXPECT_FALSE(is_an_arrow(pf::kReturnChar));
}
