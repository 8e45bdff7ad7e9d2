// Dialog items: opening and closing dialogs the system's way, texts, numbers,
// check boxes, radio groups, buttons and the default-button outline, pop-up
// menus over items, panels, the standard key filter, and the number and
// column-letter fields with their little arrows. Items are addressed by
// (dialog, item number from 1); texts are length-prefixed Mac Roman.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dialogs/dialogs.h"

using pf::DialogRef;

// ---- Items and their controls ----------------------------------------------------
// The drawing port of a dialog's window.
pf::Port* dialog_port(DialogRef dialog);
pf::ControlRef GetDialogControl(DialogRef dialog, int16_t item);
void DrawDialogItem(DialogRef dialog, int16_t item);
void GetDItemBox(DialogRef dialog, int16_t item, pf::Rect* box);
void AttachDUserProc(DialogRef dialog, int16_t item, pf::UserItemProc proc);

// ---- Texts and numbers -------------------------------------------------------------
void SetDText(DialogRef dialog, int16_t item, const unsigned char* text);
void GetDText(DialogRef dialog, int16_t item, unsigned char* text);
void SetDEditText(DialogRef dialog, int16_t item, const unsigned char* text);
// An edit text as it reads (its runs of several scripts each decoded by its
// own), in Mac Roman with "?" for each character Mac Roman cannot spell.
void GetDEditText(DialogRef dialog, int16_t item, unsigned char* text);
std::string GetDEditTextUtf8(DialogRef dialog, int16_t item);
// Sets an edit text from UTF-8, each word in a script that spells it, as a
// paste spells it.
void SetDEditTextUtf8(DialogRef dialog, int16_t item, std::string_view utf8);
// The text of an edit-text item kept as a name or label, in Mac Roman: the
// field's text as it reads, in whatever scripts it was typed or pasted,
// spelled in Mac Roman when every character has a Roman spelling (an accented
// letter typed anywhere); when some have none an alert names the scripts of
// the letters that cannot be kept, the field is focused with what was typed
// selected, and the answer is false. `alert` is the alert that says so:
// names and labels have their own.
bool GetDRomanText(DialogRef dialog, int16_t item, unsigned char* text);
bool GetDRomanText(DialogRef dialog, int16_t item, unsigned char* text, int16_t alert);
// The scripts of the letters of a text Mac Roman cannot spell, by name
// ("Japanese", "Japanese and Cyrillic"), as the alert of GetDRomanText names them.
std::string scripts_roman_lacks(std::string_view utf8);
// The same without the alert: false, with `text` as GetDEditText reads it,
// when some character has no Roman spelling.
bool GetDRomanTextQuietly(DialogRef dialog, int16_t item, unsigned char* text);
// Text pasted into an edit text is spelled in the scripts that spell it, as
// an entry into a cell is (files/entry_script.h): installed at start-up.
void install_field_text_speller();
// An end past the text selects to its end: kAllCharacters selects the whole text.
constexpr int16_t kAllCharacters = 32000;
void SelectTheDialogItemText(DialogRef dialog, int16_t item, int16_t start, int16_t end);
void SetEditTextDialogItemFocus(DialogRef dialog, int16_t item);
void SetCntrlText(DialogRef dialog, int16_t item, const unsigned char* text);
void SetDNum(DialogRef dialog, int16_t item, int16_t number, bool select);
// The text of an edit-text item without the blanks around it, as a length
// typed there is read.
void GetDNumberText(DialogRef dialog, int16_t item, unsigned char* text);
// A whole number typed in an edit text: an optional sign and digits. Anything
// else reads as 0; numbers beyond 16 bits are pinned to -32768 or 32767.
int16_t GetDNum(DialogRef dialog, int16_t item);
// The same reading of a text: false for anything that is not a whole number.
bool parse_whole_number(const unsigned char* text, int32_t* value);

// ---- Check boxes, radios and buttons -----------------------------------------------
int16_t GetCheckbox(DialogRef dialog, int16_t item);
void SetCheckbox(DialogRef dialog, int16_t item, int16_t value);
int16_t FlipControl(pf::ControlRef control);
int16_t FlipCheckbox(DialogRef dialog, int16_t item);
void SetDRadios(DialogRef dialog, int16_t first, int16_t last, int16_t on);
int16_t GetDRadios(DialogRef dialog, int16_t first, int16_t last);
void msEnableControl(pf::ControlRef control, bool enable);
void EnableButton(DialogRef dialog, int16_t item, bool enable);
void SetControlState(DialogRef dialog, int16_t first, int16_t last, bool enable);
bool GetButtonEnable(DialogRef dialog, int16_t item);
bool msGetControlEnabled(pf::ControlRef control);
// Highlights the control for 8 ticks: 0 when it flashed, 1 when there is no
// control or it is disabled.
int16_t flash_control(pf::ControlRef control);
int16_t flash_button(DialogRef dialog, int16_t item);
// Waits the ticks with the screen shown.
void dialog_pause(uint32_t ticks);

