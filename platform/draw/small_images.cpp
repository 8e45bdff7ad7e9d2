#include "platform/draw/small_images.h"

#include <algorithm>

namespace pf {

Image16 image16_of(const Bits16& bits) {
    Image16 image;
    for (size_t row = 0; row < bits.size(); ++row) {
        image.rows[row * 2] = uint8_t(bits[row] >> 8);
        image.rows[row * 2 + 1] = uint8_t(bits[row]);
    }
    return image;
}

BitMap image16_map(const Image16& image) {
    BitMap bm;
    bm.base = image.rows;
    bm.row_bytes = 2;
    bm.bounds = Rect{0, 0, 16, 16};
    bm.depth = 1;
    return bm;
}

BitMap color_icon_map(const ColorIcon& icon) {
    BitMap bm;
    bm.base = icon.data();
    bm.row_bytes = 16;
    bm.bounds = Rect{0, 0, 16, 16};
    bm.depth = 8;
    bm.colors = &system_palette();
    return bm;
}

Pattern pattern_of(const PatternBytes& bytes) {
    Pattern pat;
    std::copy(bytes.begin(), bytes.end(), pat.pat);
    return pat;
}

Rect image_rect_at(int16_t h, int16_t v) { return Rect{v, h, int16_t(v + 16), int16_t(h + 16)}; }

}  // namespace pf
