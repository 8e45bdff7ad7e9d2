// The Layer menu and what it does to the layers of a workbook and to their
// windows: showing, adding, cloning, deleting, moving and renaming layers.
#include <cstring>
#include <string>

#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "ui/screen_geometry.h"
#include "core/string_utils.h"
#include "ui/system_info.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "window/open_command.h"
#include "formula/recalc.h"
#include "model/layer.h"
#include "model/undo_record.h"
#include "model/workbook.h"
#include "platform/screen/cursor.h"
#include "platform/text/text.h"
#include "ui/app_prefs.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/document_closing.h"
#include "window/sheet_tabs.h"
#include "window/window_names.h"
#include "window/window_commands.h"
#include "window/window_services.h"
#include "resource_ids.h"

namespace {

enum LayerItem : int16_t {
    kNewLayer = 1,
    kAddLayers = 2,
    kSaveLayer = 3,
    kExportLayer = 4,
    kDeleteLayer = 5,
    kCloneLayout = 6,
    kDuplicateLayer = 7,
    kCloseOthers = 8,
    kOpenAll = 9,
    kRenameLayer = 10,
    kOwnWindowsToggle = 12,
};

constexpr int32_t kProtectedAlert = 6;
constexpr int32_t kCloneFailedAlert = 25;
constexpr int16_t kDeleteAnswer = 2;
constexpr int16_t kRenameOK = 1;
constexpr int16_t kRenameField = 3;
constexpr int16_t kBackToName = 1;
constexpr int16_t kCloneNameLimit = 25;
constexpr int16_t kManyCopies = 10;
constexpr int16_t kMinCloneWidth = 250;
constexpr int16_t kMinCloneHeight = 120;

// ---- Windows of layers ------------------------------------------------------

MemoryRef front_record() { return window_doc_record(FrontDocWindow()); }

void retitle(MemoryRef layer) {
    WindowRef window = layer_window(layer);
    if (!window) return;
    show_window_title(window, layer, Get_fileinfo(GetWorkSheet(layer)));
    window_services.list_window(window);
}

WindowRef open_layer_window(MemoryRef layer) {
    if (WindowRef window = layer_window(layer)) {
        SelectReferencedWindow(window);
        return window;
    }
    return static_cast<WindowRef>(MakeWind(nullptr, 1, layer));
}

// After a layer went: the first layer with a window comes to the front, or
// layer 0 gets one.
void show_a_remaining_layer(MemoryRef workbook) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        if (WindowRef window = layer_window(find_SpreadSheet_item(workbook, i))) {
            SelectReferencedWindow(window);
            return;
        }
    }
    MakeWind(nullptr, 1, find_SpreadSheet_item(workbook, 0));
}

// ---- Menu items ----------------------------------------------------------------

void ask_and_delete(MemoryRef layer) {
    if (num_SpreadSheets(GetWorkSheet(layer)) < 2) {
        pf::sys_beep(1);
        return;
    }
    unsigned char name[256];
    GetSheetName(name, layer);
    if (delete_alert(kDeleteLayerAlert, name) != kDeleteAnswer) return;
    delete_layer(layer);
}

bool name_taken(MemoryRef layer, const unsigned char* name) {
    MemoryRef workbook = GetWorkSheet(layer);
    unsigned char other[256];
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef each = find_SpreadSheet_item(workbook, i);
        if (each == layer) continue;
        GetSheetName(other, each);
        if (pf::equal_pstring(other, name, false, false)) return true;
    }
    return false;
}

// The rename dialog: the new name, or an empty one when cancelled.
void ask_new_name(MemoryRef layer, unsigned char* name) {
    name[0] = 0;
    pf::Point* position = &app_prefs.dialog_positions[0];
    DialogRef dialog = StdNewDLOG(kRenameLayerDialog, kRenameOK, position);
    if (!dialog) return;
    unsigned char current[256];
    GetSheetName(current, layer);
    SetDEditText(dialog, kRenameField, current);
    SelectTheDialogItemText(dialog, kRenameField, 0, 32767);
    const auto read_name = [&] {
        if (!GetDRomanText(dialog, kRenameField, name)) {
            name[0] = 0;
            return false;
        }
        if (name[0] > 31) name[0] = 31;
        if (name[0] && name_taken(layer, name) &&
            key_caution_alert(name, kSameNameAlert, kCautionAlertKind) == kBackToName) {
            name[0] = 0;
            return false;
        }
        return true;
    };
    run_ok_cancel_dialog(dialog, read_name, [](int16_t) {}, position);
}

