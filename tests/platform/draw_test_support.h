// A small image port for drawing tests, and pixel maps written as text.
#pragma once

#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/screen/screen.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace drawtest {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

struct ImagePort : ::testing::Test {
    static constexpr int kWidth = 64, kHeight = 48;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    pf::Port port;

    void SetUp() override {
        pf::open_port(port, surface, kWidth, kHeight);
        pf::set_port(&port);
        pf::erase_rect(port.port_rect);
    }
    void TearDown() override {
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }

    // Pixel 0xRRGGBB at surface position (x, y).
    uint32_t at(int x, int y) const {
        pf::surface_flush(port);
        return pf::surface_row(port, y)[x] & 0xFFFFFF;
    }
    void put(int x, int y, uint32_t rgb) {
        pf::surface_flush(port);
        pf::surface_row(port, y)[x] = 0xFF000000 | rgb;
        pf::surface_changed(port);
    }

    // The surface pixels of [left, right) x [top, bottom), one text line per row:
    // '#' black, '.' white, 'o' anything else.
    std::string map(int left, int top, int right, int bottom) const {
        std::string out;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                uint32_t p = at(x, y);
                out += p == kBlack ? '#' : p == kWhite ? '.' : 'o';
            }
            out += '\n';
        }
        return out;
    }

    // Every surface pixel, for comparing whole images.
    std::vector<uint32_t> snapshot() const {
        std::vector<uint32_t> all;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) all.push_back(at(x, y));
        return all;
    }
};

// A white image port of the given size, the current port while it lives.
struct ScratchPort {
    cairo_surface_t* surface;
    pf::Port port;
    pf::Port* saved = pf::get_port();

    ScratchPort(int width, int height) : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {
        pf::open_port(port, surface, width, height);
        pf::set_port(&port);
        pf::erase_rect(port.port_rect);
    }
    ~ScratchPort() {
        pf::set_port(saved);
        pf::close_port(port);
        cairo_surface_destroy(surface);
    }
    ScratchPort(const ScratchPort&) = delete;
    ScratchPort& operator=(const ScratchPort&) = delete;
};

// A region that disposes itself.
struct Rgn {
    pf::RgnHandle h = pf::new_region();
    Rgn() = default;
    explicit Rgn(pf::Rect r) { pf::rect_region(h, r); }
    ~Rgn() { pf::dispose_region(h); }
    Rgn(const Rgn&) = delete;
    Rgn& operator=(const Rgn&) = delete;
    operator pf::RgnHandle() const { return h; }
};

}  // namespace drawtest
