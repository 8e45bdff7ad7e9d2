// The kinds of undo records and the extents of a cell record: fields of the
// record that the sheet view writes as well as the editing commands.
#pragma once

#include <cstdint>

// What a record undoes; also the item of the Undo (and Redo) texts.
enum UndoKind : int16_t {
    kUndoNothing = 0,
    kUndoCut = 1,
    kUndoPaste = 2,
    kUndoClear = 3,
    kUndoMove = 4,
    kUndoInsertRowsColumns = 5,
    kUndoDeleteRowsColumns = 6,
    kUndoSort = 7,
    kUndoEntry = 8,
    kUndoFormat = 9,
    kUndoFillDown = 12,
    kUndoFillRight = 13,
    kUndoRowHeight = 14,
    kUndoColumnWidth = 15,
    kUndoTableFormat = 16,
    kUndoFont = 17,
    kUndoFillDownAlternate = 18,
    kUndoFillRightAlternate = 19,
    kUndoFillSeries = 20,
    kUndoInsertCells = 21,
    kUndoDeleteCells = 22,
    kUndoClearObjects = 23,
    kUndoCutObjects = 24,
    kUndoObjectsAdded = 25,
    kUndoNewObject = 26,
    kUndoObjectsMoved = 27,
    kUndoObjectResized = 28,
    kUndoObjectsScaled = 29,
    kUndoObjectAttributes = 30,
    kUndoObjectsLocked = 31,
    kUndoObjectsUnlocked = 32,
    kUndoChartRange = 33,
    kUndoObjectsAligned = 34,
    kUndoObjectsToBack = 35,
    kUndoObjectsToFront = 36,
    kUndoObjectsBackward = 37,
    kUndoObjectsForward = 38,
    kUndoChartEdited = 39,
    kLastUndoKind = 39,
};

// Extent of a cell kind: which format arrays the record saved.
constexpr int16_t kExtentRange = 0;
constexpr int16_t kExtentColumns = 1;
constexpr int16_t kExtentRows = 2;
constexpr int16_t kExtentBoth = 3;
