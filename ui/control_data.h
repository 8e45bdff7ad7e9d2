// Tagged data of controls: the texts of edit and static text fields, key
// filters, selections, default buttons and list boxes. Every routine answers
// -50 for a null control or a null output; texts are length-prefixed, at most
// 255 bytes.
#pragma once

#include <cstdint>

#include "platform/controls/controls.h"

using ControlKeyFilter = void*;

pf::OSErr GetEditTextText(pf::ControlRef control, unsigned char* out);
pf::OSErr SetEditTextText(pf::ControlRef control, const unsigned char* text, bool redraw);
pf::OSErr SetEditTextSelection(pf::ControlRef control, int16_t start, int16_t end);
