// The drawing objects: the Object menu, the chains of objects, what the
// model and the documents ask of them.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"

void DoObjectMenu(MemoryRef window_record, int16_t item);
// Drags a marquee from `where` and selects the objects it meets.
void Select_Object_Tool(MemoryRef window_record, pf::Point where);
// Makes an object of the tool's kind (tools 3-12) and places it by tracking the mouse from
// `where`; false when the object cannot be made.
bool CreateObject(MemoryRef window_record, int16_t tool, pf::Point where);
// The Object menu's commands on a layer's selected objects: Bring to Front,
// Send to Back, Bring Forward, Send Backward (items 1 to 4), Lock Object.
void restack_selected_objects(MemoryRef layer, int16_t item);
void toggle_object_lock(MemoryRef layer);
// The largest line width the settings dialog takes, in pixels.
constexpr int16_t kLargestLineWidth = 12;
// Gives every selected object whose property (by tag) differs the value, as
// one undo step (kind 30) over the selection, and redraws them; 0 when no
// object is selected.
int16_t set_selected_property(MemoryRef layer, pf::FourCC tag, int16_t value);
// The settings of the selected objects: line width and lock, and for text
// boxes the frame and the text's alignment (0 left, 1 centre, 2 right).
struct ObjectSettings {
    int16_t line_width;
    bool locked;
    bool text;  // the settings are a text box's
    bool framed;
    int16_t alignment;
};
ObjectSettings object_settings_of(MemoryRef object);
// The Object Settings dialog over the settings: 1 when confirmed.
int16_t object_settings_dialog(ObjectSettings* settings);
// The settings given to every selected object, as one undo step (kind 30).
void apply_object_settings(MemoryRef layer, const ObjectSettings& settings);
// Opens the settings of the first selected object and applies them to the
// selection (the double-click action); 1 when confirmed.
int16_t InfoSwitcher(MemoryRef layer, int16_t mode);
// Enables the Object menu's items for the layer's selected objects.
void set_object_menu(MemoryRef layer);

// Marks the charts whose data meet the range; ends the text editing of an object.
void CheckHotLinks(int16_t mode, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
void ClobberObjectEditor(MemoryRef layer);
// The cells an object is anchored to (row, column, end row, end column); 0
// when it has no anchor.
int16_t GetObjectAnchor(MemoryRef object, CellRange* anchor);
// Asks the editor of a picture object to give it back.
int16_t Send_ComeHome_Command(uint32_t creator, uint32_t picture_id, int16_t object_id);
