// Controls: push buttons, check boxes, radio buttons, scroll bars, pop-up
// buttons, little arrows, edit and static texts, group boxes, list boxes and user
// panes, drawn into their window's port and tracked with the mouse. Controls nest
// (a window's root control holds the others; moving or hiding a container takes
// its contents along), one control of a window has the keyboard focus, and
// kind-specific data is read and written through four-character tags.
//
// Rectangles and points are in the window port's local coordinates. Values are
// pinned to [minimum, maximum]. Highlight 0 is normal, a part code shows that part
// pressed, kControlInactiveHilite shows the control inactive (disabled).
#pragma once

#include "platform/events/events.h"
#include "platform/menus/menus.h"
#include "platform/resources/resource_format.h"
#include "platform/types.h"
#include "platform/windows/windows.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

struct Control;
using ControlRef = Control*;
struct ListRec;
using ListHandle = ListRec*;

// Part codes.
enum : int16_t {
    kControlNoPart = 0,
    kControlMenuPart = 2,
    kControlEditTextPart = 5,
    kControlUserPanePart = 6,
    kControlButtonPart = 10,
    kControlCheckBoxPart = 11,
    kControlRadioButtonPart = 11,
    kControlUpButtonPart = 20,
    kControlDownButtonPart = 21,
    kControlPageUpPart = 22,
    kControlPageDownPart = 23,
    kControlListBoxPart = 24,
    kControlIndicatorPart = 129,
};
constexpr uint8_t kControlInactiveHilite = 255;

// Keyboard focus parts.
enum : int16_t { kControlFocusNoPart = 0, kControlFocusNextPart = -1, kControlFocusPrevPart = -2 };

// Check box values.
enum : int32_t { kControlCheckBoxUncheckedValue = 0, kControlCheckBoxCheckedValue = 1, kControlCheckBoxMixedValue = 2 };

// Called while a part is held (scroll-bar arrows and pages repeat; the thumb calls
// with kControlIndicatorPart as the value follows the mouse).
using ControlActionProc = void (*)(ControlRef control, int16_t part);
// Passing this as the action of track_control uses the control's own action.
inline ControlActionProc const kUseControlAction = reinterpret_cast<ControlActionProc>(-1);

// An edit-text key filter ('fltr'): answers false to refuse the key. It may change
// the character.
using ControlKeyFilterProc = bool (*)(ControlRef control, unsigned char& ch, uint16_t modifiers);

// User panes: drawing, hit testing, tracking, keys and focus supplied by the caller.
using UserPaneDrawProc = void (*)(ControlRef control, int16_t part);
using UserPaneHitTestProc = int16_t (*)(ControlRef control, Point where);
using UserPaneTrackingProc = int16_t (*)(ControlRef control, Point start, ControlActionProc action);
using UserPaneKeyDownProc = int16_t (*)(ControlRef control, unsigned char ch, uint16_t modifiers);
using UserPaneFocusProc = int16_t (*)(ControlRef control, int16_t part);

// Tags of control data.
constexpr FourCC kControlEditTextTextTag = four_cc("text");
constexpr FourCC kControlStaticTextTextTag = four_cc("text");
constexpr FourCC kControlEditTextPasswordTag = four_cc("pass");
constexpr FourCC kControlEditTextKeyFilterTag = four_cc("fltr");
constexpr FourCC kControlEditTextSelectionTag = four_cc("sele");
constexpr FourCC kControlPushButtonDefaultTag = four_cc("dflt");
constexpr FourCC kControlPushButtonCancelTag = four_cc("cncl");
constexpr FourCC kControlListBoxListHandleTag = four_cc("lhan");
constexpr FourCC kControlListBoxDoubleClickTag = four_cc("dblc");
constexpr FourCC kControlPopupButtonMenuHandleTag = four_cc("mhan");
constexpr FourCC kControlUserPaneDrawProcTag = four_cc("draw");
constexpr FourCC kControlUserPaneHitTestProcTag = four_cc("hitt");
constexpr FourCC kControlUserPaneTrackingProcTag = four_cc("trak");
constexpr FourCC kControlUserPaneKeyDownProcTag = four_cc("keyd");
constexpr FourCC kControlUserPaneFocusProcTag = four_cc("foci");

// The selection of an edit text ('sele').
struct ControlEditTextSelection {
    int16_t sel_start = 0;
    int16_t sel_end = 0;
};

