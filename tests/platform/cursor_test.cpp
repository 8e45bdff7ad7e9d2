#include "platform/events/input.h"
#include "platform/host/host.h"
#include "platform/screen/cursor.h"

#include <gtest/gtest.h>

#include "tests/tools/rescomp_fixture.h"

namespace {

TEST(Cursor, HidingNestsAndObscuringLastsUntilTheMouseMoves) {
    pf::headless_host_open(32, 32);
    pf::set_arrow_cursor();
    EXPECT_TRUE(pf::cursor_visible());
    EXPECT_EQ(pf::current_cursor(), nullptr);
    pf::hide_cursor();
    pf::hide_cursor();
    pf::show_cursor();
    EXPECT_FALSE(pf::cursor_visible());
    pf::show_cursor();
    pf::show_cursor();  // one show too many is harmless
    EXPECT_TRUE(pf::cursor_visible());
    pf::hide_cursor();
    pf::show_cursor();
    EXPECT_TRUE(pf::cursor_visible());

    pf::input_mouse_move({3, 3});
    pf::obscure_cursor();
    EXPECT_FALSE(pf::cursor_visible());
    pf::input_mouse_move({3, 3});  // no movement
    EXPECT_FALSE(pf::cursor_visible());
    pf::input_mouse_move({4, 3});
    EXPECT_TRUE(pf::cursor_visible());

    pf::Cursor cross;
    cross.data[7] = 0xFFFF;
    cross.mask[7] = 0xFFFF;
    cross.hot_spot = {7, 7};
    pf::set_cursor(cross);
    ASSERT_NE(pf::current_cursor(), nullptr);
    EXPECT_EQ(pf::current_cursor()->hot_spot, (pf::Point{7, 7}));
    int beeps = pf::beep_count();
    pf::sys_beep(9);
    EXPECT_EQ(pf::beep_count(), beeps + 1);
    pf::set_arrow_cursor();
    pf::host_close();
}

TEST(Cursor, CursorResourcesAreDecodedWithTheirHotSpot) {
    pf::headless_host_open(32, 32);
    install_source(R"(CURS 300 {
  hotspot 2 3
  #ooooooooooooooo
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ................
  ...............#
}
)");
    pf::set_arrow_cursor();
    ASSERT_TRUE(pf::set_cursor_resource(300));
    const pf::Cursor* shown = pf::current_cursor();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->hot_spot, (pf::Point{2, 3}));
    EXPECT_EQ(shown->data[0], 0x8000);
    EXPECT_EQ(shown->mask[0], 0xFFFF);
    EXPECT_EQ(shown->data[15], 0x0001);
    EXPECT_FALSE(pf::set_cursor_resource(301));
    EXPECT_EQ(pf::current_cursor()->hot_spot, (pf::Point{2, 3}));  // unchanged
    pf::resources_clear();
    pf::set_arrow_cursor();
    pf::host_close();
}

}  // namespace
