#include "platform/draw/paint.h"

#include "platform/draw/colour.h"
#include "platform/draw/region_internal.h"
#include "platform/screen/screen.h"

#include <cairo.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace pf {

namespace {

uint8_t hilite_mode_byte = 0xFF;

constexpr uint32_t kRgbMask = 0x00FFFFFF;
constexpr uint32_t kOpaque = 0xFF000000;

uint32_t hilite_swap(uint32_t px, const PixelRule& r) {
    uint32_t rgb = px & kRgbMask;
    if (rgb == (r.hilite_back & kRgbMask)) return r.hilite;
    if (rgb == (r.hilite & kRgbMask)) return r.hilite_back;
    return px;
}

uint32_t halfway(uint32_t a, uint32_t b) { return kOpaque | (((a & 0xFEFEFE) >> 1) + ((b & 0xFEFEFE) >> 1)); }

// Each channel: source * weight + destination * (255 - weight), over 255.
uint32_t blend(uint32_t src, uint32_t dst, uint32_t weight) {
    uint32_t out = kOpaque;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF, w = (weight >> shift) & 0xFF;
        out |= ((s * w + d * (255 - w) + 127) / 255) << shift;
    }
    return out;
}

// Applies the rule to one run of pixels; `bits` is the pattern row rotated so that
// bit 0x80 falls on the run's first pixel. Solid rows take the quick fills.
void apply_run(uint32_t* px, int count, uint8_t bits, const PixelRule& r) {
    if (r.invert_source) bits = uint8_t(~bits);
    if (bits == 0x00 && r.op != PixelOp::kCopy) return;
    if (r.op == PixelOp::kCopy && (bits == 0x00 || bits == 0xFF)) {
        std::fill(px, px + count, bits ? r.fore : r.back);
        return;
    }
    if (bits == 0xFF && (r.op == PixelOp::kOr || r.op == PixelOp::kBic)) {
        std::fill(px, px + count, r.op == PixelOp::kOr ? r.fore : r.back);
        return;
    }
    if (bits == 0xFF && r.op == PixelOp::kXor) {
        for (int i = 0; i < count; ++i) px[i] ^= kRgbMask;
        return;
    }
    if (bits == 0xFF && r.op == PixelOp::kHilite) {
        for (int i = 0; i < count; ++i) px[i] = hilite_swap(px[i], r);
        return;
    }
    if (r.op == PixelOp::kCopy && count > 8) {
        uint32_t eight[8];
        for (int i = 0; i < 8; ++i) eight[i] = (bits & (0x80 >> i)) ? r.fore : r.back;
        for (int i = 0; i < count; ++i) px[i] = eight[i & 7];
        return;
    }
    for (int i = 0; i < count; ++i) {
        bool set = bits & (0x80 >> (i & 7));
        apply_source(px[i], set, set ? r.fore : r.back, kRgbMask, r);
    }
}

uint8_t rotated_row(const Pattern& pat, int v, int h) {
    uint8_t row = pat.pat[v & 7];
    int s = h & 7;
    return uint8_t((row << s) | (row >> (8 - s)));
}

void paint_image(Port& port, const std::vector<Rect>& rects, const Pattern& pat, const PixelRule& rule) {
    surface_flush(port);
    unsigned char* data = cairo_image_surface_get_data(port.surface);
    int stride = cairo_image_surface_get_stride(port.surface);
    for (const Rect& r : rects) {
        for (int v = r.top; v < r.bottom; ++v) {
            auto* row = reinterpret_cast<uint32_t*>(data + ptrdiff_t(v - port.bounds.top) * stride);
            apply_run(row + (r.left - port.bounds.left), r.width(), rotated_row(pat, v, r.left), rule);
        }
    }
    surface_changed(port);
}

