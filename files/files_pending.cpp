// The reader of the older generation, not built yet: it refuses its file with
// a message instead of pretending.
#include <cstdint>

#include "core/alerts.h"
#include "core/app_menus.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/files_services.h"
#include "model/calc_globals.h"
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


// The open command is not built yet: opening a file makes an empty window
// titled with its name that remembers the file, and a new document an empty
// untitled one.

namespace {

MemoryRef workbook_of_file(const pf::FileSpec& spec) {
    MemoryRef file_info = NewFileRec(&spec);
    return file_info ? New_WorkSheet(&quorvin_rsrv, file_info, app_prefs.default_format) : nullptr;
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
    if (int16_t refusal = refusal_to_open(*spec)) {
        show_file_error(refusal);
        return refusal;
    }
    MemoryRef workbook = workbook_of_file(*spec);
    if (!make_empty_document_window(spec->name, workbook)) return kNoMemoryErr;
    update_pref_specs(spec, 1);
    return 0;
}

// The export options (DLOG 1020) need the modal dialog loop: until then the
// export is cancelled.
int16_t run_export_dialog(int16_t*) { return 2; }
