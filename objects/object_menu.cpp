// The Object menu: the stacking order of the selected objects and their lock.
#include <algorithm>
#include <vector>

#include "model/undo_write.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_commands.h"
#include "objects/object_kinds.h"
#include "objects/object_groups.h"
#include "objects/object_placement.h"
#include "objects/objects.h"
#include "objects/picture_files.h"
#include "platform/menus/menus.h"
#include "window/front_document.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

bool all_locked(MemoryRef layer) {
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i)
        if (!GetObj_info(object, pf::four_cc("prot"))) return false;
    return true;
}

// The objects in their new stacking order (the list's last is drawn on top).
std::vector<MemoryRef> restacked(std::vector<MemoryRef> list, int16_t item, MemoryRef layer) {
    auto selected = [&](MemoryRef object) { return is_object_selected(layer, object) != 0; };
    if (item == kObjectToFrontItem) std::stable_partition(list.begin(), list.end(), [&](MemoryRef o) { return !selected(o); });
    if (item == kObjectToBackItem) std::stable_partition(list.begin(), list.end(), selected);
    if (item == kObjectForwardItem)
        for (size_t i = list.size(); i-- > 1;)
            if (selected(list[i - 1]) && !selected(list[i])) std::swap(list[i - 1], list[i]);
    if (item == kObjectBackwardItem)
        for (size_t i = 1; i < list.size(); ++i)
            if (selected(list[i]) && !selected(list[i - 1])) std::swap(list[i - 1], list[i]);
    return list;
}

constexpr int16_t undo_kind_of(int16_t item) {
    return item == kObjectToFrontItem ? kUndoObjectsToFront
           : item == kObjectToBackItem ? kUndoObjectsToBack
           : item == kObjectForwardItem ? kUndoObjectsForward
                                  : kUndoObjectsBackward;
}

// The ids of the selected objects a lock (unlock) changes, so that undo
// leaves those that were locked (unlocked) already as they were.
MemoryRef changing_ids(MemoryRef layer, bool lock) {
    MemoryRef ids = pgAllocateNewRef(GetMemoryGlobals(layer), sizeof(int16_t), 0, 8, true);
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i)
        if ((GetObj_info(object, pf::four_cc("prot")) != 0) != lock) {
            auto id = int16_t(GetObj_info(object, pf::four_cc("id  ")));
            PtrAndMemory(&id, ids, 1);
        }
    return ids;
}

}  // namespace

void restack_selected_objects(MemoryRef layer, int16_t item) {
    WriteUndo(undo_kind_of(item), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, layer);
    std::vector<MemoryRef> order = restacked(layer_objects(layer), item, layer);
    MemoryRef list = LayerUse(layer)->objects;
    MemoryUse<MemoryRef> entries(list);
    std::copy(order.begin(), order.end(), entries.get());
    entries.release();
    DrawAllObjects(layer);
}

void toggle_object_lock(MemoryRef layer) {
    const bool lock = !all_locked(layer);
    MemoryRef ids = changing_ids(layer, lock);
    WriteUndo(lock ? kUndoObjectsLocked : kUndoObjectsUnlocked, 0, nullptr, nullptr, ids, nullptr, nullptr, nullptr,
              nullptr, nullptr, layer);
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i)
        SetObj_info(object, pf::four_cc("prot"), lock);
}

void DoObjectMenu(MemoryRef window_record, int16_t item) {
    if (!window_record) window_record = front_document_record();
    MemoryRef layer = window_record ? doc_window_layer(window_record) : nullptr;
    if (layer && item == kObjectPlacePictureItem) return place_picture_command(layer);
    if (!layer || !get_selected_object(layer, 1)) return;
    if (item >= kObjectToFrontItem && item <= kObjectBackwardItem) restack_selected_objects(layer, item);
    if (item == kObjectLockItem) toggle_object_lock(layer);
    if (item == kObjectGroupItem) group_selected_objects(layer);
    if (item == kObjectUngroupItem) ungroup_selected_objects(layer);
}

void set_object_menu(MemoryRef layer) {
    pf::MenuRef menu = pf::get_menu_handle(kObjectMenu);
    if (!menu) return;
    const bool selected = layer && get_selected_object(layer, 1);
    for (int16_t item = 1; item <= kObjectDrawingToolsItem; ++item) pf::disable_menu_item(menu, item);
    for (int16_t item : {kObjectToFrontItem, kObjectToBackItem, kObjectForwardItem, kObjectBackwardItem, kObjectLockItem})
        if (selected) pf::enable_menu_item(menu, item);
    if (selected && can_group(layer)) pf::enable_menu_item(menu, kObjectGroupItem);
    if (selected && can_ungroup(layer)) pf::enable_menu_item(menu, kObjectUngroupItem);
    for (int16_t item : {kObjectDrawingToolsItem, kObjectPlacePictureItem}) {
        if (layer) pf::enable_menu_item(menu, item);
        else pf::disable_menu_item(menu, item);
    }
    pf::check_menu_item(menu, kObjectLockItem, selected && all_locked(layer));
    for (const ObjectKindProcs& added : added_object_kinds()) added.set_menus(menu, layer);
}
