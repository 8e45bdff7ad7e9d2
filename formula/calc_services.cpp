// The headless answers of the recalculation's services: a layer given a
// window (SetSheetWind) stands for a document window showing it; the list runs
// through the open workbooks and their layers in order. Nothing is selected,
// edited or idle, and no event waits.
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

LayerWindow first_layer_window() {
    MemoryRef layer = find_window_layer([](MemoryRef, LayerWindow) { return true; });
    return layer ? GetSheetWind(layer) : nullptr;
}

LayerWindow next_layer_window(LayerWindow window) {
    bool passed = false;
    MemoryRef layer = find_window_layer([&](MemoryRef, LayerWindow w) {
        if (passed) return true;
        passed = w == window;
        return false;
    });
    return layer ? GetSheetWind(layer) : nullptr;
}

MemoryRef layer_of_window(LayerWindow window) {
    if (!window) return nullptr;
    return find_window_layer([&](MemoryRef, LayerWindow w) { return w == window; });
}

void select_nothing(LayerWindow) {}
bool not_editing() { return false; }
void nothing_idle() {}
bool no_event() { return false; }
bool not_in_front() { return false; }

constexpr CalcServices kHeadless{.front_document_window = first_layer_window,
                                 .document_window_behind = next_layer_window,
                                 .layer_shown_in = layer_of_window,
                                 .raise_document_window = select_nothing,
                                 .entry_being_edited = not_editing,
                                 .let_windows_idle = nothing_idle,
                                 .chart_idle = nothing_idle,
                                 .event_waiting = no_event,
                                 .program_in_front = not_in_front};

}  // namespace

CalcServices headless_calc_services() { return kHeadless; }

// Constant-initialised, so that start-up code of any file may fill it.
CalcServices calc_services = kHeadless;
