// Printed pages of a layer: each page drawn with the sheet's own drawing code
// (cells, grid and headings as the layer prints them, print titles repeated
// on the pages past them) at the page's scale inside its margins, with the
// header and footer in the margins; a run of pages written as a PDF document.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/draw/output.h"
#include "printing/header_footer.h"

// The paper of the layer's page format in points (portrait or turned).
struct PaperSize {
    int16_t width = 612, height = 792;
};
PaperSize layer_paper(MemoryRef layer);

// The cells printed: the print area (the whole layer without one), the
// selection, or the cells the layer's window shows.
enum class PrintedCells : uint8_t { kPrintArea, kSelection, kWindow };

// Which pages print: from `first` to `last` (from 1, clipped to the pages
// there are) of the cells chosen.
struct PrintChoice {
    int16_t first = 1;
    int16_t last = 32000;
    PrintedCells cells = PrintedCells::kPrintArea;
};

// How cells are drawn: the layer flags in force while they are (which bring
// grid lines, headings, colours and centring), and whether print titles
// repeat beside them.
struct CellLook {
    uint32_t flags;
    bool titles;
};
// The look of printed pages for a layer's flags.
CellLook printing_look(uint32_t flags);

// Draws a range of cells into the current port, their top-left (headings
// included) `offset` from the port's top-left, centred in `room` when the
// look asks; answers the size of what was drawn.
pf::Point draw_cells(MemoryRef layer, const CellRange& range, const CellLook& look, pf::Point offset, pf::Point room);

// The field values of a printed page of the layer, with the time and the
// document's name given.
HeaderFields page_fields(MemoryRef layer, int16_t page, uint32_t now, const std::string& file);

// Draws page `page` (from 1) on a PDF page the size of the layer's paper.
void draw_printed_page(pf::PdfDocument& doc, MemoryRef layer, int16_t page, const HeaderFields& fields);

// The pages the layer's notes fill after its last page (0 when its notes do
// not print), and drawing note page `index` (from 0) on the current page.
int16_t count_note_pages(MemoryRef layer);
void draw_note_page(pf::PdfDocument& doc, MemoryRef layer, int16_t index);

// Writes the chosen pages to a PDF file; false when there is nothing to
// print or the file could not be written.
bool print_layer_pdf(MemoryRef layer, const std::string& path, const PrintChoice& choice, const std::string& file,
                     uint32_t now);
