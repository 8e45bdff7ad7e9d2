// Turned text: the text is drawn into an offscreen world, its pixels are moved
// into a second world turned by the quarter, and that world is copied to the port
// at the pen. Justified text spreads extra width over the characters.
#include "styledtext/rotated_text.h"

#include "core/string_utils.h"
#include "platform/draw/draw.h"
#include "platform/draw/paint.h"
#include "platform/draw/text.h"
#include "platform/text/text.h"

#include <string_view>

namespace {

// Picture comments understood by PostScript printers.
constexpr int16_t kTextBegin = 150;
constexpr int16_t kTextEnd = 151;
constexpr int16_t kTextCenter = 154;
constexpr int16_t kPostScriptBegin = 190;
constexpr int16_t kPostScriptEnd = 191;

int16_t round_up_16(int32_t value) { return int16_t(16 * ((value - 1) / 16 + 1)); }

// Draws the text at the pen of the current port as the unturned original.
void draw_plain(std::string_view text, int16_t extraWidth, int16_t justifyMode) {
    int16_t script = pf::font_to_script(pf::get_port()->text_font);
    if (extraWidth == 0) {
        pf::draw_text(text);
    } else if (script < 1 || script > 3) {
        pf::draw_justified(text, pf::Fixed(extraWidth) << 16, pf::kOnlyStyleRun);
    } else {
        draw_justtext(text.data(), int16_t(text.size()), extraWidth, justifyMode);
    }
}

// Where source pixel (row r, column c) of a w-wide, h-high world goes when turned.
pf::Point turned(int16_t quarter, int r, int c, int w, int h) {
    switch (quarter) {
        case 90: return pf::Point{int16_t(w - 1 - c), int16_t(r)};
        case 180: return pf::Point{int16_t(h - 1 - r), int16_t(w - 1 - c)};
        default: return pf::Point{int16_t(c), int16_t(h - 1 - r)};
    }
}

void turn_pixels(pf::GWorldPtr source, pf::GWorldPtr dest, int16_t quarter, int w, int h) {
    pf::surface_flush(source->port);
    pf::surface_flush(dest->port);
    for (int r = 0; r < h; ++r) {
        const uint32_t* row = pf::surface_row(source->port, r);
        for (int c = 0; c < w; ++c) {
            pf::Point to = turned(quarter, r, c, w, h);
            pf::surface_row(dest->port, to.v)[to.h] = row[c];
        }
    }
    pf::surface_changed(dest->port);
}

// The turned world's place on the port, so that the baseline runs through the pen.
pf::Rect turned_place(int16_t quarter, pf::Point pen, int16_t ascent, int w, int h) {
    switch (quarter) {
        case 90: {
            int16_t left = int16_t(pen.h - ascent), top = int16_t(pen.v - w + 1);
            return pf::Rect{top, left, int16_t(top + w), int16_t(left + h)};
        }
        case 180: {
            int16_t left = int16_t(pen.h - w), top = int16_t(pen.v - (h - ascent));
            return pf::Rect{top, left, int16_t(top + h), int16_t(left + w)};
        }
        default: {
            int16_t left = int16_t(pen.h + ascent - h + 1), top = pen.v;
            return pf::Rect{top, left, int16_t(top + w), int16_t(left + h)};
        }
    }
}

// The pen after the text: moved by the advance along the turned baseline.
pf::Point pen_after(int16_t quarter, pf::Point pen, int16_t advance) {
    switch (quarter) {
        case 90: return pf::Point{int16_t(pen.v - advance), pen.h};
        case 180: return pf::Point{pen.v, int16_t(pen.h - advance)};
        default: return pf::Point{int16_t(pen.v + advance), pen.h};
    }
}

void put_big_endian_16(uint8_t* at, int16_t value) {
    at[0] = uint8_t(uint16_t(value) >> 8);
    at[1] = uint8_t(value);
}

// Records the text for a printer that turns it itself, drawn nowhere on the port.
void record_turned_text(std::string_view text, int16_t extraWidth, int16_t justifyMode, int16_t quarter, pf::Point pen) {
    pf::pic_comment(kPostScriptBegin, nullptr, 0);
    pf::pic_comment(kPostScriptEnd, nullptr, 0);
    uint8_t begin[6] = {1, 0, 0, 0, 0, 0};
    put_big_endian_16(begin + 2, int16_t(360 - quarter));
    pf::pic_comment(kTextBegin, begin, sizeof begin);
    uint8_t center[8] = {};
    pf::pic_comment(kTextCenter, center, sizeof center);
    pf::RgnHandle saved = pf::new_region();
    pf::get_clip(saved);
    pf::clip_rect(pf::Rect{});
    if (quarter == 90) pf::move_to(pen.h, int16_t(pen.v + 1));
    else pf::move_to(int16_t(pen.h + 1), pen.v);
    draw_plain(text, extraWidth, justifyMode);
    pf::set_clip(saved);
    pf::dispose_region(saved);
}

}  // namespace

