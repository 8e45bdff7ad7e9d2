// Services of the window and core subsystems that the recalculation and the
// circular-reference check call. Declared here with the signatures their
// owners keep.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "model/layer.h"

// Document windows, in the order of the window list (front first): the first
// one, the one behind a window, and the layer a document window shows.
LayerWindow first_document_window();
LayerWindow next_document_window(LayerWindow window);
MemoryRef document_window_layer(LayerWindow window);
// Brings a document window to the front.
void select_document_window(LayerWindow window);
// Whether a cell is being edited in a document's entry line.
bool entry_line_editing();
// Lets the windows run their idle procedures (caret blinking).
void idle_document_windows();

// Makes a cell the active cell and the whole selection of a layer (no range,
// no object), redrawing the highlight.
void LSelect(CellPoint cell, const CellRange* range, MemoryRef object, int16_t flags, MemoryRef layer);
// Brings the charts of the layers shown in document windows up to date, at
// most one layer per call.
void ChartIdle();
