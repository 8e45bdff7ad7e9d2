// Document-window services of the recalculation, in their least form: a layer
// given a window (SetSheetWind) stands for a document window showing it; the
// list runs through the open workbooks and their layers in order, not in the
// windows' front-to-back order.
#include "core/task_manager.h"
#include "formula/calc_services.h"
#include "model/calc_globals.h"
#include "model/workbook.h"

namespace {

// Every layer with a window, in list order; calls visit(layer, window) until it answers true.
template <typename Visit>
MemoryRef find_window_layer(Visit&& visit) {
    for (int32_t book = 0; book < count_open_workbooks(&quorvin_rsrv); ++book) {
        MemoryRef workbook = open_workbook_at(&quorvin_rsrv, book);
        for (int16_t index = 0; index < num_SpreadSheets(workbook); ++index) {
            MemoryRef layer = find_SpreadSheet_item(workbook, index);
            LayerWindow window = layer ? GetSheetWind(layer) : nullptr;
            if (window && visit(layer, window)) return layer;
        }
    }
    return nullptr;
}

}  // namespace

LayerWindow first_document_window() {
    MemoryRef layer = find_window_layer([](MemoryRef, LayerWindow) { return true; });
    return layer ? GetSheetWind(layer) : nullptr;
}

LayerWindow next_document_window(LayerWindow window) {
    bool passed = false;
    MemoryRef layer = find_window_layer([&](MemoryRef, LayerWindow w) {
        if (passed) return true;
        passed = w == window;
        return false;
    });
    return layer ? GetSheetWind(layer) : nullptr;
}

MemoryRef document_window_layer(LayerWindow window) {
    if (!window) return nullptr;
    return find_window_layer([&](MemoryRef, LayerWindow w) { return w == window; });
}

void select_document_window(LayerWindow) {}
// A long recalculation lets the front document window do its idle work.
void idle_document_windows() {
    WindowRef front = FrontDocWindow();
    TaskRecord task;
    get_task_from_window(front, &task);
    if (!front || !task.idle) return;
    EventRecord event{};
    event.where = pf::mouse_location();
    call_task_in_port(task.idle, front, &event, task.app_ref, uintptr_t(front));
}

void ChartIdle() {}
