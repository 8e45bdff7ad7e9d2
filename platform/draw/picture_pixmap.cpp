// Bit images in pictures: writing one-bit and direct images, reading bitmaps,
// indexed and direct pixel maps with their packings.
#include "platform/draw/picture_format.h"
#include "platform/draw/paint.h"

#include <algorithm>

namespace pf::pict {

namespace {

constexpr uint16_t kPixMapFlag = 0x8000;
constexpr int kMaxSide = 16384;
constexpr size_t kMaxPixelBytes = size_t(64) << 20;
constexpr uint32_t kResolution72 = 0x00480000;

// --- writing

void write_one_bit_rows(Writer& w, const BitMap& src, const Rect& r, int row_bytes) {
    for (int v = r.top; v < r.bottom; ++v) {
        std::vector<uint8_t> row(row_bytes, 0);
        for (int h = r.left; h < r.right; ++h) {
            bool set;
            if (src.depth == 1) {
                const uint8_t* line = src.base + ptrdiff_t(v - src.bounds.top) * src.row_bytes;
                int x = h - src.bounds.left;
                set = (line[x >> 3] >> (7 - (x & 7))) & 1;
            } else {
                const uint8_t* line = src.base + ptrdiff_t(v - src.bounds.top) * src.row_bytes;
                uint32_t px = reinterpret_cast<const uint32_t*>(line)[h - src.bounds.left] & 0xFFFFFF;
                set = px != 0xFFFFFF;
            }
            if (set) row[(h - r.left) >> 3] |= uint8_t(0x80 >> ((h - r.left) & 7));
        }
        w.raw(row.data(), row.size());
    }
}

uint32_t direct_pixel(const BitMap& src, int h, int v) {
    const uint8_t* line = src.base + ptrdiff_t(v - src.bounds.top) * src.row_bytes;
    int x = h - src.bounds.left;
    if (src.depth == 8) {
        const ColorTable& t = src.colors ? *src.colors : system_palette();
        uint8_t i = line[x];
        return i < t.colors.size() ? pixel_of(t.colors[i]) & 0xFFFFFF : 0xFFFFFF;
    }
    return reinterpret_cast<const uint32_t*>(line)[x] & 0xFFFFFF;
}

void write_pix_map_fields(Writer& w, int row_bytes, const Rect& bounds) {
    w.u16(uint16_t(row_bytes | kPixMapFlag));
    w.rect(bounds);
    w.u16(0);  // version
    w.u16(1);  // packing: none
    w.u32(0);  // packed size
    w.u32(kResolution72);
    w.u32(kResolution72);
    w.u16(16);  // direct colour
    w.u16(32);  // bits a pixel
    w.u16(3);   // components
    w.u16(8);   // bits a component
    w.u32(0);   // plane bytes
    w.u32(0);   // colour table
    w.u32(0);   // reserved
}

bool is_one_bit_source(const BitMap& src) { return src.depth == 1 || src.one_bit; }

// --- reading

bool unpack_bits(ByteReader& r, size_t packed, uint8_t* out, size_t out_size) {
    const uint8_t* p = r.take(packed).data();
    if (!p) return false;
    size_t i = 0, o = 0;
    while (i < packed && o < out_size) {
        int8_t n = int8_t(p[i++]);
        if (n >= 0) {
            size_t count = size_t(n) + 1;
            if (i + count > packed || o + count > out_size) return false;
            std::copy(p + i, p + i + count, out + o);
            i += count;
            o += count;
        } else if (n != -128) {
            size_t count = size_t(1 - n);
            if (i >= packed || o + count > out_size) return false;
            std::fill(out + o, out + o + count, p[i++]);
            o += count;
        }
    }
    return o == out_size;
}

// One row of `row_bytes` bytes: packed rows carry their byte count first.
bool read_row(ByteReader& r, bool packed, size_t row_bytes, uint8_t* out) {
    if (!packed) {
        const uint8_t* p = r.take(row_bytes).data();
        if (!p) return false;
        std::copy(p, p + row_bytes, out);
        return true;
    }
    size_t count = row_bytes > 250 ? r.u16() : r.u8();
    return r.ok && unpack_bits(r, count, out, row_bytes);
}

struct PixMapHeader {
    uint16_t row_bytes = 0;
    Rect bounds{};
    bool pix_map = false;
    uint16_t pack_type = 0;
    uint16_t pixel_size = 1;
    uint16_t cmp_count = 1;
};

bool read_header(ByteReader& r, PixMapHeader& h) {
    uint16_t rb = r.u16();
    h.pix_map = rb & kPixMapFlag;
    h.row_bytes = rb & 0x3FFF;
    h.bounds = r.rect();
    if (h.pix_map) {
        r.skip(2);  // version
        h.pack_type = r.u16();
        r.skip(4 + 8);  // packed size, resolutions
        r.skip(2);      // pixel type
        h.pixel_size = r.u16();
        h.cmp_count = r.u16();
        r.skip(2 + 4 + 4 + 4);  // component size, plane bytes, table, reserved
    }
    int w = h.bounds.width(), ht = h.bounds.height();
    if (!r.ok || w <= 0 || ht <= 0 || w > kMaxSide || ht > kMaxSide) return false;
    if (size_t(h.row_bytes) * ht > kMaxPixelBytes) return false;
    return size_t(h.row_bytes) * 8 >= size_t(w) * h.pixel_size;
}

bool read_color_table(ByteReader& r, ColorTable& table) {
    r.skip(4 + 2);  // seed, flags
    int16_t last = r.i16();
    if (!r.ok || last < -1 || last > 255) return false;
    table.colors.assign(size_t(last + 1), kBlackColor);
    for (int i = 0; i <= last; ++i) {
        uint16_t value = r.u16();
        RGBColor c{r.u16(), r.u16(), r.u16()};
        // Device tables list entries by position; others give each entry's index.
        size_t at = value <= uint16_t(last) ? value : size_t(i);
        table.colors[at] = c;
    }
    return r.ok;
}

// Indexed pixels of any size up to 8, widened to one byte each.
void widen_indexes(const std::vector<uint8_t>& rows, const PixMapHeader& h, std::vector<uint8_t>& out) {
    int w = h.bounds.width(), ht = h.bounds.height(), bits = h.pixel_size;
    out.assign(size_t(w) * ht, 0);
    for (int v = 0; v < ht; ++v)
        for (int x = 0; x < w; ++x) {
            size_t bit = size_t(x) * bits;
            uint8_t byte = rows[size_t(v) * h.row_bytes + bit / 8];
            out[size_t(v) * w + x] = uint8_t((byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1));
        }
}

bool read_direct_rows(ByteReader& r, const PixMapHeader& h, std::vector<uint8_t>& out) {
    int w = h.bounds.width(), ht = h.bounds.height();
    out.assign(size_t(w) * ht * 4, 0);
    auto* pixels = reinterpret_cast<uint32_t*>(out.data());
    bool unpacked = h.pack_type == 1 || h.row_bytes < 8;
    std::vector<uint8_t> row(h.row_bytes);
    for (int v = 0; v < ht; ++v) {
        uint32_t* dst = pixels + size_t(v) * w;
        if (unpacked) {
            if (!read_row(r, false, h.row_bytes, row.data())) return false;
            for (int x = 0; x < w; ++x)
                dst[x] = (uint32_t(row[x * 4 + 1]) << 16) | (row[x * 4 + 2] << 8) | row[x * 4 + 3];
        } else if (h.pack_type == 2) {
            const uint8_t* p = r.take(size_t(w) * 3).data();
            if (!p) return false;
            for (int x = 0; x < w; ++x) dst[x] = (uint32_t(p[x * 3]) << 16) | (p[x * 3 + 1] << 8) | p[x * 3 + 2];
        } else if (h.pack_type == 0 || h.pack_type == 4) {
            // Components packed one after another: alpha (when four), red, green, blue.
            size_t planes = h.cmp_count == 4 ? 4 : 3;
            std::vector<uint8_t> comps(size_t(w) * planes);
            size_t count = h.row_bytes > 250 ? r.u16() : r.u8();
            if (!r.ok || !unpack_bits(r, count, comps.data(), comps.size())) return false;
            size_t red = planes - 3;
            for (int x = 0; x < w; ++x)
                dst[x] = (uint32_t(comps[red * w + x]) << 16) | (comps[(red + 1) * w + x] << 8) |
                         comps[(red + 2) * w + x];
        } else {
            return false;
        }
    }
    return true;
}

void finish_map(DecodedBits& out, const PixMapHeader& h, int16_t depth, int32_t row_bytes) {
    out.map.base = out.pixels.data();
    out.map.row_bytes = row_bytes;
    out.map.bounds = h.bounds;
    out.map.depth = depth;
    out.map.colors = depth == 8 ? &out.colors : nullptr;
    out.map.one_bit = false;
}

bool read_placement(ByteReader& r, DecodedBits& out, bool with_mask, RgnHandle mask_rgn) {
    out.src_rect = r.rect();
    out.dst_rect = r.rect();
    out.mode = r.i16();
    if (with_mask && !read_region(r, mask_rgn)) return false;
    return r.ok;
}

}  // namespace

uint16_t bits_opcode(const BitMap& src, bool with_mask) {
    if (is_one_bit_source(src)) return with_mask ? kBitsRgn : kBitsRect;
    return with_mask ? kDirectBitsRgn : kDirectBitsRect;
}

void write_bits(Writer& w, const BitMap& src, const Rect& src_rect, const Rect& dst_rect, int16_t mode,
                RgnHandle mask_rgn) {
    bool one_bit = is_one_bit_source(src);
    int width = src_rect.width();
    int row_bytes = one_bit ? ((width + 15) / 16) * 2 : width * 4;
    if (one_bit) {
        w.u16(uint16_t(row_bytes));
        w.rect(src_rect);
    } else {
        w.u32(0x000000FF);  // base address, unused
        write_pix_map_fields(w, row_bytes, src_rect);
    }
    w.rect(src_rect);
    w.rect(dst_rect);
    w.u16(uint16_t(mode));
    if (mask_rgn) write_region(w, mask_rgn);
    if (one_bit) {
        write_one_bit_rows(w, src, src_rect, row_bytes);
        return;
    }
    for (int v = src_rect.top; v < src_rect.bottom; ++v)
        for (int h = src_rect.left; h < src_rect.right; ++h) w.u32(direct_pixel(src, h, v));
}

bool read_bits(ByteReader& r, uint16_t opcode, DecodedBits& out, RgnHandle mask_rgn) {
    bool direct = opcode == kDirectBitsRect || opcode == kDirectBitsRgn;
    bool with_mask = opcode == kBitsRgn || opcode == kPackBitsRgn || opcode == kDirectBitsRgn;
    bool packed = opcode == kPackBitsRect || opcode == kPackBitsRgn;
    if (direct) r.skip(4);
    PixMapHeader h;
    if (!read_header(r, h)) return false;
    if (direct != (h.pix_map && h.pixel_size >= 16)) return false;
    if (h.pix_map && !direct) {
        if (h.pixel_size != 1 && h.pixel_size != 2 && h.pixel_size != 4 && h.pixel_size != 8) return false;
        if (!read_color_table(r, out.colors)) return false;
    }
    if (!read_placement(r, out, with_mask, mask_rgn)) return false;
    if (direct) {
        if (h.pixel_size != 32 || !read_direct_rows(r, h, out.pixels)) return false;
        finish_map(out, h, 32, h.bounds.width() * 4);
        return true;
    }
    std::vector<uint8_t> rows(size_t(h.row_bytes) * h.bounds.height());
    bool rows_packed = packed && h.row_bytes >= 8;
    for (int v = 0; v < h.bounds.height(); ++v)
        if (!read_row(r, rows_packed, h.row_bytes, rows.data() + size_t(v) * h.row_bytes)) return false;
    if (!h.pix_map) {
        out.pixels = std::move(rows);
        finish_map(out, h, 1, h.row_bytes);
        return true;
    }
    widen_indexes(rows, h, out.pixels);
    finish_map(out, h, 8, h.bounds.width());
    return true;
}

bool read_pix_pat(ByteReader& r, Pattern& out) {
    uint16_t type = r.u16();
    for (uint8_t& row : out.pat) row = r.u8();
    if (type == 2) {
        r.skip(6);  // the colour dithered to
        return r.ok;
    }
    if (type != 1) return false;
    // A colour pattern: its pixel map follows; read through it and keep the one-bit form.
    r.skip(4);  // base address
    PixMapHeader h;
    if (!read_header(r, h) || !h.pix_map) return false;
    ColorTable unused;
    if (!read_color_table(r, unused)) return false;
    std::vector<uint8_t> row(h.row_bytes);
    for (int v = 0; v < h.bounds.height(); ++v)
        if (!read_row(r, h.row_bytes >= 8, h.row_bytes, row.data())) return false;
    return true;
}

}  // namespace pf::pict
