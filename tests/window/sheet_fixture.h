// A layer drawn into an image port as a document window would show it:
// cells stored directly, the layer laid out for a window size, drawn with
// Draw_Spreadsheet; golden images compared pixel for pixel.
#pragma once

#include <cairo.h>

#include <cstdlib>
#include <string>

#include "../formula/recalc_fixture.h"
#include "../support/hidden_layer_window.h"
#include "model/cell_formats.h"
#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/draw/text.h"
#include "printing/page_breaks.h"
#include "window/pane_layout.h"
#include "window/cell_geometry.h"
#include "window/sheet_drawing.h"
#include "window/sheet_frame.h"

namespace sample_colours {
inline constexpr uint8_t kRed = 3, kBlue = 5, kYellow = 6, kGreen = 4;
}  // namespace sample_colours

class SheetTest : public RecalcTest {
protected:
    int width = 0, height = 0;
    cairo_surface_t* surface = nullptr;
    pf::Port port;

    void SetUp() override {
        RecalcTest::SetUp();
        shown_window = show_layer_in_hidden_window(layer);
        pf::set_text_antialiasing(false);
        SetSheetColors(layer, 32);
        open_window(640, 400);
    }

    void TearDown() override {
        close_window();
        pf::set_text_antialiasing(true);
        RecalcTest::TearDown();
        dispose_hidden_window(shown_window);
    }

    void open_window(int w, int h) {
        close_window();
        width = w;
        height = h;
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        pf::open_port(port, surface, w, h);
        pf::set_port(&port);
        lay_out();
    }

    void close_window() {
        if (!surface) return;
        pf::set_port(nullptr);
        pf::close_port(port);
        cairo_surface_destroy(surface);
        surface = nullptr;
    }

    // The panes of the layer for the window's size (the view less the scroll-bar strips).
    void lay_out() {
        SpreadSheet* sheet = use_layer(layer);
        sheet->view_rect = pf::Rect{0, 0, int16_t(height - 15), int16_t(width - 15)};
        release_layer(layer);
        reset_page(layer);
        SetActiveRects(layer);
    }

    pf::Rect pane_rect(int16_t pane) {
        pf::Rect r;
        GetPaneRect(&r, pane, layer);
        return r;
    }

    CellRange visible(int16_t pane) {
        CellRange r;
        GetVisibleCells(&r, pane, layer);
        return r;
    }