// A PDF page cannot combine with what is below: copy, or, bic and dimming are drawn,
// the inverting modes are left out. Solid fills are plain colours; other
// patterns are 8 x 8 tiles, each tile made once so that a document holds it once.
struct PdfInk {
    Pattern bits;        // set bits paint `set`, clear bits `clear` unless transparent
    uint32_t set = 0, clear = 0;
    bool transparent_clear = false;
    friend bool operator==(const PdfInk&, const PdfInk&) = default;
};

PdfInk pdf_ink(const Pattern& pat, const PixelRule& rule) {
    PdfInk ink;
    for (int v = 0; v < 8; ++v) ink.bits.pat[v] = rule.invert_source ? uint8_t(~pat.pat[v]) : pat.pat[v];
    ink.transparent_clear = rule.op != PixelOp::kCopy;
    ink.set = rule.op == PixelOp::kBic ? rule.back : rule.op == PixelOp::kDim ? halfway(rule.fore, rule.back) : rule.fore;
    ink.clear = ink.transparent_clear ? 0 : rule.back;
    return ink;
}

bool every_row_is(const Pattern& pat, uint8_t row) {
    return std::all_of(std::begin(pat.pat), std::end(pat.pat), [row](uint8_t r) { return r == row; });
}

cairo_surface_t* new_tile(const PdfInk& ink) {
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(tile);
    unsigned char* data = cairo_image_surface_get_data(tile);
    if (!data) return tile;  // no memory: an error surface, which paints nothing
    int stride = cairo_image_surface_get_stride(tile);
    for (int v = 0; v < 8; ++v) {
        auto* row = reinterpret_cast<uint32_t*>(data + v * stride);
        for (int h = 0; h < 8; ++h) row[h] = (ink.bits.pat[v] & (0x80 >> h)) ? ink.set : ink.clear;
    }
    cairo_surface_mark_dirty(tile);
    return tile;
}

// The tiles made so far, kept for the whole run; a long run of distinct ones
// starts the list again.
cairo_surface_t* shared_tile(const PdfInk& ink) {
    constexpr size_t kMostTiles = 64;
    static auto& tiles = *new std::vector<std::pair<PdfInk, cairo_surface_t*>>;
    for (const auto& [known, tile] : tiles)
        if (known == ink) return tile;
    if (tiles.size() == kMostTiles) {
        for (auto& entry : tiles) cairo_surface_destroy(entry.second);
        tiles.clear();
    }
    tiles.emplace_back(ink, new_tile(ink));
    return tiles.back().second;
}

void set_pixel_source(cairo_t* cr, uint32_t px) {
    cairo_set_source_rgb(cr, ((px >> 16) & 0xFF) / 255.0, ((px >> 8) & 0xFF) / 255.0, (px & 0xFF) / 255.0);
}

// Sets the source for the fill; false when the fill paints nothing.
bool set_pdf_source(cairo_t* cr, const Port& port, const PdfInk& ink) {
    if (every_row_is(ink.bits, 0xFF)) {
        set_pixel_source(cr, ink.set);
        return true;
    }
    if (every_row_is(ink.bits, 0x00)) {
        if (ink.transparent_clear) return false;
        set_pixel_source(cr, ink.clear);
        return true;
    }
    cairo_pattern_t* source = cairo_pattern_create_for_surface(shared_tile(ink));
    cairo_pattern_set_extend(source, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(source, CAIRO_FILTER_NEAREST);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, port.bounds.left, port.bounds.top);
    cairo_pattern_set_matrix(source, &m);
    cairo_set_source(cr, source);
    cairo_pattern_destroy(source);
    return true;
}

void fill_solid(cairo_t* cr, const Port& port, const Rect& r, uint32_t px) {
    set_pixel_source(cr, px);
    cairo_rectangle(cr, r.left - port.bounds.left, r.top - port.bounds.top, r.width(), r.height());
    cairo_fill(cr);
}

// The pattern's pixels along a rectangle one pixel thin, eight of them from
// its first pixel on (bit 0x80 first); the pattern repeats every eight.
uint8_t line_bits(const Pattern& bits, const Rect& r) {
    if (r.height() == 1) return rotated_row(bits, r.top, r.left);
    uint8_t column = 0;
    for (int i = 0; i < 8; ++i)
        if (bits.pat[(r.top + i) & 7] & (0x80 >> (r.left & 7))) column = uint8_t(column | (0x80 >> i));
    return column;
}

