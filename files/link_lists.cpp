// Keeping link lists consistent with the formulas that name their links.
#include "files/link_lists.h"

#include "core/memory_use.h"
#include "files/files_services.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "files/document_reading.h"
#include "files/formula_walk.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/links.h"
#include "model/workbook.h"
#include "platform/files/files.h"
#include "platform/text/text.h"

namespace {

constexpr CellRange kWholeGrid{{0, 0}, {kLastCell, kLastCell}};

// Calls `visit` with the link-id bytes of every link token of the formula
// cells of a cell block inside a range.
template <typename Visit>
void for_each_link_token(MemoryRef cells, const CellRange& range, Visit visit) {
    if (!cells || GetByteSize(cells) == 0) return;
    MemoryUse<uint8_t> start(cells);
    uint8_t* end = start + GetByteSize(cells);
    FormulaWalk walk{nullptr, [](uint8_t* id, void* context) { (*static_cast<Visit*>(context))(id); }, &visit};
    for (uint8_t* row = start; end - row >= kRowHeaderSize && _RowLength_(row) > 0;) {
        uint8_t* row_end = row + _RowLength_(row);
        if (row_end > end) break;
        int16_t row_id = _RowID_(row);
        for (uint8_t* cell = row + kRowHeaderSize; row_end - cell >= kCellHeaderSize && _cellLength_(cell) > 0;
             cell += _cellLength_(cell)) {
            if (_cellType_(cell) != kCellFormula || !range_contains(range, row_id, _cellID_(cell))) continue;
            walk_stored_formula(_formulaPtr_(cell), _formulaLength_(cell), walk);
        }
        row = row_end;
    }
}

int16_t record_id(MemoryRef list, int32_t index) {
    MemoryUse<uint8_t> records(list);
    int16_t id = link_id(records + index * kLinkRecordSize);
    return id;
}

bool same_link(const uint8_t* a, const uint8_t* b) {
    return link_id(a) == link_id(b) &&
           std::memcmp(a + kLinkSpecOffset, b + kLinkSpecOffset, sizeof(pf::FileSpec)) == 0 &&
           pf::equal_pstring(a + kLinkPathOffset, b + kLinkPathOffset, false, true);
}

bool refers_to(MemoryRef cells, const CellRange& range, int16_t id) {
    return GetFileLinkInfo(id, id, range.topLeft, range.botRight, cells) != 0;
}

// Keeps the links that some formula of the layer names, in list order.
void keep_used_links(MemoryRef links, MemoryRef cells) {
    for (int32_t i = GetMemorySize(links) - 1; i >= 0; --i)
        if (!refers_to(cells, kWholeGrid, record_id(links, i))) DeleteMemory(links, i, 1);
}

void drop_duplicate_links(MemoryRef links) {
    for (int32_t later = GetMemorySize(links) - 1; later > 0; --later) {
        MemoryUse<uint8_t> records(links);
        bool duplicate = false;
        for (int32_t earlier = 0; earlier < later && !duplicate; ++earlier)
            duplicate = same_link(records + earlier * kLinkRecordSize, records + later * kLinkRecordSize);
        records.release();
        if (duplicate) DeleteMemory(links, later, 1);
    }
}

void clean_layer_links(MemoryRef layer) {
    MemoryRef links = GetSheetLinks(layer);
    if (!links) return;
    keep_used_links(links, GetSpreadSheetCells(layer));
    bool emptied = GetMemorySize(links) == 0;
    LayerUse sheet(layer);
    if (emptied) {
        DisposeMemory(links);
        sheet->links = nullptr;
    }
    sheet->flags &= ~kLayerHasLinks;
    sheet.release();
    if (emptied) {
        increment_change_ctr(layer);
        return;
    }
    drop_duplicate_links(links);
    ForceMinimumMemorySize(links);
}

// The index of the layer's link to the same file, or -1.
int32_t find_link_to_file(MemoryRef list, const uint8_t* record) {
    if (!list) return -1;
    MemoryUse<uint8_t> records(list);
    int32_t found = -1;
    for (int32_t i = 0; i < GetMemorySize(list) && found < 0; ++i)
        if (std::memcmp(link_spec(records + i * kLinkRecordSize), link_spec(record), sizeof(pf::FileSpec)) == 0)
            found = i;
    return found;
}

bool link_id_free(MemoryRef list, MemoryRef cells, int16_t id) {
    for (int32_t i = 0; list && i < GetMemorySize(list); ++i)
        if (record_id(list, i) == id) return false;
    return !refers_to(cells, kWholeGrid, id);
}

// An id that no record of the list and no formula of the layer uses: from
// `first` up to the largest id, then on from 0, so that it is never negative
// (a negative id names no link). With every id taken `first` is kept.
int16_t free_link_id(MemoryRef list, MemoryRef cells, int16_t first) {
    constexpr int32_t kIdCount = INT16_MAX + 1;
    const int32_t start = first < 0 ? 0 : first;
    for (int32_t n = 0; n < kIdCount; ++n) {
        auto id = int16_t((start + n) % kIdCount);
        if (link_id_free(list, cells, id)) return id;
    }
    return first;
}

void set_record_id(uint8_t* record, int16_t id) { store_i16(record, id); }

}  // namespace

