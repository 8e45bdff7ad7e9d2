#include "platform/draw/bits.h"

#include "platform/draw/paint.h"
#include "platform/draw/picture_record.h"
#include "platform/draw/region_internal.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace pf {

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;
constexpr uint32_t kWhitePixel = 0xFFFFFFFF;


// The raw pixel at (h, v) of a bitmap, in its own coordinates: a bit for depth 1, an
// index for depth 8, 0x00RRGGBB for depth 32.
uint32_t raw_pixel(const BitMap& bm, int h, int v) {
    const uint8_t* row = bm.base + ptrdiff_t(v - bm.bounds.top) * bm.row_bytes;
    int x = h - bm.bounds.left;
    switch (bm.depth) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 8: return row[x];
        default: return reinterpret_cast<const uint32_t*>(row)[x] & kRgbMask;
    }
}

bool is_one_bit(const BitMap& bm) { return bm.depth == 1 || bm.one_bit; }

// Whether a source pixel's bit is set, and its colour for a colour source.
struct SourcePixel {
    bool set;
    uint32_t colour;  // 0xFFRRGGBB, meaningful for colour sources
};

SourcePixel read_source(const BitMap& bm, int h, int v) {
    uint32_t raw = raw_pixel(bm, h, v);
    if (bm.depth == 1) return {raw != 0, 0};
    if (bm.depth == 8) {
        const ColorTable& table = bm.colors ? *bm.colors : system_palette();
        uint32_t colour = raw < table.colors.size() ? pixel_of(table.colors[raw]) : kWhitePixel;
        return {colour != kWhitePixel, colour};
    }
    uint32_t colour = 0xFF000000 | raw;
    return {colour != kWhitePixel, colour};
}

// A source pixel as the transfer rule sees it: inverse modes flip it first; one-bit
// sources take the port's colours.
void apply_pixel(uint32_t& dst, SourcePixel s, bool one_bit, const PixelRule& rule) {
    if (rule.invert_source) {
        s.set = !s.set;
        s.colour ^= kRgbMask;
    }
    if (one_bit) {
        apply_source(dst, s.set, s.set ? rule.fore : rule.back, kRgbMask, rule);
        return;
    }
    apply_source(dst, s.set, s.colour, ~s.colour & kRgbMask, rule);
}

bool bitmap_valid(const BitMap& bm, const Rect& r) {
    const Rect& b = bm.bounds;
    return bm.base && !r.empty() && r.left >= b.left && r.top >= b.top && r.right <= b.right && r.bottom <= b.bottom;
}

// The source coordinate of destination offset i of n, over a source extent of m.
int scaled(int i, int n, int m) { return int(int64_t(i) * m / n); }

// The part of dst_rect the copy may change, in local coordinates.
ScopedRegion copy_area(const Port& port, const Rect& dst_rect, RgnHandle mask_rgn) {
    ScopedRegion area = make_region();
    rect_region(area.get(), dst_rect);
    if (mask_rgn) sect_region(area.get(), mask_rgn, area.get());
    clip_to_port(port, area.get());
    return area;
}

// The copied source over the part of the destination that changes (`covered`, within
// dst_rect), read before anything is written so that a source that overlaps the
// destination is read whole.
struct Sampled {
    Rect covered{};
    std::vector<SourcePixel> pixels;
    // The source pixel for destination pixel (h, v) of `covered`.
    const SourcePixel& at(int h, int v) const {
        return pixels[size_t(v - covered.top) * covered.width() + (h - covered.left)];
    }
};

Sampled sample(const BitMap& src, const Rect& src_rect, const Rect& dst_rect, const Rect& covered) {
    Sampled s;
    s.covered = covered;
    s.pixels.reserve(size_t(covered.width()) * covered.height());
    for (int v = covered.top; v < covered.bottom; ++v) {
        int sv = src_rect.top + scaled(v - dst_rect.top, dst_rect.height(), src_rect.height());
        for (int h = covered.left; h < covered.right; ++h) {
            int sh = src_rect.left + scaled(h - dst_rect.left, dst_rect.width(), src_rect.width());
            s.pixels.push_back(read_source(src, sh, sv));
        }
    }
    return s;
}

