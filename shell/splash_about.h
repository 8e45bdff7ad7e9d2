// The texts the About box fills in: the version from 'vers' 1 and the memory
// available in units of 1000 bytes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/dialogs/dialogs.h"

std::string version_text();
std::string memory_text(int64_t bytes);
// The About box shown, with its texts filled in; none when it cannot be made.
pf::DialogRef make_about_box();
