// Typing in a text box: a styled-text editor over the box while it is
// edited, its text and styles stored back into the box when editing ends.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "platform/types.h"
#include "styledtext/styled_text.h"

// A text box's data: the characters and the style runs ("styl", host order),
// each cut to what the block holds.
struct TextBoxParts {
    std::vector<uint8_t> text, styles;
};
TextBoxParts text_box_parts(MemoryRef data);

// Opens an editor over the text box shown in the pane, ending any other
// editing of the layer first; 1 when editing began.
int16_t begin_text_editing(MemoryRef object, int16_t pane, MemoryRef layer);
// The editor of the layer's text box under edit, or none.
WEReference object_text_editor(MemoryRef layer);
// Ends the editing of the layer's text box: a changed text is stored into
// the box, with an undo record (kind 30) when asked.
void end_text_editing(MemoryRef layer, bool with_undo);
// Stores the editor's text and styles into the text box under edit.
void UpdateTextObject(MemoryRef object, MemoryRef layer);
// Draws the editor over its box when the box shows in the pane.
void draw_edited_text(int16_t pane, MemoryRef layer);

// A key for the text box under edit (Enter and Escape end the editing): 1
// when taken.
int16_t text_editor_key(uint8_t key, MemoryRef layer);
// A press in a pane: 1 when it fell in the text box under edit and went to
// its editor; a press elsewhere ends the editing and answers 0.
int16_t text_editor_click(pf::Point where, uint16_t modifiers, int16_t pane, MemoryRef layer);
// An Edit menu item (undo, cut, copy, paste, clear, select all) for the
// text box under edit; 1 when there was one.
int16_t text_editor_command(int16_t item, MemoryRef layer);
