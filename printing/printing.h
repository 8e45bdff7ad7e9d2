// The printing commands of a document window: page setup, print and the
// print preview; and the page setup of a layer as those commands change it.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/dialogs/dialogs.h"
#include "printing/print_render.h"

// The page setup dialog for the window's layer: paper size, orientation,
// scale and margins.
void do_page_setup(MemoryRef record, int16_t option_key);
// The print dialog for the window's layer: a printer of the system's print
// service or a PDF file; all pages, a range of them, the selection or the
// cells the window shows. It opens with `cells` chosen.
void print_doc(MemoryRef record, PrintedCells cells = PrintedCells::kPrintArea);
// The pages of the window's layer as they will print, turned one by one and
// seen whole or at full size.
void Preview(MemoryRef record);

// The number of pages of the layer, its pages recomputed; 0, with the user
// told, when nothing on it prints.
int16_t pages_to_print(MemoryRef layer);

// Paper sizes offered, in points as they stand upright.
struct PaperChoice {
    int16_t width;
    int16_t height;
};
constexpr PaperChoice kPaperSizes[] = {{612, 792}, {612, 1008}, {792, 1224}, {842, 1191}, {595, 842}, {420, 595}};

// A layer's page setup: its paper (upright), orientation (1 portrait, 2
// landscape), scale in percent and margins (top, left, bottom, right, points).
struct PageSetupChoice {
    PaperChoice paper{612, 792};
    int16_t orientation = 1;
    int16_t scale = 100;
    int16_t margins[4] = {};
};

PageSetupChoice take_page_setup(MemoryRef layer);
// Whether the margins leave at least an inch of the paper, as it is turned,
// across and down for the cells.
bool margins_leave_room(const PageSetupChoice& choice);
// The same, telling the user when they do not and putting the focus on the
// dialog's margin field `margin_item`.
bool margins_fit_in_dialog(pf::DialogRef dialog, const PageSetupChoice& choice, int16_t margin_item);
// Stores the choice into the layer (its page format, margins and scale) and
// recomputes its pages; answers whether anything changed, and marks the
// workbook changed when it did.
bool apply_page_setup(MemoryRef layer, const PageSetupChoice& choice);
