// Open files by reference number, and the operations that create, delete,
// rename and exchange files.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "platform/files/files_internal.h"
#include "platform/memory/memory.h"

namespace pf {

using namespace files_detail;

namespace {

constexpr size_t kMaxOpenFiles = 512;

struct OpenFile {
    bool in_use = false;
    int fd = -1;
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    bool reads = false;
    bool writes = false;
    bool shared = false;
    bool deny_read = false;
    bool deny_write = false;
    bool written = false;
};

std::vector<OpenFile>& open_files() {
    static std::vector<OpenFile> table;
    return table;
}

OpenFile* file_of(int16_t ref, OSErr& err) {
    auto& table = open_files();
    if (ref <= 0 || size_t(ref) > table.size()) {
        err = kBadRefNumErr;
        return nullptr;
    }
    OpenFile& f = table[ref - 1];
    err = f.in_use ? noErr : kFileNotOpenErr;
    return f.in_use ? &f : nullptr;
}

int16_t free_slot() {
    auto& table = open_files();
    for (size_t i = 0; i < table.size(); ++i) {
        if (!table[i].in_use) return int16_t(i + 1);
    }
    if (table.size() >= kMaxOpenFiles) return 0;
    table.emplace_back();
    return int16_t(table.size());
}

// What an opening asks for, from the permission byte.
struct Access {
    bool reads, writes, shared, deny_read, deny_write;
};

Access access_of(int8_t permission, bool writable) {
    int mode = permission & 0x0F;
    Access a{};
    a.reads = mode != kWritePermission;
    a.writes = mode == kWritePermission || mode == kReadWritePermission ||
               mode == kSharedReadWritePermission || (mode == kCurrentPermission && writable);
    a.shared = mode == kSharedReadWritePermission;
    a.deny_read = permission & kDenyRead;
    a.deny_write = permission & kDenyWrite;
    return a;
}

// Checks a new opening against the openings of the same file; answers the
// clash, with the ref of an opening for writing in `existing`.
OSErr clash_with_open(dev_t device, ino_t inode, const Access& a, int16_t& existing) {
    auto& table = open_files();
    for (size_t i = 0; i < table.size(); ++i) {
        const OpenFile& f = table[i];
        if (!f.in_use || f.device != device || f.inode != inode) continue;
        if (a.writes && f.writes && !(a.shared && f.shared)) {
            existing = int16_t(i + 1);
            return kOpenForWriteErr;
        }
        if ((a.writes && f.deny_write) || (a.reads && f.deny_read) || (a.deny_write && f.writes) ||
            (a.deny_read && f.reads))
            return kPermissionErr;
    }
    return noErr;
}

FileChangeHook change_hook = nullptr;

void write_finder_attribute(const std::string& path, FourCC type, FourCC creator) {
    FinderInfo info;
    info.type = type;
    info.creator = creator;
    FileSpec spec;
    if (file_spec_from_path(path, spec) == noErr) set_finder_info(spec, info);
}

// A new empty file of the given mode (less the process's mask).
OSErr create_with_mode(const FileSpec& spec, FourCC creator, FourCC type, mode_t mode) {
    std::string path;
    if (OSErr err = path_from_file_spec(spec, path)) return err;
    if (spec.name[0] == 0) return kBadNameErr;
    bytes_allowed(FileChange::create, 0);
    int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) return errno == ENOENT ? kDirectoryNotFoundErr : error_from_errno(errno);
    close(fd);
    if (type || creator) write_finder_attribute(path, type, creator);
    return noErr;
}

}  // namespace

