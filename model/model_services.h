// What the model needs from the window, editing, drawing-object and printing
// subsystems and from the preferences, as a record of procedure slots the
// application fills in at start-up. The defaults answer as a program without
// windows: nothing is drawn, a layer has no objects or pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/alert_kinds.h"
#include "core/memory_manager.h"
#include "model/cell_range.h"

struct ModelServices {
    // Window: invalidates the rows of a range in every shown pane of the
    // layer's window; inverts the selection highlight; the cell under a pane's
    // pixel point.
    void (*invalidate_cells)(const CellRange* range, MemoryRef layer);
    void (*invert_cells)(MemoryRef layer);
    void (*cell_at_point)(CellPoint* cell, pf::Point where, int16_t pane, MemoryRef layer);
    // Makes a cell the active cell and the whole selection of a layer (or a
    // range with the cell active), redrawing the highlight.
    void (*select_layer_cells)(CellPoint cell, const CellRange* range, MemoryRef object, int16_t flags,
                               MemoryRef layer);

    // Drawing objects: marks the charts whose data meet the range; removes and
    // frees every drawing object of a layer; ends the text editing of an
    // object; recomputes the location of every object of a layer; a new list
    // of the ids of the objects of a list, in list order; copies of a layer's
    // objects given to another layer.
    void (*check_hot_links)(int16_t mode, CellPoint top_left, CellPoint bottom_right, MemoryRef layer);
    void (*clobber_all_objects)(MemoryRef layer);
    void (*clobber_object_editor)(MemoryRef layer);
    void (*reset_positions)(MemoryRef layer);
    MemoryRef (*object_id_list)(MemoryRef objects);
    void (*copy_objects)(MemoryRef from, MemoryRef to);

    // Editing: the drawing objects' positions before a change, moving those at
    // or past the range's first row or column by the counts (rows in the low
    // half, columns in the high half); the objects inside a range taken out
    // (kept, chained, when asked); the objects and their id list kept in the
    // last undo record; disposes of a chain of drawing objects an undo record held.
    MemoryRef (*object_offsets)(int32_t counts, const CellRange* range, MemoryRef layer);
    MemoryRef (*delete_objects)(int16_t keep, const CellRange* range, MemoryRef layer);
    void (*keep_objects_in_last_undo)(MemoryRef objects, MemoryRef ids, MemoryRef layer);
    void (*dispose_object_chain)(MemoryRef chain);

    // Printing: recomputes the page breaks; recomputes the pane rectangles
    // (non-zero when they changed); the printed page that holds a cell (row in
    // the low half, column in the high; 0 when none).
    void (*recompute_page_breaks)(MemoryRef layer);
    int16_t (*set_active_rects)(MemoryRef layer);
    int16_t (*page_holding_cell)(MemoryRef layer, int32_t cell);

    // Fonts: the name of a font number ("" when unknown); the number of a
    // font name (the system font, not found, when unknown); the line height
    // (ascent, descent and leading) of a font at a size, plain; the width of a
    // text in the current port's font (-1 when there is no port to measure in).
    std::string (*name_of_font_number)(int16_t number);
    int16_t (*number_of_font_name)(std::string_view name, bool* found);
    int16_t (*plain_line_height)(int16_t font, int16_t size);
    int16_t (*measured_text_width)(const unsigned char* text);

    // A caution or stop alert with a message (or the alert's own text).
    int16_t (*show_caution_alert)(const unsigned char* message, int16_t alert, int16_t kind);
    // The preferences' default cell format (32 bytes) for new workbooks and
    // layers and for the dates of typed entries.
    const uint8_t* (*preferred_cell_format)();

    // Answered by the engine's own upper layers (install_engine_answers):
    // the text of a stored formula of a cell (column in the high half, row in
    // the low) in a new block, null when there is none; whether the user asked
    // a long change to stop; tells the user of an error that ended a change;
    // starts the recalculation again from a cell of a layer's window.
    MemoryRef (*formula_text)(int32_t cell, const uint8_t* first, const uint8_t* end, MemoryRef layer,
                              MemoryGlobals* memory);
    bool (*stop_requested)();
    void (*report_error)(int16_t error);
    void (*restart_calculation)(CellPoint start, void* window);
};

extern ModelServices model_services;
ModelServices headless_model_services();

// The printed page that holds a cell, through the slot (0 when none).
int16_t pageNumber(MemoryRef layer, int32_t cell);
