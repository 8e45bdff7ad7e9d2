// The Save dialog of documents: below the file list a pop-up of the formats
// the format table saves in (its item numbers are the format codes) and a check box that puts the
// format's extension on the name; a line above the list says why a name is
// asked when Save could not write over the document's file.
#include <algorithm>
#include <string>

#include "ui/nav_dialogs.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "files/file_formats.h"
#include "platform/controls/controls.h"
#include "platform/dialogs/dialogs.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "resource_ids.h"
#include "ui/app_prefs.h"

namespace {

// Whether the Save dialog puts the format's extension on names.
bool adds_extensions() { return (app_prefs.options2 & kPrefAddExtensions) != 0; }

constexpr int16_t kMinimumExtraWidth = 225;
constexpr int16_t kMinimumExtraHeight = 55;

// What the dialog's items hold while it is up.
struct SaveChoice {
    int16_t code;        // the pop-up's value
    int16_t first_code;  // the value it was shown with
    int16_t first_item;  // the pop-up's item number; the check box follows it
    pf::Rect agreed;     // the room last agreed, kept between dialogs
    int16_t reason;      // item of STR# 130 that says why a name is asked, 0 none
};

SaveChoice& choice_of(void* user_data) { return *static_cast<SaveChoice*>(user_data); }

// The room asked for: at least the minimum beyond the rectangle offered, or more
// when the dialog offers more; and the reason a name is asked, as the message.
void agree_size(NavCBRec& callback, SaveChoice& choice) {
    pf::Rect wanted{0, 0, kMinimumExtraHeight, kMinimumExtraWidth};
    pf::Rect offered = callback.area;
    wanted.bottom = std::max<int16_t>(wanted.bottom, std::max(offered.height(), choice.agreed.height()));
    wanted.right = std::max<int16_t>(wanted.right, std::max(offered.width(), choice.agreed.width()));
    choice.agreed = wanted;
    callback.area = wanted;
    if (choice.reason) {
        pf::Str255 text;
        pf::get_indexed_string(text, kFileStrings, choice.reason);
        callback.prompt = pstring_text(text);
    }
}

// The pop-up's items: item n names format code n, from the first code to the
// last one a document is saved in; a code saved in no format is a line.
void fill_format_menu(pf::ControlRef popup) {
    if (!popup || !popup->menu) return;
    pf::MenuRef menu = popup->menu;
    pf::delete_menu_items(menu, 1, pf::count_menu_items(menu));
    for (int16_t code = kFormatNative; code <= last_saved_code(); ++code) {
        if (is_saved_code(code)) pf::append_menu_item_text(menu, pf::get_indexed_string(kFormatNameStrings, code));
        else pf::insert_menu_item(menu, "(-", pf::count_menu_items(menu));
    }
    pf::set_control_maximum(popup, pf::count_menu_items(menu));
}

// The items of DITL 1004 moved into the area the dialog gives them.
void add_items(pf::DialogRef dialog, const pf::Rect& area, SaveChoice& choice) {
    choice.first_item = int16_t(pf::count_dialog_items(dialog) + 1);
    if (!pf::append_dialog_items(dialog, kSaveItemsList, pf::AppendMethod::kOverlay)) return;
    for (int16_t item = choice.first_item; item <= pf::count_dialog_items(dialog); ++item) {
        pf::Rect box = pf::get_dialog_item_box(dialog, item);
        box = pf::Rect{int16_t(box.top + area.top), int16_t(box.left + area.left), int16_t(box.bottom + area.top),
                       int16_t(box.right + area.left)};
        pf::set_dialog_item_box(dialog, item, box);
    }
    fill_format_menu(pf::get_dialog_item_control(dialog, choice.first_item));
    if (choice.code < kFormatNative) choice.code = kFormatNative;
    pf::set_dialog_item_value(dialog, choice.first_item, choice.code);
    pf::set_dialog_item_value(dialog, int16_t(choice.first_item + 1), adds_extensions() ? 1 : 0);
    HandleMetaData(dialog, choice.code);
}

void item_hit(pf::DialogRef dialog, int16_t item, SaveChoice& choice) {
    if (item == choice.first_item) {
        choice.code = int16_t(pf::get_dialog_item_value(dialog, item));
    } else if (item == choice.first_item + 1) {
        app_prefs.options2 ^= kPrefAddExtensions;
        pf::set_dialog_item_value(dialog, item, adds_extensions() ? 1 : 0);
    } else {
        return;
    }
    HandleMetaData(dialog, choice.code);
}

// The name and format agree before the name is used.
void accept_name(pf::DialogRef dialog, std::string& name, SaveChoice& choice) {
    unsigned char pascal[256];
    set_pstring(pascal, name, sizeof pascal - 1);
    choice.code = settle_save_name(pascal, choice.code, choice.first_code, adds_extensions(),
                                   pf::nav_file_name_script(dialog));
    name = pstring_text(pascal);
    pf::set_dialog_item_value(dialog, choice.first_item, choice.code);
}

}  // namespace

void HandleMetaData(pf::DialogRef dialog, int16_t code) {
    const int16_t script = pf::nav_file_name_script(dialog);
    unsigned char name[256];
    set_pstring(name, pf::nav_file_name(dialog), sizeof name - 1);
    name[0] = uint8_t(name_letters_within(pstring_text(name), pf::kMaxSpecName, script));
    adjust_save_name(name, code, adds_extensions() && code < kFormatExcelImport, script);
    pf::nav_set_file_name(dialog, pstring_text(name));
}

void NavCustomEventProc(NavCBRec& callback, void* user_data) {
    SaveChoice& choice = choice_of(user_data);
    switch (callback.message) {
    case NavCustomMessage::customise: agree_size(callback, choice); break;
    case NavCustomMessage::start: add_items(callback.dialog, callback.area, choice); break;
    case NavCustomMessage::item_hit: item_hit(callback.dialog, callback.item, choice); break;
    case NavCustomMessage::accept: accept_name(callback.dialog, *callback.name, choice); break;
    }
}

int16_t run_document_save_dialog(SaveRequest& request) {
    static pf::Rect agreed{};
    SaveChoice choice{request.code, request.code, 0, agreed, request.reason};
    int16_t replacing = 0;
    int16_t status = SaveFileDialog(request.location, request.name, file_type_for_code(request.code),
                                    reinterpret_cast<void*>(&NavCustomEventProc), &request.chosen, nullptr,
                                    &replacing, creator_for_code(request.code), &choice);
    agreed = choice.agreed;
    if (status == kNavCancelled) return 1;
    if (status) return status;
    request.code = choice.code;
    request.replacing = replacing != 0;
    return 0;
}
