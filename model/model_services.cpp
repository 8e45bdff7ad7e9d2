// The headless answers of the model's services: nothing is drawn, a layer has
// no drawing objects and no printed pages, fonts are the classic ones and the
// scripts' own with fixed metrics, alerts are not shown, and no preferences
// are read; no formula has a text, no change is stopped and no error told
// until the engine's upper layers answer.
#include "model/model_services.h"

#include <array>

#include "model/cell_format.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/fonts/classic_fonts.h"

namespace {

// Sizes 0 and below stand for 12.
constexpr int16_t kDefaultSize = 12;

void draw_nothing(const CellRange*, MemoryRef) {}
void invert_nothing(MemoryRef) {}

// Without a window every point of a pane is its first shown cell.
void pane_top_left(CellPoint* cell, pf::Point, int16_t pane, MemoryRef layer) {
    *cell = LayerUse(layer)->visible_ranges[pane].topLeft;
}

void select_without_highlight(CellPoint cell, const CellRange* range, MemoryRef, int16_t, MemoryRef layer) {
    set_layer_selection(cell, range, layer);
}

void no_hot_links(int16_t, CellPoint, CellPoint, MemoryRef) {}
void no_objects(MemoryRef) {}
MemoryRef no_id_list(MemoryRef) { return nullptr; }
void no_objects_to_copy(MemoryRef, MemoryRef) {}

MemoryRef no_object_offsets(int32_t, const CellRange*, MemoryRef) { return nullptr; }
MemoryRef no_deleted_objects(int16_t, const CellRange*, MemoryRef) { return nullptr; }
void keep_nothing(MemoryRef, MemoryRef, MemoryRef) {}

void no_pages(MemoryRef) {}
int16_t panes_unchanged(MemoryRef) { return 0; }
int16_t no_page(MemoryRef, int32_t) { return 0; }

std::string known_name(int16_t number) { return pf::known_font_name(number); }

int16_t known_number(std::string_view name, bool* found) {
    int16_t number = pf::known_font_number(name);
    if (found) *found = number >= 0;
    return number >= 0 ? number : int16_t(pf::kSystemFont);
}

// The line height of the system font's family, whatever the font: 1.17 times
// the size, rounded, and one.
int16_t fixed_line_height(int16_t, int16_t size) {
    if (size <= 0) size = kDefaultSize;
    return int16_t((size * 117 + 50) / 100 + 1);
}

int16_t no_port_to_measure(const unsigned char*) { return -1; }

int16_t alert_not_shown(const unsigned char*, int16_t, int16_t) { return 1; }

// No preferences are read: every byte of their default format is 0.
const uint8_t* no_preferences_format() {
    static const std::array<uint8_t, kCellFormatSize> format{};
    return format.data();
}

MemoryRef no_formula_text(int32_t, const uint8_t*, const uint8_t*, MemoryRef, MemoryGlobals*) { return nullptr; }
bool never_stopped() { return false; }
void error_not_told(int16_t) {}
void no_calculation(CellPoint, void*) {}

constexpr ModelServices kHeadless{.invalidate_cells = draw_nothing,
                                  .invert_cells = invert_nothing,
                                  .cell_at_point = pane_top_left,
                                  .select_layer_cells = select_without_highlight,
                                  .check_hot_links = no_hot_links,
                                  .clobber_all_objects = no_objects,
                                  .clobber_object_editor = no_objects,
                                  .reset_positions = no_objects,
                                  .object_id_list = no_id_list,
                                  .copy_objects = no_objects_to_copy,
                                  .object_offsets = no_object_offsets,
                                  .delete_objects = no_deleted_objects,
                                  .keep_objects_in_last_undo = keep_nothing,
                                  .dispose_object_chain = no_objects,
                                  .recompute_page_breaks = no_pages,
                                  .set_active_rects = panes_unchanged,
                                  .page_holding_cell = no_page,
                                  .name_of_font_number = known_name,
                                  .number_of_font_name = known_number,
                                  .plain_line_height = fixed_line_height,
                                  .measured_text_width = no_port_to_measure,
                                  .show_caution_alert = alert_not_shown,
                                  .preferred_cell_format = no_preferences_format,
                                  .formula_text = no_formula_text,
                                  .stop_requested = never_stopped,
                                  .report_error = error_not_told,
                                  .restart_calculation = no_calculation};

}  // namespace

ModelServices headless_model_services() { return kHeadless; }

// Constant-initialised, so that start-up code of any file may fill it.
ModelServices model_services = kHeadless;

int16_t pageNumber(MemoryRef layer, int32_t cell) { return model_services.page_holding_cell(layer, cell); }
