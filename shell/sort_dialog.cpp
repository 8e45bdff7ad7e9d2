// The Sort dialog: up to three key columns (rows sorted) or key rows (columns
// sorted) within the range, each ascending or descending.
#include "core/number_text.h"
#include "platform/controls/controls.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "shell/command_dialogs.h"
#include "ui/dialog_pictures.h"
#include "ui/modal_dialog.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kFirstTitle = 3;
constexpr int16_t kKeyFields[kSortKeys] = {6, 8, 10};
constexpr int16_t kAscendingItems[kSortKeys] = {12, 14, 16};
constexpr int16_t kByColumnsItem = 18, kByRowsItem = 19, kSortPictureItem = 22;
constexpr int16_t kColumnTitles = 17, kRowTitles = 20;  // of STR# 128
constexpr int kSortPosition = 9;  // of the saved dialog positions

bool keys_are_columns(DialogRef dialog) { return GetCheckbox(dialog, kByColumnsItem) != 0; }

// A field's little arrows are the item after it.
pf::ControlRef arrows_of(DialogRef dialog, int key) { return GetDialogControl(dialog, int16_t(kKeyFields[key] + 1)); }

void set_first_key_text(DialogRef dialog, const CellRange& range, bool columns) {
    unsigned char text[256];
    if (columns) NumberToColumn(text, range.topLeft.h);
    else {
        const std::string number = std::to_string(range.topLeft.v + 1);
        text[0] = uint8_t(number.size());
        number.copy(reinterpret_cast<char*>(text + 1), number.size());
    }
    SetDEditText(dialog, kKeyFields[0], text);
    SelectTheDialogItemText(dialog, kKeyFields[0], 0, kAllCharacters);
}

// Fields, titles, little arrows and picture for keys that are columns or rows.
void set_sort_mode(DialogRef dialog, const CellRange& range, bool columns) {
    set_first_key_text(dialog, range, columns);
    const unsigned char empty[1] = {0};
    for (int key = 1; key < kSortKeys; ++key) SetDEditText(dialog, kKeyFields[key], empty);
    const int32_t first = columns ? range.topLeft.h : range.topLeft.v + 1;
    const int32_t last = columns ? range.botRight.h : range.botRight.v + 1;
    for (int key = 0; key < kSortKeys; ++key) {
        const std::string title = pf::get_indexed_string(kPromptStrings, int16_t((columns ? kColumnTitles : kRowTitles) + key));
        if (pf::ControlRef label = GetDialogControl(dialog, int16_t(kFirstTitle + key))) pf::set_control_title(label, title);
        pf::ControlRef arrows = arrows_of(dialog, key);
        if (!arrows) continue;
        pf::set_control_minimum(arrows, first);
        pf::set_control_maximum(arrows, last);
        pf::set_control_value(arrows, first + key);
        arrows->refcon = columns ? kColumnLetterField : kWholeNumberField;
        pf::set_control_action(arrows, HandleLittleArrows);
    }
    DrawDialogItem(dialog, kSortPictureItem);
}

// The key a non-empty field names, checked against the grid (letters) or the
// range's rows; kNoSortKey for an empty field, -2 for a refused one.
constexpr int16_t kRefusedKey = -2;
int16_t read_key(DialogRef dialog, int16_t field, const CellRange& range, bool columns) {
    unsigned char text[256];
    GetDEditText(dialog, field, text);
    if (text[0] == 0) return kNoSortKey;
    if (columns) return ValidArrowLetter(dialog, field) ? ColumnToNumber(text) : kRefusedKey;
    const int32_t first = range.topLeft.v + 1, last = range.botRight.v + 1;
    if (!ValidArrowNum(dialog, field, false, first, last, first, kWholeNumberField)) return kRefusedKey;
    return int16_t(GetDNum(dialog, field) - 1);
}

// Reads the keys into `keys` (empty fields keep theirs); false when one was refused.
bool read_keys(DialogRef dialog, const CellRange& range, int16_t keys[kSortKeys]) {
    const bool columns = keys_are_columns(dialog);
    int16_t read[kSortKeys];
    for (int key = 0; key < kSortKeys; ++key) {
        read[key] = read_key(dialog, kKeyFields[key], range, columns);
        if (read[key] == kRefusedKey) return false;
    }
    for (int key = 0; key < kSortKeys; ++key)
        if (read[key] != kNoSortKey) keys[key] = read[key];
    return true;
}

}  // namespace

void Draw_RowPict_item(DialogRef dialog, int16_t item) {
    draw_item_picture(dialog, item, GetCheckbox(dialog, kByRowsItem) ? kAcrossPicture : kDownPicture);
}

int16_t sort_dialog(int16_t keys[kSortKeys], uint16_t ascending[kSortKeys], uint16_t* by_columns,
                    const CellRange* range) {
    pf::Point* position = &app_prefs.dialog_positions[kSortPosition];
    DialogRef dialog = StdNewDLOG(kSortDialog, kOkItem, position);
    if (!dialog) return 0;
    AttachDUserProc(dialog, kSortPictureItem, Draw_RowPict_item);
    const bool wide = range->botRight.v - range->topLeft.v < range->botRight.h - range->topLeft.h;
    SetDRadios(dialog, kByColumnsItem, kByRowsItem, wide ? kByRowsItem : kByColumnsItem);
    for (int16_t first : kAscendingItems) SetDRadios(dialog, first, int16_t(first + 1), first);
    set_sort_mode(dialog, *range, !wide);
    const auto read_choice = [&] {
        if (!read_keys(dialog, *range, keys)) return false;
        for (int key = 0; key < kSortKeys; ++key) ascending[key] = GetCheckbox(dialog, kAscendingItems[key]) ? 1 : 0;
        *by_columns = keys_are_columns(dialog) ? 1 : 0;
        return true;
    };
    const auto click = [&](int16_t item) {
        if (item >= kAscendingItems[0] && item <= kAscendingItems[kSortKeys - 1] + 1) {
            const int16_t first = int16_t(kAscendingItems[0] + (item - kAscendingItems[0]) / 2 * 2);
            SetDRadios(dialog, first, int16_t(first + 1), item);
        } else if (item == kByColumnsItem || item == kByRowsItem) {
            SetDRadios(dialog, kByColumnsItem, kByRowsItem, item);
            set_sort_mode(dialog, *range, item == kByColumnsItem);
        }
    };
    const bool ok = run_ok_cancel_dialog(dialog, read_choice, click, position) != 0;
    return ok && keys[0] >= 0 ? 1 : 0;
}
