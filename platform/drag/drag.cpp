// Drag records: items, their flavours, and what tracking recorded.
#include "platform/drag/drag.h"
#include "platform/drag/drag_internal.h"
#include "platform/draw/port.h"
#include "platform/draw/shapes.h"
#include "platform/windows/windows.h"

#include <algorithm>
#include <cstring>

namespace pf {

using namespace drag_detail;

namespace {

Item* find_item(DragRef drag, DragItemRef ref) {
    auto it = std::find_if(drag->items.begin(), drag->items.end(), [ref](const Item& i) { return i.ref == ref; });
    return it == drag->items.end() ? nullptr : &*it;
}

Flavour* find_flavour(Item& item, FourCC type) {
    auto it = std::find_if(item.flavours.begin(), item.flavours.end(),
                           [type](const Flavour& f) { return f.type == type; });
    return it == item.flavours.end() ? nullptr : &*it;
}

OSErr look_up(DragRef drag, DragItemRef ref, FourCC type, Flavour*& out) {
    if (!drag) return kBadDragRefErr;
    Item* item = find_item(drag, ref);
    if (!item) return kBadDragItemErr;
    out = find_flavour(*item, type);
    return out ? noErr : kBadDragFlavorErr;
}

// Asks the send procedure for a promised flavour's data.
OSErr fulfil(DragRef drag, DragItemRef ref, Flavour*& flavour) {
    if (!flavour->promised) return noErr;
    if (!drag->send_proc) return kCantGetFlavorErr;
    FourCC type = flavour->type;
    if (OSErr err = drag->send_proc(type, drag->send_refcon, ref, drag)) return err;
    // The send procedure may have added flavours: look the flavour up again.
    if (OSErr err = look_up(drag, ref, type, flavour)) return err;
    return flavour->promised ? kCantGetFlavorErr : noErr;
}

OSErr readable(DragRef drag, DragItemRef ref, FourCC type, Flavour*& flavour) {
    if (OSErr err = look_up(drag, ref, type, flavour)) return err;
    return fulfil(drag, ref, flavour);
}

}  // namespace

DragRef new_drag() { return new DragRecord; }

OSErr dispose_drag(DragRef drag) {
    if (!drag) return kBadDragRefErr;
    delete drag;
    return noErr;
}

OSErr add_drag_item_flavor(DragRef drag, DragItemRef ref, FourCC type, const void* data, int32_t size,
                           FlavorFlags flags) {
    if (!drag) return kBadDragRefErr;
    if (size < 0 || (size > 0 && !data)) return kParamErr;
    Item* item = find_item(drag, ref);
    if (!item) item = &drag->items.emplace_back(Item{.ref = ref, .bounds = {}, .flavours = {}});
    if (find_flavour(*item, type)) return kDuplicateFlavorErr;
    const auto* bytes = static_cast<const uint8_t*>(data);
    item->flavours.push_back(Flavour{.type = type,
                                     .flags = flags,
                                     .data = std::vector<uint8_t>(bytes, bytes + size),
                                     .promised = data == nullptr});
    return noErr;
}

OSErr set_drag_item_flavor_data(DragRef drag, DragItemRef ref, FourCC type, const void* data, int32_t size) {
    if (size < 0 || (size > 0 && !data)) return kParamErr;
    Flavour* flavour = nullptr;
    if (OSErr err = look_up(drag, ref, type, flavour)) return err;
    const auto* bytes = static_cast<const uint8_t*>(data);
    flavour->data.assign(bytes, bytes + size);
    flavour->promised = false;
    return noErr;
}

OSErr set_drag_send_proc(DragRef drag, DragSendDataProc proc, void* refcon) {
    if (!drag) return kBadDragRefErr;
    drag->send_proc = proc;
    drag->send_refcon = refcon;
    return noErr;
}

OSErr set_drag_item_bounds(DragRef drag, DragItemRef ref, const Rect& global) {
    if (!drag) return kBadDragRefErr;
    Item* item = find_item(drag, ref);
    if (!item) return kBadDragItemErr;
    item->bounds = global;
    return noErr;
}

OSErr get_drag_item_bounds(DragRef drag, DragItemRef ref, Rect& global) {
    if (!drag) return kBadDragRefErr;
    Item* item = find_item(drag, ref);
    if (!item) return kBadDragItemErr;
    global = item->bounds;
    return noErr;
}

OSErr count_drag_items(DragRef drag, uint16_t& count) {
    if (!drag) return kBadDragRefErr;
    count = uint16_t(drag->items.size());
    return noErr;
}

OSErr get_drag_item_reference_number(DragRef drag, uint16_t index, DragItemRef& ref) {
    if (!drag) return kBadDragRefErr;
    if (index < 1 || index > drag->items.size()) return kBadDragItemErr;
    ref = drag->items[index - 1].ref;
    return noErr;
}

OSErr get_flavor_flags(DragRef drag, DragItemRef ref, FourCC type, FlavorFlags& flags) {
    Flavour* flavour = nullptr;
    if (OSErr err = look_up(drag, ref, type, flavour)) return err;
    flags = flavour->flags;
    return noErr;
}

OSErr get_flavor_data_size(DragRef drag, DragItemRef ref, FourCC type, int32_t& size) {
    Flavour* flavour = nullptr;
    if (OSErr err = readable(drag, ref, type, flavour)) return err;
    size = int32_t(flavour->data.size());
    return noErr;
}

OSErr get_flavor_data(DragRef drag, DragItemRef ref, FourCC type, void* buffer, int32_t& size, int32_t offset) {
    Flavour* flavour = nullptr;
    if (OSErr err = readable(drag, ref, type, flavour)) return err;
    if (size < 0 || offset < 0 || (size > 0 && !buffer)) return kParamErr;
    int32_t available = std::max<int32_t>(0, int32_t(flavour->data.size()) - offset);
    size = std::min(size, available);
    if (size > 0) std::memcpy(buffer, flavour->data.data() + offset, size_t(size));
    return noErr;
}

OSErr get_drag_modifiers(DragRef drag, uint16_t& modifiers, uint16_t& at_mouse_down, uint16_t& at_mouse_up) {
    if (!drag) return kBadDragRefErr;
    modifiers = drag->modifiers;
    at_mouse_down = drag->down_modifiers;
    at_mouse_up = drag->up_modifiers;
    return noErr;
}

OSErr get_drag_mouse(DragRef drag, Point& global) {
    if (!drag) return kBadDragRefErr;
    global = drag->mouse;
    return noErr;
}

OSErr get_drag_attributes(DragRef drag, uint32_t& attributes) {
    if (!drag) return kBadDragRefErr;
    attributes = drag->attributes;
    return noErr;
}

namespace {

constexpr int16_t kHiliteWidth = 2;

// Inverts the highlight's frame: its four sides, each pixel once.
void invert_hilite(WindowRef window, const Rect& r) {
    PortScope scope(window_port(window));
    const int16_t inner_top = int16_t(r.top + kHiliteWidth), inner_bottom = int16_t(r.bottom - kHiliteWidth);
    invert_rect(Rect{r.top, r.left, inner_top, r.right});
    invert_rect(Rect{inner_bottom, r.left, r.bottom, r.right});
    invert_rect(Rect{inner_top, r.left, inner_bottom, int16_t(r.left + kHiliteWidth)});
    invert_rect(Rect{inner_top, int16_t(r.right - kHiliteWidth), inner_bottom, r.right});
}

}  // namespace

OSErr show_drag_hilite(DragRef drag, WindowRef window, const Rect& rect) {
    if (!drag) return kBadDragRefErr;
    if (!window || rect.bottom - rect.top <= 2 * kHiliteWidth || rect.right - rect.left <= 2 * kHiliteWidth)
        return kParamErr;
    hide_drag_hilite(drag);
    drag->hilite_window = window;
    drag->hilite_rect = rect;
    invert_hilite(window, rect);
    return noErr;
}

OSErr hide_drag_hilite(DragRef drag) {
    if (!drag) return kBadDragRefErr;
    if (drag->hilite_window) invert_hilite(drag->hilite_window, drag->hilite_rect);
    drag->hilite_window = nullptr;
    return noErr;
}

WindowRef drag_hilite_window(DragRef drag) { return drag ? drag->hilite_window : nullptr; }

OSErr get_drop_location(DragRef drag, DropKind& kind) {
    if (!drag) return kBadDragRefErr;
    kind = drag->drop;
    return noErr;
}

WindowRef drop_window(DragRef drag) { return drag && drag->drop == DropKind::kOurWindow ? drag->drop_window : nullptr; }

}  // namespace pf