int16_t RotationQuarter(int16_t angle) {
    int32_t a = angle % 360;
    if (a < 0) a += 360;
    return int16_t(((a + 45) / 90 * 90) % 360);
}

int16_t RotateTextStr(const unsigned char* text, int16_t angle, bool withComments) {
    return RotateText(reinterpret_cast<const char*>(text + 1), text[0], 0, 0, angle, withComments);
}

int16_t RotateText(const char* text, int16_t length, int16_t extraWidth, int16_t justifyMode, int16_t angle,
                   bool withComments) {
    std::string_view str(text, size_t(length > 0 ? length : 0));
    int16_t quarter = RotationQuarter(angle);
    if (quarter == 0) {
        pf::draw_text(str);
        return 0;
    }
    pf::Port* port = pf::get_port();
    pf::Point pen = pf::get_pen();
    pf::FontInfo info;
    pf::get_font_info(info);
    int16_t advance = int16_t(pf::text_width(str) + extraWidth);
    if (advance <= 0) return 0;
    int w = round_up_16(advance), h = round_up_16(info.ascent + info.descent);
    bool upright = quarter == 180;
    pf::GWorldPtr source = nullptr, dest = nullptr;
    if (pf::new_gworld(&source, 0, pf::Rect{0, 0, int16_t(h), int16_t(w)}, 0) == pf::noErr &&
        pf::new_gworld(&dest, 0, upright ? pf::Rect{0, 0, int16_t(h), int16_t(w)} : pf::Rect{0, 0, int16_t(w), int16_t(h)},
                       0) == pf::noErr) {
        {
            pf::PortScope scope(&source->port);
            pf::erase_rect(source->port.port_rect);
            pf::text_font(port->text_font);
            pf::text_size(port->text_size);
            pf::text_face(port->text_face);
            pf::move_to(0, info.ascent);
            draw_plain(str, extraWidth, justifyMode);
        }
        turn_pixels(source, dest, quarter, w, h);
        if (withComments && port->picture) record_turned_text(str, extraWidth, justifyMode, quarter, pen);
        pf::BitMap bits = pf::gworld_bits(dest);
        pf::copy_bits(bits, bits.bounds, turned_place(quarter, pen, info.ascent, w, h), pf::kSrcOr);
        if (withComments && port->picture) pf::pic_comment(kTextEnd, nullptr, 0);
    }
    if (source) pf::dispose_gworld(source);
    if (dest) pf::dispose_gworld(dest);
    pf::Point after = pen_after(quarter, pen, advance);
    pf::move_to(after.h, after.v);
    return advance;
}

void draw_justtext(const char* text, int16_t length, int16_t extraWidth, int16_t justifyMode) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    int16_t script = pf::font_to_script(pf::get_port()->text_font);
    while (length > 0 && bytes[length - 1] < 32) --length;
    int32_t n = count_characters(bytes, length, script);
    pf::Fixed divisor = justifyMode == 0 ? (n - 1) << 16 : justifyMode == 3 ? n << 16 : (n << 16) - 0x8000;
    pf::Fixed extra = pf::Fixed(extraWidth) << 16;
    pf::Fixed step = divisor > 0 ? pf::Fixed((int64_t(extra) << 16) / divisor) : extra;
    pf::Fixed carried = 0;
    if (justifyMode == 2) carried = n < 2 ? extra : step / 2;
    if (justifyMode == 3) carried = step / 2;
    pf::move(int16_t(carried >> 16), 0);
    carried &= 0xFFFF;
    for (int16_t i = 0; i < length; ++i) {
        int16_t size = pf::character_byte_type(text, i, script) == -1 && i + 1 < length ? 2 : 1;
        pf::draw_text(std::string_view(text + i, size_t(size)));
        i = int16_t(i + size - 1);
        carried += step;
        pf::move(int16_t(carried >> 16), 0);
        carried &= 0xFFFF;
    }
}
