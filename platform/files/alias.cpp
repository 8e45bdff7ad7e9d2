// Aliases: a file's path with its device and inode, found again after a
// rename, a move to the trash, or while it is open here.
//
// Layout (big-endian): "QALI", u16 version 1, u16 0, u64 device, u64 inode,
// u32 path length, the path's UTF-8 bytes.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/files/files_internal.h"
#include "platform/resources/byte_reader.h"

namespace pf {

using namespace files_detail;

namespace {

constexpr size_t kHeaderSize = 28;
constexpr uint16_t kAliasVersion = 1;

void put_be(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

struct AliasRecord {
    dev_t device;
    ino_t inode;
    std::string path;
};

bool parse_alias(const uint8_t* alias, size_t length, AliasRecord& record) {
    if (!alias) return false;
    ByteReader in{{alias, length}};
    auto magic = in.take(4);
    if (magic.empty() || std::memcmp(magic.data(), "QALI", 4) != 0 || in.u16() != kAliasVersion) return false;
    in.skip(2);
    record.device = dev_t(in.u64());
    record.inode = ino_t(in.u64());
    uint32_t path_length = in.u32();
    if (!in.ok || path_length == 0 || path_length != in.left()) return false;
    auto path = in.take(path_length);
    record.path.assign(path.begin(), path.end());
    return record.path[0] == '/' && record.path.find('\0') == std::string::npos;
}

bool same_identity(const std::string& path, const AliasRecord& r) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && st.st_dev == r.device && st.st_ino == r.inode;
}

bool find_in_folder(const std::string& folder, const AliasRecord& r, std::string& found) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return false;
    while (dirent* e = readdir(dir.get())) {
        if (e->d_ino != r.inode) continue;
        std::string candidate = join_path(folder, e->d_name);
        if (same_identity(candidate, r)) {
            found = candidate;
            return true;
        }
    }
    return false;
}

bool trash_folder_path(std::string& path) {
    int16_t volume;
    uint32_t folder;
    return find_folder(FolderKind::trash, false, volume, folder) == noErr &&
           path_from_folder_id(volume, folder, path) == noErr;
}

// Where the file went, when it is no longer at its path.
bool follow_identity(const AliasRecord& r, std::string& found) {
    if (open_file_path_by_identity(r.device, r.inode, found)) return true;
    if (find_in_folder(parent_path(r.path), r, found)) return true;
    std::string trash;
    return trash_folder_path(trash) && find_in_folder(trash, r, found);
}

}  // namespace

OSErr new_alias(const FileSpec& target, std::vector<uint8_t>& alias) {
    std::string path;
    if (OSErr err = existing_path(target, path)) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return error_from_errno(errno);
    alias.clear();
    put_be(alias, 0x51414C49, 4);  // "QALI"
    put_be(alias, kAliasVersion, 2);
    put_be(alias, 0, 2);
    put_be(alias, uint64_t(st.st_dev), 8);
    put_be(alias, uint64_t(st.st_ino), 8);
    put_be(alias, path.size(), 4);
    alias.insert(alias.end(), path.begin(), path.end());
    return noErr;
}

OSErr resolve_alias(const uint8_t* alias, size_t length, FileSpec& target, bool& changed) {
    changed = false;
    AliasRecord r;
    if (!parse_alias(alias, length, r)) return kParamErr;
    if (same_identity(r.path, r)) return file_spec_from_path(r.path, target);
    std::string found;
    if (follow_identity(r, found)) {
        changed = true;
        return file_spec_from_path(found, target);
    }
    OSErr err = file_spec_from_path(r.path, target);
    return err == kDirectoryNotFoundErr ? kFileNotFoundErr : err;
}

}  // namespace pf
