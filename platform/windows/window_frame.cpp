// The window frame: its geometry (insets, boxes, hit testing) and its look. One
// look for every kind: a light title bar with a centred title, round boxes at the
// left (close, collapse, zoom) coloured while the window is active, a thin
// border; floating windows have a small title bar (or one at the side) and modal
// dialogs a double border without a title bar.
#include "platform/draw/text.h"
#include "platform/draw/unicode_text.h"
#include "platform/text/scripts.h"
#include "platform/windows/windows.h"
#include "platform/windows/windows_internal.h"

namespace pf {

using namespace windows_detail;

namespace {

constexpr int16_t kTitleBarHeight = 22;
constexpr int16_t kSmallTitleBarHeight = 14;
constexpr int16_t kBoxSize = 12;
constexpr int16_t kSmallBoxSize = 9;
constexpr int16_t kGrowBoxSize = 15;
constexpr int16_t kProxySize = 16;
constexpr int16_t kTitleFontSize = 12;
constexpr int16_t kSmallTitleFontSize = 9;
// Content within this many pixels of the standard state counts as zoomed out.
constexpr int kZoomTolerance = 7;

constexpr RGBColor rgb(uint32_t hex) {
    return RGBColor{uint16_t(((hex >> 16) & 0xFF) * 0x101), uint16_t(((hex >> 8) & 0xFF) * 0x101),
                    uint16_t((hex & 0xFF) * 0x101)};
}

struct FrameColors {
    RGBColor border, title_fill, title_line, title_text, box_outline;
};
constexpr FrameColors kActiveColors{rgb(0x6F6F6F), rgb(0xD9D9D9), rgb(0x9C9C9C), rgb(0x000000), rgb(0x7A7A7A)};
constexpr FrameColors kInactiveColors{rgb(0xAFAFAF), rgb(0xF0F0F0), rgb(0xC8C8C8), rgb(0x8F8F8F), rgb(0xB9B9B9)};
constexpr RGBColor kCloseColor = rgb(0xE9605A);
constexpr RGBColor kCollapseColor = rgb(0xE2B23C);
constexpr RGBColor kZoomColor = rgb(0x5FBE55);
constexpr RGBColor kInactiveBoxColor = rgb(0xDEDEDE);
constexpr RGBColor kDialogInnerColor = rgb(0xD4D4D4);

enum class TitleBar { kNone, kTop, kSide };

bool is_class(WindowRef w, uint16_t c) { return w->window_class == c; }
bool has(WindowRef w, uint32_t attribute) { return (w->attributes & attribute) != 0; }

TitleBar title_bar_of(uint16_t window_class, uint32_t attributes) {
    switch (window_class) {
        case kAlertWindowClass:
        case kModalWindowClass:
        case kPlainWindowClass:
            return TitleBar::kNone;
        case kFloatingWindowClass:
        case kUtilityWindowClass:
            return (attributes & kWindowSideTitlebarAttribute) ? TitleBar::kSide : TitleBar::kTop;
        default:
            return TitleBar::kTop;
    }
}

bool small_frame(uint16_t window_class) {
    return window_class == kFloatingWindowClass || window_class == kUtilityWindowClass;
}

Rect offset_rect(const Rect& r, int dh, int dv) {
    return Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv), int16_t(r.right + dh)};
}

Rect square_at(int16_t top, int16_t left, int16_t size) {
    return Rect{top, left, int16_t(top + size), int16_t(left + size)};
}

// The title bar's area, global.
Rect title_bar_rect(WindowRef w) {
    Rect s = full_structure_of(w);
    FrameInsets f = frame_insets_of(w->window_class, w->attributes);
    switch (title_bar_of(w->window_class, w->attributes)) {
        case TitleBar::kTop: return Rect{s.top, s.left, int16_t(s.top + f.top), s.right};
        case TitleBar::kSide: return Rect{s.top, s.left, s.bottom, int16_t(s.left + f.left)};
        case TitleBar::kNone: break;
    }
    return {};
}

