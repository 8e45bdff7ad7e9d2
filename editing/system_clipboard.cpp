// The exchange between the private clipboard and the system clipboard:
// copied cells go out as tab-separated rows of text; text that another
// program put there comes in and pastes as cells.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ui/alerts.h"

#include "core/memory_use.h"
#include "editing/clipboard.h"
#include "files/document_prompts.h"
#include "files/entry_cells.h"
#include "files/field_cursor.h"
#include "files/entry_script.h"
#include "files/text_encoding.h"
#include "files/text_exchange.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "objects/object_clipboard.h"
#include "platform/memory/memory.h"
#include "platform/resources/resources.h"
#include "platform/scrap/scrap.h"
#include "platform/text/text.h"
#include "ui/app_prefs.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr pf::FourCC kScrapStyle = pf::four_cc("styl");
constexpr int32_t kSmallExport = 254;  // a window deactivating exports blocks up to this size
constexpr int16_t kExportDisplayed = 1;
constexpr int16_t kExportFormulas = 2;

constexpr int16_t kFieldsCutItem = 2;
constexpr int16_t kPictureTooLargeItem = 3;
constexpr int16_t kFormulasAsTextItem = 4;

// What the text last taken from the system clipboard lost on the way in.
struct TextLosses {
    std::u32string unmapped;
    int32_t fields_cut = 0;
    int32_t formulas_as_text = 0;  // formulas no one script spells, pasted as text
};
TextLosses text_losses;

// The rows and columns of the copied range that hold cells (from its top-left).
CellRange filled_part(const ClipRecord& clip) {
    CellRange filled{clip.range.topLeft, clip.range.topLeft};
    MemoryUse<const uint8_t> start(clip.cells);
    const uint8_t* end = start + GetByteSize(clip.cells);
    for (const uint8_t* row = start; row < end; row += _RowLength_(row)) {
        filled.botRight.v = std::max(filled.botRight.v, _RowID_(row));
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            filled.botRight.h = std::max(filled.botRight.h, _cellID_(cell));
    }
    return filled;
}

void put_block(pf::FourCC flavour, const void* bytes, size_t size) { pf::put_scrap(flavour, bytes, size); }

// A field the paste would not read back as it stands: it holds a tab or a
// line end, or begins with a double quote (read as an opening quote).
bool needs_quotes(std::string_view text) {
    return text.find_first_of("\t\r\n") != std::string_view::npos || (!text.empty() && text[0] == '"');
}

// Whether a text (or a formula's text result) needs quotes as a field.
bool has_text_needing_quotes(MemoryRef cells) {
    bool found = false;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    for (const uint8_t* row = start; row < end && !found; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            const bool text = _cellType_(cell) == kCellText;
            const bool text_result = _cellType_(cell) == kCellFormula && _resultType_(cell) > 0;
            const uint8_t* p = text ? _formulaPtr_(cell) : _resultPtr_(cell);
            const int32_t length = text ? _formulaLength_(cell) : _resultLength_(cell);
            if ((text || text_result) && length > 0)
                found = found || needs_quotes(std::string_view(reinterpret_cast<const char*>(p), size_t(length)));
        }
    return found;
}

// One cell's field as the export writes it.
std::string field_of(const uint8_t* cell, int16_t row, int16_t formulas, int16_t displayed, bool dates_1900) {
    std::string block(kRowHeaderSize, '\0');
    block.append(reinterpret_cast<const char*>(cell), size_t(_cellLength_(cell)));
    _SetRowID_(reinterpret_cast<uint8_t*>(block.data()), row);
    _SetRowLength_(reinterpret_cast<uint8_t*>(block.data()), uint32_t(block.size()));
    MemoryRef one = Bytes2Memory(&mem_globals, block.data(), 1, int32_t(block.size()));
    MemoryRef text = nullptr;
    const CellPoint where{row, _cellID_(cell)};
    std::string field;
    if (one && !WriteTextData(nullptr, formulas, displayed, kTabSeparator, one, &text, nullptr, where, where, nullptr,
                              nullptr, dates_1900)) {
        field.assign(MemoryUse<const char>(text).get(), size_t(GetByteSize(text)));
        DisposeMemory(text);
    }
    DisposeNonNilMemory(one);
    return field;
}

