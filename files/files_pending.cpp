// Readers and writers of the older generation and of the text formats, not
// built yet: each refuses its file with a message instead of pretending.
#include <cstdint>

#include "core/alerts.h"
#include "core/app_menus.h"
#include "excel/excel_import.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/files_services.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "shell/app_prefs.h"
#include "window/window_pending.h"
#include "window/window_services.h"

namespace {
constexpr int16_t kFormatUnavailableErr = 1003;
}

MemoryRef ReadQ3Sheet(int32_t*, int16_t, int16_t, int32_t, MemoryRef) {
    CleanUp(kFormatUnavailableErr);
    return nullptr;
}

int16_t ReadTextFile(const pf::FileSpec&, MemoryRef, MemoryRef, pf::FourCC) {
    report_file_error(kFormatUnavailableErr);
    return kFormatUnavailableErr;
}

int16_t WriteTextData(MachineRecord*, int16_t, int16_t, uint8_t, MemoryRef, MemoryRef*, pf::Handle*, CellPoint,
                      CellPoint, int32_t*, MemoryRef) {
    return kFormatUnavailableErr;
}

int16_t OutputSYLK(int16_t, MemoryRef) { return kFormatUnavailableErr; }

// The open command is not built yet: opening a file makes an empty window
// titled with its name that remembers the file, and a new document an empty
// untitled one.

namespace {

MemoryRef workbook_of_file(const pf::FileSpec& spec) {
    MemoryRef file_info = NewFileRec(&spec);
    return file_info ? New_WorkSheet(&quorvin_rsrv, file_info, app_prefs.default_format) : nullptr;
}

// An Excel workbook: its layers read into a new workbook, which counts as
// changed and is saved under a new name.
int16_t open_excel_file(const pf::FileSpec& spec, MemoryRef workbook) {
    MemoryRef layer = nullptr;
    if (int16_t error = New_SpreadSheet(&quorvin_rsrv, workbook, &layer, app_prefs.options & 0xFFF, nullptr)) {
        DisposeWorkSheet(workbook);
        return error;
    }
    if (int16_t error = ReadExcelFile(spec, Get_fileinfo(workbook), layer)) {
        DisposeWorkSheet(workbook);
        return error;
    }
    FileInfoRecord record = file_record_of(workbook);
    record.format_code = kFormatExcelImport;
    set_file_record(workbook, record);
    set_change_ctr(workbook, 1);
    return 0;
}

}  // namespace

int16_t Open_File(uint16_t kind, const pf::FileSpec* spec, const TaskRecord*) {
    if (kind == kOpenNewUntitled) {
        unsigned char title[256];
        GetUntitledName(title);
        ++untitled_ctr;
        return make_empty_document_window(title, nullptr) ? 0 : int16_t(kNoMemoryErr);
    }
    if (kind != kOpenGivenFile || !spec) return 0;
    pf::CatalogInfo info;
    pf::OSErr err = pf::get_catalog_info(*spec, info);
    if (err) {
        show_file_error(err);
        return err;
    }
    MemoryRef workbook = workbook_of_file(*spec);
    if (workbook && is_excel_file(*spec))
        if (int16_t error = open_excel_file(*spec, workbook)) return error;
    if (!make_empty_document_window(spec->name, workbook)) return kNoMemoryErr;
    update_pref_specs(spec, 1);
    return 0;
}

// The export options (DLOG 1020) need the modal dialog loop: until then the
// export is cancelled.
int16_t run_export_dialog(int16_t*) { return 2; }
