// The private clipboard and the commands that fill it, empty it and paste it:
// cut, copy and clear of cells, paste, paste special, and the exchange with
// the system clipboard. Each command works on an explicit range of a layer;
// the layer's selection is set to what the command selects.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "editing/editing_commands.h"
#include "files/link_lists.h"
#include "model/cell_range.h"
#include "objects/object_clipboard.h"
#include "ui/edit_refusals.h"


// A copied range of whole rows that is not the whole layer (whole columns are tested first).
bool spans_rows(const CellRange& range);
inline int32_t range_rows(const CellRange& r) { return r.botRight.v - r.topLeft.v + 1; }
inline int32_t range_columns(const CellRange& r) { return r.botRight.h - r.topLeft.h + 1; }



// Copy (and with `cut` cut) the cells of the range into the clipboard.
int16_t copy_range(MemoryRef layer, const CellRange& range, bool cut);
int16_t Cut_Copy_Clear(MemoryRef layer, int16_t remove, int16_t to_clipboard);

// Cut and Copy of the Edit menu: the selection into the clipboard, exported
// to the system clipboard at once.
int16_t edit_cut_copy(MemoryRef layer, bool cut);

// Clear modes of the Clear dialog.
enum ClearMode : int16_t { kClearAll = 0, kClearFormats = 1, kClearContents = 2 };
int16_t clear_range(MemoryRef layer, const CellRange& range, int16_t mode);
int16_t Do_Clear(int16_t ask, MemoryRef layer);
// The Clear dialog: false when cancelled, else the mode chosen.
bool ask_clear_mode(int16_t* mode);

// Whether any stored cell of the range is locked.
bool has_locked_cell(const CellRange& range, MemoryRef layer);

// A change of the range's cells refused, with its alert, on a protected
// workbook (kEditLockedWorkbook) or over a locked cell (kEditLockedCells);
// kEditDone when the change may go ahead.
int16_t refuse_protected_change(MemoryRef layer, const CellRange& range);
// The extent of an undo record of a range, and the copies of the format
// arrays it saves: the column formats for whole columns, the row formats for
// whole rows. save_formats sends memory failures to the caller's handler,
// with what was made in `saved`.
struct SavedFormats {
    int16_t extent = 0;
    MemoryRef columns = nullptr;
    MemoryRef rows = nullptr;
    void dispose();
};
void save_formats(const CellRange& range, MemoryRef layer, SavedFormats* saved);

// ---- Fitting a copied block to a selection ---------------------------------

struct PasteFit {
    CellRange target;  // the cells that receive the block
    bool repeat;       // the block repeats over the target
    int16_t refusal;   // kEditDone, kEditOffGrid or kEditMisfit
};
PasteFit fit_block(const CellRange& clip, const CellRange& selection);
// Shows the message of a refusal of fit_block.
void refuse_fit(int16_t refusal);
// The fit of a paste's block to the selection, unless `*refusal` already
// holds one: a block that does not fit, or a target with locked cells, is
// told to the user and its refusal set in `*refusal`.
PasteFit fit_for_paste(MemoryRef layer, const CellRange& clip, const CellRange& selection, int16_t* refusal);

// Repeats the block (cells of `clip`) over the size of `target`: 0 or an error.
int16_t MakeCopies(MemoryRef* block, const CellRange* clip, const CellRange* target);

// Cells copied from a layer whose workbook counts dates from 1900 (or not)
// and whose default font is `from_default`, made to mean the same in
// `layer`: their dates moved into its date system, their letters kept under
// its default font (cell_from_default). kEditDone or kEditNoMemory.
int16_t cells_for_layer(MemoryRef* block, bool from_1900, int16_t from_default, MemoryRef layer);
// The clipboard's cells for a paste at the selection: its own block
// duplicated, or its text parsed into cells. kEditDone with the block and
// its range, else a refusal.
int16_t clip_cells_for(MemoryRef layer, const CellRange& selection, MemoryRef* block, CellRange* range,
                       bool* from_text);

// Pushes the undo record of a paste over the target (its cells, and the
// format arrays a block of whole columns or rows may change), then stores
// the block (cells of `clip`) at the target: kEditDone or kEditNoMemory
// (nothing changed). With `column_formats_apply` the cells take their
// columns' formats. Checked builds compare the stored cells' letters with
// the block's.
int16_t store_with_undo(MemoryRef layer, const CellRange& clip, const CellRange& target, MemoryRef block,
                        bool column_formats_apply);
