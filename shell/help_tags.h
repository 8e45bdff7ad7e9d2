// The tags the program's windows give the platform's help tags: a document
// window's split boxes, corner box and icons and a cell's note, the command
// bar's buttons and zones, the tools of the tool and border palettes, the
// swatches of the colour palette, the buttons of the options window, the sheet
// tabs. None while the preferences turn help tags off.
#pragma once

#include "platform/system/help_tags.h"

// A document window's tag at a global point.
bool HelpContentProvider(pf::WindowRef window, pf::Point where, pf::HelpTag* tag);
// Makes the program's windows give their tags.
void install_help_tags();
