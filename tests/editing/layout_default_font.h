// A layer's default font chosen as the Layout dialog chooses it.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "files/layout_settings.h"

inline void choose_default_font(MemoryRef layer, int16_t font) {
    LayoutChoices choices;
    take_layout_choices(layer, &choices);
    choices.font = font;
    choices.changed[kDisplayGroup] = true;
    apply_layout_choices(choices, layer, nullptr);
    drop_layout_choices(&choices);
}
