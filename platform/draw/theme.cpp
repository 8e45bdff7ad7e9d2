#include "platform/draw/theme.h"

#include "platform/controls/control_look.h"

#include "platform/draw/colour.h"
#include "platform/draw/shapes.h"

#include <algorithm>

namespace pf {

namespace {

// The toolbox's look (platform/controls), so themed pieces match the controls.
constexpr RGBColor kFace = kLookFace;
constexpr RGBColor kFaceInactive = kLookDialogBack;
constexpr RGBColor kFacePushed = kLookFacePressed;
constexpr RGBColor kFrame = kLookFrame;
constexpr RGBColor kFrameInactive = kLookShadow;
constexpr RGBColor kLight = kLookLight;
constexpr RGBColor kShade = kLookShadow;
constexpr RGBColor kSymbol = kLookText;
constexpr RGBColor kSymbolInactive = kLookDimText;
constexpr RGBColor kPane = kLookDialogBack;
constexpr RGBColor kBackTab = gray_color(0xD4D4);
constexpr RGBColor kHeaderFill = kLookFace;
constexpr RGBColor kMenu = kLookMenu;
constexpr RGBColor kAccent = kLookAccent;
constexpr RGBColor kAccentInactive{0xA8A8, 0xBCBC, 0xD8D8};

// Keeps the port's drawing state and clip for the length of a theme call.
struct KeptState {
    Port& port;
    PortState saved;
    KeptState() : port(*get_port()), saved(save_port_state(port)) { pen_normal(); }
    ~KeptState() { restore_port_state(port, saved); }
    KeptState(const KeptState&) = delete;
    KeptState& operator=(const KeptState&) = delete;
};

void fill_round(const Rect& r, int16_t corner, const RGBColor& c) {
    rgb_fore_color(c);
    paint_round_rect(r, corner, corner);
}

void frame_round(const Rect& r, int16_t corner, const RGBColor& c) {
    rgb_fore_color(c);
    frame_round_rect(r, corner, corner);
}

void line_between(int h1, int v1, int h2, int v2, const RGBColor& c) {
    rgb_fore_color(c);
    move_to(int16_t(h1), int16_t(v1));
    line_to(int16_t(h2), int16_t(v2));
}

const RGBColor& face_of(int16_t state, bool pushed) {
    if (state == kThemeStateInactive) return kFaceInactive;
    return pushed ? kFacePushed : kFace;
}

const RGBColor& frame_of(int16_t state) { return state == kThemeStateInactive ? kFrameInactive : kFrame; }

// The rows of a triangle pointing `direction`, drawn from the rectangle's top-left.
void triangle(const Rect& r, ArrowDirection direction, int rows, const RGBColor& c) {
    rgb_fore_color(c);
    int width = rows * 2 - 1;
    for (int i = 0; i < rows; ++i) {
        int from = i, to = width - 1 - i;  // the row's extent across the arrow
        int along = direction == ArrowDirection::kDown || direction == ArrowDirection::kRight ? i : rows - 1 - i;
        if (direction == ArrowDirection::kDown || direction == ArrowDirection::kUp)
            paint_rect({int16_t(r.top + along), int16_t(r.left + from), int16_t(r.top + along + 1),
                        int16_t(r.left + to + 1)});
        else
            paint_rect({int16_t(r.top + from), int16_t(r.left + along), int16_t(r.top + to + 1),
                        int16_t(r.left + along + 1)});
    }
}

const RGBColor& symbol_of(int16_t state) {
    if (state == kThemeStateInactive) return kSymbolInactive;
    return state == kThemeStatePressed ? kLight : kSymbol;
}

}  // namespace

void draw_theme_button(const Rect& r, int16_t kind, int16_t state, int16_t value) {
    if (r.empty()) return;
    KeptState kept;
    bool pushed = state == kThemeStatePressed || value == kThemeButtonOn;
    if (kind == kThemePopupButton) {
        fill_round(r, 6, face_of(state, pushed));
        frame_round(r, 6, frame_of(state));
        return;
    }
    draw_bevel(r, pushed, state == kThemeStateInactive);
}

void draw_theme_popup_button(const Rect& r, int16_t state) {
    if (r.empty()) return;
    draw_theme_button(r, kThemePopupButton, state, kThemeButtonOff);
    KeptState kept;
    constexpr int kArrowArea = 18;
    if (r.width() > kArrowArea + 4)
        line_between(r.right - kArrowArea, r.top + 3, r.right - kArrowArea, r.bottom - 4, frame_of(state));
    int h = r.right - kArrowArea / 2 - 3;
    int middle = (r.top + r.bottom) / 2;
    const RGBColor& c = state == kThemeStateInactive ? kSymbolInactive : kSymbol;
    triangle({int16_t(middle - 5), int16_t(h), int16_t(middle - 1), int16_t(h + 7)}, ArrowDirection::kUp, 4, c);
    triangle({int16_t(middle + 1), int16_t(h), int16_t(middle + 5), int16_t(h + 7)}, ArrowDirection::kDown, 4, c);
}

void draw_theme_popup_arrow(const Rect& r, ArrowDirection direction, ArrowSize size, int16_t state) {
    KeptState kept;
    triangle(r, direction, size == ArrowSize::kLarge ? 5 : 3, symbol_of(state));
}

void draw_theme_placard(const Rect& r, int16_t state) {
    if (r.empty()) return;
    draw_bevel(r, false, state == kThemeStateInactive);
}

void draw_theme_separator(const Rect& r, int16_t state) {
    if (r.empty()) return;
    KeptState kept;
    const RGBColor& c = state == kThemeStateInactive ? kFrameInactive : kShade;
    if (r.height() > r.width()) {
        int h = (r.left + r.right - 1) / 2;
        line_between(h, r.top, h, r.bottom - 1, c);
    } else {
        int v = (r.top + r.bottom - 1) / 2;
        line_between(r.left, v, r.right - 1, v, c);
    }
}

void draw_theme_window_header(const Rect& r, int16_t state) {
    if (r.empty()) return;
    KeptState kept;
    fill_rect_color(r, state == kThemeStateInactive ? kFaceInactive : kHeaderFill);
    line_between(r.left, r.top, r.right - 1, r.top, kLight);
    line_between(r.left, r.bottom - 1, r.right - 1, r.bottom - 1, frame_of(state));
}

void draw_theme_menu_background(const Rect& r) {
    KeptState kept;
    fill_rect_color(r, kMenu);
}

void draw_theme_tab_pane(const Rect& r, int16_t state) {
    if (r.empty()) return;
    KeptState kept;
    fill_rect_color(r, kPane);
    frame_rect_color(r, frame_of(state));
}

void draw_theme_tab(const Rect& r, int16_t style, TabDirection direction) {
    if (r.empty()) return;
    KeptState kept;
    bool front = style == kThemeTabFront || style == kThemeTabFrontInactive;
    bool inactive = style == kThemeTabNonFrontInactive || style == kThemeTabFrontInactive;
    const RGBColor& face = front ? kPane : style == kThemeTabNonFrontPressed ? kFacePushed : kBackTab;
    const RGBColor& edge = inactive ? kFrameInactive : kFrame;
    // The tab is a rounded shape whose side against the pane is square; a front tab
    // leaves that side open so it joins the pane.
    constexpr int16_t kCorner = 8;
    bool south = direction == TabDirection::kSouth;
    Rect squared = r;
    if (south)
        squared.bottom = int16_t(r.top + (r.height() + 1) / 2);
    else
        squared.top = int16_t(r.bottom - (r.height() + 1) / 2);
    fill_round(r, kCorner, face);
    frame_round(r, kCorner, edge);
    fill_rect_color(squared, face);
    int near = south ? r.top : r.bottom - 1;  // the edge that meets the pane
    line_between(r.left, squared.top, r.left, squared.bottom - 1, edge);
    line_between(r.right - 1, squared.top, r.right - 1, squared.bottom - 1, edge);
    line_between(r.left, near, r.right - 1, near, front ? face : edge);
    if (front) {
        // The open side's corners keep the pane's frame.
        line_between(r.left, near, r.left, near, edge);
        line_between(r.right - 1, near, r.right - 1, near, edge);
    }
}

void draw_theme_focus_rect(const Rect& r, bool has_focus) {
    KeptState kept;
    Rect ring = inset_rect(r, -2, -2);
    pen_size(2, 2);
    if (has_focus) {
        frame_rect_color(ring, kAccent);
        return;
    }
    rgb_fore_color(kept.saved.drawing.bg_color);
    frame_rect(ring);
}

void draw_theme_progress(const Rect& r, int32_t min, int32_t max, int32_t value, int16_t state) {
    if (r.empty()) return;
    KeptState kept;
    frame_rect_color(r, frame_of(state));
    Rect track = inset_rect(r, 1, 1);
    fill_rect_color(track, kLight);
    if (max <= min || track.empty()) return;
    int64_t done = std::clamp<int64_t>(int64_t(value) - min, 0, int64_t(max) - min);
    int width = int(done * track.width() / (int64_t(max) - min));
    if (width <= 0) return;
    Rect bar = track;
    bar.right = int16_t(track.left + width);
    fill_rect_color(bar, state == kThemeStateInactive ? kAccentInactive : kAccent);
}

void draw_theme_list_box_frame(const Rect& r, int16_t state) {
    KeptState kept;
    frame_rect_color(inset_rect(r, -1, -1), frame_of(state));
}

void draw_theme_edit_text_frame(const Rect& r, int16_t state) {
    KeptState kept;
    Rect outer = inset_rect(r, -1, -1);
    frame_rect_color(outer, frame_of(state));
    if (state != kThemeStateInactive)
        line_between(r.left, r.top, r.right - 1, r.top, kShade);  // a shadow inside the top edge
}

}  // namespace pf
