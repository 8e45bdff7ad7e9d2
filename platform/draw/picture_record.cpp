#include "platform/draw/picture_record.h"

#include "platform/draw/rects.h"
#include "platform/draw/text.h"
#include "platform/fonts/fonts.h"

#include <string>

#include <algorithm>

namespace pf {

namespace {

using namespace pict;

constexpr uint32_t kResolution72 = 0x00480000;
constexpr size_t kMaxTextChunk = 255;

void write_header(Writer& w, const Rect& frame) {
    w.u16(0);  // size word, set at close
    w.rect(frame);
    w.u16(kVersion);
    w.u16(0x02FF);
    w.u16(kHeader);
    w.u16(0xFFFE);  // extended version 2 header
    w.u16(0);
    w.u32(kResolution72);
    w.u32(kResolution72);
    w.rect(frame);
    w.u32(0);
}

void opcode(Writer& w, uint16_t op) {
    w.align();
    w.u16(op);
}

void write_pattern(Writer& w, uint16_t op, const Pattern& pat) {
    opcode(w, op);
    w.raw(pat.pat, 8);
}

void write_colour(Writer& w, uint16_t op, const RGBColor& c) {
    opcode(w, op);
    w.u16(c.red);
    w.u16(c.green);
    w.u16(c.blue);
}

// Names the font a number stands for, so that other programs find it by name.
void write_font_name(Writer& w, int16_t font) {
    std::string name = font_name(font).substr(0, 255);
    if (name.empty()) return;
    opcode(w, kFontName);
    w.u16(uint16_t(3 + name.size()));
    w.u16(uint16_t(font));
    w.u8(uint8_t(name.size()));
    w.raw(reinterpret_cast<const uint8_t*>(name.data()), name.size());
}

// Writes the opcodes for every part of the port's state that differs from the stream's.
void sync_state(Port& port, PictureRecorder& rec) {
    Writer& w = rec.out;
    DrawingState& was = rec.written;
    if (!equal_region(port.clip_rgn, rec.written_clip)) {
        opcode(w, kClipRgn);
        write_region(w, port.clip_rgn);
        copy_region(port.clip_rgn, rec.written_clip);
    }
    if (port.pen_size != was.pen_size) {
        opcode(w, kPnSize);
        w.point(port.pen_size);
    }
    if (port.pen_mode != was.pen_mode) {
        opcode(w, kPnMode);
        w.u16(uint16_t(port.pen_mode));
    }
    if (port.pen_pat != was.pen_pat) write_pattern(w, kPnPat, port.pen_pat);
    if (port.back_pat != was.back_pat) write_pattern(w, kBkPat, port.back_pat);
    if (port.fg_color != was.fg_color) write_colour(w, kRGBFgCol, port.fg_color);
    if (port.bg_color != was.bg_color) write_colour(w, kRGBBkCol, port.bg_color);
    if (port.text_font != was.text_font) {
        write_font_name(w, port.text_font);
        opcode(w, kTxFont);
        w.u16(uint16_t(port.text_font));
    }
    if (port.text_face != was.text_face) {
        opcode(w, kTxFace);
        w.u8(port.text_face);
    }
    if (port.text_mode != was.text_mode) {
        opcode(w, kTxMode);
        w.u16(uint16_t(port.text_mode));
    }
    if (port.text_size != was.text_size) {
        opcode(w, kTxSize);
        w.u16(uint16_t(port.text_size));
    }
    was = port;
}

uint16_t shape_base(ShapeKind kind) {
    switch (kind) {
        case ShapeKind::kRect: return kRectBase;
        case ShapeKind::kOval: return kOvalBase;
        case ShapeKind::kRoundRect: return kRRectBase;
        case ShapeKind::kArc: return kArcBase;
        case ShapeKind::kPoly: return kPolyBase;
        case ShapeKind::kRegion: return kRgnBase;
    }
    return kRectBase;
}

}  // namespace

PicHandle open_picture(const Rect& frame) {
    Port& port = *get_port();
    if (port.picture) return nullptr;
    auto* rec = new PictureRecorder;
    rec->picture = new Picture;
    rec->written_clip = new_region();
    rect_region(rec->written_clip, {-32767, -32767, 32767, 32767});
    write_header(rec->out, frame);
    port.picture = rec;
    hide_pen();
    return rec->picture;
}

void close_picture() {
    Port& port = *get_port();
    PictureRecorder* rec = port.picture;
    if (!rec) return;
    opcode(rec->out, kEndPic);
    std::vector<uint8_t>& bytes = rec->out.bytes;
    bytes[0] = uint8_t(bytes.size() >> 8);
    bytes[1] = uint8_t(bytes.size());
    rec->picture->data = std::move(bytes);
    abandon_picture(port);
    show_pen();
}

void abandon_picture(Port& port) {
    if (!port.picture) return;
    dispose_region(port.picture->written_clip);
    delete port.picture;
    port.picture = nullptr;
}

void kill_picture(PicHandle pic) { delete pic; }

void pic_comment(int16_t kind, const uint8_t* data, int16_t size) {
    Port& port = *get_port();
    if (!port.picture) return;
    Writer& w = port.picture->out;
    if (!data || size <= 0) {
        opcode(w, kShortComment);
        w.u16(uint16_t(kind));
        return;
    }
    opcode(w, kLongComment);
    w.u16(uint16_t(kind));
    w.u16(uint16_t(size));
    w.raw(data, size_t(size));
}

void picture_shape(Port& port, Verb verb, const Shape& s, const Pattern* fill_pattern) {
    PictureRecorder& rec = *port.picture;
    sync_state(port, rec);
    Writer& w = rec.out;
    if (verb == Verb::kFill) write_pattern(w, kFillPat, *fill_pattern);
    if (s.kind == ShapeKind::kRoundRect && rec.oval_size != Point{s.b, s.a}) {
        rec.oval_size = Point{s.b, s.a};
        opcode(w, kOvSize);
        w.point(rec.oval_size);
    }
    opcode(w, uint16_t(shape_base(s.kind) + uint16_t(verb)));
    switch (s.kind) {
        case ShapeKind::kPoly: write_poly(w, *s.poly); break;
        case ShapeKind::kRegion: write_region(w, s.rgn); break;
        case ShapeKind::kArc:
            w.rect(s.r);
            w.u16(uint16_t(s.a));
            w.u16(uint16_t(s.b));
            break;
        default: w.rect(s.r); break;
    }
}

void picture_line(Port& port, Point from, Point to) {
    PictureRecorder& rec = *port.picture;
    sync_state(port, rec);
    opcode(rec.out, kLine);
    rec.out.point(from);
    rec.out.point(to);
}

void picture_text(Port& port, std::string_view text, Fixed slop, int16_t run_position) {
    PictureRecorder& rec = *port.picture;
    sync_state(port, rec);
    Point pen = port.pen_loc;
    size_t start = 0;
    while (start < text.size()) {
        // Justified text is kept word by word, plain text in pieces of at most 255 bytes.
        size_t end = slop ? text.find(' ', start) : std::string_view::npos;
        end = end == std::string_view::npos ? text.size() : end + 1;
        end = std::min(end, start + kMaxTextChunk);
        std::string_view piece = text.substr(start, end - start);
        int16_t offset = char_to_pixel(text, slop, int32_t(start), run_position);
        opcode(rec.out, kLongText);
        rec.out.point(Point{pen.v, int16_t(pen.h + offset)});
        rec.out.u8(uint8_t(piece.size()));
        rec.out.raw(reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
        start = end;
    }
}

namespace {

// The bounds of the pixels of a 32-bit image that are not white.
Rect inked_bounds(const BitMap& bits) {
    Rect inked{};
    for (int v = bits.bounds.top; v < bits.bounds.bottom; ++v) {
        auto* row = reinterpret_cast<const uint32_t*>(bits.base + ptrdiff_t(v - bits.bounds.top) * bits.row_bytes);
        for (int h = bits.bounds.left; h < bits.bounds.right; ++h) {
            if ((row[h - bits.bounds.left] & 0xFFFFFF) == 0xFFFFFF) continue;
            inked = union_rect(inked, Rect{int16_t(v), int16_t(h), int16_t(v + 1), int16_t(h + 1)});
        }
    }
    return inked;
}

}  // namespace

void picture_turned_text(Port& port, std::string_view text, Turn turn) {
    FontInfo info;
    {
        PortScope scope(&port);
        get_font_info(info);
    }
    // A box that holds the text whichever way it turns around the pen.
    int reach = text_width(text) + info.ascent + info.descent + 2;
    Point pen = port.pen_loc;
    Rect box{int16_t(pen.v - reach), int16_t(pen.h - reach), int16_t(pen.v + reach), int16_t(pen.h + reach)};
    GWorldPtr world = nullptr;
    if (new_gworld(&world, 32, box, 0) != noErr) return;
    {
        PortScope scope(&world->port);
        rgb_fore_color(port.fg_color);
        text_font(port.text_font);
        text_size(port.text_size);
        text_face(port.text_face);
        move_to(pen.h, pen.v);
        draw_text_turned(text, turn);
    }
    BitMap bits = gworld_bits(world);
    Rect inked = inked_bounds(bits);
    if (!inked.empty()) {
        PortScope scope(&port);
        picture_bits(port, bits, inked, inked, kSrcOr, nullptr);
    }
    dispose_gworld(world);
}

void picture_bits(Port& port, const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode,
                  RgnHandle mask_rgn) {
    PictureRecorder& rec = *port.picture;
    sync_state(port, rec);
    opcode(rec.out, bits_opcode(src, mask_rgn != nullptr));
    write_bits(rec.out, src, src_rect, dst_rect, mode, mask_rgn);
}

}  // namespace pf
