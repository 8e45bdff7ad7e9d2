// Resource files on disk, read whole into a map and written back whole.
#include "platform/resources/resource_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "platform/resources/byte_reader.h"

namespace pf {

namespace {

constexpr char kMagic[4] = {'Q', 'R', 'S', 'F'};
constexpr uint16_t kResourceFileVersion = 1;
constexpr size_t kHeaderSize = 8;
constexpr size_t kMaxSidecarSize = 16u << 20;
constexpr size_t kMaxResources = 0xFFFF;
constexpr int16_t kFirstRef = 1000;

struct DiskResource {
    FourCC type = 0;
    int16_t id = 0;
    uint16_t attributes = 0;
    std::string name;
    std::vector<uint8_t> data;
};

struct ResourceFile {
    bool in_use = false;
    bool writable = false;
    bool changed = false;
    std::string path;  // the sidecar
    std::vector<DiskResource> resources;
};

std::vector<ResourceFile>& files() {
    static std::vector<ResourceFile> table;
    return table;
}

ResourceFile* file_of(int16_t ref) {
    auto& table = files();
    size_t index = size_t(ref - kFirstRef);
    if (ref < kFirstRef || index >= table.size() || !table[index].in_use) return nullptr;
    return &table[index];
}

void put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

DiskResource* find(ResourceFile& f, FourCC type, int16_t id) {
    for (DiskResource& r : f.resources) {
        if (r.type == type && r.id == id) return &r;
    }
    return nullptr;
}

OSErr parse(const std::vector<uint8_t>& bytes, std::vector<DiskResource>& out) {
    ByteReader in{bytes};
    auto magic = in.take(4);
    if (magic.empty() || std::memcmp(magic.data(), kMagic, 4) != 0 || in.u16() != kResourceFileVersion) return kMapReadErr;
    size_t count = in.u16();
    std::vector<DiskResource> resources;
    std::set<std::pair<FourCC, int16_t>> seen;
    for (size_t i = 0; i < count && in.ok; ++i) {
        DiskResource r;
        r.type = FourCC(in.u32());
        r.id = in.i16();
        r.attributes = in.u16();
        auto name = in.take(in.u8());
        auto data = in.take(in.u32());
        if (!in.ok || !seen.insert({r.type, r.id}).second) return kMapReadErr;
        r.name.assign(name.begin(), name.end());
        r.data.assign(data.begin(), data.end());
        resources.push_back(std::move(r));
    }
    if (!in.ok || !in.at_end()) return kMapReadErr;
    out = std::move(resources);
    return noErr;
}

size_t entry_size(size_t name_length, size_t data_length) { return 13 + name_length + data_length; }

size_t serialised_size(const std::vector<DiskResource>& resources) {
    size_t size = kHeaderSize;
    for (const DiskResource& r : resources) size += entry_size(r.name.size(), r.data.size());
    return size;
}

std::vector<uint8_t> serialise(const std::vector<DiskResource>& resources) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    put(out, kResourceFileVersion, 2);
    put(out, resources.size(), 2);
    for (const DiskResource& r : resources) {
        put(out, r.type, 4);
        put(out, uint16_t(r.id), 2);
        put(out, r.attributes, 2);
        put(out, r.name.size(), 1);
        out.insert(out.end(), r.name.begin(), r.name.end());
        put(out, r.data.size(), 4);
        out.insert(out.end(), r.data.begin(), r.data.end());
    }
    return out;
}

OSErr read_sidecar(const std::string& path, std::vector<DiskResource>& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return errno == ENOENT ? kResFileNotFoundErr : error_from_errno(errno);
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() <= kMaxSidecarSize)
        bytes.insert(bytes.end(), chunk, chunk + n);
    bool failed = std::ferror(f);
    std::fclose(f);
    if (failed) return kIOErr;
    if (bytes.size() > kMaxSidecarSize) return kMapReadErr;
    return parse(bytes, out);
}

// Writes a new sidecar beside the old one and moves it into place.
OSErr write_sidecar(const std::string& path, const std::vector<DiskResource>& resources) {
    std::vector<uint8_t> bytes = serialise(resources);
    std::string temp = path + ".new-" + std::to_string(getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return error_from_errno(errno);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fdatasync(fileno(f)) == 0 && ok;
    OSErr err = ok ? noErr : error_from_errno(errno);
    std::fclose(f);
    if (!err && std::rename(temp.c_str(), path.c_str()) != 0) err = error_from_errno(errno);
    if (err) std::remove(temp.c_str());
    return err;
}

OSErr sidecar_of(const FileSpec& spec, std::string& sidecar, bool& file_exists) {
    std::string path;
    if (OSErr err = path_from_file_spec(spec, path)) return err;
    struct stat st;
    file_exists = stat(path.c_str(), &st) == 0;
    sidecar = resource_sidecar_path(path);
    return noErr;
}

ResourceFile* writable_file(int16_t ref, OSErr& err) {
    ResourceFile* f = file_of(ref);
    err = !f ? kBadRefNumErr : !f->writable ? kWritePermissionErr : noErr;
    return err ? nullptr : f;
}

std::vector<const DiskResource*> of_type_in_id_order(const ResourceFile& f, FourCC type) {
    std::vector<const DiskResource*> found;
    for (const DiskResource& r : f.resources) {
        if (r.type == type) found.push_back(&r);
    }
    std::sort(found.begin(), found.end(), [](auto* a, auto* b) { return a->id < b->id; });
    return found;
}

}  // namespace

