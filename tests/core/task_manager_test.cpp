// The task list, closing and quitting, window classification, the port stack
// and the spare memory reserve.
#include <vector>

#include "../app/app_fixture.h"
#include "ui/port_utils.h"
#include "core/string_utils.h"
#include "window/floating_palette.h"
#include "app/event_loop.h"

namespace {

std::vector<std::string> closed;

// A floating palette with a task and nothing in it.
pf::WindowRef empty_palette(const char* title) {
    return make_palette_window(title, 0, 0, 120, 60, {.key = pass_key_to_document});
}

int32_t note_close(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    closed.push_back(std::to_string(app_ref) + char(event->message));
    return 1;
}

pf::WindowRef document_with_task(uintptr_t app_ref) {
    pf::WindowRef window = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{60, 10, 200, 300});
    pf::show_window(window);
    TaskRecord task;
    InitAppTask(&task);
    task.window = window;
    task.app_ref = app_ref;
    task.close = note_close;
    NewTask(&task);
    return window;
}

}  // namespace

struct TaskManager : AppTest {
    void SetUp() override {
        AppTest::SetUp();
        closed.clear();
    }
};

TEST_F(TaskManager, AWindowWithoutATaskFindsTheApplicationTask) {
    pf::WindowRef stray = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{60, 10, 200, 300});
    TaskRecord task;
    get_task_from_window(stray, &task);
    EXPECT_EQ(task.index, 0u);
    EXPECT_EQ(task.app_ref, 0u);
    EXPECT_NE(task.menu, nullptr);
    EXPECT_EQ(GetTaskAppRef(stray), 0u);
    EXPECT_EQ(get_task_ptr(stray, nullptr), nullptr);
    pf::dispose_window(stray);
}

TEST_F(TaskManager, TasksAreFoundByWindowAndRemoved) {
    pf::WindowRef a = document_with_task(11);
    pf::WindowRef b = document_with_task(22);
    EXPECT_EQ(GetTaskAppRef(a), 11u);
    EXPECT_EQ(GetTaskAppRef(b), 22u);
    set_task_color(b, 8);
    EXPECT_EQ(GetTaskColors(b), 8u);
    remove_task(a);
    EXPECT_EQ(GetTaskAppRef(a), 0u);
    EXPECT_EQ(GetTaskAppRef(b), 22u);
    pf::dispose_window(a);
}

TEST_F(TaskManager, QuitClosesDocumentsBeforeTools) {
    document_with_task(1);
    pf::WindowRef palette = empty_palette("Tools");
    get_task_ptr(palette, nullptr)->close = note_close;
    get_task_ptr(palette, nullptr)->app_ref = 9;
    UnuseMemory(task_list);
    UnuseMemory(task_list);
    document_with_task(2);
    EXPECT_EQ(TaskQuit(), 0);
    // Front to back: document 2, document 1, then the palette; every reason "Q".
    EXPECT_EQ(closed, (std::vector<std::string>{"2Q", "1Q", "9Q"}));
    EXPECT_TRUE(task_quit_flag());
    set_task_quit_flag(false);
}

TEST_F(TaskManager, CloseFromWindowGivesTheReasonC) {
    pf::WindowRef a = document_with_task(5);
    EXPECT_EQ(CloseTaskFromWindow(a), 1);
    EXPECT_EQ(closed, std::vector<std::string>{"5C"});
    EXPECT_EQ(pf::front_non_floating_window(), nullptr);
}

TEST_F(TaskManager, WindowsAreClassifiedByTheirTasks) {
    pf::WindowRef document = document_with_task(1);
    pf::WindowRef palette = empty_palette("Colors");
    EXPECT_FALSE(WindowIsModal(document));
    EXPECT_FALSE(WindowIsModal(palette));
    EXPECT_TRUE(is_tool_window(palette));
    EXPECT_FALSE(is_tool_window(document));
    EXPECT_EQ(FrontDocWindow(), document);
    pf::WindowRef modal = pf::create_window(pf::kModalWindowClass, 0, pf::Rect{100, 100, 200, 300});
    EXPECT_TRUE(WindowIsModal(modal));
    EXPECT_FALSE(WindowIsModal(nullptr));
    pf::dispose_window(modal);
}

TEST_F(TaskManager, SelectingAWindowAnswersWhetherItCameForward) {
    pf::WindowRef back = document_with_task(1);
    pf::WindowRef front = document_with_task(2);
    EXPECT_EQ(SelectReferencedWindow(front), 0);
    EXPECT_EQ(SelectReferencedWindow(back), 1);
    EXPECT_EQ(pf::front_non_floating_window(), back);
    pf::WindowRef palette = empty_palette("Tools");
    EXPECT_EQ(SelectReferencedWindow(palette), 0);
    (void)front;
}

TEST_F(TaskManager, PortsAndClipsComeBackInOrder) {
    pf::WindowRef a = document_with_task(1);
    pf::set_port(pf::window_port(document_with_task(2)));
    pf::Port* before = pf::get_port();
    PushWindowPort(a);
    EXPECT_EQ(pf::get_port(), pf::window_port(a));
    PushClip();
    pf::clip_rect(pf::Rect{0, 0, 5, 5});
    PopClip();
    pf::RgnHandle clip = pf::new_region();
    pf::get_clip(clip);
    EXPECT_NE(pf::region_bounds(clip), (pf::Rect{0, 0, 5, 5}));
    pf::dispose_region(clip);
    PopPort();
    EXPECT_EQ(pf::get_port(), before);
    for (int i = 0; i < 20; ++i) PushPort(nullptr);
    for (int i = 0; i < 20; ++i) PopPort();
    EXPECT_EQ(pf::get_port(), before);
}

TEST_F(TaskManager, TheGrowZoneSpendsTheReserveOnlyWhileAllocationIsAllowed) {
    ASSERT_EQ(spare_reserve_size(), 40000);
    EXPECT_EQ(GrowZoneFunc(1000, nullptr), 1);
    EXPECT_EQ(spare_reserve_size(), 20000);
    SetTaskMemAllocation(0);
    EXPECT_EQ(GrowZoneFunc(1000, nullptr), 0);
    EXPECT_EQ(spare_reserve_size(), 20000);
    SetTaskMemAllocation(1);
    check_memory();
    EXPECT_EQ(spare_reserve_size(), 40000);
    set_spare_reserve(50000);
    check_memory();
    EXPECT_EQ(spare_reserve_size(), 40000);
}

namespace {
int updates = 0;
int32_t count_update(EventRecord*, uintptr_t, uintptr_t) { return ++updates; }
}  // namespace

TEST_F(TaskManager, AllPendingUpdatesAreDrawnAtOnceAndHiddenWindowsGoOutOfSight) {
    pf::WindowRef a = document_with_task(1);
    get_task_ptr(a, nullptr)->update = count_update;
    UnuseMemory(task_list);
    updates = 0;
    TriggerUpdate(a);
    DoAllUpdates();
    EXPECT_EQ(updates, 1);
    DoAllUpdates();
    EXPECT_EQ(updates, 1);
    HideReferencedWindow(a);
    EXPECT_FALSE(pf::window_visible(a));
    ShowReferencedWindow(a);
    EXPECT_TRUE(pf::window_visible(a));
}
