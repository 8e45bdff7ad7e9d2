#include "shell/colour_commands.h"

#include <initializer_list>

#include "shell/colour_palette.h"

#include "model/cell_formats.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "objects/objects.h"
#include "shell/document_facts.h"
#include "shell/format_menus.h"
#include "shell/graphic_menus.h"
#include "shell/shell_commands.h"
#include "styledtext/styled_text.h"
#include "window/entry_line.h"
#include "window/sheet_paint.h"
#include "window/window_commands.h"

namespace {

constexpr int16_t kBlackValue = 2;
// The first two pattern items (none and the empty pattern) both mean none.
constexpr int16_t kNonePatternItems = 2;

int16_t palette_values[kColourSlots];

// Stores values in their slots; the palette is redrawn when one changed or
// when forced.
void update_slots(std::initializer_list<int16_t> slots, std::initializer_list<int16_t> values, bool force) {
    bool changed = force;
    auto value = values.begin();
    for (int16_t slot : slots) {
        changed = changed || palette_values[slot] != *value;
        palette_values[slot] = *value++;
    }
    if (changed) draw_color_palette();
}

// Sets one field of the selected cells; the palette shows the value when done.
void format_cells(const DocumentFacts& f, int16_t field, int16_t value, int16_t slot) {
    if (!f.layer || f.object_selected) return;
    if (!format_selection(f.layer, kFormatUndoKind, field, value, false)) return;
    update_slots({slot}, {value}, false);
    DisplayText(f.record, 1);
}

void colour_edited_text(const DocumentFacts& f, int16_t value) {
    WETextStyle style;
    style.tsColor = table_colour(int16_t(value - 1));
    WESetStyle(weDoColor, style, static_cast<WEReference>(f.text_editor));
    DisplayText(f.record, 1);
    update_text_color(value, false);
}

}  // namespace

int16_t color_palette_value(int16_t slot) { return slot > 0 && slot < kColourSlots ? palette_values[slot] : -1; }

void update_text_color(int16_t value, bool force) { update_slots({kTextColourSlot}, {value}, force); }

void update_fills(int16_t fore, int16_t back, int16_t pattern, bool force) {
    update_slots({kFillForeSlot, kFillBackSlot, kFillPatternSlot}, {fore, back, pattern}, force);
}

void update_lines(int16_t fore, int16_t back, int16_t pattern, bool force) {
    update_slots({kLineForeSlot, kLineBackSlot, kLinePatternSlot}, {fore, back, pattern}, force);
}

void update_line_size(int16_t value, bool force) { update_slots({kLineSizeSlot}, {value}, force); }
void update_frametype(int16_t value, bool force) { update_slots({kFrameTypeSlot}, {value}, force); }

void ColorTextMenu(MemoryRef window_record, int16_t item) {
    if (item < 1) return;
    const int16_t value = item == 1 ? kBlackValue : clamp_colour_value(int16_t(item - 1));
    const DocumentFacts f = given_or_front_facts(window_record);
    if (!f.layer) return;
    if (f.object_selected) {
        if (f.text_editor && GetSheetColors(f.layer) >= kColourStyle) colour_edited_text(f, value);
        return;
    }
    if (f.entry_active && f.text_editor) return colour_edited_text(f, value);
    format_cells(f, kFmtTextColour, value, kTextColourSlot);
}

namespace {

// The palette slot and object property of a fill or line colour.
struct ColourTarget {
    int16_t slot;
    pf::FourCC tag;
};
ColourTarget colour_target(bool foreground, bool fill) {
    if (fill) return foreground ? ColourTarget{kFillForeSlot, pf::four_cc("fcol")} : ColourTarget{kFillBackSlot, pf::four_cc("bcol")};
    return foreground ? ColourTarget{kLineForeSlot, pf::four_cc("lfcl")} : ColourTarget{kLineBackSlot, pf::four_cc("bfcl")};
}

// Gives the selected objects the property, as one undo step, and shows the
// value in its slot; false when no object is selected.
bool set_objects(const DocumentFacts& f, pf::FourCC tag, int16_t value, int16_t slot) {
    if (!f.layer || !f.object_selected || !set_selected_property(f.layer, tag, value)) return false;
    update_slots({slot}, {value}, false);
    return true;
}

}  // namespace

void DoColorPattern(MemoryRef window_record, int16_t item, bool foreground, bool fill) {
    if (item < 1) return;
    const int16_t value = clamp_colour_value(int16_t(item - 1));
    const DocumentFacts f = given_or_front_facts(window_record);
    const ColourTarget target = colour_target(foreground, fill);
    if (set_objects(f, target.tag, value, target.slot) || !fill) return;
    format_cells(f, foreground ? kFmtPatternFore : kFmtPatternBack, value, target.slot);
}

void DoPatternMenu(MemoryRef window_record, int16_t item, bool fill) {
    const int16_t value = item <= kNonePatternItems ? 0 : clamp_pattern_value(int16_t(item - 1));
    const DocumentFacts f = given_or_front_facts(window_record);
    if (set_objects(f, fill ? pf::four_cc("pat ") : pf::four_cc("lpat"), value,
                    fill ? kFillPatternSlot : kLinePatternSlot) ||
        !fill)
        return;
    format_cells(f, kFmtPattern, value, kFillPatternSlot);
}

void set_line_size(MemoryRef window_record, int16_t value) {
    set_objects(given_or_front_facts(window_record), pf::four_cc("lsiz"), value, kLineSizeSlot);
}

void set_frame_type(MemoryRef window_record, int16_t value) {
    const DocumentFacts f = given_or_front_facts(window_record);
    if (set_objects(f, pf::four_cc("fram"), value, kFrameTypeSlot)) DisplayText(f.record, 1);
}

void ColorMenus(int16_t menu, int16_t item) {
    switch (menu) {
        case kTextColourMenu: ColorTextMenu(nullptr, item); break;
        case kFillForeMenu: DoColorPattern(nullptr, item, true, true); break;
        case kFillBackMenu: DoColorPattern(nullptr, item, false, true); break;
        case kLineForeMenu: DoColorPattern(nullptr, item, true, false); break;
        case kLineBackMenu: DoColorPattern(nullptr, item, false, false); break;
        default: break;
    }
}

void PatternMenus(int16_t menu, int16_t item) { DoPatternMenu(nullptr, item, menu == kFillPatternMenu); }