    void set_selection(CellRange range) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->selection = range;
        release_layer(layer);
    }

    // Split panes (dividers in pixels, 0 none) or frozen titles, laid out.
    void set_dividers(int16_t row_split, int16_t column_split) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->v_divider = row_split;
        sheet->h_divider = column_split;
        release_layer(layer);
        lay_out();
    }

    void freeze(CellRange titles) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->frozen_titles = titles;
        sheet->flags |= kLayerFrozenTitles;
        release_layer(layer);
        lay_out();
    }

    // Page-break marks shown, for pages of the given printable size.
    void show_page_breaks(const pf::Rect& page) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->printable_rect = page;
        sheet->flags |= kLayerPageBreaks;
        release_layer(layer);
    }

    void scroll_to(int16_t pane, CellPoint top_left) {
        SpreadSheet* sheet = use_layer(layer);
        sheet->visible_ranges[pane].topLeft = top_left;
        release_layer(layer);
        SetActiveRects(layer);
    }

    void draw() {
        pf::set_port(&port);
        pf::erase_rect(port.port_rect);
        pf::RgnHandle area = pf::new_region();
        pf::rect_region(area, pf::Rect{0, 0, int16_t(height - 15), int16_t(width - 15)});
        Draw_Spreadsheet(area, layer);
        pf::dispose_region(area);
    }

    uint32_t pixel(int x, int y) const {
        pf::surface_flush(port);
        return pf::surface_row(port, y)[x] & 0xFFFFFF;
    }

    // ---- Cells and formats ----

    uint8_t* cell_bytes(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        get_cell_ptr(&cell, &length, CellPoint{row, column}, layer);
        return cell;
    }

    void set_byte(int16_t row, int16_t column, int field, uint8_t value) { cell_bytes(row, column)[field] = value; }

    void set_borders(int16_t row, int16_t column, int left, int top, int right, int bottom) {
        store_u16(cell_bytes(row, column) + kFmtBorderStyles, uint16_t(left << 12 | top << 8 | right << 4 | bottom));
    }

    // A text cell with a note.
    void put_noted_text(int16_t row, int16_t column, const std::string& text,
                        const std::string& note) {
        std::vector<uint8_t> block(kRowHeaderSize + kCellHeaderSize + note.size() + text.size(), 0);
        _SetRowID_(block.data(), row);
        _SetRowLength_(block.data(), uint32_t(block.size()));
        uint8_t* cell = block.data() + kRowHeaderSize;
        GetDefaultFormat(cell);
        _SetCellID_(cell, column);
        cell[kFmtCellType] = kCellText;
        cell[kFmtLabelLength] = 0;
        cell[kFmtNoteLength] = uint8_t(note.size());
        _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
        _SetFormulaLength_(cell, int16_t(text.size()));
        _SetResultType_(cell, 0);
        store_i16(cell + kFmtStyleLength, 0);
        std::memcpy(_notePtr_(cell), note.data(), note.size());
        std::memcpy(_formulaPtr_(cell), text.data(), text.size());
        CellRange range{{row, column}, {row, column}};
        InputCell(&range, block.data(), int32_t(block.size()), layer);
    }

    // A text cell with style runs: each run's start, font, face, size and colour.
    struct Run {
        int32_t start;
        int16_t font;
        uint8_t face;
        int16_t size;
        pf::RGBColor colour;
    };
    void put_styled_text(int16_t row, int16_t column, const std::string& text, const std::vector<Run>& runs) {
        std::vector<uint8_t> table(2 + runs.size() * 20, 0);
        store_i16(table.data(), int16_t(runs.size()));
        for (size_t i = 0; i < runs.size(); ++i) {
            uint8_t* entry = table.data() + 2 + i * 20;
            store_i32(entry, runs[i].start);
            store_i16(entry + 8, runs[i].font);
            entry[10] = runs[i].face;
            store_i16(entry + 12, runs[i].size);
            store_u16(entry + 14, runs[i].colour.red);
            store_u16(entry + 16, runs[i].colour.green);
            store_u16(entry + 18, runs[i].colour.blue);
        }
        put_cell(row, column, kCellText, std::vector<uint8_t>(text.begin(), text.end()), table, 0);
        store_i16(cell_bytes(row, column) + kFmtStyleLength, int16_t(table.size()));
    }

    // A cell holding only a format.
    void put_format_only(int16_t row, int16_t column) { put_cell(row, column, kCellFormatOnly, {}, {}, 0); }

    void set_column_width(int16_t first, int16_t last, int16_t pixels) {
        InputColumnFormat(layer, int32_t(first) << 16 | last);
        SetColumnSize(first, last, pixels, GetSpreadSheetColumnFormats(layer));
    }

    void set_column_name(int16_t column, const std::string& name) {
        InputColumnFormat(layer, int32_t(column) << 16 | column);
        uint8_t* record = FindColumnFormatID(GetSpreadSheetColumnFormats(layer), column);
        record[kColumnNameOffset] = uint8_t(name.size());
        std::memcpy(record + kColumnNameOffset + 1, name.data(), name.size());
        UnuseMemory(GetSpreadSheetColumnFormats(layer));
    }

    void set_byte_of_column(int16_t column, int field, uint8_t value) {
        InputColumnFormat(layer, int32_t(column) << 16 | column);
        SetColumnByte(column, column, int16_t(field), value, false, GetSpreadSheetColumnFormats(layer));
    }

    void set_borders_of_column(int16_t column, int left, int top, int right, int bottom) {
        InputColumnFormat(layer, int32_t(column) << 16 | column);
        uint8_t* record = FindColumnFormatID(GetSpreadSheetColumnFormats(layer), column);
        store_u16(record + kFmtBorderStyles, uint16_t(left << 12 | top << 8 | right << 4 | bottom));
        UnuseMemory(GetSpreadSheetColumnFormats(layer));
    }

    void set_borders_of_row(int16_t row, int left, int top, int right, int bottom) {
        InputRowFormat(layer, int32_t(row) << 16 | row);
        uint8_t* record = FindRowFormatID(GetSpreadSheetRowFormats(layer), row);
        store_u16(record + kFmtBorderStyles, uint16_t(left << 12 | top << 8 | right << 4 | bottom));
        UnuseMemory(GetSpreadSheetRowFormats(layer));
    }

    void set_byte_of_row(int16_t row, int field, uint8_t value) {
        InputRowFormat(layer, int32_t(row) << 16 | row);
        SetRowByte(row, row, int16_t(field), value, false, GetSpreadSheetRowFormats(layer));
    }

    void set_row_height(int16_t first, int16_t last, int16_t pixels) {
        InputRowFormat(layer, int32_t(first) << 16 | last);
        SetRowSize(first, last, pixels, GetSpreadSheetRowFormats(layer));
    }

    // ---- The sample sheet ----

    // Texts spilling left, right and both ways, numbers too wide, wrapped,
    // stacked and justified text, faces, colours, fills and a note.
    void fill_formatted_sheet() {
        put_text(0, 0, "Left text spills over empty cells");
        put_text(0, 4, "Stops");
        put_text(1, 3, "Right text spills left");
        set_byte(1, 3, kFmtAlign, kAlignRight);
        put_text(2, 2, "Centred spills both ways");
        set_byte(2, 2, kFmtAlign, kAlignCentre);
        put_number(3, 1, 123456789.5);
        put_number(3, 2, 3.25);
        put_number(3, 0, -42);
        set_byte(3, 0, kFmtFlagsA, 0x10);
        set_column_width(1, 1, 40);
        put_text(4, 0, "Wrapped text breaks into lines inside its cell");
        set_byte(4, 0, kFmtAlign, kAlignWrap);
        set_row_height(4, 4, 64);
        put_text(4, 1, "Tall");
        set_byte(4, 1, kFmtAlign, kAlignVertical | kAlignCentre);
        set_byte(4, 1, kFmtFlagsA, kFlagAVerticalMiddle);
        put_text(4, 2, "Justified words here");
        set_byte(4, 2, kFmtAlign, kAlignWrap | kAlignJustify);
        put_text(5, 0, "Bold");
        set_byte(5, 0, kFmtFace, pf::kBold);
        put_text(5, 1, "Italic 9");
        set_byte(5, 1, kFmtFace, pf::kItalic);
        set_byte(5, 1, kFmtSize, 9);
        put_text(5, 2, "Red text");
        set_byte(5, 2, kFmtTextColour, sample_colours::kRed);
        put_text(5, 3, "Filled");
        set_byte(5, 3, kFmtPatternFore, sample_colours::kYellow);
        put_format_only(5, 4);
        set_byte(5, 4, kFmtPattern, 9);
        set_byte(5, 4, kFmtPatternFore, sample_colours::kBlue);
        put_noted_text(6, 0, "'Quoted", "A note");
        put_styled_text(7, 0, "Plain and Bold Blue",
                        {{0, pf::kGenevaFont, 0, 12, pf::kBlackColor},
                         {10, pf::kGenevaFont, pf::kBold, 14, pf::RGBColor{0, 0, 0xD400}}});
        set_column_name(5, "Totals of the year");
        set_byte_of_column(7, kFmtPatternFore, sample_colours::kGreen);
        set_byte_of_row(13, kFmtPattern, 5);
        set_borders_of_column(8, 4, 0, 4, 0);
        set_borders_of_row(15, 0, 6, 0, 6);
        set_column_name(6, "Qty");
        put_text(6, 2, "Top");
        set_byte(6, 2, kFmtFlagsA, kFlagAVerticalTop);
        set_row_height(6, 6, 24);
    }

    // Every border style on its own cell, and blocks whose borders join.
    void fill_borders() {
        for (int style = 2; style <= 6; ++style) {
            put_format_only(8, int16_t(style - 2));
            set_borders(8, int16_t(style - 2), style, style, style, style);
        }
        for (int16_t row : {10, 11})
            for (int16_t column : {0, 1}) {
                put_format_only(row, column);
                set_borders(row, column, 6, 6, 6, 6);
                put_format_only(row, int16_t(column + 3));
                set_borders(row, int16_t(column + 3), 4, 4, 4, 4);
            }
        put_text(10, 6, "Coloured");
        set_borders(10, 6, 2, 2, 2, 2);
        store_u32(cell_bytes(10, 6) + kFmtBorderColours, uint32_t(sample_colours::kRed) << 24 | uint32_t(sample_colours::kGreen) << 16 | sample_colours::kBlue << 8 | 2);
    }

    // ---- Images ----

    static std::string golden_path(const std::string& name) {
        return std::string(QUORVIN_SOURCE_DIR) + "/tests/window/golden/" + name + ".png";
    }

    void write_png(const std::string& path) const {
        cairo_surface_flush(surface);
        cairo_surface_write_to_png(surface, path.c_str());
    }

    // Compares the drawing with its golden image pixel for pixel; the drawing is
    // written to the build folder for people to look at, and over the golden
    // image when QUORVIN_UPDATE_GOLDEN is set.
    ::testing::AssertionResult matches_golden(const std::string& name) const {
        write_png(std::string(QUORVIN_BINARY_DIR) + "/window_" + name + ".png");
        if (std::getenv("QUORVIN_UPDATE_GOLDEN")) write_png(golden_path(name));
        cairo_surface_t* golden = cairo_image_surface_create_from_png(golden_path(name).c_str());
        if (cairo_surface_status(golden) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(golden);
            return ::testing::AssertionFailure() << "no golden image " << golden_path(name);
        }
        ::testing::AssertionResult result = ::testing::AssertionSuccess();
        if (cairo_image_surface_get_width(golden) != width || cairo_image_surface_get_height(golden) != height) {
            result = ::testing::AssertionFailure() << "golden image of another size";
        } else {
            cairo_surface_flush(golden);
            const int stride = cairo_image_surface_get_stride(golden);
            const unsigned char* data = cairo_image_surface_get_data(golden);
            int differing = 0, first_x = -1, first_y = -1;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    uint32_t expected = reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
                    if (expected != pixel(x, y) && differing++ == 0) first_x = x, first_y = y;
                }
            if (differing)
                result = ::testing::AssertionFailure()
                         << differing << " pixels differ from " << name << ", first at " << first_x << "," << first_y;
        }
        cairo_surface_destroy(golden);
        return result;
    }
};


