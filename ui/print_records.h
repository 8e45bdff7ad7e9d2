// Print records: the default page format of a new layer in its flattened
// form, and the paper and page rectangles read out of a page format.
#pragma once

#include <cstdint>

#include "platform/memory/memory.h"
#include "platform/print/print.h"

// The flattened default page format, its paper rectangle in `paper`; null on failure.
pf::Handle NewPrintRec(pf::Rect* paper);
pf::OSErr GetPaperSize(pf::Handle flattened, pf::Rect* paper);
pf::OSErr GetPageSize(pf::Handle flattened, pf::Rect* page);
pf::OSErr DocPaperSize(pf::PageFormatRef format, pf::Rect* paper);
pf::OSErr DocPageSize(pf::PageFormatRef format, pf::Rect* page);
// Top, left, bottom, right in points to whole points; orientation 2 or 4 swaps the axes.
void ConvertRect(const pf::PrintRect& sides, pf::Rect* out, int16_t orientation);
// Validates the stored format in the session (or one of its own); a format the
// validation changed is stored back.
pf::OSErr ValidatePrintRec(pf::Handle flattened, pf::PrintSessionRef session, bool* changed);
