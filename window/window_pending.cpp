// Stand-ins for the worksheet window: document windows are empty, titled and
// listed in the Window menu; they close without asking.
#include <cstring>

#include "core/app_menus.h"
#include "core/screen_geometry.h"
#include "core/string_utils.h"
#include "files/files_services.h"
#include "model/layer.h"
#include "model/model_services.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "shell/shell_pending.h"
#include "shell/shell_services.h"
#include "window/window_pending.h"
#include "window/window_services.h"

int16_t untitled_ctr = 0;

namespace {

struct DocWindowRecord {
    WindowRef window;
    MemoryRef layer;
    MemoryRef workbook;
};

constexpr int16_t kFileStrings = 130;
constexpr int kUntitledItem = 2;
constexpr int16_t kFileNew = 1;
constexpr int16_t kFileOpen = 2;
constexpr int16_t kFileClose = 4;
constexpr int16_t kDocumentHeight = 300;
constexpr int16_t kDocumentWidth = 480;

int16_t stagger_step = 0;

DocWindowRecord read_record(MemoryRef record) {
    DocWindowRecord fields{};
    if (record) GetMemoryRecord(record, 0, &fields);
    return fields;
}

int32_t close_document(EventRecord*, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = reinterpret_cast<MemoryRef>(app_ref);
    DocWindowRecord fields = read_record(record);
    RemoveFromWindowMenu(fields.window);
    if (fields.workbook) DisposeWorkSheet(fields.workbook);
    DisposeMemory(record);
    return 1;
}

int32_t grow_document(EventRecord* event, uintptr_t, uintptr_t window) {
    uint32_t size = uint32_t(event->message);
    pf::size_window(reinterpret_cast<WindowRef>(window), int16_t(size & 0xFFFF), int16_t(size >> 16), true);
    return 1;
}

int32_t zoom_document(EventRecord* event, uintptr_t, uintptr_t window) {
    pf::zoom_window(reinterpret_cast<WindowRef>(window), int16_t(event->message), false);
    return 1;
}

}  // namespace

MemoryRef make_empty_document_window(const unsigned char* title, MemoryRef workbook) {
    const pf::Rect bounds{0, 0, kDocumentHeight, kDocumentWidth};
    WindowRef window = JustMakeWindow(title, &bounds, command_bar_window(), stagger_step);
    if (!window) return nullptr;
    stagger_step = int16_t((stagger_step + 1) % 8);
    MemoryRef record = pgAllocateNewRef(&mem_globals, sizeof(DocWindowRecord), 1, 0, true);
    DocWindowRecord fields{window, nullptr, workbook};
    std::memcpy(UseMemory(record), &fields, sizeof fields);
    UnuseMemory(record);
    TaskRecord task;
    InitAppTask(&task);
    task.window = window;
    task.app_ref = uintptr_t(record);
    task.kind = kDocumentTask;
    task.close = close_document;
    task.grow = grow_document;
    task.zoom = zoom_document;
    NewTask(&task);
    AddToWindowMenu(window);
    pf::select_window(window);
    pf::show_window(window);
    return record;
}

WindowRef doc_window_window(MemoryRef record) { return read_record(record).window; }
MemoryRef doc_window_layer(MemoryRef record) { return read_record(record).layer; }
MemoryRef doc_window_workbook(MemoryRef record) { return read_record(record).workbook; }

void DoFileMenu(MemoryRef, int16_t item) {
    pf::FileSpec none{};
    switch (item) {
        case kFileNew: Open_File(kOpenNewUntitled, &none, nullptr); break;
        case kFileOpen: Open_File(kOpenWithDialog, &none, nullptr); break;
        case kFileClose:
            if (WindowRef front = FrontDocWindow()) CloseTaskFromWindow(front);
            break;
        default: break;
    }
}

void DoLayerMenu(MemoryRef, int16_t) {}

void MakeTabWindow() { make_empty_palette("Sheets", kSheetTabsPosition, 190); }

void GetUntitledName(unsigned char* out) {
    pf::get_indexed_string(out, kFileStrings, kUntitledItem);
    if (untitled_ctr < 1) untitled_ctr = 1;
    unsigned char number[16];
    ConcatPString(out, Num_To_String(untitled_ctr, number));
}

void EditorKey(unsigned char, MemoryRef, int16_t) {}
void AddFunctionStr(const unsigned char*) {}

void SheetWaitProc(MemoryRef, int32_t, int32_t, int32_t) {}
int16_t ClickLoop(void*, int16_t, pf::Point) { return 1; }
void CellsScrolled(MemoryRef) {}

// The model's window services: no layer is shown in a window yet, so nothing is drawn.
void DrawCells(const CellRange*, MemoryRef) {}
void InvertCells(MemoryRef) {}
void PtinCell(CellPoint* cell, pf::Point, int16_t, MemoryRef) { *cell = CellPoint{0, 0}; }

// Document windows cannot be made yet; titles and proxies have no window to go to.
LayerWindow MakeWind(void*, int16_t, MemoryRef) { return nullptr; }
void rename_all_windows(MemoryRef, MemoryRef) {}

// Layers are not drawn in windows yet: there is nothing to scroll.
void SheetAutoScroll(MemoryRef, CellPoint, int16_t) {}
void proxy_all_windows(MemoryRef, MemoryRef) {}
