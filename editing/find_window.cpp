// The Find window (DLOG 4000): a modeless dialog task over the search state of
// editing/find_replace.h.
#include "editing/find_window.h"

#include <string>
#include <vector>

#include "ui/dialog_items.h"
#include "ui/task_manager.h"
#include "editing/find_replace.h"
#include "formula/range_string.h"
#include "model/layer.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/draw/unicode_text.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "window/window_commands.h"
#include "resource_ids.h"

pf::DialogRef find_wind = nullptr;

namespace {

enum FindItem : int16_t {
    kFindButton = 1,
    kReplaceButton = 2,
    kIgnoreCaseBox = 3,
    kWholeTextBox = 4,
    kByColumnsBox = 5,
    kContentsBox = 6,
    kValuesBox = 7,
    kAllLayersBox = 9,
    kSearchField = 10,
    kReplacementField = 12,
    kReplaceFindButton = 13,
    kFoundFrame = 14,
    kReplaceAllButton = 15,
};

struct OptionBox {
    int16_t item;
    uint32_t bit;
};
constexpr OptionBox kOptionBoxes[] = {{kIgnoreCaseBox, kFindIgnoreCase},
                                      {kWholeTextBox, kFindWholeText},
                                      {kContentsBox, kFindInContents},
                                      {kValuesBox, kFindInValues},
                                      {kAllLayersBox, kFindAllLayers}};

constexpr int kNoHitTitle = 34;  // the frame's title while there is no hit
constexpr int kFoundInTitle = 35;
constexpr int16_t kFrameInset = 7;
constexpr int16_t kTitleHeight = 16;
constexpr int kLongestShownText = 160;
constexpr pf::RGBColor kHitColour{0xFFFF, 0, 0};

pf::WindowRef find_window() { return find_wind ? pf::get_dialog_window(find_wind) : nullptr; }

bool has_document() { return get_find_doc() != nullptr; }

std::string text_of(const unsigned char* pstr) { return std::string(pstr + 1, pstr + 1 + pstr[0]); }

// The frame's title: the found cell's reference, or that nothing is found.
std::string frame_title(MemoryRef layer) {
    if (!layer || !find_state.first_find) return pf::get_indexed_string(kCalcDialogStrings, kNoHitTitle);
    const CellPoint cell = GetClickCell(layer);
    const CellRange range{cell, cell};
    const bool relative[4] = {false, false, false, false};
    unsigned char reference[256];
    RangeString(reference, &range, relative, nullptr);
    return pf::get_indexed_string(kCalcDialogStrings, kFoundInTitle) + text_of(reference);
}

// The searched text of the found cell, with the hit drawn bold and red.
void draw_found_text(MemoryRef layer, const pf::Rect& area) {
    const CellPoint cell = GetClickCell(layer);
    const std::string text =
        find_state.found_in_contents ? cell_contents_utf8(layer, cell) : formula_value_utf8(layer, cell);
    const std::string_view shown = whole_characters(text, kLongestShownText);
    const size_t at = std::min(size_t(std::max(find_state.found_offset, 0)), shown.size());
    const size_t length = std::min<size_t>(find_state.find_str[0], shown.size() - at);
    pf::move_to(area.left, int16_t(area.top + 12));
    pf::draw_unicode_text(shown.substr(0, at));
    pf::text_face(pf::kFaceBold);
    pf::rgb_fore_color(kHitColour);
    pf::draw_unicode_text(shown.substr(at, length));
    pf::text_face(0);
    pf::rgb_fore_color(pf::RGBColor{});
    pf::draw_unicode_text(shown.substr(at + length));
}

void draw_found_frame(pf::DialogRef dialog, int16_t item) {
    const pf::Rect box = pf::get_dialog_item_box(dialog, item);
    pf::erase_rect(box);
    pf::Rect frame = box;
    frame.top = int16_t(frame.top + kTitleHeight / 2);
    pf::frame_rect(frame);
    MemoryRef record = get_find_doc();
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    const std::string title = " " + frame_title(layer) + " ";
    pf::erase_rect(pf::Rect{box.top, int16_t(box.left + 10), int16_t(box.top + kTitleHeight),
                            int16_t(box.left + 14 + pf::text_width(title))});
    pf::move_to(int16_t(box.left + 12), int16_t(box.top + 12));
    pf::draw_text(title);
    if (!layer || !find_state.first_find) return;
    const pf::Rect area{int16_t(box.top + kTitleHeight + kFrameInset), int16_t(box.left + kFrameInset),
                        int16_t(box.bottom - kFrameInset), int16_t(box.right - kFrameInset)};
    PushClip();
    pf::clip_rect(area);
    draw_found_text(layer, area);
    PopClip();
}

void close_find_window() {
    if (pf::WindowRef window = find_window()) CloseTaskFromWindow(window);
}

void run_find(int16_t item) {
    update_find_rec();
    switch (item) {
        case kFindButton: do_find_next(kFindFromActive); break;
        case kReplaceButton: do_freplace(1); break;
        case kReplaceFindButton:
            if (do_freplace(0)) do_find_next(kFindFromActive);
            break;
        case kReplaceAllButton: replace_all(); break;
        default: break;
    }
}

int32_t click_find_proc(EventRecord*, uintptr_t, uintptr_t extra) {
    const int16_t item = *reinterpret_cast<const int16_t*>(extra);
    switch (item) {
        case kIgnoreCaseBox:
        case kWholeTextBox:
        case kByColumnsBox:
        case kContentsBox:
        case kValuesBox:
        case kAllLayersBox:
            pf::set_dialog_item_value(find_wind, item, !pf::get_dialog_item_value(find_wind, item));
            if (item == kAllLayersBox || item == kByColumnsBox) forget_find_hit();
            break;
        case kSearchField:
        case kReplacementField:
            break;
        default:
            if (pf::is_dialog_item_enabled(find_wind, item)) run_find(item);
            break;
    }
    if (find_wind) {
        update_find_rec();
        enable_find_buttons();
    }
    return 1;
}

int32_t key_find_proc(EventRecord* event, uintptr_t, uintptr_t) {
    const unsigned char ch = pf::event_char(*event);
    if (ch == pf::kEscapeChar || ((event->modifiers & pf::kCmdKey) && ch == '.')) {
        close_find_window();
        return 1;
    }
    if (pf::get_dialog_keyboard_focus(find_wind) == kSearchField) forget_find_hit();
    update_find_rec();
    enable_find_buttons();
    return 1;
}

int32_t activate_find_proc(EventRecord* event, uintptr_t, uintptr_t) {
    if (!(event->modifiers & pf::kActiveFlag)) return 0;
    forget_find_hit();
    enable_find_buttons();
    return 0;
}

int32_t close_find_proc(EventRecord*, uintptr_t, uintptr_t) {
    update_find_rec();
    const pf::Rect content = pf::window_content_rect(find_window());
    app_prefs.palette_positions[kFindWindowPosition] = pf::Point{content.top, content.left};
    find_wind = nullptr;
    return 1;
}

// ---- Menus while the window is in front ------------------------------------------

int32_t find_menu_enable_proc(EventRecord* event, uintptr_t, uintptr_t window) {
    application_procs().menu_enable(event, 0, window);
    pf::MenuRef edit = pf::get_menu_handle(kEditMenu);
    if (!edit) return 1;
    pf::enable_menu_item(edit, 0);
    for (int16_t item : {kEditCutItem, kEditCopyItem, kEditPasteItem, kEditClearItem, kEditSelectAllItem, kEditFindItem})
        pf::enable_menu_item(edit, item);
    if (has_document() && find_state.find_str[0] > 0) pf::enable_menu_item(edit, kEditFindAgainItem);
    else pf::disable_menu_item(edit, kEditFindAgainItem);
    pf::draw_menu_bar();
    return 1;
}

int32_t find_menu_proc(EventRecord* event, uintptr_t, uintptr_t menu_pair) {
    const MenuChoice* choice = reinterpret_cast<const MenuChoice*>(menu_pair);
    if (!choice || choice->menu != kEditMenu) return application_procs().menu(event, 0, menu_pair);
    // Cut, Copy, Paste, Clear and Select All act on the focused field.
    if (is_field_edit_item(choice->item)) dlog_menus(find_wind, choice->item);
    else if (choice->item == kEditFindItem || choice->item == kEditFindAgainItem) run_find(kFindButton);
    pf::hilite_menu(0);
    if (find_wind) {
        update_find_rec();
        enable_find_buttons();
    }
    return 1;
}

void place_window(pf::WindowRef window) {
    const pf::Point saved = app_prefs.palette_positions[kFindWindowPosition];
    const pf::Rect desktop = pf::desktop_bounds();
    if (saved.v > desktop.top && saved.h >= desktop.left && saved.v < desktop.bottom - kTitleHeight &&
        saved.h < desktop.right - kTitleHeight)
        pf::move_window(window, saved.h, saved.v, false);
}

void fill_fields() {
    SetDEditTextUtf8(find_wind, kSearchField, text_of(find_state.find_str));
    SetDEditTextUtf8(find_wind, kReplacementField, find_state.replacement);
    for (const OptionBox& box : kOptionBoxes)
        pf::set_dialog_item_value(find_wind, box.item, (app_prefs.options & box.bit) != 0);
    pf::set_dialog_item_value(find_wind, kByColumnsBox, find_state.by_columns);
    pf::set_dialog_keyboard_focus(find_wind, kSearchField);
    pf::select_dialog_item_text(find_wind, kSearchField, 0, kAllCharacters);
}

}  // namespace