// The font a copied cell's text is set in, the default font standing for its
// layer's default.
int16_t copied_cell_font(const uint8_t* cell, int16_t default_font) {
    const uint16_t font = format_font(cell);
    return font == kDefaultFontNumber ? default_font : int16_t(font);
}

// Whether a copied cell is set in the font of a script other than Roman.
bool holds_other_scripts(MemoryRef cells, int16_t default_font) {
    bool found = false;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    for (const uint8_t* row = start; row < end && !found; row += _RowLength_(row))
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
            found = found || pf::font_to_script(copied_cell_font(cell, default_font)) != pf::kScriptRoman ||
                    value_script(cell, copied_cell_font(cell, default_font)) != pf::kScriptRoman;
    return found;
}

// The rows of the copied cells with every field that holds a tab, a line end
// or a double quote in double quotes, as other spreadsheets read them; with
// `unicode` each field in UTF-8 from its cell's script.
std::string quoted_rows(MemoryRef cells, const CellRange& filled, int16_t formulas, int16_t displayed, bool dates_1900,
                        int16_t default_font, bool unicode = false) {
    std::string out;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    const uint8_t* row = start;
    for (int32_t at = filled.topLeft.v; at <= filled.botRight.v; ++at) {
        while (row < end && _RowID_(row) < at) row += _RowLength_(row);
        if (row < end && _RowID_(row) == at) {
            int32_t column = filled.topLeft.h;
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
                if (_cellID_(cell) < filled.topLeft.h || _cellID_(cell) > filled.botRight.h) continue;
                for (; column < _cellID_(cell); ++column) out += '\t';
                std::string field = field_of(cell, int16_t(at), formulas, displayed, dates_1900);
                if (unicode) field = cell_field_utf8(cell, field, copied_cell_font(cell, default_font));
                WriteCSVCell(field, kTabSeparator, out);
            }
        }
        out += '\r';
    }
    return out;
}

// The copied cells as the bytes of "TEXT" (and the style runs of a single
// styled text cell).
void export_cells_as_text(const ClipRecord& clip, const CellRange& filled, int16_t formulas, int16_t displayed) {
    if (has_text_needing_quotes(clip.cells)) {
        const std::string text =
            quoted_rows(clip.cells, filled, formulas, displayed, clip.dates_1900 != 0, clip.default_font);
        put_block(pf::kScrapText, text.data(), text.size());
        return;
    }
    MemoryRef text = nullptr;
    pf::Handle style = nullptr;
    if (WriteTextData(nullptr, formulas, displayed, kTabSeparator, clip.cells, &text, &style, filled.topLeft,
                      filled.botRight, nullptr, nullptr, clip.dates_1900 != 0))
        return;
    put_block(pf::kScrapText, MemoryUse<>(text).get(), size_t(GetByteSize(text)));
    DisposeMemory(text);
    if (style) {
        put_block(kScrapStyle, *style, size_t(pf::get_handle_size(style)));
        pf::dispose_handle(style);
    }
}

// Text of other scripts goes to other programs in UTF-8 beside the bytes.
void export_unicode_text(const ClipRecord& clip, const CellRange& filled, int16_t formulas, int16_t displayed) {
    if (!holds_other_scripts(clip.cells, clip.default_font)) return;
    std::string text =
        quoted_rows(clip.cells, filled, formulas, displayed, clip.dates_1900 != 0, clip.default_font, true);
    if (filled.topLeft == filled.botRight && !text.empty() && text.back() == '\r') text.pop_back();
    put_block(pf::kScrapUnicodeText, text.data(), text.size());
}

