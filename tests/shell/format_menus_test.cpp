// The number-format menus in the running program: each choice on the front
// document's selection, with undo; the companion bits of the parentheses
// and triangle choices; the marks set for the active cell's format.
#include "format_fixture.h"
#include "editing/undo.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "shell/document_facts.h"
#include "shell/format_menus.h"
#include "shell/custom_label_dialog.h"
#include "ui/task_manager.h"
#include "shell/menu_enabling.h"
#include "model/format_commands.h"
#include "shell/shell_commands.h"
#include "ui/alerts.h"
#include "model/display_text.h"
#include "window/cell_entry.h"
#include "platform/events/keyboard.h"
#include "platform/fonts/fonts.h"
#include "app/event_loop.h"
#include "resource_ids.h"

namespace {

struct FormatMenus : FormatMenuTest {
    void SetUp() override {
        FormatMenuTest::SetUp();
        select(CellRange{{1, 1}, {3, 2}});
    }
    void mark() {
        SetSheetFlags(layer, GetSheetFlags(layer) | kLayerFormatStale);
        set_format_menu(layer);
    }
};

TEST_F(FormatMenus, EachMenuSetsItsCodeOverTheBlockAndUndoPutsItBack) {
    DoCurrencyMenu(nullptr, 1);
    EXPECT_EQ(at(3, 2).bytes[kFmtCode], 36);
    DoDateMenu(nullptr, 7);
    EXPECT_EQ(at(2, 1).bytes[kFmtCode], 6);  // the four-digit year
    DoTimeMenu(nullptr, 6);
    EXPECT_EQ(at(1, 1).bytes[kFmtCode], 28);
    DoFormatMenu(nullptr, kFormatPercentItem);
    EXPECT_EQ(at(1, 2).bytes[kFmtCode], 'I');
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(at(1, 2).bytes[kFmtCode], 28);
    DoRedo(GetWorkSheet(layer));
    EXPECT_EQ(at(1, 2).bytes[kFmtCode], 'I');
}

TEST_F(FormatMenus, DecimalsStayWithinFifteenEitherWayAndBecomeFixed) {
    for (int i = 0; i < 20; ++i) DoPrecisionMenu(nullptr, kDecimalsMoreItem);
    EXPECT_EQ(int8_t(at(1, 1).bytes[kFmtDecimals]), 15);
    EXPECT_TRUE(at(1, 1).bytes[kFmtFlagsB] & kFlagBFixedDecimals);
    for (int i = 0; i < 40; ++i) DoPrecisionMenu(nullptr, kDecimalsFewerItem);
    EXPECT_EQ(int8_t(at(3, 2).bytes[kFmtDecimals]), -15);
    DoPrecisionMenu(nullptr, kDecimalsAsNeededItem);
    EXPECT_FALSE(at(3, 2).bytes[kFmtFlagsB] & kFlagBFixedDecimals);
}

TEST_F(FormatMenus, OtherDecimalsAsksForANumberAndFixesItWithUndo) {
    set_unattended_run(false);
    pf::driver_type("20");                                  // more than fifteen: refused
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
    pf::driver_type("4");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    alert_requests().clear();
    DoPrecisionMenu(nullptr, kDecimalsOtherItem);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(int8_t(at(3, 2).bytes[kFmtDecimals]), 4);
    EXPECT_TRUE(at(1, 1).bytes[kFmtFlagsB] & kFlagBFixedDecimals);
    DoUndo(GetWorkSheet(layer));
    EXPECT_NE(int8_t(at(3, 2).bytes[kFmtDecimals]), 4);

    pf::driver_type("7");
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    DoPrecisionMenu(nullptr, kDecimalsOtherItem);
    EXPECT_NE(int8_t(at(3, 2).bytes[kFmtDecimals]), 7) << "cancelled";

    // Negative places round left of the point, down to fifteen.
    pf::driver_type("-16");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
    pf::driver_type("-3");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    alert_requests().clear();
    DoPrecisionMenu(nullptr, kDecimalsOtherItem);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(int8_t(at(3, 2).bytes[kFmtDecimals]), -3);
}

TEST_F(FormatMenus, ParenthesesAndTriangleExcludeEachOther) {
    DoCurrencyMenu(nullptr, 1);
    DoFormatOptionMenu(nullptr, 7);  // triangle
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsB] & 0x41, 0x01);
    DoCurrencyMenu(nullptr, 9);  // the second parentheses variant
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsB] & 0x41, 0x40);
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x20, 0);
    DoFormatOptionMenu(nullptr, 6);  // parentheses on: both variants go
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsB] & 0x41, 0);
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x20, 0);
    DoCurrencyMenu(nullptr, 10);
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x20, 0x20);
    DoFormatOptionMenu(nullptr, 6);  // and off again
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x20, 0);
    const uint8_t thousands = at(2, 2).bytes[kFmtFlagsA] & 0x02;  // as the new document's default has it
    DoFormatOptionMenu(nullptr, 1);
    DoFormatOptionMenu(nullptr, 2);
    DoFormatOptionMenu(nullptr, 5);
    EXPECT_EQ(at(2, 2).bytes[kFmtFlagsA], 0x50 | (thousands ^ 0x02));
    DoFormatOptionMenu(nullptr, 2);
    EXPECT_EQ(at(2, 2).bytes[kFmtFlagsA], 0x10 | (thousands ^ 0x02));
}

