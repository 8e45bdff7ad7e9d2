// Making and disposing windows, their properties, the layered window list and
// activation.
#include "platform/windows/windows.h"
#include "platform/windows/windows_internal.h"

#include "platform/host/host.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"

#include <algorithm>
#include <deque>

namespace pf {

using namespace windows_detail;

namespace {

std::vector<WindowRef> windows;  // front to back

// Activate and deactivate events wait here until the application asks for events.
struct PendingActivation {
    WindowRef window;
    bool active;
};
std::deque<PendingActivation> pending_activations;
WindowRef active_window = nullptr;

int layer_rank(WindowLayer layer) {
    switch (layer) {
        case WindowLayer::kModal: return 0;
        case WindowLayer::kFloating: return 1;
        case WindowLayer::kDocument: return 2;
    }
    return 2;
}

WindowLayer layer_of_class(uint16_t window_class) {
    switch (window_class) {
        case kAlertWindowClass:
        case kMovableAlertWindowClass:
        case kModalWindowClass:
        case kMovableModalWindowClass:
            return WindowLayer::kModal;
        case kFloatingWindowClass:
        case kUtilityWindowClass:
            return WindowLayer::kFloating;
        default:
            return WindowLayer::kDocument;
    }
}

// The index at which a window of `layer` goes in front of its layer.
size_t front_of_layer(WindowLayer layer) {
    size_t i = 0;
    while (i < windows.size() && layer_rank(windows[i]->layer) < layer_rank(layer)) ++i;
    return i;
}

size_t back_of_layer(WindowLayer layer) {
    size_t i = front_of_layer(layer);
    while (i < windows.size() && windows[i]->layer == layer) ++i;
    return i;
}

void unlink(WindowRef window) { std::erase(windows, window); }

void insert_at(WindowRef window, size_t index) {
    windows.insert(windows.begin() + std::ptrdiff_t(std::min(index, windows.size())), window);
}

// What a definition number's variant makes (the standard definition 0).
struct ProcKind {
    int16_t variant;
    uint16_t window_class;
    uint32_t attributes;
    bool may_close;
};
constexpr ProcKind kProcKinds[] = {
    {kDocumentProc, kDocumentWindowClass, kWindowResizableAttribute, true},
    {kDialogBoxProc, kModalWindowClass, 0, false},
    {kPlainDialogBoxProc, kPlainWindowClass, 0, false},
    {kAltDialogBoxProc, kModalWindowClass, 0, false},
    {kNoGrowDocProc, kDocumentWindowClass, 0, true},
    {kMovableDialogBoxProc, kMovableModalWindowClass, 0, false},
    {kZoomDocProc, kDocumentWindowClass, kWindowFullZoomAttribute | kWindowResizableAttribute, true},
    {kZoomNoGrowProc, kDocumentWindowClass, kWindowFullZoomAttribute, true},
};

bool is_floating_proc(int16_t proc_id) { return (proc_id >> 4) == (kFloatProc >> 4); }

// A new window's class and attributes from a definition number; unknown
// variants make a document window.
void describe_proc_id(int16_t proc_id, bool go_away, uint16_t& window_class, uint32_t& attributes) {
    uint32_t close = go_away ? kWindowCloseBoxAttribute : 0;
    int variant = proc_id & 0xF;
    if (is_floating_proc(proc_id)) {
        window_class = kFloatingWindowClass;
        attributes = close | ((variant & 2) ? kWindowResizableAttribute : 0) |
                     ((variant & 4) ? kWindowFullZoomAttribute : 0) |
                     ((variant & 8) ? kWindowSideTitlebarAttribute : 0);
        return;
    }
    const ProcKind* kind = &kProcKinds[0];
    for (const ProcKind& k : kProcKinds)
        if (k.variant == variant) kind = &k;
    window_class = kind->window_class;
    attributes = kind->attributes | (kind->may_close ? close : 0);
}

Rect default_standard_state(const FrameInsets& frame) {
    Rect desk = desktop_bounds();
    constexpr int16_t kMargin = 3;
    return Rect{int16_t(desk.top + frame.top + kMargin), int16_t(desk.left + frame.left + kMargin),
                int16_t(desk.bottom - frame.bottom - kMargin), int16_t(desk.right - frame.right - kMargin)};
}

// An activation the application has not seen yet cancels against its opposite.
void queue_activation(WindowRef window, bool active) {
    auto same = [window](const PendingActivation& p) { return p.window == window; };
    if (std::erase_if(pending_activations, same) > 0) return;
    pending_activations.push_back(PendingActivation{window, active});
}

bool activation_source(uint16_t mask, EventRecord& event, bool take) {
    if (!(mask & kActivateMask) || pending_activations.empty()) return false;
    const PendingActivation& p = pending_activations.front();
    stamp_event(event);
    event.what = kActivateEvent;
    event.message = reinterpret_cast<uintptr_t>(p.window);
    event.modifiers = uint16_t((event.modifiers & ~kActiveFlag) | (p.active ? kActiveFlag : 0));
    if (take) pending_activations.pop_front();
    return true;
}

}  // namespace

namespace windows_detail {

std::vector<WindowRef>& window_list() { return windows; }

bool is_live(WindowRef window) {
    return window && std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool shows(WindowRef window) { return window->visible && !window->hidden_with_floaters; }

void update_activation() {
    WindowRef front = front_non_floating_window();
    if (front == active_window) return;
    if (active_window && is_live(active_window)) {
        hilite_window(active_window, false);
        queue_activation(active_window, false);
    }
    active_window = front;
    if (front) {
        hilite_window(front, true);
        queue_activation(front, true);
    }
}

void forget_pending_events(WindowRef window) {
    std::erase_if(pending_activations, [window](const PendingActivation& p) { return p.window == window; });
    if (active_window == window) active_window = nullptr;
}

}  // namespace windows_detail

// ---- Making and disposing -----------------------------------------------------

WindowRef create_window(uint16_t window_class, uint32_t attributes, const Rect& content) {
    WindowRef w = new Window;
    w->window_class = window_class;
    w->attributes = attributes;
    w->layer = layer_of_class(window_class);
    w->content = content;
    w->user_state = content;
    w->standard_state = default_standard_state(frame_insets_of(window_class, attributes));
    w->update_rgn = new_region();
    // Floating windows are always drawn active.
    w->hilited = w->layer == WindowLayer::kFloating;
    make_surface(w);
    insert_at(w, front_of_layer(w->layer));
    add_update(w, content_local_rect(w));
    return w;
}

WindowRef new_window(const Rect& content, const unsigned char* title, bool visible, int16_t proc_id,
                     WindowRef behind, bool go_away, uintptr_t refcon) {
    uint16_t window_class = kDocumentWindowClass;
    uint32_t attributes = 0;
    describe_proc_id(proc_id, go_away, window_class, attributes);
    WindowRef w = create_window(window_class, attributes, content);
    w->proc_id = proc_id;
    if (!is_floating_proc(proc_id) && (proc_id & 0xF) == kPlainDialogBoxProc) {
        // A plain box is a modal dialog too.
        unlink(w);
        w->layer = WindowLayer::kModal;
        insert_at(w, front_of_layer(w->layer));
    }
    w->refcon = refcon;
    if (title) set_window_title(w, title);
    if (behind != kFirstWindowOfClass) send_behind(w, behind);
    if (visible) show_window(w);
    return w;
}

void dispose_window(WindowRef window) {
    if (!is_live(window)) return;
    if (shows(window)) mark_screen_area(structure_of(window));
    unlink(window);
    forget_pending_events(window);
    close_port(window->port);
    close_port(window->frame_port);
    free_surface(window);
    dispose_region(window->update_rgn);
    delete window;
    update_activation();
}

void dispose_all_windows() {
    while (!windows.empty()) dispose_window(windows.front());
    pending_activations.clear();
    active_window = nullptr;
}

// ---- Properties -------------------------------------------------------------------

Port* window_port(WindowRef window) { return window ? &window->port : nullptr; }

WindowRef port_window(const Port* port) {
    for (WindowRef w : windows)
        if (&w->port == port) return w;
    return nullptr;
}

WindowLayer window_layer(WindowRef window) { return window->layer; }
uint16_t window_class(WindowRef window) { return window->window_class; }
uint32_t window_attributes(WindowRef window) { return window->attributes; }
int16_t window_variant(WindowRef window) { return window->proc_id < 0 ? 0 : int16_t(window->proc_id & 0xF); }
int16_t window_kind(WindowRef window) { return window->kind; }
void set_window_kind(WindowRef window, int16_t kind) { window->kind = kind; }
uintptr_t window_refcon(WindowRef window) { return window->refcon; }
void set_window_refcon(WindowRef window, uintptr_t refcon) { window->refcon = refcon; }

void set_window_title(WindowRef window, const std::string& title) { set_window_title(window, title, kScriptRoman); }

void set_window_title(WindowRef window, const std::string& title, int16_t script) {
    window->title = title.substr(0, 255);
    window->title_script = script_enabled(script) ? script : kScriptRoman;
    draw_frame(window);
}

void set_window_title(WindowRef window, const unsigned char* pstr) {
    set_window_title(window, std::string(reinterpret_cast<const char*>(pstr + 1), pstr[0]));
}

void set_window_title_utf8(WindowRef window, std::string_view utf8) {
    const ScriptText spelled = spell_in_a_script(utf8);
    if (spelled.unmapped == 0) return set_window_title(window, spelled.bytes, spelled.script);
    window->title = std::string(utf8.substr(0, std::min(utf8.size(), utf8.find('\0'))));
    window->title_script = kUnicodeTitle;
    draw_frame(window);
}

std::string window_title_utf8(WindowRef window) {
    return window->title_script == kUnicodeTitle ? window->title : script_to_utf8(window->title, window->title_script);
}

std::string window_title(WindowRef window) {
    if (window->title_script == kScriptRoman) return window->title;
    return utf8_to_mac_roman(window_title_utf8(window), '?');
}

void get_window_title(WindowRef window, Str255 title) {
    const std::string roman = window_title(window).substr(0, 255);
    title[0] = uint8_t(roman.size());
    std::copy(roman.begin(), roman.end(), title + 1);
}

ScriptText window_title_in_script(WindowRef window) {
    if (window->title_script == kUnicodeTitle) return spell_in_a_script(window->title);
    return {window->title, window->title_script, 0};
}

void set_window_modified(WindowRef window, bool modified) {
    if (window->modified == modified) return;
    window->modified = modified;
    draw_frame(window);
}

bool window_modified(WindowRef window) { return window->modified; }

void set_window_proxy(WindowRef window, bool has_proxy) {
    if (window->has_proxy == has_proxy) return;
    window->has_proxy = has_proxy;
    draw_frame(window);
}

bool window_visible(WindowRef window) { return shows(window); }
bool window_hilited(WindowRef window) { return window->hilited; }
bool window_collapsed(WindowRef window) { return window->collapsed; }
bool is_floating_window(WindowRef window) { return window->layer == WindowLayer::kFloating; }
bool is_modal_window(WindowRef window) { return window->layer == WindowLayer::kModal; }

Rect window_struct_rect(WindowRef window) { return structure_of(window); }
Rect window_content_rect(WindowRef window) { return window->content; }
FrameInsets window_frame_insets(WindowRef window) {
    return frame_insets_of(window->window_class, window->attributes);
}

// ---- Order and visibility -------------------------------------------------------

WindowRef first_window() { return windows.empty() ? nullptr : windows.front(); }

WindowRef next_window(WindowRef window) {
    auto it = std::find(windows.begin(), windows.end(), window);
    if (it == windows.end() || ++it == windows.end()) return nullptr;
    return *it;
}

WindowRef front_window() {
    for (WindowRef w : windows)
        if (shows(w)) return w;
    return nullptr;
}

WindowRef front_non_floating_window() {
    for (WindowRef w : windows)
        if (shows(w) && w->layer != WindowLayer::kFloating) return w;
    return nullptr;
}

void bring_to_front(WindowRef window) {
    if (!is_live(window)) return;
    unlink(window);
    insert_at(window, front_of_layer(window->layer));
    if (shows(window)) mark_window_area(window);
    update_activation();
}

void select_window(WindowRef window) {
    bring_to_front(window);
    if (window->layer == WindowLayer::kFloating) hilite_window(window, true);
}

void send_behind(WindowRef window, WindowRef behind) {
    if (!is_live(window)) return;
    if (shows(window)) mark_screen_area(structure_of(window));
    unlink(window);
    size_t index = back_of_layer(window->layer);
    if (behind && is_live(behind) && behind->layer == window->layer) {
        auto it = std::find(windows.begin(), windows.end(), behind);
        index = size_t(it - windows.begin()) + 1;
    }
    insert_at(window, index);
    update_activation();
}

void show_window(WindowRef window) {
    if (!is_live(window) || window->visible) return;
    window->visible = true;
    if (shows(window)) mark_window_area(window);
    update_activation();
}

void hide_window(WindowRef window) {
    if (!is_live(window) || !window->visible) return;
    if (shows(window)) mark_screen_area(structure_of(window));
    window->visible = false;
    update_activation();
}

void show_hide_window(WindowRef window, bool show) {
    if (show)
        show_window(window);
    else
        hide_window(window);
}

void hilite_window(WindowRef window, bool hilite) {
    if (!is_live(window) || window->hilited == hilite) return;
    window->hilited = hilite;
    draw_frame(window);
}

void hide_floating_windows() {
    for (WindowRef w : windows)
        if (w->layer == WindowLayer::kFloating && !w->hidden_with_floaters) {
            if (shows(w)) mark_screen_area(structure_of(w));
            w->hidden_with_floaters = true;
        }
}

void show_floating_windows() {
    for (WindowRef w : windows)
        if (w->layer == WindowLayer::kFloating && w->hidden_with_floaters) {
            w->hidden_with_floaters = false;
            if (shows(w)) mark_window_area(w);
        }
}

bool floating_windows_visible() {
    return std::none_of(windows.begin(), windows.end(), [](WindowRef w) {
        return w->layer == WindowLayer::kFloating && w->hidden_with_floaters;
    });
}

// ---- Starting and stopping ---------------------------------------------------------

void windows_open() {
    add_event_source(activation_source, EventSourceOrder::kBeforeQueue);
    add_event_source(windows_detail::update_source, EventSourceOrder::kAfterQueue);
    set_wheel_proc(windows_detail::wheel_to_window);
    host_set_composer(windows_detail::compose_now);
}

void windows_close() {
    dispose_all_windows();
    remove_event_source(activation_source);
    remove_event_source(windows_detail::update_source);
    set_wheel_proc(nullptr);
    host_set_composer(nullptr);
}

}  // namespace pf
