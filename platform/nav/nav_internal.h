// What the navigation dialogs' files share.
#pragma once

#include "platform/draw/draw.h"

#include <string>
#include <string_view>

namespace pf::nav_detail {

constexpr RGBColor kNavFolderColour{0x6B6B, 0x9C9C, 0xD6D6};

// Asks whether an existing file of this name is to be replaced; Cancel is the
// default and the Escape answer, so only a click replaces.
bool confirm_replace(std::string_view name);

// The toolbox text of `index` (or `fallback`) with `name` (UTF-8) for "^0",
// in UTF-8.
std::string with_name(int index, std::string_view fallback, std::string_view name);

// Tells why a typed name cannot be saved (UTF-8), with an OK button and an
// explanation (Mac Roman).
void refuse_name(const std::string& refusal, const std::string& explanation);

}  // namespace pf::nav_detail
