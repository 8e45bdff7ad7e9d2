// The edits of the range-names dialog on an array of 40-byte named-range
// records (null: no array yet): a name added or moved, names made from the
// labels along the sides of a range, a name deleted, and the list rows.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/dialog_items.h"
#include "core/memory_manager.h"
#include "model/cell_range.h"
#include "platform/lists/lists.h"

// Why a name was not added; each but kNone is said in a message (STR# 501).
enum class NameRefusal : int16_t {
    kNone = 0,
    kNotAReference = 1,
    kNameTooLong = 2,
    kBadName = 3,
    kAlreadyThere = 4,  // the same name already names the same range
    kEmptyName = 5,
    kReferenceTooLong = 6,
};

// The range a reference text of the layer names (at most 31 characters are
// read; a reference to another layer names none): false when it names none.
bool range_of_reference(const unsigned char* text, MemoryRef layer, CellRange* range);
// 1 when a record has that name (case and marks ignored); `same_range` tells
// whether it also names `range`.
int16_t testMatch(bool* same_range, const unsigned char* name, MemoryRef names, const CellRange& range);
// Whether a text may name a range: 1 to 31 characters, no leading digit, no
// operator, parenthesis, point, "$", comma, "!" or quote, and not itself a
// cell reference.
bool good_range_name(const unsigned char* name, MemoryRef layer);

// Adds the name for the range text (a reference of the layer), or moves an
// existing name to it; the array is made when there is none.
NameRefusal add_range_name(MemoryRef* names, const unsigned char* name, const unsigned char* reference,
                           MemoryRef layer);

// Sides whose cells hold labels.
struct LabelSides {
    bool top = false, left = false, bottom = false, right = false;
};
// Names every row or column of the range by its label on the chosen sides,
// skipping labels that are empty, too long, not good names or names already
// there; answers how many were added (the array is made only for one). A
// label holding letters Roman cannot spell (names are Mac Roman) names
// nothing, its cell added to `unkept`.
int16_t add_label_names(MemoryRef* names, const CellRange& range, LabelSides sides, MemoryRef layer,
                        std::vector<CellPoint>* unkept = nullptr);

// The record listed at a row: rows list the records with a name, in order; -1 for none.
int32_t record_of_row(MemoryRef names, int16_t row);
// Removes the record listed at the row when its name is `name`: true when removed.
bool delete_range_name(MemoryRef names, int16_t row, const unsigned char* name);
// Fills the list with the names, one row per record with a name.
void range_data(MemoryRef names, pf::ListHandle list);

// A range as reference text with every part absolute ("$A$1:$C$4", "$B:$D").
void absolute_reference_text(const CellRange& range, unsigned char* text);
// Writes the name and the reference of the record at the list's selected row
// into the dialog's items (0: not wanted), or empties them when no row is selected.
void add_record_text(DialogRef dialog, MemoryRef names, pf::ListHandle list, int16_t name_item, int16_t range_item);
