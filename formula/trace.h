// Circular references: whether a formula depends, through any chain of
// references, on its own cell. The precedents are walked breadth-first from
// the stored formulas, following cells and whole rectangles across layers,
// until a counting reference covers the checked cell (g_calcCell of
// g_calcSheet) or nothing is left. Both checks stop after the same time
// limits and then say that they gave up.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "resource_ids.h"

// Answers of TraceCell.
constexpr int16_t kTraceNoCircle = 0;
constexpr int16_t kTraceCircle = 1;
constexpr int16_t kTraceGaveUp = 2;

// Time limits of a check, in ticks: after the first it stops when an event
// waits, after the second in any case. Tests may shorten them.
struct TraceLimits {
    uint32_t polite_ticks = 600;
    uint32_t max_ticks = 1800;
};
TraceLimits& trace_limits();

// The circle message (item 27) and the gave-up message (item 36) of the
// calculation's string list, shown in the caution alert.
constexpr int kCircleMessageItem = 27;
constexpr int kGaveUpMessageItem = 36;

// One rectangle to visit: layers by id (first, last) of the workbook of `layer`.
struct TraceRecord {
    MemoryRef layer;  // the layer of the first id, or none
    int16_t last_layer;
    int16_t first_layer;
    CellRange rect;
};

struct TraceLists;

// 1 when the formula (bytes of a formula about to be stored in g_calcCell of
// `layer`) would close a circle, with g_CellString naming the place where it
// closes; 2 when the check gave up (g_CellString holds the gave-up message);
// else 0.
int16_t TraceCell(MemoryRef layer, const uint8_t* formula, int32_t length);
// 1 when the stored formula of g_calcCell lies on a circle: reported to the
// user, and the recalculation set to the manual mode. A check that gives up
// answers 0 and says so once per recalculation.
int16_t CheckCircular();
// Scans the formula cells of a rectangle on the layer with `layer_id` of the
// workbook of `layer`; 1 when one of their references covers the checked cell.
int16_t CheckAccessRect(const CellRange& rect, int16_t layer_id, MemoryRef layer, TraceLists& lists);
// Adds a record unless the lists already hold one that covers it.
void write_trace(TraceLists& lists, int16_t first_layer, int16_t last_layer, const CellRange& rect, MemoryRef layer);
// 1 when the linked document of the link id (2 unaligned bytes) is not open.
int16_t check_fileaccess(const uint8_t* link_id, MemoryRef layer, MemoryRef* workbook);
// Appends the text naming a rectangle on a layer ("2:A1:B3...").
void TraceString(unsigned char* text, const CellRange& rect, MemoryRef layer);
void clobber_tracelist(TraceLists& lists);

// Rearms the gave-up message (a recalculation reset).
void reset_circular_give_up();
