// Region and polygon records of the PICT format.
#include "platform/draw/picture_format.h"
#include "platform/draw/region_internal.h"

#include <algorithm>

namespace pf::pict {

namespace {

constexpr uint16_t kEndMark = 0x7FFF;
constexpr size_t kRecordHeader = 10;  // size word and bounding box

struct Band {
    int top, bottom;
    std::vector<int> edges;  // left and right of each span, ascending
};

std::vector<Band> bands_of(RgnHandle rgn) {
    std::vector<Band> bands;
    for (const Rect& r : region_rects(rgn)) {
        if (bands.empty() || bands.back().top != r.top) bands.push_back(Band{r.top, r.bottom, {}});
        bands.back().edges.push_back(r.left);
        bands.back().edges.push_back(r.right);
    }
    return bands;
}

std::vector<int> flipped(const std::vector<int>& a, const std::vector<int>& b) {
    std::vector<int> out;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

void write_line(Writer& w, int v, const std::vector<int>& points) {
    if (points.empty()) return;
    w.u16(uint16_t(v));
    for (int h : points) w.u16(uint16_t(h));
    w.u16(kEndMark);
}

}  // namespace

void write_region(Writer& w, RgnHandle rgn) {
    std::vector<Band> bands = bands_of(rgn);
    Writer lines;
    if (bands.size() > 1 || (bands.size() == 1 && bands[0].edges.size() > 2)) {
        std::vector<int> current;
        int current_bottom = 0;
        for (const Band& band : bands) {
            if (!current.empty() && current_bottom != band.top) {
                write_line(lines, current_bottom, current);
                current.clear();
            }
            write_line(lines, band.top, flipped(current, band.edges));
            current = band.edges;
            current_bottom = band.bottom;
        }
        write_line(lines, current_bottom, current);
        lines.u16(kEndMark);
    }
    // A region too intricate for the size word is kept as its bounding box.
    if (lines.bytes.size() > 0xFFFF - kRecordHeader) lines.bytes.clear();
    w.u16(uint16_t(kRecordHeader + lines.bytes.size()));
    w.rect(region_bounds(rgn));
    w.raw(lines.bytes.data(), lines.bytes.size());
}

bool read_region(ByteReader& r, RgnHandle rgn) {
    uint16_t size = r.u16();
    Rect bbox = r.rect();
    if (!r.ok || size < kRecordHeader) return false;
    if (size == kRecordHeader) {
        rect_region(rgn, bbox);
        return true;
    }
    const uint8_t* body = r.take(size - kRecordHeader).data();
    if (!body) return false;
    ByteReader lines{{body, size - kRecordHeader}};
    std::vector<pixman_box32_t> boxes;
    std::vector<int> current, points;
    int line_v = 0;
    bool started = false;
    for (;;) {
        uint16_t v = lines.u16();
        if (!lines.ok) return false;
        if (v == kEndMark) break;
        if (started && int16_t(v) <= line_v) return false;
        if (started)
            for (size_t i = 0; i + 1 < current.size(); i += 2)
                boxes.push_back({current[i], line_v, current[i + 1], int16_t(v)});
        points.clear();
        for (uint16_t h = lines.u16(); h != kEndMark && lines.ok; h = lines.u16()) points.push_back(int16_t(h));
        std::sort(points.begin(), points.end());
        current = flipped(current, points);
        line_v = int16_t(v);
        started = true;
    }
    if (!current.empty() || !lines.ok) return false;
    set_empty_region(rgn);
    pixman_region32_fini(&rgn->r);
    pixman_region32_init_rects(&rgn->r, boxes.data(), int(boxes.size()));
    return true;
}

void write_poly(Writer& w, const Polygon& poly) {
    w.u16(uint16_t(kRecordHeader + 4 * poly.points.size()));
    w.rect(poly.bbox);
    for (Point p : poly.points) w.point(p);
}

bool read_poly(ByteReader& r, Polygon& poly) {
    uint16_t size = r.u16();
    poly.bbox = r.rect();
    if (!r.ok || size < kRecordHeader || (size - kRecordHeader) % 4) return false;
    size_t count = (size - kRecordHeader) / 4;
    if (!r.need(count * 4)) return false;
    poly.points.clear();
    poly.points.reserve(count);
    for (size_t i = 0; i < count; ++i) poly.points.push_back(r.point());
    return true;
}

}  // namespace pf::pict
