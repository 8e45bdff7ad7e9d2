#include "files/running_copies.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "files/document_file.h"
#include "files/document_saving.h"
#include "platform/resources/resources.h"
#include "platform/system/system.h"
#include "resource_ids.h"

namespace {

constexpr int kSwapFileNameItem = 5;
constexpr int kPrefsFileNameItem = 3;
constexpr int kSaveNoteNameItem = 6;
constexpr int32_t kLongestNotedPath = 4096;
constexpr unsigned char kFolderName[] = "\x07Quorvin";

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

// Settles a killed save of the noted document; adds it to `finished` when
// its new contents were put in place.
void settle_noted_save(const std::string& document, std::vector<pf::FileSpec>& finished) {
    pf::FileSpec spec;
    if (document.empty() || pf::file_spec_from_path(document, spec) != pf::noErr) return;
    if (finish_interrupted_save(spec)) finished.push_back(spec);
}

}  // namespace

pf::OSErr program_folder(bool create, int16_t& volume, uint32_t& folder) {
    uint32_t preferences;
    pf::OSErr err = pf::find_folder(pf::FolderKind::preferences, true, volume, preferences);
    if (err) return err;
    pf::FileSpec spec;
    err = pf::make_file_spec(volume, preferences, kFolderName, spec);
    if (err == pf::kFileNotFoundErr && create) return pf::create_folder(spec, folder);
    if (err) return err;
    return pf::folder_id_of_spec(spec, folder);
}

const OwnFileKind kSwapFileKind{kSwapFileNameItem, ""};
const OwnFileKind kPrefsInProgressKind{kPrefsFileNameItem, ".tmp"};
const OwnFileKind kSaveNoteKind{kSaveNoteNameItem, ""};

int16_t open_program_file(const unsigned char* name, pf::FileSpec* spec, pf::FourCC type, int8_t permission,
                          int16_t* ref) {
    bool create = permission != pf::kReadPermission;
    int16_t volume;
    uint32_t folder;
    pf::OSErr err = program_folder(create, volume, folder);
    if (err) return err;
    err = pf::make_file_spec(volume, folder, name, *spec);
    if (err == pf::kFileNotFoundErr && create) err = pf::create_file(*spec, kAppCreator, type);
    if (err) return err;
    return ref ? pf::open_data_fork(*spec, permission, *ref) : pf::noErr;
}

pf::OSErr own_file_spec(const OwnFileKind& kind, int8_t permission, pf::FourCC type, pf::FileSpec* spec, int16_t* ref) {
    std::string name = pf::get_indexed_string(kPrefsFolderStrings, int16_t(kind.item));
    if (name.empty()) return pf::kBadNameErr;
    name += " " + std::to_string(getpid()) + kind.suffix;
    pf::Str255 pascal;
    pascal[0] = uint8_t(std::min<size_t>(name.size(), pf::kMaxSpecName));
    std::copy_n(name.begin(), pascal[0], pascal + 1);
    return open_program_file(pascal, spec, type, permission, ref);
}

void note_save_started(const pf::FileSpec& document) {
    std::string path;
    if (pf::path_from_file_spec(document, path)) return;
    pf::FileSpec spec;
    int16_t ref = 0;
    if (own_file_spec(kSaveNoteKind, pf::kWritePermission, kPrefsFileType, &spec, &ref)) return;
    int32_t count = int32_t(path.size());
    pf::write_file(ref, count, path.data());
    pf::set_end_of_file(ref, count);
    pf::close_file(ref);
}

void note_save_ended() {
    pf::FileSpec spec;
    if (own_file_spec(kSaveNoteKind, pf::kReadPermission, kPrefsFileType, &spec, nullptr) == 0) pf::delete_file(spec);
}

std::vector<pf::FileSpec> remove_leftovers_of_dead_copies() {
    std::vector<pf::FileSpec> finished;
    int16_t volume = 0;
    uint32_t folder = 0;
    if (program_folder(false, volume, folder)) return finished;
    std::vector<pf::FileSpec> dead_files, dead_notes;
    std::vector<std::string> saved_by_running_copies;
    pf::CatalogInfo info;
    pf::FileSpec spec;
    for (int index = 1; pf::get_catalog_info_by_index(volume, folder, index, info, &spec) == pf::noErr; ++index) {
        if (info.is_folder) continue;
        const std::string name(reinterpret_cast<const char*>(info.name + 1), info.name[0]);
        for (const OwnFileKind* kind : {&kSwapFileKind, &kPrefsInProgressKind, &kSaveNoteKind}) {
            const int32_t owner = owner_in_name(name, *kind);
            if (!owner) continue;
            const bool note = kind == &kSaveNoteKind;
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
            settle_noted_save(document, finished);
        pf::delete_file(note);
    }
    return finished;
}
