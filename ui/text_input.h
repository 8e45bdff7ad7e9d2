// Inline input through the text services and the help-tag delay the command
// bar shortens.
#pragma once

#include <cstdint>


void InitTSMTE();
void QuitTSMTE();
// The text-services document receiving inline input now, or none.
extern void* gActiveTSM;

void InitHelpDelay();
void DisposeHelpDelay();
void ResetHelpDelay(int16_t flag);