constexpr OSErr kDataNotSupportedErr = -30583;
constexpr OSErr kControlNotFocusableErr = -30585;

// The longest text an edit-text control holds.
constexpr size_t kMaxEditTextLength = 255;

struct Control {
    WindowRef window = nullptr;
    ControlRef parent = nullptr;
    std::vector<ControlRef> children;
    int16_t kind = kPushButtonControl;  // kPushButtonControl ... kPopupButtonControl
    Rect bounds{};
    std::string title;  // Mac Roman
    int32_t value = 0, minimum = 0, maximum = 0;
    bool visible = true;
    uint8_t hilite = 0;
    uintptr_t refcon = 0;
    ControlActionProc action = nullptr;
    bool is_default = false, is_cancel = false;
    int16_t font = 0, size = 0;  // system font, 12
    uint8_t face = 0;

    // Edit text: its bytes, each in the script beside it in `scripts`
    // (platform/text/scripts.h); a run of another script than Roman is drawn
    // in the script's font.
    std::string text;
    std::vector<int16_t> scripts;
    int32_t sel_start = 0, sel_end = 0;
    int32_t anchor = 0;
    int16_t scroll = 0;  // pixels the text is moved left to keep the caret in view
    bool caret_on = false;
    uint32_t caret_ticks = 0;
    ControlKeyFilterProc key_filter = nullptr;
    // The text and selection before the last change, for Command-Z.
    std::string undo_text;
    std::vector<int16_t> undo_scripts;
    int32_t undo_start = 0, undo_end = 0;
    bool can_undo = false;

    // Pop-up button.
    MenuRef menu = nullptr;
    int16_t title_width = 0;

    // List box.
    ListHandle list = nullptr;
    bool double_clicked = false;

    // User pane.
    UserPaneDrawProc draw_proc = nullptr;
    UserPaneHitTestProc hit_test_proc = nullptr;
    UserPaneTrackingProc tracking_proc = nullptr;
    UserPaneKeyDownProc key_down_proc = nullptr;
    UserPaneFocusProc focus_proc = nullptr;
};

// ---- Making ---------------------------------------------------------------------

// A control of `kind` in the window (inside its root control when it has one).
// Pop-up buttons take the MENU id from `minimum` and the title's width from
// `maximum` (0: the title's own width); their value becomes 1.
ControlRef new_control(WindowRef window, const Rect& bounds, std::string_view title, bool visible, int32_t value,
                       int32_t minimum, int32_t maximum, int16_t kind, uintptr_t refcon);
// A control from CNTL id; null when missing or damaged.
ControlRef get_new_control(int16_t resource_id, WindowRef window);
void dispose_control(ControlRef control);
// Disposes every control of the window; call it before disposing a window that has
// controls (dialogs do it themselves).
void kill_controls(WindowRef window);

// The root control covers the window's content and holds every control made after it.
ControlRef create_root_control(WindowRef window);
ControlRef get_root_control(WindowRef window);
// Moves a control (with its contents) into a container.
void embed_control(ControlRef control, ControlRef container);
// The window's controls, outermost first, in drawing order.
std::vector<ControlRef> window_controls(WindowRef window);

// ---- Drawing and state --------------------------------------------------------------

void draw_controls(WindowRef window);
void draw_one_control(ControlRef control);
// Draws the controls that meet `rgn` (local).
void update_controls(WindowRef window, RgnHandle rgn);

void show_control(ControlRef control);
void hide_control(ControlRef control);
void set_control_visibility(ControlRef control, bool visible, bool draw);
// Visible, and every container visible too.
bool is_control_visible(ControlRef control);

void hilite_control(ControlRef control, int16_t part);
void activate_control(ControlRef control);
void deactivate_control(ControlRef control);
bool is_control_active(ControlRef control);  // not inactive, nor inside an inactive container

void move_control(ControlRef control, int16_t h, int16_t v);  // top-left to (h, v)
void size_control(ControlRef control, int16_t width, int16_t height);

int32_t get_control_value(ControlRef control);
void set_control_value(ControlRef control, int32_t value);
int32_t get_control_minimum(ControlRef control);
void set_control_minimum(ControlRef control, int32_t minimum);
int32_t get_control_maximum(ControlRef control);
void set_control_maximum(ControlRef control, int32_t maximum);
std::string get_control_title(ControlRef control);
void set_control_title(ControlRef control, std::string_view title);
void set_control_action(ControlRef control, ControlActionProc action);
void set_control_font_style(ControlRef control, int16_t font, int16_t size, uint8_t face);

