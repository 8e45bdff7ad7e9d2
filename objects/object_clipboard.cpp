// Drawing objects through the private clipboard and the system clipboard.
#include "objects/object_clipboard.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "core/string_utils.h"
#include "model/clip_record.h"
#include "ui/edit_refusals.h"
#include "model/undo_write.h"
#include "model/undo_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "objects/object_kinds.h"
#include "objects/object_commands.h"
#include "objects/object_drawing.h"
#include "objects/object_groups.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "objects/text_box_editing.h"
#include "platform/draw/draw.h"
#include "platform/draw/picture.h"
#include "platform/scrap/scrap.h"
#include "window/cell_geometry.h"
#include "window/selection_tracking.h"

namespace {

constexpr int16_t kLockedObjectAlert = 2;
constexpr pf::FourCC kScrapStyles = pf::four_cc("styl");

MemoryRef next_of(MemoryRef object) { return reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("link"))); }

std::vector<MemoryRef> chain_objects(MemoryRef chain) {
    std::vector<MemoryRef> objects;
    for (MemoryRef object = chain; object; object = next_of(object)) objects.push_back(object);
    return objects;
}

ObjectRecord fields_of(MemoryRef object) {
    return *ObjectUse(object).get();
}

CellPoint smallest_anchor(const std::vector<MemoryRef>& objects) {
    CellPoint least{kLastCell, kLastCell};
    for (MemoryRef object : objects) {
        const ObjectRecord r = fields_of(object);
        least.v = std::min(least.v, r.anchor_row), least.h = std::min(least.h, r.anchor_column);
    }
    return least;
}

void set_paste_offsets(const std::vector<MemoryRef>& copies, MemoryRef layer) {
    const CellPoint least = smallest_anchor(copies);
    for (MemoryRef copy : copies) {
        ObjectUse r(copy);
        r->v_paste_offset = int16_t(vObjectOffset(layer, least.v, r->anchor_row) + r->v_offset);
        r->h_paste_offset = int16_t(hObjectOffset(layer, least.h, r->anchor_column) + r->h_offset);
    }
}

bool any_locked(MemoryRef layer) {
    for (MemoryRef object : selected_objects(layer))
        if (GetObj_info(object, pf::four_cc("prot"))) return true;
    return false;
}

// Where pasted objects go: one cell past the first selected object, or the
// top left of the cell selection.
CellPoint paste_place(MemoryRef layer) {
    if (MemoryRef first = get_selected_object(layer, 1)) {
        const ObjectRecord r = fields_of(first);
        return CellPoint{int16_t(std::min<int>(r.anchor_row + 1, kLastCell)),
                         int16_t(std::min<int>(r.anchor_column + 1, kLastCell))};
    }
    LayerUse sheet(layer);
    const CellPoint place = sheet->selection.topLeft;
    return place;
}

void move_anchor(MemoryRef object, int16_t rows, int16_t columns) {
    ObjectUse r(object);
    r->anchor_row = int16_t(std::clamp(r->anchor_row + rows, 0, int(kLastCell)));
    r->anchor_column = int16_t(std::clamp(r->anchor_column + columns, 0, int(kLastCell)));
    r->v_paste_offset = r->h_paste_offset = 0;
}

// A text box's text and styles as the system clipboard's text and styles.
void put_text_box(MemoryRef data) {
    const TextBoxParts parts = text_box_parts(data);
    pf::put_scrap(pf::kScrapText, parts.text.data(), parts.text.size());
    if (!parts.styles.empty()) pf::put_scrap(kScrapStyles, parts.styles.data(), parts.styles.size());
}

void put_picture_block(MemoryRef picture) {
    pf::put_scrap(pf::kScrapPicture, MemoryUse<>(picture).get(), size_t(GetByteSize(picture)));
}

// The boxes of the copied objects at their paste offsets, moved together so
// that the smallest rectangle around them all has its top left at (0, 0).
std::vector<pf::Rect> picture_boxes(const std::vector<MemoryRef>& objects) {
    std::vector<pf::Rect> boxes;
    pf::Point least{std::numeric_limits<int16_t>::max(), std::numeric_limits<int16_t>::max()};
    for (MemoryRef object : objects) {
        const ObjectRecord r = fields_of(object);
        boxes.push_back(pf::Rect{r.v_paste_offset, r.h_paste_offset, int16_t(r.v_paste_offset + r.height),
                                 int16_t(r.h_paste_offset + r.width)});
        least.v = std::min(least.v, boxes.back().top), least.h = std::min(least.h, boxes.back().left);
    }
    for (pf::Rect& box : boxes) Offset_Rect(box, int16_t(-least.h), int16_t(-least.v));
    return boxes;
}

// A picture of the copied objects as they lie together, its frame the
// smallest rectangle around them.
void put_picture_of(const std::vector<MemoryRef>& objects) {
    if (!pf::get_port()) return;
    const std::vector<pf::Rect> boxes = picture_boxes(objects);
    pf::Rect frame{0, 0, 0, 0};
    for (const pf::Rect& box : boxes) {
        frame.bottom = std::max(frame.bottom, box.bottom);
        frame.right = std::max(frame.right, box.right);
    }
    pf::PicHandle picture = pf::open_picture(frame);
    if (!picture) return;
    pf::RgnHandle saved = pf::new_region();
    pf::get_clip(saved);
    pf::clip_rect(frame);
    for (size_t i = 0; i < objects.size(); ++i) draw_object(objects[i], boxes[i]);
    pf::set_clip(saved);
    pf::dispose_region(saved);
    pf::close_picture();
    pf::put_scrap(pf::kScrapPicture, picture->data.data(), picture->data.size());
    pf::kill_picture(picture);
}

}  // namespace