// ---- Pop-ups, fonts and styles -------------------------------------------------------
pf::MenuRef GetContolPopMenu(DialogRef dialog, int16_t item);
void make_font_pop(DialogRef dialog, int16_t item);
void DimAppearanceText(DialogRef dialog, int16_t item, bool dim);
int16_t Do_DLOG_Popup(DialogRef dialog, int16_t item, int16_t title_item, int16_t menu_id, int16_t current);
void draw_pop(const pf::Rect* rect, bool active, int16_t depth);
void DrawColorPopSample(DialogRef dialog, int16_t item, bool active, const pf::RGBColor* colour);

// ---- The default button ----------------------------------------------------------------
void SetOKBoxProc(DialogRef dialog, int16_t item);
void reset_ok_button(DialogRef dialog, bool enable);

// ---- Opening, closing, editing, panels ---------------------------------------------------
// Opens DLOG id in front, at a saved position when it lies on a screen; the
// menus are disabled while it is up. Null when it cannot be made. In an
// unattended run the dialog is cancelled at once (Escape).
DialogRef StdNewDLOG(int16_t dlog_id, int16_t default_item, const pf::Point* saved);
void StdDLOG_close(DialogRef dialog, pf::Point* saved);
// The menu bar dimmed while an alert or a file dialog is up, as StdNewDLOG
// dims it for its dialogs; one inside another modal window changes nothing.
struct ModalMenuBar {
    ModalMenuBar();
    ~ModalMenuBar();
    ModalMenuBar(const ModalMenuBar&) = delete;
    ModalMenuBar& operator=(const ModalMenuBar&) = delete;
    bool dimmed;
};
// The Edit menu's items 4 cut, 5 copy, 6 paste, 7 clear, 9 select all on the focused text.
void dlog_menus(DialogRef dialog, int16_t menu_item);
// Whether an Edit menu item is one dlog_menus applies to a window's text
// field when the window hands on its other commands: Cut, Copy, Paste, Clear
// and Select All.
bool is_field_edit_item(int16_t menu_item);
void panelSwap(DialogRef dialog, int16_t base_ditl, int16_t old_panel, int16_t new_panel, int16_t items_kept);

// The modal filter of every dialog of the system.
bool KeyFilter(DialogRef dialog, pf::EventRecord& event, int16_t& item_hit);

// ---- Number and column-letter fields --------------------------------------------------------
// Field kinds kept in a little-arrows control's reference value.
constexpr int16_t kWholeNumberField = 0;  // 1 to 4: a length in unit 0 to 3
constexpr int16_t kColumnLetterField = 6;

bool filter_Num_Chars(bool allow_decimal, bool allow_minus, const unsigned char* text);
// The points of the length typed in an edit-text item ("1 in", "2.54cm", "72");
// `default_unit` (0 to 3) when it names none. The text the field should show
// goes to echo when it is not null; a text that is no number gives 0.
int16_t get_margin_num(DialogRef dialog, int16_t item, unsigned char* echo, int16_t default_unit);
// Whether the field holds a number from minimum to maximum (an empty field when
// allowed), read as ValidArrowNum reads it; the field is left as it is.
bool field_number_within(DialogRef dialog, int16_t item, bool allow_empty, int32_t minimum, int32_t maximum,
                         int16_t unit);
// Whether the field holds a number as ValidArrowNum reads it, in its range or not.
bool field_holds_number(DialogRef dialog, int16_t item, bool allow_minus, int16_t unit);
// 1 when the field holds a number from minimum to maximum (an empty field when
// allowed); otherwise the field gets `restore` back, selected, the beep sounds and
// the answer is 0. `unit` 0 is a whole number, 1 to 4 a length in points shown in
// unit 0 to 3.
int16_t ValidArrowNum(DialogRef dialog, int16_t item, bool allow_empty, int32_t minimum, int32_t maximum,
                      int32_t restore, int16_t unit);
// 1 when the field names a column (A to AUHT) or is empty; otherwise it is emptied.
int16_t ValidArrowLetter(DialogRef dialog, int16_t item);
void SelectTheNumberStr(DialogRef dialog, int16_t item);
void HandleLittleArrows(pf::ControlRef control, int16_t part);
