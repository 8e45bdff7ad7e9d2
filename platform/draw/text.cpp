// Drawing text in the current port.
#include "platform/draw/paint.h"
#include "platform/draw/picture_record.h"
#include "platform/draw/region_internal.h"
#include "platform/draw/text_layout.h"
#include "platform/text/scripts.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pf {

namespace {

// Where the glyphs' text space (x along the baseline, y down, origin at the pen) lies
// in local coordinates.
enum class Direction : uint8_t { kAcross, kUp, kDown };

// A drawing context on the port's surface in local coordinates, clipped to the port's
// area, visible and clip regions within a box.
struct Canvas {
    cairo_t* cr = nullptr;
    Rect shown{};
};

int16_t pin16(int v) { return int16_t(std::clamp(v, -32767, 32767)); }

bool open_canvas(Port& port, const Rect& box, Canvas& canvas) {
    pixman_region32_t clip, area;
    pixman_region32_init_rect(&clip, box.left, box.top, unsigned(std::max(0, box.width())),
                              unsigned(std::max(0, box.height())));
    const Rect& pr = port.port_rect;
    pixman_region32_init_rect(&area, pr.left, pr.top, unsigned(std::max(0, pr.width())),
                              unsigned(std::max(0, pr.height())));
    pixman_region32_intersect(&clip, &clip, &area);
    if (port.vis_rgn) pixman_region32_intersect(&clip, &clip, &port.vis_rgn->r);
    if (port.clip_rgn) pixman_region32_intersect(&clip, &clip, &port.clip_rgn->r);
    bool visible = port.surface && pixman_region32_not_empty(&clip);
    if (visible) {
        canvas.cr = cairo_create(port.surface);
        cairo_translate(canvas.cr, -port.bounds.left, -port.bounds.top);
        int count = 0;
        const pixman_box32_t* boxes = pixman_region32_rectangles(&clip, &count);
        for (int i = 0; i < count; ++i)
            cairo_rectangle(canvas.cr, boxes[i].x1, boxes[i].y1, boxes[i].x2 - boxes[i].x1, boxes[i].y2 - boxes[i].y1);
        cairo_clip(canvas.cr);
        const pixman_box32_t* e = pixman_region32_extents(&clip);
        canvas.shown = Rect{pin16(e->y1), pin16(e->x1), pin16(e->y2), pin16(e->x2)};
    }
    pixman_region32_fini(&area);
    pixman_region32_fini(&clip);
    return visible;
}

void close_canvas(Port& port, Canvas& canvas) {
    cairo_destroy(canvas.cr);
    mark_changed(port, canvas.shown);
}

// The local box that the text's pixels may reach, overhangs included.
Rect text_box(Point pen, const FontInstance& font, int width, Direction dir) {
    int margin = font.size / 2 + 3;
    int before = margin, after = width + margin;                      // along the baseline
    int above = font.info.ascent + margin, below = font.info.descent + margin;  // across it
    switch (dir) {
        case Direction::kAcross:
            return Rect{pin16(pen.v - above), pin16(pen.h - before), pin16(pen.v + below), pin16(pen.h + after)};
        case Direction::kUp:
            return Rect{pin16(pen.v - after), pin16(pen.h - above), pin16(pen.v + before + 1), pin16(pen.h + below)};
        case Direction::kDown:
            return Rect{pin16(pen.v - before), pin16(pen.h - below), pin16(pen.v + after), pin16(pen.h + above + 1)};
    }
    return Rect{};
}

void move_to_text_space(cairo_t* cr, Point pen, Direction dir) {
    switch (dir) {
        case Direction::kAcross:
            cairo_translate(cr, pen.h, pen.v);
            break;
        case Direction::kUp:
            cairo_translate(cr, pen.h, pen.v + 1);
            cairo_rotate(cr, -M_PI / 2);
            break;
        case Direction::kDown:
            cairo_translate(cr, pen.h + 1, pen.v);
            cairo_rotate(cr, M_PI / 2);
            break;
    }
}

void set_colour(cairo_t* cr, const RGBColor& c) {
    cairo_set_source_rgb(cr, c.red / 65535.0, c.green / 65535.0, c.blue / 65535.0);
}

RGBColor halfway(const RGBColor& a, const RGBColor& b) {
    return RGBColor{uint16_t((a.red + b.red) / 2), uint16_t((a.green + b.green) / 2),
                    uint16_t((a.blue + b.blue) / 2)};
}

// Source and operator that put glyph pixels down in the port's text mode.
void set_ink(cairo_t* cr, const Port& port) {
    switch (port.text_mode) {
        case kSrcXor:
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
            break;
        case kSrcBic:
            set_colour(cr, port.bg_color);
            break;
        case kGrayishTextOr:
            set_colour(cr, halfway(port.fg_color, port.bg_color));
            break;
        default:
            set_colour(cr, port.fg_color);
            break;
    }
}

void fill_text_background(cairo_t* cr, const Port& port, const FontInstance& font, int width) {
    set_colour(cr, port.bg_color);
    cairo_rectangle(cr, 0, -font.info.ascent, width, font.info.ascent + font.info.descent);
    cairo_fill(cr);
}

std::vector<cairo_glyph_t>& glyph_run(const FontInstance& font, std::string_view text, const std::vector<int32_t>& x) {
    static std::vector<cairo_glyph_t> glyphs;
    glyphs.clear();
    const bool two_byte = has_two_byte_characters(font);
    for (size_t i = 0, length = 1; i < text.size(); i += length) {
        uint32_t g = two_byte ? character_glyph(font, text, i, length).glyph : font.glyph[uint8_t(text[i])];
        if (g != kNoGlyph) glyphs.push_back(cairo_glyph_t{g, double(x[i]), 0.0});
    }
    return glyphs;
}

// A glyph run with the text it shows, for a PDF page whose text can be
// searched and copied: each character in UTF-8 from its font's script, one
// cluster per character with its glyph (none where the font has none), as
// glyph_run lays them.
void show_glyphs_with_text(cairo_t* cr, const FontInstance& font, std::string_view text,
                           std::vector<cairo_glyph_t>& glyphs) {
    std::string utf8;
    std::vector<cairo_text_cluster_t> clusters;
    for (size_t i = 0, length = 1; i < text.size(); i += length) {
        const bool drawn = character_glyph(font, text, i, length).glyph != kNoGlyph;
        const size_t before = utf8.size();
        if (uint8_t(text[i]) < 0x20) utf8 += ' ';  // a control character has no text to find
        else utf8 += script_to_utf8(text.substr(i, length), font.script);
        clusters.push_back(cairo_text_cluster_t{int(utf8.size() - before), drawn ? 1 : 0});
    }
    cairo_show_text_glyphs(cr, utf8.data(), int(utf8.size()), glyphs.data(), int(glyphs.size()), clusters.data(),
                           int(clusters.size()), cairo_text_cluster_flags_t(0));
}

void show_glyphs_at(cairo_t* cr, std::vector<cairo_glyph_t>& glyphs, double dx, double dy) {
    for (cairo_glyph_t& g : glyphs) g.x += dx, g.y += dy;
    cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
    for (cairo_glyph_t& g : glyphs) g.x -= dx, g.y -= dy;
}

// Outline and shadow: the glyphs spread to their neighbouring pixels, less the glyphs
// themselves, used as a mask for the ink.
void show_hollow_glyphs(cairo_t* cr, std::vector<cairo_glyph_t>& glyphs, uint8_t face) {
    const int reach = (face & kShadow) ? 2 : 1;
    cairo_push_group(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int dy = -1; dy <= reach; ++dy)
        for (int dx = -1; dx <= reach; ++dx) {
            bool outline_ring = dx <= 1 && dy <= 1;
            bool shadow_step = dx >= 0 && dy >= 0;
            if ((dx || dy) && (outline_ring || shadow_step)) show_glyphs_at(cr, glyphs, dx, dy);
        }
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
    show_glyphs_at(cr, glyphs, 0, 0);
    cairo_pattern_t* mask = cairo_pop_group(cr);
    cairo_mask(cr, mask);
    cairo_pattern_destroy(mask);
}

void draw_underline(cairo_t* cr, int width) {
    cairo_rectangle(cr, 0, 1, width, 1);
    cairo_fill(cr);
}

// Draws laid-out text at the pen of the current port in a direction.
void draw_laid_out(std::string_view text, const FontInstance& font, const std::vector<int32_t>& x, Direction dir) {
    Port& port = *get_port();
    const int width = x.back();
    Canvas canvas;
    if (port.pen_visible < 0) return;  // a hidden pen hides text too
    if (!open_canvas(port, text_box(port.pen_loc, font, width, dir), canvas)) return;
    cairo_t* cr = canvas.cr;
    move_to_text_space(cr, port.pen_loc, dir);
    if (port.text_mode == kSrcCopy) fill_text_background(cr, port, font, width);
    bool smooth = port.kind != SurfaceKind::kImage || text_antialiasing();
    cairo_set_scaled_font(cr, font.drawing[smooth ? 1 : 0]);
    set_ink(cr, port);
    std::vector<cairo_glyph_t>& glyphs = glyph_run(font, text, x);
    if (font.face & (kOutline | kShadow))
        show_hollow_glyphs(cr, glyphs, font.face);
    else if (port.kind == SurfaceKind::kPdf)
        show_glyphs_with_text(cr, font, text, glyphs);
    else
        cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
    if (font.face & kUnderline) draw_underline(cr, width);
    close_canvas(port, canvas);
}

std::vector<int32_t>& positions() {
    static std::vector<int32_t> x;
    return x;
}

void draw_across(std::string_view text, Fixed slop, int16_t run_position) {
    if (Port& port = *get_port(); port.picture) picture_text(port, text, slop, run_position);
    const FontInstance& font = port_font();
    std::vector<int32_t>& x = positions();
    layout_text(font, text, slop, run_position, x);
    draw_laid_out(text, font, x, Direction::kAcross);
    Point& pen = get_port()->pen_loc;
    pen.h = pin16(pen.h + x.back());
}

}  // namespace

void draw_text(std::string_view text) { draw_across(text, 0, kOnlyStyleRun); }

void draw_string(const unsigned char* pstr) {
    draw_text(std::string_view(reinterpret_cast<const char*>(pstr + 1), pstr[0]));
}

void draw_char(unsigned char ch) { draw_text(std::string_view(reinterpret_cast<const char*>(&ch), 1)); }

void draw_justified(std::string_view text, Fixed slop, int16_t run_position) {
    draw_across(text, slop, run_position);
}

int16_t draw_text_turned(std::string_view text, Turn turn) {
    if (Port& port = *get_port(); port.picture) picture_turned_text(port, text, turn);
    const FontInstance& font = port_font();
    std::vector<int32_t>& x = positions();
    layout_text(font, text, 0, kOnlyStyleRun, x);
    draw_laid_out(text, font, x, turn == Turn::kUp ? Direction::kUp : Direction::kDown);
    return pin16(x.back());
}

}  // namespace pf
