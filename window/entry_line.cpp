// The entry-line editor.
#include "window/entry_line.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/memory_use.h"
#include "ui/alerts.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "ui/system_info.h"
#include "ui/task_manager.h"
#include "formula/parser.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/cell_formats.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/bits.h"
#include "platform/draw/port.h"
#include "platform/events/input_method.h"
#include "platform/screen/cursor.h"
#include "platform/memory/memory.h"
#include "platform/text/text.h"
#include "platform/windows/windows.h"
#include "ui/app_prefs.h"
#include "window/cell_entry.h"
#include "window/in_cell_editor.h"
#include "window/keyboard_navigation.h"
#include "window/point_mode.h"
#include "formula/range_string.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"
#include "window/doc_window.h"
#include "resource_ids.h"
#include "window/window_services.h"

EntryLineRecord WEList;
MemoryRef Editor_Wind = nullptr;

namespace {

constexpr int32_t kProtectedAlert = 6;
constexpr int32_t kLockedAlert = 1;
constexpr int32_t kWholeText = 0x7FFFFFFF;
constexpr int32_t kSelectAllEnd = 32000;
constexpr unsigned char kKeyDelete = 127;
constexpr int16_t kNoDocumentFont = 1;
constexpr int16_t kNoDocumentSize = 12;
// Heights of the command bar below the top of the entry line: one line (the
// bottom row's message area and progress bar stay whole), and the tallest,
// at which the entry line's scroll bar shows.
constexpr int16_t kOneLineHeight = 24;
constexpr int16_t kTallestHeight = 65;

WEReference instance() { return WEList.instance; }

// The record of the frontmost document window, even behind a tool window.
MemoryRef frontmost_document_record() {
    WindowRef front = FrontDocWindow();
    return front ? reinterpret_cast<MemoryRef>(GetTaskAppRef(front)) : nullptr;
}

bool is_arrow(unsigned char key) { return key >= kKeyLeft && key <= kKeyDownArrow; }
bool is_commit_key(unsigned char key) {
    return is_arrow(key) || key == kKeyEscape || key == kKeyTab || key == kKeyEnter || key == kKeyReturn;
}
bool is_navigation_key(unsigned char key) {
    return key == kKeyHome || key == kKeyEnd || key == kKeyPageUp || key == kKeyPageDown;
}

// Control characters the engine takes while editing.
bool engine_takes(unsigned char key) {
    if (key >= 32 && key != kKeyDelete) return true;
    return key == kKeyBackspace || key == kKeyTab || key == kKeyReturn || key == kKeyDelete || is_arrow(key) ||
           (key >= 16 && key <= 20);
}

std::vector<uint8_t> text_bytes() {
    std::vector<uint8_t> bytes;
    if (!instance()) return bytes;
    const int32_t length = WEGetTextLength(instance());
    bytes.reserve(size_t(length));
    for (int32_t i = 0; i < length; ++i) bytes.push_back(WEGetChar(i, instance()));
    return bytes;
}

unsigned char char_before_caret() {
    int32_t start = 0, end = 0;
    WEGetSelection(&start, &end, instance());
    return start > 0 ? WEGetChar(start - 1, instance()) : 0;
}

void insert_text(const unsigned char* text, int32_t length) {
    WEInsert(text, length, nullptr, nullptr, instance());
}

// A format's font, the layer's default standing for the default mark.
int16_t font_of_format(const uint8_t* format, MemoryRef layer) {
    return format_font(format) == kDefaultFontNumber ? Get_Default_Font(layer) : int16_t(format_font(format));
}

// The style typed text takes: the cell's font and size (the document's
// defaults standing for the default marks; 1 and 12 without a document),
// plain and black.
void use_cell_style(MemoryRef layer) {
    WETextStyle style;
    style.tsFont = kNoDocumentFont;
    style.tsSize = kNoDocumentSize;
    if (layer) {
        uint8_t format[kCellFormatSize];
        GetSelectFormat(format, layer, 1);
        style.tsFont = font_of_format(format, layer);
        style.tsSize = format_size_in(format, layer);
    }
    style.tsColor = pf::kBlackColor;
    WESetStyle(weDoFont | weDoSize | weDoFace | weDoReplaceFace | weDoColor, style, instance());
}

void replace_all_text(const std::vector<uint8_t>& bytes, pf::Handle styles, MemoryRef layer) {
    WESetSelection(0, kWholeText, instance());
    WEDelete(instance());
    use_cell_style(layer);
    if (!bytes.empty()) WEInsert(bytes.data(), int32_t(bytes.size()), styles, nullptr, instance());
    WESetSelection(0, 0, instance());
    WEResetModCount(instance());
    WEClearUndo(instance());
}

// The layer and the cell of it that the entry line shows while no cell is edited.
struct ShownCell {
    MemoryRef layer = nullptr;
    CellPoint cell{};
};
ShownCell shown_cell;

void note_shown_cell(MemoryRef layer) { shown_cell = ShownCell{layer, layer ? GetClickCell(layer) : CellPoint{}}; }

// A text the entry line shows while no cell is edited, the bar fitted to it.
void show_text(const std::vector<uint8_t>& bytes, pf::Handle styles, MemoryRef layer) {
    replace_all_text(bytes, styles, layer);
    SizeIconEditor();
}

// The keyboard follows the script of the active cell's font, when more than
// one script is installed.
void follow_cell_script(MemoryRef layer) {
    if (g_system.script_count < 2) return;
    uint8_t format[kCellFormatSize];
    GetSelectFormat(format, layer, 1);
    const int16_t script = pf::font_to_script(font_of_format(format, layer));
    if (script != pf::keyboard_script()) pf::set_keyboard_script(script);
}

// The in-cell view and the command bar's height follow every change of the text.
void mirror_in_cell() {
    if (Editor_Wind) UpdateInCellEditor(doc_window_layer(Editor_Wind));
    SizeIconEditor();
}

// The height the entry line's text asks of the command bar below the entry
// line's top: all its lines while a cell is edited, else its first line.
int32_t wanted_entry_height() {
    const int32_t lines = WECountLines(instance());
    if (Editor_Wind && lines > 1) return WEGetHeight(0, lines, instance());
    return WEGetTextLength(instance()) > 0 ? WEGetHeight(0, 1, instance()) : 0;
}

// The entry line's whole text area in the command bar.
LongRect entry_area{};

// The view shows the lines the command bar is sized to: all of them while a
// cell is edited, else the first alone, so that no next line shows cut.
void show_lines_of_bar() {
    LongRect shown = entry_area;
    if (!Editor_Wind && WECountLines(instance()) > 1)
        shown.bottom = std::min(shown.bottom, shown.top + WEGetHeight(0, 1, instance()));
    LongRect view;
    WEGetViewRect(view, instance());
    if (view == shown) return;
    WESetViewRect(shown, instance());
    if (shown.bottom < view.bottom) {
        pf::PortScope scope((*instance())->port[0]);
        pf::erase_rect(WELongRectToRect(LongRect{shown.bottom, view.left, view.bottom, view.right}));
    }
}

// The bar the preferences name for editing replaces the shown one while a
// cell is edited.
void show_editing_bar() {
    if (!app_prefs.editing_bar) return;
    WEList.saved_bar = app_prefs.bar_shown;
    window_services.show_button_bar(app_prefs.editing_bar);
    app_prefs.options2 |= kPrefRefreshButtons;
}

void restore_bar_before_editing() {
    if (!app_prefs.editing_bar || app_prefs.bar_shown == WEList.saved_bar) return;
    window_services.show_button_bar(int16_t(WEList.saved_bar + 1));
    app_prefs.options2 |= kPrefRefreshButtons;
}

// The entry line's scroll and click-loop procedures are the command bar's.
void entry_scrolled(WEReference entry) { window_services.entry_was_scrolled(entry); }
bool entry_click_loop(WEReference entry) { return window_services.entry_click_tracking(entry); }

// The entry line lives in the command bar (its area follows the bar's layout
// when the bar is drawn); without a command bar, in an offscreen world of its own.
pf::GWorldPtr entry_home = nullptr;
constexpr pf::Rect kHomeBounds{0, 0, 40, 480};
constexpr pf::Rect kHomeArea{2, 2, 38, 478};

WEReference ensure_entry_line() {
    if (WEList.instance) return WEList.instance;
    if (WindowRef bar = window_services.app_command_bar()) return InitEntryLine(pf::window_port(bar), kHomeArea);
    if (!entry_home && pf::new_gworld(&entry_home, 0, kHomeBounds, 0) != pf::noErr) return nullptr;
    return InitEntryLine(&entry_home->port, kHomeArea);
}

// Navigation by Control with a letter: the key it stands for, 0 when consumed.
unsigned char control_navigation(unsigned char key, MemoryRef record, MemoryRef layer) {
    switch (key + '@') {
        case 'A':
            nav_command(kNavSelectHome, layer);
            DisplayText(record, 1);
            return 0;
        case 'F': nav_command(kNavSelectLastRow, layer); return 0;
        case 'Q': nav_command(kNavNextRow, layer); return 0;
        case 'Z': nav_command(kNavPreviousRow, layer); return 0;
        case 'T': return kKeyHome;
        case 'V': return kKeyEnd;
        case 'R': return kKeyPageUp;
        case 'C': return kKeyPageDown;
        case 'S': return kKeyLeft;
        case 'D': return kKeyRight;
        case 'E': return kKeyUpArrow;
        case 'X': return kKeyDownArrow;
        case 'H': return kKeyBackspace;
        default: return key;
    }
}

void navigation_key(unsigned char key, MemoryRef record, MemoryRef layer) {
    if (Editor_Wind) return;
    const int16_t command = key == kKeyHome ? kNavShowHome
                            : key == kKeyEnd ? kNavShowLastRow
                            : key == kKeyPageUp ? kNavPreviousPage
                                                : kNavNextPage;
    nav_command(command, layer);
    DisplayText(record, 1);
}

void abandon_entry(MemoryRef record, MemoryRef layer) {
    DeActivateEditor();
    DisplayText(record, 1);
    DrawInputCell(layer, nullptr);
}

// Commits into the window being edited, whichever window the key came to.
void commit_entry(unsigned char key) {
    MemoryRef record = Editor_Wind;
    MemoryRef layer = doc_window_layer(record);
    if (WindowRef window = doc_window_window(record); window && FrontDocWindow() != window)
        pf::select_window(window);
    const CellPoint noted = GetClickCell(layer);
    if (!Cell_Entry(layer, int8_t(key))) return;
    Editor_Wind = nullptr;
    DisplayText(record, 1);
    const CellPoint cells[2] = {noted, noted};
    DrawInputCell(layer, cells);
}

void editing_key(unsigned char key, uint16_t modifiers, MemoryRef record, MemoryRef layer) {
    if (key == kKeyEscape) {
        abandon_entry(record, layer);
        return;
    }
    bool text_mode = modifiers & pf::kOptionKey;
    if (is_arrow(key) && (app_prefs.options2 & kPrefSwapArrows)) text_mode = !text_mode;
    if (text_mode && is_arrow(key)) {
        const bool vertical = key == kKeyUpArrow || key == kKeyDownArrow;
        if (!(vertical && (modifiers & pf::kShiftKey)))
            WEKey(key, modifiers & ~pf::kOptionKey, instance(), caret_sets_keyboard_script());
        mirror_in_cell();
        return;
    }
    if (text_mode && key == kKeyReturn) {
        WEKey(kKeyReturn, 0, instance());
        mirror_in_cell();
        return;
    }
    if (is_arrow(key)) {
        const CellPoint active = GetClickCell(layer);
        if (point_mode_key(key, modifiers, active, active, layer)) return;
    }
    commit_entry(key);
}

void inactive_commit_key(unsigned char key, uint16_t modifiers, MemoryRef record, MemoryRef layer) {
    if (key == kKeyEscape) {
        window_services.edit_menu(record, kEditClearItem);
        return;
    }
    sheet_arrow_keys(key, modifiers, layer);
    DisplayText(record, 1);
}

// Backspace with nothing being edited: the selected object goes as Clear
// takes it; selected cells lose their contents at once, keeping formats,
// labels and notes.
void clear_by_key(MemoryRef record, MemoryRef layer) {
    if (window_services.selected_object(layer, 1)) window_services.edit_menu(record, kEditClearItem);
    else window_services.clear_cells(0, layer);
    DisplayText(record, 1);
}

// Opens the entry on the active cell, its text replaced by what comes: that
// was typed in the keyboard's script, which the cell's text, taken into the
// editor, must not change.
bool open_entry_in_keyboard_script(MemoryRef layer, MemoryRef record) {
    const int16_t typed_script = pf::keyboard_script();
    if (!activate_editor(1, -1, layer, record)) return false;
    pf::set_keyboard_script(typed_script);
    return true;
}

void typed_key(unsigned char key, uint16_t modifiers, MemoryRef record, MemoryRef layer) {
    if (Editor_Wind) {
        if (!engine_takes(key)) return;
        WEKey(key, modifiers, instance());
        mirror_in_cell();
        return;
    }
    if (key == kKeyBackspace) {
        clear_by_key(record, layer);
        return;
    }
    if (key < 32 || key == kKeyDelete) return;
    if (!open_entry_in_keyboard_script(layer, record)) return;
    WEKey(key, modifiers, instance());
    mirror_in_cell();
}

// A composition begun in a document window with no cell being edited opens
// the entry on the active cell as a typed key does, and is shown in it.
void open_entry_for_composition() {
    MemoryRef record = window_doc_record(pf::front_non_floating_window());
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    if (Editor_Wind || !layer || window_services.selected_object(layer, 1)) return;
    open_entry_in_keyboard_script(layer, record);
}

// The text of a reference in another window: its layer number, and from
// another workbook the file name in apostrophes with "!".
void prefix_other_window(unsigned char* text, MemoryRef layer, bool absolute) {
    unsigned char prefix[256] = {0};
    MemoryRef edited_layer = doc_window_layer(Editor_Wind);
    if (edited_layer && GetWorkSheet(edited_layer) != GetWorkSheet(layer)) {
        unsigned char name[256] = {0};
        pf::FileSpec spec{};
        if (MemoryRef info = Get_fileinfo(GetWorkSheet(layer))) {
            GetMemoryRecord(info, 0, &spec);
            std::memcpy(name, spec.name, size_t(spec.name[0]) + 1);
        }
        CharConcat(prefix, '\'');
        ConcatPString(prefix, name);
        CharConcat(prefix, '\'');
        CharConcat(prefix, '!');
    } else if (absolute) {
        CharConcat(prefix, '$');
    }
    unsigned char digits[16];
    ConcatPString(prefix, Num_To_String(GetSheetID(layer) + 1, digits));
    CharConcat(prefix, ':');
    ConcatPString(prefix, text);
    std::memcpy(text, prefix, size_t(prefix[0]) + 1);
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace

WEReference InitEntryLine(pf::Port* port, const pf::Rect& area) {
    if (WEList.instance) return WEList.instance;
    pf::Port* saved = pf::get_port();
    pf::set_port(port);
    LongRect rect = WERectToLongRect(area);
    entry_area = rect;
    if (WENew(rect, rect, weFUndo | weFAutoScroll, true, &WEList.instance) != pf::noErr) WEList.instance = nullptr;
    if (WEList.instance) {
        WEScrollProc scrolled = entry_scrolled;
        WEClickLoopProc click_loop = entry_click_loop;
        WESetInfo(pf::four_cc("scrl"), &scrolled, WEList.instance);
        WESetInfo(pf::four_cc("clik"), &click_loop, WEList.instance);
        pf::set_composition_start_hook(open_entry_for_composition);
    }
    pf::set_port(saved);
    return WEList.instance;
}

void DisposeEntryLine() {
    pf::set_composition_start_hook(nullptr);
    if (WEList.instance) WEDispose(WEList.instance);
    if (entry_home) pf::dispose_gworld(entry_home);
    entry_home = nullptr;
    WEList = EntryLineRecord{};
    Editor_Wind = nullptr;
}

void* entry_line_editor() { return WEList.instance; }

void draw_entry_line(const pf::Rect& area) {
    if (!ensure_entry_line()) return;
    LongRect view;
    WEGetViewRect(view, instance());
    const LongRect wanted = WERectToLongRect(area);
    entry_area = wanted;
    if (view.top != wanted.top || view.left != wanted.left || view.right != wanted.right) {
        WESetViewRect(wanted, instance());
        WESetDestRect(wanted, instance());
        WECalText(instance());
    }
    show_lines_of_bar();
    pf::erase_rect(area);
    WEUpdate(nullptr, instance());
}

// A click into the entry line: editing starts there (without the in-cell
// view) or the caret moves.
namespace {

constexpr int16_t kNoEntryBeep = 6;

// Starts editing as a click into the entry line does (no in-cell view); a
// selected drawing object other than a chart has nothing to edit there.
bool activate_by_click(MemoryRef record) {
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    if (!layer || !ensure_entry_line()) return false;
    if (window_services.selected_object(layer, 1) && !window_services.selected_chart(layer)) {
        pf::sys_beep(kNoEntryBeep);
        return false;
    }
    if (!Editor_Wind) {
        app_prefs.options2 |= kPrefEntryLineClicked;
        if (!activate_editor(0, -1, layer, record)) {
            app_prefs.options2 &= ~kPrefEntryLineClicked;
            return false;
        }
    }
    end_point_mode();
    return true;
}

}  // namespace

void ClickEditor(MemoryRef record) {
    if (!activate_by_click(record)) return;
    pf::Point where;
    pf::get_mouse(where);
    WEClick(where, pf::current_modifiers(), pf::tick_count(), instance(), caret_sets_keyboard_script());
    mirror_in_cell();
}

void click_editor_at_end(MemoryRef record) {
    if (!activate_by_click(record)) return;
    WESetSelection(kSelectAllEnd, kSelectAllEnd, instance());
    mirror_in_cell();
}
bool entry_line_editing() { return Editor_Wind != nullptr; }

uint32_t activate_editor(uint16_t select_all, int16_t pane, MemoryRef layer, MemoryRef record) {
    if (!ensure_entry_line() || !layer) return 0;
    if (check_access(layer)) {
        window_services.calc_alert(kProtectedAlert);
        return 0;
    }
    uint8_t format[kCellFormatSize];
    GetSelectFormat(format, layer, 1);
    if (format[kFmtFlagsA] & kFlagLocked) {
        window_services.calc_alert(kLockedAlert);
        return 0;
    }
    show_editing_bar();
    Editor_Wind = record;
    WEActivate(instance());
    if (select_all) {
        WESetSelection(0, kSelectAllEnd, instance());
        use_cell_style(layer);
        WEResetModCount(instance());
    }
    WEClearUndo(instance());
    WEList.in_cell_range = CellRange{GetClickCell(layer), GetClickCell(layer)};
    InitEditorWind(layer, pane, instance());
    SizeIconEditor();
    window_services.refresh_entry_boxes();
    return 1;
}

uint32_t ActivateEditor(uint16_t select_all, int16_t pane, MemoryRef layer) {
    return activate_editor(select_all, pane, layer, frontmost_document_record());
}

void DeActivateEditor() {
    MemoryRef layer = doc_window_layer(Editor_Wind);
    Editor_Wind = nullptr;
    end_point_mode();
    app_prefs.options2 &= ~kPrefEntryLineClicked;
    if (instance()) {
        WEDisposeView(instance());
        WEDeactivate(instance());
        WEResetModCount(instance());
        WEClearUndo(instance());
        SizeIconEditor();
    }
    restore_bar_before_editing();
    window_services.refresh_entry_boxes();
    if (layer) ActivateSheet(kLayerActive, layer);
}

uint32_t DisplayText(MemoryRef record, uint16_t redraw) {
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    const bool object_selected = layer && window_services.selected_object(layer, 1);
    if (layer && !object_selected && !Editor_Wind) follow_cell_script(layer);
    if (!ensure_entry_line() || !redraw || Editor_Wind) return 1;
    note_shown_cell(layer);
    std::vector<uint8_t> bytes;
    MemoryRef runs = nullptr;
    if (MemoryRef chart = layer ? window_services.selected_chart(layer) : nullptr)
        bytes = window_services.range_text_of_chart(chart);
    if (layer && !object_selected) {
        uint8_t format[kCellFormatSize];
        MemoryRef text = Get_CellText(GetClickCell(layer), format, &runs, layer);
        if (text) {
            MemoryUse<const uint8_t> p(text);
            bytes.assign(p.get(), p + GetByteSize(text));
            p.release();
            DisposeMemory(text);
        }
    }
    pf::Handle styles = nullptr;
    if (runs) {
        styles = pf::new_handle(GetByteSize(runs));
        if (styles) std::memcpy(*styles, MemoryUse<>(runs).get(), size_t(GetByteSize(runs)));
        DisposeMemory(runs);
    }
    show_text(bytes, styles, layer);
    if (styles) pf::dispose_handle(styles);
    return 1;
}

void show_refused_entry(const std::vector<uint8_t>& text, MemoryRef layer) {
    if (!ensure_entry_line() || Editor_Wind) return;
    note_shown_cell(layer);
    show_text(text, nullptr, layer);
}

void keep_entry_line_on_front_cell() {
    if (!instance() || Editor_Wind) return;
    MemoryRef record = frontmost_document_record();
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    if (layer == shown_cell.layer && (!layer || GetClickCell(layer) == shown_cell.cell)) return;
    DisplayText(record, 1);
    if (layer) window_services.display_range(layer);  // the reference box names the cell shown
}

int16_t CheckFormula() {
    return instance() && WEGetTextLength(instance()) > 0 && WEGetChar(0, instance()) == '=' ? 1 : 0;
}

uint32_t add_range_text(uint16_t select, const CellRange& range, uint16_t modifiers, MemoryRef layer) {
    if (!instance()) return 0;
    const bool option = modifiers & pf::kOptionKey;
    const bool absolute[4] = {option, option, option, option};
    unsigned char text[256];
    RangeString(text, &range, absolute, nullptr);
    MemoryRef edited_layer = doc_window_layer(Editor_Wind);
    if (edited_layer && layer != edited_layer) prefix_other_window(text, layer, option);
    const unsigned char before = char_before_caret();
    unsigned char lead = 0;
    if ((modifiers & pf::kShiftKey) && is_digit(before) && is_single_cell(range)) lead = ':';
    else if (!isOpchar(before) && before != '(' && before != ':' && before != listSep) lead = '+';
    if (lead) {
        unsigned char joined[256] = {1, lead};
        ConcatPString(joined, text);
        std::memcpy(text, joined, size_t(joined[0]) + 1);
    }
    int32_t start = 0, end = 0;
    WEGetSelection(&start, &end, instance());
    insert_text(text + 1, text[0]);
    if (select) WESetSelection(start, start + text[0], instance());
    mirror_in_cell();
    return 1;
}

void AddFunctionStr(const unsigned char* name) {
    if (!instance()) return;
    if (WEGetTextLength(instance()) == 0) insert_text(reinterpret_cast<const unsigned char*>("="), 1);
    const unsigned char before = char_before_caret();
    if (!isOpchar(before) && before != '(' && before != ')') insert_text(reinterpret_cast<const unsigned char*>("+"), 1);
    int32_t start = 0, end = 0;
    WEGetSelection(&start, &end, instance());
    insert_text(name + 1, name[0]);
    if (name[0] > 0 && name[name[0]] == ')') {
        const unsigned char* open = static_cast<const unsigned char*>(std::memchr(name + 1, '(', name[0]));
        if (open) {
            const int32_t first = int32_t(open - (name + 1)) + 1;
            int32_t last = first;
            while (last < name[0] && name[1 + last] != ')' && name[1 + last] != listSep) ++last;
            WESetSelection(start + first, start + last, instance());
        }
    }
    mirror_in_cell();
}

// The caret blinks in the entry line when editing began there, else in the
// in-cell view while the edited cell is on screen.
void IdleEditor() {
    if (!instance() || !Editor_Wind) return;
    if ((app_prefs.options2 & kPrefEntryLineClicked) || place_in_cell_view(doc_window_layer(Editor_Wind)))
        WEIdle(&WEList.sleep_time, instance());
}

uint32_t DrawInputCell(MemoryRef layer, const CellPoint* cells) {
    if (!layer) return 0;
    ActivateSheet(kLayerActive, layer);
    const CellPoint edited = cells ? cells[0] : GetClickCell(layer);
    const int16_t first = edited.v;
    int16_t last = cells ? std::max(cells[0].v, cells[1].v) : edited.v;
    // The rows below that the in-cell view grew over show their own cells again.
    if (WEList.in_cell_range.topLeft == edited) last = std::max(last, WEList.in_cell_range.botRight.v);
    const CellRange rows{{first, 0}, {last, kLastCell}};
    DrawCells(&rows, layer);
    return 1;
}

uint32_t Cell_Entry(MemoryRef layer, int8_t key) {
    if (!instance()) return 1;
    if (WEGetModCount(instance()) != 0) {
        pf::Handle text = pf::new_handle(0), styles = pf::new_handle(0);
        WECopyRange(0, kWholeText, text, styles, nullptr, instance());
        MemoryRef text_block = Bytes2Memory(&mem_globals, *text, 1, int32_t(pf::get_handle_size(text)));
        MemoryRef style_block = pf::get_handle_size(styles) >= 2
                                    ? Bytes2Memory(&mem_globals, *styles, 1, int32_t(pf::get_handle_size(styles)))
                                    : nullptr;
        pf::dispose_handle(text);
        pf::dispose_handle(styles);
        uint16_t offset = 0;
        const int32_t code = text_block ? Enter_Data(layer, text_block, style_block, &offset, uint8_t(key))
                                        : kEntryNoMemory;
        DisposeNonNilMemory(text_block);
        DisposeNonNilMemory(style_block);
        if (code != kEntryStored) {
            WESetSelection(offset, kWholeText, instance());
            mirror_in_cell();
            error_alert(kParserErrorStrList, int16_t(code));
            return 0;
        }
    }
    DrawInputCell(layer, nullptr);
    DeActivateEditor();
    return 1;
}

void EditorKey(unsigned char key, MemoryRef record, int16_t modifiers) {
    MemoryRef layer = record ? doc_window_layer(record) : nullptr;
    if (!layer) return;
    app_prefs.options2 |= kPrefRefreshButtons;
    const uint16_t mods = uint16_t(modifiers);
    if (!is_arrow(key) || (mods & pf::kOptionKey)) end_point_mode();
    if (!Editor_Wind && (app_prefs.options2 & kPrefControlNavigation) && (mods & pf::kControlKey) && key < 27) {
        key = control_navigation(key, record, layer);
        if (key == 0) return;
    }
    if (is_navigation_key(key)) navigation_key(key, record, layer);
    else if (is_commit_key(key) && Editor_Wind) editing_key(key, mods, record, layer);
    else if (is_commit_key(key)) inactive_commit_key(key, mods, record, layer);
    else typed_key(key, mods, record, layer);
}

int32_t entry_text(unsigned char* out, int32_t capacity) {
    const std::vector<uint8_t> bytes = text_bytes();
    const int32_t length = std::min<int32_t>(capacity, int32_t(bytes.size()));
    std::memcpy(out, bytes.data(), size_t(length));
    return length;
}

void SizeIconEditor() {
    app_prefs.options2 |= kPrefRefreshButtons;
    if (!instance()) return;
    show_lines_of_bar();
    if (!window_services.app_command_bar()) return;
    const int32_t height = std::clamp<int32_t>(wanted_entry_height(), kOneLineHeight, kTallestHeight);
    window_services.fit_bar_to_entry_text(height, height == kTallestHeight);
}

void update_entry_editors() { mirror_in_cell(); }

uint32_t editor_paste(MemoryRef) {
    if (!instance() || !Editor_Wind) return 0;
    window_services.export_clipboard();
    const pf::OSErr err = WEPaste(instance());
    mirror_in_cell();
    return err == pf::noErr ? 1 : 0;
}

RunLook editor_caret_look() {
    RunLook look;
    if (!instance()) return look;
    uint16_t mode = weDoFont | weDoSize | weDoFace | weDoColor;
    WETextStyle style;
    WEContinuousStyle(&mode, style, instance());
    look.font = style.tsFont;
    look.size = style.tsSize;
    look.face = style.tsFace;
    look.colour[0] = style.tsColor.red;
    look.colour[1] = style.tsColor.green;
    look.colour[2] = style.tsColor.blue;
    return look;
}

uint32_t editor_paste_text(const ScriptedText& text, const RunLook& look) {
    if (!instance() || !Editor_Wind) return 0;
    const std::string runs = run_table_of(text, look);
    pf::Handle styles = pf::ptr_to_hand(runs.data(), pf::Size(runs.size()));
    const pf::OSErr err =
        styles ? WEPasteText(text.text.data(), int32_t(text.text.size()), styles, instance()) : pf::kMemFullErr;
    if (styles) pf::dispose_handle(styles);
    mirror_in_cell();
    return err == pf::noErr ? 1 : 0;
}
