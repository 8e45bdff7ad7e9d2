// Links between documents.
#include "model/links.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/record_bytes.h"
#include "model/workbook.h"
#include "platform/files/files.h"
#include "platform/text/mac_roman.h"

namespace {

constexpr int kLinkListExtend = 4;

// A long file name is shown shortened and carries a key of the real name in
// its last bytes (name[58..63], marked by 0xA5 0x4B at 58 and 59).
constexpr int kNameKeyOffset = 58;
constexpr int kNameKeySize = 6;

bool has_name_key(const uint8_t* name) {
    return name[kNameKeyOffset] == 0xA5 && name[kNameKeyOffset + 1] == 0x4B;
}

bool names_equal(const uint8_t* a, const uint8_t* b) {
    if (a[0] != b[0] || std::memcmp(a + 1, b + 1, a[0]) != 0) return false;
    if (a[0] >= kNameKeyOffset || (!has_name_key(a) && !has_name_key(b))) return true;
    return std::memcmp(a + kNameKeyOffset, b + kNameKeyOffset, kNameKeySize) == 0;
}

// The same file: volume, folder and name (with a long name's key) agree.
bool specs_equal(const uint8_t* a, const uint8_t* b) {
    if (load_i16(a) != load_i16(b)) return false;
    if (load_i32(a + kFileSpecFolderOffset) != load_i32(b + kFileSpecFolderOffset)) return false;
    return names_equal(a + kFileSpecNameOffset, b + kFileSpecNameOffset);
}

// Copies the file specification of a workbook's document; false when it has none.
bool workbook_spec(MemoryRef workbook, uint8_t* spec) {
    MemoryRef info = Get_fileinfo(workbook);
    if (!info || GetByteSize(info) < kFileSpecSize) return false;
    std::memcpy(spec, MemoryUse<>(info).get(), kFileSpecSize);
    return true;
}

// Finds the first open workbook that satisfies `matches`.
template <typename Predicate>
int16_t find_open_workbook(MemoryRef* workbook, Predicate matches) {
    for (int32_t i = 0; i < count_open_workbooks(&quorvin_rsrv); ++i) {
        MemoryRef candidate = open_workbook_at(&quorvin_rsrv, i);
        uint8_t spec[kFileSpecSize];
        if (workbook_spec(candidate, spec) && matches(spec)) {
            *workbook = candidate;
            return 1;
        }
    }
    return 0;
}

// The index of the record whose file is `spec`, or -1; also the largest id.
int32_t find_link_by_spec(MemoryRef list, const uint8_t* spec, int16_t* largest_id) {
    *largest_id = -1;
    if (!list) return -1;
    MemoryUse<uint8_t> records(list);
    int32_t found = -1;
    for (int32_t i = 0; i < GetMemorySize(list); ++i) {
        const uint8_t* record = records + i * kLinkRecordSize;
        *largest_id = std::max(*largest_id, link_id(record));
        if (found < 0 && specs_equal(link_spec(record), spec)) found = i;
    }
    return found;
}

void fill_link(uint8_t* record, int16_t id, const uint8_t* spec, const unsigned char* path) {
    std::memset(record, 0, kLinkRecordSize);
    store_i16(record, id);
    std::memcpy(record + kLinkSpecOffset, spec, kFileSpecSize);
    std::memcpy(record + kLinkPathOffset, path, size_t(path[0]) + 1);
}

// One more than the largest id, so that ids stay unique after links were
// dropped; past the largest possible id, the lowest id no record holds (a
// negative id names no link).
int16_t new_link_id(MemoryRef list, int16_t largest_id) {
    if (largest_id < INT16_MAX) return int16_t(largest_id + 1);
    std::vector<bool> taken(size_t(INT16_MAX) + 1);
    MemoryUse<const uint8_t> records(list);
    for (int32_t i = 0; i < GetMemorySize(list); ++i) {
        int16_t id = link_id(records + i * kLinkRecordSize);
        if (id >= 0) taken[size_t(id)] = true;
    }
    records.release();
    auto free_id = std::find(taken.begin(), taken.end(), false);
    return int16_t(free_id - taken.begin());
}

}  // namespace

