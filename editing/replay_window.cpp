#include "editing/replay_window.h"

#include "model/layer.h"
#include "window/document_windows.h"
#include "window/window_commands.h"

void show_window_of_layer(MemoryRef layer) {
    LayerWindow window = GetSheetWind(layer);
    if (!window) {
        window = MakeWind(nullptr, 1, layer);
        if (window) SetSheetWind(layer, window);
    } else if (window != first_document_window()) {
        select_document_window(window);
    }
}
