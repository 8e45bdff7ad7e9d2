// Dialogs and alerts: windows made from DLOG and ALRT templates with the items of
// a DITL (buttons, check boxes, radio buttons, controls, static and edit texts,
// icons, pictures and user items), the parameter texts ^0 to ^3, access to items
// by number, item lists appended and shortened at run time, and the pieces of a
// modal loop: the dialog-event test, dialog selection (clicks, keys, Tab, updates
// and activation), the standard filter (Return and Enter press the default item,
// Escape and Command-period the cancel item, buttons flash) and a plain modal loop
// that alerts use. Items count from 1; boxes are local to the dialog's port.
#pragma once

#include "platform/controls/controls.h"
#include "platform/events/events.h"
#include "platform/resources/resource_format.h"
#include "platform/windows/windows.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

struct Dialog;
using DialogRef = Dialog*;

// Draws a user item.
using UserItemProc = void (*)(DialogRef dialog, int16_t item);
// A modal filter: sees each event first; answering true ends the wait with `item_hit`.
using ModalFilterProc = bool (*)(DialogRef dialog, EventRecord& event, int16_t& item_hit);

struct DialogItem {
    uint8_t kind = kUserItem;  // kButtonItem ... kPictureItem, without kItemDisabled
    bool enabled = true;
    bool hidden = false;
    Rect box{};
    std::string text;          // as written (static texts keep ^0 to ^3 unexpanded)
    bool literal = false;      // a static text drawn as written, without ^0 to ^3
    bool unicode = false;      // a literal static text in UTF-8, drawn in the fonts of its scripts
    int16_t resource_id = 0;   // icons, pictures, CNTL of control items
    ControlRef control = nullptr;
    UserItemProc user_proc = nullptr;
};

struct Dialog {
    WindowRef window = nullptr;
    std::vector<DialogItem> items;
    int16_t default_item = 1;
    int16_t cancel_item = 0;
    uintptr_t refcon = 0;
    int16_t alert_kind = -1;  // kStopAlert ... for alerts, -1 otherwise
};

// One item of a list built in code (navigation dialogs, tests): the record a
// DITL decodes to.
using DialogItemSpec = DialogItemTemplate;

// ---- Making ---------------------------------------------------------------------

// A dialog from DLOG id, in front of every window; null when the template or its
// items are missing or damaged. Modal definitions (1, 2, 3, 5) make modal windows.
DialogRef get_new_dialog(int16_t dlog_id);
// A dialog from a rectangle (global content), title, window definition and items.
DialogRef new_dialog(const Rect& bounds, std::string_view title, int16_t proc_id, bool visible,
                     const std::vector<DialogItemSpec>& items);
void dispose_dialog(DialogRef dialog);

DialogRef get_dialog_from_window(WindowRef window);  // null for other windows
WindowRef get_dialog_window(DialogRef dialog);

// ---- Parameter texts -------------------------------------------------------------

void param_text(std::string_view p0, std::string_view p1 = {}, std::string_view p2 = {}, std::string_view p3 = {});
// A text with ^0 to ^3 replaced by the parameter texts.
std::string expand_param_text(std::string_view text);

// ---- Items ------------------------------------------------------------------------

