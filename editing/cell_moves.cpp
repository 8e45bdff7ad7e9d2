// Moving a block of cells of a layer: the undo record is pushed before the
// layer changes, the destination is stored in one step, and references and
// names follow the cells.
#include <algorithm>

#include "ui/alerts.h"
#include "model/move_references.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "window/window_commands.h"
#include "window/doc_window.h"
#include "window/selection_tracking.h"

namespace {

constexpr int16_t kConfirmReplaceAlert = 100;
constexpr int16_t kReplaceAnswer = 1;
constexpr int16_t kCancelAnswer = 2;  // also what a cancelled move answers

bool lands_on_grid(const CellRange& range, CellPoint delta) {
    return cell_in_grid(range.topLeft.v + delta.v, range.topLeft.h + delta.h) &&
           cell_in_grid(range.botRight.v + delta.v, range.botRight.h + delta.h);
}

CellRange selection_of(MemoryRef layer) {
    LayerUse sheet(layer);
    CellRange selection = sheet->selection;
    return selection;
}

// Empties the cells of `source` that lie outside `kept`.
void clear_outside(const CellRange& source, const CellRange& kept, MemoryRef store) {
    const int16_t top = std::max(source.topLeft.v, kept.topLeft.v);
    const int16_t bottom = std::min(source.botRight.v, kept.botRight.v);
    if (top > bottom || std::max(source.topLeft.h, kept.topLeft.h) > std::min(source.botRight.h, kept.botRight.h)) {
        Clear_Cells(&source, store);
        return;
    }
    const CellRange parts[] = {
        {source.topLeft, {int16_t(top - 1), source.botRight.h}},
        {{int16_t(bottom + 1), source.topLeft.h}, source.botRight},
        {{top, source.topLeft.h}, {bottom, int16_t(kept.topLeft.h - 1)}},
        {{top, int16_t(kept.botRight.h + 1)}, {bottom, source.botRight.h}},
    };
    for (const CellRange& part : parts)
        if (part.topLeft.v <= part.botRight.v && part.topLeft.h <= part.botRight.h) Clear_Cells(&part, store);
}

// The moved cells stored at the destination (the selection): a copy of the
// block whose references to cells outside the source keep their targets, so
// that the undo record keeps the block as it was copied. 0 or an error code.
int16_t store_moved_block(const CellRange& source, CellPoint delta, MemoryRef block, MemoryRef layer) {
    MemoryRef shifted = nullptr;
    int16_t error = with_failure_handler(GetMemoryGlobals(layer), [&] { shifted = MemoryDuplicate(block); });
    if (error) return error;
    ResetMoveRect(&source, CellPoint{int16_t(-delta.v), int16_t(-delta.h)}, shifted, GetSheetID(layer));
    error = InputData(source.topLeft, source.botRight, shifted, layer);
    DisposeMemory(shifted);
    return error;
}

}  // namespace

void refuse_move_off_grid() {
    unsigned char message[256];
    pf::get_indexed_string(message, kEditingStrings, kMoveOffGridItem);
    key_caution_alert(message, kStandardStopAlert, kStopAlertKind);
}

int16_t MoveSheetCells(int16_t dcol, int16_t drow, int16_t confirm, int16_t undo_kind, MemoryRef layer) {
    const CellPoint delta{drow, dcol};
    const CellRange source = selection_of(layer);
    if (!lands_on_grid(source, delta)) {
        refuse_move_off_grid();
        return kMoveOffGridErr;
    }
    const CellRange destination = moved_by(source, delta);
    MemoryRef store = GetSpreadSheetCells(layer);
    MemoryRef former = nullptr, moved = nullptr;
    if (!CopyCellInfo(destination.topLeft, destination.botRight, &former, store) ||
        !CopyCellInfo(source.topLeft, source.botRight, &moved, store)) {
        DisposeNonNilMemory(former);
        return layer_alert(layer, kMemoryAlert);
    }
    if (confirm && GetByteSize(former) > 0 && layer_alert(layer, kConfirmReplaceAlert) != kReplaceAnswer) {
        DisposeMemory(former);
        DisposeMemory(moved);
        return kCancelAnswer;
    }
    // The record comes first: from here on it owns both blocks.
    if (with_failure_handler(GetMemoryGlobals(layer), [&] {
            WriteMemUndo(undo_kind, kExtentRange, &source, &destination, moved, former, nullptr, nullptr, nullptr,
                         layer);
        })) {
        DisposeMemory(former);
        DisposeMemory(moved);
        return layer_alert(layer, kMemoryAlert);
    }
    LSelect(destination.topLeft, &destination, nullptr, 0, layer);
    if (store_moved_block(source, delta, moved, layer)) {
        take_back_newest_undo(layer);
        LSelect(source.topLeft, &source, nullptr, 0, layer);
        return layer_alert(layer, kMemoryAlert);
    }
    clobberCache(layer);
    clear_outside(source, destination, store);
    rewrite_references_into(&source, delta, layer, &destination);
    MoveRange(&source, CellPoint{int16_t(-delta.v), int16_t(-delta.h)}, layer);
    DrawCells(&source, layer);
    DrawCells(&destination, layer);
    SheetAutoScroll(layer, destination.topLeft, 0);
    return 0;
}

