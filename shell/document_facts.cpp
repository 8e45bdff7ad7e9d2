// The front document's state as menu enabling and the button states read it.
#include "shell/document_facts.h"

#include <algorithm>
#include <vector>

#include "editing/editing_commands.h"
#include "editing/undo.h"
#include "files/document_file.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/program_colours.h"
#include "model/workbook.h"
#include "objects/object_commands.h"
#include "platform/scrap/scrap.h"
#include "styledtext/styled_text.h"
#include "window/window_commands.h"
#include "window/entry_line.h"
#include "window/document_closing.h"
#include "window/front_document.h"

namespace {

constexpr uint8_t kAlignmentMask = 0x07;

bool clipboard_holds_cells() {
    if (!g_Clip || GetMemorySize(g_Clip) < 1) return false;
    ClipRecord clip{};
    GetMemoryRecord(g_Clip, 0, &clip);
    return clip.cells != nullptr;
}

void read_layer_facts(DocumentFacts& facts) {
    LayerUse sheet(facts.layer);
    facts.object_selected = sheet->selected_objects && GetMemorySize(sheet->selected_objects) > 0;
    facts.has_print_area = sheet->print_area.botRight.v >= 0;
    facts.has_links = sheet->links && GetMemorySize(sheet->links) > 0;
    facts.text_editor = sheet->edited_object_text;
    sheet.release();
    GetSelectFormat(facts.format.bytes, facts.layer, 1);
    const uint8_t* f = facts.format.bytes;
    uint16_t font = format_font(f);
    facts.font = font == kDefaultFontNumber ? Get_Default_Font(facts.layer) : int16_t(font);
    facts.size = f[kFmtSize] > 200 ? Get_Default_Size(facts.layer) : f[kFmtSize];
    facts.style = f[kFmtFace];
    facts.alignment = f[kFmtAlign] & kAlignmentMask;
    facts.option_flags = facts.object_selected ? (object_is_locked(facts.layer) ? 0xFF : 0) : f[kFmtFlagsA];
}

void read_editor_facts(DocumentFacts& facts) {
    if (facts.entry_active) facts.text_editor = entry_line_editor();
    if (!facts.text_editor) return;
    TextFacts text;
    if (!editor_text_facts(facts.text_editor, &text)) return;
    facts.font = text.font;
    facts.size = text.size;
    facts.style = text.style;
    facts.alignment = text.alignment;
    facts.editor_selection_empty = text.selection_empty;
}

// The alignment of a text editor as a cell's: flush left and default are
// left, then centre, right and justified.
uint8_t cell_alignment_of(int8_t text_alignment) {
    switch (text_alignment) {
        case weCenter: return 2;
        case weFlushRight: return 3;
        case weJustify: return 4;
        default: return 1;
    }
}

// The colour value of a text colour: the first entry of the colour table
// that holds it, + 1; black's when none does.
int16_t colour_value_of(const pf::RGBColor& colour) {
    constexpr int16_t kBlackValue = 2;
    constexpr size_t kIndexedColours = 256;
    const std::vector<pf::RGBColor>& table = program_colours();
    for (size_t i = 0; i < std::min(table.size(), kIndexedColours); ++i)
        if (table[i] == colour) return int16_t(i + 1);
    return kBlackValue;
}

}  // namespace

bool editor_text_facts(void* editor, TextFacts* out) {
    WEReference we = static_cast<WEReference>(editor);
    if (!we) return false;
    uint16_t mode = weDoFont | weDoFace | weDoSize | weDoColor;
    WETextStyle style;
    WEContinuousStyle(&mode, style, we);
    out->font = style.tsFont;
    out->size = style.tsSize;
    out->style = style.tsFace;
    out->colour = colour_value_of(style.tsColor);
    out->alignment = cell_alignment_of(WEGetAlignment(we));
    int32_t start = 0, end = 0;
    WEGetSelection(&start, &end, we);
    out->selection_empty = start == end;
    return true;
}

DocumentFacts read_document_facts(MemoryRef record) {
    DocumentFacts facts;
    facts.can_paste = pf::scrap_has_flavour(pf::kScrapText) || clipboard_holds_cells();
    if (!record) return facts;
    facts.record = record;
    facts.layer = doc_window_layer(record);
    facts.workbook = doc_window_workbook(record);
    facts.entry_active = Editor_Wind != nullptr && Editor_Wind == record;
    if (facts.workbook) {
        facts.layers = num_SpreadSheets(facts.workbook);
        facts.unsaved = workbook_dirty(facts.workbook);
        facts.ever_saved = get_fileType(facts.workbook) != 0;
    }
    int16_t index = 0;
    facts.can_undo = get_undo_verb(record, &index) != 0;
    facts.can_redo = get_redo_verb(record, &index) != 0;
    if (facts.layer) read_layer_facts(facts);
    read_editor_facts(facts);
    facts.invalid_formula = facts.entry_active && CheckFormula() != 0;
    return facts;
}

DocumentFacts given_or_front_facts(MemoryRef record) {
    return read_document_facts(record ? record : front_document_record());
}