namespace files_detail {

size_t bytes_allowed(FileChange change, size_t bytes) { return change_hook ? change_hook(change, bytes) : bytes; }

bool open_file_path_by_identity(dev_t device, ino_t inode, std::string& path) {
    for (const OpenFile& f : open_files()) {
        if (!f.in_use || f.device != device || f.inode != inode) continue;
        char link_path[64];
        snprintf(link_path, sizeof link_path, "/proc/self/fd/%d", f.fd);
        char target[PATH_MAX];
        ssize_t n = readlink(link_path, target, sizeof target - 1);
        if (n <= 0) continue;
        std::string found(target, size_t(n));
        if (found.ends_with(" (deleted)") || found[0] != '/') continue;
        path = found;
        return true;
    }
    return false;
}

bool is_open_by_identity(dev_t device, ino_t inode) {
    for (const OpenFile& f : open_files()) {
        if (f.in_use && f.device == device && f.inode == inode) return true;
    }
    return false;
}

void exchange_open_paths(const std::string& a, const std::string& b) {
    for (OpenFile& f : open_files()) {
        if (!f.in_use) continue;
        if (f.path == a) f.path = b;
        else if (f.path == b) f.path = a;
    }
}

// Exchange where the file system cannot swap two names in one step: b keeps a
// whole file throughout (rename is atomic); a is missing only between the last
// two steps, and is put back if that step fails.
OSErr exchange_by_links(const std::string& a, const std::string& b) {
    static unsigned counter = 0;
    std::string keep = join_path(parent_path(b), ".quorvin-exchange-" + std::to_string(getpid()) +
                                                     "-" + std::to_string(++counter));
    if (link(b.c_str(), keep.c_str()) != 0) return kParamErr;
    if (rename(a.c_str(), b.c_str()) != 0) {   // b: still its old contents
        OSErr err = error_from_errno(errno);
        unlink(keep.c_str());
        return err;
    }
    if (rename(keep.c_str(), a.c_str()) != 0) {  // a: briefly missing, put things back
        OSErr err = error_from_errno(errno);
        if (link(b.c_str(), a.c_str()) == 0) rename(keep.c_str(), b.c_str());
        unlink(keep.c_str());
        return err;
    }
    return noErr;
}

void rename_open_paths(const std::string& from, const std::string& to) {
    for (OpenFile& f : open_files()) {
        if (f.in_use && f.path == from) f.path = to;
    }
}

}  // namespace files_detail

std::string resource_sidecar_path(std::string_view path) {
    std::string normal = normalise_path(path);
    return join_path(parent_path(normal), "." + leaf_name(normal) + ".rsrc");
}

void set_file_change_hook(FileChangeHook hook) { change_hook = hook; }

OSErr create_file(const FileSpec& spec, FourCC creator, FourCC type) {
    return create_with_mode(spec, creator, type, 0666);
}

OSErr create_private_file(const FileSpec& spec, FourCC creator, FourCC type) {
    return create_with_mode(spec, creator, type, 0600);
}

OSErr open_data_fork(const FileSpec& spec, int8_t permission, int16_t& ref) {
    ref = 0;
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return error_from_errno(errno);
    if (S_ISDIR(st.st_mode)) return kFileNotFoundErr;
    Access a = access_of(permission, access(path.c_str(), W_OK) == 0);
    int16_t existing = 0;
    if (OSErr err = clash_with_open(st.st_dev, st.st_ino, a, existing)) {
        ref = existing;
        return err;
    }
    int16_t slot = free_slot();
    if (slot == 0) return kTooManyFilesOpenErr;
    int fd = open(path.c_str(), (a.writes ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return a.writes && errno == EACCES ? kPermissionErr : error_from_errno(errno);
    OpenFile& f = open_files()[slot - 1];
    f = OpenFile{true, fd, path, st.st_dev, st.st_ino, a.reads, a.writes, a.shared, a.deny_read,
                 a.deny_write, false};
    ref = slot;
    return noErr;
}

OSErr close_file(int16_t ref) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    if (f->written && fdatasync(f->fd) != 0 && errno != EINVAL) err = error_from_errno(errno);
    if (close(f->fd) != 0 && !err) err = error_from_errno(errno);
    *f = OpenFile{};
    return err;
}

OSErr read_file(int16_t ref, int32_t& count, void* buffer) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    int32_t wanted = count;
    count = 0;
    if (!f) return err;
    if (wanted < 0 || (wanted > 0 && !buffer)) return kParamErr;
    auto* out = static_cast<unsigned char*>(buffer);
    while (count < wanted) {
        ssize_t n = read(f->fd, out + count, size_t(wanted - count));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return error_from_errno(errno);
        if (n == 0) return kEndOfFileErr;
        count += int32_t(n);
    }
    return noErr;
}

OSErr write_file(int16_t ref, int32_t& count, const void* buffer) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    int32_t wanted = count;
    count = 0;
    if (!f) return err;
    if (!f->writes) return kWritePermissionErr;
    if (wanted < 0 || (wanted > 0 && !buffer)) return kParamErr;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (count < wanted) {
        const size_t step = bytes_allowed(FileChange::write, size_t(wanted - count));
        if (step == 0) continue;
        ssize_t n = write(f->fd, in + count, step);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? error_from_errno(errno) : kIOErr;
        count += int32_t(n);
        f->written = true;
    }
    return noErr;
}

OSErr get_file_position(int16_t ref, int32_t& position) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    off_t at = lseek(f->fd, 0, SEEK_CUR);
    if (at < 0) return error_from_errno(errno);
    if (at > INT32_MAX) return kPositionErr;
    position = int32_t(at);
    return noErr;
}

OSErr get_end_of_file(int16_t ref, int32_t& length) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    struct stat st;
    if (fstat(f->fd, &st) != 0) return error_from_errno(errno);
    if (st.st_size > INT32_MAX) return kPositionErr;
    length = int32_t(st.st_size);
    return noErr;
}