TEST_F(FormatMenus, MarksFollowTheActiveCell) {
    DoCurrencyMenu(nullptr, 3);
    DoCurrencyMenu(nullptr, 10);
    DoPrecisionMenu(nullptr, kDecimalsFixedItem);
    mark();
    EXPECT_TRUE(checked(kCurrencyMenu, 3));
    EXPECT_TRUE(checked(kCurrencyMenu, 10));
    EXPECT_FALSE(checked(kFormatMenu, kFormatGeneralItem));
    EXPECT_EQ(pf::get_item_style(pf::get_menu_handle(kFormatMenu), kFormatCurrencyItem), 0x05);
    EXPECT_TRUE(checked(kPrecisionMenu, kDecimalsFixedItem));
    EXPECT_TRUE(checked(kFormatOptionMenu, 6));
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kCurrencyMenu), 9));

    DoDateMenu(nullptr, 12);
    mark();
    EXPECT_TRUE(checked(kDateMenu, 12));
    EXPECT_FALSE(checked(kCurrencyMenu, 3));
    EXPECT_FALSE(pf::is_menu_item_enabled(pf::get_menu_handle(kCurrencyMenu), 9));
    EXPECT_EQ(pf::get_item_style(pf::get_menu_handle(kFormatMenu), kFormatDateItem), 0x05);
    EXPECT_EQ(pf::get_item_style(pf::get_menu_handle(kFormatMenu), kFormatCurrencyItem), 0);
}

// Each item of the Date and Time menus reads as the moment it names shows in
// the item's own format.
TEST_F(FormatMenus, DateAndTimeItemsShowWhatTheirFormatGives) {
    select(CellRange{{0, 0}, {0, 0}});
    const std::string formula = "=DATE(2026,1,31)+TIME(13,30,55)";
    MemoryRef block = Bytes2Memory(&mem_globals, formula.data(), 1, int32_t(formula.size()));
    uint16_t at = 0;
    ASSERT_EQ(Enter_Data(layer, block, nullptr, &at, 0), kEntryStored);
    DisposeMemory(block);
    const struct {
        int16_t menu;
        int16_t (*code_of)(int16_t);
        void (*choose)(MemoryRef, int16_t);
    } menus[] = {{137, date_verb, DoDateMenu}, {138, time_verb, DoTimeMenu}};
    for (const auto& m : menus) {
        pf::MenuRef menu = pf::get_menu_handle(m.menu);
        for (int16_t item = 1; item <= pf::count_menu_items(menu); ++item) {
            if (m.code_of(item) < 0) continue;
            m.choose(nullptr, item);
            EXPECT_EQ(pf::get_menu_item_text(menu, item), displayed_cell_text(layer, CellPoint{0, 0}))
                << m.menu << " item " << item;
        }
    }
    EXPECT_EQ(pf::get_menu_item_text(pf::get_menu_handle(kDateMenu), 10), "31-Jan-2026");
}

TEST_F(FormatMenus, ACodeOrDecimalsOutsideTheirTablesReadAsValidEntries) {
    DoFormatMenu(nullptr, kFormatScientificItem);
    DoTimeMenu(nullptr, 1);
    uint8_t* cell = nullptr;
    int16_t length = 0;
    ASSERT_TRUE(get_cell_ptr(&cell, &length, CellPoint{1, 1}, layer));
    cell[kFmtCode] = 60;        // as a damaged document may hold
    cell[kFmtDecimals] = 100;
    mark();
    EXPECT_TRUE(checked(kFormatMenu, kFormatGeneralItem));
    for (int16_t item = 1; item <= 7; ++item) EXPECT_FALSE(checked(138, item)) << item;
    DoPrecisionMenu(nullptr, kDecimalsFewerItem);
    EXPECT_EQ(int8_t(at(1, 1).bytes[kFmtDecimals]), 14);
}

TEST_F(FormatMenus, TheFormatMenuIsOpenWithADocumentAndItsDialogItemsFollowTheirDialogs) {
    enable_menus();
    pf::MenuRef format = pf::get_menu_handle(kFormatMenu);
    EXPECT_TRUE(format->enabled);
    EXPECT_TRUE(pf::is_menu_item_enabled(format, 13));
    EXPECT_TRUE(pf::is_menu_item_enabled(format, 20));
    EXPECT_TRUE(pf::is_menu_item_enabled(format, 21));
    EXPECT_TRUE(pf::is_menu_item_enabled(pf::get_menu_handle(kDateMenu), 16));
}

}  // namespace