// What DrawRow left for the last cell it drew in pane 0 of a row.
struct DrawnCell {
    std::string text;
    pf::Rect box;       // where the text could go, overflow included
    int16_t own_left, own_right;
    int16_t text_left, text_right;
    int16_t first_column, last_column;
};

inline DrawnCell draw_row_in_pane_0(MemoryRef layer, int16_t row) {
    SheetAxes axes(layer);
    const SpreadSheet* sheet = use_layer(layer);
    RowDrawState state;
    Get_WorkSheet_Defaults(&state, layer);
    state.sheet = sheet;
    state.axes = &axes;
    state.colour_style = GetSheetColors(layer);
    pf::Rect row_rect = sheet->pane_rects[0];
    row_edges(sheet, axes, 0, true, row, &row_rect);
    auto* store = static_cast<const uint8_t*>(UseMemory(sheet->cells));
    const uint8_t* end = store + GetByteSize(sheet->cells);
    const uint8_t* record = store;
    while (record < end && _RowID_(record) != row) record += _RowLength_(record);
    DrawnCell drawn{};
    if (record < end) {
        DrawRow(&row_rect, 0, record, &state);
        drawn = DrawnCell{std::string(reinterpret_cast<const char*>(state.text), size_t(state.text_length)),
                          state.box, state.own_left, state.own_right, state.text_left, state.text_right,
                          state.box_first_column, state.box_last_column};
    }
    UnuseMemory(sheet->cells);
    release_layer(layer);
    return drawn;
}
