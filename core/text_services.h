// Inline input through the text services, the help-tag delay the command bar
// shortens, and page rectangles of the printing records.
#pragma once

#include <cstdint>

#include "platform/types.h"

void InitTSMTE();
void QuitTSMTE();
// The text-services document receiving inline input now, or none.
extern void* gActiveTSM;
void ActivateTSMTEDoc(void* document, bool active);

void InitHelpDelay();
void DisposeHelpDelay();
void ResetHelpDelay(int16_t flag);
int16_t button_balloon();

// Top, left, bottom, right in points; orientation 2 or 4 swaps the axes.
void ConvertRect(const double sides[4], pf::Rect* out, int16_t orientation);