void export_cells(const ClipRecord& clip) {
    const CellRange filled = filled_part(clip);
    const int16_t formulas = app_prefs.export_choice == kExportFormulas;
    const int16_t displayed = app_prefs.export_choice == kExportDisplayed;
    export_cells_as_text(clip, filled, formulas, displayed);
    export_unicode_text(clip, filled, formulas, displayed);
}

// Clipboard text: fields split by tabs, a field may be quoted.
FieldCursor clipboard_cursor(std::string_view text) { return FieldCursor{text, 0, '\t', true}; }

}  // namespace

std::string cells_as_unicode_text(MemoryRef cells, const CellRange& range, int16_t formulas, int16_t displayed,
                                  bool dates_1900, int16_t default_font) {
    return quoted_rows(cells, range, formulas, displayed, dates_1900, default_font, true);
}

int32_t text_rows(std::string_view text) {
    FieldCursor cursor = clipboard_cursor(text);
    int32_t rows = 0;
    for (; !cursor.at_end(); ++rows) cursor.skip_row();
    return rows;
}

void text_to_cells(std::string_view text, CellPoint origin, MemoryRef layer, std::string& store, CellRange* range,
                   bool unicode) {
    // Mac Roman text goes in as Unicode, so that each field is spelled for
    // the font its cell reads it in.
    const std::string utf8 = unicode ? std::string() : pf::mac_roman_to_utf8(text);
    if (!unicode) text = utf8;
    uint8_t header[kCellHeaderSize], spelled[kCellHeaderSize];
    GetDefaultFormat(header);
    FieldCursor cursor = clipboard_cursor(text);
    std::string field, runs, row_cells;
    int32_t unspelled = 0;
    int32_t row = origin.v, highest = origin.h;
    for (; !cursor.at_end() && row <= kLastCell; ++row) {
        row_cells.clear();
        for (int32_t column = origin.h;; ++column) {
            cursor.next_field(field);
            if (!field.empty() && column > kLastCell) ++text_losses.fields_cut;
            if (!field.empty() && column <= kLastCell) {
                const uint8_t* format =
                    spell_field_for_cell(field, runs, header, spelled, layer, unspelled, &text_losses.unmapped);
                EntryCell entry{CellPoint{int16_t(row), int16_t(column)}, format, field, {}};
                entry.runs = runs;
                if (append_entry_cell(row_cells, entry, layer).formula_kept_as_text) ++text_losses.formulas_as_text;
                highest = std::max(highest, column);
            }
            if (cursor.at_line_end()) break;
            ++cursor.pos;
        }
        cursor.skip_line_end();
        if (!row_cells.empty()) append_row_record(store, int16_t(row), row_cells);
    }
    *range = CellRange{origin, {int16_t(std::max<int32_t>(origin.v, row - 1)), int16_t(highest)}};
}

bool report_clip_text_losses() {
    const int32_t fields_cut = std::exchange(text_losses.fields_cut, 0);
    const int32_t formulas_as_text = std::exchange(text_losses.formulas_as_text, 0);
    if (!text_losses.unmapped.empty() && !paste_despite_unspelled(text_losses.unmapped)) return false;
    if (formulas_as_text && !caution_goes_on(kClipboardStrings, kFormulasAsTextItem, "")) return false;
    return !fields_cut || caution_goes_on(kClipboardStrings, kFieldsCutItem, "");
}

bool dropped_text_to_cells(std::string_view text, bool unicode, CellPoint origin, MemoryRef layer,
                           std::string& store, CellRange* range) {
    const TextLosses clipboard = std::exchange(text_losses, TextLosses{});
    text_to_cells(text, origin, layer, store, range, unicode);
    const bool go_on = report_clip_text_losses();
    text_losses = clipboard;
    return go_on;
}

int32_t GetScrapCount() { return pf::scrap_change_count(); }

int16_t CheckScrap() {
    const ClipRecord clip = read_clip();
    if (!clip.cells && !clip.objects) return 1;
    return clip.scrap_identity != GetScrapCount() ? 1 : 0;
}

