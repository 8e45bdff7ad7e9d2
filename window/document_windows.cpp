// The document windows in the window list, front to back: a window is one
// when its task is a document window's, and it shows that record's layer.
#include "window/document_windows.h"

#include "ui/task_manager.h"
#include "platform/windows/windows.h"
#include "window/doc_window.h"
#include "window/window_commands.h"

namespace {

// The first document window at or behind a window of the list.
LayerWindow document_window_from(WindowRef window) {
    while (window && !window_doc_record(window)) window = pf::next_window(window);
    return window;
}

}  // namespace

LayerWindow first_document_window() { return document_window_from(pf::first_window()); }

LayerWindow next_document_window(LayerWindow window) {
    return window ? document_window_from(pf::next_window(static_cast<WindowRef>(window))) : nullptr;
}

MemoryRef document_window_layer(LayerWindow window) {
    MemoryRef record = window_doc_record(static_cast<WindowRef>(window));
    return record ? doc_window_layer(record) : nullptr;
}

void select_document_window(LayerWindow window) {
    if (window) pf::select_window(static_cast<WindowRef>(window));
}

void idle_document_windows() {
    WindowRef front = FrontDocWindow();
    TaskRecord task;
    get_task_from_window(front, &task);
    if (!front || !task.idle) return;
    EventRecord event{};
    event.where = pf::mouse_location();
    call_task_in_port(task.idle, front, &event, task.app_ref, uintptr_t(front));
}

