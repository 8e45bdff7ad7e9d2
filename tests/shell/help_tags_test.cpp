// Help tags in the running program: a cell's note shows beside the cell once
// the pointer rests over it and goes when the pointer moves; no tag while an
// object is selected, a cell is typed in, or the preferences turn tags off;
// the split box, the command bar's buttons and the tool palette's tools have
// their own. The screen with a note's tag is written to help_tag_note.png.
#include <cstring>
#include <vector>

#include "../app/new_document_fixture.h"
#include "ui/text_input.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "platform/events/clock.h"
#include "platform/host/driver.h"
#include "platform/screen/screen.h"
#include "platform/system/help_tags.h"
#include "platform/system/system.h"
#include "ui/app_prefs.h"
#include "shell/colour_palette.h"
#include "shell/command_bar.h"
#include "shell/grid_palette.h"
#include "shell/palette_grid.h"
#include "shell/shell_commands.h"
#include "shell/tool_palette.h"
#include "window/sheet_tabs.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "resource_ids.h"

namespace {

class HelpTagsTest : public NewDocumentTest {
protected:
    pf::Point global_middle(CellPoint cell) {
        const pf::Point middle = cell_middle(cell);
        return inside(window, middle.v, middle.h);
    }
    // The pointer rests at a global point past the help-tag delay.
    const pf::HelpTag* rest_at(pf::Point where) {
        pf::driver_move(where);
        run_until_idle();
        pf::advance_clock(pf::ticks_to_milliseconds(uint32_t(pf::help_tag_delay()) + 5));
        run_until_idle();
        return pf::shown_help_tag();
    }
    void move_off(pf::Point over) {
        pf::driver_move(pf::Point{int16_t(over.v + 1), over.h});
        run_until_idle();
    }
    static std::string text(const pf::HelpTag* tag) { return tag ? tag->text : "(none)"; }
};

TEST_F(HelpTagsTest, ACellsNoteShowsBesideItAfterTheDelayAndGoesWhenThePointerMoves) {
    put_note(layer, CellPoint{3, 2}, "Checked by the auditors");
    put_note(layer, CellPoint{3, 3}, "");
    const pf::Point over = global_middle(CellPoint{3, 2});
    pf::driver_move(over);
    run_until_idle();
    EXPECT_EQ(pf::shown_help_tag(), nullptr) << "no tag before the delay";
    const pf::HelpTag* tag = rest_at(over);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->text, "Checked by the auditors");
    EXPECT_EQ(tag->side, pf::kHelpTagRight);
    EXPECT_TRUE(pf::pt_in_rect(over, tag->hot));
    EXPECT_GE(pf::shown_help_tag_rect().left, tag->hot.right);
    const uint32_t fill = pf::screen_pixel(pf::shown_help_tag_rect().left + 2, pf::shown_help_tag_rect().top + 1);
    EXPECT_EQ(fill & 0xFFFFFF, 0xFFFFCCu);
    pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/help_tag_note.png");

    pf::driver_move(pf::Point{int16_t(over.v + 1), over.h});
    run_until_idle();
    EXPECT_EQ(pf::shown_help_tag(), nullptr) << "a move takes the tag away";
    EXPECT_EQ(text(rest_at(global_middle(CellPoint{3, 3}))), "(none)") << "a cell without a note has no tag";
    EXPECT_EQ(text(rest_at(global_middle(CellPoint{6, 2}))), "(none)") << "nor has an empty cell";
}

TEST_F(HelpTagsTest, NoNoteShowsWhileTypingWithAnObjectSelectedOrWithTagsTurnedOff) {
    put_note(layer, CellPoint{3, 2}, "A note");
    const pf::Point over = global_middle(CellPoint{3, 2});

    app_prefs.options2 |= kPrefHelpTagsOff;
    EXPECT_EQ(text(rest_at(over)), "(none)");
    app_prefs.options2 &= ~kPrefHelpTagsOff;
    move_off(over);
    EXPECT_EQ(text(rest_at(over)), "A note");

    select_cells(layer, CellRange{{10, 5}, {10, 5}});
    ASSERT_TRUE(ActivateEditor(0, 0, layer));
    move_off(over);
    EXPECT_EQ(text(rest_at(over)), "(none)");
    DeActivateEditor();

    MemoryRef object = nullptr;
    ASSERT_EQ(NewObject(kRectObject, &object, 0, layer), 1);
    add_selected(layer, object);
    move_off(over);
    EXPECT_EQ(text(rest_at(over)), "(none)");
}

