// The Save dialog as a person meets it: a cell stored just before, whose
// drawing still waits (a busy machine), is on the screen beneath the dialog
// when it appears.
#include <string>
#include <vector>

#include "editing/find_replace.h"
#include "platform/events/keyboard.h"
#include "platform/screen/screen.h"
#include "tests/app/attended_fixture.h"
#include "window/cell_geometry.h"

namespace {

constexpr uint8_t kKeyCodeS = 1;

// The dark pixels of a rectangle of the screen (global).
int dark_pixels(const pf::Rect& area) {
    int dark = 0;
    for (int16_t v = area.top; v < area.bottom; ++v)
        for (int16_t h = area.left; h < area.right; ++h) dark += (pf::screen_pixel(h, v) & 0xFF) < 0x60;
    return dark;
}

pf::Rect watched_cell;
int dark_when_shown = -1;

// At the first composing with a modal window in front: the cell's dark pixels,
// then Escape.
void watch_cell_under_dialog() {
    pf::compose_screen();
    if (dark_when_shown < 0 && pf::is_modal_window(pf::front_window())) {
        dark_when_shown = dark_pixels(watched_cell);
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    }
    dialogtest::guarded_compose_step();
}

TEST_F(AttendedDocumentTest, ACellStoredJustBeforeIsDrawnBeforeTheSaveDialogAppears) {
    pf::Rect cell;
    Cell_Location(0, &cell, 1, CellPoint{0, 0}, layer);
    const pf::Rect content = pf::window_content_rect(FrontDocWindow());
    watched_cell = pf::Rect{int16_t(content.top + cell.top), int16_t(content.left + cell.left),
                            int16_t(content.top + cell.bottom - 1), int16_t(content.left + cell.right - 1)};
    ASSERT_EQ(dark_pixels(watched_cell), 0);
    dark_when_shown = -1;
    pf::host_set_composer(watch_cell_under_dialog);
    const std::string typed = "hello";
    store_typed_text(layer, CellPoint{0, 0}, typed);
    pf::driver_key(kKeyCodeS, 's', pf::kCmdKey);
    run_until_idle();
    EXPECT_GT(dark_when_shown, 10);
}

}  // namespace