// Whether the target reaches past the layer's last used row or column.
bool reaches_past_used(MemoryRef layer, const CellRange& target);
// Selects the pasted target, recalculates from it and shows it (redoing the
// window layout when it reached past the used cells).
void show_pasted(MemoryRef layer, const CellRange& target, bool past_used);
// The whole-column (whole-row) formats of the clipboard over the target,
// once per repetition of the block.
void paste_formats_over(const CellRange& clip, const CellRange& target, MemoryRef layer);
// Asks, before a paste of text is stored, whether to go on despite what it
// had to replace or leave out; false when the user cancels.
bool report_clip_text_losses();
// Paste of the Edit menu into the entry line (and the cell being edited):
// text of other programs comes in as typed text does, spelled in the scripts
// that spell it (the script at the caret first), each part in the font of its
// script, after asking whether to go on when no installed script spells some
// of its characters; text with style runs of its own keeps them.
void paste_into_entry(MemoryRef layer);
// After Cut or Copy in the entry line: text of other scripts goes to other
// programs in UTF-8, each run decoded by its own script.
void export_entry_copy();

int16_t paste_range(MemoryRef layer, const CellRange& selection);
int16_t DoPaste(MemoryRef layer);
// Paste of the Edit menu: newer content of the system clipboard first.
int16_t edit_paste(MemoryRef layer);

// ---- Paste special ----------------------------------------------------------

enum PasteChoice : int16_t { kPasteAll = 0, kPasteValues = 1, kPasteFormulas = 2, kPasteFormats = 3 };
struct PasteOptions {
    int16_t choice = kPasteAll;
    bool skip_blanks = false;
    bool transpose = false;
    uint8_t operation = 0;  // 0, '+', '-', '*', '/'
};
int16_t paste_special_range(MemoryRef layer, const CellRange& selection, const PasteOptions& options);
int16_t PasteSpecial(MemoryRef layer, int16_t choice, int16_t skip_blanks, int16_t transpose, int16_t operation);
int16_t Transpose(MemoryRef block, CellPoint top_left, CellPoint bottom_right);
// Formulas of the block become their values; a text result takes a font of
// its script where the cell's font (the layer's default standing for the
// default font) is of another.
int16_t ConvertFormulas(MemoryRef block, MemoryRef layer = nullptr);

// ---- The system clipboard ---------------------------------------------------

int32_t GetScrapCount();
int16_t CheckScrap();
void WriteClip();
// Takes in what another program put on the system clipboard; answers
// pf::kScrapPictureTooLargeErr (the clipboard left empty) for a picture too
// large to take, else 0.
int16_t ReadClip();
// Tells why the system clipboard's picture was not pasted: it is too large.
void refuse_large_clip_picture();
// Before a text editor pastes from the system clipboard: the clipboard's
// cells or objects are handed to the system now, whether or not they were.
void export_clip_for_paste();

// Text (Mac Roman, or UTF-8 when `unicode`; lines ending CR, LF or CR LF; a
// field in double quotes may hold tabs and line ends) into a cell store laid
// out from `origin`; `range` receives the cells it covers. Rows past the grid
// are not read. Each field is kept in the script that spells it, the script
// of the font its cell reads it in first, its cell set in that script's font.
void text_to_cells(std::string_view text, CellPoint origin, MemoryRef layer, std::string& store, CellRange* range,
                   bool unicode = false);
// Text dropped by another program into cells, as text_to_cells makes them;
// what it loses is asked about at once (false when the user cancels the
// drop), and what the clipboard's text lost is kept for its next paste.
bool dropped_text_to_cells(std::string_view text, bool unicode, CellPoint origin, MemoryRef layer,
                           std::string& store, CellRange* range);
// Cells (row records of the range) as tab-separated rows of UTF-8 for
// another program, each field decoded by its script (the default font
// standing for `default_font`), dates counted from 1900 with `dates_1900`.
std::string cells_as_unicode_text(MemoryRef cells, const CellRange& range, int16_t formulas, int16_t displayed,
                                  bool dates_1900, int16_t default_font);
// The rows of the text, as text_to_cells splits it.
int32_t text_rows(std::string_view text);

// The private clipboard's cells, range and links.
ClipLinks clipboard_links();
