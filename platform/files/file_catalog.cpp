// Catalog information (by name and by index), types and creators, locks,
// the volume, and the special folders.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/files/files_internal.h"
#include "platform/resources/byte_reader.h"

namespace pf {

using namespace files_detail;

namespace {

constexpr const char* kFinderAttribute = "user.quorvin.finfo";
constexpr size_t kFinderAttributeSize = 10;

void put_be32(unsigned char* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

bool has_extension(std::string_view name, std::string_view ext) {
    if (name.size() <= ext.size()) return false;
    std::string_view tail = name.substr(name.size() - ext.size());
    return std::equal(tail.begin(), tail.end(), ext.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool read_stored_finder_info(const std::string& path, FinderInfo& info) {
    unsigned char bytes[kFinderAttributeSize];
    ssize_t n = getxattr(path.c_str(), kFinderAttribute, bytes, sizeof bytes);
    if (n != ssize_t(kFinderAttributeSize)) return false;
    ByteReader in{bytes};
    info.type = in.u32();
    info.creator = in.u32();
    info.flags = in.u16();
    return true;
}

// Names beginning with a dot are hidden by convention, files and folders alike.
bool is_dot_name(const std::string& path) { return leaf_name(path).starts_with('.'); }

FinderInfo finder_info_of_path(const std::string& path) {
    FinderInfo info;
    if (!read_stored_finder_info(path, info)) {
        unsigned char head[8] = {};
        ssize_t n = 0;
        struct stat st;
        bool regular = stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        int fd = regular ? open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
        if (fd >= 0) {
            n = read(fd, head, sizeof head);
            close(fd);
        }
        info = derive_finder_info(leaf_name(path), head, n > 0 ? size_t(n) : 0);
    }
    if (is_dot_name(path)) info.flags |= kFinderFlagInvisible;
    return info;
}

// The visible entries of a folder, in name order.
std::vector<std::string> list_folder(const std::string& folder, OSErr& err) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    err = dir ? noErr : error_from_errno(errno);
    if (!dir) return names;
    while (dirent* e = readdir(dir.get())) {
        std::string_view n = e->d_name;
        if (n == "." || n == ".." || is_sidecar_of_existing(folder, n)) continue;
        names.emplace_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct ListingCache {
    uint32_t folder = 0;
    int64_t stamp = -1;
    std::vector<std::string> names;
};

int64_t change_stamp(const struct stat& st) {
    return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

OSErr fill_catalog_info(const std::string& path, uint32_t parent, CatalogInfo& info) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return error_from_errno(errno);
    info = CatalogInfo{};
    info.parent = parent;
    if (path == "/") {
        std::memcpy(info.name, "\x08" "Computer", 9);
    } else {
        spec_name_from_posix_name(leaf_name(path), info.name);
    }
    info.locked = access(path.c_str(), W_OK) != 0;
    info.modified = st.st_mtim.tv_sec;
    info.is_folder = S_ISDIR(st.st_mode);
    if (info.is_folder) {
        info.folder_id = path == "/" ? kRootFolderId : folder_id_for(path);
        OSErr err;
        info.item_count = uint32_t(list_folder(path, err).size());
        if (is_dot_name(path)) info.finder.flags |= kFinderFlagInvisible;
        return noErr;
    }
    info.data_length = st.st_size;
    struct stat side;
    if (stat(resource_sidecar_path(path).c_str(), &side) == 0) info.resource_length = side.st_size;
    info.finder = finder_info_of_path(path);
    return noErr;
}

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir;
    return "/";
}

std::string xdg_folder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return normalise_path(value);
    return normalise_path(home_folder() + "/" + fallback);
}

std::string special_folder_path(FolderKind kind) {
    switch (kind) {
    case FolderKind::preferences:
        return xdg_folder("XDG_CONFIG_HOME", ".config");
    case FolderKind::temporary_items: {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp && tmp[0] == '/' ? tmp : "/tmp";
        return normalise_path(base + "/quorvin-" + std::to_string(getuid()));
    }
    case FolderKind::trash:
        return xdg_folder("XDG_DATA_HOME", ".local/share") + "/Trash/files";
    }
    return "/";
}

OSErr make_folders(const std::string& path, mode_t mode) {
    if (path == "/") return noErr;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? noErr : kDuplicateNameErr;
    if (OSErr err = make_folders(parent_path(path), 0777)) return err;
    if (mkdir(path.c_str(), mode) != 0 && errno != EEXIST) return error_from_errno(errno);
    return noErr;
}

}  // namespace

namespace {
std::vector<FileKindGuess>& file_kind_guesses() {
    static std::vector<FileKindGuess> kinds;
    return kinds;
}

FinderInfo guessed_info(const FileKindGuess& kind) {
    FinderInfo info;
    info.type = kind.type;
    info.creator = kind.creator;
    return info;
}
}  // namespace

void set_file_kind_guesses(std::vector<FileKindGuess> kinds) { file_kind_guesses() = std::move(kinds); }

FinderInfo derive_finder_info(std::string_view name, const unsigned char* head, size_t length) {
    const std::vector<FileKindGuess>& kinds = file_kind_guesses();
    for (const FileKindGuess& kind : kinds)
        if (head && kind.sniff && kind.sniff(head, length)) return guessed_info(kind);
    for (const FileKindGuess& kind : kinds)
        for (const std::string& extension : kind.extensions)
            if (has_extension(name, extension)) return guessed_info(kind);
    return FinderInfo{};
}

OSErr get_catalog_info(const FileSpec& spec, CatalogInfo& info) {
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    uint32_t parent = path == "/" ? kRootParentId : folder_id_for(parent_path(path));
    return fill_catalog_info(path, parent, info);
}

OSErr get_catalog_info_by_index(int16_t volume, uint32_t folder, int index, CatalogInfo& info,
                                FileSpec* spec) {
    static ListingCache cache;
    if (index < 1) return kParamErr;
    std::string folder_path;
    if (OSErr err = path_from_folder_id(volume, folder, folder_path)) return err;
    struct stat st;
    if (stat(folder_path.c_str(), &st) != 0) return kDirectoryNotFoundErr;
    if (index == 1 || cache.folder != folder || cache.stamp != change_stamp(st)) {
        OSErr err;
        cache.names = list_folder(folder_path, err);
        if (err) return err;
        cache.folder = folder;
        cache.stamp = change_stamp(st);
    }
    if (size_t(index) > cache.names.size()) return kFileNotFoundErr;
    std::string path = join_path(folder_path, cache.names[index - 1]);
    if (OSErr err = fill_catalog_info(path, folder, info)) return err;
    if (spec) return file_spec_from_path(path, *spec);
    return noErr;
}

OSErr get_finder_info(const FileSpec& spec, FinderInfo& info) {
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    info = finder_info_of_path(path);
    return noErr;
}

OSErr set_finder_info(const FileSpec& spec, const FinderInfo& info) {
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    unsigned char bytes[kFinderAttributeSize];
    put_be32(bytes, info.type);
    put_be32(bytes + 4, info.creator);
    uint16_t flags = info.flags & ~kFinderFlagInvisible;
    bytes[8] = uint8_t(flags >> 8);
    bytes[9] = uint8_t(flags);
    bytes_allowed(FileChange::attributes, 0);
    if (setxattr(path.c_str(), kFinderAttribute, bytes, sizeof bytes, 0) == 0) return noErr;
    if (errno == ENOTSUP || errno == EPERM) return noErr;  // no attributes here: derived values serve
    return error_from_errno(errno);
}

OSErr check_object_lock(const FileSpec& spec) {
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    if (access(path.c_str(), W_OK) == 0) return noErr;
    return errno == EACCES || errno == EPERM ? kFileLockedErr : error_from_errno(errno);
}

OSErr get_volume_info(int16_t volume, VolumeInfo& info) {
    if (volume != kSystemVolume && volume != 0) return kNoSuchVolumeErr;
    info = VolumeInfo{};
    std::memcpy(info.name, "\x08" "Computer", 9);
    struct statvfs vfs;
    std::string home = home_folder();
    if (statvfs(home.c_str(), &vfs) == 0) info.free_bytes = int64_t(vfs.f_bavail) * int64_t(vfs.f_frsize);
    return noErr;
}

// The one volume spans every mount, so it is never locked as a whole; a
// read-only mount answers kWriteProtectedErr when a file on it is written.
OSErr check_volume_lock(int16_t volume) {
    return volume == kSystemVolume || volume == 0 ? noErr : kNoSuchVolumeErr;
}

// Written files are flushed when they are closed; nothing more to do here.
OSErr flush_volume(int16_t volume) {
    return check_volume_lock(volume);
}

OSErr find_folder(FolderKind kind, bool create, int16_t& volume, uint32_t& folder) {
    std::string path = special_folder_path(kind);
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        if (!create) return kFileNotFoundErr;
        mode_t mode = kind == FolderKind::temporary_items ? 0700 : 0777;
        if (OSErr err = make_folders(path, mode)) return err;
        if (kind == FolderKind::trash) make_folders(parent_path(path) + "/info", 0777);
    }
    volume = kSystemVolume;
    return folder_id_from_path(path, folder);
}

OSErr create_folder(const FileSpec& spec, uint32_t& folder) {
    std::string path;
    bool exists = false;
    if (OSErr err = resolve_spec(spec, path, exists)) return err;
    if (exists) return kDuplicateNameErr;
    if (mkdir(path.c_str(), 0777) != 0) return error_from_errno(errno);
    return folder_id_from_path(path, folder);
}

}  // namespace pf