// The n-th box (0 close, 1 collapse, 2 zoom) of the title bar, global.
Rect box_rect(WindowRef w, int index) {
    Rect bar = title_bar_rect(w);
    if (bar.empty()) return {};
    if (!small_frame(w->window_class)) {
        int16_t top = int16_t(bar.top + (kTitleBarHeight - kBoxSize) / 2);
        return square_at(top, int16_t(bar.left + 9 + index * 20), kBoxSize);
    }
    constexpr int16_t kStep = kSmallBoxSize + 4;
    if (title_bar_of(w->window_class, w->attributes) == TitleBar::kSide)
        return square_at(int16_t(bar.top + 3 + index * kStep), int16_t(bar.left + 2), kSmallBoxSize);
    return square_at(int16_t(bar.top + 2), int16_t(bar.left + 3 + index * kStep), kSmallBoxSize);
}

bool in_standard_state(WindowRef w) {
    const Rect& c = w->content;
    const Rect& s = w->standard_state;
    auto near = [](int a, int b) { return a - b <= kZoomTolerance && b - a <= kZoomTolerance; };
    return near(c.top, s.top) && near(c.left, s.left) && near(c.bottom, s.bottom) && near(c.right, s.right);
}

int16_t title_font_size(WindowRef w) { return small_frame(w->window_class) ? kSmallTitleFontSize : kTitleFontSize; }

// The system font, or the font of the title's script.
void use_title_font(WindowRef w) {
    const bool system = w->title_script == kScriptRoman || w->title_script == kUnicodeTitle;
    text_font(system ? int16_t(kSystemFont) : script_font(w->title_script));
}

int16_t title_width(WindowRef w) {
    PortScope scope(&w->frame_port);
    use_title_font(w);
    text_size(title_font_size(w));
    return w->title_script == kUnicodeTitle ? unicode_text_width(w->title) : text_width(w->title);
}

// The right edge of the last box the title bar shows (its left edge when none).
int16_t title_boxes_right(WindowRef w) {
    constexpr uint32_t kBoxAttributes[] = {kWindowCloseBoxAttribute, kWindowCollapseBoxAttribute,
                                           kWindowFullZoomAttribute};
    int16_t right = title_bar_rect(w).left;
    for (int index = 0; index < 3; ++index)
        if (has(w, kBoxAttributes[index])) right = box_rect(w, index).right;
    return right;
}

// Where the title text (and the proxy icon before it) starts, global h.
int16_t title_start(WindowRef w) {
    Rect bar = title_bar_rect(w);
    int width = title_width(w) + (w->has_proxy ? kProxySize + 4 : 0);
    int start = (bar.left + bar.right - width) / 2;
    const int16_t boxes_end = title_boxes_right(w);
    if (boxes_end > bar.left && start < boxes_end + 8) start = boxes_end + 8;
    return int16_t(start);
}

// ---- Drawing (frame port: local (0, 0) at the structure's top-left) ----------------

Rect to_frame_local(WindowRef w, const Rect& global) {
    Rect s = full_structure_of(w);
    return offset_rect(global, -s.left, -s.top);
}

void fill(const Rect& r, const RGBColor& c) {
    rgb_fore_color(c);
    paint_rect(r);
}

void outline(const Rect& r, const RGBColor& c) {
    rgb_fore_color(c);
    frame_rect(r);
}

void draw_box(WindowRef w, int index, int16_t part, const RGBColor& active_color, const FrameColors& colors) {
    Rect box = to_frame_local(w, box_rect(w, index));
    bool active = w->hilited;
    RGBColor face = active ? active_color : kInactiveBoxColor;
    if (w->pressed_part == part) face = RGBColor{uint16_t(face.red / 4 * 3), uint16_t(face.green / 4 * 3),
                                                 uint16_t(face.blue / 4 * 3)};
    rgb_fore_color(face);
    paint_oval(box);
    rgb_fore_color(active ? RGBColor{uint16_t(face.red / 3 * 2), uint16_t(face.green / 3 * 2),
                                     uint16_t(face.blue / 3 * 2)}
                          : colors.box_outline);
    frame_oval(box);
    if (part == kInGoAway && w->modified) {
        Rect dot{int16_t(box.top + 4), int16_t(box.left + 4), int16_t(box.bottom - 4), int16_t(box.right - 4)};
        rgb_fore_color(rgb(0x4A4A4A));
        paint_oval(dot);
    }
}

