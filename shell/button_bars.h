// Button bars of the command bar: the button record, the named bars the user
// keeps, the factory bars from the 'bars' and 'butn' resources, the layout of
// the shown bar, the drawing of a button and the saved bar file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/menus/menus.h"
#include "platform/types.h"
#include "platform/windows/windows.h"

// Button flags.
constexpr uint16_t kButtonShowsValue = 0x01;
constexpr uint16_t kButtonNeedsDocument = 0x02;
constexpr uint16_t kButtonPopUp = 0x08;
constexpr uint16_t kButtonPopUpArrow = 0x10;
constexpr uint16_t kButtonInert = 0x20;

// Button states.
constexpr int16_t kButtonDisabled = 0;
constexpr int16_t kButtonEnabled = 1;
constexpr int16_t kButtonPressed = 2;

constexpr int kButtonRecordSize = 36;
constexpr int16_t kStandardButtonWidth = 22;
// Wider buttons are refused, so that a layout never leaves the 16-bit plane.
constexpr int16_t kMaxButtonWidth = 400;
constexpr int16_t kBarSwitchWidth = 20;

// One button, in host order; 36 bytes big-endian in a 'butn' resource and in
// the bar file.
struct ButtonRecord {
    int16_t position = 0;
    int16_t width = 0;
    int16_t icon = 0;
    uint16_t flags = 0;
    pf::Rect rect{};
    uint32_t command = 0;
    int16_t state = 0;
    int16_t value = 0;
    int16_t drawn_state = 0;
    int16_t drawn_value = 0;
    int16_t help_list = 0;
    int16_t help_index = 0;
    int16_t description_list = 0;
    int16_t description_index = 0;
};

struct ButtonBar {
    std::string name;  // Mac Roman, empty for none
    std::vector<ButtonRecord> buttons;
    uint32_t value = 0;
};

// The user's bars; the shown one is app_prefs.bar_shown, copied in current_bar.
extern std::vector<ButtonBar> button_list;
extern ButtonBar current_bar;
extern bool has_current_bar;

// The 36 bytes of a record, big-endian, and back.
void ByteSwapButton(const uint8_t* bytes, ButtonRecord* button);
void button_to_bytes(const ButtonRecord& button, uint8_t* bytes);
// Whether a record read from a resource or the bar file can be laid out.
bool button_usable(const ButtonRecord& button);

// The 'butn' resource of the id, when it is there and can be laid out.
bool load_button(int16_t id, ButtonRecord* button);
// The 'butn' ids of a 'bars' resource's bytes; empty (refused) when the
// bytes are too short or too many, or an id names no 36-byte button.
std::vector<int16_t> bar_ids_of(std::span<const uint8_t> bytes);
std::vector<int16_t> bar_resource_ids(int16_t bars_id);
// The 'bars' id of the first factory bar for a screen whose right edge is given.
int16_t first_factory_bar_id(int16_t screen_right);
void default_buttons();

int16_t read_button_positions();
int16_t write_button_positions();

void switch_bars(int16_t bar_number);
// Lays the shown bar out again, fits and redraws the command bar and asks for
// its buttons to be refreshed.
void reset_toolbar();
int16_t delete_bar(bool ask);
int16_t reset_to_default_bar();
// Lays the buttons out in rows across a screen of the given right edge.
void reset_button_positions(std::vector<ButtonRecord>& buttons, int16_t screen_right);
void check_icon_size(bool move_entry_line);
int16_t button_hit(pf::Point where);
int16_t append_button_names(pf::MenuRef menu);

void draw_command_button(ButtonRecord& button, pf::WindowRef window, int16_t depth);
void draw_ics8(int16_t icon, int16_t state, const pf::Rect& rect, int16_t depth);
void drawFonts(ButtonRecord& button, pf::WindowRef window, int16_t depth);
