// Row and cell records of a layer's cell store, byte for byte.
//
// RowRecord: i16 row number, u32 length of the whole row record (header
// included), then the row's cell records sorted by column.
//
// CellRecord: a 32-byte format block whose cell-only bytes hold the column
// (0), label length (10), cell type (11), note length (12), record length
// (24), body length (26), style-run length (28) and result type (30); then
// the label, the note, the body, and the formula result or the style runs.
#pragma once

#include <cstdint>

#include "model/cell_format.h"
#include "model/record_bytes.h"

constexpr int kRowHeaderSize = 6;
constexpr int kCellHeaderSize = 32;
constexpr int kNumberSlotSize = 10;  // an IEEE double in its first 8 bytes
constexpr int32_t kLongestCellText = 32000;  // longer texts from outside are cut

// Cell types (byte 11).
constexpr uint8_t kCellFormula = 'F';
constexpr uint8_t kCellConstant = 'C';
constexpr uint8_t kCellText = 'T';
constexpr uint8_t kCellFormatOnly = 0;

// Result types (i16 at 30) of a formula cell.
constexpr int16_t kResultNumber = -1;
constexpr int16_t kResultText = 1;
constexpr int16_t kResultNone = 0;
// A formula's text result is in the script of its cell's font; one in
// another script carries that script's number plus one in the high byte of
// its result type.
constexpr int16_t text_result_type(int16_t script, int16_t cell_script) {
    return script == cell_script ? kResultText : int16_t(kResultText | ((script + 1) << 8));
}
constexpr int16_t text_result_script(int16_t type, int16_t cell_script) {
    return type > 0 && (type >> 8) != 0 ? int16_t((type >> 8) - 1) : cell_script;
}

inline int16_t _cellID_(const uint8_t* cell) { return load_i16(cell + kFmtId); }
inline uint8_t _cellType_(const uint8_t* cell) { return cell[kFmtCellType]; }
inline int16_t _cellLength_(const uint8_t* cell) { return load_i16(cell + kFmtExtent); }
inline int16_t _formulaLength_(const uint8_t* cell) { return load_i16(cell + kFmtBodyLength); }
inline uint8_t _labelLength_(const uint8_t* cell) { return cell[kFmtLabelLength]; }
inline uint8_t _noteLength_(const uint8_t* cell) { return cell[kFmtNoteLength]; }
inline int16_t _styleLength_(const uint8_t* cell) { return load_i16(cell + kFmtStyleLength); }
inline int16_t _resultType_(const uint8_t* cell) { return load_i16(cell + kFmtResultType); }

inline uint8_t* _labelPtr_(uint8_t* cell) { return cell + kCellHeaderSize; }
inline uint8_t* _notePtr_(uint8_t* cell) { return _labelPtr_(cell) + _labelLength_(cell); }
inline uint8_t* _formulaPtr_(uint8_t* cell) { return _notePtr_(cell) + _noteLength_(cell); }
inline uint8_t* _constTextPtr_(uint8_t* cell) { return _formulaPtr_(cell) + kNumberSlotSize; }
inline uint8_t* _resultPtr_(uint8_t* cell) { return _formulaPtr_(cell) + _formulaLength_(cell); }
inline uint8_t* _stylePtr_(uint8_t* cell) { return _resultPtr_(cell); }
inline const uint8_t* _labelPtr_(const uint8_t* cell) { return cell + kCellHeaderSize; }
inline const uint8_t* _notePtr_(const uint8_t* cell) { return _labelPtr_(cell) + _labelLength_(cell); }
inline const uint8_t* _formulaPtr_(const uint8_t* cell) { return _notePtr_(cell) + _noteLength_(cell); }
inline const uint8_t* _constTextPtr_(const uint8_t* cell) { return _formulaPtr_(cell) + kNumberSlotSize; }
inline const uint8_t* _resultPtr_(const uint8_t* cell) { return _formulaPtr_(cell) + _formulaLength_(cell); }
inline const uint8_t* _stylePtr_(const uint8_t* cell) { return _resultPtr_(cell); }

inline int16_t _resultLength_(const uint8_t* cell) {
    return int16_t(_cellLength_(cell) - kCellHeaderSize - _labelLength_(cell) - _noteLength_(cell) -
                   _formulaLength_(cell));
}

inline void _SetCellLength_(uint8_t* cell, int16_t length) { store_i16(cell + kFmtExtent, length); }
inline void _SetFormulaLength_(uint8_t* cell, int16_t length) { store_i16(cell + kFmtBodyLength, length); }
inline void _SetResultType_(uint8_t* cell, int16_t type) { store_i16(cell + kFmtResultType, type); }
inline void _SetCellID_(uint8_t* cell, int16_t column) { store_i16(cell + kFmtId, column); }

inline int16_t _RowID_(const uint8_t* row) { return load_i16(row); }
inline uint32_t _RowLength_(const uint8_t* row) { return load_u32(row + 2); }
inline void _SetRowID_(uint8_t* row, int16_t id) { store_i16(row, id); }
inline void _SetRowLength_(uint8_t* row, uint32_t length) { store_u32(row + 2, length); }
