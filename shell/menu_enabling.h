// Menu enabling helpers beside the menu-enabling procedure itself.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/menus/menus.h"

// Enables or disables a whole menu with all its items.
void enable_menu_(int16_t id, bool enable);
// Whether the View menu, which needs a document, is enabled in the menu bar.
bool view_menu_enabled();
// Runs the front non-floating window's menu-enabling procedure.
void fix_menu_hilite();
// Runs it again when the front layer's selection turned from drawing objects
// to cells or back since the last call, so that the titles that depend on it
// show the change before any menu is opened.
void follow_selection_kind(MemoryRef layer);
// Outlines the sizes the font has, names the last item with an unlisted size,
// checks the size's item and answers it.
int16_t set_size_menu(const unsigned char* font_name, pf::MenuRef size_menu, int16_t size);
