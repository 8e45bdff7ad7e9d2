// The document windows in the window list, front to back, each with the layer
// it shows: what the recalculation walks and what undo and link opening bring
// forward.
#pragma once

#include "core/memory_manager.h"
#include "model/layer.h"

LayerWindow first_document_window();
LayerWindow next_document_window(LayerWindow window);
MemoryRef document_window_layer(LayerWindow window);
// Brings a document window to the front and makes it the active window.
void select_document_window(LayerWindow window);
// A long recalculation lets the front document window do its idle work.
void idle_document_windows();