int32_t hObjectOffset(MemoryRef layer, int16_t from_column, int16_t to_column) {
    int32_t pixels = 0;
    for (int16_t c = std::min(from_column, to_column); c < std::max(from_column, to_column); ++c)
        pixels += GetColumnSize(c, layer);
    return to_column < from_column ? -pixels : pixels;
}

int32_t vObjectOffset(MemoryRef layer, int16_t from_row, int16_t to_row) {
    int32_t pixels = 0;
    for (int16_t r = std::min(from_row, to_row); r < std::max(from_row, to_row); ++r) pixels += GetRowSize(r, layer);
    return to_row < from_row ? -pixels : pixels;
}

MemoryRef copy_selected_objects(MemoryRef layer) {
    std::vector<MemoryRef> copies;
    for (MemoryRef object : selected_objects(layer)) {
        SetObj_info(object, pf::four_cc("link"), 0);
        MemoryRef copy = DuplicateObject(1, object);
        const ObjectKindProcs* added = copy ? added_kind_of(object) : nullptr;
        if (added && !added->keep_copied_values(copy, object)) {
            ClobberObjList(copy);
            copy = nullptr;
        }
        if (!copy) {
            if (!copies.empty()) ClobberObjList(copies.front());
            return nullptr;
        }
        if (!copies.empty()) SetObj_info(copies.back(), pf::four_cc("link"), reinterpret_cast<intptr_t>(copy));
        copies.push_back(copy);
    }
    if (copies.empty()) return nullptr;
    set_paste_offsets(copies, layer);
    return copies.front();
}

int16_t WriteObjectClip(MemoryRef layer) {
    MemoryRef chain = copy_selected_objects(layer);
    if (!chain) return 0;
    ClobberScrap(1);
    ClipRecord clip{};
    clip.kind = int32_t(GetObj_info(chain, pf::four_cc("type")));
    clip.export_pending = 1;
    clip.objects = chain;
    write_clip(clip);
    return 1;
}

int16_t cut_copy_objects(MemoryRef layer, int16_t remove, int16_t to_clipboard) {
    if (!remove) return WriteObjectClip(layer) ? kEditDone : refuse_with_alert(layer, kEditNoMemory);
    if (check_access(layer)) return refuse_with_alert(layer, kEditLockedWorkbook);
    if (any_locked(layer)) return refuse_with_alert(layer, kLockedObjectAlert);
    if (to_clipboard && !WriteObjectClip(layer)) return refuse_with_alert(layer, kEditNoMemory);
    remove_objects_with_undo(to_clipboard ? kUndoCutObjects : kUndoClearObjects, selected_objects(layer), layer);
    return kEditDone;
}

void PasteObject(MemoryRef chain, MemoryRef layer, int16_t duplicate) {
    if (duplicate && chain) chain = DuplicateObject(0, chain);
    if (!chain) return;
    settle_added_kinds(chain, layer);
    ResetObjectID(chain, layer);
    renumber_groups(chain, layer);
    record_added_objects(duplicate ? kUndoObjectsAdded : kUndoNewObject, chain, layer);
    const CellPoint place = paste_place(layer);
    clear_selected_objects(layer);
    const std::vector<MemoryRef> objects = chain_objects(chain);
    const CellPoint least = smallest_anchor(objects);
    for (MemoryRef object : objects) {
        move_anchor(object, int16_t(place.v - least.v), int16_t(place.h - least.h));
        add_brought_in_object(layer, object);
    }
    DrawAllObjects(layer);
}

int16_t paste_clip_objects(MemoryRef layer) {
    const ClipRecord clip = read_clip();
    if (clip.kind < 0 || !clip.objects) return 0;
    PasteObject(clip.objects, layer, 1);
    return 1;
}

void export_objects(MemoryRef chain) {
    const std::vector<MemoryRef> objects = chain_objects(chain);
    if (objects.empty()) return;
    const ObjectRecord first = fields_of(objects.front());
    if (objects.size() == 1 && first.kind == kTextObject) {
        if (first.data) put_text_box(first.data);
    } else if (objects.size() == 1 && first.kind == kPictureObject) {
        if (first.picture) put_picture_block(first.picture);
    } else {
        put_picture_of(objects);
    }
}

MemoryRef picture_object_from(const uint8_t* bytes, int32_t length) {
    const pf::Rect frame = pf::picture_frame(bytes, size_t(length));
    if (frame.height() <= 0 || frame.width() <= 0) return nullptr;
    MemoryRef object = make_object(kPictureObject, nullptr);
    if (!object) return nullptr;
    MemoryRef picture = Bytes2Memory(&mem_globals, bytes, 1, length);
    if (!picture) {
        ClobberObject(object);
        return nullptr;
    }
    ObjectUse r(object);
    r->picture = picture;
    r->height = int16_t(frame.height()), r->width = int16_t(frame.width());
    return object;
}

void ClobberScrap(int16_t clear_system) {
    clear_clip();
    if (clear_system) pf::zero_scrap();
}
