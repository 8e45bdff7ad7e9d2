// Printing: page formats (the paper and its printable page) made, validated
// and kept by a printing session, and their flattened form, a handle of bytes
// that documents store and read back.
//
// Rectangles are in points (72 per inch) as top, left, bottom, right. The page
// is the printable area with its origin at (0, 0); the paper is given relative
// to the page, so its top and left are negative (the margins). The default
// paper is US Letter, or A4 where the international settings are metric, with
// margins of a quarter inch.
#pragma once

#include <cstdint>

#include "platform/memory/memory.h"
#include "platform/types.h"

namespace pf {

struct PageFormat;
using PageFormatRef = PageFormat*;
struct PrintSession;
using PrintSessionRef = PrintSession*;

struct PrintRect {
    double top = 0, left = 0, bottom = 0, right = 0;
};

constexpr int16_t kPortraitOrientation = 1;
constexpr int16_t kLandscapeOrientation = 2;
// A page format's resolution unless one is set: one dot per point.
constexpr int16_t kPointResolution = 72;

OSErr print_create_session(PrintSessionRef& session);
void print_release_session(PrintSessionRef session);

OSErr print_create_page_format(PageFormatRef& format);
void print_dispose_page_format(PageFormatRef format);
// The session's default paper, margins and orientation into the format.
OSErr print_session_default_page_format(PrintSessionRef session, PageFormatRef format);
// Makes a format consistent (a page inside its paper, sizes above zero, a known
// orientation); `changed` tells whether anything was altered.
OSErr print_session_validate_page_format(PrintSessionRef session, PageFormatRef format, bool& changed);

OSErr print_get_adjusted_paper_rect(PageFormatRef format, PrintRect& paper);
OSErr print_get_adjusted_page_rect(PageFormatRef format, PrintRect& page);
// The paper's size in points as it stands upright (width, height); kParamErr
// for sizes the validation would refuse.
OSErr print_get_paper_size(PageFormatRef format, double& width, double& height);
OSErr print_set_paper_size(PageFormatRef format, double width, double height);
OSErr print_get_orientation(PageFormatRef format, int16_t& orientation);
OSErr print_set_orientation(PageFormatRef format, int16_t orientation);
// The resolution in dots per inch, across and down (kPointResolution unless
// set); kParamErr for resolutions the validation would refuse.
OSErr print_get_resolution(PageFormatRef format, int16_t& horizontal, int16_t& vertical);
OSErr print_set_resolution(PageFormatRef format, int16_t horizontal, int16_t vertical);

// The flattened form: kParamErr for a handle that does not hold a page format.
OSErr print_flatten_page_format(PageFormatRef format, Handle& flattened);
OSErr print_unflatten_page_format(Handle flattened, PageFormatRef& format);

}  // namespace pf