OSErr resource_file_create(const FileSpec& spec, FourCC creator, FourCC type) {
    std::string sidecar;
    bool file_exists = false;
    if (OSErr err = sidecar_of(spec, sidecar, file_exists)) return err;
    if (!file_exists) {
        if (OSErr err = create_file(spec, creator, type)) return err;
    }
    struct stat st;
    if (stat(sidecar.c_str(), &st) == 0) return kDuplicateNameErr;
    return write_sidecar(sidecar, {});
}

OSErr resource_file_open(const FileSpec& spec, int8_t permission, int16_t& ref) {
    ref = -1;
    std::string sidecar;
    bool file_exists = false;
    if (OSErr err = sidecar_of(spec, sidecar, file_exists)) return err;
    if (!file_exists) return kFileNotFoundErr;
    auto& table = files();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].in_use && table[i].path == sidecar) {
            ref = int16_t(kFirstRef + i);
            return noErr;
        }
    }
    ResourceFile f;
    if (OSErr err = read_sidecar(sidecar, f.resources)) return err;
    f.in_use = true;
    f.writable = (permission & 0x0F) != kReadPermission;
    f.path = sidecar;
    auto slot = std::find_if(table.begin(), table.end(), [](auto& t) { return !t.in_use; });
    if (slot == table.end()) slot = table.insert(table.end(), ResourceFile{});
    *slot = std::move(f);
    ref = int16_t(kFirstRef + (slot - table.begin()));
    return noErr;
}

OSErr resource_file_update(int16_t ref) {
    ResourceFile* f = file_of(ref);
    if (!f) return kBadRefNumErr;
    if (!f->changed) return noErr;
    if (OSErr err = write_sidecar(f->path, f->resources)) return err;
    f->changed = false;
    return noErr;
}

OSErr resource_file_close(int16_t ref) {
    OSErr err = resource_file_update(ref);
    if (err == kBadRefNumErr) return err;
    *file_of(ref) = ResourceFile{};
    return err;
}

int resource_file_count(int16_t ref, FourCC type) {
    ResourceFile* f = file_of(ref);
    if (!f) return 0;
    return int(std::count_if(f->resources.begin(), f->resources.end(),
                             [type](const DiskResource& r) { return r.type == type; }));
}

OSErr resource_file_get(int16_t ref, FourCC type, int16_t id, std::vector<uint8_t>& data) {
    ResourceFile* f = file_of(ref);
    if (!f) return kBadRefNumErr;
    DiskResource* r = find(*f, type, id);
    if (!r) return kResNotFoundErr;
    data = r->data;
    return noErr;
}

OSErr resource_file_get_indexed(int16_t ref, FourCC type, int index, int16_t& id,
                                std::vector<uint8_t>& data) {
    ResourceFile* f = file_of(ref);
    if (!f) return kBadRefNumErr;
    auto found = of_type_in_id_order(*f, type);
    if (index < 1 || size_t(index) > found.size()) return kResNotFoundErr;
    id = found[index - 1]->id;
    data = found[index - 1]->data;
    return noErr;
}

OSErr resource_file_add(int16_t ref, FourCC type, int16_t id, const unsigned char* name,
                        const void* data, size_t length) {
    OSErr err;
    ResourceFile* f = writable_file(ref, err);
    if (!f) return err;
    size_t name_length = name ? name[0] : 0;
    // A sidecar past the largest size would be refused when read back.
    if (find(*f, type, id) || f->resources.size() >= kMaxResources || (length && !data) ||
        length > kMaxSidecarSize ||
        serialised_size(f->resources) + entry_size(name_length, length) > kMaxSidecarSize)
        return kAddResourceFailedErr;
    DiskResource r;
    r.type = type;
    r.id = id;
    if (name) r.name.assign(reinterpret_cast<const char*>(name + 1), name[0]);
    const auto* bytes = static_cast<const uint8_t*>(data);
    r.data.assign(bytes, bytes + length);
    f->resources.push_back(std::move(r));
    f->changed = true;
    return noErr;
}

OSErr resource_file_remove(int16_t ref, FourCC type, int16_t id) {
    OSErr err;
    ResourceFile* f = writable_file(ref, err);
    if (!f) return err;
    DiskResource* r = find(*f, type, id);
    if (!r) return kResNotFoundErr;
    f->resources.erase(f->resources.begin() + (r - f->resources.data()));
    f->changed = true;
    return noErr;
}

}  // namespace pf
