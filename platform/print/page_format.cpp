// Print sessions and page formats: paper size (Letter, or A4 where the system
// is metric), margin and orientation; their check and repair; the adjusted
// paper and page rectangles; and the flattened form (marker, version,
// orientation, then width, height and margin as big-endian doubles, then the
// horizontal and vertical resolution as big-endian words; the first version
// ends before the resolution, which it leaves at 72 dots per inch).
#include <cmath>
#include <cstring>

#include "platform/print/print.h"
#include "platform/resources/byte_reader.h"
#include "platform/system/international.h"

namespace pf {

struct PageFormat {
    double paper_width = 0, paper_height = 0;  // portrait
    double margin = 0;
    int16_t orientation = kPortraitOrientation;
    int16_t h_resolution = kPointResolution, v_resolution = kPointResolution;  // dots per inch
};

struct PrintSession {
    int unused = 0;
};

namespace {

constexpr double kLetterWidth = 612, kLetterHeight = 792;
constexpr double kA4Width = 595, kA4Height = 842;
constexpr double kDefaultMargin = 18;
constexpr double kSmallestSide = 72;
constexpr double kLargestSide = 14400;
constexpr FourCC kFlatMarker = four_cc("QPgF");
constexpr uint16_t kFirstFlatVersion = 1, kFlatVersion = 2;
constexpr size_t kFirstFlatSize = 4 + 2 + 2 + 3 * 8;
constexpr size_t kFlatSize = kFirstFlatSize + 2 + 2;
constexpr int16_t kLargestResolution = 9600;

void put_u32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}
void put_double(uint8_t* p, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    put_u32(p, uint32_t(bits >> 32));
    put_u32(p + 4, uint32_t(bits));
}
double get_double(ByteReader& in) {
    uint64_t bits = in.u64();
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

// Width and height as the page is turned.
void turned_size(const PageFormat& f, double& width, double& height) {
    bool landscape = f.orientation == kLandscapeOrientation;
    width = landscape ? f.paper_height : f.paper_width;
    height = landscape ? f.paper_width : f.paper_height;
}

bool sane(double v, double low, double high) { return std::isfinite(v) && v >= low && v <= high; }
bool sane_resolution(int16_t dots) { return dots > 0 && dots <= kLargestResolution; }

}  // namespace

OSErr print_create_session(PrintSessionRef& session) {
    session = new PrintSession;
    return noErr;
}

void print_release_session(PrintSessionRef session) { delete session; }

OSErr print_create_page_format(PageFormatRef& format) {
    format = new PageFormat;
    return noErr;
}

void print_dispose_page_format(PageFormatRef format) { delete format; }

OSErr print_session_default_page_format(PrintSessionRef session, PageFormatRef format) {
    if (!session || !format) return kParamErr;
    bool metric = international_settings().metric;
    format->paper_width = metric ? kA4Width : kLetterWidth;
    format->paper_height = metric ? kA4Height : kLetterHeight;
    format->margin = kDefaultMargin;
    format->orientation = kPortraitOrientation;
    return noErr;
}

OSErr print_session_validate_page_format(PrintSessionRef, PageFormatRef format, bool& changed) {
    if (!format) return kParamErr;
    PageFormat before = *format;
    if (!sane(format->paper_width, kSmallestSide, kLargestSide) || !sane(format->paper_height, kSmallestSide, kLargestSide)) {
        format->paper_width = kLetterWidth;
        format->paper_height = kLetterHeight;
    }
    double smaller_side = std::min(format->paper_width, format->paper_height);
    if (!sane(format->margin, 0, smaller_side / 4)) format->margin = kDefaultMargin;
    if (format->orientation != kPortraitOrientation && format->orientation != kLandscapeOrientation)
        format->orientation = kPortraitOrientation;
    if (!sane_resolution(format->h_resolution) || !sane_resolution(format->v_resolution))
        format->h_resolution = format->v_resolution = kPointResolution;
    changed = std::memcmp(&before, format, sizeof before) != 0;
    return noErr;
}

OSErr print_get_adjusted_paper_rect(PageFormatRef format, PrintRect& paper) {
    if (!format) return kParamErr;
    double width, height;
    turned_size(*format, width, height);
    paper = PrintRect{-format->margin, -format->margin, height - format->margin, width - format->margin};
    return noErr;
}

OSErr print_get_adjusted_page_rect(PageFormatRef format, PrintRect& page) {
    if (!format) return kParamErr;
    double width, height;
    turned_size(*format, width, height);
    page = PrintRect{0, 0, height - 2 * format->margin, width - 2 * format->margin};
    return noErr;
}

OSErr print_get_paper_size(PageFormatRef format, double& width, double& height) {
    if (!format) return kParamErr;
    width = format->paper_width;
    height = format->paper_height;
    return noErr;
}

OSErr print_set_paper_size(PageFormatRef format, double width, double height) {
    if (!format || !sane(width, kSmallestSide, kLargestSide) || !sane(height, kSmallestSide, kLargestSide))
        return kParamErr;
    format->paper_width = width;
    format->paper_height = height;
    return noErr;
}

OSErr print_get_orientation(PageFormatRef format, int16_t& orientation) {
    if (!format) return kParamErr;
    orientation = format->orientation;
    return noErr;
}

OSErr print_set_orientation(PageFormatRef format, int16_t orientation) {
    if (!format || (orientation != kPortraitOrientation && orientation != kLandscapeOrientation)) return kParamErr;
    format->orientation = orientation;
    return noErr;
}

OSErr print_get_resolution(PageFormatRef format, int16_t& horizontal, int16_t& vertical) {
    if (!format) return kParamErr;
    horizontal = format->h_resolution;
    vertical = format->v_resolution;
    return noErr;
}

OSErr print_set_resolution(PageFormatRef format, int16_t horizontal, int16_t vertical) {
    if (!format || !sane_resolution(horizontal) || !sane_resolution(vertical)) return kParamErr;
    format->h_resolution = horizontal;
    format->v_resolution = vertical;
    return noErr;
}

OSErr print_flatten_page_format(PageFormatRef format, Handle& flattened) {
    if (!format) return kParamErr;
    uint8_t bytes[kFlatSize];
    put_u32(bytes, kFlatMarker);
    bytes[4] = uint8_t(kFlatVersion >> 8);
    bytes[5] = uint8_t(kFlatVersion);
    bytes[6] = uint8_t(uint16_t(format->orientation) >> 8);
    bytes[7] = uint8_t(format->orientation);
    put_double(bytes + 8, format->paper_width);
    put_double(bytes + 16, format->paper_height);
    put_double(bytes + 24, format->margin);
    bytes[32] = uint8_t(uint16_t(format->h_resolution) >> 8);
    bytes[33] = uint8_t(format->h_resolution);
    bytes[34] = uint8_t(uint16_t(format->v_resolution) >> 8);
    bytes[35] = uint8_t(format->v_resolution);
    flattened = ptr_to_hand(bytes, Size(kFlatSize));
    return flattened ? noErr : mem_error();
}

OSErr print_unflatten_page_format(Handle flattened, PageFormatRef& format) {
    format = nullptr;
    if (!flattened) return kParamErr;
    const size_t size = size_t(get_handle_size(flattened));
    if (size != kFlatSize && size != kFirstFlatSize) return kParamErr;
    ByteReader in{{reinterpret_cast<const uint8_t*>(*flattened), size}};
    if (in.u32() != kFlatMarker || in.u16() != (size == kFlatSize ? kFlatVersion : kFirstFlatVersion)) return kParamErr;
    PageFormat read;
    read.orientation = in.i16();
    read.paper_width = get_double(in);
    read.paper_height = get_double(in);
    read.margin = get_double(in);
    if (size == kFlatSize) {
        read.h_resolution = in.i16();
        read.v_resolution = in.i16();
        if (!sane_resolution(read.h_resolution) || !sane_resolution(read.v_resolution))
            read.h_resolution = read.v_resolution = kPointResolution;
    }
    format = new PageFormat(read);
    return noErr;
}

}  // namespace pf
