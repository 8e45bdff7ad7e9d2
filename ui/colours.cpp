#include "ui/colours.h"

#include <algorithm>

#include "ui/system_info.h"
#include "model/program_colours.h"
#include "platform/screen/screen.h"

const pf::RGBColor black_color{0, 0, 0};
const pf::RGBColor white_color{0xFFFF, 0xFFFF, 0xFFFF};

namespace {

constexpr int16_t kScreenDepth = 32;

bool color_quickdraw() { return (g_system.flags & kSysColorQD) != 0; }

}  // namespace

void index_color(int16_t n, pf::RGBColor* rgb) { program_colour(n, rgb); }

void SetFrontPenToNormal() {
    pf::pen_normal();
    if (color_quickdraw()) pf::rgb_fore_color(black_color);
}

void SetBackColorToNormal(pf::RGBColor* saved) {
    if (!color_quickdraw()) return;
    pf::get_back_color(*saved);
    pf::rgb_back_color(white_color);
}

// One screen of 32-bit pixels: every rectangle that meets it, and every one
// that does not, reports 32.
int16_t ColorDepth(const pf::Rect*) { return kScreenDepth; }

int16_t checkColor(pf::WindowRef window) {
    if (!window) return kScreenDepth;
    pf::Port* saved = pf::get_port();
    pf::set_port(pf::window_port(window));
    pf::Rect bounds = pf::window_port(window)->port_rect;
    int16_t depth = ColorDepth(&bounds);
    pf::set_port(saved);
    return depth;
}

int16_t clamp_colour_value(int16_t value) { return std::clamp<int16_t>(value, 0, kColourItems - 1); }
int16_t clamp_pattern_value(int16_t value) { return std::clamp<int16_t>(value, 0, kPatternItems - 1); }
