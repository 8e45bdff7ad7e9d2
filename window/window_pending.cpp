// Stand-ins for the parts of the worksheet window not built yet.
#include "core/app_menus.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "files/files_services.h"
#include "model/layer.h"
#include "model/model_services.h"
#include "model/workbook.h"
#include "platform/controls/controls.h"
#include "platform/screen/cursor.h"
#include "shell/shell_pending.h"
#include "shell/shell_services.h"
#include "window/doc_window.h"
#include "window/window_services.h"

int16_t ClickLoop(void*, int16_t, pf::Point) { return 1; }
void CellsScrolled(MemoryRef) {}

// Layers are not scrolled yet: a cell is not brought into view.
void SheetAutoScroll(MemoryRef, CellPoint, int16_t) {}
