// A 1280 x 800 window of formatted cells drawn into an image port, for the
// drawing and scrolling benchmarks: numbers in several formats, texts that
// spill, faces, colours, fills and borders.
#pragma once

#include <cairo.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_cells.h"
#include "bench/bench_workbook.h"
#include "core/memory_manager.h"
#include "files/document_file.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "printing/page_breaks.h"
#include "window/pane_layout.h"
#include "model/workbook.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"
#include "window/cell_geometry.h"
#include "window/sheet_drawing.h"

namespace bench_window {

constexpr int kWidth = 1280, kHeight = 800;
constexpr int16_t kRows = 60, kColumns = 20;

struct Window : StartedLibrary {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    pf::Port port;

    explicit Window(bool filled = true) {
        uint8_t settings[kCellFormatSize];
        GetDefaultFormat(settings);
        store_u16(settings + kFmtFont, 1);
        settings[kFmtSize] = 12;
        workbook = New_WorkSheet(&quorvin_rsrv, NewFileRec(nullptr), settings);
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kLayerGridLines | kLayerHeadings, nullptr);
        if (filled) fill();
        pf::set_text_antialiasing(false);
        pf::open_port(port, surface, kWidth, kHeight);
        pf::set_port(&port);
        LayerUse sheet(layer);
        sheet->view_rect = pf::Rect{0, 0, kHeight - 15, kWidth - 15};
        sheet->sheet_colours = 32;
        set_format_extent(sheet->default_column_format, kFallbackColumnWidth);
        sheet.release();
        SetActiveRects(layer);
    }

    ~Window() {
        pf::set_port(nullptr);
        pf::close_port(port);
        cairo_surface_destroy(surface);
        DisposeWorkSheet(workbook);
    }

    void put(int16_t row, int16_t column, uint8_t type, const std::string& body, void (*format)(uint8_t*, int, int)) {
        std::vector<uint8_t> block;
        const size_t row_at = begin_row(block, row);
        format(append_cell(block, column, type, body.data(), body.size()), row, column);
        end_row(block, row_at);
        CellRange range{{row, column}, {row, column}};
        InputCell(&range, block.data(), int32_t(block.size()), layer);
    }

    // Every third column a text that spills or is cut, the others numbers in
    // several formats; faces, colours, fills and borders here and there.
    void fill() {
        for (int16_t row = 0; row < kRows; ++row)
            for (int16_t column = 0; column < kColumns; ++column) {
                auto format = [](uint8_t* cell, int row, int column) {
                    const uint8_t codes[] = {kFormatGeneral, kFormatFixed, 36, kFormatPercent, kFormatScientific, 0};
                    cell[kFmtCode] = codes[(row + column) % 6];
                    cell[kFmtFace] = uint8_t(row % 5 == 0 ? pf::kBold : 0);
                    cell[kFmtTextColour] = uint8_t(row % 7 == 0 ? 3 : 0);
                    if ((row + column) % 11 == 0) cell[kFmtPatternFore] = 6;
                    if ((row * column) % 13 == 0) store_u16(cell + kFmtBorderStyles, 0x2222);
                    if (column % 4 == 1) cell[kFmtAlign] = kAlignRight;
                };
                if (column % 3 == 0) {
                    put(row, column, kCellText, "Text of row " + std::to_string(row) + " spilling on", format);
                } else if (column % 3 == 1 && row % 2 == 0) {
                    std::string slot(kNumberSlotSize, '\0');
                    double value = (row - 20) * 1234.5678 / (column + 1);
                    std::memcpy(slot.data(), &value, 8);
                    put(row, column, kCellConstant, slot, format);
                } else {
                    std::string slot(kNumberSlotSize, '\0');
                    double value = row * 0.25 + column;
                    std::memcpy(slot.data(), &value, 8);
                    put(row, column, kCellConstant, slot, format);
                }
            }
    }

    void draw(const pf::Rect& area) {
        pf::erase_rect(area);
        pf::RgnHandle region = pf::new_region();
        pf::rect_region(region, area);
        Draw_Spreadsheet(region, layer);
        pf::dispose_region(region);
    }
};

}  // namespace bench_window
