#include "core/file_utils.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/string_utils.h"
#include "platform/system/system.h"
#include "platform/text/mac_roman.h"
#include "platform/text/text.h"

bool stopSearch = false;

namespace {

constexpr pf::FourCC kTrashType = pf::four_cc("trsh");
constexpr int32_t kFileBlock = 512;
constexpr int kMaxPathBytes = 255;
constexpr int kMaxTempAttempts = 1000;

// The name of a temporary file: the date-and-time seconds, then "-n" from the second attempt on.
void temp_name(uint32_t seconds, int attempt, unsigned char* name) {
    std::string text = std::to_string(seconds);
    if (attempt > 0) text += "-" + std::to_string(attempt);
    set_pstring(name, text, pf::kMaxSpecName);
}

pf::OSErr parent_folder(int16_t volume, uint32_t folder, uint32_t& parent) {
    std::string path;
    pf::OSErr err = pf::path_from_folder_id(volume, folder, path);
    if (err) return err;
    if (path == "/") {
        parent = pf::kRootParentId;
        return pf::noErr;
    }
    std::string above = path.substr(0, path.find_last_of('/'));
    return pf::folder_id_from_path(above.empty() ? "/" : above, parent);
}

bool name_ends_with(const unsigned char* name, const unsigned char* suffix) {
    return name[0] >= suffix[0] && std::memcmp(name + 1 + name[0] - suffix[0], suffix + 1, suffix[0]) == 0;
}

}  // namespace

pf::OSErr OpenFile(const pf::FileSpec* spec, int16_t* ref) {
    return pf::open_data_fork(*spec, pf::kReadWritePermission, *ref);
}

pf::OSErr CreateFile(const pf::FileSpec* spec, pf::FourCC creator, pf::FourCC type, int16_t* ref) {
    pf::OSErr err = pf::create_file(*spec, creator, type);
    if (err || !ref) return err;
    return OpenFile(spec, ref);
}

// Names made within the same second are told apart by a counter, so that two
// temporary files never share a name.
pf::OSErr create_temp_spec(pf::FileSpec* spec, int16_t* ref) {
    uint32_t seconds = pf::current_date_time();
    for (int attempt = 0; attempt < kMaxTempAttempts; ++attempt) {
        unsigned char name[64];
        temp_name(seconds, attempt, name);
        pf::FileSpec temp;
        pf::OSErr err = pf::make_file_spec(spec->volume, spec->parent, name, temp);
        if (err == pf::noErr) continue;
        if (err != pf::kFileNotFoundErr) return err;
        err = CreateFile(&temp, kTrashType, kTrashType, ref);
        if (err == pf::kDuplicateNameErr) continue;
        if (err == pf::noErr) *spec = temp;
        return err;
    }
    return pf::kDuplicateNameErr;
}

// The same file is the same full path; names are compared as the file system
// compares them, letter case and marks included.
int16_t SameFile(const pf::FileSpec* a, const pf::FileSpec* b) {
    std::string path_a, path_b;
    if (pf::path_from_file_spec(*a, path_a) == pf::noErr && pf::path_from_file_spec(*b, path_b) == pf::noErr)
        return path_a == path_b ? 1 : 0;
    return a->volume == b->volume && a->parent == b->parent && pstring_text(a->name) == pstring_text(b->name) ? 1 : 0;
}

int16_t HasFileExtension(const unsigned char* name, const unsigned char* extension) {
    if (name[0] == 0) return 0;
    if (extension[0] == 0) return 1;
    if (name[0] <= extension[0]) return 0;
    const unsigned char* tail = name + 1 + name[0] - extension[0];
    for (int i = 0; i < extension[0]; ++i) {
        if (pf::to_lower_mac_roman(tail[i]) != pf::to_lower_mac_roman(extension[1 + i])) return 0;
    }
    return 1;
}

pf::OSErr cstr_path(const pf::FileSpec* spec, char* out) {
    std::string path;
    pf::OSErr err = pf::path_from_file_spec(*spec, path);
    size_t n = err ? 0 : std::min<size_t>(path.size(), kMaxPathBytes);
    std::memcpy(out, path.data(), n);
    out[n] = 0;
    return err;
}

pf::OSErr PathNameFromDirID(uint32_t folder, int16_t volume, unsigned char* out) {
    std::string path;
    pf::OSErr err = pf::path_from_folder_id(volume, folder, path);
    if (err) path.clear();
    if (path.empty() || path.back() != '/') path += '/';
    set_pstring(out, path);
    return err;
}

int16_t FindJobFile(int16_t volume, uint32_t folder, pf::FileSpec* spec) {
    pf::FileSpec found;
    if (pf::make_file_spec(volume, folder, spec->name, found) != pf::noErr) return -1;
    *spec = found;
    return 0;
}

