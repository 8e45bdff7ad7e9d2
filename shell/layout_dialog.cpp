// The document layout dialog (DLOG 350): display, margin and print settings of
// the front document's layer, for that layer or every layer of its workbook,
// on three panels laid over the dialog's first four items.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "files/layout_settings.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "printing/header_dialog.h"
#include "printing/printing.h"
#include "ui/app_prefs.h"
#include "shell/prefs_dialog.h"
#include "window/doc_window.h"
#include "window/document_dialogs.h"
#include "shell/file_menu.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOKItem = 1, kCancelItem = 2, kPanelItem = 4, kKeptItems = 4;

// Display panel.
constexpr int16_t kFontItem = 7, kSizeItem = 8, kWidthItem = 14;
// Margins panel: the fields of the left, top, right and bottom margins.
constexpr int16_t kFirstMarginItem = 10;
constexpr int kMarginOfItem[4] = {1, 0, 3, 2};
// Print panel.
constexpr int16_t kHeaderBox = 8, kFooterBox = 9, kHeaderButton = 10, kFooterButton = 11, kPageNumberItem = 16;

struct FlagBox {
    int16_t item;
    uint32_t bit;
    bool print_flag;  // a print flag rather than a layer flag
    bool checked_when_clear;
};

constexpr FlagBox kDisplayBoxes[] = {{9, kLayerGridLines, false, false},
                                     {10, kLayerHeadings, false, false},
                                     {11, kLayerPageBreaks, false, false},
                                     {12, kLayerFixedRowHeights, false, true}};
constexpr FlagBox kPrintBoxes[] = {{6, kLayerPrintHeadings, false, false},      {7, kLayerPrintGrid, false, false},
                                   {12, kLayerCentreVertically, false, false},  {13, kLayerCentreHorizontally, false, false},
                                   {14, kLayerPrintColours, false, false},      {kHeaderBox, kPrintHeader, true, false},
                                   {kFooterBox, kPrintFooter, true, false},     {19, kPrintNotes, true, false}};

struct Panel {
    LayoutGroup group;
    const FlagBox* boxes;
    size_t box_count;
    int16_t this_layer_radio;  // the all-layers radio follows it
};

constexpr Panel kPanels[] = {{kDisplayGroup, kDisplayBoxes, std::size(kDisplayBoxes), 15},
                             {kMarginsGroup, nullptr, 0, 14},
                             {kPrintGroup, kPrintBoxes, std::size(kPrintBoxes), 17}};

struct LayoutDialog {
    DialogRef dialog;
    MemoryRef layer;
    LayoutChoices choices;
    int16_t panel;  // 1 to 3
    bool one_layer;
    unsigned char layer_name[32];
};

const Panel& panel_of(const LayoutDialog& d) { return kPanels[d.panel - 1]; }

int16_t margin_unit() { return app_prefs.margin_unit; }

uint32_t& flags_of(LayoutChoices& c, const FlagBox& box) { return box.print_flag ? c.print_flags : c.layer_flags; }

// ---- Filling a panel ---------------------------------------------------------------

void show_length(DialogRef dialog, int16_t item, int16_t points, int16_t unit) {
    unsigned char text[256];
    convert_margin_num(points, text, unit);
    SetDEditText(dialog, item, text);
}

void fill_pop_ups(LayoutDialog& d) {
    set_font_pop(d.dialog, kFontItem, d.choices.font);
    set_size_pop(d.dialog, kSizeItem, d.choices.size);
}

void fill_fields(LayoutDialog& d) {
    DialogRef dialog = d.dialog;
    switch (d.panel) {
        case 1:
            fill_pop_ups(d);
            show_length(dialog, kWidthItem, d.choices.column_width, kUnitPoints);
            SetEditTextDialogItemFocus(dialog, kWidthItem);
            SelectTheNumberStr(dialog, kWidthItem);
            break;
        case 2:
            for (int16_t i = 0; i < 4; ++i)
                show_length(dialog, int16_t(kFirstMarginItem + i), d.choices.margins[kMarginOfItem[i]], margin_unit());
            SetEditTextDialogItemFocus(dialog, kFirstMarginItem);
            SelectTheNumberStr(dialog, kFirstMarginItem);
            break;
        default:
            SetEditTextDialogItemFocus(dialog, kPageNumberItem);
            SetDNum(dialog, kPageNumberItem, d.choices.first_page_number, true);
            break;
    }
}

void fill_radios(LayoutDialog& d) {
    const Panel& panel = panel_of(d);
    const int16_t first = panel.this_layer_radio, second = int16_t(first + 1);
    if (d.one_layer) {
        pf::hide_dialog_item(d.dialog, first);
        pf::hide_dialog_item(d.dialog, second);
        return;
    }
    pf::ControlRef control = GetDialogControl(d.dialog, first);
    if (control) {
        unsigned char title[256];
        set_pstring(title, pf::get_control_title(control) + pstring_text(d.layer_name) + "\"");
        SetCntrlText(d.dialog, first, title);
    }
    SetDRadios(d.dialog, first, second, d.choices.all_layers[panel.group] ? second : first);
}

void fill_panel(LayoutDialog& d) {
    const Panel& panel = panel_of(d);
    for (size_t i = 0; i < panel.box_count; ++i) {
        const FlagBox& box = panel.boxes[i];
        const bool set = (flags_of(d.choices, box) & box.bit) != 0;
        SetCheckbox(d.dialog, box.item, set != box.checked_when_clear);
    }
    fill_fields(d);
    fill_radios(d);
}

// ---- Reading a panel ---------------------------------------------------------------

void take_value(LayoutDialog& d, int16_t* field, int16_t value) {
    if (*field == value) return;
    *field = value;
    d.choices.changed[panel_of(d).group] = true;
}

