// Playing a picture back: opcodes read one by one within the data's bounds, drawn with
// the frame mapped onto the destination rectangle.
#include "platform/draw/region_internal.h"
#include "platform/draw/picture.h"

#include "platform/draw/picture_format.h"
#include "platform/draw/rects.h"
#include "platform/draw/text.h"
#include "platform/fonts/fonts.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace pf {

namespace {

using namespace pict;

PictureCommentProc comment_proc = nullptr;
void* comment_context = nullptr;

constexpr size_t kFrameOffset = 2, kOpcodesOffset = 10;


int16_t pin(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32767, 32767)); }

// Maps picture coordinates onto the destination.
struct Mapping {
    Rect from, to;
    bool identity() const { return from.width() == to.width() && from.height() == to.height(); }
    Point point(Point p) const { return map_pt(p, from, to); }
    Rect rect(const Rect& r) const { return map_rect(r, from, to); }
    int16_t width(int w) const { return from.width() ? pin(int64_t(w) * to.width() / from.width()) : int16_t(w); }
    int16_t height(int ht) const {
        return from.height() ? pin(int64_t(ht) * to.height() / from.height()) : int16_t(ht);
    }
    // A pen or text size keeps at least one pixel when it had any.
    int16_t size_h(int w) const { return w > 0 ? std::max<int16_t>(1, width(w)) : int16_t(w); }
    int16_t size_v(int ht) const { return ht > 0 ? std::max<int16_t>(1, height(ht)) : int16_t(ht); }
    void region(RgnHandle rgn) const {
        if (identity()) {
            offset_region(rgn, int16_t(to.left - from.left), int16_t(to.top - from.top));
            return;
        }
        std::vector<pixman_box32_t> boxes;
        for (const Rect& r : region_rects(rgn)) {
            const Rect mapped = rect(r);
            if (!mapped.empty()) boxes.push_back({mapped.left, mapped.top, mapped.right, mapped.bottom});
        }
        set_boxes(rgn, boxes);
    }
};

struct Player {
    ByteReader in;
    bool version1 = false;
    Mapping map{};
    RgnHandle base_clip = nullptr;  // the caller's clip, which the picture's clips stay within
    Point pen{};                    // in picture coordinates
    Rect last_rect[4]{};  // rect, rounded rect, oval, arc: the "same" opcodes reuse them
    Point oval_size{};
    Point text_at{};
    int16_t picture_text_size = 0;
    std::vector<std::pair<int16_t, int16_t>> font_numbers{};  // the picture's to ours, by name
};

uint16_t read_opcode(Player& p) {
    if (p.version1) return p.in.u8();
    p.in.skip_to_even();
    return p.in.u16();
}

Pattern read_pattern(ByteReader& in) {
    Pattern pat;
    for (uint8_t& row : pat.pat) row = in.u8();
    return pat;
}

RGBColor read_colour(ByteReader& in) {
    RGBColor c;
    c.red = in.u16();
    c.green = in.u16();
    c.blue = in.u16();
    return c;
}

bool set_clip_from(Player& p) {
    ScopedRegion clip = make_region();
    if (!read_region(p.in, clip.get())) return false;
    p.map.region(clip.get());
    sect_region(clip.get(), p.base_clip, clip.get());
    set_clip(clip.get());
    return true;
}

void apply_text_size(Player& p) {
    int16_t size = p.picture_text_size;
    text_size(p.map.identity() || size <= 0 ? size : p.map.size_v(size));
}

bool play_text(Player& p, Point at) {
    uint8_t count = p.in.u8();
    const uint8_t* bytes = p.in.take(count).data();
    if (!bytes || !p.in.ok) return false;
    p.text_at = at;
    Point mapped = p.map.point(at);
    move_to(mapped.h, mapped.v);
    draw_text(std::string_view(reinterpret_cast<const char*>(bytes), count));
    return true;
}

bool play_line(Player& p, Point from, Point to) {
    if (!p.in.ok) return false;  // an opcode cut short draws nothing
    p.pen = to;
    Point a = p.map.point(from), b = p.map.point(to);
    move_to(a.h, a.v);
    line_to(b.h, b.v);
    return p.in.ok;
}

