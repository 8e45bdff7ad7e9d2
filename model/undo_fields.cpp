// Reading, writing and disposing of the fields of undo records.
#include "model/undo_fields.h"

#include <cstring>

#include "core/memory_use.h"
#include "model/model_services.h"

UndoRecord read_undo(MemoryRef undo) {
    UndoRecord fields{};
    if (undo) GetMemoryRecord(undo, 0, &fields);
    return fields;
}

void write_undo_fields(MemoryRef undo, const UndoRecord& fields) {
    std::memcpy(MemoryUse<>(undo).get(), &fields, sizeof fields);
}

std::array<MemoryRef, 9> undo_blocks_of(const UndoRecord& fields) {
    return {fields.first,   fields.second,    fields.column_formats, fields.row_formats, fields.fifth,
            fields.id_list, fields.move_list, fields.formulas,       fields.page_breaks};
}

void dispose_undo_fields(const UndoRecord& fields) {
    for (MemoryRef block : undo_blocks_of(fields)) DisposeNonNilMemory(block);
    if (fields.objects) model_services.dispose_object_chain(fields.objects);
}

void DisposeUndo(MemoryRef undo) {
    if (!undo) return;
    dispose_undo_fields(read_undo(undo));
    DisposeFailedMemory(undo);
}
