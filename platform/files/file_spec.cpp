// File specifications: the folder-id table, the mapping of POSIX names to spec
// names (exact, or a display form with a hidden key) and back, spec <-> path.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <unordered_map>

#include "platform/files/files_internal.h"
#include "platform/text/mac_roman.h"

namespace pf {

using namespace files_detail;

namespace {

constexpr int kDisplayLimit = 57;            // visible bytes of a display form
constexpr unsigned char kKeyMarker0 = 0xA5;  // name[58], name[59]
constexpr unsigned char kKeyMarker1 = 0x4B;
constexpr unsigned char kEllipsis = 0xC9;    // Mac Roman "..."
constexpr size_t kMaxFolders = 1u << 22;

struct FolderTable {
    std::unordered_map<uint32_t, std::string> path_of;
    std::unordered_map<std::string, uint32_t> id_of;
    std::string registry;
};

FolderTable& folders() {
    static FolderTable table = [] {
        FolderTable t;
        t.path_of[kRootFolderId] = "/";
        t.id_of["/"] = kRootFolderId;
        return t;
    }();
    return table;
}

bool id_is_free(const FolderTable& t, uint32_t id) {
    return id > kRootFolderId && !t.path_of.count(id);
}

void insert_folder(FolderTable& t, uint32_t id, const std::string& path) {
    t.path_of[id] = path;
    t.id_of[path] = id;
}

void append_to_registry(const FolderTable& t, uint32_t id, const std::string& path) {
    if (t.registry.empty() || path.find('\n') != std::string::npos) return;
    if (FILE* f = std::fopen(t.registry.c_str(), "a")) {
        std::fprintf(f, "%08x\t%s\n", id, path.c_str());
        std::fclose(f);
    }
}

bool is_dot_name(std::string_view n) { return n == "." || n == ".."; }

void put_pstring(unsigned char out[64], std::string_view text) {
    std::memset(out, 0, 64);
    size_t n = std::min<size_t>(text.size(), kMaxSpecName);
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(out + 1, text.data(), n);
}

std::string_view visible_name(const unsigned char* name) {
    return {reinterpret_cast<const char*>(name + 1), std::min<size_t>(name[0], kMaxSpecName)};
}

bool has_hidden_key(const unsigned char name[64]) {
    return name[0] <= kDisplayLimit && name[58] == kKeyMarker0 && name[59] == kKeyMarker1;
}

uint32_t hidden_key(const unsigned char name[64]) {
    return (uint32_t(name[60]) << 24) | (uint32_t(name[61]) << 16) | (uint32_t(name[62]) << 8) |
           name[63];
}

// The Mac Roman form of a POSIX name with ':' shown as '/'; exact when it
// converts back to the same bytes.
std::string mac_form(std::string_view posix_name, bool& exact) {
    std::string mac = utf8_to_mac_roman(posix_name, '?');
    exact = mac_roman_to_utf8(mac) == posix_name && mac.find('\0') == std::string::npos;
    for (char& c : mac) {
        if (c == ':') c = '/';
    }
    return mac;
}

// Looks in a folder for the entry a keyed display name stands for.
bool find_keyed_entry(const std::string& folder, const unsigned char name[64], std::string& leaf) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return false;
    uint32_t key = hidden_key(name);
    std::string_view shown = visible_name(name);
    while (dirent* e = readdir(dir.get())) {
        std::string_view entry = e->d_name;
        if (is_dot_name(entry) || hash32(entry) != key) continue;
        unsigned char candidate[64];
        spec_name_from_posix_name(entry, candidate);
        if (visible_name(candidate) == shown) {
            leaf = entry;
            return true;
        }
    }
    return false;
}

// The exact POSIX names behind keyed spec names made from paths, by folder and
// key: a file that is not there yet is created under the name it was given.
std::map<std::pair<uint32_t, uint32_t>, std::string>& given_names() {
    static std::map<std::pair<uint32_t, uint32_t>, std::string> names;
    return names;
}

void remember_given_name(uint32_t folder, std::string_view leaf, const unsigned char name[64]) {
    given_names()[{folder, hidden_key(name)}] = leaf;
}

bool find_given_name(uint32_t folder, const unsigned char name[64], std::string& leaf) {
    auto it = given_names().find({folder, hidden_key(name)});
    if (it == given_names().end()) return false;
    unsigned char candidate[64];
    spec_name_from_posix_name(it->second, candidate);
    if (visible_name(candidate) != visible_name(name)) return false;
    leaf = it->second;
    return true;
}

bool path_exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

OSErr check_spec_name(const unsigned char* name) {
    if (name[0] > kMaxSpecName) return kBadNameErr;
    std::string_view text = visible_name(name);
    if (text == "." || text == ".." || text.find('\0') != std::string_view::npos) return kBadNameErr;
    return noErr;
}

OSErr folder_path_of(int16_t volume, uint32_t folder, std::string& path) {
    if (volume != kSystemVolume && volume != 0) return kNoSuchVolumeErr;
    if (folder == 0) {
        char buffer[4096];
        if (!getcwd(buffer, sizeof buffer)) return error_from_errno(errno);
        path = normalise_path(buffer);
        return noErr;
    }
    auto it = folders().path_of.find(folder);
    if (it == folders().path_of.end()) return kDirectoryNotFoundErr;
    path = it->second;
    return noErr;
}

}  // namespace

