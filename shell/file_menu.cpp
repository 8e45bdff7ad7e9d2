// The File menu's commands for document windows.
#include "shell/file_menu.h"

#include "core/string_utils.h"
#include "files/document_file.h"
#include "model/workbook.h"
#include "platform/events/events.h"
#include "printing/printing.h"
#include "resource_ids.h"
#include "ui/alerts.h"
#include "window/doc_window.h"
#include "window/document_closing.h"
#include "window/document_dialogs.h"
#include "window/open_command.h"
#include "window/window_commands.h"
#include "window/window_services.h"

namespace {

constexpr int16_t kRevertAnswer = 1;

MemoryRef front_record() { return window_doc_record(FrontDocWindow()); }

void revert(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    if (get_change_ctr(workbook) == 0 || file_record_of(workbook).format_code == kFormatUntitled) return;
    unsigned char title[256];
    set_pstring(title, pf::window_title(doc_window_window(record)));
    if (key_caution_alert(title, kRevertAlert, kCautionAlertKind) != kRevertAnswer) return;
    // A file gone or unreadable would leave nothing to open again: the document,
    // perhaps the only copy left, stays open with its changes.
    const pf::FileSpec spec = file_record_of(workbook).spec;
    if (pf::OSErr error = test_open_document(spec)) {
        show_named_file_error(error, spec.name);
        return;
    }
    // The file is read again before the document's windows close: a file that
    // opens but no longer reads leaves the document open with its changes.
    if (Open_File(kOpenGivenFile, &spec, nullptr) != 0) return;
    set_change_ctr(workbook, 0);
    close_workbook_windows(workbook);
}

void set_print_area(MemoryRef record) {
    SetPrintArea(doc_window_layer(record));
    WindowRef window = doc_window_window(record);
    pf::inval_window_rect(window, pf::window_port(window)->port_rect);
}

// Close with the Find or the spelling window in front closes that window.
bool close_front_tool_window() {
    WindowRef window = pf::front_non_floating_window();
    if (!window_services.closes_as_tool_window(window)) return false;
    CloseTaskFromWindow(window);
    return true;
}

}  // namespace

void DoFileMenu(MemoryRef, int16_t item) {
    pf::FileSpec none{};
    if (item == kFileNewItem || item == kFileOpenItem) {
        Open_File(item == kFileNewItem ? kOpenNewUntitled : kOpenWithDialog, &none, nullptr);
        DoAllUpdates();
        return;
    }
    if (item == kFileCloseItem && close_front_tool_window()) return;
    MemoryRef record = front_record();
    if (!record) return;
    switch (item) {
        case kFileCloseItem: CloseFrontWorkSheet(record); break;
        case kFileSaveItem: save_window_workbook(record, false); break;
        case kFileSaveAsItem: save_window_workbook(record, true); break;
        case kFileRevertItem: revert(record); break;
        case kFileLinksItem: LinkDialog(doc_window_layer(record)); break;
        case kFileDocumentLayoutItem: doc_layout(record, 1); break;
        case kFilePrintAreaItem: set_print_area(record); break;
        case kFilePageSetupItem: do_page_setup(record, (pf::current_modifiers() & pf::kOptionKey) != 0); break;
        case kFilePrintPreviewItem: Preview(record); break;
        case kFilePrintItem: print_doc(record); break;
        default: break;
    }
}
