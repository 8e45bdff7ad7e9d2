// The kinds of drawing object that a feature above the objects adds (charts):
// the feature registers its procedures at start-up, and the objects reach its
// objects only through this table. An object of such a kind may keep a part
// of its own (ObjectRecord::chart), which the objects hold, store and free as
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "objects/object_records.h"
#include "platform/menus/menus.h"
#include "platform/types.h"

struct ObjectKindProcs {
    // Whether an object kind is one of the feature's.
    bool (*owns_kind)(pf::FourCC kind);
    // Draws an object of the kind in its rectangle.
    void (*draw)(MemoryRef object, const pf::Rect& rect);

    // The stored form of the part: its length at the start of the bytes (0
    // when they do not hold a whole one), the part's bytes from it (nothing
    // when damaged), and the stored form of the part's bytes.
    size_t (*stored_part_length)(std::span<const uint8_t> bytes);
    std::optional<std::vector<uint8_t>> (*part_from_stored)(std::span<const uint8_t> stored);
    std::vector<uint8_t> (*stored_from_part)(std::span<const uint8_t> part);

    // Copies: what a copy keeps of its original beyond the record (false when
    // memory failed); a chain pasted or dropped into a layer settled there.
    bool (*keep_copied_values)(MemoryRef copy, MemoryRef original);
    void (*settle_pasted_chain)(MemoryRef chain, MemoryRef layer);

    // The cells an object of the kind reads: the data range and source layer
    // (0 when it has none), and set (for undo and redo).
    int16_t (*data_source)(MemoryRef object, CellRange* range, int16_t* layer);
    int16_t (*set_data_source)(MemoryRef object, const CellRange& range, int16_t layer);

    // Rows or columns inserted or deleted: whether a part held in a layer
    // reads the source layer; its data shifted; the placement its data keeps
    // saved and put back; the parts held in other layers that read the layer
    // shifted (their placements added to the list) and put back.
    bool (*part_reads_layer)(MemoryRef part, MemoryRef holder, MemoryRef source);
    void (*shift_part_data)(MemoryRef part, bool rows, int16_t first, int16_t count);
    void (*keep_part_placement)(MemoryRef part, CellRange* data, int16_t* name_column, int16_t* name_row);
    void (*restore_part_placement)(MemoryRef part, const CellRange& data, int16_t name_column, int16_t name_row);
    void (*shift_other_layers)(MemoryRef placements, bool rows, int16_t first, int16_t count, MemoryRef layer);
    void (*restore_other_layers)(MemoryRef placements, MemoryRef layer);

    // The Object menu's items of the kind set for the layer.
    void (*set_menus)(pf::MenuRef object_menu, MemoryRef layer);
};

// Adds a kind's procedures to the table (at start-up).
void register_object_kind(const ObjectKindProcs& procs);
// Every registered kind.
const std::vector<ObjectKindProcs>& added_object_kinds();
// The registered kind an object record is of (its kind is the feature's, or
// it keeps a part); none for the objects' own kinds.
const ObjectKindProcs* added_kind_of(pf::FourCC kind, bool keeps_part);
const ObjectKindProcs* added_kind_of(const ObjectRecord& record);
const ObjectKindProcs* added_kind_of(MemoryRef object);
// A chain pasted or dropped into the layer settled by every added kind.
void settle_added_kinds(MemoryRef chain, MemoryRef layer);