namespace files_detail {

std::string normalise_path(std::string_view path) {
    std::string absolute;
    if (path.empty() || path[0] != '/') {
        char buffer[4096];
        if (getcwd(buffer, sizeof buffer)) absolute = buffer;
        absolute += '/';
    }
    absolute += path;
    std::vector<std::string_view> parts;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (std::string_view part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

std::string parent_path(const std::string& path) {
    if (path == "/") return "";
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string leaf_name(const std::string& path) {
    if (path == "/") return "";
    return path.substr(path.rfind('/') + 1);
}

std::string join_path(const std::string& folder, std::string_view name) {
    std::string out = folder;
    if (out.empty() || out.back() != '/') out += '/';
    out += name;
    return out;
}

bool is_folder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

uint32_t hash32(std::string_view text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h ? h : 1;
}

uint32_t folder_id_for(const std::string& path) {
    FolderTable& t = folders();
    auto it = t.id_of.find(path);
    if (it != t.id_of.end()) return it->second;
    if (t.path_of.size() >= kMaxFolders) return 0;
    uint32_t id = hash32(path);
    while (!id_is_free(t, id)) ++id;
    insert_folder(t, id, path);
    append_to_registry(t, id, path);
    return id;
}

std::string posix_name_from_spec_name(const unsigned char* name) {
    std::string mac(visible_name(name));
    for (char& c : mac) {
        if (c == '/') c = ':';
    }
    return mac_roman_to_utf8(mac);
}

OSErr resolve_spec(const FileSpec& spec, std::string& path, bool& exists) {
    exists = false;
    if (spec.parent == kRootParentId) {
        if (spec.volume != kSystemVolume && spec.volume != 0) return kNoSuchVolumeErr;
        path = "/";
        exists = true;
        return noErr;
    }
    std::string folder;
    if (OSErr err = folder_path_of(spec.volume, spec.parent, folder)) return err;
    if (OSErr err = check_spec_name(spec.name)) return err;
    if (spec.name[0] == 0) {
        path = folder;
        exists = is_folder(folder);
        return noErr;
    }
    // A keyed name stands for its entry, or for the exact name it was made from;
    // never for a file that happens to be called by its display form.
    std::string leaf;
    if (has_hidden_key(spec.name) &&
        (find_given_name(spec.parent, spec.name, leaf) || find_keyed_entry(folder, spec.name, leaf))) {
        path = join_path(folder, leaf);
        exists = path_exists(path);
        return noErr;
    }
    path = join_path(folder, posix_name_from_spec_name(spec.name));
    exists = path_exists(path);
    return noErr;
}

OSErr existing_path(const FileSpec& spec, std::string& path) {
    bool exists = false;
    if (OSErr err = resolve_spec(spec, path, exists)) return err;
    return exists ? noErr : kFileNotFoundErr;
}

OSErr spec_for_path(const std::string& path, FileSpec& out, bool& exists) {
    out = FileSpec{};
    out.volume = kSystemVolume;
    if (path == "/") {
        out.parent = kRootParentId;
        put_pstring(out.name, "Computer");
        exists = true;
        return noErr;
    }
    std::string folder = parent_path(path);
    if (!is_folder(folder)) return kDirectoryNotFoundErr;
    out.parent = folder_id_for(folder);
    if (out.parent == 0) return kTooManyFoldersErr;
    if (!spec_name_from_posix_name(leaf_name(path), out.name)) remember_given_name(out.parent, leaf_name(path), out.name);
    exists = path_exists(path);
    return noErr;
}

bool is_sidecar_of_existing(const std::string& folder, std::string_view entry) {
    constexpr std::string_view kSuffix = ".rsrc";
    if (entry.size() <= kSuffix.size() + 1 || entry[0] != '.' ||
        entry.substr(entry.size() - kSuffix.size()) != kSuffix)
        return false;
    std::string_view base = entry.substr(1, entry.size() - 1 - kSuffix.size());
    return path_exists(join_path(folder, base));
}

}  // namespace files_detail

bool spec_name_from_posix_name(std::string_view posix_name, unsigned char name[64]) {
    bool exact = false;
    std::string mac = mac_form(posix_name, exact);
    if (exact && mac.size() <= size_t(kMaxSpecName)) {
        put_pstring(name, mac);
        return true;
    }
    if (mac.size() > size_t(kDisplayLimit)) {
        mac.resize(kDisplayLimit - 1);
        mac += char(kEllipsis);
    }
    put_pstring(name, mac);
    uint32_t key = hash32(posix_name);
    name[58] = kKeyMarker0;
    name[59] = kKeyMarker1;
    name[60] = uint8_t(key >> 24);
    name[61] = uint8_t(key >> 16);
    name[62] = uint8_t(key >> 8);
    name[63] = uint8_t(key);
    return false;
}

OSErr make_file_spec(int16_t volume, uint32_t folder, const unsigned char* name, FileSpec& out) {
    if (!name) return kParamErr;
    if (OSErr err = check_spec_name(name)) return err;
    std::string folder_path;
    if (folder == kRootParentId) return file_spec_from_path("/", out);
    if (OSErr err = folder_path_of(volume, folder, folder_path)) return err;
    if (!is_folder(folder_path)) return kDirectoryNotFoundErr;
    if (name[0] == 0) return file_spec_from_path(folder_path, out);
    FileSpec spec;
    spec.volume = kSystemVolume;
    spec.parent = folder_id_for(folder_path);
    if (spec.parent == 0) return kTooManyFoldersErr;
    std::memcpy(spec.name, name, name[0] + 1);
    std::string path;
    bool exists = false;
    if (OSErr err = resolve_spec(spec, path, exists)) return err;
    out = spec;
    return exists ? noErr : kFileNotFoundErr;
}

OSErr check_file_spec(const FileSpec& spec) {
    std::string path;
    bool exists = false;
    if (OSErr err = resolve_spec(spec, path, exists)) return err;
    if (exists) return noErr;
    return is_folder(parent_path(path)) ? kFileNotFoundErr : kDirectoryNotFoundErr;
}

OSErr file_spec_from_path(std::string_view path, FileSpec& out) {
    if (path.empty()) return kBadNameErr;
    bool exists = false;
    if (OSErr err = spec_for_path(normalise_path(path), out, exists)) return err;
    return exists ? noErr : kFileNotFoundErr;
}

OSErr path_from_file_spec(const FileSpec& spec, std::string& path) {
    bool exists = false;
    return resolve_spec(spec, path, exists);
}

OSErr file_spec_long_name(const FileSpec& spec, std::string& name) {
    std::string path;
    if (OSErr err = path_from_file_spec(spec, path)) return err;
    name = path == "/" ? std::string("Computer") : leaf_name(path);
    return noErr;
}

bool file_spec_real_name(const FileSpec& spec, std::string& utf8) {
    return has_hidden_key(spec.name) && file_spec_long_name(spec, utf8) == noErr;
}

ScriptText file_spec_shown_name(const FileSpec& spec) {
    ScriptText roman{std::string(visible_name(spec.name)), kScriptRoman, 0};
    std::string name;
    if (!has_hidden_key(spec.name) || file_spec_long_name(spec, name) != noErr) return roman;
    ScriptText spelled = spell_in_a_script(name);
    return spelled.unmapped == 0 ? spelled : roman;
}

std::string file_spec_shown_utf8(const FileSpec& spec) {
    std::string name;
    if (file_spec_real_name(spec, name)) return name;
    return mac_roman_to_utf8(visible_name(spec.name));
}

OSErr folder_id_from_path(std::string_view path, uint32_t& folder) {
    std::string normal = normalise_path(path);
    if (!is_folder(normal)) return path_exists(normal) ? kParamErr : kDirectoryNotFoundErr;
    folder = folder_id_for(normal);
    return folder ? noErr : kTooManyFoldersErr;
}

OSErr path_from_folder_id(int16_t volume, uint32_t folder, std::string& path) {
    if (folder == kRootParentId) return kDirectoryNotFoundErr;
    return folder_path_of(volume, folder, path);
}

OSErr folder_id_of_spec(const FileSpec& spec, uint32_t& folder) {
    std::string path;
    if (OSErr err = existing_path(spec, path)) return err;
    return folder_id_from_path(path, folder);
}

void set_folder_registry(std::string_view registry_path) {
    FolderTable& t = folders();
    t.registry = registry_path;
    if (t.registry.empty()) return;
    std::ifstream in(t.registry);
    std::string line;
    while (std::getline(in, line)) {
        size_t tab = line.find('\t');
        if (tab != 8) continue;
        uint32_t id = uint32_t(std::strtoul(line.substr(0, 8).c_str(), nullptr, 16));
        std::string path = line.substr(9);
        if (path.empty() || path[0] != '/' || !id_is_free(t, id) || t.id_of.count(path)) continue;
        insert_folder(t, id, path);
    }
}

}  // namespace pf
