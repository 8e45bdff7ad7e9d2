// The reader of the older generation, not built yet: it refuses its file with
// a message instead of pretending.
#include <cstdint>

#include "core/alerts.h"
#include "core/app_menus.h"
#include "core/file_utils.h"
#include "excel/excel_import.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/files_services.h"
#include "files/text_exchange.h"
#include "model/calc_globals.h"
#include "model/workbook.h"
#include "shell/app_prefs.h"
#include "model/layer.h"
#include "window/window_services.h"

namespace {
constexpr int16_t kFormatUnavailableErr = 1003;
}

MemoryRef ReadQ3Sheet(int32_t*, int16_t, int16_t, int32_t, MemoryRef) {
    CleanUp(kFormatUnavailableErr);
    return nullptr;
}


// The open command in its least form: a new untitled document is one layer
// in its window; a given file is read when it is a Quorvin document, an Excel
// workbook or a text file.

namespace {

constexpr uint32_t kNewLayerFlags = kLayerGridLines | kLayerHeadings;

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
    if (New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kNewLayerFlags, nullptr) != 0 || !MakeWind(nullptr, 1, layer)) {
        DisposeWorkSheet(workbook);
        return kNoMemoryErr;
    }
    return 0;
}

// The text reader's file type for a file of another kind: comma-separated by
// its name, tab-separated by its name, plain text (the reader tells SYLK by its
// first characters and asks for the separator) by its type; 0 for none.
pf::FourCC text_type_of(const pf::FileSpec& spec) {
    static const unsigned char kCsvEnding[] = "\x04.csv", kTabEnding[] = "\x04.tab";
    if (HasFileExtension(spec.name, kCsvEnding)) return kCsvFileType;
    if (HasFileExtension(spec.name, kTabEnding)) return kTabFileType;
    pf::FinderInfo info;
    return pf::get_finder_info(spec, info) == pf::noErr && info.type == kTextType ? kTextType : 0;
}

// A file of another kind, Excel (text type 0) or text, read into the one layer
// of a new workbook, which counts as changed and is saved under a new name.
// The reader reports its own errors.
int16_t open_imported_file(const pf::FileSpec& spec, pf::FourCC text_type) {
    ++untitled_ctr;
    MemoryRef workbook = new_workbook(&spec);
    if (!workbook) return kNoMemoryErr;
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kNewLayerFlags, nullptr) != 0) {
        DisposeWorkSheet(workbook);
        return kNoMemoryErr;
    }
    const int16_t error = text_type ? ReadTextFile(spec, Get_fileinfo(workbook), layer, text_type)
                                    : ReadExcelFile(spec, Get_fileinfo(workbook), layer);
    if (error) {
        DisposeWorkSheet(workbook);
        return error;
    }
    if (!text_type) {
        FileInfoRecord record = file_record_of(workbook);
        record.format_code = kFormatExcelImport;
        set_file_record(workbook, record);
    }
    set_change_ctr(workbook, 1);
    if (!MakeWind(nullptr, 1, layer)) {
        DisposeWorkSheet(workbook);
        return kNoMemoryErr;
    }
    proxy_all_windows(workbook, Get_fileinfo(workbook));
    update_pref_specs(&spec, 1);
    return 0;
}

}  // namespace

int16_t Open_File(uint16_t kind, const pf::FileSpec* spec, const TaskRecord*) {
    if (kind == kOpenNewUntitled) return open_new_untitled();
    if (kind != kOpenGivenFile || !spec) return 0;
    if (is_excel_file(*spec)) return open_imported_file(*spec, 0);
    if (int16_t refusal = refusal_to_open(*spec)) {
        if (pf::FourCC text_type = text_type_of(*spec); text_type && refusal == kFormatUnavailableErr)
            return open_imported_file(*spec, text_type);
        show_file_error(refusal);
        return refusal;
    }
    ++untitled_ctr;
    MemoryRef workbook = new_workbook(spec);
    if (!workbook) return kNoMemoryErr;
    FileInfoRecord record = file_record_of(workbook);
    record.format_code = 1;
    set_file_record(workbook, record);
    if (Read_File(workbook, *spec, Get_fileinfo(workbook)) != 0) {
        DisposeWorkSheet(workbook);
        return 1;
    }
    // A document saved with no layer shown still opens to its first layer.
    if (num_WorkSheet_winds(workbook) == 0) MakeWind(nullptr, 1, find_SpreadSheet_item(workbook, 0));
    proxy_all_windows(workbook, Get_fileinfo(workbook));
    update_pref_specs(spec, 1);
    return 0;
}

// The export options (DLOG 1020) need the modal dialog loop: until then the
// export is cancelled.
int16_t run_export_dialog(int16_t*) { return 2; }