pf::OSErr CheckVolLock(const unsigned char*, int16_t volume) { return pf::check_volume_lock(volume); }

pf::OSErr HOpenAware(int16_t volume, uint32_t folder, const unsigned char* name, int8_t deny_modes, int16_t* ref) {
    pf::FileSpec spec;
    pf::OSErr err = pf::make_file_spec(volume, folder, name, spec);
    if (err) return err;
    return FSpOpenAware(&spec, deny_modes, ref);
}

pf::OSErr FSpOpenAware(const pf::FileSpec* spec, int8_t deny_modes, int16_t* ref) {
    pf::VolumeInfo volume;
    pf::OSErr err = pf::get_volume_info(spec->volume, volume);
    if (err == pf::noErr && volume.supports_open_deny) return pf::open_data_fork(*spec, deny_modes, *ref);
    if (err && err != pf::kParamErr) return err;
    if (deny_modes & kOpenWriteOnly) {
        if ((err = CheckVolLock(nullptr, spec->volume))) return err;
    }
    int8_t permission = (deny_modes == 2 || deny_modes == 3) ? pf::kSharedReadWritePermission : int8_t(deny_modes % 4);
    return pf::open_data_fork(*spec, permission, *ref);
}

pf::OSErr CopyFork(int16_t source, int16_t destination, void* buffer, int32_t buffer_size) {
    if (!buffer || buffer_size <= 0) return pf::kParamErr;
    int32_t length = 0;
    pf::OSErr err = pf::get_end_of_file(source, length);
    if (!err) err = pf::set_end_of_file(destination, length);
    if (!err) err = pf::set_file_position(source, pf::kFromStart, 0);
    if (!err) err = pf::set_file_position(destination, pf::kFromStart, 0);
    if (err) return err;
    int32_t step = buffer_size;
    if (step > kFileBlock && step % kFileBlock) step -= step % kFileBlock;
    for (;;) {
        int32_t count = step;
        pf::OSErr read_err = pf::read_file(source, count, buffer);
        if (count > 0) {
            if ((err = pf::write_file(destination, count, buffer))) return err;
        }
        if (read_err == pf::kEndOfFileErr) return pf::noErr;
        if (read_err) return read_err;
    }
}

pf::OSErr SearchDirUpwards(uint32_t folder, int16_t volume, unsigned char* name, const unsigned char* suffix,
                           pf::FileSpec* out) {
    bool matched = false;
    for (;;) {
        for (int index = 1;; ++index) {
            pf::CatalogInfo info;
            pf::FileSpec item;
            pf::OSErr err = pf::get_catalog_info_by_index(volume, folder, index, info, &item);
            if (err == pf::kFileNotFoundErr) break;
            if (err) return matched ? pf::noErr : err;
            bool hit = false;
            if (suffix && suffix[0] && name_ends_with(info.name, suffix)) {
                hit = true;
                if (name) std::memcpy(name, info.name, size_t(info.name[0]) + 1);
            } else if (!(suffix && suffix[0]) && name && pstring_text(name) == pstring_text(info.name)) {
                hit = true;
            }
            if (hit) {
                *out = item;
                matched = true;
            }
        }
        if (stopSearch || folder == pf::kRootFolderId) break;
        if (parent_folder(volume, folder, folder)) break;
    }
    return matched ? pf::noErr : pf::kFileNotFoundErr;
}

pf::OSErr SearchDirDown(uint32_t folder, int16_t volume, SearchProc folder_proc, SearchProc file_proc,
                        void* reference) {
    bool success = false;
    for (int index = 1; !stopSearch; ++index) {
        pf::CatalogInfo info;
        pf::FileSpec item;
        if (pf::get_catalog_info_by_index(volume, folder, index, info, &item)) break;
        if (info.is_folder && info.folder_id == pf::kRootFolderId) stopSearch = true;
        pf::OSErr answer;
        if (info.is_folder && !folder_proc) answer = SearchDirDown(info.folder_id, volume, nullptr, file_proc, reference);
        else if (info.is_folder) answer = folder_proc(&item, &info, reference);
        else answer = file_proc ? file_proc(&item, &info, reference) : pf::kFileNotFoundErr;
        if (answer == pf::noErr) success = true;
    }
    return success ? pf::noErr : pf::kFileNotFoundErr;
}

std::string executable_path() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 ? std::string(path, size_t(length)) : std::string();
}

pf::OSErr LoadFrameworkBundle(const char*, void** bundle) {
    if (bundle) *bundle = nullptr;
    return kFrameworkErr;
}
