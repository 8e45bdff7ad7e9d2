// Drawing objects through the private clipboard: copying the selected
// objects, cutting and clearing them, pasting a chain of objects, and the
// objects' flavours on the system clipboard.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

// The pixel distance from one column (row) to another of a layer: the widths
// (heights) of the lines between them, negative when `to` comes first.
int32_t hObjectOffset(MemoryRef layer, int16_t from_column, int16_t to_column);
int32_t vObjectOffset(MemoryRef layer, int16_t from_row, int16_t to_row);

// Copies of the layer's selected objects, in selection order, linked through
// "link", each with its paste offsets from the top left of the copies'
// bounding cell; none when no object is selected or memory failed.
MemoryRef copy_selected_objects(MemoryRef layer);
// Empties both clipboards and puts copies of the selected objects in the
// private one, waiting for export; 1 when done.
int16_t WriteObjectClip(MemoryRef layer);
// Cut, Copy and Clear with objects selected: remove 0 copies them, remove
// with `to_clipboard` cuts them (undo kind 24), remove alone deletes them
// (kind 23). Answers 0 done, else the alert code shown (2: an object is
// locked, 6: the workbook is locked, 25: no memory).
int16_t cut_copy_objects(MemoryRef layer, int16_t remove, int16_t to_clipboard);

// Puts a chain of objects into the layer, selected: copies of it with
// `duplicate` (undo kind 25), else the chain itself (kind 26). They land
// one cell below and right of the first selected object, or at the top left
// of the cell selection, keeping their places among themselves.
void PasteObject(MemoryRef chain, MemoryRef layer, int16_t duplicate);
// Paste of objects copied in this program: 1 when the clipboard held objects.
int16_t paste_clip_objects(MemoryRef layer);

// The system clipboard's flavours for copied objects: one text box gives its
// text, one picture its picture, anything else a picture of all of them.
void export_objects(MemoryRef chain);
// A picture taken from the system clipboard as one picture object not in any
// layer (none when the bytes are no picture or memory failed).
MemoryRef picture_object_from(const uint8_t* bytes, int32_t length);

// Frees what the private clipboard holds and zeroes it; with the flag, the
// system clipboard is emptied too.
void ClobberScrap(int16_t clear_system);
