// Clicks on command-bar buttons: a plain button is tracked and runs its
// command; a pop-up button opens its menu under itself and hands the choice on.
#include <vector>

#include "charts/charts.h"
#include "ui/lists_and_menus.h"
#include "ui/task_manager.h"
#include "platform/events/events.h"
#include "platform/screen/cursor.h"
#include "ui/app_prefs.h"
#include "shell/border_tools.h"
#include "shell/button_states.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "shell/format_menus.h"
#include "shell/menu_enabling.h"
#include "shell/shell_commands.h"
#include "shell/shell_services.h"
#include "model/format_commands.h"
#include "window/front_document.h"
#include "resource_ids.h"

namespace {

constexpr int kBeepTicks = 9;
constexpr int16_t kPopUpTextSize = 9;
constexpr int16_t kOpenArrowWidth = 9;
constexpr int16_t kPrecisionDialogItem = 3;

enum class PopUpGuard : uint8_t {
    kNone,
    kInvalidFormulaBeeps,  // a beep on an invalid formula; nothing for an object without text
    kEditingOrObjectBeeps, // a beep while editing or with an object selected
    kObjectOtherThanEdited,
};

enum class ChoiceGoesTo : uint8_t { kMenuButton, kStyleMenu, kGridMenu, kChartMenu, kToolMenu, kTimeMenu, kDateMenu,
                                    kCurrency, kFixedDecimals };

struct PopUp {
    const char* code;
    int16_t menu;
    PopUpGuard guard;
    ChoiceGoesTo goes_to;
};

constexpr PopUp kPopUps[] = {
    {"font", kFontMenu, PopUpGuard::kInvalidFormulaBeeps, ChoiceGoesTo::kMenuButton},
    {"size", kSizeMenu, PopUpGuard::kInvalidFormulaBeeps, ChoiceGoesTo::kMenuButton},
    {"styt", kStyleMenu, PopUpGuard::kInvalidFormulaBeeps, ChoiceGoesTo::kStyleMenu},
    {"dolt", kCurrencyFormatsMenu, PopUpGuard::kEditingOrObjectBeeps, ChoiceGoesTo::kCurrency},
    {"fixt", kFixedDecimalsMenu, PopUpGuard::kEditingOrObjectBeeps, ChoiceGoesTo::kFixedDecimals},
    {"alnt", kAlignOptionMenu, PopUpGuard::kEditingOrObjectBeeps, ChoiceGoesTo::kMenuButton},
    {"timt", kTimeMenu, PopUpGuard::kEditingOrObjectBeeps, ChoiceGoesTo::kTimeMenu},
    {"datt", kDateMenu, PopUpGuard::kEditingOrObjectBeeps, ChoiceGoesTo::kDateMenu},
    {"just", kAlignMenu, PopUpGuard::kObjectOtherThanEdited, ChoiceGoesTo::kMenuButton},
    {"grid", kBordersMenu, PopUpGuard::kNone, ChoiceGoesTo::kGridMenu},
    {"chrt", kChartKindMenu, PopUpGuard::kNone, ChoiceGoesTo::kChartMenu},
    {"objt", kToolMenu, PopUpGuard::kNone, ChoiceGoesTo::kToolMenu},
};

const PopUp* pop_up_of(uint32_t code) {
    for (const PopUp& p : kPopUps) {
        if (code_value(p.code) == code) return &p;
    }
    return nullptr;
}

void beep() { pf::sys_beep(kBeepTicks); }

// Whether the pop-up may open; beeps where its guard says so.
bool guard_allows(PopUpGuard guard, const DocumentFacts& f) {
    switch (guard) {
        case PopUpGuard::kNone: return true;
        case PopUpGuard::kInvalidFormulaBeeps:
            if (f.invalid_formula) beep();
            return !f.invalid_formula && !(f.object_selected && !f.text_editor);
        case PopUpGuard::kEditingOrObjectBeeps:
            if (f.entry_active || f.object_selected) beep();
            return !f.entry_active && !f.object_selected;
        case PopUpGuard::kObjectOtherThanEdited: return !f.object_selected || f.text_editor;
    }
    return false;
}

void check_only(pf::MenuRef menu, int16_t item) { check_menu_item(menu, 1, pf::count_menu_items(menu), item); }

void prepare_menu(const PopUp& p, pf::MenuRef menu, const DocumentFacts& f) {
    if (p.goes_to == ChoiceGoesTo::kCurrency) check_only(menu, currency_checked_item(f.format));
    else if (p.goes_to == ChoiceGoesTo::kFixedDecimals) check_only(menu, fixed_decimals_checked_item(f.format));
    else if (p.menu == kSizeMenu) set_size_menu(nullptr, menu, f.size);
}

void hand_on(const PopUp& p, int16_t item, const DocumentFacts& f) {
    switch (p.goes_to) {
        case ChoiceGoesTo::kMenuButton: shell_services.menu_button(p.menu, item); break;
        case ChoiceGoesTo::kStyleMenu: DoStyleMenu(nullptr, item); break;
        case ChoiceGoesTo::kGridMenu: DoGridMenu(item); break;
        case ChoiceGoesTo::kChartMenu: DoChartMenu(nullptr, item); break;
        case ChoiceGoesTo::kToolMenu: DoToolMenu(nullptr, item); break;
        case ChoiceGoesTo::kTimeMenu: DoTimeMenu(nullptr, item); break;
        case ChoiceGoesTo::kDateMenu: DoDateMenu(nullptr, item); break;
        case ChoiceGoesTo::kCurrency: apply_format_change(f.layer, currency_choice(item)); break;
        case ChoiceGoesTo::kFixedDecimals:
            if (item == 10) choose_menu_item(kPrecisionMenu, kPrecisionDialogItem);
            else apply_format_change(f.layer, fixed_decimals_choice(item));
            break;
    }
}

// The menu's choice, popped up with its top-left at the button's bottom-left.
int16_t pop_up_under(pf::MenuRef menu, const ButtonRecord& button, int16_t first_item_under) {
    pf::Point corner{int16_t(button.rect.bottom - 2), int16_t(button.rect.left + 2)};
    pf::local_to_global(corner);
    SetMenuSize(menu, kPopUpTextSize);
    int32_t choice = pf::pop_up_menu_select(menu, corner.v, corner.h, first_item_under);
    RestoreMenuSize(menu);
    return int16_t(choice & 0xFFFF);
}

// The button drawn pressed while its menu is up; the item chosen, 0 for none.
int16_t pop_up_pressed(ButtonRecord& button, pf::MenuRef menu, int16_t first_item_under) {
    int16_t previous = button.state;
    button.state = kButtonPressed;
    draw_bar_button(button);
    int16_t item = pop_up_under(menu, button, first_item_under);
    button.state = previous;
    draw_bar_button(button);
    return item;
}

void run_pop_up(ButtonRecord& button, const PopUp& p) {
    MemoryRef record = front_document_record();
    if (!record) return;
    DocumentFacts facts = read_document_facts(record);
    if (!guard_allows(p.guard, facts)) return;
    pf::MenuRef menu = pf::get_menu_handle(p.menu);
    if (!menu) menu = pf::get_menu(p.menu);
    if (!menu) {
        beep();
        return;
    }
    prepare_menu(p, menu, facts);
    int16_t item = pop_up_pressed(button, menu, p.menu == kSizeMenu ? 1 : 0);
    if (item) hand_on(p, item, facts);
}

// The Open button: its body opens, its arrow lists the recent documents.
void run_open_button(ButtonRecord& button, pf::Point where) {
    pf::MenuRef menu = pf::get_menu_handle(kRecentMenu);
    bool on_arrow = where.h >= button.rect.right - kOpenArrowWidth;
    bool recent = menu && pf::count_menu_items(menu) > 2;
    if (!on_arrow || !recent) {
        if (TrackButtonMouseInIconRect(&button, IconBar, command_bar_depth())) DoCommand(button.command);
        return;
    }
    int16_t item = pop_up_pressed(button, menu, 0);
    if (item) {
        shell_services.menu_button(kRecentMenu, item);
        return;
    }
    pf::Point mouse;
    pf::get_mouse(mouse);
    if (pf::pt_in_rect(mouse, button.rect)) DoCommand(button.command);
}

}  // namespace

