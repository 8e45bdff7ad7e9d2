// A hidden real window standing for the document window of a fixture's layer,
// for test programs whose code reaches the window list: undo and redo bring
// the layer's window forward, which a stand-in address cannot take.
#pragma once

#include "model/layer.h"
#include "platform/windows/windows.h"

inline LayerWindow show_layer_in_hidden_window(MemoryRef layer) {
    LayerWindow window = pf::new_window(pf::Rect{60, 40, 360, 440}, nullptr, false, pf::kDocumentProc, nullptr, true, 0);
    SetSheetWind(layer, window);
    return window;
}

inline void dispose_hidden_window(LayerWindow window) { pf::dispose_window(static_cast<pf::WindowRef>(window)); }
