#include "window/front_document.h"

#include "ui/task_manager.h"

MemoryRef front_document_record() {
    WindowRef front = wxFrontNonFloatingWindow();
    if (!front) return nullptr;
    TaskRecord task;
    get_task_from_window(front, &task);
    if (task.kind != kDocumentTask || task.index == 0 || !task.app_ref) return nullptr;
    return reinterpret_cast<MemoryRef>(task.app_ref);
}
