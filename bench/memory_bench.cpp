// The memory manager: counted uses, appending small records, and purging 100 MB
// of blocks to the swap file and reading them back.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/memory_manager.h"
#include "core/memory_use.h"
#include "platform/files/files.h"

namespace {

struct SwapFile {
    pf::FileSpec spec;
    int16_t ref = 0;

    SwapFile() {
        int16_t volume;
        uint32_t folder;
        pf::find_folder(pf::FolderKind::temporary_items, true, volume, folder);
        std::string name = "bench-swap-" + std::to_string(getpid());
        unsigned char pname[64];
        pname[0] = static_cast<unsigned char>(name.size());
        std::memcpy(pname + 1, name.data(), name.size());
        pf::make_file_spec(volume, folder, pname, spec);
        pf::delete_file(spec);
        pf::create_file(spec, pf::four_cc("QRVA"), pf::four_cc("QRVM"));
        pf::open_data_fork(spec, pf::kReadWritePermission, ref);
    }
    ~SwapFile() {
        pf::close_file(ref);
        pf::delete_file(spec);
    }
};

void BM_UseUnuse(benchmark::State& state) {
    MemoryGlobals g;
    msMemStartup(&g, 0);
    MemoryRef ref = pgAllocateNewRef(&g, 16, 100, 0, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(MemoryUse<>(ref).get());
    }
    msMemShutdown(&g);
}
BENCHMARK(BM_UseUnuse);

void BM_AppendMillionSmallRecords(benchmark::State& state) {
    MemoryGlobals g;
    msMemStartup(&g, 0);
    for (auto _ : state) {
        MemoryRef ref = pgAllocateNewRef(&g, 8, 0, 64, false);
        for (int64_t i = 0; i < 1000000; ++i) {
            auto* record = static_cast<int64_t*>(AppendMemory(ref, 1, false));
            *record = i;
            UnuseMemory(ref);
        }
        benchmark::DoNotOptimize(GetMemorySize(ref));
        DisposeMemory(ref);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
    msMemShutdown(&g);
}
BENCHMARK(BM_AppendMillionSmallRecords)->Unit(benchmark::kMillisecond);

// 100 blocks of 1 MB (or 1600 of 64 KB) purged to the swap file, then each used
// once so that it is read back.
void BM_PurgeAndReload100MB(benchmark::State& state) {
    const int32_t block_bytes = static_cast<int32_t>(state.range(0));
    const int blocks = 100 * 1024 * 1024 / block_bytes;
    SwapFile swap;
    MemoryGlobals g;
    msMemStartup(&g, 0);
    InitVirtualMemory(&g, nullptr, swap.ref);
    std::vector<MemoryRef> refs;
    for (int i = 0; i < blocks; ++i) {
        refs.push_back(pgAllocateNewRef(&g, 1, block_bytes, 0, false));
        std::memset(GetMemoryPtr(refs.back()), i, block_bytes);
    }
    for (auto _ : state) {
        if (MemoryPurge(&g, 100 * 1024 * 1024, nullptr) != 0) state.SkipWithError("purge fell short");
        for (MemoryRef ref : refs) {
            benchmark::DoNotOptimize(MemoryUse<>(ref).get());
        }
    }
    state.SetBytesProcessed(state.iterations() * int64_t(blocks) * block_bytes * 2);
    msMemShutdown(&g);
}
BENCHMARK(BM_PurgeAndReload100MB)->Arg(1 << 20)->Arg(64 << 10)->Unit(benchmark::kMillisecond);

}  // namespace
