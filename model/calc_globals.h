// The calculation library's globals (function names, international
// separators, standard error values) and its MachineRecord: the procedure
// slots through which the library reports to the user interface, and the list
// of open workbooks.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "resource_ids.h"

constexpr int kFunctionCount = 143;
constexpr int kFunctionNameSize = 12;  // length-prefixed, at most 11 characters

// The library's alert, progress and display procedures.
using AlertProc = int16_t (*)(int32_t code);
using WaitProc = void (*)(MemoryRef layer, int32_t kind, int32_t done, int32_t total);
using DisplaySelectionProc = void (*)(const CellRange* selection);
using DisplayRangeProc = void (*)(MemoryRef layer);
using DisplaySizeProc = void (*)(int32_t pixels);
using ObjectMessageProc = void (*)(int32_t width, int32_t height);
using ClickLoopProc = int16_t (*)(void* window_record, int16_t pane, pf::Point where);
using CellsScrolledProc = void (*)(MemoryRef layer);

struct MachineRecord {
    MemoryGlobals* memory;
    uint8_t settings[12];
    uint32_t markers[2];
    uint32_t marker_copies[2];
    AlertProc alert;
    WaitProc wait;
    DisplaySelectionProc display_selection;
    DisplayRangeProc display_range;
    DisplaySizeProc display_size;
    ObjectMessageProc object_message;
    ClickLoopProc click_loop;
    CellsScrolledProc cells_scrolled;
    MemoryRef workbooks;  // references of the open WorkSheets
};

// The one machine record of the application.
extern MachineRecord quorvin_rsrv;

// Library globals.
extern uint8_t WordArray[kFunctionCount][kFunctionNameSize];
extern unsigned char currSym1, decimalPt, thousSep, dateSep, listSep;
extern int16_t dateOrder;  // 0 m/d/y, 1 d/m/y, 2 y/m/d, 5 y/d/m
extern double g_zero, g_TextErr, g_StdErr;

// Reads the function names and the system's separators (from the platform's
// international settings), sets the standard error values and seeds the
// random numbers.
void Init_Quorvin_Globals();
// The engine's start: the memory manager without a ceiling, the calculation
// globals and the program's colours.
void engine_startup();
void QuorvinInit(MachineRecord* machine, MemoryGlobals* memory);
void qrvMachineInit(MachineRecord* machine);
void msMachineShutdown(MachineRecord* machine);

// Defaults of the slots until the application fills them.
int16_t Default_Alert(int32_t code);
void DefaultWaitProc(MemoryRef layer, int32_t kind, int32_t done, int32_t total);
void DefaultDisplaySelection(const CellRange* selection);
void DefaultDisplayRange(MemoryRef layer);
void DefaultDisplaySize(int32_t pixels);
void Default_Object__msg(int32_t width, int32_t height);
int16_t DefaultClickLoop(void* window_record, int16_t pane, pf::Point where);
void DefaultCellsScrolled(MemoryRef layer);

// The workbook list of a machine.
void add_open_workbook(MachineRecord* machine, MemoryRef workbook);
void remove_open_workbook(MachineRecord* machine, MemoryRef workbook);
int32_t count_open_workbooks(const MachineRecord* machine);
MemoryRef open_workbook_at(const MachineRecord* machine, int32_t index);
