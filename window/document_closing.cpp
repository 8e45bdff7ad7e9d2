// The closing of documents: the save question, closing every window of a
// workbook, the close procedure of a document window and the quit.
#include "window/document_closing.h"

#include <algorithm>
#include <vector>

#include "core/string_utils.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "formula/recalc.h"
#include "model/layer.h"
#include "model/links.h"
#include "model/workbook.h"
#include "platform/events/events.h"
#include "ui/app_prefs.h"
#include "ui/menu_bar.h"
#include "ui/nav_dialogs.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/sheet_tabs.h"
#include "window/window_commands.h"
#include "window/window_names.h"
#include "window/window_services.h"

int16_t cxl_save = 0;

namespace {

// Workbooks whose save question has been answered for the closes under way:
// their windows close without asking again.
std::vector<MemoryRef> answered;

bool was_answered(MemoryRef workbook) { return std::find(answered.begin(), answered.end(), workbook) != answered.end(); }

struct AnsweredScope {
    explicit AnsweredScope(MemoryRef workbook) { answered.push_back(workbook); }
    ~AnsweredScope() { answered.clear(); }
};

bool has_file(MemoryRef workbook) { return file_record_of(workbook).format_code != kFormatUntitled; }

bool has_pictures_out(MemoryRef workbook) { return file_record_of(workbook).editors != nullptr; }

// The windows of the workbook, in layer order.
std::vector<WindowRef> workbook_windows(MemoryRef workbook) {
    std::vector<WindowRef> windows;
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i)
        if (WindowRef window = layer_window(find_SpreadSheet_item(workbook, i))) windows.push_back(window);
    return windows;
}

// An entry open in the window is committed before it closes; false when the
// entry was refused and stays open.
bool settle_entry(MemoryRef record) {
    if (!Editor_Wind || Editor_Wind != record) return true;
    return Cell_Entry(doc_window_layer(record), 0) != 0;
}

void remember_for_workspace(MemoryRef workbook) {
    const FileInfoRecord file = file_record_of(workbook);
    if (file.format_code == kFormatUntitled || file.spec.name[0] == 0) return;
    std::vector<uint8_t> alias;
    if (pf::new_alias(file.spec, alias) == pf::noErr)
        window_services.add_workspace_item(pf::ptr_to_hand(alias.data(), pf::Size(alias.size())));
}

void dispose_workbook(MemoryRef workbook) {
    FileInfoRecord file = file_record_of(workbook);
    close_document_file(workbook);
    if (file.format_code != kFormatUntitled) window_services.remember_document(&file.spec, 1);
    file = file_record_of(workbook);
    file.editors = DisposeNonNilMemory(file.editors);
    set_file_record(workbook, file);
    DisposeWorkSheet(workbook);
    if (untitled_ctr > 0) --untitled_ctr;
}

// Cuts the ties between the record, its window and its layer, and frees the record.
void detach_record(MemoryRef record) {
    DocWindowRecord fields = read_doc_window(record);
    if (Editor_Wind == record) DeActivateEditor();
    if (fields.window) {
        set_task_appref(fields.window, 0);
        window_services.unlist_window(fields.window);
        window_services.remove_drag_handlers(fields.window);
    }
    if (fields.sheet && GetSheetWind(fields.sheet) == fields.window) SetSheetWind(fields.sheet, nullptr);
    fields.window = nullptr;
    write_doc_window(record, fields);
    DisposeMemory(record);
}

void after_window_gone(uint32_t reason) {
    const bool documents_left = any_document_window();
    if (!documents_left) HideTabWindow();
    else invalidate_tabs();
    if (reason != kCloseForQuit) {
        // Without documents the menu bar dims what needs one at once, not at the next click.
        if (!documents_left) {
            window_services.refresh_menu_bar();
            DisplayText(nullptr, 1);  // the entry line forgets the closed document's cell
        }
        dim_unavailable_commands();
    }
    app_prefs.options2 |= kPrefRefreshButtons;
}

}  // namespace

