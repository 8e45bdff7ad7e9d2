// Drawing the buttons of the command bar: a bevel with the button's colour
// icon drawn through its mask, greyed when disabled; separators; the font and
// size pop-ups with the selection's font or size.
#include <array>
#include <string>

#include "ui/screen_geometry.h"
#include "ui/task_manager.h"
#include "platform/draw/bits.h"
#include "platform/draw/small_images.h"
#include "platform/draw/text.h"
#include "platform/draw/theme.h"
#include "platform/fonts/fonts.h"
#include "platform/resources/resources.h"
#include "shell/button_bars.h"
#include "shell/command_codes.h"
#include "shell/document_facts.h"
#include "window/front_document.h"

namespace {

constexpr int16_t kIconLeft = 3;
constexpr int16_t kIconTop = 2;
// Weight of the icon's own colour in a disabled icon, of 65535.
constexpr uint32_t kDisabledWeight = 33410;
constexpr uint32_t kDisabledBackdrop = 0xDD;
constexpr int16_t kShownNothing = -1;

bool is_code(uint32_t command, const char* code) { return command == code_value(code); }

// The icon's pixels as 32-bit colour, blended towards the disabled face.
std::array<uint32_t, 256> icon_pixels(const pf::ColorIcon& icon, bool disabled) {
    const pf::ColorTable& palette = pf::system_palette();
    std::array<uint32_t, 256> pixels{};
    for (size_t i = 0; i < icon.size(); ++i) {
        const pf::RGBColor& c = palette.colors[icon[i]];
        uint32_t rgb[3] = {uint32_t(c.red >> 8), uint32_t(c.green >> 8), uint32_t(c.blue >> 8)};
        if (disabled) {
            for (uint32_t& part : rgb) part = (part * kDisabledWeight + kDisabledBackdrop * (65535 - kDisabledWeight)) / 65535;
        }
        pixels[i] = rgb[0] << 16 | rgb[1] << 8 | rgb[2];
    }
    return pixels;
}

void draw_colour_icon(const pf::ColorIcon& icon, const pf::Image16& mask, bool disabled, const pf::Rect& dst) {
    std::array<uint32_t, 256> pixels = icon_pixels(icon, disabled);
    pf::BitMap colour{reinterpret_cast<const uint8_t*>(pixels.data()), 64, pf::Rect{0, 0, 16, 16}, 32, nullptr};
    pf::Rect src{0, 0, 16, 16};
    pf::copy_mask(colour, pf::image16_map(mask), src, src, dst);
}

void draw_one_bit_icon(pf::Image16 image, pf::Image16 mask, bool disabled, const pf::Rect& dst) {
    if (disabled) {
        for (int row = 0; row < 16; ++row) {
            uint8_t pattern = row % 2 ? 0x55 : 0xAA;
            image.rows[row * 2] &= pattern;
            image.rows[row * 2 + 1] &= pattern;
        }
    }
    pf::Rect src{0, 0, 16, 16};
    pf::copy_mask(pf::image16_map(image), pf::image16_map(mask), src, src, dst);
}

void draw_separator(const pf::Rect& r) {
    int16_t middle = int16_t((r.left + r.right) / 2);
    pf::draw_theme_separator(pf::Rect{r.top, middle, r.bottom, int16_t(middle + 1)}, pf::kThemeStateActive);
}

void draw_pop_up_arrow(const pf::Rect& r, int16_t state) {
    pf::draw_theme_popup_arrow(r, pf::ArrowDirection::kDown, pf::ArrowSize::kSmall, state);
}

// The font number or point size the pop-up shows; kShownNothing when the
// front document gives none.
int16_t pop_up_value(const ButtonRecord& button, pf::WindowRef window) {
    if (!window || WindowIsModal(pf::front_window())) return kShownNothing;
    DocumentFacts facts = read_document_facts(front_document_record());
    if (!facts.layer || facts.invalid_formula) return kShownNothing;
    if (facts.object_selected && !facts.text_editor) return kShownNothing;
    return is_code(button.command, "size") ? facts.size : facts.font;
}

std::string pop_up_text(const ButtonRecord& button, int16_t value) {
    if (is_code(button.command, "size")) return std::to_string(value);
    return pf::font_name(value);
}

}  // namespace

void draw_ics8(int16_t icon_id, int16_t state, const pf::Rect& rect, int16_t depth) {
    pf::Rect dst = pf::image_rect_at(int16_t(rect.left + kIconLeft), int16_t(rect.top + kIconTop));
    const pf::Resource* mono = pf::get_resource(pf::kSmallIconType, icon_id);
    pf::SmallIcon small;
    if (!mono || !pf::decode_small_icon(mono->bytes, small)) return;
    pf::Image16 mask = pf::image16_of(small.mask);
    bool disabled = state == 0;
    const pf::Resource* colour = depth > 2 ? pf::get_resource(pf::kColorIconType, icon_id) : nullptr;
    pf::ColorIcon pixels;
    if (colour && pf::decode_color_icon(colour->bytes, pixels)) draw_colour_icon(pixels, mask, disabled, dst);
    else draw_one_bit_icon(pf::image16_of(small.image), mask, disabled, dst);
}

void drawFonts(ButtonRecord& button, pf::WindowRef window, int16_t depth) {
    pf::Rect r = button.rect;
    r.top = int16_t(r.top + 3);
    r.bottom = int16_t(r.bottom - 3);
    if (depth < 3) {
        pf::erase_rect(r);
        pf::Rect shadowed = r;
        shadowed.bottom = int16_t(shadowed.bottom + 1);
        DrawDropShadow(&shadowed);
    } else {
        pf::draw_theme_button(r, pf::kThemePopupButton, button.state, 0);
    }
    draw_pop_up_arrow(pf::Rect{int16_t(r.top + 8), int16_t(r.right - 8), r.bottom, r.right}, button.state);
    int16_t value = pop_up_value(button, window);
    button.value = value;
    if (value == kShownNothing) return;
    std::string text = pop_up_text(button, value);
    pf::text_font(pf::kSystemFont);
    pf::text_size(9);
    pf::trunc_text(int16_t(button.rect.right - button.rect.left - 12), text, pf::kTruncEnd);
    pf::move_to(int16_t(button.rect.left + 6), int16_t(button.rect.top + 14));
    pf::draw_text(text);
    pf::text_size(0);
}

void draw_command_button(ButtonRecord& button, pf::WindowRef window, int16_t depth) {
    const pf::Rect& r = button.rect;
    if (button.icon) {
        msDrawThemeButton(&r, pf::kThemeBevelButton, button.state, button.value, depth);
        draw_ics8(button.icon, button.state, r, depth);
        if (button.flags & kButtonPopUpArrow)
            draw_pop_up_arrow(pf::Rect{int16_t(r.bottom - 5), int16_t(r.right - 7), r.bottom, int16_t(r.right - 1)},
                              button.state);
    } else if (is_code(button.command, "dsma") || is_code(button.command, "dmed") ||
               is_code(button.command, "dlrg")) {
        draw_separator(r);
    } else if (is_code(button.command, "font") || is_code(button.command, "size")) {
        drawFonts(button, window, depth);
    }
    button.drawn_state = button.state;
    button.drawn_value = button.value;
}