int16_t count_dialog_items(DialogRef dialog);
DialogItem* dialog_item(DialogRef dialog, int16_t item);  // null out of range
uint8_t get_dialog_item_kind(DialogRef dialog, int16_t item);
Rect get_dialog_item_box(DialogRef dialog, int16_t item);
void set_dialog_item_box(DialogRef dialog, int16_t item, const Rect& box);
ControlRef get_dialog_item_control(DialogRef dialog, int16_t item);
// The item's text: a control's title, an edit text's contents, a static text as written.
std::string get_dialog_item_text(DialogRef dialog, int16_t item);
void set_dialog_item_text(DialogRef dialog, int16_t item, std::string_view text);
void select_dialog_item_text(DialogRef dialog, int16_t item, int32_t start, int32_t end);
// A control item's value (0 for other items).
int32_t get_dialog_item_value(DialogRef dialog, int16_t item);
void set_dialog_item_value(DialogRef dialog, int16_t item, int32_t value);
void hide_dialog_item(DialogRef dialog, int16_t item);
void show_dialog_item(DialogRef dialog, int16_t item);
// Disabled items report no hits; their controls are drawn inactive.
void enable_dialog_item(DialogRef dialog, int16_t item, bool enable);
bool is_dialog_item_enabled(DialogRef dialog, int16_t item);
void set_dialog_item_user_proc(DialogRef dialog, int16_t item, UserItemProc proc);
void set_dialog_default_item(DialogRef dialog, int16_t item);
void set_dialog_cancel_item(DialogRef dialog, int16_t item);
// The edit-text item with the keyboard focus, 0 for none.
int16_t get_dialog_keyboard_focus(DialogRef dialog);
void set_dialog_keyboard_focus(DialogRef dialog, int16_t item);

// Adding and removing items: appended items are laid over the dialog (overlay) or
// moved below or right of the existing items, and the window grows to hold them.
enum class AppendMethod { kOverlay, kRight, kBottom };
bool append_dialog_items(DialogRef dialog, int16_t ditl_id, AppendMethod method);
void append_dialog_item_specs(DialogRef dialog, const std::vector<DialogItemSpec>& items, AppendMethod method);
// Adds a control made in code as the next item; answers its number.
int16_t append_dialog_control_item(DialogRef dialog, ControlRef control, bool enabled = true);
// Removes the last `count` items.
void shorten_dialog_items(DialogRef dialog, int16_t count);

// ---- Events ----------------------------------------------------------------------

void draw_dialog(DialogRef dialog);
// Draws one item again now: its control, or its box erased and the item drawn
// (a user item through its procedure).
void draw_dialog_item(DialogRef dialog, int16_t item);
// Whether an event belongs to a dialog: a mouse-down in one, a key while one is in
// front, its update or activate event.
bool is_dialog_event(const EventRecord& event);
// Handles a dialog event; answers true with the dialog and the item when an enabled
// item was hit (clicked, or an edit text typed into).
bool dialog_select(const EventRecord& event, DialogRef* dialog, int16_t* item_hit);
// The standard filter: Return and Enter press the default item, Escape and
// Command-period the cancel item, when the item is an enabled control (it flashes).
bool standard_filter(DialogRef dialog, EventRecord& event, int16_t& item_hit);
// Highlights a button item for 8 ticks; false when it is no enabled control.
bool flash_dialog_item(DialogRef dialog, int16_t item);

// Updates and other events of windows that are not the dialog's, while a modal loop
// runs, go to this handler (the application's event dispatch).
using OtherEventProc = void (*)(const EventRecord& event);
void set_dialog_other_event_handler(OtherEventProc handler);
OtherEventProc dialog_other_event_handler();

// Waits for a hit in the front modal dialog: events go through `filter` (the
// standard filter when null), then dialog selection; events of other windows go
// to the other-event handler. Answers the item hit.
int16_t modal_dialog(ModalFilterProc filter);

// ---- Alerts ---------------------------------------------------------------------

enum : int16_t { kStopAlert = 0, kNoteAlert = 1, kCautionAlert = 2, kPlainAlert = 3 };
// Shows ALRT id with the icon of its kind, runs it modally and answers the item
// hit. The first stage of the template's stages word says whether it beeps first
// and whether it is shown; -1 when it is not shown or the template is missing.
int16_t alert(int16_t alrt_id, int16_t kind, ModalFilterProc filter);
int16_t stop_alert(int16_t alrt_id, ModalFilterProc filter);
int16_t note_alert(int16_t alrt_id, ModalFilterProc filter);
int16_t caution_alert(int16_t alrt_id, ModalFilterProc filter);
// Draws the icon of an alert kind in a 32 x 32 box of the current port.
void draw_alert_icon(int16_t kind, const Rect& box);

// Disposes every dialog (tests).
void dialogs_reset();

}  // namespace pf
