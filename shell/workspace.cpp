// The workspace: the documents to reopen at the next start, kept as "alis"
// resources in the resource fork of the preferences file. Operations that only
// read or remove make nothing: without a fork they do nothing and succeed.
#include <cstring>
#include <vector>

#include "core/memory_use.h"
#include "platform/memory/memory.h"
#include "platform/resources/resource_file.h"
#include "shell/shell_commands.h"
#include "shell/shell_services.h"

namespace {

constexpr pf::FourCC kAliasType = pf::four_cc("alis");

using AliasList = std::vector<std::vector<uint8_t>>;

// Opens an existing fork; kResFileNotFoundErr or kFileNotFoundErr when there is none.
pf::OSErr open_existing_fork(int16_t& ref, int16_t& volume) {
    pf::FileSpec spec;
    pf::OSErr err = prefs_file_spec(&spec, pf::kReadPermission, nullptr);
    if (err) return err;
    volume = spec.volume;
    return pf::resource_file_open(spec, pf::kReadWritePermission, ref);
}

void close_fork(int16_t ref, int16_t volume) {
    pf::resource_file_close(ref);
    pf::flush_volume(volume);
}

// The aliases of the workspace in id order; empty without a fork.
AliasList read_aliases() {
    AliasList aliases;
    int16_t ref, volume;
    if (open_existing_fork(ref, volume)) return aliases;
    int count = pf::resource_file_count(ref, kAliasType);
    for (int index = 1; index <= count; ++index) {
        int16_t id;
        std::vector<uint8_t> data;
        if (pf::resource_file_get_indexed(ref, kAliasType, index, id, data) == pf::noErr) {
            aliases.push_back(std::move(data));
        }
    }
    pf::resource_file_close(ref);
    return aliases;
}

// The first id from count + 1 on that no alias has.
int16_t next_free_alias_id(int16_t ref) {
    int16_t id = int16_t(pf::resource_file_count(ref, kAliasType) + 1);
    std::vector<uint8_t> taken;
    while (pf::resource_file_get(ref, kAliasType, id, taken) == pf::noErr) ++id;
    return id;
}

}  // namespace

int16_t OpenPrefsRsrcFile(int16_t* ref, int16_t* volume) {
    *ref = -1;
    pf::FileSpec spec;
    pf::OSErr err = prefs_file_spec(&spec, pf::kWritePermission, nullptr);
    if (err) return err;
    *volume = spec.volume;
    err = pf::resource_file_create(spec, kQuorvinCreator, kPrefsFileType);
    if (err && err != pf::kDuplicateNameErr) return err;
    err = pf::resource_file_open(spec, pf::kReadWritePermission, *ref);
    if (err) *ref = -1;
    return err;
}

void AddWorkspaceItem(pf::Handle alias) {
    if (!alias) return;
    int16_t ref, volume;
    if (OpenPrefsRsrcFile(&ref, &volume) == pf::noErr) {
        const unsigned char empty_name[] = {0};
        pf::resource_file_add(ref, kAliasType, next_free_alias_id(ref), empty_name, *alias,
                              size_t(pf::get_handle_size(alias)));
        close_fork(ref, volume);
    }
    pf::dispose_handle(alias);
}

void RemoveWorkspaceItems() {
    int16_t ref, volume;
    if (open_existing_fork(ref, volume)) return;
    int16_t id;
    std::vector<uint8_t> data;
    while (pf::resource_file_get_indexed(ref, kAliasType, 1, id, data) == pf::noErr) {
        if (pf::resource_file_remove(ref, kAliasType, id)) break;
    }
    close_fork(ref, volume);
}

int16_t CountWorkspaceItems() { return int16_t(read_aliases().size()); }

int16_t OpenWorkspaceItems() {
    int16_t result = pf::noErr;
    for (const std::vector<uint8_t>& alias : read_aliases()) {
        pf::FileSpec spec;
        bool changed = false;
        result = pf::resolve_alias(alias.data(), alias.size(), spec, changed);
        if (result == pf::noErr) result = shell_services.open_or_bring_document(&spec);
    }
    return result;
}

// The copy is one block of bytes: each alias as a 32-bit length and its bytes.
MemoryRef CopyWorkspaceItems() {
    MemoryRef copy = pgAllocateNewRef(&mem_globals, 1, 0, 64, true);
    for (const std::vector<uint8_t>& alias : read_aliases()) {
        uint32_t length = uint32_t(alias.size());
        PtrAndMemory(&length, copy, sizeof length);
        PtrAndMemory(alias.data(), copy, int32_t(length));
    }
    return copy;
}

namespace {

// The aliases of a copy made by CopyWorkspaceItems; false when its bytes cannot be had.
bool aliases_of_copy(MemoryRef copy, AliasList& aliases) {
    size_t size = size_t(GetMemorySize(copy));
    if (size == 0) return true;
    return with_failure_handler(GetMemoryGlobals(copy), [&] {
        MemoryUse<const uint8_t> bytes(copy);
        for (size_t at = 0; at + sizeof(uint32_t) <= size;) {
            uint32_t length;
            std::memcpy(&length, bytes + at, sizeof length);
            at += sizeof length;
            if (length > size - at) break;
            aliases.emplace_back(bytes + at, bytes + at + length);
            at += length;
        }
    }) == 0;
}

}  // namespace

// A copy whose bytes cannot be brought back leaves the workspace as it is.
void RestoreWorkspaceItems(MemoryRef copy) {
    AliasList aliases;
    bool readable = !copy || aliases_of_copy(copy, aliases);
    DisposeMemory(copy);
    if (!readable) return;
    RemoveWorkspaceItems();
    for (const std::vector<uint8_t>& alias : aliases) {
        AddWorkspaceItem(pf::ptr_to_hand(alias.data(), pf::Size(alias.size())));
    }
}