OSErr read_whole_fork(int16_t ref, int32_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    int32_t length = 0;
    OSErr err = get_end_of_file(ref, length);
    if (err == kPositionErr || (!err && length > limit)) return kFileTooLongErr;
    if (!err) err = set_file_position(ref, kFromStart, 0);
    if (err) return err;
    try {
        bytes.resize(size_t(length));
    } catch (const std::bad_alloc&) {
        return kMemFullErr;
    }
    int32_t count = length;
    if (length > 0) err = read_file(ref, count, bytes.data());
    if (!err && count != length) err = kEndOfFileErr;
    if (err) bytes.clear();
    return err;
}

OSErr read_whole_file(const FileSpec& spec, int32_t limit, std::vector<uint8_t>& bytes) {
    int16_t ref = 0;
    if (OSErr err = open_data_fork(spec, kReadPermission, ref)) return err;
    OSErr err = read_whole_fork(ref, limit, bytes);
    close_file(ref);
    return err;
}

OSErr set_file_position(int16_t ref, int16_t mode, int32_t offset) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    int32_t length = 0, here = 0;
    if (OSErr e = get_end_of_file(ref, length)) return e;
    if (OSErr e = get_file_position(ref, here)) return e;
    int64_t target = mode == kFromStart ? offset
                     : mode == kFromEnd ? int64_t(length) + offset
                     : mode == kFromMark ? int64_t(here) + offset
                     : mode == 0        ? here
                                        : -1;
    if (mode < 0 || mode > kFromMark) return kParamErr;
    if (target < 0) return kPositionErr;
    bool past_end = target > length;
    if (past_end) target = length;
    if (lseek(f->fd, off_t(target), SEEK_SET) < 0) return error_from_errno(errno);
    return past_end ? kEndOfFileErr : noErr;
}

OSErr set_end_of_file(int16_t ref, int32_t length) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    if (!f->writes) return kWritePermissionErr;
    if (length < 0) return kParamErr;
    bytes_allowed(FileChange::resize, 0);
    if (ftruncate(f->fd, length) != 0) return error_from_errno(errno);
    f->written = true;
    return noErr;
}

OSErr flush_file(int16_t ref) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    if (f->written && fdatasync(f->fd) != 0 && errno != EINVAL) return error_from_errno(errno);
    return noErr;
}

OSErr get_file_spec_of_ref(int16_t ref, FileSpec& spec) {
    OSErr err;
    OpenFile* f = file_of(ref, err);
    if (!f) return err;
    std::string path = f->path;
    open_file_path_by_identity(f->device, f->inode, path);
    return file_spec_from_path(path, spec);
}

OSErr delete_file(const FileSpec& spec) {
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return error_from_errno(errno);
    bytes_allowed(FileChange::remove, 0);
    if (S_ISDIR(st.st_mode)) {
        if (rmdir(path.c_str()) != 0) return error_from_errno(errno);
        return noErr;
    }
    if (is_open_by_identity(st.st_dev, st.st_ino)) return kFileBusyErr;
    if (unlink(path.c_str()) != 0) return error_from_errno(errno);
    unlink(resource_sidecar_path(path).c_str());
    return noErr;
}

OSErr rename_file(const FileSpec& spec, const unsigned char* new_name) {
    if (!new_name || new_name[0] == 0) return kBadNameErr;
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    FileSpec target = spec;
    std::memset(target.name, 0, sizeof target.name);
    if (new_name[0] > kMaxSpecName) return kBadNameErr;
    std::memcpy(target.name, new_name, new_name[0] + 1);
    std::string new_path;
    bool taken = false;
    if (OSErr err = resolve_spec(target, new_path, taken)) return err;
    if (taken && new_path != path) return kDuplicateNameErr;
    bytes_allowed(FileChange::rename, 0);
    if (rename(path.c_str(), new_path.c_str()) != 0) return error_from_errno(errno);
    rename(resource_sidecar_path(path).c_str(), resource_sidecar_path(new_path).c_str());
    rename_open_paths(path, new_path);
    return noErr;
}

OSErr exchange_files(const FileSpec& a, const FileSpec& b) {
    std::string path_a, path_b;
    if (OSErr err = existing_path(a, path_a)) return err;
    if (OSErr err = existing_path(b, path_b)) return err;
    if (is_folder(path_a) || is_folder(path_b)) return kParamErr;
    if (path_a == path_b) return noErr;
    bytes_allowed(FileChange::rename, 0);
    if (renameat2(AT_FDCWD, path_a.c_str(), AT_FDCWD, path_b.c_str(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return error_from_errno(errno);
        if (OSErr err = exchange_by_links(path_a, path_b)) return err;
    }
    exchange_open_paths(path_a, path_b);
    return noErr;
}

}  // namespace pf
