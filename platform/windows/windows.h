// Windows: the window manager of the one screen. Windows lie in three layers
// (modal dialogs above floating windows above document windows); each draws
// into its own retained surface through its port, and the screen is composed
// from those surfaces, so pixels survive overlap, XOR drawing and pixel moves.
// The window manager tells the application what to draw through update events
// and which window is active through activate events (event sources of
// platform/events); it tracks the frame's parts (drag, grow, zoom, close,
// collapse) with the mouse-polling calls.
//
// Coordinates: window positions and hit points are global; update regions and
// rectangles given to invalidate/validate are in the window port's local
// coordinates (they follow set_origin).
#pragma once

#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "platform/text/scripts.h"
#include "platform/types.h"
#include "platform/windows/window_manager.h"

#include <cstdint>
#include <string>

namespace pf {

struct Window;
using WindowRef = Window*;

// ---- Kinds, classes, variants, parts ------------------------------------------

// Window kinds the application relies on (set_window_kind).
constexpr int16_t kDialogWindowKind = 2;
constexpr int16_t kApplicationWindowKind = 8;

// Window classes.
enum : uint16_t {
    kAlertWindowClass = 1,
    kMovableAlertWindowClass = 2,
    kModalWindowClass = 3,
    kMovableModalWindowClass = 4,
    kFloatingWindowClass = 5,
    kDocumentWindowClass = 6,
    kUtilityWindowClass = 8,
    kPlainWindowClass = 13,
};

// Window attributes.
constexpr uint32_t kWindowCloseBoxAttribute = 1u << 0;
constexpr uint32_t kWindowHorizontalZoomAttribute = 1u << 1;
constexpr uint32_t kWindowVerticalZoomAttribute = 1u << 2;
constexpr uint32_t kWindowFullZoomAttribute = kWindowHorizontalZoomAttribute | kWindowVerticalZoomAttribute;
constexpr uint32_t kWindowCollapseBoxAttribute = 1u << 3;
constexpr uint32_t kWindowResizableAttribute = 1u << 4;
constexpr uint32_t kWindowSideTitlebarAttribute = 1u << 5;
constexpr uint32_t kWindowStandardDocumentAttributes =
    kWindowCloseBoxAttribute | kWindowFullZoomAttribute | kWindowCollapseBoxAttribute | kWindowResizableAttribute;

// Window definition numbers of templates: variant in the low 4 bits.
constexpr int16_t kDocumentProc = 0;
constexpr int16_t kDialogBoxProc = 1;        // modal
constexpr int16_t kPlainDialogBoxProc = 2;   // modal
constexpr int16_t kAltDialogBoxProc = 3;     // modal
constexpr int16_t kNoGrowDocProc = 4;
constexpr int16_t kMovableDialogBoxProc = 5; // movable modal
constexpr int16_t kZoomDocProc = 8;
constexpr int16_t kZoomNoGrowProc = 12;
constexpr int16_t kFloatProc = 1985;         // floating; +2 grow, +4 zoom, +8 side title bar
constexpr int16_t kFloatGrowProc = 1987;
constexpr int16_t kFloatZoomProc = 1989;
constexpr int16_t kFloatSideProc = 1993;

// Parts of the screen (find_window).
enum : int16_t {
    kInDesk = 0,
    kInMenuBar = 1,
    kInContent = 3,
    kInDrag = 4,
    kInGrow = 5,
    kInGoAway = 6,
    kInZoomIn = 7,    // the zoom box of a window in its standard state
    kInZoomOut = 8,   // the zoom box of a window in its user state
    kInCollapseBox = 11,
    kInProxyIcon = 12,
};

enum class WindowLayer : uint8_t { kDocument, kFloating, kModal };

// ---- Making and disposing -------------------------------------------------------

// A window of a class with attributes; `content` in global coordinates. It is
// made invisible, in front of its layer; its whole content is to be updated.
WindowRef create_window(uint16_t window_class, uint32_t attributes, const Rect& content);
// A window from a template's definition number (kDocumentProc ... kFloatSideProc);
// `go_away` gives a close box.
WindowRef new_window(const Rect& content, const unsigned char* title, bool visible, int16_t proc_id,
                     WindowRef behind, bool go_away, uintptr_t refcon);
// Special `behind` values of new_window.
inline WindowRef const kFirstWindowOfClass = reinterpret_cast<WindowRef>(-1);
void dispose_window(WindowRef window);
// Disposes every window (tests, shutdown).
void dispose_all_windows();

// ---- Properties -------------------------------------------------------------------

Port* window_port(WindowRef window);
WindowRef port_window(const Port* port);  // null when the port is no window's
WindowLayer window_layer(WindowRef window);
uint16_t window_class(WindowRef window);
uint32_t window_attributes(WindowRef window);
int16_t window_variant(WindowRef window);  // definition number's low 4 bits
int16_t window_kind(WindowRef window);
void set_window_kind(WindowRef window, int16_t kind);
uintptr_t window_refcon(WindowRef window);
void set_window_refcon(WindowRef window, uintptr_t refcon);
// Titles are Mac Roman, or the bytes of another script (platform/text/scripts.h)
// drawn in that script's font; window_title answers those in Mac Roman too,
// "?" for what Mac Roman cannot spell.
void set_window_title(WindowRef window, const std::string& title);
void set_window_title(WindowRef window, const std::string& title, int16_t script);
void set_window_title(WindowRef window, const unsigned char* pstr);
std::string window_title(WindowRef window);
void get_window_title(WindowRef window, Str255 title);
// A title given in UTF-8: in the one script that spells it all, else kept
// in UTF-8 and drawn in the fonts of the scripts that spell its stretches.
void set_window_title_utf8(WindowRef window, std::string_view utf8);
// The title as it reads, in UTF-8.
std::string window_title_utf8(WindowRef window);
// The title as it is drawn: its bytes and their script (a title no one script
// spells, in the script that spells most of it, "?" for the rest).
ScriptText window_title_in_script(WindowRef window);
void set_window_modified(WindowRef window, bool modified);
bool window_modified(WindowRef window);
// Whether a proxy icon shows before the title (a document with a file).
void set_window_proxy(WindowRef window, bool has_proxy);
bool window_visible(WindowRef window);  // shown (and not hidden with the floating layer)
bool window_hilited(WindowRef window);
bool window_collapsed(WindowRef window);
bool is_floating_window(WindowRef window);
bool is_modal_window(WindowRef window);

// Structure (frame included) and content, global.
Rect window_struct_rect(WindowRef window);
Rect window_content_rect(WindowRef window);
// Frame widths around the content of a window of this class and attributes.
struct FrameInsets {
    int16_t top = 0, left = 0, bottom = 0, right = 0;
};
FrameInsets window_frame_insets(WindowRef window);

// ---- Order and visibility -------------------------------------------------------

// Front-to-back, hidden windows included; null after the last.
WindowRef first_window();
WindowRef next_window(WindowRef window);
// The first visible window; the first visible window that is not floating.
WindowRef front_window();
WindowRef front_non_floating_window();

// Brings the window to the front of its layer, hilites it and makes it the
// active window (floating windows do not take activation from the document).
void select_window(WindowRef window);
void show_window(WindowRef window);
void hide_window(WindowRef window);
void show_hide_window(WindowRef window, bool show);
void bring_to_front(WindowRef window);
// Puts the window behind `behind` (within its layer); null sends it to the back of its layer.
void send_behind(WindowRef window, WindowRef behind);
void hilite_window(WindowRef window, bool hilite);

// Suspend/resume: the floating layer hidden and shown as a whole.
void hide_floating_windows();
void show_floating_windows();
bool floating_windows_visible();

// ---- Geometry -----------------------------------------------------------------------

// Moves the content's top-left to the global point; `front` selects the window too.
void move_window(WindowRef window, int16_t h, int16_t v, bool front);
// New content size; with `update` the newly shown area is added to the update region.
void size_window(WindowRef window, int16_t width, int16_t height, bool update);
// Standard (zoomed out) and user states: content rectangles, global.
void set_window_standard_state(WindowRef window, const Rect& content);
Rect window_standard_state(WindowRef window);
void set_window_user_state(WindowRef window, const Rect& content);
Rect window_user_state(WindowRef window);
// Zooms to the standard state (kInZoomOut) or the user state (kInZoomIn).
void zoom_window(WindowRef window, int16_t part, bool front);
void collapse_window(WindowRef window, bool collapse);

// ---- Hit testing and tracking -----------------------------------------------------

// The part of the screen under a global point and the window there (null for
// the desk and the menu bar).
int16_t find_window(Point where, WindowRef* window);
// Moves the window with the mouse while the button is down, within `bounds`
// (global; the mouse is kept inside them). Selects the window first unless
// Command is held.
void drag_window(WindowRef window, Point start, const Rect& bounds);
// Follows the mouse with an outline of the new size; answers the new content size
// (height << 16 | width), or 0 when it did not change. `limits`: minimum height
// and width in top and left, maximum in bottom and right.
uint32_t grow_window(WindowRef window, Point start, const Rect& limits);
// Tracks a click in the close box / the zoom box (part) / the collapse box:
// highlights the box while the mouse is inside; answers whether it was released there.
bool track_go_away(WindowRef window, Point start);
bool track_box(WindowRef window, Point start, int16_t part);

// The proxy icon cannot be dragged elsewhere: answers kUserWantsToDragWindowErr,
// and the caller drags the window instead.
constexpr OSErr kUserWantsToDragWindowErr = -5607;
OSErr track_window_proxy_drag(WindowRef window, Point start);
// Whether a mouse-down asks for the pop-up of the window's path: Command held
// and the point on the title or the proxy icon.
bool is_window_path_select_click(WindowRef window, const EventRecord& event);

// ---- Updates --------------------------------------------------------------------

void inval_window_rect(WindowRef window, const Rect& local);
void inval_window_region(WindowRef window, RgnHandle local);
void valid_window_rect(WindowRef window, const Rect& local);
void valid_window_region(WindowRef window, RgnHandle local);
// The pending update region, local coordinates.
void get_window_update_region(WindowRef window, RgnHandle local);
// begin_update: the visible region becomes the part to update (local), and the
// update region empties; end_update: the whole content is visible again.
void begin_update(WindowRef window);
void end_update(WindowRef window);

// Draws the grow box in the content's bottom-right corner (windows that can grow).
void draw_grow_icon(WindowRef window);

// ---- Mouse ------------------------------------------------------------------------

// The mouse in the current port's local coordinates.
void get_mouse(Point& local);

// Mouse-wheel turns over a window go to its handler; answering false lets the
// turn pass (it is dropped).
using WindowWheelProc = bool (*)(WindowRef window, int axis, int32_t delta, uint16_t modifiers, void* user);
void set_window_wheel_handler(WindowRef window, WindowWheelProc proc, void* user);

// ---- Screen -------------------------------------------------------------------------

// The screen, and the desktop: the screen below the menu bar.
Rect screen_bounds();
Rect desktop_bounds();
int16_t menu_bar_height();

// Composes the screen now: desktop and windows in every area that changed.
void compose_screen();
// Composes a screen area (global) again at the next present, so that whatever was
// drawn straight on the screen there (a menu that closed, a drag outline) goes.
void recompose_screen_area(const Rect& global);

}  // namespace pf