bool is_find_window(pf::WindowRef window) { return window && window == find_window(); }

void close_find_window() {
    if (find_wind) CloseTaskFromWindow(find_window());
}

void open_find_dialog() {
    if (find_wind) {
        pf::select_window(find_window());
        return;
    }
    find_wind = pf::get_new_dialog(kFindDialog);
    if (!find_wind) return;
    pf::WindowRef window = find_window();
    place_window(window);
    pf::set_dialog_default_item(find_wind, kFindButton);
    pf::set_dialog_item_user_proc(find_wind, kFoundFrame, draw_found_frame);
    fill_fields();
    add_window_task(window, kModelessDialogTask, 0,
                    {.activate = activate_find_proc, .click = click_find_proc, .key = key_find_proc,
                     .close = close_find_proc});
    use_window_menus(window, find_menu_proc, find_menu_enable_proc);
    forget_find_hit();
    enable_find_buttons();
    pf::show_window(window);
    pf::select_window(window);
}

void update_find_rec() {
    if (!find_wind) return;
    const std::string search = GetDEditTextUtf8(find_wind, kSearchField);
    set_find_string(find_state.find_str, reinterpret_cast<const unsigned char*>(search.data()),
                    int32_t(search.size()));
    find_state.replacement = GetDEditTextUtf8(find_wind, kReplacementField);
    for (const OptionBox& box : kOptionBoxes) {
        if (pf::get_dialog_item_value(find_wind, box.item)) app_prefs.options |= box.bit;
        else app_prefs.options &= ~box.bit;
    }
    find_state.by_columns = pf::get_dialog_item_value(find_wind, kByColumnsBox) != 0;
}

void enable_find_buttons() {
    if (!find_wind) return;
    const bool can_find = has_document() && find_state.find_str[0] > 0;
    const bool can_replace = has_document() && find_state.first_find == 1;
    EnableButton(find_wind, kFindButton, can_find);
    EnableButton(find_wind, kReplaceAllButton, can_find);
    EnableButton(find_wind, kReplaceButton, can_replace);
    EnableButton(find_wind, kReplaceFindButton, can_replace);
    PushWindowPort(find_window());
    draw_found_frame(find_wind, kFoundFrame);
    PopPort();
}
