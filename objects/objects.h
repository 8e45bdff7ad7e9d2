// The drawing objects: the Object menu, the chains of objects, what the
// model and the documents ask of them.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"

void DoObjectMenu(MemoryRef window_record, int16_t item);
// Enables the Object menu's items for the layer's selected objects.
void set_object_menu(MemoryRef layer);

// Disposes every object of a chain linked through the objects' "link" property.
void ClobberObjList(MemoryRef chain);

// Marks the charts whose data meet the range; removes and frees every drawing
// object of a layer; ends the text editing of an object; recomputes the
// location of every object of a layer; a new list of the ids of the objects
// of a list, in list order.
void CheckHotLinks(int16_t mode, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
void ClobberAllObjects(MemoryRef layer);
void ClobberObjectEditor(MemoryRef layer);
// The cells an object is anchored to (row, column, end row, end column); 0
// when it has no anchor.
int16_t GetObjectAnchor(MemoryRef object, CellRange* anchor);
void Reset_Positions(MemoryRef layer);
MemoryRef create_id_list(MemoryRef objects);
// Asks the editor of a picture object to give it back.
int16_t Send_ComeHome_Command(uint32_t creator, uint32_t picture_id, int16_t object_id);
