// A text box under edit in the running program: another window coming to
// the front ends the editing and keeps what was typed in the box.
#include "../window/road_fixture.h"
#include "objects/object_commands.h"
#include "objects/object_records.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

class TextBoxFront : public TypedRoadTest {};

TEST_F(TextBoxFront, AnotherWindowInFrontEndsTheEditingKeepingTheText) {
    DoFileMenu(nullptr, kFileNewItem);
    run_until_idle();
    pf::WindowRef other = pf::front_non_floating_window();
    ASSERT_NE(other, window);
    pf::select_window(window);
    run_until_idle();
    MemoryRef box = nullptr;
    ASSERT_EQ(NewObject(kTextObject, &box, 0, layer), 1);
    ObjectRecord* r = use_object(box);
    r->anchor_row = 2, r->anchor_column = 1, r->height = 40, r->width = 120;
    release_object(box);
    ASSERT_EQ(begin_text_editing(box, 0, layer), 1);
    for (char c : std::string("Notes")) ObjectKey(uint8_t(c), layer);
    run_until_idle();
    ASSERT_EQ(GetObjEditor(layer, nullptr), box) << "a moment at idle keeps the editing";
    pf::select_window(other);
    run_until_idle();
    EXPECT_EQ(GetObjEditor(layer, nullptr), nullptr);
    const TextBoxParts parts = text_box_parts(reinterpret_cast<MemoryRef>(GetObj_info(box, pf::four_cc("data"))));
    EXPECT_EQ(std::string(parts.text.begin(), parts.text.end()), "Notes");
}

}  // namespace