int16_t GetFileLinkInfo(int16_t old_id, int16_t new_id, CellPoint top_left, CellPoint bottom_right,
                        MemoryRef cells) {
    int16_t found = 0;
    for_each_link_token(cells, CellRange{top_left, bottom_right}, [&](uint8_t* id_bytes) {
        if (old_id < 0 || load_i16(id_bytes) != old_id) return;
        found = 1;
        if (new_id != old_id) store_i16(id_bytes, new_id);
    });
    return found;
}

void CleanFileData(MemoryRef workbook) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) clean_layer_links(find_SpreadSheet_item(workbook, i));
}

bool formula_links_sound(MemoryRef layer) {
    LayerUse sheet(layer);
    MemoryRef links = sheet->links, cells = sheet->cells;
    sheet.release();
    std::vector<int16_t> ids;
    for (int32_t i = 0; links && i < GetMemorySize(links); ++i) ids.push_back(record_id(links, i));
    bool sound = true;
    for_each_link_token(cells, kWholeGrid, [&](uint8_t* id_bytes) {
        int16_t id = load_i16(id_bytes);
        bool listed = false;
        for (int16_t known : ids) listed = listed || known == id;
        sound = sound && listed;
    });
    return sound;
}

void resolve_linkID(MemoryRef layer) { merge_clip_links(files_services.private_clipboard_links(), layer); }

void merge_clip_links(const ClipLinks& clip, MemoryRef layer) {
    if (!clip.links || GetMemorySize(clip.links) == 0) return;
    MemoryRef list = GetSheetLinks(layer), cells = GetSpreadSheetCells(layer);
    uint32_t id = LayerUse(layer)->memory_id;
    bool new_list = !list;
    if (new_list) {
        list = pgAllocateNewRef(&mem_globals, kLinkRecordSize, 0, 0, false);
        if (!list) return;
        SetMemoryRefID(list, id);
    }
    for (int32_t i = 0; i < GetMemorySize(clip.links); ++i) {
        uint8_t record[kLinkRecordSize];
        GetMemoryRecord(clip.links, i, record);
        int16_t clip_id = link_id(record);
        if (!refers_to(clip.cells, clip.range, clip_id)) continue;
        int32_t existing = find_link_to_file(list, record);
        int16_t target = existing >= 0 ? record_id(list, existing) : free_link_id(list, cells, clip_id);
        if (target != clip_id) {
            GetFileLinkInfo(clip_id, target, clip.range.topLeft, clip.range.botRight, clip.cells);
            MemoryUse<uint8_t> clip_records(clip.links);
            set_record_id(clip_records + i * kLinkRecordSize, target);
            clip_records.release();
            set_record_id(record, target);
        }
        if (existing < 0) PtrAndMemory(record, list, 1);
    }
    if (new_list && GetMemorySize(list) == 0) {
        DisposeMemory(list);
        return;
    }
    LayerUse sheet(layer);
    sheet->links = list;
    sheet->flags |= kLayerHasLinks;
}
