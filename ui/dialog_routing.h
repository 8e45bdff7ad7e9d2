// Routing of events to modeless and floating dialogs.
#pragma once

#include <cstdint>

#include "platform/events/events.h"
#include "platform/windows/windows.h"

// 1 when the event belonged to the dialog window and was handled, else 0.
int16_t handle_dialog_event(pf::EventRecord* event, pf::WindowRef window);