// ---- Mouse --------------------------------------------------------------------------

// The part of a control under a point, 0 for none (or an invisible or inactive control).
int16_t test_control(ControlRef control, Point where);
// The innermost visible control under a point and its part.
int16_t find_control(Point where, WindowRef window, ControlRef* control);
// Follows the mouse from a click on a part until release, highlighting the part
// while the mouse is over it and calling the action (held arrows and pages repeat,
// the thumb moves the value live). Answers the part released on, 0 for none.
int16_t track_control(ControlRef control, Point start, ControlActionProc action);
// A click on a control: takes the keyboard focus for texts and lists, then tracks.
// Pop-up buttons answer kControlMenuPart only when an item was chosen.
int16_t handle_control_click(ControlRef control, Point where, uint16_t modifiers, ControlActionProc action);

// ---- Keyboard --------------------------------------------------------------------

// Gives a control the keyboard focus (null, or part kControlFocusNoPart, clears it).
OSErr set_keyboard_focus(WindowRef window, ControlRef control, int16_t part);
ControlRef get_keyboard_focus(WindowRef window);
// Moves the focus to the next (or previous) control that takes it: edit texts,
// list boxes and user panes with a focus procedure.
OSErr advance_keyboard_focus(WindowRef window);
OSErr reverse_keyboard_focus(WindowRef window);
// A key for a control (normally the focused one): answers the part that took it, 0
// when the control did not use it (Return, Enter, Escape and Tab are never used).
int16_t handle_control_key(ControlRef control, unsigned char ch, uint16_t modifiers);
// Blinks the focused edit text's caret.
void idle_controls(WindowRef window);

// Clipboard commands on an edit text.
void edit_text_cut(ControlRef control);
void edit_text_copy(ControlRef control);
void edit_text_paste(ControlRef control);
void edit_text_clear(ControlRef control);
void edit_text_select(ControlRef control, int32_t start, int32_t end);
// The script of an edit text's bytes: each byte typed is in the keyboard's
// script, text set into it is Roman. kSeveralScripts when its letters beyond
// ASCII are in runs of several scripts; an ASCII text answers the script of
// its first byte.
constexpr int16_t kSeveralScripts = -1;
int16_t edit_text_script(ControlRef control);
// Sets the whole text in `script`.
void set_edit_text_script(ControlRef control, int16_t script);
// The text as it reads (UTF-8), each run decoded by its own script; a
// password's as drawn.
std::string edit_text_utf8(ControlRef control);
// Sets the whole text from UTF-8, spelled as a paste is.
void set_edit_text_utf8(ControlRef control, std::string_view utf8);
// How a text (UTF-8) set or pasted from the clipboard is spelled into a
// field: its bytes and the script of each; false when a paste is not to be
// made (the speller may ask the user about what the paste would lose).
// Without one, a text is spelled in the one script that spells most of it
// (spell_in_a_script).
using EditTextSpeller = bool (*)(std::string_view utf8, bool pasted, std::string& bytes,
                                 std::vector<int16_t>& scripts);
void set_edit_text_speller(EditTextSpeller speller);
// Takes back the last change of the text (a second call restores it).
void edit_text_undo(ControlRef control);

// ---- Tagged data ---------------------------------------------------------------------

// Texts ('text', 'pass') are their bytes; flags ('dflt', 'cncl', 'dblc') one byte;
// 'sele' a ControlEditTextSelection; procedures and handles their pointer.
OSErr set_control_data(ControlRef control, int16_t part, FourCC tag, size_t size, const void* data);
// Copies at most `buffer_size` bytes; `actual_size` (when given) gets the full size.
OSErr get_control_data(ControlRef control, int16_t part, FourCC tag, size_t buffer_size, void* data,
                       size_t* actual_size);
OSErr get_control_data_size(ControlRef control, int16_t part, FourCC tag, size_t& size);

// ---- Buttons of a window -------------------------------------------------------------

void set_window_default_button(WindowRef window, ControlRef button);
void set_window_cancel_button(WindowRef window, ControlRef button);
ControlRef get_window_default_button(WindowRef window);
ControlRef get_window_cancel_button(WindowRef window);

// Forgets the controls of every window (tests).
void controls_reset();

}  // namespace pf
