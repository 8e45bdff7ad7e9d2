#include "window/floating_palette.h"

#include "core/string_utils.h"
#include "platform/screen/cursor.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "ui/screen_geometry.h"

int32_t pass_key_to_document(EventRecord* event, uintptr_t, uintptr_t) {
    WindowRef document = wxFrontNonFloatingWindow();
    TaskRecord task;
    get_task_from_window(document, &task);
    if (!document) return 0;
    return call_task_in_port(task.key, document, event, task.app_ref, 0);
}

int32_t palette_idle_proc(EventRecord*, uintptr_t, uintptr_t) {
    pf::set_arrow_cursor();
    return 1;
}

WindowRef find_palette(const char* title) {
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        if (pf::window_title(w) == title && pf::window_kind(w) == kPaletteWindowKind) return w;
    }
    return nullptr;
}

WindowRef make_palette_window(const char* title, int position_index, int16_t offset, int16_t width, int16_t height,
                              const WindowTaskProcs& procs) {
    pf::Point where = app_prefs.palette_positions[position_index];
    if (!checkonscreen(where)) where = pf::Point{int16_t(60 + offset), int16_t(pf::screen_bounds().right - 160)};
    pf::Rect bounds{where.v, where.h, int16_t(where.v + height), int16_t(where.h + width)};
    unsigned char pstr[256];
    set_pstring(pstr, title);
    WindowRef window = pf::new_window(bounds, pstr, true, pf::kFloatProc, pf::kFirstWindowOfClass, true, 0);
    if (!window) return nullptr;
    pf::set_window_kind(window, kPaletteWindowKind);
    add_window_task(window, kFloatingToolTask, 0, procs);
    return window;
}

bool close_palette_window(WindowRef& window, int position_index, uint32_t start_up_bit, const EventRecord* event) {
    if (!window) return false;
    const pf::Rect content = pf::window_content_rect(window);
    app_prefs.palette_positions[position_index] = pf::Point{content.top, content.left};
    const bool by_user = !event || event->message != kCloseForQuit;
    if (by_user) app_prefs.options &= ~start_up_bit;
    pf::hide_window(window);
    window = nullptr;
    return by_user;
}
