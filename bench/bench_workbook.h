// A workbook of one empty layer, started and disposed of as the program does,
// for the benchmarks that time work on a layer. A benchmark that leaves blocks
// behind once the workbook is gone (a leak that would swell its memory and its
// times) stops the program with a failure.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "core/number_text.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

// The memory manager and the library started with the program's resources and
// globals, as the program starts them; shut down again when it goes (after the
// workbooks of whatever is built on it).
struct StartedLibrary {
    StartedLibrary() {
        msMemStartup(&mem_globals, 0);
        QuorvinInit(&quorvin_rsrv, &mem_globals);
        pf::resources_install(resource_bundle_data(), resource_bundle_size());
        Init_Quorvin_Globals();
    }
    ~StartedLibrary() {
        msMachineShutdown(&quorvin_rsrv);
        msMemShutdown(&mem_globals);
    }
    StartedLibrary(const StartedLibrary&) = delete;
    StartedLibrary& operator=(const StartedLibrary&) = delete;
};

struct BenchWorkbook {
    MemoryRef workbook = nullptr;
    MemoryRef layer = nullptr;

    explicit BenchWorkbook(int16_t undo_levels = 0) {
        msMemStartup(&mem_globals, 0);
        QuorvinInit(&quorvin_rsrv, &mem_globals);
        CellFormat settings;
        GetDefaultFormat(settings.bytes);
        workbook = New_WorkSheet(&quorvin_rsrv, nullptr, settings.bytes);
        New_SpreadSheet(&quorvin_rsrv, workbook, &layer, 0, nullptr);
        if (undo_levels) pg_setUndoLevels(undo_levels);
    }
    ~BenchWorkbook() {
        DisposeWorkSheet(workbook);
        msMachineShutdown(&quorvin_rsrv);
        const int32_t left = live_block_count(&mem_globals);
        msMemShutdown(&mem_globals);
        if (left > 0) {
            std::fprintf(stderr, "%d blocks leaked: the workbook is gone but they are not\n", int(left));
            std::exit(EXIT_FAILURE);
        }
    }
    BenchWorkbook(const BenchWorkbook&) = delete;
    BenchWorkbook& operator=(const BenchWorkbook&) = delete;
};

// A workbook in the default cell format with a file record of its own, named
// `name` (empty: untitled), in the started library.
inline MemoryRef new_recorded_workbook(const std::string& name = "") {
    std::vector<uint8_t> info(kFileInfoFlagsOffset + 4, 0);
    info[kFileSpecNameOffset] = uint8_t(name.size());
    std::memcpy(info.data() + kFileSpecNameOffset + 1, name.data(), name.size());
    CellFormat settings;
    GetDefaultFormat(settings.bytes);
    return New_WorkSheet(&quorvin_rsrv, Bytes2Memory(&mem_globals, info.data(), 1, int32_t(info.size())),
                         settings.bytes);
}

// The A1-style name of a cell, for formulas that benchmarks type.
inline std::string cell_name(int row, int column) {
    unsigned char letters[8];
    NumberToColumn(letters, int16_t(column));
    return std::string(reinterpret_cast<const char*>(letters + 1), letters[0]) + std::to_string(row + 1);
}
