// Drag and drop of styled text, for the windows that hold instances: their click
// procedure starts a drag when a press on the selection moves, and their drag
// tracking and receive handlers pass the drag on.
#pragma once

#include "platform/drag/drag.h"
#include "styledtext/styled_text.h"

// Undo kind of a drop.
constexpr int16_t weAKDrag = 8;

// Whether a point of the view lies on the selection's highlight.
bool WEPointInSelection(pf::Point point, WEReference we, int16_t view = 0);

// Drags the selection from the press `event` ("TEXT" and "styl" of item 1, the
// highlight's edge as the outline); answers the drag manager's result.
pf::OSErr WEDragSelection(const pf::EventRecord& event, WEReference we, int16_t view = 0);

// Tracking handler work: a drop caret at the offset under the mouse while the
// drag is over the view.
pf::OSErr WETrackDrag(int16_t message, pf::DragRef drag, WEReference we, int16_t view = 0);

// Receive handler work: the dragged text goes in at the offset under the mouse;
// from the selection of this same instance it moves unless Option was held.
pf::OSErr WEReceiveDrag(pf::DragRef drag, WEReference we, int16_t view = 0);

// Inserts text (with its "styl" block, or null) at an offset and selects it, as a
// drop; with moveSelection the selection is taken away from where it was. A drop
// onto the moved selection itself changes nothing. One undo takes it all back.
pf::OSErr WEDropText(int32_t offset, const void* text, int32_t length, pf::Handle styleScrap, bool moveSelection,
                     WEReference we);
