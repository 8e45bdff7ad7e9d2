// Commands on the selected drawing objects.
#include "objects/object_commands.h"

#include <cstddef>
#include <vector>

#include "model/undo_write.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_clipboard.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/text_box_editing.h"
#include "window/keyboard_navigation.h"

std::vector<MemoryRef> selected_objects(MemoryRef layer) {
    std::vector<MemoryRef> selected;
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i) selected.push_back(object);
    return selected;
}

void select_all_objects(MemoryRef layer) {
    for (MemoryRef object : layer_objects(layer)) add_selected(layer, object);
    DrawAllObjects(layer);
}

int32_t delete_selected_objects(MemoryRef layer) {
    return remove_objects_with_undo(kUndoClearObjects, selected_objects(layer), layer);
}

int16_t record_object_moves(int16_t kind, MemoryRef layer) {
    MemoryRef ids = create_id_list(LayerUse(layer)->selected_objects);
    if (!ids) return 0;
    return WriteUndo(kind, 0, nullptr, nullptr, ids, nullptr, nullptr, nullptr, nullptr, nullptr, layer);
}

namespace {

constexpr uint8_t kBackspaceKey = 8, kDeleteKey = 127;

}  // namespace

int16_t ObjectKey(uint8_t key, MemoryRef layer) {
    if (text_editor_key(key, layer)) return 1;
    if (!get_selected_object(layer, 1)) return 0;
    if (key == kBackspaceKey || key == kDeleteKey) {
        // As Clear does: locked objects and a locked workbook refuse, with a word why.
        cut_copy_objects(layer, 1, 0);
        return 1;
    }
    if (key < kKeyLeft || key > kKeyDownArrow) return 0;
    const int16_t dv = key == kKeyUpArrow ? -1 : key == kKeyDownArrow ? 1 : 0;
    const int16_t dh = key == kKeyLeft ? -1 : key == kKeyRight ? 1 : 0;
    record_object_moves(kUndoObjectsMoved, layer);
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i)
        if (!GetObj_info(object, pf::four_cc("prot"))) nudge_object(object, dv, dh, layer);
    DrawAllObjects(layer);
    return 1;
}

bool object_is_locked(MemoryRef layer) {
    MemoryRef first = get_selected_object(layer, 1);
    return first && GetObj_info(first, pf::four_cc("prot")) != 0;
}
