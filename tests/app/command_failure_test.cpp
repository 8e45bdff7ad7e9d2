// A command the event loop runs that fails half-way: it is abandoned, the user
// is told, the document is left as it was and no block is left in use.
#include "app_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_menus.h"
#include "app/event_loop.h"
#include "core/alert_kinds.h"
#include "core/memory_internal.h"
#include "model/cell_store.h"
#include "platform/memory/memory.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {

constexpr int16_t kRows = 300;
constexpr int16_t kColumns = 6;

std::vector<uint8_t> store_bytes(MemoryRef layer) {
    MemoryRef store = GetSpreadSheetCells(layer);
    std::vector<uint8_t> bytes(size_t(GetByteSize(store)));
    if (!bytes.empty()) {
        std::copy_n(static_cast<const uint8_t*>(UseMemory(store)), bytes.size(), bytes.begin());
        UnuseMemory(store);
    }
    return bytes;
}

std::string memory_message() {
    return pf::get_indexed_string(kErrorStrings, file_error_string_index(kNoMemoryErr));
}

struct CommandFailure : AppTest {
    MemoryRef layer = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        DoFileMenu(nullptr, 1);
        layer = GetSheetRef(pf::front_non_floating_window());
        ASSERT_NE(layer, nullptr);
        for (int16_t row = 0; row < kRows; ++row)
            for (int16_t column = 0; column < kColumns; ++column)
                put_note(layer, CellPoint{row, column}, "note " + std::to_string(row * kColumns + column));
        select_cells(layer, CellRange{{0, 0}, {kRows - 1, kColumns - 1}});
        run_until_idle();
    }

    // Runs a menu command with every block that can go out in the swap file
    // and `room` bytes of memory to bring them back.
    void run_command_with_room(int16_t menu, int16_t item, int32_t room) {
        free_tire(&mem_globals);
        MemoryPurge(&mem_globals, INT32_MAX, nullptr);
        pf::set_heap_budget(pf::heap_bytes_in_use() + room);
        pf::set_temp_budget(0);
        do_menu_button(menu, item);
        pf::set_heap_budget(pf::kNoBudget);
        pf::set_temp_budget(pf::kNoBudget);
    }
};

// With less memory than the command needs, at whatever point it runs out,
// the command is either abandoned whole, and the user told, or done whole.
TEST_F(CommandFailure, ACommandShortOfMemoryIsAbandonedWithTheDocumentAsItWas) {
    const std::vector<uint8_t> before = store_bytes(layer);
    const std::vector<BlockInUse> in_use_before = BlocksInUse();
    int abandoned = 0;
    bool done = false;
    for (int32_t room = 0; room < 400000 && !done; room += 1500) {
        alert_requests().clear();
        run_command_with_room(kFormatMenu, kFormatPercentItem, room);
        EXPECT_EQ(BlocksInUse(), in_use_before) << "with " << room << " bytes";
        done = store_bytes(layer) != before;
        if (done) break;
        ++abandoned;
        ASSERT_FALSE(alert_requests().empty()) << "with " << room << " bytes";
        EXPECT_EQ(alert_requests().back().text, memory_message()) << "with " << room << " bytes";
    }
    EXPECT_GT(abandoned, 0);
    ASSERT_TRUE(done);
    // Done whole: as the command leaves the cells with all the memory it wants.
    const std::vector<uint8_t> done_short = store_bytes(layer);
    do_menu_button(kEditMenu, kEditUndoItem);
    ASSERT_EQ(store_bytes(layer), before);
    do_menu_button(kFormatMenu, kFormatPercentItem);
    EXPECT_EQ(store_bytes(layer), done_short);
}

}  // namespace