// The dashes that draw the set pixels of a mixed eight-pixel cycle: on and
// off lengths from a set pixel after a clear one, and where the line's first
// pixel falls in them.
struct Dashes {
    double lengths[8] = {};
    int count = 0;
    double offset = 0;
};

Dashes dashes_of(uint8_t bits) {
    auto set = [bits](int i) { return (bits & (0x80 >> (i & 7))) != 0; };
    int start = 0;
    while (!(set(start) && !set(start + 7))) ++start;
    Dashes dashes;
    dashes.offset = (8 - start) % 8;
    for (int i = 0; i < 8;) {
        const bool on = set(start + i);
        int run = 0;
        for (; i < 8 && set(start + i) == on; ++i) ++run;
        dashes.lengths[dashes.count++] = run;
    }
    return dashes;
}

// A patterned line one pixel thin (a dotted grid line) as a dashed stroke.
void stroke_thin_rect(cairo_t* cr, const Port& port, const PdfInk& ink, const Rect& r) {
    if (!ink.transparent_clear) fill_solid(cr, port, r, ink.clear);
    const uint8_t bits = line_bits(ink.bits, r);
    if (bits == 0x00) return;
    if (bits == 0xFF) {
        fill_solid(cr, port, r, ink.set);
        return;
    }
    const Dashes dashes = dashes_of(bits);
    set_pixel_source(cr, ink.set);
    cairo_set_line_width(cr, 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_dash(cr, dashes.lengths, dashes.count, dashes.offset);
    const double x = r.left - port.bounds.left, y = r.top - port.bounds.top;
    if (r.height() == 1) {
        cairo_move_to(cr, x, y + 0.5);
        cairo_line_to(cr, x + r.width(), y + 0.5);
    } else {
        cairo_move_to(cr, x + 0.5, y);
        cairo_line_to(cr, x + 0.5, y + r.height());
    }
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void paint_pdf(Port& port, const std::vector<Rect>& rects, const Pattern& pat, const PixelRule& rule) {
    if (rule.op == PixelOp::kXor || rule.op == PixelOp::kHilite) return;
    const PdfInk ink = pdf_ink(pat, rule);
    const bool mixed = !every_row_is(ink.bits, 0xFF) && !every_row_is(ink.bits, 0x00);
    cairo_t* cr = cairo_create(port.surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    std::vector<Rect> areas;
    for (const Rect& r : rects) {
        if (mixed && (r.height() == 1 || r.width() == 1))
            stroke_thin_rect(cr, port, ink, r);
        else
            areas.push_back(r);
    }
    if (!areas.empty() && set_pdf_source(cr, port, ink)) {
        for (const Rect& r : areas)
            cairo_rectangle(cr, r.left - port.bounds.left, r.top - port.bounds.top, r.width(), r.height());
        cairo_fill(cr);
    }
    cairo_destroy(cr);
}

}  // namespace

PixelRule pixel_rule(const Port& port, int16_t mode) {
    PixelRule rule;
    rule.fore = pixel_of(port.fg_color);
    rule.back = pixel_of(port.bg_color);
    if (mode == kHiliteMode) {
        rule.op = PixelOp::kHilite;
    } else if (mode == kGrayishTextOr) {
        rule.op = PixelOp::kDim;
    } else if (mode == kTransparent) {
        rule.op = PixelOp::kOr;
    } else if (mode == kBlend) {
        rule.op = PixelOp::kBlend;
        rule.blend_weight = pixel_of(get_op_color());
    } else {
        int16_t base = int16_t(mode & 7);
        rule.invert_source = base >= 4;
        constexpr PixelOp kOps[4] = {PixelOp::kCopy, PixelOp::kOr, PixelOp::kXor, PixelOp::kBic};
        rule.op = kOps[base & 3];
    }
    if (rule.op == PixelOp::kXor && take_hilite()) rule.op = PixelOp::kHilite;
    if (rule.op == PixelOp::kHilite) {
        hilite_mode_byte |= kHiliteBit;
        rule.hilite = pixel_of(get_hilite_color());
        rule.hilite_back = rule.back;
    }
    return rule;
}

void apply_source(uint32_t& dst, bool set, uint32_t colour, uint32_t xor_mask, const PixelRule& r) {
    switch (r.op) {
        case PixelOp::kCopy: dst = colour; break;
        case PixelOp::kOr: if (set) dst = colour; break;
        case PixelOp::kBic: if (set) dst = r.back; break;
        case PixelOp::kXor: if (set) dst ^= xor_mask; break;
        case PixelOp::kHilite: if (set) dst = hilite_swap(dst, r); break;
        case PixelOp::kDim: if (set) dst = halfway(colour, r.back); break;
        case PixelOp::kBlend: dst = blend(colour, dst, r.blend_weight); break;
    }
}

uint32_t pixel_of(const RGBColor& c) {
    return kOpaque | (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}

RGBColor color_of_pixel(uint32_t px) {
    auto channel = [](uint32_t v) { return uint16_t((v & 0xFF) * 0x101); };
    return RGBColor{channel(px >> 16), channel(px >> 8), channel(px)};
}

void clip_to_port(const Port& port, RgnHandle shape) {
    const Rect& pr = port.port_rect;
    const Rect& b = port.bounds;
    pixman_region32_intersect_rect(&shape->r, &shape->r, pr.left, pr.top, pr.width(), pr.height());
    pixman_region32_intersect_rect(&shape->r, &shape->r, b.left, b.top, b.width(), b.height());
    if (port.vis_rgn) pixman_region32_intersect(&shape->r, &shape->r, &port.vis_rgn->r);
    if (port.clip_rgn) pixman_region32_intersect(&shape->r, &shape->r, &port.clip_rgn->r);
}

void paint_region_with(Port& port, RgnHandle shape, const Pattern& pat, int16_t mode) {
    if (!has_pixels(port)) return;
    Region clipped;
    pixman_region32_init(&clipped.r);
    pixman_region32_copy(&clipped.r, &shape->r);
    clip_to_port(port, &clipped);
    PixelRule rule = pixel_rule(port, mode);
    if (!empty_region(&clipped)) {
        std::vector<Rect> rects = region_rects(&clipped);
        if (port.kind == SurfaceKind::kPdf)
            paint_pdf(port, rects, pat, rule);
        else
            paint_image(port, rects, pat, rule);
        mark_changed(port, region_bounds(&clipped));
    }
    pixman_region32_fini(&clipped.r);
}

void mark_changed(const Port& port, const Rect& local) {
    if (local.empty()) return;
    if (port.changed) {
        port.changed(port, local);
        return;
    }
    if (!port.on_screen) return;
    const Rect& b = port.bounds;
    screen_mark_dirty(Rect{int16_t(local.top - b.top), int16_t(local.left - b.left), int16_t(local.bottom - b.top),
                           int16_t(local.right - b.left)});
}

void surface_flush(const Port& port) { cairo_surface_flush(port.surface); }

uint32_t* surface_row(const Port& port, int y) {
    unsigned char* data = cairo_image_surface_get_data(port.surface);
    return reinterpret_cast<uint32_t*>(data + y * cairo_image_surface_get_stride(port.surface));
}

void surface_changed(const Port& port) { cairo_surface_mark_dirty(port.surface); }

uint8_t get_hilite_mode() { return hilite_mode_byte; }
void set_hilite_mode(uint8_t mode) { hilite_mode_byte = mode; }
void clear_hilite_bit() { hilite_mode_byte &= uint8_t(~kHiliteBit); }

bool take_hilite() {
    bool on = !(hilite_mode_byte & kHiliteBit);
    hilite_mode_byte |= kHiliteBit;
    return on;
}

}  // namespace pf
