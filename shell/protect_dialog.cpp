// The protection dialog: a workbook's contents or its opening protected
// with a password, confirmed once more when it is new.
#include <cstring>

#include "core/memory_use.h"
#include "ui/modal_dialog.h"
#include "ui/dialog_pictures.h"
#include "core/passwords.h"
#include "model/workbook.h"
#include "shell/command_dialogs.h"
#include "shell/sheet_dialogs.h"
#include "shell/shell_commands.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kOkItem = 1, kCancelItem = 2, kPasswordItem = 4, kContentsRadio = 6, kOpeningRadio = 7,
                  kMessageItem = 8;
constexpr int16_t kWrongPassword = 7, kTooLong = 8, kTypeToChange = 9, kConfirmPrompt = 10, kNoPassword = 30;
constexpr uint8_t kLongestPassword = kPasswordFieldBytes - 1;

struct Protection {
    uint16_t flags;
    unsigned char password[kPasswordFieldBytes];  // clear
};

Protection read_protection(MemoryRef workbook) {
    Protection p{};
    MemoryUse<WorkSheet> book(workbook);
    p.flags = book->work_flags;
    std::memcpy(p.password, book->password, kPasswordFieldBytes);
    book.release();
    decode_password(p.password);
    if (p.password[0] > kLongestPassword) p.password[0] = kLongestPassword;
    return p;
}

void store_password(MemoryRef workbook, const unsigned char* typed) {
    unsigned char field[kPasswordFieldBytes] = {};
    std::memcpy(field, typed, size_t(typed[0]) + 1);
    encode_password(field);
    MemoryUse<WorkSheet> book(workbook);
    std::memcpy(book->password, field, kPasswordFieldBytes);
}

bool is_protected(const Protection& p) { return (p.flags & (kWorkProtected | kWorkPassword)) != 0; }

void say(DialogRef dialog, int16_t index) { show_indexed_string(dialog, kMessageItem, kCalcDialogStrings, index); }

void refuse(DialogRef dialog, int16_t index) { refuse_password(dialog, kPasswordItem, kMessageItem, index); }

uint16_t chosen_bit(DialogRef dialog) {
    return GetDRadios(dialog, kContentsRadio, kOpeningRadio) == kOpeningRadio ? kWorkPassword : kWorkProtected;
}

// The password typed, checked: for a protected workbook it must be the
// stored one; a new one must have 1 to 15 characters and be typed again.
bool password_accepted(DialogRef dialog, const Protection& p, MemoryRef workbook) {
    unsigned char typed[256];
    read_password_field(dialog, kPasswordItem, typed);
    if (is_protected(p)) {
        if (compare_password(typed, p.password)) return true;
        refuse(dialog, kWrongPassword);
        return false;
    }
    if (typed[0] == 0 || typed[0] > kLongestPassword) {
        refuse(dialog, typed[0] == 0 ? kNoPassword : kTooLong);
        return false;
    }
    if (!verify_dialog(typed, kConfirmPrompt)) return false;
    store_password(workbook, typed);
    return true;
}

}  // namespace

int16_t protect_dialog(MemoryRef layer) {
    MemoryRef workbook = layer ? GetWorkSheet(layer) : nullptr;
    if (!workbook) return 0;
    DialogRef dialog = StdNewDLOG(kProtectDialog, kOkItem, nullptr);
    if (!dialog) return 0;
    const Protection p = read_protection(workbook);
    SetDRadios(dialog, kContentsRadio, kOpeningRadio, (p.flags & kWorkPassword) ? kOpeningRadio : kContentsRadio);
    if (is_protected(p)) say(dialog, kTypeToChange);
    SetEditTextDialogItemFocus(dialog, kPasswordItem);
    const auto protect = [&] {
        if (!password_accepted(dialog, p, workbook)) return false;
        Set_Work_Flags(workbook, uint16_t(Get_Work_Flags(workbook) | chosen_bit(dialog)));
        increment_change_ctr(layer);
        return true;
    };
    const auto click = [&](int16_t item) {
        if (item != kContentsRadio && item != kOpeningRadio) return;
        SetDRadios(dialog, kContentsRadio, kOpeningRadio, item);
        if (is_protected(p)) say(dialog, kTypeToChange);
    };
    return run_ok_cancel_dialog(dialog, protect, click);
}
