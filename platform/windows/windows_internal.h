// The window record and what the files of the window manager share.
#pragma once

#include "platform/windows/windows.h"

#include <string>
#include <vector>

namespace pf {

// The script of a title kept in UTF-8, no one script spelling it.
constexpr int16_t kUnicodeTitle = -2;

struct Window {
    Port port;        // the content; local (0, 0) is the content's top-left until set_origin
    Port frame_port;  // the whole structure, for drawing the frame
    cairo_surface_t* surface = nullptr;  // the structure's retained pixels

    uint16_t window_class = kDocumentWindowClass;
    uint32_t attributes = 0;
    int16_t proc_id = -1;  // definition number when made from one, else -1
    WindowLayer layer = WindowLayer::kDocument;
    int16_t kind = kApplicationWindowKind;
    uintptr_t refcon = 0;
    std::string title;  // in title_script
    int16_t title_script = kScriptRoman;  // kUnicodeTitle: UTF-8 no one script spells

    Rect content{};  // global
    Rect standard_state{};
    Rect user_state{};

    bool visible = false;
    bool hidden_with_floaters = false;
    bool hilited = false;
    bool collapsed = false;
    bool modified = false;
    bool has_proxy = false;
    int16_t pressed_part = 0;  // a frame box drawn pressed while tracked

    RgnHandle update_rgn = nullptr;  // content coordinates (0, 0 at the content's top-left)
    bool updating = false;

    WindowWheelProc wheel_proc = nullptr;
    void* wheel_user = nullptr;
};

namespace windows_detail {

// Front to back.
std::vector<WindowRef>& window_list();
bool is_live(WindowRef window);
// Whether the window shows on the screen now.
bool shows(WindowRef window);

// Frame geometry (frame.cpp); rectangles in global coordinates.
FrameInsets frame_insets_of(uint16_t window_class, uint32_t attributes);
Rect structure_of(WindowRef window);  // what shows: the title bar only when collapsed
Rect full_structure_of(WindowRef window);
Rect part_rect(WindowRef window, int16_t part);  // close, zoom, collapse, proxy, grow box; empty when none
int16_t frame_part_at(WindowRef window, Point where);  // drag, boxes or content; 0 outside
Rect title_text_rect(WindowRef window);  // the title and the proxy icon before it
void draw_frame(WindowRef window);

// Surfaces and composition (compose.cpp).
void make_surface(WindowRef window);  // (re)makes the surface for the current content size
void free_surface(WindowRef window);
void place_port(WindowRef window);    // ports follow the window's position and surface
void mark_screen_area(const Rect& global);
void mark_window_area(WindowRef window);

// Activation (list.cpp): recomputes the active window after any change of order or visibility.
void update_activation();
void forget_pending_events(WindowRef window);

// Updates (update.cpp).
void add_update(WindowRef window, const Rect& content_rect);
Rect content_local_rect(WindowRef window);  // the content in its own coordinates (0, 0, h, w)

// Event sources, the wheel procedure and the composer that windows_open installs.
bool update_source(uint16_t mask, EventRecord& event, bool take);
void wheel_to_window(Point where, int axis, int32_t delta, uint16_t modifiers);
void compose_now();

}  // namespace windows_detail

}  // namespace pf