void rename_item(MemoryRef layer) {
    unsigned char name[256];
    ask_new_name(layer, name);
    if (name[0]) rename_layer(layer, name);
}

void close_other_layers(MemoryRef record) {
    MemoryRef workbook = doc_window_workbook(record);
    MemoryRef shown = doc_window_layer(record);
    for (int16_t i = int16_t(num_SpreadSheets(workbook) - 1); i >= 0; --i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        if (layer == shown) continue;
        if (WindowRef window = layer_window(layer)) CloseTaskFromWindow(window);
    }
}

void open_all_layers(MemoryRef workbook) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        if (!layer_window(layer)) MakeWind(nullptr, 1, layer);
    }
}

void new_layer(MemoryRef record) {
    pf::FileSpec none{};
    TaskRecord task{};
    task.window = doc_window_window(record);
    task.app_ref = uintptr_t(record);
    Open_File(kOpenNewUntitled, &none, &task);
}

// "C" or "D", the copy's number, and the source's name in brackets, cut so
// that the whole stays near 25 characters.
void clone_name(MemoryRef sheet, bool with_data, int16_t number, unsigned char* out) {
    unsigned char name[256];
    GetSheetName(name, sheet);
    const std::string digits = std::to_string(number);
    const int16_t limit = int16_t(kCloneNameLimit - digits.size());
    stripEndChars(name, limit, int16_t(limit - 3));
    std::string text = std::string(with_data ? "D" : "C") + digits + "(" +
                       std::string(reinterpret_cast<const char*>(name + 1), name[0]) + ")";
    set_pstring(out, text, 31);
}

void show_clone(MemoryRef copy, WindowRef source) {
    WindowRef window = static_cast<WindowRef>(MakeWind(nullptr, 0, copy));
    if (!window) return;
    const pf::Rect size = source ? pf::window_port(source)->port_rect : pf::Rect{};
    if (size.width() >= kMinCloneWidth && size.height() >= kMinCloneHeight) {
        pf::size_window(window, int16_t(size.width()), int16_t(size.height()), false);
        ViewChanged(window_doc_record(window), 1);
    }
    pf::select_window(window);
    ShowReferencedWindow(window);
}

}  // namespace

namespace {

// Return, Enter, Escape and Command-period all press button 1 (keep the layer).
bool DeleteFilter(pf::DialogRef dialog, pf::EventRecord& event, int16_t& item_hit) {
    if (event.what != pf::kKeyDown && event.what != pf::kAutoKey) return false;
    const unsigned char ch = pf::event_char(event);
    const bool command_period = (event.modifiers & pf::kCmdKey) && ch == '.';
    if (ch != pf::kReturnChar && ch != pf::kEnterChar && ch != pf::kEscapeChar && !command_period) return false;
    flash_button(dialog, 1);
    item_hit = 1;
    return true;
}

}  // namespace

uint32_t delete_alert(int16_t alert_id, const unsigned char* text) {
    if (in_background()) return 1;
    SetCursorTo(kArrowCursor);
    const bool deactivate = !WindowIsModal(pf::front_window());
    if (deactivate) DeactivateFloatersAndFirstDocumentWindow();
    pf::param_text(text ? pstring_text(text) : std::string());
    const int16_t hit = pf::stop_alert(alert_id, DeleteFilter);
    if (deactivate) ActivateFloatersAndFirstDocumentWindow();
    return uint32_t(hit);
}

bool delete_layer(MemoryRef layer) {
    MemoryRef workbook = GetWorkSheet(layer);
    if (!workbook || num_SpreadSheets(workbook) < 2) return false;
    if (WindowRef window = layer_window(layer)) discard_doc_window(window);
    const int16_t id = GetSheetID(layer);
    follow_layer_in_undo(workbook, true, id, 0);
    DeleteSheet(layer);
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) retitle(find_SpreadSheet_item(workbook, i));
    show_a_remaining_layer(workbook);
    ResetCalc(CellPoint{0, 0}, FrontDocWindow());
    invalidate_tabs();
    return true;
}

