// The drawing objects: the Object menu, the chains of objects, what the
// model and the documents ask of them.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"

void DoObjectMenu(MemoryRef window_record, int16_t item);
// The Object menu's commands on a layer's selected objects: Bring to Front,
// Send to Back, Bring Forward, Send Backward (items 1 to 4), Lock Object.
void restack_selected_objects(MemoryRef layer, int16_t item);
void toggle_object_lock(MemoryRef layer);
// Enables the Object menu's items for the layer's selected objects.
void set_object_menu(MemoryRef layer);

// Drags a marquee from `where` and selects the objects it meets.
void Select_Object_Tool(MemoryRef window_record, pf::Point where);
// Makes an object of the tool's kind (tools 3-12) and places it by tracking the mouse from
// `where`; false when the object cannot be made.
bool CreateObject(MemoryRef window_record, int16_t tool, pf::Point where);

// Marks the charts whose data meet the range; ends the text editing of an object.
void CheckHotLinks(int16_t mode, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
void ClobberObjectEditor(MemoryRef layer);
// The cells an object is anchored to (row, column, end row, end column); 0
// when it has no anchor.
int16_t GetObjectAnchor(MemoryRef object, CellRange* anchor);
// Asks the editor of a picture object to give it back.
int16_t Send_ComeHome_Command(uint32_t creator, uint32_t picture_id, int16_t object_id);
