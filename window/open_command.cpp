// The Open command: a new untitled document is one layer in its window; a new
// layer joins the workbook of the window that asked; a given file is read as a
// document, an Excel workbook, or text or SYLK into a layer of its own, and
// shown in its windows.
#include "window/open_command.h"

#include <algorithm>
#include <cstring>

#include "ui/alerts.h"
#include "ui/task_manager.h"
#include "ui/nav_dialogs.h"
#include "core/file_utils.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "files/file_formats.h"
#include "files/open_filter.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "files/link_opening.h"
#include "model/links.h"
#include "model/workbook.h"
#include "ui/app_prefs.h"
#include "window/window_commands.h"
#include "window/window_names.h"
#include "window/window_services.h"

namespace {

// The flags a new layer starts with: those the preferences give new workbooks.
uint32_t new_layer_flags() { return app_prefs.options & kPrefNewLayerFlags; }

MemoryRef new_workbook(const pf::FileSpec* spec) {
    MemoryRef file_info = NewFileRec(spec);
    return file_info ? New_WorkSheet(&quorvin_rsrv, file_info, app_prefs.default_format) : nullptr;
}

// A new untitled workbook of one empty layer shown in its window.
int16_t open_new_untitled() {
    ++untitled_ctr;
    MemoryRef workbook = new_workbook(nullptr);
    if (!workbook) return kNoMemoryErr;
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(&quorvin_rsrv, workbook, &layer, new_layer_flags(), nullptr) != 0 || !MakeWind(nullptr, 1, layer)) {
        DisposeWorkSheet(workbook);
        return kNoMemoryErr;
    }
    return 0;
}

// A new empty layer at the end of the workbook of the window's record, shown.
int16_t open_new_layer(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(&quorvin_rsrv, workbook, &layer, new_layer_flags(), nullptr) != 0) return kNoMemoryErr;
    increment_change_ctr(layer);
    select_layer(record, GetSheetID(layer));
    return 0;
}

// The chosen files come back as one open-documents event, whose handler opens
// each as it opens files named on the command line: a document already open
// comes to the front instead of opening twice.
int16_t open_with_dialog() {
    NavOpenDialog(nullptr, nullptr, 0, 0, nullptr, kAppCreator, reinterpret_cast<void*>(NavFilterProc));
    return 0;
}

// Reads the file in its format into the new workbook and shows what was read:
// 0, or non-zero when nothing was read. An import counts as changed, so that
// closing it asks whether to save it; an Excel workbook is saved under a new name.
int16_t read_into(MemoryRef workbook, const pf::FileSpec& spec, const FileFormat& format) {
    if (int16_t error = read_in_format(format, workbook, spec, new_layer_flags())) return error;
    if (format.reader == FormatReader::document) return 0;
    set_change_ctr(workbook, 1);
    return MakeWind(nullptr, 1, find_SpreadSheet_item(workbook, 0)) ? 0 : kNoMemoryErr;
}

// The command bar's buttons follow the front document now that its file is
// known (a document with a file is changed only when its counter says so).
void refresh_front_buttons() {
    WindowRef front = FrontDocWindow();
    if (!front) return;
    TaskRecord task{};
    get_task_from_window(front, &task);
    if (task.button_state) task.button_state(nullptr, task.app_ref, uintptr_t(front));
}

bool is_stationery(const pf::FileSpec& spec) {
    pf::FinderInfo info;
    return pf::get_finder_info(spec, info) == pf::noErr && (info.flags & pf::kFinderFlagStationery);
}

// A stationery pad opens as a new document: named as an untitled one, changed,
// saved under a name asked for, its file let go.
void make_untitled(MemoryRef workbook) {
    close_document_file(workbook);
    FileInfoRecord record = file_record_of(workbook);
    unsigned char name[256];
    GetUntitledName(name);
    name[0] = uint8_t(std::min<int>(name[0], kDocumentNameLimit));
    std::memcpy(record.spec.name, name, size_t(name[0]) + 1);
    record.format_code = kFormatUntitled;
    set_file_record(workbook, record);
    set_change_ctr(workbook, 1);
    rename_all_windows(workbook, Get_fileinfo(workbook));
}

// Whether an opening for writing was refused only because the file may not be
// written: in use, not ours to write, locked, or on a read-only disk.
bool refused_for_writing(pf::OSErr err) {
    return err == pf::kOpenForWriteErr || err == pf::kPermissionErr || err == pf::kAccessDeniedErr ||
           err == pf::kWriteProtectedErr || err == pf::kVolumeLockedErr || err == pf::kFileLockedErr;
}

}  // namespace

pf::OSErr test_open_document(const pf::FileSpec& spec) {
    int16_t ref = 0;
    pf::OSErr err = FSpOpenAware(&spec, kOpenReadWrite, &ref);
    if (refused_for_writing(err)) err = FSpOpenAware(&spec, kOpenReadOnly, &ref);
    if (err == pf::noErr) pf::close_file(ref);
    return err;
}

int16_t Open_File(uint16_t kind, const pf::FileSpec* spec, const TaskRecord* task) {
    if (kind == kOpenNewUntitled && task && task->app_ref) return open_new_layer(MemoryRef(task->app_ref));
    if (kind == kOpenNewUntitled) return open_new_untitled();
    if (kind == kOpenWithDialog) return open_with_dialog();
    if (kind != kOpenGivenFile || !spec) return 0;
    OpeningFile opening(*spec);
    settle_interrupted_save(*spec);  // before the file's kind is told from its contents
    const FileFormat* format = format_of_file(*spec);
    const bool excel = format && format->reader == FormatReader::excel;
    if (int16_t refusal = excel ? 0 : refusal_to_open(*spec)) {
        report_file_error(refusal);
        return refusal;
    }
    ++untitled_ctr;
    MemoryRef workbook = new_workbook(spec);
    if (!workbook) return kNoMemoryErr;
    if (int16_t error = read_into(workbook, *spec, format ? *format : *format_of_code(kFormatNative))) {
        close_document_file(workbook);
        DisposeWorkSheet(workbook);
        --untitled_ctr;
        return error;
    }
    // A document saved with no layer shown still opens to its first layer.
    if (num_WorkSheet_winds(workbook) == 0) MakeWind(nullptr, 1, find_SpreadSheet_item(workbook, 0));
    if (is_stationery(*spec)) make_untitled(workbook);
    else proxy_all_windows(workbook, Get_fileinfo(workbook));
    window_services.remember_document(spec, 1);
    refresh_front_buttons();
    DoAllUpdates();
    OpenWorkSheetLinks(workbook, 1);
    return 0;
}
