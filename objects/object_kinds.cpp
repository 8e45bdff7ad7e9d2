#include "objects/object_kinds.h"

namespace {

std::vector<ObjectKindProcs>& kinds() {
    static std::vector<ObjectKindProcs> table;
    return table;
}

}  // namespace

void register_object_kind(const ObjectKindProcs& procs) {
    for (const ObjectKindProcs& known : kinds())
        if (known.owns_kind == procs.owns_kind) return;
    kinds().push_back(procs);
}

const std::vector<ObjectKindProcs>& added_object_kinds() { return kinds(); }

const ObjectKindProcs* added_kind_of(pf::FourCC kind, bool keeps_part) {
    for (const ObjectKindProcs& procs : kinds())
        if (procs.owns_kind(kind)) return &procs;
    // A part belongs to the kind that stores parts, whatever the record's kind says.
    if (keeps_part)
        for (const ObjectKindProcs& procs : kinds())
            if (procs.stored_part_length) return &procs;
    return nullptr;
}

const ObjectKindProcs* added_kind_of(const ObjectRecord& record) {
    return added_kind_of(record.kind, record.chart != nullptr);
}

const ObjectKindProcs* added_kind_of(MemoryRef object) { return added_kind_of(*ObjectUse(object).get()); }

void settle_added_kinds(MemoryRef chain, MemoryRef layer) {
    for (const ObjectKindProcs& procs : kinds()) procs.settle_pasted_chain(chain, layer);
}
