// The limit rectangle: the screen area in which document windows are placed,
// zoomed and kept, clear of the menu bar, the command bar, a palette column at
// the left, palettes against the right edge and the sheet-tab bar at the bottom.
#include "window/window_limits.h"

#include <algorithm>

#include "ui/screen_geometry.h"
#include "window/floating_palette.h"
#include "window/sheet_tabs.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kBarNearTop = 20;
constexpr int16_t kPaletteNearEdge = 5;
constexpr int16_t kPaletteColumn = 69;
constexpr int16_t kTabBarRoom = 40;
constexpr const char* kLeftPalettes[] = {"Tools", "Colors", "Charts"};

bool palette_at_left(int16_t left) {
    for (const char* title : kLeftPalettes) {
        WindowRef palette = find_palette(title);
        if (palette && pf::window_visible(palette) && pf::window_struct_rect(palette).left - left < kPaletteNearEdge)
            return true;
    }
    return false;
}

bool is_bar(WindowRef window) { return window == window_services.app_command_bar() || window == TabBar; }

// The left edge of the palettes that stand against the screen's right edge;
// the right edge itself when none does.
int16_t left_of_right_palettes(int16_t right) {
    int16_t left = right;
    for (WindowRef window = pf::first_window(); window; window = pf::next_window(window)) {
        if (!pf::window_visible(window) || pf::window_kind(window) != kPaletteWindowKind || is_bar(window)) continue;
        const pf::Rect frame = pf::window_struct_rect(window);
        if (right - frame.right < kPaletteNearEdge) left = std::min(left, frame.left);
    }
    return left;
}

bool is_bar_or_palette(WindowRef window) { return is_bar(window) || pf::window_kind(window) == kPaletteWindowKind; }

}  // namespace

void GetLimitRect(pf::Rect* rect) {
    GetScreenRect(rect);
    const int16_t menu_bar = pf::menu_bar_height();
    rect->top = int16_t(rect->top + title_bar_height());
    if (WindowRef bar = window_services.app_command_bar(); bar && pf::window_visible(bar)) {
        const pf::Rect frame = pf::window_struct_rect(bar);
        if (frame.top < pf::screen_bounds().top + menu_bar + kBarNearTop)
            rect->top = int16_t(rect->top + frame.bottom - menu_bar);
    }
    if (palette_at_left(rect->left)) rect->left = int16_t(rect->left + kPaletteColumn);
    rect->right = left_of_right_palettes(rect->right);
    int16_t tabs_top = 0;
    if (tab_bar_top(&tabs_top) && tabs_top > rect->bottom - kTabBarRoom)
        rect->bottom = int16_t(tabs_top - wind_left_extra());
}

void CheckLimitRect(WindowRef window) {
    if (!window || is_bar_or_palette(window)) return;
    pf::Rect limit;
    GetLimitRect(&limit);
    const pf::Rect content = pf::window_content_rect(window);
    if (content.top < limit.top && content.left < limit.right) pf::move_window(window, content.left, limit.top, false);
}

// One screen: the standard state is the limit rectangle less the frame and 2 pixels.
void zoom_out(WindowRef window) {
    pf::Rect state;
    GetLimitRect(&state);
    const int16_t inset = int16_t(wind_left_extra() + 2);
    state.left = int16_t(state.left + inset);
    state.right = int16_t(state.right - inset);
    state.bottom = int16_t(state.bottom - inset);
    pf::set_window_standard_state(window, state);
}