int16_t save_window_workbook(MemoryRef record, bool save_as) {
    cxl_save = DoSave(save_as, doc_window_layer(record), kWholeWorkbook);
    return cxl_save;
}

namespace {

// Save answered to the save question: true when the workbook is now saved
// whole. A format that holds one layer leaves the others unsaved, and the
// close stops so that they can still be saved.
bool saved_whole(MemoryRef record, MemoryRef workbook) {
    return save_window_workbook(record, false) == 0 && !workbook_dirty(workbook);
}

}  // namespace

void close_workbook_windows(MemoryRef workbook) {
    for (WindowRef window : workbook_windows(workbook))
        if (!CloseTaskFromWindow(window)) return;
}

bool workbook_dirty(MemoryRef workbook) {
    if (!workbook) return false;
    const bool counted = has_file(workbook) ? get_change_ctr(workbook) != 0 : doc_is_really_dirty(workbook) != 0;
    return counted || has_pictures_out(workbook);
}

int16_t AskSaveChanges(MemoryRef record, uint32_t reason) {
    DoAllUpdates();
    MemoryRef workbook = doc_window_workbook(record);
    std::string name = file_name_utf8(workbook);
    if (name.empty()) name = pf::window_title_utf8(doc_window_window(record));
    uint32_t action = pf::kNavUserActionCancel;
    confirm_save_changes(name, reason == kCloseForQuit, nullptr, &action);
    switch (action) {
        case pf::kNavUserActionSaveChanges: return saved_whole(record, workbook);
        case pf::kNavUserActionDontSaveChanges: set_change_ctr(workbook, 0); return 1;
        default: return 0;
    }
}

int16_t CloseFrontWorkSheet(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    if (!workbook || num_WorkSheet_winds(workbook) == 0) return 0;
    if (!workbook_dirty(workbook)) {
        close_workbook_windows(workbook);
        return 1;
    }
    if (!AskSaveChanges(record, kCloseByUser)) return 0;
    AnsweredScope scope(workbook);
    close_workbook_windows(workbook);
    return 1;
}

namespace {

// Asks about every changed workbook, front to back; false at the first Cancel
// or failed save.
bool ask_about_every_workbook() {
    for (WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        MemoryRef record = window_doc_record(w);
        MemoryRef workbook = record ? doc_window_workbook(record) : nullptr;
        if (!workbook || was_answered(workbook)) continue;
        if (!settle_entry(record)) return false;
        if (workbook_dirty(workbook) && !AskSaveChanges(record, kCloseForQuit)) return false;
        answered.push_back(workbook);
    }
    return true;
}

}  // namespace

int16_t QuitDocuments() {
    answered.clear();
    const int16_t answer = ask_about_every_workbook() ? TaskQuit() : kQuitRefusedErr;
    answered.clear();
    return answer;
}

void discard_doc_window(WindowRef window) {
    MemoryRef record = window_doc_record(window);
    if (!record) return;
    detach_record(record);
    remove_task(window);
    pf::kill_controls(window);
    pf::dispose_window(window);
}

int32_t DocumentClose(EventRecord* event, uintptr_t app_ref, uintptr_t) {
    MemoryRef record = reinterpret_cast<MemoryRef>(app_ref);
    if (!record) return 1;
    const uint32_t reason = event ? uint32_t(event->message) : kCloseByUser;
    const bool quitting = reason == kCloseForQuit;
    MemoryRef workbook = doc_window_workbook(record);
    const bool last_window = num_WorkSheet_winds(workbook) <= 1;
    if (!settle_entry(record)) return 0;
    if ((last_window || quitting) && workbook_dirty(workbook) && !was_answered(workbook) &&
        !AskSaveChanges(record, reason))
        return 0;
    if (last_window && quitting) remember_for_workspace(workbook);
    detach_record(record);
    ResetCalc(CellPoint{0, 0}, nullptr);
    if (last_window) dispose_workbook(workbook);
    after_window_gone(reason);
    return 1;
}
