// A new document in the running program on the headless host, with
// functions that type and click into it, read its cells and pixels, and
// compare a corner of the window with a golden image.
#pragma once

#include <cairo.h>

#include "../app/app_fixture.h"
#include "golden_image.h"
#include "editing/undo.h"
#include "formula/recalc.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/paint.h"
#include "platform/draw/text.h"
#include "platform/events/keyboard.h"
#include "ui/app_prefs.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/selection_tracking.h"
#include "app/event_loop.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

class TypedRoadTest : public AppTest {
protected:
    pf::WindowRef window = nullptr;
    MemoryRef layer = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        pf::set_text_antialiasing(false);
        app_prefs.options &= ~kLayerPageBreaks;  // pictures of sheets without page-break marks
        DoFileMenu(nullptr, kFileNewItem);
        run_until_idle();
        window = pf::front_non_floating_window();
        ASSERT_NE(window, nullptr);
        layer = doc_window_layer(window_doc_record(window));
        ASSERT_NE(layer, nullptr);
    }

    void TearDown() override {
        pf::set_text_antialiasing(true);
        AppTest::TearDown();
    }

    void type(const std::string& text) {
        pf::driver_type(text);
        run_until_idle();
    }
    void press_return() {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        run_until_idle();
    }
    void enter(const std::string& text) {
        type(text);
        press_return();
    }

    pf::Point cell_point(CellPoint cell) {
        pf::Rect r;
        Cell_Location(0, &r, 1, cell, layer);
        pf::Rect content = pf::window_content_rect(window);
        return pf::Point{int16_t(content.top + (r.top + r.bottom) / 2), int16_t(content.left + (r.left + r.right) / 2)};
    }
    void click(CellPoint cell, uint16_t modifiers = 0) {
        pf::driver_click(cell_point(cell), modifiers);
        run_until_idle();
    }

    void recalculate_at_idle() {
        for (int pass = 0; pass < 5000 && stopCalc == kCalcAutoRunning; ++pass) task_master_pass();
        run_until_idle();
    }

    double value(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{row, column}, layer)) return -1;
        if (_cellType_(cell) == kCellConstant) return load_f64(_formulaPtr_(cell));
        return _resultType_(cell) < 0 ? load_f64(_resultPtr_(cell)) : -1;
    }

    uint32_t pixel(int x, int y, pf::WindowRef of = nullptr) {
        pf::Port* port = pf::window_port(of ? of : window);
        pf::surface_flush(*port);
        return pf::surface_row(*port, y - port->bounds.top)[x - port->bounds.left] & 0xFFFFFF;
    }

    // Every pixel of the window's port.
    std::vector<uint32_t> window_pixels() {
        pf::Port* port = pf::window_port(window);
        pf::surface_flush(*port);
        std::vector<uint32_t> pixels;
        const pf::Rect r = port->port_rect;
        for (int y = 0; y < r.bottom - r.top; ++y)
            for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(pf::surface_row(*port, y)[x] & 0xFFFFFF);
        return pixels;
    }

    pf::Point cell_centre(CellPoint cell) {
        pf::Rect r;
        Cell_Location(0, &r, 1, cell, layer);
        return pf::Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
    }

    // The pixels of a cell's box in the window, inside its grid lines.
    std::vector<uint32_t> cell_pixels(CellPoint cell) {
        pf::Rect r;
        Cell_Location(0, &r, 1, cell, layer);
        std::vector<uint32_t> pixels;
        for (int y = r.top + 2; y < r.bottom - 3; ++y)
            for (int x = r.left + 3; x < r.right - 3; ++x) pixels.push_back(pixel(x, y));
        return pixels;
    }
    int dark(CellPoint cell) {
        int count = 0;
        for (uint32_t p : cell_pixels(cell)) count += p < 0x404040;
        return count;
    }

    // The sheet's top-left corner as a picture, compared with its golden image.
    ::testing::AssertionResult matches_golden(const std::string& name) {
        return matches_golden(name, window, pf::Rect{0, 0, 110, 420});
    }

    // A rectangle of a window as a picture, compared with its golden image.
    ::testing::AssertionResult matches_golden(const std::string& name, pf::WindowRef of, const pf::Rect& area) {
        const int width = area.right - area.left, height = area.bottom - area.top;
        cairo_surface_t* shot = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        cairo_surface_flush(shot);
        auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(shot));
        const int stride = cairo_image_surface_get_stride(shot) / 4;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) data[y * stride + x] = pixel(area.left + x, area.top + y, of);
        cairo_surface_mark_dirty(shot);
        ::testing::AssertionResult result = matches_golden_image(shot, name);
        cairo_surface_destroy(shot);
        return result;
    }
};

