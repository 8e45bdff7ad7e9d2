// Button records in their stored form, and the factory bars built from the
// 'bars' and 'butn' resources. A resource whose count or size is out of range
// is refused whole rather than read in part.
#include "files/big_endian.h"
#include "platform/resources/resources.h"
#include "platform/screen/screen.h"
#include "ui/app_prefs.h"
#include "shell/button_bars.h"
#include "shell/command_bar.h"
#include "resource_ids.h"

std::vector<ButtonBar> button_list;
ButtonBar current_bar;
bool has_current_bar = false;

namespace {

constexpr pf::FourCC kBarsType = pf::four_cc("bars");
constexpr int kFactoryBars = 4;
constexpr int kMaxBarButtons = 200;

}  // namespace

bool load_button(int16_t id, ButtonRecord* button) {
    const pf::Resource* resource = pf::get_resource(pf::kButtonType, id);
    if (!resource || resource->bytes.size() != size_t(kButtonRecordSize)) return false;
    ByteSwapButton(resource->bytes.data(), button);
    return button_usable(*button);
}

void ByteSwapButton(const uint8_t* bytes, ButtonRecord* b) {
    pf::ByteReader in{{bytes, size_t(kButtonRecordSize)}};
    b->position = in.i16();
    b->width = in.i16();
    b->icon = in.i16();
    b->flags = uint16_t(in.i16());
    b->rect.top = in.i16();
    b->rect.left = in.i16();
    b->rect.bottom = in.i16();
    b->rect.right = in.i16();
    b->command = in.u32();
    b->state = in.i16();
    b->value = in.i16();
    b->drawn_state = in.i16();
    b->drawn_value = in.i16();
    b->help_list = in.i16();
    b->help_index = in.i16();
    b->description_list = in.i16();
    b->description_index = in.i16();
}

bool button_usable(const ButtonRecord& button) { return button.width >= 0 && button.width <= kMaxButtonWidth; }

void button_to_bytes(const ButtonRecord& b, uint8_t* bytes) {
    BigEndianWriter out{bytes};
    out.put16(b.position);
    out.put16(b.width);
    out.put16(b.icon);
    out.put16(int16_t(b.flags));
    out.put_rect(b.rect);
    out.put32(b.command);
    for (int16_t field : {b.state, b.value, b.drawn_state, b.drawn_value, b.help_list, b.help_index,
                          b.description_list, b.description_index})
        out.put16(field);
}

std::vector<int16_t> bar_ids_of(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4 || bytes.size() % 2 != 0) return {};
    // The count is taken from the size when the two disagree.
    size_t count = bytes.size() / 2 - 1;
    if (count > size_t(kMaxBarButtons)) return {};
    std::vector<int16_t> ids;
    pf::ByteReader in{bytes.subspan(2)};
    for (size_t i = 0; i < count; ++i) {
        int16_t id = in.i16();
        ButtonRecord probe;
        if (!load_button(id, &probe)) return {};
        ids.push_back(id);
    }
    return ids;
}

std::vector<int16_t> bar_resource_ids(int16_t bars_id) {
    const pf::Resource* resource = pf::get_resource(kBarsType, bars_id);
    return resource ? bar_ids_of(resource->bytes) : std::vector<int16_t>{};
}

int16_t first_factory_bar_id(int16_t screen_right) {
    if (screen_right < 600) return kNarrowScreenBar;
    if (screen_right < 641) return kMediumScreenBar;
    return kWideScreenBar;
}

void default_buttons() {
    button_list.clear();
    app_prefs.bar_shown = 0;
    for (int k = 0; k < kFactoryBars; ++k) {
        int16_t id = int16_t(kWideScreenBar + k);
        std::vector<int16_t> ids;
        if (k == 0) ids = bar_resource_ids(first_factory_bar_id(command_bar_screen().right));
        if (ids.empty()) ids = bar_resource_ids(id);
        if (ids.empty()) continue;
        ButtonBar bar;
        bar.name = pf::get_indexed_string(kBarNames, k + 2);
        for (int16_t button_id : ids) {
            ButtonRecord button;
            load_button(button_id, &button);
            bar.buttons.push_back(button);
        }
        button_list.push_back(std::move(bar));
    }
    has_current_bar = !button_list.empty();
    if (has_current_bar) {
        current_bar = button_list[0];
        reset_button_positions(current_bar.buttons, command_bar_screen().right);
    } else {
        current_bar = ButtonBar{};
    }
}
