// The preferences file and the memory manager's swap file, both in the
// "Quorvin" folder of the user's Preferences folder. Each running copy of the
// program has a swap file of its own, and the preferences file is replaced
// whole, so copies started by one user never share a half-written file. What
// a copy that was killed left there is removed by the next one to start.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "files/document_saving.h"
#include "platform/files/files.h"
#include "platform/resources/resources.h"
#include "shell/shell_commands.h"
#include "platform/system/system.h"
#include "resource_ids.h"

namespace {

constexpr int kPrefsFileNameItem = 3;
constexpr int kSwapFileNameItem = 5;
constexpr int kSaveNoteNameItem = 6;
constexpr int32_t kLongestNotedPath = 4096;
constexpr pf::FourCC kSwapFileType = pf::four_cc("QRVM");
constexpr unsigned char kFolderName[] = "\x07Quorvin";
constexpr char kFolderIdsFileName[] = "Folder Ids";

// The kinds of file a copy keeps for itself: "<name of item> <process number><suffix>".
struct OwnFileKind {
    int item;
    const char* suffix;
};
constexpr OwnFileKind kSwapFile{kSwapFileNameItem, ""};
constexpr OwnFileKind kPrefsInProgress{kPrefsFileNameItem, ".tmp"};
constexpr OwnFileKind kSaveNote{kSaveNoteNameItem, ""};

// The "Quorvin" folder, made when missing and `create` is set.
pf::OSErr prefs_folder(bool create, int16_t& volume, uint32_t& folder) {
    uint32_t preferences;
    pf::OSErr err = pf::find_folder(pf::FolderKind::preferences, true, volume, preferences);
    if (err) return err;
    pf::FileSpec spec;
    err = pf::make_file_spec(volume, preferences, kFolderName, spec);
    if (err == pf::kFileNotFoundErr && create) return pf::create_folder(spec, folder);
    if (err) return err;
    return pf::folder_id_of_spec(spec, folder);
}

pf::OSErr named_file_spec(int item, int8_t permission, pf::FourCC type, pf::FileSpec* spec, int16_t* ref) {
    pf::Str255 name;
    pf::get_indexed_string(name, kPrefsFolderStrings, item);
    if (name[0] == 0) return pf::kBadNameErr;
    return OpenPrefsFile(name, spec, type, permission, ref);
}

// A file of this running copy alone: the kind's name, the process number and
// its suffix.
pf::OSErr own_file_spec(const OwnFileKind& kind, int8_t permission, pf::FourCC type, pf::FileSpec* spec, int16_t* ref) {
    std::string name = pf::get_indexed_string(kPrefsFolderStrings, int16_t(kind.item));
    if (name.empty()) return pf::kBadNameErr;
    name += " " + std::to_string(getpid()) + kind.suffix;
    pf::Str255 pascal;
    pascal[0] = uint8_t(std::min<size_t>(name.size(), pf::kMaxSpecName));
    std::copy_n(name.begin(), pascal[0], pascal + 1);
    return OpenPrefsFile(pascal, spec, type, permission, ref);
}

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
    pf::OSErr err = own_file_spec(kSwapFile, pf::kReadWritePermission, kSwapFileType, &spec, ref_num);
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

// ---- Files of one running copy ---------------------------------------------------

// The process number in a file name of that kind, or 0 when the name is not of it.
int32_t owner_in_name(const std::string& name, const OwnFileKind& kind) {
    const std::string prefix = pf::get_indexed_string(kPrefsFolderStrings, int16_t(kind.item)) + " ";
    const std::string suffix = kind.suffix;
    if (prefix.size() < 2 || name.size() <= prefix.size() + suffix.size()) return 0;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return 0;
    const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(uint8_t(c)); }))
        return 0;
    return std::stoi(digits);
}