void write_image(Port& port, const Sampled& s, RgnHandle area, bool one_bit, const PixelRule& rule,
                 const Sampled* mask) {
    surface_flush(port);
    for (const Rect& r : region_rects(area)) {
        for (int v = r.top; v < r.bottom; ++v) {
            uint32_t* row = surface_row(port, v - port.bounds.top) - port.bounds.left;
            for (int h = r.left; h < r.right; ++h) {
                if (mask && !mask->at(h, v).set) continue;
                apply_pixel(row[h], s.at(h, v), one_bit, rule);
            }
        }
    }
    surface_changed(port);
}

// On a PDF page the copy becomes an image: copy draws every pixel, or, bic and dimming
// only the set ones; the inverting modes are left out.
void write_pdf(Port& port, const Sampled& s, RgnHandle area, bool one_bit, const PixelRule& rule,
               const Sampled* mask) {
    if (rule.op == PixelOp::kXor || rule.op == PixelOp::kHilite) return;
    const Rect& c = s.covered;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, c.width(), c.height());
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    if (!data) return cairo_surface_destroy(image);
    int stride = cairo_image_surface_get_stride(image);
    for (int v = c.top; v < c.bottom; ++v) {
        auto* row = reinterpret_cast<uint32_t*>(data + (v - c.top) * stride) - c.left;
        for (int h = c.left; h < c.right; ++h) {
            uint32_t px = 0;  // transparent: left as it is
            if (!mask || mask->at(h, v).set) {
                uint32_t drawn = 0x00FFFFFF;
                apply_pixel(drawn, s.at(h, v), one_bit, rule);
                if (drawn != 0x00FFFFFF) px = drawn | 0xFF000000;
            }
            row[h] = px;
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_t* cr = cairo_create(port.surface);
    for (const Rect& r : region_rects(area))
        cairo_rectangle(cr, r.left - port.bounds.left, r.top - port.bounds.top, r.width(), r.height());
    cairo_clip(cr);
    cairo_set_source_surface(cr, image, c.left - port.bounds.left, c.top - port.bounds.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
}

// A plain copy of same-sized 32-bit pixels moves whole rows. Rows and runs are taken in
// the order that reads every pixel of an overlapping source before it is overwritten.
bool is_plain_move(const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode, const Port& port,
                   const BitMap* mask) {
    return src.depth == 32 && !src.one_bit && mode == kSrcCopy && !mask && port.kind == SurfaceKind::kImage &&
           src_rect.width() == dst_rect.width() && src_rect.height() == dst_rect.height();
}

void move_rows(Port& port, const BitMap& src, const Rect& src_rect, const Rect& dst_rect, RgnHandle area) {
    int dh = dst_rect.left - src_rect.left, dv = dst_rect.top - src_rect.top;
    std::vector<Rect> runs;
    for (const Rect& r : region_rects(area))
        for (int v = r.top; v < r.bottom; ++v) runs.push_back(Rect{int16_t(v), r.left, int16_t(v + 1), r.right});
    std::sort(runs.begin(), runs.end(), [dh, dv](const Rect& a, const Rect& b) {
        if (a.top != b.top) return dv > 0 ? a.top > b.top : a.top < b.top;
        return dh > 0 ? a.left > b.left : a.left < b.left;
    });
    surface_flush(port);
    for (const Rect& run : runs) {
        uint32_t* to = surface_row(port, run.top - port.bounds.top) + (run.left - port.bounds.left);
        const uint8_t* from_row = src.base + ptrdiff_t(run.top - dv - src.bounds.top) * src.row_bytes;
        const uint32_t* from = reinterpret_cast<const uint32_t*>(from_row) + (run.left - dh - src.bounds.left);
        std::memmove(to, from, size_t(run.width()) * sizeof(uint32_t));
    }
    surface_changed(port);
}

// The copy itself, whatever the pen and picture recording.
void copy_pixels(Port* port, const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode,
                 RgnHandle mask_rgn, const BitMap* mask, const Rect* mask_rect) {
    ScopedRegion area = copy_area(*port, dst_rect, mask_rgn);
    PixelRule rule = pixel_rule(*port, mode);
    if (empty_region(area.get())) return;
    if (is_plain_move(src, src_rect, dst_rect, mode, *port, mask)) {
        move_rows(*port, src, src_rect, dst_rect, area.get());
        mark_changed(*port, region_bounds(area.get()));
        return;
    }
    Rect covered = region_bounds(area.get());
    Sampled pixels = sample(src, src_rect, dst_rect, covered);
    Sampled mask_pixels;
    if (mask) mask_pixels = sample(*mask, *mask_rect, dst_rect, covered);
    const Sampled* mask_sampled = mask ? &mask_pixels : nullptr;
    if (port->kind == SurfaceKind::kPdf)
        write_pdf(*port, pixels, area.get(), is_one_bit(src), rule, mask_sampled);
    else
        write_image(*port, pixels, area.get(), is_one_bit(src), rule, mask_sampled);
    mark_changed(*port, region_bounds(area.get()));
}

}  // namespace

BitMap port_bits(const Port& port) {
    BitMap bm;
    if (!has_pixels(port) || port.kind != SurfaceKind::kImage) return bm;
    surface_flush(port);
    bm.base = cairo_image_surface_get_data(port.surface);
    bm.row_bytes = cairo_image_surface_get_stride(port.surface);
    bm.bounds = port.bounds;
    bm.depth = 32;
    return bm;
}

RGBColor get_pixel_color(int16_t h, int16_t v) {
    Port* port = get_port();
    if (!port || !has_pixels(*port) || port->kind != SurfaceKind::kImage) return kWhiteColor;
    const Rect& b = port->bounds;
    if (h < b.left || h >= b.right || v < b.top || v >= b.bottom) return kWhiteColor;
    surface_flush(*port);
    return color_of_pixel(surface_row(*port, v - b.top)[h - b.left]);
}

void copy_bits(const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode, RgnHandle mask_rgn) {
    Port* port = get_port();
    if (!port || !has_pixels(*port) || !bitmap_valid(src, src_rect) || dst_rect.empty()) return;
    if (port->picture) picture_bits(*port, src, src_rect, dst_rect, mode, mask_rgn);
    if (port->pen_visible < 0) return;
    copy_pixels(port, src, src_rect, dst_rect, mode, mask_rgn, nullptr, nullptr);
}

// Masked copies are not kept in pictures.
void copy_mask(const BitMap& src, const BitMap& mask, const Rect& src_rect, const Rect& mask_rect,
               const Rect& dst_rect) {
    Port* port = get_port();
    if (!port || !has_pixels(*port) || !bitmap_valid(src, src_rect) || dst_rect.empty()) return;
    if (!bitmap_valid(mask, mask_rect) || port->pen_visible < 0) return;
    copy_pixels(port, src, src_rect, dst_rect, kSrcCopy, nullptr, &mask, &mask_rect);
}

void scroll_rect(const Rect& r, int16_t dh, int16_t dv, RgnHandle update_rgn) {
    Port& port = *get_port();
    ScopedRegion visible = make_region();
    rect_region(visible.get(), r);
    clip_to_port(port, visible.get());
    ScopedRegion moved = make_region();
    copy_region(visible.get(), moved.get());
    offset_region(moved.get(), dh, dv);
    sect_region(moved.get(), visible.get(), moved.get());
    diff_region(visible.get(), moved.get(), update_rgn);
    if (!empty_region(moved.get()) && port.kind == SurfaceKind::kImage && has_pixels(port)) {
        // Whole rows are read before they are written, so overlapping moves are safe.
        Rect dst = region_bounds(moved.get());
        Rect src{int16_t(dst.top - dv), int16_t(dst.left - dh), int16_t(dst.bottom - dv), int16_t(dst.right - dh)};
        copy_pixels(&port, port_bits(port), src, dst, kSrcCopy, moved.get(), nullptr, nullptr);
    }
    paint_region_with(port, update_rgn, port.back_pat, kPatCopy);
}

}  // namespace pf