namespace {

// Everything a format command may change in a layer, byte for byte.
std::vector<uint8_t> format_state(MemoryRef layer) {
    std::vector<uint8_t> state;
    for (MemoryRef block : {GetSpreadSheetCells(layer), GetSpreadSheetColumnFormats(layer), GetSpreadSheetRowFormats(layer)}) {
        const int32_t size = block ? GetByteSize(block) : 0;
        const auto* bytes = size ? static_cast<const uint8_t*>(UseMemory(block)) : nullptr;
        if (bytes) state.insert(state.end(), bytes, bytes + size);
        if (bytes) UnuseMemory(block);
        state.push_back(0xA5);
    }
    SpreadSheet* sheet = use_layer(layer);
    state.insert(state.end(), sheet->default_column_format, sheet->default_column_format + kCellFormatSize);
    state.insert(state.end(), sheet->default_row_format, sheet->default_row_format + kRowFormatSize);
    release_layer(layer);
    return state;
}

// The first item of the Font menu that names a font other than the layer's own.
int16_t font_item_other_than_default(MemoryRef layer) {
    pf::MenuRef menu = pf::get_menu_handle(kFontMenu);
    for (int16_t item = 1; item <= pf::count_menu_items(menu); ++item)
        if (pf::font_number(pf::get_menu_item_text(menu, item)) != Get_Default_Font(layer)) return item;
    return 0;
}

TEST_F(FormatMenus, EveryMenuOnEveryShapeOfSelectionIsUndoneAndRedone) {
    struct Choice {
        int16_t menu, item;
    };
    const int16_t other_font = font_item_other_than_default(layer);
    ASSERT_NE(other_font, 0) << "the Font menu lists one font only";
    const Choice choices[] = {{kCurrencyMenu, 1}, {kDateMenu, 7}, {kTimeMenu, 1}, {kFormatMenu, kFormatPercentItem}, {kFormatOptionMenu, 1}, {kFormatOptionMenu, 5}, {kPrecisionMenu, kDecimalsMoreItem},
                              {kStyleMenu, 3}, {kSizeMenu, 5}, {kAlignMenu, 3}, {kAlignOptionMenu, 3}, {142, other_font}};
    const CellRange shapes[] = {{{2, 2}, {2, 2}},
                                {{1, 1}, {3, 2}},
                                {{4, 0}, {6, kLastCell}},
                                {{0, 3}, {kLastCell, 4}},
                                {{0, 0}, {kLastCell, kLastCell}}};
    MemoryRef workbook = GetWorkSheet(layer);
    for (const CellRange& shape : shapes) {
        for (const Choice& choice : choices) {
            select(shape);
            const auto before = format_state(layer);
            do_menu_button(choice.menu, choice.item);
            const auto after = format_state(layer);
            const std::string what = std::to_string(choice.menu) + "/" + std::to_string(choice.item) + " on " +
                                     std::to_string(shape.topLeft.v) + "," + std::to_string(shape.topLeft.h) + "-" +
                                     std::to_string(shape.botRight.v) + "," + std::to_string(shape.botRight.h);
            EXPECT_NE(after, before) << what;
            DoUndo(workbook);
            EXPECT_EQ(format_state(layer), before) << what << " undone";
            DoRedo(workbook);
            EXPECT_EQ(format_state(layer), after) << what << " redone";
        }
    }
}

}  // namespace

namespace {

std::string label_of(MemoryRef layer, int16_t row, int16_t column) {
    unsigned char label[256];
    GetCellStrings(CellPoint{row, column}, label, nullptr, layer);
    return std::string(reinterpret_cast<char*>(label) + 1, label[0]);
}

TEST_F(FormatMenus, CustomLabelsGoInFrontOrBehindAndAnEmptyOneRemovesThem) {
    apply_custom_label(layer, 2, reinterpret_cast<const unsigned char*>("\2kg"));
    EXPECT_EQ(label_of(layer, 3, 2), "kg");
    EXPECT_EQ(at(3, 2).bytes[kFmtFlagsA] & 0x80, 0);
    apply_custom_label(layer, 1, reinterpret_cast<const unsigned char*>("\1#"));
    EXPECT_EQ(label_of(layer, 1, 1), "#");
    EXPECT_EQ(at(1, 1).bytes[kFmtFlagsA] & 0x80, 0x80);
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ(label_of(layer, 1, 1), "kg");
    apply_custom_label(layer, 1, reinterpret_cast<const unsigned char*>("\0"));
    EXPECT_EQ(label_of(layer, 2, 2), "");
    EXPECT_EQ(at(2, 2).bytes[kFmtFlagsA] & 0x80, 0);

    DoFormatOptionMenu(nullptr, 3);  // no one answers: the dialog is cancelled
    EXPECT_EQ(label_of(layer, 2, 2), "");
}

}  // namespace