// The shape opcodes 0x30-0x8F: kind in the high nibble, verb in the low three bits,
// bit 3 set for "the same shape as last time".
bool play_shape(Player& p, uint16_t op) {
    Verb verb = Verb(op & 7);
    bool same = op & 8;
    Shape s;
    Pattern fill = get_port()->fill_pat;
    switch (op & 0xF0) {
        case kRectBase: s.kind = ShapeKind::kRect; break;
        case kRRectBase: s.kind = ShapeKind::kRoundRect; break;
        case kOvalBase: s.kind = ShapeKind::kOval; break;
        case kArcBase: s.kind = ShapeKind::kArc; break;
        case kPolyBase: {
            if (same) return true;
            Polygon poly;
            if (!read_poly(p.in, poly)) return false;
            for (Point& pt : poly.points) pt = p.map.point(pt);
            poly.bbox = poly_bounds(poly.points);
            s.kind = ShapeKind::kPoly;
            s.poly = &poly;
            s.r = poly.bbox;
            draw_shape(verb, s, &fill);
            return true;
        }
        case kRgnBase: {
            if (same) return true;
            ScopedRegion rgn = make_region();
            if (!read_region(p.in, rgn.get())) return false;
            p.map.region(rgn.get());
            s.kind = ShapeKind::kRegion;
            s.rgn = rgn.get();
            s.r = region_bounds(rgn.get());
            draw_shape(verb, s, &fill);
            return true;
        }
        default: return false;
    }
    Rect& last = p.last_rect[(op - kRectBase) >> 4];
    if (!same) last = p.in.rect();
    s.r = p.map.rect(last);
    if (s.kind == ShapeKind::kRoundRect) {
        s.a = p.map.width(p.oval_size.h);
        s.b = p.map.height(p.oval_size.v);
    }
    if (s.kind == ShapeKind::kArc) {
        s.a = p.in.i16();
        s.b = p.in.i16();
    }
    if (!p.in.ok) return false;
    draw_shape(verb, s, &fill);
    return true;
}

bool play_bits(Player& p, uint16_t op) {
    DecodedBits bits;
    ScopedRegion mask = make_region();
    bool with_mask = op == kBitsRgn || op == kPackBitsRgn || op == kDirectBitsRgn;
    if (!read_bits(p.in, op, bits, mask.get())) return false;
    if (with_mask) p.map.region(mask.get());
    copy_bits(bits.map, bits.src_rect, p.map.rect(bits.dst_rect), bits.mode, with_mask ? mask.get() : nullptr);
    return true;
}

bool play_comment(Player& p, uint16_t op) {
    int16_t kind = p.in.i16();
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (op == kLongComment) {
        size = p.in.u16();
        data = p.in.take(size).data();
        if (!data) return false;
    }
    if (comment_proc && p.in.ok) comment_proc(kind, data, size, comment_context);
    return p.in.ok;
}

