// What the recalculation and the circular-reference check need from the
// windows, as a record of procedure slots the application fills in at
// start-up. The defaults answer as a program without windows: a layer given
// a window (SetSheetWind) stands for a document window, in the order of the
// open workbooks and their layers; no event ever waits.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/layer.h"

struct CalcServices {
    // Document windows, front first: the first one, the one behind a window,
    // and the layer a document window shows.
    LayerWindow (*front_document_window)();
    LayerWindow (*document_window_behind)(LayerWindow window);
    MemoryRef (*layer_shown_in)(LayerWindow window);
    // Brings a document window to the front.
    void (*raise_document_window)(LayerWindow window);
    // Whether a cell is being edited in a document's entry line.
    bool (*entry_being_edited)();
    // Lets the windows run their idle procedures (caret blinking).
    void (*let_windows_idle)();
    // Brings the charts of the layers shown in document windows up to date,
    // at most one layer per call.
    void (*chart_idle)();
    // Whether an event of the user waits (the calculation gives way to it).
    bool (*event_waiting)();
    // Whether the program is the front one.
    bool (*program_in_front)();
};

extern CalcServices calc_services;
CalcServices headless_calc_services();
