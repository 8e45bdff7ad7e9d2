// Drawing objects: the object record, the layer's object list and its list of
// selected objects, and the object's properties by four-character tag.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "platform/types.h"

// One drawing object, held in a memory block of its own (its "own reference").
struct ObjectRecord {
    pf::FourCC kind;
    MemoryRef self;
    uint32_t flags;  // kObjectProtected, kObjectUpdate
    int16_t id;      // unique within the layer
    uint8_t held[32];  // kept as a document stored them
    uint8_t pen_fore, pen_back, line_size, line_pattern, info, fill_pattern, fill_fore, fill_back, frame;
    uint8_t held_byte;
    int16_t anchor_row, anchor_column, end_row, end_column;
    int16_t v_offset, h_offset, height, width;  // pixels, from the anchor cell's top left
    MemoryRef region;   // cached hit region, none until drawn
    MemoryRef data;     // text-box text record, or a polygon's 16-bit words
    MemoryRef picture;  // picture bytes as stored
    MemoryRef points;   // freehand stroke: pairs of i16 (v, h)
    MemoryRef chart;    // the stored chart part, kept as the document holds it
    MemoryRef owner;    // the layer
    MemoryRef link;     // next object of a chain
    int16_t v_paste_offset, h_paste_offset;
    int16_t group;  // objects grouped together share a number (unique in the layer); 0 none
};

constexpr uint32_t kObjectProtected = 0x1;
constexpr uint32_t kObjectUpdate = 0x2;

constexpr pf::FourCC kLineObject = pf::four_cc("line");
constexpr pf::FourCC kArrowObject = pf::four_cc("arro");
constexpr pf::FourCC kDoubleArrowObject = pf::four_cc("darr");
constexpr pf::FourCC kRectObject = pf::four_cc("rect");
constexpr pf::FourCC kRoundRectObject = pf::four_cc("rndR");
constexpr pf::FourCC kOvalObject = pf::four_cc("oval");
constexpr pf::FourCC kTriangleObject = pf::four_cc("tri_");
constexpr pf::FourCC kPolygonObject = pf::four_cc("poly");
constexpr pf::FourCC kFreehandObject = pf::four_cc("pncl");
constexpr pf::FourCC kTextObject = pf::four_cc("text");
constexpr pf::FourCC kPictureObject = pf::four_cc("PICT");

// An object's record held until release_object, for a use that outlives the
// function that makes it; within one scope, an ObjectUse.
ObjectRecord* use_object(MemoryRef object);
void release_object(MemoryRef object);
using ObjectUse = MemoryUse<ObjectRecord>;

// Makes an object of the kind in the layer's object list with the defaults
// (line size 1, pattern 4, frame 1, 20 by 20, a fresh id): 1, or 0 when
// memory cannot be had. Writes an undo record when asked.
int16_t NewObject(pf::FourCC kind, MemoryRef* object, int16_t undo, MemoryRef layer);
// An object record not yet in any list, owned by the layer (or by none, for
// the clipboard: id 0), with the defaults.
MemoryRef make_object(pf::FourCC kind, MemoryRef layer);

// Lists of 32-bit references: append, position from 1 (0: absent), the entry
// at a position (0 outside the list), replace one entry by another.
void add_to_list(MemoryRef list, MemoryRef entry);
int32_t object_in_list(MemoryRef list, MemoryRef entry);
MemoryRef GetIndObject(MemoryRef list, int32_t index);
void switch_objects(MemoryRef list, MemoryRef from, MemoryRef to);

// The layer's objects.
void add_object(MemoryRef layer, MemoryRef object);
int32_t num_objects(MemoryRef layer);
MemoryRef find_object_item(MemoryRef layer, int32_t index);
// The layer's objects in stacking order (the last is drawn on top).
std::vector<MemoryRef> layer_objects(MemoryRef layer);
MemoryRef find_object_id(MemoryRef layer, int16_t id);
// Takes the object out of the object list and the selection; the object lives on.
void removeobject(MemoryRef layer, MemoryRef object);

// The layer's selected objects.
void add_selected(MemoryRef layer, MemoryRef object);
void RemoveSelected(MemoryRef layer, MemoryRef object);
int32_t is_object_selected(MemoryRef layer, MemoryRef object);
MemoryRef get_selected_object(MemoryRef layer, int32_t index);
void clear_selected_objects(MemoryRef layer);

// Frees one object with its region, picture, data, points and chart; frees a
// chain linked through "link"; removes and frees every object of a layer.
void ClobberObject(MemoryRef object);
void ClobberObjList(MemoryRef chain);
void ClobberAllObjects(MemoryRef layer);

// A deep copy of the object alone (flag 1) or of its whole chain, linked in
// the same order (flag 0); none when memory failed.
MemoryRef DuplicateObject(int16_t only_one, MemoryRef object);
// Copies of every object of a layer, in order, added to another layer.
void copy_layer_objects(MemoryRef from, MemoryRef to);
// Fresh ids from the layer and the layer as owner for every object of a chain.
void ResetObjectID(MemoryRef chain, MemoryRef layer);
// After objects came into the layer with ids of their own (a document read):
// the layer's counter moves past every id and group number its objects carry,
// and an object without an id, or with one another object took first, gets a
// fresh one, so that the ids stay unique in the layer.
void settle_object_ids(MemoryRef layer);

// A new list of the objects' ids (16-bit), in list order; the objects of the
// layer with the ids of a list, in its order (ids not found are skipped).
MemoryRef create_id_list(MemoryRef objects);
MemoryRef create_obj_list(MemoryRef ids, MemoryRef layer);
// The ids of the layer's drawing objects in list order, or none.
MemoryRef layer_object_ids(MemoryRef layer);

// An object property by four-character tag; unknown tags read 0 and set nothing.
intptr_t GetObj_info(MemoryRef object, pf::FourCC tag);
// The pen size of the object's lines and frame ("lsiz": 0 a hairline).
int16_t object_line_size(MemoryRef object);
void SetObj_info(MemoryRef object, pf::FourCC tag, intptr_t value);
