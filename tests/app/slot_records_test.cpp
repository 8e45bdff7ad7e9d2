// Start-up fills every slot of the records through which the lower layers of
// the application call up: a slot left at its headless answer would make the
// program quietly do nothing where it should act.
#include <cstdint>
#include <cstring>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/engine_slots.h"
#include "shell/shell_services.h"
#include "ui/ui_services.h"
#include "window/window_services.h"

namespace {

// The positions of the slots that still hold the headless answer.
template <typename Record>
std::vector<size_t> slots_left_headless(const Record& filled, const Record& headless) {
    static_assert(sizeof(Record) % sizeof(void*) == 0, "a record of procedure slots only");
    std::vector<size_t> left;
    for (size_t slot = 0; slot < sizeof(Record) / sizeof(void*); ++slot) {
        uintptr_t now = 0, initial = 0;
        std::memcpy(&now, reinterpret_cast<const char*>(&filled) + slot * sizeof(void*), sizeof now);
        std::memcpy(&initial, reinterpret_cast<const char*>(&headless) + slot * sizeof(void*), sizeof initial);
        if (now == initial) left.push_back(slot);
    }
    return left;
}

TEST(SlotRecords, StartUpFillsEverySlotOfTheInterfaceAndSheetViewRecords) {
    ui_services = headless_ui_services();
    window_services = headless_window_services();
    install_app_services();
    EXPECT_THAT(slots_left_headless(ui_services, headless_ui_services()), testing::IsEmpty());
    EXPECT_THAT(slots_left_headless(window_services, headless_window_services()), testing::IsEmpty());
}

TEST(SlotRecords, TheHeadlessAnswersLeaveNoSlotEmpty) {
    UiServices ui = headless_ui_services();
    // The application task's menu procedures alone may be empty: a task slot
    // left empty does nothing.
    ui.app_task_menu = ui.app_task_menu_enable =
        ui.app_task_buttons = [](EventRecord*, uintptr_t, uintptr_t) -> int32_t { return 0; };
    UiServices none{};
    EXPECT_THAT(slots_left_headless(ui, none), testing::IsEmpty());
    WindowServices window_none{};
    EXPECT_THAT(slots_left_headless(headless_window_services(), window_none), testing::IsEmpty());
}

TEST(SlotRecords, StartUpFillsEverySlotOfTheCommandsRecordAndItsHeadlessAnswersLeaveNoneEmpty) {
    shell_services = headless_shell_services();
    install_app_services();
    EXPECT_THAT(slots_left_headless(shell_services, headless_shell_services()), testing::IsEmpty());
    ShellServices none{};
    EXPECT_THAT(slots_left_headless(headless_shell_services(), none), testing::IsEmpty());
}

}  // namespace
