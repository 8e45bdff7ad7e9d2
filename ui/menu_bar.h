// The menu bar from MBAR 128 with its filled menus (fonts, dates, times), the
// menu manager's answers for the event loop and modal dialogs, and the dimming
// of items whose commands are not built yet.
#pragma once

#include <cstdint>

#include "platform/events/events.h"
#include "platform/types.h"

void InitAppMenus();
void remove_menu_bar();
void switch_language(int16_t ignored);

// The menu manager's answers for the event loop: (menu id << 16) | item, 0 for none.
int32_t menu_bar_choice(pf::Point where);
int32_t menu_key_choice(const pf::EventRecord& event);
void unhilite_menu_bar();
// Pops up MENU menu_id with its first item at the point; answers the item chosen, 0 for none.
int16_t path_pop_up_choice(int16_t menu_id, pf::Point where);
// Dims what no window in front can use: Close, Save and Save As while no
// document window is open.
void dim_unavailable_commands();
// The Window menu lists the document windows from this item on, after its own
// commands.
constexpr int16_t kFirstWindowItem = 8;

enum class MenuItemState { kMissing, kDisabled, kEnabled };
MenuItemState menu_item_state(int16_t menu, int16_t item);
