// What replacing a file's contents keeps of the file: the file a symbolic link
// leads to, its mode and owners, and its other names (hard links).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/files/files_internal.h"

namespace pf {

using namespace files_detail;

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

// Copies the whole of `from` over the start of `to`, cuts `to` to that
// length and syncs it.
OSErr copy_contents(int from, int to) {
    char buffer[64 * 1024];
    off_t offset = 0;
    for (;;) {
        ssize_t n = pread(from, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return error_from_errno(errno);
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const size_t step = bytes_allowed(FileChange::write, size_t(n - done));
            if (step == 0) continue;
            ssize_t written = pwrite(to, buffer + done, step, offset + done);
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) return error_from_errno(errno);
            done += written;
        }
        offset += n;
    }
    bytes_allowed(FileChange::resize, 0);
    if (ftruncate(to, offset) != 0) return error_from_errno(errno);
    if (fdatasync(to) != 0 && errno != EINVAL) return error_from_errno(errno);
    return noErr;
}

// Syncs a folder, so that a name changed in it stays changed.
void sync_folder(const std::string& folder) {
    Descriptor entries;
    entries.fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (entries.fd >= 0) fsync(entries.fd);
}

}  // namespace

OSErr follow_links(const FileSpec& spec, FileSpec& followed) {
    followed = spec;
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return noErr;
    char target[PATH_MAX];
    if (!realpath(path.c_str(), target)) return noErr;  // a link that leads nowhere is replaced itself
    return file_spec_from_path(target, followed);
}

OSErr count_names(const FileSpec& spec, int& names) {
    names = 0;
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return error_from_errno(errno);
    names = int(st.st_nlink);
    return noErr;
}

OSErr copy_access(const FileSpec& model, const FileSpec& file) {
    std::string model_path, file_path;
    if (OSErr err = existing_path(model, model_path)) return err;
    if (OSErr err = existing_path(file, file_path)) return err;
    struct stat st;
    if (stat(model_path.c_str(), &st) != 0) return error_from_errno(errno);
    // Owners first: a change of owner clears the set-id bits. Only a privileged
    // user may give a file away; the group is kept where the user belongs to it.
    bytes_allowed(FileChange::access, 0);
    if (chown(file_path.c_str(), st.st_uid, st.st_gid) != 0) {
        [[maybe_unused]] int kept_group = chown(file_path.c_str(), uid_t(-1), st.st_gid);
    }
    if (chmod(file_path.c_str(), st.st_mode & 07777) != 0) return error_from_errno(errno);
    return noErr;
}

OSErr write_over(const FileSpec& source, const FileSpec& target) {
    std::string source_path, target_path;
    if (OSErr err = existing_path(source, source_path)) return err;
    if (OSErr err = existing_path(target, target_path)) return err;
    Descriptor from, to;
    from.fd = open(source_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (from.fd < 0) return error_from_errno(errno);
    to.fd = open(target_path.c_str(), O_RDWR | O_CLOEXEC);
    if (to.fd < 0) return errno == EACCES ? kPermissionErr : error_from_errno(errno);
    return copy_contents(from.fd, to.fd);
}

OSErr move_over(const FileSpec& source, const FileSpec& target) {
    std::string source_path, target_path;
    bool exists = false;
    if (OSErr err = existing_path(source, source_path)) return err;
    if (OSErr err = resolve_spec(target, target_path, exists)) return err;
    if (parent_path(normalise_path(source_path)) != parent_path(normalise_path(target_path))) return kParamErr;
    bytes_allowed(FileChange::rename, 0);
    if (rename(source_path.c_str(), target_path.c_str()) != 0) return error_from_errno(errno);
    rename_open_paths(source_path, target_path);
    sync_folder(parent_path(normalise_path(target_path)));
    return noErr;
}

}  // namespace pf