// The path of the document a save note names; empty when it cannot be read.
std::string noted_document(const pf::FileSpec& note) {
    int16_t ref = 0;
    if (pf::open_data_fork(note, pf::kReadPermission, ref)) return {};
    int32_t length = 0;
    std::string path;
    if (pf::get_end_of_file(ref, length) == pf::noErr && length > 0 && length <= kLongestNotedPath) {
        path.resize(size_t(length));
        if (pf::read_file(ref, length, path.data()) || size_t(length) != path.size()) path.clear();
    }
    pf::close_file(ref);
    return path;
}

// What a killed save of the noted document left beside it.
void remove_unfinished_save(const std::string& document) {
    pf::FileSpec spec;
    if (!document.empty() && pf::file_spec_from_path(document, spec) == pf::noErr) remove_save_leftovers(spec);
}

}  // namespace

void note_save_started(const pf::FileSpec& document) {
    std::string path;
    if (pf::path_from_file_spec(document, path)) return;
    pf::FileSpec spec;
    int16_t ref = 0;
    if (own_file_spec(kSaveNote, pf::kWritePermission, kPrefsFileType, &spec, &ref)) return;
    int32_t count = int32_t(path.size());
    pf::write_file(ref, count, path.data());
    pf::set_end_of_file(ref, count);
    pf::close_file(ref);
}

void note_save_ended() {
    pf::FileSpec spec;
    if (own_file_spec(kSaveNote, pf::kReadPermission, kPrefsFileType, &spec, nullptr) == 0)
        pf::delete_file(spec);
}

void remove_leftovers_of_dead_copies() {
    int16_t volume = 0;
    uint32_t folder = 0;
    if (prefs_folder(false, volume, folder)) return;
    std::vector<pf::FileSpec> dead_files, dead_notes;
    std::vector<std::string> saved_by_running_copies;
    pf::CatalogInfo info;
    pf::FileSpec spec;
    for (int index = 1; pf::get_catalog_info_by_index(volume, folder, index, info, &spec) == pf::noErr; ++index) {
        if (info.is_folder) continue;
        const std::string name(reinterpret_cast<const char*>(info.name + 1), info.name[0]);
        for (const OwnFileKind& kind : {kSwapFile, kPrefsInProgress, kSaveNote}) {
            const int32_t owner = owner_in_name(name, kind);
            if (!owner) continue;
            const bool note = kind.item == kSaveNote.item;
            if (pf::process_is_running(owner)) {
                if (note) saved_by_running_copies.push_back(noted_document(spec));
            } else {
                (note ? dead_notes : dead_files).push_back(spec);
            }
            break;
        }
    }
    for (const pf::FileSpec& file : dead_files) pf::delete_file(file);
    for (const pf::FileSpec& note : dead_notes) {
        const std::string document = noted_document(note);
        if (std::find(saved_by_running_copies.begin(), saved_by_running_copies.end(), document) ==
            saved_by_running_copies.end())
            remove_unfinished_save(document);
        pf::delete_file(note);
    }
}

void keep_folder_ids_across_runs() {
    int16_t volume = 0;
    uint32_t folder = 0;
    std::string path;
    if (prefs_folder(true, volume, folder) || pf::path_from_folder_id(volume, folder, path)) return;
    pf::set_folder_registry(path + "/" + kFolderIdsFileName);
}

int16_t OpenPrefsFile(const unsigned char* name, pf::FileSpec* spec, pf::FourCC type, int8_t permission,
                      int16_t* ref) {
    bool create = permission != pf::kReadPermission;
    int16_t volume;
    uint32_t folder;
    pf::OSErr err = prefs_folder(create, volume, folder);
    if (err) return err;
    err = pf::make_file_spec(volume, folder, name, *spec);
    if (err == pf::kFileNotFoundErr && create) err = pf::create_file(*spec, kQuorvinCreator, type);
    if (err) return err;
    return ref ? pf::open_data_fork(*spec, permission, *ref) : pf::noErr;
}

int16_t prefs_file_spec(pf::FileSpec* spec, int8_t permission, int16_t* ref) {
    return named_file_spec(kPrefsFileNameItem, permission, kPrefsFileType, spec, ref);
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
    err = own_file_spec(kPrefsInProgress, pf::kWritePermission, kPrefsFileType, &temp, &ref);
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
