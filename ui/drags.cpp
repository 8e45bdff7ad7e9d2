// Drags: reading a flavour into a handle, and what the drop asks for.
#include "ui/lists_and_menus.h"
#include "core/memory_manager.h"
#include "platform/events/events.h"

namespace {

// The flavour's bytes into a new zero-filled handle, locked while it is filled.
pf::OSErr read_flavour(pf::DragRef drag, pf::DragItemRef item, pf::FourCC type, pf::Handle* data) {
    int32_t size = 0;
    if (pf::OSErr err = pf::get_flavor_data_size(drag, item, type, size)) return err;
    if (pf::OSErr err = AllocateBlock(size, kAllocateClear, data)) return err;
    bool was_locked = SetHandleLock(*data, true);
    pf::OSErr err = pf::get_flavor_data(drag, item, type, **data, size, 0);
    SetHandleLock(*data, was_locked);
    return err;
}

}  // namespace

pf::OSErr GetFlavor(pf::DragRef drag, pf::DragItemRef item, pf::FourCC type, pf::Handle* data) {
    if (data) *data = nullptr;
    pf::FlavorFlags flags = 0;
    pf::OSErr err = pf::get_flavor_flags(drag, item, type, flags);
    if (err || !data) return err;
    err = read_flavour(drag, item, type, data);
    if (err) DeleteNonNilMemory(data);
    return err;
}

bool _WEIsOptionDrag(pf::DragRef drag) {
    uint16_t now = 0, at_down = 0, at_up = 0;
    if (pf::get_drag_modifiers(drag, now, at_down, at_up) != pf::noErr) return OptionKeyDown();
    return ((at_down | at_up) & pf::kOptionKey) != 0;
}

bool DraggedToTrash(pf::DragRef) { return false; }