bool TrackButtonMouseInIconRect(ButtonRecord* button, WindowRef, int16_t) {
    if (button->state == kButtonDisabled) return false;
    int16_t before = button->state;
    bool inside = false;
    pf::Point mouse;
    while (pf::still_down()) {
        pf::get_mouse(mouse);
        bool now = pf::pt_in_rect(mouse, button->rect);
        if (now != inside) {
            inside = now;
            button->state = inside ? kButtonPressed : kButtonEnabled;
            draw_bar_button(*button);
        }
    }
    pf::get_mouse(mouse);
    inside = pf::pt_in_rect(mouse, button->rect);
    button->state = before;
    draw_bar_button(*button);
    return inside;
}

int16_t Button_Command(WindowRef, int16_t, int16_t index, pf::Point where) {
    if (!has_current_bar || index < 1 || index > int16_t(current_bar.buttons.size())) return 0;
    ButtonRecord button = current_bar.buttons[size_t(index - 1)];
    if (button.command == pf::four_cc("open")) {
        if (button.state != kButtonDisabled) run_open_button(button, where);
    } else if (!(button.flags & kButtonPopUp)) {
        if (TrackButtonMouseInIconRect(&button, IconBar, command_bar_depth())) DoCommand(button.command);
    } else if (const PopUp* p = pop_up_of(button.command); p && button.state != kButtonDisabled) {
        run_pop_up(button, *p);
    }
    // The bar may have been switched or rebuilt by the command.
    if (has_current_bar && index <= int16_t(current_bar.buttons.size())) {
        current_bar.buttons[size_t(index - 1)].drawn_state = button.drawn_state;
        current_bar.buttons[size_t(index - 1)].drawn_value = button.drawn_value;
    }
    app_prefs.options2 |= kPrefRefreshButtons;
    return 0;
}

