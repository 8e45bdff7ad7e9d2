// Which items of the Undo and Redo texts the Edit menu shows.
#include "editing/editing_commands.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "model/workbook.h"
#include "objects/text_box_editing.h"
#include "platform/menus/menus.h"
#include "platform/resources/resources.h"
#include "styledtext/styled_text.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

// The item naming the kind, or the item of nothing to do; the kind itself
// says whether there is something to do.
int16_t verb_for(int16_t kind, int16_t* index) {
    const bool available = kind > kUndoNothing && kind <= kLastUndoKind;
    *index = available ? kind : kNothingToUndoItem;
    return available ? 1 : 0;
}

// A text being edited has undo of its own, kept by the text engine: the
// editor, or none when no text is being edited.
WEReference text_editor_active(MemoryRef window_record, int16_t* index) {
    MemoryRef layer = window_record ? doc_window_layer(window_record) : nullptr;
    void* editor = layer ? GetActiveEditor(layer) : nullptr;
    if (!editor && layer) editor = object_text_editor(layer);
    if (editor) *index = kTextEditorUndoItem;
    return static_cast<WEReference>(editor);
}

// Whether the engine's pending action undoes (or, asked for redo, redoes).
int16_t engine_verb(WEReference editor, bool redo) {
    bool is_redo = false;
    const bool pending = WEGetUndoInfo(&is_redo, editor) != weAKNone;
    return pending && is_redo == redo ? 1 : 0;
}


void show_item(pf::MenuRef menu, int16_t item, int16_t strings, int16_t index, bool available) {
    pf::set_menu_item_text(menu, item, pf::get_indexed_string(strings, index));
    if (available) pf::enable_menu_item(menu, item);
    else pf::disable_menu_item(menu, item);
}

MemoryRef workbook_of(MemoryRef window_record) { return window_record ? doc_window_workbook(window_record) : nullptr; }

}  // namespace

int16_t workbook_undo_verb(MemoryRef workbook, int16_t* index) {
    MemoryRef list = workbook ? workbook_undo_list(workbook) : nullptr;
    MemoryRef newest = list ? pg_GetMultUndo(list, -1) : nullptr;
    return verb_for(newest ? read_undo(newest).kind : int16_t(kUndoNothing), index);
}

int16_t workbook_redo_verb(MemoryRef workbook, int16_t* index) {
    MemoryRef redo = workbook ? workbook_redo(workbook) : nullptr;
    return verb_for(redo ? read_undo(redo).kind : int16_t(kUndoNothing), index);
}

int16_t get_undo_verb(MemoryRef window_record, int16_t* index) {
    if (WEReference editor = text_editor_active(window_record, index)) return engine_verb(editor, false);
    return workbook_undo_verb(workbook_of(window_record), index);
}

int16_t get_redo_verb(MemoryRef window_record, int16_t* index) {
    if (WEReference editor = text_editor_active(window_record, index)) return engine_verb(editor, true);
    return workbook_redo_verb(workbook_of(window_record), index);
}

void set_undo(MemoryRef window_record) {
    pf::MenuRef menu = pf::get_menu_handle(kEditMenu);
    if (!menu) return;
    int16_t index = kNothingToUndoItem;
    bool available = get_undo_verb(window_record, &index) != 0;
    show_item(menu, kEditUndoItem, kUndoItemStrings, index, available);
    available = get_redo_verb(window_record, &index) != 0;
    show_item(menu, kEditRedoItem, kRedoItemStrings, index, available);
}
