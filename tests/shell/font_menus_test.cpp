// The Font, Size, Style and alignment menus on the selected cells of the
// running program, the command bar's currency pop-up, and the marks of the
// font and size menus for values a document may hold outside their tables.
#include "format_fixture.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/format_commands.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/fonts/fonts.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/button_states.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "shell/document_facts.h"
#include "shell/font_menus.h"
#include "shell/format_menus.h"
#include "shell/shell_commands.h"
#include "window/front_document.h"
#include "resource_ids.h"

namespace {

struct FontMenus : FormatMenuTest {
    void SetUp() override {
        FormatMenuTest::SetUp();
        select(CellRange{{0, 0}, {1, 1}});
    }
    int16_t font_item(const std::string& name) {
        pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
        for (int16_t i = 1; i <= pf::count_menu_items(menu); ++i)
            if (pf::get_menu_item_text(menu, i) == name) return i;
        return 0;
    }
};

TEST_F(FontMenus, TheDefaultFontAndSizeAreStoredAsDefaultsAndUndoTakesAFontBack) {
    const std::string default_name = pf::font_name(Get_Default_Font(layer));
    const int16_t other = font_item("Courier") ? font_item("Courier") : 1;
    DoFontMenu(nullptr, other);
    EXPECT_EQ(format_font(at(1, 1).bytes), uint16_t(pf::font_number(pf::get_menu_item_text(pf::get_menu_handle(kFontMenu), other))));
    EXPECT_EQ(GetSheetUndo(layer), kFontUndoKind);
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(format_font(at(1, 1).bytes), kDefaultFontNumber);
    DoFontMenu(nullptr, font_item(default_name));
    EXPECT_EQ(format_font(at(1, 1).bytes), kDefaultFontNumber);

    DoSizeMenu(nullptr, 5);
    EXPECT_EQ(at(0, 1).bytes[kFmtSize], 18);
    const int16_t default_size = Get_Default_Size(layer);
    DoSizeMenu(nullptr, txtsize_to_menu(default_size));
    EXPECT_EQ(at(0, 1).bytes[kFmtSize], kLayerDefaultSize);
}

TEST_F(FontMenus, LargerStopsAtTheLargestSizeAndStepsFromTheDefault) {
    EXPECT_EQ(stepped_cell_size(255, 1, 12), 13);  // the default size shown, one larger
    DoSizeMenu(nullptr, 7);
    for (int i = 0; i < 170; ++i) DoSizeMenu(nullptr, kSizeLargerItem);
    EXPECT_EQ(at(1, 0).bytes[kFmtSize], 200);
    DoSizeMenu(nullptr, kSizeLargerItem);
    EXPECT_EQ(at(1, 0).bytes[kFmtSize], 200);
    DoSizeMenu(nullptr, kSizeSmallerItem);
    EXPECT_EQ(at(1, 0).bytes[kFmtSize], 199);
}

TEST_F(FontMenus, BoldTogglesAloneAndPlainRemovesEveryFace) {
    DoStyleMenu(nullptr, 4);  // italic
    DoStyleMenu(nullptr, 3);  // bold
    EXPECT_EQ(at(1, 1).bytes[kFmtFace], 0x03);
    DoCommand(code_value("bold"));
    EXPECT_EQ(at(1, 1).bytes[kFmtFace], 0x02);
    DoStyleMenu(nullptr, 9);  // extended
    EXPECT_EQ(at(0, 0).bytes[kFmtFace], 0x42);
    DoStyleMenu(nullptr, 1);
    EXPECT_EQ(at(0, 0).bytes[kFmtFace], 0);
}

TEST_F(FontMenus, AlignmentsAndTheirExclusiveOptions) {
    DoAlignMenu(nullptr, 4);
    EXPECT_EQ(at(1, 1).bytes[kFmtAlign] & 0x07, 3);
    DoAlignMenu(nullptr, 7);
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x0C, 0x08);
    DoAlignMenu(nullptr, 8);
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x0C, 0x04);
    DoAlignMenu(nullptr, 9);
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x0C, 0);

    DoAlignOptionMenu(nullptr, 5);
    DoAlignOptionMenu(nullptr, 4);
    DoAlignOptionMenu(nullptr, 3);
    EXPECT_EQ(at(1, 1).bytes[kFmtAlign] & 0xC8, 0x40);
    DoAlignOptionMenu(nullptr, 1);
    EXPECT_EQ(at(1, 1).bytes[kFmtAlign], 0x53);
    set_Align_menu(read_document_facts(front_document_record()));
    EXPECT_EQ(checked_item(146), 4);
    EXPECT_EQ(checked_item(159), 1);
}

