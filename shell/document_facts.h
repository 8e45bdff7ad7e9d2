// What menu enabling and the button states read of the front document: its
// layer and workbook, whether an object is selected or a cell is being
// edited, the selection's format, and what can be undone, saved or pasted.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/cell_format.h"

struct DocumentFacts {
    MemoryRef record = nullptr;  // none: no document
    MemoryRef layer = nullptr;
    MemoryRef workbook = nullptr;
    bool object_selected = false;
    bool entry_active = false;       // a cell of this document is being edited
    void* text_editor = nullptr;     // the entry line's or a selected object's text
    bool editor_selection_empty = false;
    bool invalid_formula = false;
    CellFormat format{};             // of the selection
    int16_t font = 0;
    int16_t size = 0;
    uint8_t style = 0;
    uint8_t alignment = 0;           // 0 general .. 4 justified
    // The format's option flags; with an object selected all set when it is
    // locked and all clear otherwise.
    uint8_t option_flags = 0;
    bool has_print_area = false;
    bool has_links = false;
    int16_t layers = 0;
    bool unsaved = false;
    bool ever_saved = false;
    bool can_undo = false;
    bool can_redo = false;
    bool can_paste = false;
};

// What a text editor (a styled-text instance) says of the style all its
// selection shares, its alignment and whether its selection is empty. The
// colour is a colour value: its entry of the colour table + 1, 2 (black)
// when the table has no such colour.
struct TextFacts {
    int16_t font = 0;
    int16_t size = 0;
    uint8_t style = 0;
    int16_t colour = 0;
    uint8_t alignment = 0;
    bool selection_empty = false;
};
bool editor_text_facts(void* editor, TextFacts* out);

// The facts of a document window's record (none: no document).
DocumentFacts read_document_facts(MemoryRef record);
// The facts of the given document window's record, else of the front one's.
DocumentFacts given_or_front_facts(MemoryRef record);
