#include "objects/object_drag.h"

#include "core/memory_use.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "objects/object_kinds.h"
#include "objects/object_commands.h"
#include "objects/object_drawing.h"
#include "objects/object_groups.h"
#include "objects/object_mouse.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/draw/bits.h"
#include "platform/draw/picture.h"
#include "platform/draw/port.h"

namespace {

std::vector<uint8_t> block_bytes(MemoryRef block) {
    if (!block) return {};
    MemoryUse<const uint8_t> bytes(block);
    std::vector<uint8_t> copy(bytes.get(), bytes + GetByteSize(block));
    return copy;
}

// The object drawn into a picture of its size, in a world of its own.
std::vector<uint8_t> recorded_object(MemoryRef object) {
    const ObjectRecord record = *ObjectUse(object).get();
    const pf::Rect frame{0, 0, record.height, record.width};
    if (frame.bottom <= 0 || frame.right <= 0) return {};
    pf::GWorldPtr world = nullptr;
    if (pf::new_gworld(&world, 32, frame, 0) != pf::noErr) return {};
    std::vector<uint8_t> bytes;
    {
        pf::PortScope scope(&world->port);
        if (pf::PicHandle picture = pf::open_picture(frame)) {
            pf::clip_rect(frame);
            draw_object(object, frame);
            pf::close_picture();
            bytes = std::move(picture->data);
            pf::kill_picture(picture);
        }
    }
    pf::dispose_gworld(world);
    return bytes;
}

bool is_text_box(MemoryRef object) { return GetObj_info(object, pf::four_cc("type")) == kTextObject; }

}  // namespace

std::vector<uint8_t> dragged_object_picture(MemoryRef object) {
    if (GetObj_info(object, pf::four_cc("type")) == kPictureObject)
        return block_bytes(reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("pict"))));
    return recorded_object(object);
}

std::vector<uint8_t> dragged_object_text(MemoryRef object) {
    MemoryRef data = reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("data")));
    return is_text_box(object) && data ? text_box_parts(data).text : std::vector<uint8_t>();
}

std::vector<uint8_t> dragged_object_styles(MemoryRef object) {
    MemoryRef data = reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("data")));
    return is_text_box(object) && data ? text_box_parts(data).styles : std::vector<uint8_t>();
}

void Reset_Location(MemoryRef object, int16_t pane, pf::Point offset, MemoryRef layer) {
    const pf::Rect now = object_rect(object, pane, layer);
    const pf::Rect moved{int16_t(now.top + offset.v), int16_t(now.left + offset.h), int16_t(now.bottom + offset.v),
                         int16_t(now.right + offset.h)};
    move_object_to(object, moved, pane, layer);
}

void Drop_Objects(MemoryRef chain, pf::Point offset, int16_t pane, MemoryRef layer) {
    if (!chain) return;
    settle_added_kinds(chain, layer);
    ResetObjectID(chain, layer);
    renumber_groups(chain, layer);
    record_added_objects(kUndoObjectsAdded, chain, layer);
    clear_selected_objects(layer);
    for (MemoryRef object = chain; object;) {
        MemoryRef next = reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("link")));
        SetObj_info(object, pf::four_cc("link"), 0);
        add_object(layer, object);
        add_selected(layer, object);
        Reset_Location(object, pane, offset, layer);
        object = next;
    }
    DrawAllObjects(layer);
}

bool check_selected_list(MemoryRef layer) {
    for (MemoryRef object : selected_objects(layer))
        if (GetObj_info(object, pf::four_cc("prot"))) return true;
    return false;
}
