#include "window/drag_line.h"

#include <algorithm>

#include "platform/draw/shapes.h"
#include "platform/draw/port.h"
#include "platform/events/events.h"
#include "platform/windows/windows.h"

void invert_band(const pf::Rect& band) {
    pf::Port* port = pf::get_port();
    if (!port) return;
    const int16_t mode = port->pen_mode;
    const pf::Pattern pattern = port->pen_pat;
    pf::pen_mode(pf::kPatXor);
    pf::pen_pat(pf::kGrayPattern);
    pf::paint_rect(band);
    pf::pen_mode(mode);
    pf::pen_pat(pattern);
}

pf::Rect band_at(const LineDrag& drag, int16_t edge) {
    pf::Rect r = drag.band;
    if (drag.vertical_move) {
        r.bottom = int16_t(edge + r.height());
        r.top = edge;
    } else {
        r.right = int16_t(edge + r.width());
        r.left = edge;
    }
    return r;
}

int16_t track_band(LineDrag drag, pf::Point start, const DragHooks& hooks) {
    const int16_t origin = drag.vertical_move ? drag.band.top : drag.band.left;
    const int16_t mouse_origin = drag.vertical_move ? start.v : start.h;
    int16_t edge = std::clamp(origin, drag.low, drag.high);
    invert_band(band_at(drag, edge));
    if (hooks.moved) hooks.moved(edge, hooks.user);
    pf::Point last = start;
    for (bool down = true; down;) {
        down = pf::still_down();  // the position at release counts too
        pf::Point mouse;
        pf::get_mouse(mouse);
        if (mouse == last) continue;
        last = mouse;
        invert_band(band_at(drag, edge));
        if (hooks.scroll) {
            const int16_t shift = hooks.scroll(mouse, hooks.user);
            drag.low = int16_t(drag.low + shift);
            drag.high = int16_t(drag.high + shift);
        }
        const int32_t wanted = origin + ((drag.vertical_move ? mouse.v : mouse.h) - mouse_origin);
        edge = int16_t(std::clamp<int32_t>(wanted, drag.low, drag.high));
        invert_band(band_at(drag, edge));
        if (hooks.moved) hooks.moved(edge, hooks.user);
    }
    invert_band(band_at(drag, edge));
    return edge;
}
