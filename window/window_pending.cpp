// Stand-ins for the parts of the worksheet window not built yet: the entry
// line takes no keys and edits no cell, and the selection is not highlighted.
#include "core/app_menus.h"
#include "files/files_services.h"
#include "model/layer.h"
#include "model/model_services.h"
#include "model/workbook.h"
#include "platform/controls/controls.h"
#include "shell/shell_pending.h"
#include "shell/shell_services.h"
#include "window/doc_window.h"
#include "window/file_menu.h"
#include "window/window_services.h"

void EditorKey(unsigned char, MemoryRef, int16_t) {}
void AddFunctionStr(const unsigned char*) {}

int16_t ClickLoop(void*, int16_t, pf::Point) { return 1; }
void CellsScrolled(MemoryRef) {}

void InvertCells(MemoryRef) {}

// The entry line is not built yet: no cell is ever being edited.
MemoryRef Editor_Wind = nullptr;
void DeActivateEditor() {}
uint32_t Cell_Entry(MemoryRef, int8_t) { return 1; }

// Layers are not scrolled yet: a cell is not brought into view.
void SheetAutoScroll(MemoryRef, CellPoint, int16_t) {}