void draw_proxy_icon(const Rect& r, const FrameColors& colors) {
    // A small sheet of paper with a folded corner.
    Rect sheet{int16_t(r.top + 1), int16_t(r.left + 3), int16_t(r.bottom - 1), int16_t(r.right - 3)};
    fill(sheet, rgb(0xFFFFFF));
    outline(sheet, colors.title_text);
    rgb_fore_color(colors.title_text);
    move_to(int16_t(sheet.right - 4), sheet.top);
    line_to(int16_t(sheet.right - 4), int16_t(sheet.top + 3));
    line_to(int16_t(sheet.right - 1), int16_t(sheet.top + 3));
}

void draw_title(WindowRef w, const FrameColors& colors) {
    if (title_bar_of(w->window_class, w->attributes) != TitleBar::kTop) return;
    Rect bar = to_frame_local(w, title_bar_rect(w));
    Rect s = full_structure_of(w);
    int16_t h = int16_t(title_start(w) - s.left);
    if (w->has_proxy) {
        draw_proxy_icon(Rect{int16_t(bar.top + 3), h, int16_t(bar.top + 3 + kProxySize), int16_t(h + kProxySize)},
                        colors);
        h = int16_t(h + kProxySize + 4);
    }
    if (w->title.empty()) return;
    use_title_font(w);
    text_size(title_font_size(w));
    text_face(0);
    text_mode(kSrcOr);
    FontInfo info;
    get_font_info(info);
    int16_t baseline = int16_t(bar.top + (bar.height() - 1 + info.ascent - info.descent) / 2);
    Rect clip = bar;
    clip.right = int16_t(clip.right - 6);
    clip_rect(clip);
    rgb_fore_color(colors.title_text);
    move_to(h, baseline);
    if (w->title_script == kUnicodeTitle) draw_unicode_text(w->title);
    else draw_text(w->title);
    clip_rect(Rect{-32767, -32767, 32767, 32767});
}

void draw_dialog_border(const Rect& all, const FrameColors& colors) {
    outline(all, colors.border);
    Rect inner{int16_t(all.top + 1), int16_t(all.left + 1), int16_t(all.bottom - 1), int16_t(all.right - 1)};
    outline(inner, kDialogInnerColor);
}

void draw_title_bar(WindowRef w, const FrameColors& colors) {
    Rect bar = to_frame_local(w, title_bar_rect(w));
    fill(bar, colors.title_fill);
    rgb_fore_color(colors.title_line);
    if (title_bar_of(w->window_class, w->attributes) == TitleBar::kSide) {
        move_to(int16_t(bar.right - 1), bar.top);
        line_to(int16_t(bar.right - 1), int16_t(bar.bottom - 1));
    } else {
        move_to(bar.left, int16_t(bar.bottom - 1));
        line_to(int16_t(bar.right - 1), int16_t(bar.bottom - 1));
    }
    if (has(w, kWindowCloseBoxAttribute)) draw_box(w, 0, kInGoAway, kCloseColor, colors);
    if (has(w, kWindowCollapseBoxAttribute)) draw_box(w, 1, kInCollapseBox, kCollapseColor, colors);
    if (has(w, kWindowFullZoomAttribute)) draw_box(w, 2, kInZoomOut, kZoomColor, colors);
    draw_title(w, colors);
}

}  // namespace