TEST_F(HelpTagsTest, TheSplitBoxAndTheCommandBarsButtonsHaveTheirTags) {
    pf::Rect box;
    v_divider(record, &box);
    const pf::Rect content = pf::window_content_rect(window);
    const pf::Point split{int16_t(content.top + box.top + 2), int16_t(content.left + box.left + 4)};
    EXPECT_EQ(text(rest_at(split)), "Drag to split top and bottom");

    const pf::Rect bar = pf::window_content_rect(IconBar);
    unsigned char expected[256];
    pf::Rect button;
    pf::Point inside_button{};
    for (int16_t h = 30; h < 200 && !inside_button.h; ++h)
        if (command_bar_help(pf::Point{12, h}, expected, &button) && expected[0]) inside_button = pf::Point{12, h};
    ASSERT_NE(inside_button.h, 0);
    const pf::HelpTag* tag = rest_at(pf::Point{int16_t(bar.top + 12), int16_t(bar.left + inside_button.h)});
    EXPECT_EQ(text(tag), std::string(reinterpret_cast<const char*>(expected + 1), expected[0]));
}

TEST_F(HelpTagsTest, ThePalettesToolsAndSwatchesAndTheSheetTabsHaveTheirTags) {
    DoPaletteMenu(nullptr, kPalettesToolsItem);  // Tools
    DoPaletteMenu(nullptr, kPalettesBordersItem);  // Borders and Grid
    run_until_idle();
    ASSERT_NE(ToolPalette, nullptr);
    ASSERT_NE(GridPalette, nullptr);
    auto tool_middle = [](pf::WindowRef palette, int16_t tool) {
        pf::Rect box;
        FindToolBox(kToolRows, tool, &box);
        const pf::Rect content = pf::window_content_rect(palette);
        return pf::Point{int16_t(content.top + (box.top + box.bottom) / 2), int16_t(content.left + (box.left + box.right) / 2)};
    };
    EXPECT_EQ(text(rest_at(tool_middle(ToolPalette, 8))), "Draw a rectangle");
    EXPECT_EQ(text(rest_at(tool_middle(GridPalette, 10))), "Thin lines all around each cell");
    DoPaletteMenu(nullptr, kPalettesColoursItem);  // Colors
    run_until_idle();
    ASSERT_NE(ColorPalette, nullptr);
    const pf::Rect colours = pf::window_content_rect(ColorPalette);
    const pf::Rect pattern = color_item_rect(6, pf::window_port(ColorPalette)->port_rect.right);
    EXPECT_EQ(text(rest_at(pf::Point{int16_t(colours.top + pattern.top + 4), int16_t(colours.left + pattern.left + 4)})),
              "Fill pattern");
    if (TabBar) {
        const pf::Rect bar = pf::window_content_rect(TabBar);
        const pf::Point on_tabs{int16_t(bar.top + tab_rect.top + 6), int16_t(bar.left + tab_rect.left + 10)};
        EXPECT_EQ(text(rest_at(on_tabs)).rfind("Click a tab", 0), 0u);
    }
}

// The options window's buttons have their tags, and the rest of the window its own.
TEST_F(HelpTagsTest, TheOptionsWindowsButtonsHaveTheirTags) {
    DoPaletteMenu(nullptr, 9);  // Options
    run_until_idle();
    ASSERT_NE(OpPalette, nullptr);
    const pf::Rect content = pf::window_content_rect(OpPalette);
    auto button_middle = [&](int16_t button) {
        pf::Rect box;
        FindToolBox(kLongPaletteRows, button, &box);
        return pf::Point{int16_t(content.top + (box.top + box.bottom) / 2), int16_t(content.left + (box.left + box.right) / 2)};
    };
    EXPECT_EQ(text(rest_at(button_middle(1))), "Type an equals sign");
    const pf::HelpTag* tag = rest_at(button_middle(15));
    EXPECT_EQ(text(tag), "Type a colon, which makes a range of cells");
    ASSERT_NE(tag, nullptr);
    EXPECT_TRUE(pf::pt_in_rect(button_middle(15), tag->hot));
    EXPECT_FALSE(pf::pt_in_rect(button_middle(14), tag->hot)) << "the tag's rectangle is its button's";
    pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/help_tag_options.png");
    app_prefs.options2 |= kPrefHelpTagsOff;
    move_off(button_middle(1));
    EXPECT_EQ(text(rest_at(button_middle(1))), "(none)");
    app_prefs.options2 &= ~kPrefHelpTagsOff;
}

// A note's tag gives a shortened delay back its usual length, once the
// shortening has held its while.
TEST_F(HelpTagsTest, ANotesTagResetsAShortenedDelay) {
    const int32_t usual = pf::help_tag_delay();
    put_note(layer, CellPoint{3, 2}, "First");
    ResetHelpDelay(0);
    ASSERT_LT(pf::help_tag_delay(), usual);
    pf::advance_clock(pf::ticks_to_milliseconds(120));
    EXPECT_EQ(text(rest_at(global_middle(CellPoint{3, 2}))), "First");
    EXPECT_EQ(pf::help_tag_delay(), usual);
}

}  // namespace
