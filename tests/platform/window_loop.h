// A small event loop for window tests, in the manner of the application's:
// clicks on the frame are tracked, a click in a window that is not in front of
// its layer only selects it, updates paint each window's content in its own
// colour, suspend and resume hide and show the floating windows. What happens
// is logged.
#pragma once

#include "platform/draw/draw.h"
#include "platform/events/events.h"
#include "platform/host/driver.h"
#include "platform/windows/windows.h"

#include <map>
#include <string>
#include <vector>

namespace window_loop {

using pf::Rect;
using pf::WindowRef;

inline std::vector<std::string> log_entries;
inline std::map<WindowRef, std::string> names;
inline std::map<WindowRef, pf::RGBColor> colours;

inline std::string name_of(WindowRef w) { return names.count(w) ? names[w] : "?"; }
inline WindowRef window_of(const pf::EventRecord& e) { return reinterpret_cast<WindowRef>(e.message); }

// A shown document window with a name and a colour of its own.
inline WindowRef open_document(const std::string& name, const Rect& content, const pf::RGBColor& colour) {
    WindowRef w = pf::create_window(pf::kDocumentWindowClass, pf::kWindowStandardDocumentAttributes, content);
    pf::set_window_title(w, name);
    names[w] = name;
    colours[w] = colour;
    pf::show_window(w);
    return w;
}

inline void paint_update(WindowRef w) {
    pf::PortScope scope(pf::window_port(w));
    pf::begin_update(w);
    pf::rgb_fore_color(colours[w]);
    pf::paint_rect(pf::window_port(w)->port_rect);
    pf::end_update(w);
}

inline void mouse_down(const pf::EventRecord& e) {
    WindowRef w = nullptr;
    int16_t part = pf::find_window(e.where, &w);
    switch (part) {
        case pf::kInContent: {
            WindowRef front_of_layer = pf::is_floating_window(w) ? pf::front_window() : pf::front_non_floating_window();
            if (w != front_of_layer && !pf::is_modal_window(pf::front_window())) {
                pf::select_window(w);
                return;  // the click only selected the window
            }
            log_entries.push_back("click " + name_of(w));
            return;
        }
        case pf::kInDrag:
            pf::drag_window(w, e.where, pf::desktop_bounds());
            return;
        case pf::kInGrow: {
            uint32_t size = pf::grow_window(w, e.where, Rect{80, 120, 400, 600});
            if (size) pf::size_window(w, int16_t(size & 0xFFFF), int16_t(size >> 16), true);
            return;
        }
        case pf::kInGoAway:
            if (pf::track_go_away(w, e.where)) {
                log_entries.push_back("close " + name_of(w));
                pf::dispose_window(w);
            }
            return;
        case pf::kInZoomIn:
        case pf::kInZoomOut:
            if (pf::track_box(w, e.where, part)) pf::zoom_window(w, part, false);
            return;
        case pf::kInCollapseBox:
            if (pf::track_box(w, e.where, part)) pf::collapse_window(w, !pf::window_collapsed(w));
            return;
        default:
            return;
    }
}

inline void dispatch(const pf::EventRecord& e) {
    switch (e.what) {
        case pf::kMouseDown:
            mouse_down(e);
            break;
        case pf::kUpdateEvent:
            log_entries.push_back("update " + name_of(window_of(e)));
            paint_update(window_of(e));
            break;
        case pf::kActivateEvent:
            log_entries.push_back(((e.modifiers & pf::kActiveFlag) ? "activate " : "deactivate ") +
                                  name_of(window_of(e)));
            break;
        case pf::kKeyDown:
            log_entries.push_back(std::string("key ") + char(pf::event_char(e)));
            break;
        case pf::kOSEvent:
            if (pf::os_event_kind(e) == pf::kSuspendResumeMessage) {
                if (e.message & pf::kResumeFlag)
                    pf::show_floating_windows();
                else
                    pf::hide_floating_windows();
            }
            break;
        default:
            break;
    }
}

inline std::vector<std::string> run() {
    log_entries.clear();
    pf::driver_run_until_idle(dispatch);
    return log_entries;
}

}  // namespace window_loop