// Skips the data of an opcode this player does not draw; false for a length that runs
// past the data or for an opcode without a known length.
bool skip_opcode(Player& p, uint16_t op) {
    ByteReader& in = p.in;
    auto skip_word_counted = [&] { in.skip(in.u16()); };
    auto skip_long_counted = [&] { in.skip(in.u32()); };
    auto skip_self_sized = [&] {
        uint16_t size = in.u16();
        if (size < 2) in.ok = false;
        in.skip(size - 2);
    };
    if (op == kVersion) in.skip(p.version1 ? 1 : 2);
    else if (op == kHeader) in.skip(24);
    else if (op == kFgColor || op == kBkColor || op == kSpExtra || op == kOrigin) in.skip(4);
    else if (op == kTxRatio) in.skip(8);
    else if (op == kPnLocHFrac || op == kChExtra) in.skip(2);
    else if (op == kHiliteColor || op == kOpColor) in.skip(6);
    else if (op == kHiliteModeOp || op == kDefHilite || (op >= 0x0017 && op <= 0x0019)) {}
    else if ((op >= 0x0024 && op <= 0x0027) || (op >= kFontName && op <= 0x002F)) skip_word_counted();
    else if (op >= 0x0030 && op <= 0x006F) {
        int low = op & 0xF;
        bool same = low >= 8;
        if ((low & 7) <= 4) return false;  // a drawing opcode, handled elsewhere
        size_t size = (op & 0xF0) == 0x60 ? 12 : 8;
        if (!same) in.skip(size);
        else if ((op & 0xF0) == 0x60) in.skip(4);
    }
    else if ((op >= 0x0075 && op <= 0x0077) || (op >= 0x007D && op <= 0x007F) ||
             (op >= 0x0085 && op <= 0x0087) || (op >= 0x008D && op <= 0x008F)) skip_self_sized();
    else if ((op >= 0x0078 && op <= 0x007C) || (op >= 0x0088 && op <= 0x008C)) {}
    else if ((op >= 0x0092 && op <= 0x0097) || (op >= 0x009C && op <= 0x009F)) skip_word_counted();
    else if (op >= 0x00A2 && op <= 0x00AF) skip_word_counted();
    else if (op >= 0x00B0 && op <= 0x00CF) {}
    else if (op >= 0x00D0 && op <= 0x00FE) skip_long_counted();
    else if (op >= 0x0100 && op <= 0x7FFF) in.skip(size_t(op >> 8) * 2);
    else if (op >= 0x8000 && op <= 0x80FF) {}
    else if (op >= 0x8100) skip_long_counted();
    else return false;
    return in.ok;
}

int16_t font_number_of(const Player& p, int16_t picture_font) {
    for (auto [theirs, ours] : p.font_numbers)
        if (theirs == picture_font) return ours;
    return picture_font;
}

// A font's number in the picture and its name: the name decides which of our fonts
// the number stands for; an unknown name leaves the number as it is.
bool read_font_name(Player& p) {
    ByteReader& in = p.in;
    uint16_t length = in.u16();
    const uint8_t* data = in.take(length).data();
    if (!data || length < 3) return false;
    ByteReader record{{data, length}};
    int16_t picture_font = record.i16();
    uint8_t name_length = record.u8();
    const uint8_t* name = record.take(name_length).data();
    if (!name) return false;
    bool found = false;
    int16_t ours = font_number(std::string_view(reinterpret_cast<const char*>(name), name_length), &found);
    if (found) p.font_numbers.emplace_back(picture_font, ours);
    return true;
}

bool play_state(Player& p, uint16_t op) {
    ByteReader& in = p.in;
    Port& port = *get_port();
    switch (op) {
        case kClipRgn: return set_clip_from(p);
        case kBkPat: back_pat(read_pattern(in)); break;
        case kTxFont: text_font(font_number_of(p, in.i16())); break;
        case kFontName: return read_font_name(p);
        case kTxFace: text_face(in.u8()); break;
        case kTxMode: text_mode(in.i16()); break;
        case kPnSize: {
            Point size = in.point();
            pen_size(p.map.size_h(size.h), p.map.size_v(size.v));
            break;
        }
        case kPnMode: pen_mode(in.i16()); break;
        case kPnPat: pen_pat(read_pattern(in)); break;
        case kFillPat: port.fill_pat = read_pattern(in); break;
        case kOvSize: p.oval_size = in.point(); break;
        case kTxSize:
            p.picture_text_size = in.i16();
            apply_text_size(p);
            break;
        case kRGBFgCol: rgb_fore_color(read_colour(in)); break;
        case kRGBBkCol: rgb_back_color(read_colour(in)); break;
        case 0x0012: case 0x0013: case 0x0014: {
            Pattern pat;
            if (!read_pix_pat(in, pat)) return false;
            if (op == 0x0012) back_pat(pat);
            else if (op == 0x0013) pen_pat(pat);
            else port.fill_pat = pat;
            break;
        }
        default: return skip_opcode(p, op);
    }
    return in.ok;
}

