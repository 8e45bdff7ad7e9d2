// The preferences file and the memory manager's swap file, both in the
// "Quorvin" folder of the user's Preferences folder. Each running copy of the
// program has a swap file of its own, and the preferences file is replaced
// whole, so copies started by one user never share a half-written file. What
// a copy that was killed left there is removed by the next one to start.
#include <algorithm>
#include <string>
#include <vector>

#include "files/document_saving.h"
#include "files/running_copies.h"
#include "platform/files/files.h"
#include "platform/resources/resources.h"
#include "shell/shell_commands.h"
#include "platform/system/system.h"
#include "resource_ids.h"

namespace {

constexpr pf::FourCC kSwapFileType = pf::four_cc("QRVM");
constexpr char kFolderIdsFileName[] = "Folder Ids";

// Reads the record when the file is exactly its size; anything else leaves the
// record as it is.
void read_prefs_data(int16_t ref) {
    int32_t length = 0;
    if (pf::get_end_of_file(ref, length) || length != kPrefsFileSize) return;
    uint8_t bytes[kPrefsFileSize];
    int32_t count = kPrefsFileSize;
    if (pf::read_file(ref, count, bytes) || count != kPrefsFileSize) return;
    prefs_were_reset = !prefs_from_file_bytes(bytes, app_prefs);
}

// Writes the whole record, or leaves an empty file when the write falls short.
pf::OSErr write_prefs_data(int16_t ref) {
    uint8_t bytes[kPrefsFileSize];
    prefs_to_file_bytes(app_prefs, bytes);
    int32_t count = kPrefsFileSize;
    bool complete = pf::set_file_position(ref, pf::kFromStart, 0) == pf::noErr &&
                    pf::write_file(ref, count, bytes) == pf::noErr && count == kPrefsFileSize;
    pf::set_end_of_file(ref, complete ? kPrefsFileSize : 0);
    return complete ? pf::noErr : pf::kEndOfFileErr;
}

pf::OSErr open_swap_file(int16_t* ref_num) {
    pf::FileSpec spec;
    pf::OSErr err = own_file_spec(kSwapFileKind, pf::kReadWritePermission, kSwapFileType, &spec, ref_num);
    if (err) return err;
    return pf::set_end_of_file(*ref_num, 0);
}

pf::OSErr close_swap_file(int16_t* ref_num) {
    pf::FileSpec spec;
    pf::OSErr err = pf::get_file_spec_of_ref(*ref_num, spec);
    pf::set_end_of_file(*ref_num, 0);
    pf::close_file(*ref_num);
    *ref_num = 0;
    if (err) return err;
    return pf::delete_file(spec);
}

}  // namespace

void keep_folder_ids_across_runs() {
    int16_t volume = 0;
    uint32_t folder = 0;
    std::string path;
    if (program_folder(true, volume, folder) || pf::path_from_folder_id(volume, folder, path)) return;
    pf::set_folder_registry(path + "/" + kFolderIdsFileName);
}

int16_t ReadPrefs() {
    ParameterFactorySettings(&app_prefs);
    prefs_were_reset = false;
    pf::FileSpec spec;
    int16_t ref;
    pf::OSErr err = prefs_file_spec(&spec, pf::kReadPermission, &ref);
    if (err) return err;
    read_prefs_data(ref);
    pf::close_file(ref);
    return pf::noErr;
}

// Written into a file of its own first, which then takes the place of the
// preferences file (whose resource fork, the workspace, stays).
int16_t WritePrefs() {
    pf::FileSpec spec, temp;
    pf::OSErr err = prefs_file_spec(&spec, pf::kWritePermission, nullptr);
    if (err) return err;
    int16_t ref;
    err = own_file_spec(kPrefsInProgressKind, pf::kWritePermission, kPrefsFileType, &temp, &ref);
    if (err) return err;
    app_prefs.version = kPrefsVersion;
    err = write_prefs_data(ref);
    pf::close_file(ref);
    if (!err) err = pf::exchange_files(temp, spec);
    pf::delete_file(temp);
    pf::flush_volume(spec.volume);
    return err;
}

int16_t access_vm_file(int16_t* ref_num) {
    if (*ref_num == 0) return open_swap_file(ref_num);
    return close_swap_file(ref_num);
}
