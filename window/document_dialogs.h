// Dialogs about documents: the separator of a text file, the export options
// and the links of a layer.
#pragma once

#include <cstdint>

#include "ui/dialog_items.h"
#include "core/memory_manager.h"
#include "files/layout_settings.h"

// Asks for the separator of a text file whose kind does not tell it (tab,
// comma, space or semicolon; `separator`'s own button first, else tab's):
// kAnswerOK with the choice, or kAnswerCancel. An unattended run takes the
// separator it is given without asking.
int16_t run_separator_dialog(uint8_t* separator);
// The export options (DLOG 1020): kAnswerOK with `code` set to SYLK (check box
// on) or native (off), or kAnswerCancel.
int16_t run_export_dialog(int16_t* code);
// The links dialog of a layer: lists its links and opens one or all of them.
void LinkDialog(MemoryRef layer);
// The value of a layout field that must lie in its range, in a length unit
// (kUnitPoints ...) or, with a negative unit, as a whole number; false, with
// the range told and the field selected for retyping, when it does not.
bool read_layout_field(DialogRef dialog, int16_t item, LayoutField field, int16_t unit, int16_t* value);