int16_t currency_checked_item(const CellFormat& format) {
    const uint8_t* f = format.bytes;
    uint8_t code = f[kFmtCode], a = f[kFmtFlagsA], b = f[kFmtFlagsB];
    if (code >= 31 && code <= 34) return 6;
    if (code >= 46 && code <= 50) return int16_t(7 + code - 46);
    if (code < 36 || code > 39) return 0;
    if (a & 0x20) return (a & 0x10) ? 2 : 1;
    if (b & 0x40) return (a & 0x10) ? 4 : 3;
    return 0;
}

FormatChange currency_choice(int16_t item) {
    FormatChange c;
    if (item >= 1 && item <= 4) {
        bool symbol_after = item == 2 || item == 4;
        bool separated = item <= 2;
        c = FormatChange{true, 36, 2};
        c.flags_a_set = uint8_t((separated ? 0x20 : 0) | (symbol_after ? 0x10 : 0));
        c.flags_a_clear = uint8_t((separated ? 0 : 0x20) | (symbol_after ? 0 : 0x10));
        c.flags_b_set = uint8_t(0x20 | (separated ? 0 : 0x40));
        c.flags_b_clear = uint8_t(0x01 | (separated ? 0x40 : 0));
    } else if (item == 6) {
        c = FormatChange{true, 31, 0, 0x02, 0x30, 0x20, 0x41};
    } else if (item >= 7 && item <= 11) {
        c = FormatChange{true, uint8_t(46 + item - 7), -1};
    }
    return c;
}

int16_t fixed_decimals_checked_item(const CellFormat& format) {
    if (!(format.bytes[kFmtFlagsB] & kFlagBFixedDecimals)) return 1;
    int8_t decimals = int8_t(format.bytes[kFmtDecimals]);
    return decimals > 6 ? 10 : int16_t(3 + std::max<int8_t>(decimals, 0));
}

FormatChange fixed_decimals_choice(int16_t item) {
    FormatChange c;
    if (item == 1) {
        c.valid = true;
        c.flags_b_clear = kFlagBFixedDecimals;
    } else if (item >= 3 && item <= 9) {
        c.valid = true;
        c.decimals = int16_t(item - 3);
        c.flags_b_set = kFlagBFixedDecimals;
    }
    return c;
}
