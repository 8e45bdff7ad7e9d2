// Drawing: ports that draw into a pixel surface (the screen, a window's area of it,
// an offscreen world) or a PDF page, with a local coordinate system, clip and visible
// regions, a pen, fore and back colours and text state. Coordinates lie between
// pixels; a rectangle covers [left, right) x [top, bottom).
//
// The other headers of this folder hold ports (port.h), rectangles (rects.h),
// regions (region.h), shapes (shapes.h), colours (colour.h), devices (devices.h),
// pixel moves and offscreen worlds (bits.h), pictures (picture.h), small images
// (small_images.h), theme drawing (theme.h), output (output.h), text (text.h) and the
// painting core the module's own files share (paint.h).
#pragma once

#include "platform/draw/bits.h"
#include "platform/draw/colour.h"
#include "platform/draw/devices.h"
#include "platform/draw/output.h"
#include "platform/draw/picture.h"
#include "platform/draw/port.h"
#include "platform/draw/rects.h"
#include "platform/draw/region.h"
#include "platform/draw/shapes.h"
#include "platform/draw/small_images.h"
#include "platform/draw/theme.h"
