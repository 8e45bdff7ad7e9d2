// ResetViewField in its least form: a styled-text view placed over a
// rectangle of a layer's pane, its destination the rectangle inset, its view
// the part of that destination inside the pane (empty when none is).
#include <algorithm>

#include "model/layer.h"
#include "window/text_boxes.h"
#include "styledtext/styled_text.h"

int16_t text_box_inset(int16_t line_size) {
    constexpr int16_t kBeyondFrame = 4, kLeastInset = 5;
    return std::max<int16_t>(int16_t(line_size + kBeyondFrame), kLeastInset);
}

void ResetViewField(const pf::Rect* rect, int16_t pane, int16_t inset, WEReference we, MemoryRef sheet, int16_t) {
    if (!we || !sheet) return;
    pf::Rect frame;
    GetPaneRect(&frame, pane, sheet);
    LongRect destination;
    WESetLongRect(destination, rect->left + inset, rect->top + inset, rect->right - inset, rect->bottom - inset);
    LongRect view;
    WESetLongRect(view, std::max<int32_t>(destination.left, frame.left), std::max<int32_t>(destination.top, frame.top),
                  std::min<int32_t>(destination.right, frame.right), std::min<int32_t>(destination.bottom, frame.bottom));
    if (view.right < view.left || view.bottom < view.top) view = LongRect{};
    WESetDestRect(destination, we);
    WESetViewRect(view, we);
}