bool play_opcode(Player& p, uint16_t op) {
    ByteReader& in = p.in;
    switch (op) {
        case kNop: return true;
        case kLine: {
            Point from = in.point();
            return play_line(p, from, in.point());
        }
        case kLineFrom: {
            Point to = in.point();
            return play_line(p, p.pen, to);
        }
        case kShortLine: {
            Point from = in.point();
            int8_t dh = int8_t(in.u8()), dv = int8_t(in.u8());
            return play_line(p, from, Point{int16_t(from.v + dv), int16_t(from.h + dh)});
        }
        case kShortLineFrom: {
            int8_t dh = int8_t(in.u8()), dv = int8_t(in.u8());
            return play_line(p, p.pen, Point{int16_t(p.pen.v + dv), int16_t(p.pen.h + dh)});
        }
        case kLongText: {
            Point at = in.point();
            return play_text(p, at);
        }
        case kDHText: {
            int8_t dh = int8_t(in.u8());
            return play_text(p, Point{p.text_at.v, int16_t(p.text_at.h + dh)});
        }
        case kDVText: {
            int8_t dv = int8_t(in.u8());
            return play_text(p, Point{int16_t(p.text_at.v + dv), p.text_at.h});
        }
        case kDHDVText: {
            int8_t dh = int8_t(in.u8()), dv = int8_t(in.u8());
            return play_text(p, Point{int16_t(p.text_at.v + dv), int16_t(p.text_at.h + dh)});
        }
        case kBitsRect: case kBitsRgn: case kPackBitsRect: case kPackBitsRgn:
        case kDirectBitsRect: case kDirectBitsRgn: return play_bits(p, op);
        case kShortComment: case kLongComment: return play_comment(p, op);
        default: break;
    }
    if (op >= kRectBase && op < kBitsRect && (op & 7) <= 4) return play_shape(p, op);
    return play_state(p, op);
}

OSErr play(Player& p) {
    for (;;) {
        uint16_t op = read_opcode(p);
        if (!p.in.ok) return kBadPictureErr;
        if (op == kEndPic) return noErr;
        if (!play_opcode(p, op)) return kBadPictureErr;
    }
}

// Points the player at the first opcode after the version; false for data that is
// neither version 1 nor version 2.
bool start(Player& p) {
    p.in.skip(kOpcodesOffset);
    if (!p.in.ok) return false;
    uint8_t first = p.in.u8();
    uint8_t second = p.in.u8();
    if (first == 0x11 && second == 0x01) {
        p.version1 = true;
        return true;
    }
    if (first == 0x00 && second == 0x11 && p.in.u16() == 0x02FF) return true;
    return false;
}

bool starts_picture(const uint8_t* data, size_t length) {
    Player p{ByteReader{{data, length}}};
    return start(p);
}

}  // namespace

const uint8_t* picture_in_file(const uint8_t* data, size_t length, size_t& picture_length) {
    constexpr size_t kFileHeader = 512;
    picture_length = 0;
    if (!data) return nullptr;
    if (length > kFileHeader && starts_picture(data + kFileHeader, length - kFileHeader)) {
        picture_length = length - kFileHeader;
        return data + kFileHeader;
    }
    if (starts_picture(data, length)) {
        picture_length = length;
        return data;
    }
    return nullptr;
}

Rect picture_frame(const uint8_t* data, size_t length) {
    if (!data || length < kOpcodesOffset) return Rect{};
    ByteReader in{{data + kFrameOffset, length - kFrameOffset}};
    return in.rect();
}

void set_picture_comment_proc(PictureCommentProc proc, void* context) {
    comment_proc = proc;
    comment_context = context;
}

OSErr draw_picture(PicHandle pic, const Rect& dst) {
    if (!pic) return kBadPictureErr;
    return draw_picture_data(pic->data.data(), pic->data.size(), dst);
}

OSErr draw_picture_data(const uint8_t* data, size_t length, const Rect& dst) {
    Port* port = get_port();
    if (!port || !data) return kBadPictureErr;
    Player p{ByteReader{{data, length}}};
    if (!start(p)) return kBadPictureErr;
    p.map = Mapping{picture_frame(data, length), dst};
    PortState saved = save_port_state(*port);
    static_cast<DrawingState&>(*port) = DrawingState{};
    port->pen_visible = saved.drawing.pen_visible;
    p.base_clip = saved.clip_rgn;
    OSErr result = play(p);
    restore_port_state(*port, saved);
    return result;
}

}  // namespace pf
