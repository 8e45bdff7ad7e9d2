// The page setup dialog (DLOG 903): paper size pop-up, orientation, scale and
// margins of the front window's layer.
#include <iterator>
#include <string>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "model/layer.h"
#include "platform/menus/menus.h"
#include "printing/printing.h"
#include "ui/app_prefs.h"
#include "window/doc_window.h"
#include "window/document_dialogs.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kMarginsTooWideMessage = 6;
constexpr int16_t kOKItem = 1, kCancelItem = 2, kPaperItem = 4, kPortraitItem = 6, kLandscapeItem = 7,
                  kScaleItem = 9;
// The fields of the top, left, bottom and right margins.
constexpr int16_t kMarginItems[4] = {13, 15, 17, 19};

constexpr size_t kPaperCount = std::size(kPaperSizes);

bool same_paper(PaperChoice a, PaperChoice b) { return a.width == b.width && a.height == b.height; }

// The pop-up's item for the paper: one of the sizes offered, or an item added
// for a size of its own.
int16_t paper_item(DialogRef dialog, PaperChoice paper) {
    for (size_t i = 0; i < kPaperCount; ++i)
        if (same_paper(kPaperSizes[i], paper)) return int16_t(i + 1);
    pf::MenuRef menu = GetContolPopMenu(dialog, kPaperItem);
    if (!menu) return 1;
    pf::append_menu_item_text(menu, "Other (" + std::to_string(paper.width) + " x " + std::to_string(paper.height) +
                                        " pt)");
    if (pf::ControlRef control = GetDialogControl(dialog, kPaperItem))
        pf::set_control_maximum(control, pf::count_menu_items(menu));
    return pf::count_menu_items(menu);
}

void show_margin(DialogRef dialog, int16_t item, int16_t points) {
    unsigned char text[256];
    convert_margin_num(points, text, app_prefs.margin_unit);
    SetDEditText(dialog, item, text);
}

void fill_dialog(DialogRef dialog, const PageSetupChoice& choice) {
    if (pf::ControlRef control = GetDialogControl(dialog, kPaperItem))
        pf::set_control_value(control, paper_item(dialog, choice.paper));
    SetDRadios(dialog, kPortraitItem, kLandscapeItem, choice.orientation == 2 ? kLandscapeItem : kPortraitItem);
    SetDNum(dialog, kScaleItem, choice.scale, false);
    for (int i = 0; i < 4; ++i) show_margin(dialog, kMarginItems[i], choice.margins[i]);
    SetEditTextDialogItemFocus(dialog, kScaleItem);
    SelectTheNumberStr(dialog, kScaleItem);
}

// The fields into the choice; false when one is out of its range (and refused).
bool read_dialog(DialogRef dialog, PageSetupChoice* choice) {
    int16_t scale = 0, margins[4] = {};
    if (!read_layout_field(dialog, kScaleItem, LayoutField::kPageScale, -1, &scale)) return false;
    for (int i = 0; i < 4; ++i)
        if (!read_layout_field(dialog, kMarginItems[i], LayoutField::kMargin, app_prefs.margin_unit, &margins[i]))
            return false;
    choice->scale = scale;
    std::copy(margins, margins + 4, choice->margins);
    if (pf::ControlRef control = GetDialogControl(dialog, kPaperItem)) {
        const int32_t item = pf::get_control_value(control);
        if (item >= 1 && size_t(item) <= kPaperCount) choice->paper = kPaperSizes[item - 1];
    }
    choice->orientation = GetDRadios(dialog, kPortraitItem, kLandscapeItem) == kLandscapeItem ? 2 : 1;
    return margins_fit_in_dialog(dialog, *choice, kMarginItems[0]);
}

bool run_dialog(DialogRef dialog, PageSetupChoice* choice) {
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kOKItem && read_dialog(dialog, choice)) return true;
        if (item == kCancelItem || item == kModalCloseBox) return false;
        if (item == kPortraitItem || item == kLandscapeItem) SetDRadios(dialog, kPortraitItem, kLandscapeItem, item);
    }
}

}  // namespace

bool margins_fit_in_dialog(DialogRef dialog, const PageSetupChoice& choice, int16_t margin_item) {
    if (margins_leave_room(choice)) return true;
    str_multi_alert(kPrintMessages, kMarginsTooWideMessage, kStandardStopAlert, kStopAlertKind);
    SetEditTextDialogItemFocus(dialog, margin_item);
    SelectTheNumberStr(dialog, margin_item);
    return false;
}

void do_page_setup(MemoryRef record, int16_t) {
    if (!record) return;
    MemoryRef layer = doc_window_layer(record);
    PageSetupChoice choice = take_page_setup(layer);
    DialogRef dialog = StdNewDLOG(kPageSetupDialog, kOKItem, nullptr);
    if (!dialog) return;
    fill_dialog(dialog, choice);
    pf::draw_dialog(dialog);
    const bool confirmed = run_dialog(dialog, &choice);
    StdDLOG_close(dialog, nullptr);
    if (confirmed && apply_page_setup(layer, choice))
        if (WindowRef window = layer_window(layer)) ResetWindow(window);
}
