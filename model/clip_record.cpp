// The private clipboard's record in its block.
#include "model/clip_record.h"

#include <cstring>

#include "core/memory_use.h"
#include "model/model_services.h"

MemoryRef g_Clip = nullptr;

namespace {

MemoryRef clip_ref() {
    if (!g_Clip) g_Clip = pgAllocateNewRef(&mem_globals, sizeof(ClipRecord), 1, 0, true);
    return g_Clip;
}

}  // namespace

ClipRecord read_clip() {
    ClipRecord clip{};
    MemoryRef ref = clip_ref();
    std::memcpy(&clip, MemoryUse<>(ref).get(), sizeof clip);
    return clip;
}

void write_clip(const ClipRecord& clip) {
    MemoryRef ref = clip_ref();
    std::memcpy(MemoryUse<>(ref).get(), &clip, sizeof clip);
}

void clear_clip() {
    ClipRecord clip = read_clip();
    for (MemoryRef block : {clip.cells, clip.style, clip.formats, clip.links}) DisposeNonNilMemory(block);
    if (clip.objects) model_services.dispose_object_chain(clip.objects);
    write_clip(ClipRecord{});
}