void link_path_of(const uint8_t* spec, unsigned char* path) {
    path[0] = 0;
    pf::FileSpec file;
    std::memcpy(&file, spec, sizeof file);
    std::string posix;
    if (pf::path_from_file_spec(file, posix) != pf::noErr) return;
    std::string text = pf::utf8_to_mac_roman(posix);
    path[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(path + 1, text.data(), path[0]);
}

int16_t link_id(const uint8_t* record) { return load_i16(record); }
const uint8_t* link_spec(const uint8_t* record) { return record + kLinkSpecOffset; }

void CheckFileInfo(int16_t* id, MemoryRef layer, MemoryRef linked_workbook, const unsigned char* name) {
    (void)name;
    uint8_t spec[kFileSpecSize];
    if (!linked_workbook || !workbook_spec(linked_workbook, spec)) return;
    LayerUse sheet(layer);
    int16_t largest_id;
    int32_t index = find_link_by_spec(sheet->links, spec, &largest_id);
    if (index >= 0) {
        MemoryUse<uint8_t> records(sheet->links);
        *id = link_id(records + index * kLinkRecordSize);
        return;
    }
    if (!sheet->links) {
        sheet->links = pgAllocateNewRef(sheet->machine->memory, kLinkRecordSize, 0, kLinkListExtend, true);
        if (!sheet->links) {
            return;
        }
        SetMemoryRefID(sheet->links, sheet->memory_id);
    }
    uint8_t record[kLinkRecordSize];
    unsigned char path[256];
    link_path_of(spec, path);
    *id = new_link_id(sheet->links, largest_id);
    fill_link(record, *id, spec, path);
    PtrAndMemory(record, sheet->links, 1);
    sheet->flags |= kLayerHasLinks;
}

int16_t MatchFileStr(const unsigned char* name, MemoryRef* workbook) {
    return find_open_workbook(workbook, [&](const uint8_t* spec) {
        const uint8_t* file_name = spec + kFileSpecNameOffset;
        return file_name[0] == name[0] && std::memcmp(file_name + 1, name + 1, name[0]) == 0;
    });
}

int16_t MatchFileSpec(const uint8_t* spec, MemoryRef* workbook) {
    return find_open_workbook(workbook, [&](const uint8_t* open) { return specs_equal(open, spec); });
}

int16_t find_link_workbook(MemoryRef layer, int16_t id, MemoryRef* workbook) {
    MemoryRef list = GetSheetLinks(layer);
    if (!list) return 0;
    uint8_t spec[kFileSpecSize];
    bool found = false;
    MemoryUse<uint8_t> records(list);
    for (int32_t i = 0; i < GetMemorySize(list) && !found; ++i) {
        if (link_id(records + i * kLinkRecordSize) != id) continue;
        std::memcpy(spec, link_spec(records + i * kLinkRecordSize), kFileSpecSize);
        found = true;
    }
    records.release();
    return found ? MatchFileSpec(spec, workbook) : 0;
}

void CheckLinks(const uint8_t* new_spec, const unsigned char* new_path, MemoryRef layer,
                ConfirmRedirect confirm) {
    uint8_t old_spec[kFileSpecSize];
    if (!workbook_spec(GetWorkSheet(layer), old_spec)) return;
    bool asked = false;
    for (int32_t w = 0; w < count_open_workbooks(&quorvin_rsrv); ++w) {
        MemoryRef workbook = open_workbook_at(&quorvin_rsrv, w);
        for (int16_t l = 0; l < num_SpreadSheets(workbook); ++l) {
            MemoryRef other = find_SpreadSheet_item(workbook, l);
            MemoryRef list = GetSheetLinks(other);
            int16_t largest_id;
            int32_t index = find_link_by_spec(list, old_spec, &largest_id);
            if (index < 0) continue;
            if (!asked) {
                asked = true;
                if (confirm && !confirm(new_spec + kFileSpecNameOffset)) return;
            }
            MemoryUse<uint8_t> list_bytes(list);
            auto* record = list_bytes + index * kLinkRecordSize;
            fill_link(record, link_id(record), new_spec, new_path);
            list_bytes.release();
            increment_change_ctr(other);
        }
    }
}
