#include "ui/lists_and_menus.h"
#include "core/memory_manager.h"
#include "platform/events/input.h"
#include "platform/events/keyboard.h"
#include "platform/memory/memory.h"

#include <gtest/gtest.h>

#include "tests/platform/drag_loop.h"

#include <cstring>

namespace {

using namespace drag_loop;

TEST(GetFlavor, ReadsIntoANewHandleOrOnlyTests) {
    pf::DragRef drag = pf::new_drag();
    pf::add_drag_item_flavor(drag, 1, pf::kFlavorTypeText, "abc", 3, 0);
    EXPECT_EQ(GetFlavor(drag, 1, pf::kFlavorTypeText, nullptr), pf::noErr);
    pf::Handle data = nullptr;
    ASSERT_EQ(GetFlavor(drag, 1, pf::kFlavorTypeText, &data), pf::noErr);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(pf::get_handle_size(data), 3);
    EXPECT_EQ(std::memcmp(*data, "abc", 3), 0);
    EXPECT_FALSE(pf::h_get_state(data) & pf::kHandleLocked);
    pf::dispose_handle(data);

    data = reinterpret_cast<pf::Handle>(1);
    EXPECT_EQ(GetFlavor(drag, 1, pf::kFlavorTypeHfs, &data), pf::kBadDragFlavorErr);
    EXPECT_EQ(data, nullptr);
    // A promise nobody keeps leaves no handle behind.
    pf::add_drag_item_flavor(drag, 1, pf::four_cc("PICT"), nullptr, 0, 0);
    EXPECT_EQ(GetFlavor(drag, 1, pf::four_cc("PICT"), &data), pf::kCantGetFlavorErr);
    EXPECT_EQ(data, nullptr);
    pf::dispose_drag(drag);
}

TEST_F(TwoWindows, OptionAtThePressOrTheDropMakesACopy) {
    bool option = true, trash = true;
    after_drop = [&](pf::DragRef drag) {
        option = _WEIsOptionDrag(drag);
        trash = DraggedToTrash(drag);
    };
    pf::driver_drag(centre(a), centre(b), 0, 3);
    run();
    EXPECT_FALSE(option);
    pf::driver_drag(centre(a), centre(b), pf::kOptionKey, 3);
    run();
    EXPECT_TRUE(option);
    // The desktop is no trash: the dragged data stays where it was.
    pf::driver_drag(centre(a), Point{400, 320}, 0, 3);
    run();
    EXPECT_EQ(track_result, pf::kDragNotAcceptedErr);
    EXPECT_FALSE(trash);
}

TEST_F(TwoWindows, WithoutADragOptionIsReadFromTheKeyboard) {
    pf::input_key_state(pf::kKeyCodeOption, true);
    EXPECT_TRUE(_WEIsOptionDrag(nullptr));
    pf::input_key_state(pf::kKeyCodeOption, false);
    EXPECT_FALSE(_WEIsOptionDrag(nullptr));
}

}  // namespace
