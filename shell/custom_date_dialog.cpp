#include "shell/custom_date_dialog.h"

#include <cctype>
#include <cstring>

#include "ui/dialog_items.h"
#include "ui/lists_and_menus.h"
#include "ui/modal_dialog.h"
#include "ui/dialog_pictures.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/cell_record.h"
#include "model/display_text.h"
#include "model/format_commands.h"
#include "platform/resources/resources.h"
#include "shell/command_dialogs.h"
#include "ui/app_prefs.h"
#include "shell/custom_label_dialog.h"
#include "shell/format_menus.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kDateExampleCount = 15, kTimeExampleCount = 6;
constexpr int16_t kOkItem = 1, kCancelItem = 2, kFormatItem = 3, kSampleItem = 6, kExampleList = 7;
constexpr int kCustomDatePosition = 20;  // of the saved dialog positions
constexpr int16_t kLabelInFrontBit = 7, kCustomTextBit = 7;

// The user's letter for day, month or year (item 1, 2, 3), or the stored one.
unsigned char user_letter(int16_t item, unsigned char stored) {
    const std::string text = pf::get_indexed_string(kDateLetterStrings, item);
    return text.empty() ? stored : static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(text[0])));
}

bool marker_at(const unsigned char* text, int at) {
    static const char* const kMarkers[] = {"am/pm", "AM/PM"};
    for (const char* marker : kMarkers)
        if (at + 4 <= text[0] && std::memcmp(text + at, marker, 5) == 0) return true;
    return false;
}

unsigned char converted(unsigned char c, const unsigned char* user, const char* stored) {
    for (int i = 0; i < 3; ++i) {
        if (c == user[i]) return static_cast<unsigned char>(stored[i]);
        if (c == std::toupper(user[i])) return static_cast<unsigned char>(std::toupper(stored[i]));
    }
    return c;
}

// The selection's custom format text, when its format has one.
void current_text(MemoryRef layer, unsigned char* text) {
    text[0] = 0;
    uint8_t format[kCellFormatSize];
    GetSelectFormat(format, layer, 1);
    if (format[kFmtCode] == kFormatCustomDate && (format[kFmtFlagsB] & kFlagBCustomDate))
        GetCellStrings(active_cell_of(layer), text, nullptr, layer);
}

// The active cell's value (now when it holds no number) in the format text.
void show_sample(pf::DialogRef dialog, MemoryRef layer) {
    unsigned char text[256];
    GetDEditText(dialog, kFormatItem, text);
    ConvertIntlFormatDate(text);
    uint8_t cell[kCellHeaderSize + 256] = {};
    GetSelectFormat(cell, layer, 1);
    cell[kFmtCode] = kFormatCustomDate;
    cell[kFmtFlagsB] |= kFlagBCustomDate;
    cell[kFmtLabelLength] = text[0];
    std::memcpy(_labelPtr_(cell), text + 1, text[0]);
    double value = 0;
    const bool number = active_cell_number(layer, &value);
    unsigned char sample[256];
    CustomFormatString(sample, cell, number ? &value : nullptr, layer);
    SetDText(dialog, kSampleItem, sample);
}

// Example n of the list: the date examples, then the time examples.
void example(int16_t row, unsigned char* text) {
    if (row < kDateExampleCount) pf::get_indexed_string(text, kDateExamples, row + 1);
    else pf::get_indexed_string(text, kTimeExamples, row - kDateExampleCount + 1);
}

void fill_examples(pf::ListHandle list) {
    unsigned char text[256];
    for (int16_t row = 0; row < kDateExampleCount + kTimeExampleCount; ++row) {
        example(row, text);
        add_list_str(text, list);
    }
}

void take_example(pf::DialogRef dialog, pf::ListHandle list) {
    const int16_t row = FindSelect(list);
    if (row < 0) return;
    unsigned char text[256];
    example(row, text);
    SetDEditText(dialog, kFormatItem, text);
    SelectTheDialogItemText(dialog, kFormatItem, 0, kAllCharacters);
}

// The format text accepted; false when cancelled.
bool ask_format(MemoryRef layer, unsigned char* text) {
    pf::Point* position = &app_prefs.dialog_positions[kCustomDatePosition];
    pf::DialogRef dialog = StdNewDLOG(kCustomDateDialog, kOkItem, position);
    if (!dialog) return false;
    pf::ListHandle list = GetDialogListHandle(dialog, kExampleList);
    if (list) fill_examples(list);
    current_text(layer, text);
    SetDEditText(dialog, kFormatItem, text);
    SetEditTextDialogItemFocus(dialog, kFormatItem);
    SelectTheDialogItemText(dialog, kFormatItem, 0, kAllCharacters);
    show_sample(dialog, layer);
    const auto read_text = [&] { return GetDRomanText(dialog, kFormatItem, text); };
    const auto click = [&](int16_t item) {
        if (item == kExampleList && list) take_example(dialog, list);
        show_sample(dialog, layer);
    };
    return run_ok_cancel_dialog(dialog, read_text, click, position) != 0;
}

}  // namespace

void ConvertIntlFormatDate(unsigned char* text) {
    const unsigned char user[3] = {user_letter(1, 'd'), user_letter(2, 'm'), user_letter(3, 'y')};
    convert_format_letters(text, user);
}

void convert_format_letters(unsigned char* text, const unsigned char* user) {
    bool quoted = false;
    for (int at = 1; at <= text[0]; ++at) {
        const unsigned char c = text[at];
        if (c == '"') {
            if (quoted && at < text[0] && text[at + 1] == '"') ++at;
            else quoted = !quoted;
        } else if (!quoted && marker_at(text, at)) {
            at += 4;
        } else if (!quoted) {
            text[at] = converted(c, user, "dmy");
        }
    }
}

int16_t apply_custom_date(MemoryRef layer, const unsigned char* text) {
    unsigned char stored[256];
    std::memcpy(stored, text, size_t(text[0]) + 1);
    ConvertIntlFormatDate(stored);
    if (!format_selection(layer, kFormatUndoKind, kFmtCode, kFormatCustomDate, false)) return 0;
    selection_bits(layer, kFmtFlagsA, kLabelInFrontBit, true);
    selection_bits(layer, kFmtFlagsB, kCustomTextBit, stored[0] == 0);
    AddCustomLabel(layer, stored, 0);
    return 1;
}

int16_t CustomDateDialog(MemoryRef layer) {
    if (!layer) return 0;
    unsigned char text[256];
    if (!ask_format(layer, text)) return 0;
    return apply_custom_date(layer, text);
}