void move_layer(MemoryRef workbook, int16_t from, int16_t to) {
    const int16_t count = num_SpreadSheets(workbook);
    const int16_t target = to == kLayerEnd || to >= count ? int16_t(count - 1) : to;
    if (from == target || from < 0 || from >= count) return;
    follow_layer_in_undo(workbook, false, from, target);
    MoveBefore(from, target, workbook);
    for (int16_t i = 0; i < count; ++i) retitle(find_SpreadSheet_item(workbook, i));
    invalidate_tabs();
}

void rename_layer(MemoryRef layer, const unsigned char* name) {
    if (!name[0]) return;
    SetSheetName(name, layer);
    retitle(layer);
    increment_change_ctr(layer);
    invalidate_tabs();
}

void select_layer(MemoryRef record, int16_t index) {
    MemoryRef workbook = doc_window_workbook(record);
    if (!workbook || index < 0 || index >= num_SpreadSheets(workbook)) return;
    MemoryRef layer = find_SpreadSheet_item(workbook, index);
    if (layer == doc_window_layer(record)) return;
    const bool own_windows = (app_prefs.options & kPrefLayersOwnWindows) != 0 || Editor_Wind;
    if (own_windows || layer_window(layer)) {
        open_layer_window(layer);
    } else {
        SwitchLayers(record, layer);
        do_calc_now(doc_window_window(record), 0);
    }
    invalidate_tabs();
}

void SwitchLayers(MemoryRef record, MemoryRef sheet) {
    DocWindowRecord fields = read_doc_window(record);
    if (!fields.window || fields.sheet == sheet) return;
    DeActivateSheet(fields.sheet);
    SetSheetWind(fields.sheet, nullptr);
    SetSheetWind(sheet, fields.window);
    fields.sheet = sheet;
    write_doc_window(record, fields);
    retitle(sheet);
    ActivateSheet(kLayerActive, sheet);
    window_services.display_range(sheet);
    ViewChanged(record, 1);
    pf::inval_window_rect(fields.window, pf::window_port(fields.window)->port_rect);
    DisplayText(record, 1);
}

int32_t CloneDocument(uint16_t with_data, MemoryRef sheet) {
    const int16_t copies = 1;
    WindowRef source = layer_window(sheet);
    for (int16_t number = 1; number <= copies; ++number) {
        MemoryRef copy = CloneLayer(with_data != 0, sheet);
        if (!copy) {
            window_services.calc_alert(kCloneFailedAlert);
            return kCloneFailedAlert;
        }
        unsigned char name[256];
        clone_name(sheet, with_data != 0, number, name);
        SetSheetName(name, copy);
        if (copies <= kManyCopies || number == copies) show_clone(copy, source);
    }
    invalidate_tabs();
    return 0;
}

void DoLayerMenu(MemoryRef, int16_t item) {
    MemoryRef record = front_record();
    if (!record) return;
    MemoryRef layer = doc_window_layer(record);
    MemoryRef workbook = doc_window_workbook(record);
    if (Get_Work_Flags(workbook) & kWorkProtected) {
        window_services.calc_alert(kProtectedAlert);
        return;
    }
    switch (item) {
        case kNewLayer: new_layer(record); break;
        case kAddLayers: AddLayer(workbook); invalidate_tabs(); break;
        case kSaveLayer: DoSave(true, layer, uint16_t(GetSheetID(layer))); break;
        case kExportLayer: DoExport(layer); break;
        case kDeleteLayer: ask_and_delete(layer); break;
        case kCloneLayout: CloneDocument(0, layer); break;
        case kDuplicateLayer: CloneDocument(1, layer); break;
        case kCloseOthers: close_other_layers(record); break;
        case kOpenAll: open_all_layers(workbook); break;
        case kRenameLayer: rename_item(layer); break;
        case kOwnWindowsToggle: app_prefs.options ^= kPrefLayersOwnWindows; break;
        default: break;
    }
}
