// Format blocks: defaults, field access, the visible-difference test of the
// format precedence rule, and the one-field change primitive.
#include "model/cell_format.h"

#include <cstring>

#include "model/record_bytes.h"

int16_t format_id(const uint8_t* format) { return load_i16(format + kFmtId); }
void set_format_id(uint8_t* format, int16_t id) { store_i16(format + kFmtId, id); }
uint16_t format_font(const uint8_t* format) { return load_u16(format + kFmtFont); }
uint16_t format_border_styles(const uint8_t* format) { return load_u16(format + kFmtBorderStyles); }
uint32_t format_border_colours(const uint8_t* format) { return load_u32(format + kFmtBorderColours); }
int16_t format_extent(const uint8_t* format) { return load_i16(format + kFmtExtent); }
void set_format_extent(uint8_t* format, int16_t extent) { store_i16(format + kFmtExtent, extent); }

void GetDefaultFormat(uint8_t* format) {
    std::memset(format, 0, kCellFormatSize);
    set_format_id(format, -1);
    store_u16(format + kFmtFont, kDefaultFontNumber);
    format[kFmtSize] = kLayerDefaultSize;
    format[kFmtCode] = kFormatGeneral;
    format[kFmtDecimals] = 2;
    format[kFmtCellType] = 255;
    set_format_extent(format, -1);
}

bool format_differs_visibly(const uint8_t* format, const uint8_t* reference) {
    constexpr uint8_t kVisibleFlagsB = 0x01 | 0x20 | 0x40;
    // Bytes 2-9: font, size, code, decimals, face, alignment, flags A.
    if (std::memcmp(format + kFmtFont, reference + kFmtFont, kFmtLabelLength - kFmtFont) != 0)
        return true;
    if ((format[kFmtFlagsB] ^ reference[kFmtFlagsB]) & kVisibleFlagsB) return true;
    // Bytes 14-23: colours, pattern, border styles and border colours.
    return std::memcmp(format + kFmtTextColour, reference + kFmtTextColour,
                       kFmtExtent - kFmtTextColour) != 0;
}

namespace {

void change_bit(uint8_t& byte, int bit, bool clear) {
    if (bit < 0 || bit > 7) return;
    if (clear)
        byte &= uint8_t(~(1u << bit));
    else
        byte |= uint8_t(1u << bit);
}

void change_face(uint8_t* format, int16_t value, bool clear) {
    uint8_t& face = format[kFmtFace];
    if (clear && value == 0) {
        face = 0;
        return;
    }
    if (clear && value >= kFaceBitAlone) value = int16_t(value - kFaceBitAlone);
    change_bit(face, value, clear);
    if (clear) return;
    if (value == 6) face &= uint8_t(~0x80);  // condense and extend exclude each other
    if (value == 7) face &= uint8_t(~0x40);
}

void change_alignment(uint8_t* format, int16_t value, bool clear) {
    uint8_t& align = format[kFmtAlign];
    if (value >= 0 && value <= 8)
        align = uint8_t((align & 0xF8) | value);
    else if (value >= 10)
        change_bit(align, value - 10, clear);
}

// Replaces the 4-bit field at `shift` of the border styles word.
void change_border_style(uint8_t* format, int shift, int16_t style) {
    uint16_t styles = format_border_styles(format);
    styles = uint16_t((styles & ~(0xF << shift)) | ((style & 0xF) << shift));
    store_u16(format + kFmtBorderStyles, styles);
}

void change_border_colour(uint8_t* format, int shift, int16_t value) {
    uint32_t colours = format_border_colours(format);
    colours = (colours & ~(0xFFu << shift)) | (uint32_t(uint8_t(value)) << shift);
    store_u32(format + kFmtBorderColours, colours);
}

}  // namespace

void SetFormatByte(uint8_t* format, int16_t field, int16_t value, bool clear) {
    switch (field) {
    case kFmtFont: store_u16(format + kFmtFont, uint16_t(value)); break;
    case kFmtSize:
    case kFmtCode:
    case kFmtDecimals:
    case kFmtTextColour:
    case kFmtPattern:
    case kFmtPatternFore:
    case kFmtPatternBack: format[field] = uint8_t(value); break;
    case kFmtFace: change_face(format, value, clear); break;
    case kFmtAlign: change_alignment(format, value, clear); break;
    case kFmtFlagsA:
    case kFmtFlagsB: change_bit(format[field], value, clear); break;
    case kFmtBorderStyles:  // top (value 0-15) or left (16-31)
        change_border_style(format, value < 16 ? 8 : 12, value < 16 ? value : value - 16);
        break;
    case kFmtBorderStyles + 1:  // bottom (0-15) or right (16-31)
        change_border_style(format, value < 16 ? 0 : 4, value < 16 ? value : value - 16);
        break;
    case kFmtBorderColours:
        if (clear)
            store_u32(format + kFmtBorderColours, 0);
        else
            change_border_colour(format, 24, value);
        break;
    case kFmtBorderColours + 1: change_border_colour(format, 16, value); break;
    case kFmtBorderColours + 2: change_border_colour(format, 8, value); break;
    case kFmtBorderColours + 3: change_border_colour(format, 0, value); break;
    default: break;
    }
}