namespace windows_detail {

FrameInsets frame_insets_of(uint16_t window_class, uint32_t attributes) {
    switch (title_bar_of(window_class, attributes)) {
        case TitleBar::kSide: return FrameInsets{1, kSmallTitleBarHeight, 1, 1};
        case TitleBar::kTop:
            return small_frame(window_class) ? FrameInsets{kSmallTitleBarHeight, 1, 1, 1}
                                             : FrameInsets{kTitleBarHeight, 1, 1, 1};
        case TitleBar::kNone: break;
    }
    return window_class == kPlainWindowClass ? FrameInsets{1, 1, 1, 1} : FrameInsets{2, 2, 2, 2};
}

Rect full_structure_of(WindowRef w) {
    FrameInsets f = frame_insets_of(w->window_class, w->attributes);
    const Rect& c = w->content;
    return Rect{int16_t(c.top - f.top), int16_t(c.left - f.left), int16_t(c.bottom + f.bottom),
                int16_t(c.right + f.right)};
}

Rect structure_of(WindowRef w) {
    Rect s = full_structure_of(w);
    if (!w->collapsed) return s;
    if (title_bar_of(w->window_class, w->attributes) == TitleBar::kSide) {
        s.right = int16_t(s.left + frame_insets_of(w->window_class, w->attributes).left);
    } else {
        s.bottom = int16_t(s.top + frame_insets_of(w->window_class, w->attributes).top);
    }
    return s;
}

Rect part_rect(WindowRef w, int16_t part) {
    switch (part) {
        case kInGoAway: return has(w, kWindowCloseBoxAttribute) ? box_rect(w, 0) : Rect{};
        case kInCollapseBox: return has(w, kWindowCollapseBoxAttribute) ? box_rect(w, 1) : Rect{};
        case kInZoomIn:
        case kInZoomOut: return has(w, kWindowFullZoomAttribute) ? box_rect(w, 2) : Rect{};
        case kInProxyIcon: {
            if (!w->has_proxy || title_bar_of(w->window_class, w->attributes) != TitleBar::kTop) return {};
            Rect bar = title_bar_rect(w);
            int16_t h = title_start(w);
            return Rect{int16_t(bar.top + 3), h, int16_t(bar.top + 3 + kProxySize), int16_t(h + kProxySize)};
        }
        case kInGrow: {
            if (!has(w, kWindowResizableAttribute) || w->collapsed) return {};
            const Rect& c = w->content;
            return Rect{int16_t(c.bottom - kGrowBoxSize), int16_t(c.right - kGrowBoxSize), c.bottom, c.right};
        }
        default: return {};
    }
}

Rect title_text_rect(WindowRef w) {
    if (title_bar_of(w->window_class, w->attributes) != TitleBar::kTop) return {};
    Rect bar = title_bar_rect(w);
    int16_t start = title_start(w);
    int16_t width = int16_t(title_width(w) + (w->has_proxy ? kProxySize + 4 : 0));
    return Rect{bar.top, start, bar.bottom, int16_t(start + width)};
}

int16_t frame_part_at(WindowRef w, Point where) {
    if (!pt_in_rect(where, structure_of(w))) return 0;
    for (int16_t part : {kInGoAway, kInCollapseBox, kInZoomOut, kInProxyIcon, kInGrow}) {
        if (!pt_in_rect(where, part_rect(w, part))) continue;
        if (part == kInZoomOut && in_standard_state(w)) return kInZoomIn;
        if (part == kInGrow && !w->hilited) return kInContent;  // an inactive window shows no grow box
        return part;
    }
    if (!w->collapsed && pt_in_rect(where, w->content)) return kInContent;
    if (title_bar_of(w->window_class, w->attributes) == TitleBar::kNone && !is_class(w, kMovableAlertWindowClass))
        return kInContent;
    return kInDrag;
}

void draw_frame(WindowRef w) {
    if (!w->surface) return;
    PortScope scope(&w->frame_port);
    PortState saved = save_port_state(w->frame_port);
    const FrameColors& colors = w->hilited ? kActiveColors : kInactiveColors;
    Rect all = to_frame_local(w, full_structure_of(w));
    pen_normal();
    if (title_bar_of(w->window_class, w->attributes) == TitleBar::kNone) {
        draw_dialog_border(all, colors);
    } else {
        draw_title_bar(w, colors);
        outline(all, colors.border);
    }
    restore_port_state(w->frame_port, saved);
}

}  // namespace windows_detail

void draw_grow_icon(WindowRef w) {
    Rect box = part_rect(w, kInGrow);
    if (box.empty()) return;
    PortScope scope(&w->frame_port);
    PortState saved = save_port_state(w->frame_port);
    pen_normal();
    Rect local = to_frame_local(w, box);
    fill(local, rgb(0xF4F4F4));
    const FrameColors& colors = w->hilited ? kActiveColors : kInactiveColors;
    rgb_fore_color(colors.title_line);
    move_to(local.left, local.top);
    line_to(local.left, int16_t(local.bottom - 1));
    move_to(local.left, local.top);
    line_to(int16_t(local.right - 1), local.top);
    if (w->hilited) {
        // Three diagonal ridges.
        rgb_fore_color(colors.box_outline);
        for (int i = 0; i < 3; ++i) {
            int16_t d = int16_t(4 + 3 * i);
            move_to(int16_t(local.right - 2), int16_t(local.bottom - 2 - d));
            line_to(int16_t(local.right - 2 - d), int16_t(local.bottom - 2));
        }
    }
    restore_port_state(w->frame_port, saved);
}

}  // namespace pf