bool read_fields(LayoutDialog& d) {
    int16_t value = 0;
    switch (d.panel) {
        case 1:
            if (!read_layout_field(d.dialog, kWidthItem, LayoutField::kColumnWidth, kUnitPoints, &value)) return false;
            take_value(d, &d.choices.column_width, value);
            return true;
        case 2: {
            int16_t margins[4];
            for (int16_t i = 0; i < 4; ++i) {
                if (!read_layout_field(d.dialog, int16_t(kFirstMarginItem + i), LayoutField::kMargin, margin_unit(), &value))
                    return false;
                margins[kMarginOfItem[i]] = value;
            }
            PageSetupChoice paper = take_page_setup(d.layer);
            std::copy(margins, margins + 4, paper.margins);
            if (!margins_fit_in_dialog(d.dialog, paper, kFirstMarginItem)) return false;
            for (int i = 0; i < 4; ++i) take_value(d, &d.choices.margins[i], margins[i]);
            return true;
        }
        default:
            if (!read_layout_field(d.dialog, kPageNumberItem, LayoutField::kFirstPageNumber, -1, &value)) return false;
            take_value(d, &d.choices.first_page_number, value);
            return true;
    }
}

bool read_panel(LayoutDialog& d) {
    if (!read_fields(d)) return false;
    if (!d.one_layer) {
        const Panel& panel = panel_of(d);
        d.choices.all_layers[panel.group] =
            GetDRadios(d.dialog, panel.this_layer_radio, int16_t(panel.this_layer_radio + 1)) != panel.this_layer_radio;
    }
    return true;
}

// ---- Clicks ------------------------------------------------------------------------

void switch_panel(LayoutDialog& d) {
    pf::ControlRef control = GetDialogControl(d.dialog, kPanelItem);
    if (!control) return;
    const int16_t chosen = int16_t(pf::get_control_value(control));
    if (chosen == d.panel || chosen < 1 || chosen > 3) return;
    if (!read_panel(d)) {
        pf::set_control_value(control, d.panel);
        return;
    }
    panelSwap(d.dialog, kLayoutDialog, d.panel, chosen, kKeptItems);
    d.panel = chosen;
    fill_panel(d);
    pf::draw_dialog(d.dialog);
}

bool flip_box(LayoutDialog& d, int16_t item) {
    const Panel& panel = panel_of(d);
    for (size_t i = 0; i < panel.box_count; ++i) {
        const FlagBox& box = panel.boxes[i];
        if (box.item != item) continue;
        FlipCheckbox(d.dialog, item);
        flags_of(d.choices, box) ^= box.bit;
        d.choices.changed[panel.group] = true;
        return true;
    }
    return false;
}

void pick_font_or_size(LayoutDialog& d, int16_t item) {
    if (item == kFontItem) {
        take_value(d, &d.choices.font, get_pop_font(d.dialog, item));
    } else if (const int16_t size = get_pop_size(d.dialog, item); size > 0) {
        take_value(d, &d.choices.size, size);
    }
}

void edit_header_or_footer(LayoutDialog& d, bool header) {
    if (!HeaderDialog(header ? &d.choices.header : &d.choices.footer, header)) return;
    SetCheckbox(d.dialog, header ? kHeaderBox : kFooterBox, 1);
    d.choices.print_flags |= header ? kPrintHeader : kPrintFooter;
    d.choices.changed[kPrintGroup] = true;
}

// Handles a click on a panel item.
void click_panel_item(LayoutDialog& d, int16_t item) {
    if (flip_box(d, item)) return;
    const int16_t first_radio = panel_of(d).this_layer_radio;
    if (item == first_radio || item == first_radio + 1) {
        SetDRadios(d.dialog, first_radio, int16_t(first_radio + 1), item);
    } else if (d.panel == 1 && (item == kFontItem || item == kSizeItem)) {
        pick_font_or_size(d, item);
    } else if (d.panel == 3 && (item == kHeaderButton || item == kFooterButton)) {
        edit_header_or_footer(d, item == kHeaderButton);
    }
}

// Runs the dialog; true when it was confirmed with every field in range.
bool run_layout_dialog(LayoutDialog& d) {
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(d.dialog, &event, kModalAllOptions);
        if (item == kOKItem) {
            if (read_panel(d)) return true;
        } else if (item == kCancelItem || item == kModalCloseBox) {
            return false;
        } else if (item == kPanelItem) {
            switch_panel(d);
        } else if (item > kKeptItems) {
            click_panel_item(d, item);
        }
    }
}

void lay_out_layer_window(MemoryRef layer) {
    if (WindowRef window = layer_window(layer)) ResetWindow(window);
}

}  // namespace

void doc_layout(MemoryRef record, int16_t panel) {
    if (!record || panel < 1 || panel > 3) return;
    LayoutDialog d{};
    d.layer = doc_window_layer(record);
    d.dialog = StdNewDLOG(kLayoutDialog, kOKItem, nullptr);
    if (!d.dialog) return;
    take_layout_choices(d.layer, &d.choices);
    GetSheetName(d.layer_name, d.layer);
    d.one_layer = num_SpreadSheets(doc_window_workbook(record)) <= 1;
    d.panel = panel;
    if (pf::ControlRef control = GetDialogControl(d.dialog, kPanelItem)) pf::set_control_value(control, panel);
    panelSwap(d.dialog, kLayoutDialog, 0, panel, kKeptItems);
    fill_panel(d);
    pf::draw_dialog(d.dialog);
    const bool confirmed = run_layout_dialog(d);
    StdDLOG_close(d.dialog, nullptr);
    if (confirmed) apply_layout_choices(d.choices, d.layer, lay_out_layer_window);
    drop_layout_choices(&d.choices);
}
