// Help tags: a small tag beside the pointer once it has rested over something
// that has one; gone as soon as the pointer moves or an event comes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"
#include "platform/windows/windows.h"

namespace pf {

// Where a tag goes beside its hot rectangle.
constexpr int16_t kHelpTagBelow = 0;  // the default: under the pointer
constexpr int16_t kHelpTagRight = 4;  // right of the hot rectangle

struct HelpTag {
    Rect hot{};          // global; the tag stays while the pointer is in it
    std::string text;    // Mac Roman; a return breaks the line
    int16_t side = kHelpTagBelow;
};

// Asked for the tag at a global point of a window: true with the tag filled.
using HelpTagProvider = bool (*)(WindowRef window, Point where, HelpTag* tag);
void set_help_tag_provider(HelpTagProvider provider);

// Each idle pass, with the pointer (global): after it has rested the help-tag
// delay over a window, that window's tag shows; a move hides it.
void help_tags_idle(Point mouse);
// Takes the tag off the screen (an event came); the pointer must rest again.
void hide_help_tag();

// The tag showing and its rectangle on the screen (empty when none shows).
const HelpTag* shown_help_tag();
Rect shown_help_tag_rect();

}  // namespace pf
