// Export: every layer into a text file of its own in a chosen folder, named
// after the layer and its number.
#include <cstdio>
#include <cstring>

#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "files/files_services.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "resource_ids.h"

namespace {

constexpr int kExportNameLimit = 30;

// The export writes text: with SYLK off the layers become tab-separated values.
int16_t export_format(int16_t dialog_code) { return dialog_code == kFormatSylk ? kFormatSylk : kFormatTabValues; }

// The layer's file in the folder; tab text carries the text extension.
pf::OSErr export_spec(const pf::FileSpec& folder, MemoryRef layer, int16_t number, int16_t code,
                      pf::FileSpec* spec) {
    unsigned char name[64];
    export_file_name(layer, number, name);
    if (code == kFormatTabValues) adjust_save_name(name, code, true);
    uint32_t folder_id = 0;
    if (pf::OSErr error = pf::folder_id_of_spec(folder, folder_id)) return error;
    return pf::make_file_spec(folder.volume, folder_id, name, *spec);
}

// Asks before overwriting; false when the export must end.
bool names_free_or_confirmed(MemoryRef workbook, const pf::FileSpec& folder, int16_t code) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        pf::FileSpec spec;
        pf::OSErr error = export_spec(folder, find_SpreadSheet_item(workbook, i), int16_t(i + 1), code, &spec);
        if (error == pf::kFileNotFoundErr) continue;
        if (error) {
            report_file_error(error);
            return false;
        }
        if (document_prompts.ask(kFileStrings, kExportExists) != kAnswerOK) return false;
    }
    return true;
}

int16_t export_layer(MemoryRef layer, const pf::FileSpec& spec, int16_t code) {
    pf::OSErr error = pf::create_file(spec, creator_for_code(code), file_type_for_code(code));
    if (error == pf::kDuplicateNameErr) error = 0;
    if (error) {
        report_file_error(error);
        return error;
    }
    if (int16_t written = save_text_file(layer, spec, code, false)) {
        pf::delete_file(spec);
        return written;
    }
    settle_type_and_creator(spec, code);
    return 0;
}

}  // namespace

void export_file_name(MemoryRef layer, int16_t number, unsigned char* name) {
    char digits[8];
    int digit_count = std::snprintf(digits, sizeof digits, ".%d", number);
    GetSheetName(name, layer);
    int room = kExportNameLimit - digit_count;
    if (name[0] > room) name[0] = uint8_t(room);
    std::memcpy(name + 1 + name[0], digits, size_t(digit_count));
    name[0] = uint8_t(name[0] + digit_count);
}

int16_t export_layers(MemoryRef workbook, const pf::FileSpec& folder, int16_t dialog_code) {
    close_document_file(workbook);
    CloseEgo(Get_fileinfo(workbook));
    int16_t result = 1;
    int16_t code = export_format(dialog_code);
    if (names_free_or_confirmed(workbook, folder, code)) {
        result = 0;
        for (int16_t i = 0; i < num_SpreadSheets(workbook) && result == 0; ++i) {
            MemoryRef layer = find_SpreadSheet_item(workbook, i);
            pf::FileSpec spec;
            result = export_spec(folder, layer, int16_t(i + 1), code, &spec);
            if (result == pf::kFileNotFoundErr) result = 0;
            if (!result) result = export_layer(layer, spec, code);
        }
    }
    pf::flush_volume(folder.volume);
    reopen_file(workbook);
    return result;
}

int16_t DoExport(MemoryRef shown_layer) {
    pf::FileSpec folder;
    int16_t error = files_services.choose_folder(&folder);
    if (error == pf::kUserCanceledErr) return 1;
    if (error) return error;
    int16_t code = kFormatNative;
    if (files_services.choose_export_format(&code) != kAnswerOK) return 1;
    return export_layers(GetWorkSheet(shown_layer), folder, code);
}
