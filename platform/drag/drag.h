// The drag manager: drags of items between our own windows, and files or text
// dropped on them by other programs.
//
// A drag holds items (numbered by the sender), each with flavours: a
// four-character type, flags and bytes, like the clipboard's flavours. A
// flavour added without data is promised: the drag's send procedure makes it
// when a receiver first reads it. While the button is down, track_drag follows
// the mouse with the drag's outline drawn in grey by exclusive or over the
// screen, sends the tracking handler of each window it crosses the enter, in
// and leave messages, and on release hands the drag to the receive handler of
// the window under the mouse. Out of our windows, the host shows the drag to
// the program under the mouse, which may take its data (a copy) on release. A drop on no window of ours (the desktop or the
// menu bar) is not accepted: there is no folder, and so no trash, on our screen.
//
// Files and text dropped by other programs arrive as one drag per drop, given
// to the window under the mouse when the program next asks for an event: a file
// as an "hfs " flavour (HfsFlavor), text as "TEXT" (Mac Roman, CR line ends).
#pragma once

#include "platform/draw/region.h"
#include "platform/events/events.h"
#include "platform/files/files.h"
#include "platform/host/host.h"
#include "platform/types.h"
#include "platform/windows/windows.h"

#include <cstdint>
#include <string_view>

namespace pf {

struct DragRecord;
using DragRef = DragRecord*;
using DragItemRef = uint32_t;
using FlavorFlags = uint32_t;

constexpr FlavorFlags kFlavorSenderOnly = 0x0001;  // only the sender's own windows see it
constexpr FlavorFlags kFlavorNotSaved = 0x0004;

constexpr FourCC kFlavorTypeText = four_cc("TEXT");
constexpr FourCC kFlavorTypeHfs = four_cc("hfs ");
constexpr FourCC kFlavorTypePicture = four_cc("PICT");
// Text dropped by another program in UTF-8 (CR line ends) beside its "TEXT",
// when Mac Roman cannot spell all of it.
constexpr FourCC kFlavorTypeUnicodeText = four_cc("utf8");

constexpr OSErr kBadDragRefErr = -1850;
constexpr OSErr kBadDragItemErr = -1851;
constexpr OSErr kBadDragFlavorErr = -1852;
constexpr OSErr kDuplicateFlavorErr = -1853;
constexpr OSErr kCantGetFlavorErr = -1854;
constexpr OSErr kDuplicateHandlerErr = -1855;
constexpr OSErr kHandlerNotFoundErr = -1856;
constexpr OSErr kDragNotAcceptedErr = -1857;

// Tracking handler messages.
constexpr int16_t kDragTrackingEnterWindow = 2;
constexpr int16_t kDragTrackingInWindow = 3;
constexpr int16_t kDragTrackingLeaveWindow = 4;

// Drag attributes.
constexpr uint32_t kDragHasLeftSenderWindow = 0x0001;
constexpr uint32_t kDragInsideSenderApplication = 0x0002;
constexpr uint32_t kDragInsideSenderWindow = 0x0004;

// The "hfs " flavour: a dropped file, 80 bytes in the host's byte order.
#pragma pack(push, 2)
struct HfsFlavor {
    FourCC file_type = 0;
    FourCC file_creator = 0;
    uint16_t finder_flags = 0;
    FileSpec spec{};
};
#pragma pack(pop)
static_assert(sizeof(HfsFlavor) == 80, "the file flavour is 80 bytes");

// Where a drag was dropped.
enum class DropKind : uint8_t {
    kNotDropped,  // still tracking, or never tracked
    kOurWindow,   // one of our windows (see drop_window)
    kDesktop,     // the desktop or the menu bar: no receiver, no folder
    kOtherProgram,  // another program's window, which took the drag's data
};

using DragSendDataProc = OSErr (*)(FourCC type, void* refcon, DragItemRef item, DragRef drag);
using DragTrackingHandler = OSErr (*)(int16_t message, WindowRef window, void* refcon, DragRef drag);
using DragReceiveHandler = OSErr (*)(WindowRef window, void* refcon, DragRef drag);

// ---- Making a drag ------------------------------------------------------------
DragRef new_drag();
OSErr dispose_drag(DragRef drag);
// Adds a flavour to an item (made on first use, items keep the order they were
// first named in). Null data of size 0 promises the flavour to the send procedure.
OSErr add_drag_item_flavor(DragRef drag, DragItemRef item, FourCC type, const void* data, int32_t size,
                           FlavorFlags flags);
// Replaces a flavour's data (the send procedure fulfilling a promise).
OSErr set_drag_item_flavor_data(DragRef drag, DragItemRef item, FourCC type, const void* data, int32_t size);
OSErr set_drag_send_proc(DragRef drag, DragSendDataProc proc, void* refcon);
// The item's rectangle in global coordinates.
OSErr set_drag_item_bounds(DragRef drag, DragItemRef item, const Rect& global);
OSErr get_drag_item_bounds(DragRef drag, DragItemRef item, Rect& global);

// ---- Reading a drag -------------------------------------------------------------
OSErr count_drag_items(DragRef drag, uint16_t& count);
// The item at a 1-based index.
OSErr get_drag_item_reference_number(DragRef drag, uint16_t index, DragItemRef& item);
// kBadDragFlavorErr when the item lacks the flavour, kBadDragItemErr for no such item.
OSErr get_flavor_flags(DragRef drag, DragItemRef item, FourCC type, FlavorFlags& flags);
OSErr get_flavor_data_size(DragRef drag, DragItemRef item, FourCC type, int32_t& size);
// Copies up to `size` bytes from `offset`; `size` becomes the count copied.
OSErr get_flavor_data(DragRef drag, DragItemRef item, FourCC type, void* buffer, int32_t& size, int32_t offset);

// The modifier words now (or at the drop), at the press that began the drag and
// at the release that ended it.
OSErr get_drag_modifiers(DragRef drag, uint16_t& modifiers, uint16_t& at_mouse_down, uint16_t& at_mouse_up);
// The mouse (global) now, or where it was dropped.
OSErr get_drag_mouse(DragRef drag, Point& global);
OSErr get_drag_attributes(DragRef drag, uint32_t& attributes);
OSErr get_drop_location(DragRef drag, DropKind& kind);
// The window the drag was dropped on; null unless the drop kind is kOurWindow.
WindowRef drop_window(DragRef drag);

// ---- Drag highlight ---------------------------------------------------------------
// A window that can take the drag shows it by a two-pixel frame just inside
// `rect` (the window's local coordinates), drawn by inversion in the window;
// hiding draws it again, so it is gone. One window shows it at a time:
// showing it elsewhere hides it first. The drag's end hides it too.
OSErr show_drag_hilite(DragRef drag, WindowRef window, const Rect& rect);
OSErr hide_drag_hilite(DragRef drag);
// The window showing the highlight, null for none.
WindowRef drag_hilite_window(DragRef drag);

// ---- Other programs ---------------------------------------------------------------
// What a drag gives other programs: the text of its first item with a "TEXT"
// flavour and the picture of its first with a "PICT" one (made as a PNG
// image when asked for), flavours only for the sender left out.
ClipboardOffer drag_offer_for_others(DragRef drag);

// ---- Tracking -------------------------------------------------------------------
// Follows the mouse from the press in `start` until the button comes up, with
// `outline` (global; not taken) moving along, and drops. Answers the receive
// handler's result, kDragNotAcceptedErr for a window without one or for the
// desktop, kUserCanceledErr when the mouse never moved.
OSErr track_drag(DragRef drag, const EventRecord& start, RgnHandle outline);

// Handlers of one window; a second handler of a kind for the same window is
// refused with kDuplicateHandlerErr. Remove them before disposing the window.
OSErr install_tracking_handler(DragTrackingHandler handler, WindowRef window, void* refcon);
OSErr install_receive_handler(DragReceiveHandler handler, WindowRef window, void* refcon);
OSErr remove_tracking_handler(DragTrackingHandler handler, WindowRef window);
OSErr remove_receive_handler(DragReceiveHandler handler, WindowRef window);

// ---- Drops from other programs (hosts) -------------------------------------------
// A file (POSIX path, UTF-8) or text (UTF-8) dropped at the mouse position; the
// items of one drop gather until the program next asks for an event.
void receive_dropped_file(std::string_view path);
void receive_dropped_text(std::string_view utf8);

// Forgets handlers and pending drops (tests).
void drag_reset();

}  // namespace pf