void WriteClip() {
    ClipRecord clip = read_clip();
    if (!clip.export_pending || (!clip.cells && !clip.objects)) return;
    if (clip.kind != kClipText) {
        pf::zero_scrap();
        if (clip.kind < 0) export_cells(clip);
        else export_objects(clip.objects);
    }
    clip.export_pending = 0;
    clip.scrap_identity = GetScrapCount();
    write_clip(clip);
}

void export_clip_for_paste() {
    ClipRecord clip = read_clip();
    clip.export_pending = 1;
    write_clip(clip);
    WriteClip();
}

int16_t ReadClip() {
    ClipRecord clip = read_clip();
    if ((clip.cells || clip.objects) && !CheckScrap()) return 0;
    if (clip.cells || clip.objects || clip.kind) ClobberScrap(0);
    clip = ClipRecord{};
    std::vector<uint8_t> bytes;
    if (pf::get_scrap(pf::kScrapUnicodeText, bytes) == pf::noErr) {
        clip.cells = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        if (!clip.cells) return 0;
        clip.kind = kClipText;
        clip.unicode = 1;
        text_losses = TextLosses{};  // what no script spells is found field by field
    } else if (pf::get_scrap(pf::kScrapText, bytes) == pf::noErr) {
        clip.cells = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        if (!clip.cells) return 0;
        clip.kind = kClipText;
        if (pf::get_scrap(kScrapStyle, bytes) == pf::noErr && !bytes.empty())
            clip.style = Bytes2Memory(&mem_globals, bytes.data(), 1, int32_t(bytes.size()));
        text_losses = TextLosses{pf::scrap_text_unmapped(), 0};
    } else if (const pf::OSErr error = pf::get_scrap(pf::kScrapPicture, bytes); error == pf::noErr) {
        clip.objects = picture_object_from(bytes.data(), int32_t(bytes.size()));
        if (!clip.objects) return 0;
    } else if (error == pf::kScrapPictureTooLargeErr) {
        return error;
    }
    clip.scrap_identity = GetScrapCount();
    write_clip(clip);
    return 0;
}

namespace {

// The clipboard's text as UTF-8, unless it carries style runs of its own
// (the entry line's copy, one styled cell), which set each part in its font.
bool unstyled_clipboard_text(std::string& utf8) {
    std::vector<uint8_t> bytes;
    if (pf::get_scrap(kScrapStyle, bytes) == pf::noErr && !bytes.empty()) return false;
    if (pf::get_scrap(pf::kScrapUnicodeText, bytes) == pf::noErr) {
        utf8.assign(bytes.begin(), bytes.end());
        return true;
    }
    if (pf::get_scrap(pf::kScrapText, bytes) != pf::noErr) return false;
    utf8 = pf::mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

}  // namespace

void export_entry_copy() {
    std::vector<uint8_t> text, runs;
    if (pf::get_scrap(pf::kScrapText, text) != pf::noErr || pf::get_scrap(kScrapStyle, runs) != pf::noErr) return;
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size());
    const std::string utf8 = styled_text_utf8(
        bytes, std::string_view(reinterpret_cast<const char*>(runs.data()), runs.size()), pf::script_font(pf::kScriptRoman));
    if (utf8 != pf::mac_roman_to_utf8(bytes)) put_block(pf::kScrapUnicodeText, utf8.data(), utf8.size());
}

void paste_into_entry(MemoryRef layer) {
    export_clip_for_paste();
    std::string utf8;
    if (!unstyled_clipboard_text(utf8)) {
        editor_paste(layer);
        return;
    }
    const RunLook look = editor_caret_look();
    const ScriptedText spelled = spell_text_in_scripts(utf8, look);
    if (!spelled.unspelled_characters.empty() && !paste_despite_unspelled(spelled.unspelled_characters)) return;
    editor_paste_text(spelled, look);
}

void refuse_large_clip_picture() { error_alert(kClipboardStrings, kPictureTooLargeItem); }

void PutToScrap(int16_t force) {
    const ClipRecord clip = read_clip();
    if (!force && !(clip.cells && GetByteSize(clip.cells) <= kSmallExport)) return;
    WriteClip();
}