TEST_F(FontMenus, TheCurrencyPopUpSetsCodeDecimalsAndFlagsAsOneChange) {
    const int undos = GetMemorySize(workbook_undo_list(GetWorkSheet(layer)));
    apply_format_change(layer, currency_choice(2));
    const CellFormat f = at(1, 1);
    EXPECT_EQ(f.bytes[kFmtCode], 36);
    EXPECT_EQ(f.bytes[kFmtDecimals], 2);
    EXPECT_EQ(f.bytes[kFmtFlagsA] & 0x30, 0x30);
    EXPECT_EQ(f.bytes[kFmtFlagsB] & 0x61, 0x20);
    EXPECT_EQ(GetMemorySize(workbook_undo_list(GetWorkSheet(layer))), undos + 1);
    apply_format_change(layer, fixed_decimals_choice(1));
    EXPECT_EQ(at(0, 0).bytes[kFmtFlagsB] & 0x20, 0);
}

TEST_F(FontMenus, AFontOrSizeOutsideTheirTablesMarkTheDefaults) {
    const std::string default_name = pf::font_name(Get_Default_Font(layer));
    set_font_menu(layer, 30000, 250);
    EXPECT_EQ(checked_item(142), font_item(default_name));
    EXPECT_EQ(checked_item(143), txtsize_to_menu(Get_Default_Size(layer)));
    set_font_menu(layer, 30000, 0);
    EXPECT_EQ(checked_item(143), txtsize_to_menu(Get_Default_Size(layer)));
}

// The command bar's font and size pop-ups are redrawn with the selection's font
// and size whenever either changes, the system font (number 0) included.
TEST_F(FontMenus, TheFontAndSizePopUpsFollowTheSelection) {
    ASSERT_TRUE(has_current_bar);
    auto shown = [&](const char* code) {
        for (const ButtonRecord& b : current_bar.buttons)
            if (b.command == code_value(code)) return b.drawn_value;
        ADD_FAILURE() << code << " is not on the bar";
        return int16_t(-1);
    };
    auto refreshed = [&] {
        app_prefs.options2 |= kPrefRefreshButtons;
        run_until_idle();
    };
    const int16_t times = pf::font_number("Times");
    const int16_t plain = pf::font_number("Chicago");
    ASSERT_EQ(plain, 0);
    select(CellRange{{0, 0}, {0, 0}});
    DoFontMenu(nullptr, font_item("Chicago"));
    refreshed();
    EXPECT_EQ(shown("font"), plain);
    DoFontMenu(nullptr, font_item("Times"));
    DoSizeMenu(nullptr, 5);
    refreshed();
    EXPECT_EQ(shown("font"), times);
    EXPECT_EQ(shown("size"), 18);
    select(CellRange{{3, 3}, {3, 3}});
    refreshed();
    EXPECT_EQ(shown("font"), Get_Default_Font(layer));
    EXPECT_EQ(shown("size"), Get_Default_Size(layer));
    select(CellRange{{0, 0}, {0, 0}});
    DoFontMenu(nullptr, font_item("Chicago"));
    refreshed();
    EXPECT_EQ(shown("font"), plain);
    EXPECT_EQ(shown("size"), 18);
}

}  // namespace
