// What the navigation dialogs' files share.
#pragma once

#include "platform/draw/draw.h"

#include <string_view>

namespace pf::nav_detail {

constexpr RGBColor kNavFolderColour{0x6B6B, 0x9C9C, 0xD6D6};

// Asks whether an existing file of this name is to be replaced; Cancel is the
// default and the Escape answer, so only a click replaces.
bool confirm_replace(std::string_view name);

}  // namespace pf::nav_detail
