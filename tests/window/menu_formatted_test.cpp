// A sheet formatted only through the menus and the command bar's buttons:
// fonts, sizes, faces, the three alignments, currency, percent, dates, times
// and decimals, compared with its golden image.
#include "road_fixture.h"
#include "ui/task_manager.h"
#include "model/cell_formats.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "app/event_loop.h"
#include "resource_ids.h"

namespace {

class MenuFormatted : public TypedRoadTest {
protected:
    void choose(int16_t menu, int16_t item) {
        do_menu_button(menu, item);
        run_until_idle();
    }
    void button(const char* code) {
        DoCommand(code_value(code));
        run_until_idle();
    }
    int16_t font_item(const std::string& name) {
        pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
        for (int16_t i = 1; i <= pf::count_menu_items(menu); ++i)
            if (pf::get_menu_item_text(menu, i) == name) return i;
        return 0;
    }
    void put(CellPoint cell, const std::string& text) {
        click(cell);
        enter(text);
        click(cell);
    }
};

TEST_F(MenuFormatted, ASheetFormattedThroughMenusAndButtons) {
    put({0, 0}, "Left");
    button("left");
    button("bold");
    put({0, 1}, "Centre");
    button("cent");
    button("ital");
    put({0, 2}, "Right");
    button("rght");
    button("undl");

    put({1, 0}, "1234.5");
    choose(kCurrencyMenu, 1);   // dollar
    choose(kPrecisionMenu, kDecimalsFixedItem);   // fixed decimals
    put({1, 1}, "0.25");
    button("perc");
    put({1, 2}, "1234.5678");
    button("incd");

    put({2, 0}, "3/14/2026");
    choose(kDateMenu, 7);   // four-digit year
    put({2, 1}, "3/14/2026");
    choose(kDateMenu, 12);  // day first
    put({2, 2}, "13:30");
    choose(kTimeMenu, 3);   // on a 12-hour clock

    const int16_t courier = font_item("Courier");
    const int16_t times = font_item("Times");
    ASSERT_NE(courier, 0);
    ASSERT_NE(times, 0);
    put({3, 0}, "Courier");
    choose(142, courier);
    put({3, 1}, "Big 18");
    choose(kSizeMenu, 5);
    put({3, 2}, "Times 14");
    choose(142, times);
    choose(kSizeMenu, 4);
    click(CellPoint{5, 4});

    CellFormat f;
    get_cell_format(f.bytes, CellPoint{1, 0}, layer);
    EXPECT_EQ(f.bytes[kFmtCode], 36);
    get_cell_format(f.bytes, CellPoint{3, 1}, layer);
    EXPECT_EQ(f.bytes[kFmtSize], 18);
    EXPECT_TRUE(matches_golden("menu_formatted", window, pf::Rect{0, 0, 150, 300}));
}

}  // namespace
