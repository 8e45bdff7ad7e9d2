// Stand-ins for the parts of the worksheet window not built yet: the File and
// Layer menus open, save and close documents without asking, and a document
// window closes without a save question.
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
#include "window/entry_line.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kFileNew = 1;
constexpr int16_t kFileOpen = 2;
constexpr int16_t kFileClose = 4;
constexpr int16_t kFileSave = 6;
constexpr int16_t kFileSaveAs = 7;
constexpr int kPendingBeepTicks = 9;

// Save and Save As of the front document, all layers.
void save_front_document(bool save_as) {
    MemoryRef record = window_doc_record(FrontDocWindow());
    if (MemoryRef layer = record ? doc_window_layer(record) : nullptr) DoSave(save_as, layer, kWholeWorkbook);
}

}  // namespace

void DoFileMenu(MemoryRef, int16_t item) {
    pf::FileSpec none{};
    switch (item) {
        case kFileNew: Open_File(kOpenNewUntitled, &none, nullptr); break;
        case kFileOpen: Open_File(kOpenWithDialog, &none, nullptr); break;
        case kFileClose:
            if (WindowRef front = FrontDocWindow()) CloseTaskFromWindow(front);
            break;
        case kFileSave: save_front_document(false); break;
        case kFileSaveAs: save_front_document(true); break;
        default: pf::sys_beep(kPendingBeepTicks); break;
    }
}

void DoLayerMenu(MemoryRef, int16_t) { pf::sys_beep(kPendingBeepTicks); }

void MakeTabWindow() { make_empty_palette("Sheets", kSheetTabsPosition, 190); }

// Closing forgets the layer's window; the workbook goes with its last window.
int32_t DocumentClose(EventRecord*, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = reinterpret_cast<MemoryRef>(app_ref);
    if (!record) return 1;
    const DocWindowRecord fields = read_doc_window(record);
    if (Editor_Wind == record) DeActivateEditor();
    RemoveFromWindowMenu(fields.window);
    if (fields.window) pf::kill_controls(fields.window);
    if (fields.sheet) SetSheetWind(fields.sheet, nullptr);
    if (fields.workbook && num_WorkSheet_winds(fields.workbook) == 0) DisposeWorkSheet(fields.workbook);
    DisposeMemory(record);
    return 1;
}

