// Drag and drop of cells: a drag of the selection's border, the drop outline
// drawn while it is tracked over a document window, and the drop, which moves
// or copies the cells (or stores text dragged in from another program) with
// one undo step. A drop whose cells would reach past the grid is refused.
#include <algorithm>
#include <string>
#include <vector>

#include "core/memory_use.h"
#include "ui/alerts.h"
#include "ui/lists_and_menus.h"
#include "ui/screen_geometry.h"
#include "ui/task_manager.h"
#include "editing/cell_blocks.h"
#include "editing/clipboard.h"
#include "editing/sheet_drag.h"
#include "editing/undo.h"
#include "model/undo_record.h"
#include "files/text_exchange.h"
#include "model/cell_store.h"
#include "model/format_commands.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "objects/object_clipboard.h"
#include "objects/object_drag.h"
#include "objects/object_drawing.h"
#include "objects/object_placement.h"
#include "objects/object_commands.h"
#include "objects/object_records.h"
#include "objects/picture_files.h"
#include "platform/draw/draw.h"
#include "printing/cell_picture.h"
#include "platform/draw/region.h"
#include "platform/draw/shapes.h"
#include "platform/events/events.h"
#include "ui/app_prefs.h"
#include "window/cell_geometry.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

constexpr uint32_t kPrefDragText = 0x04000000, kPrefDragPicture = 0x08000000;
constexpr uint32_t kScrollDelayTicks = 10;
constexpr int16_t kMoveUndoKind = 4;
constexpr pf::DragItemRef kCellsItem = 1;
constexpr pf::FourCC kStyleFlavor = pf::four_cc("styl");
constexpr int16_t kLockedObjectAlert = 2;
constexpr CellRange kNoRange{{-1, -1}, {-1, -1}};

// The drop outline: a grey frame drawn by exclusive or, so drawn twice it is gone.
struct DropOutline {
    MemoryRef layer = nullptr;
    int16_t pane = 0;
    CellRange range = kNoRange;
    bool drawn = false;
};

// The one drag of cells that can run at a time.
struct CellDrag {
    MemoryRef sheet = nullptr;  // the layer it started in; none for drags of other programs
    int16_t pane = 0;
    CellRange range{};
    CellPoint offset{};
    int16_t error = 0;          // an alert code the receiver leaves for the sender
    bool off_grid = false;      // the receiver refused a drop past the grid
    int16_t file_error = 0;     // why a dropped image file gave no picture
    pf::FileSpec refused_file{};
    bool acceptable = false;
    uint32_t scroll_timer = 0;
    DropOutline outline;
    bool objects = false;             // the drag carries the layer's selected objects
    MemoryRef object = nullptr;       // the object clicked, when it was on screen
    pf::Point object_offset{};        // the click's offset from that object's top left
};
CellDrag cell_drag;

pf::Point to_local(pf::WindowRef window, pf::Point global) {
    const pf::Rect content = pf::window_content_rect(window);
    return pf::Point{int16_t(global.v - content.top), int16_t(global.h - content.left)};
}

pf::Point drag_mouse(pf::WindowRef window, pf::DragRef drag) {
    pf::Point global{};
    pf::get_drag_mouse(drag, global);
    return to_local(window, global);
}

pf::Rect pane_rect(int16_t pane, MemoryRef layer) {
    pf::Rect r{};
    GetPaneRect(&r, pane, layer);
    return r;
}

// Where a drop may land: the drag's own pane in its own layer, else every pane.
pf::Rect tracking_rect(MemoryRef layer) {
    if (layer == cell_drag.sheet) return pane_rect(cell_drag.pane, layer);
    const pf::Rect first = pane_rect(0, layer);
    LayerUse sheet(layer);
    const pf::Rect content = sheet->view_rect;
    sheet.release();
    return pf::Rect{first.top, first.left, content.bottom, content.right};
}

int32_t rows_of(const CellRange& r) { return r.botRight.v - r.topLeft.v; }
int32_t columns_of(const CellRange& r) { return r.botRight.h - r.topLeft.h; }

bool on_grid(const CellRange& r) { return r.botRight.v <= kLastCell && r.botRight.h <= kLastCell; }

// ---- The outline ---------------------------------------------------------------

void toggle_outline(const DropOutline& outline) {
    pf::WindowRef window = layer_window(outline.layer);
    if (!window) return;
    PushWindowPort(window);
    pf::Rect r{};
    Range_Location(outline.pane, &r, 0, &outline.range, outline.layer);
    const pf::Rect pane = pane_rect(outline.pane, outline.layer);
    pf::RgnHandle saved = pf::new_region();
    pf::get_clip(saved);
    pf::clip_rect(pane);
    pf::pen_normal();
    pf::pen_size(2, 2);
    pf::pen_mode(pf::kPatXor);
    pf::pen_pat(pf::kGrayPattern);
    pf::frame_rect(r);
    pf::pen_normal();
    pf::set_clip(saved);
    pf::dispose_region(saved);
    PopPort();
}

void erase_outline() {
    DropOutline& outline = cell_drag.outline;
    if (outline.drawn) toggle_outline(outline);
    outline.drawn = false;
    outline.range = kNoRange;
}

// Draws the outline of the dragged range dropped at a cell, moving it from where it was.
void SheetUpdateDragCaret(CellPoint cell, int16_t pane, MemoryRef layer) {
    if (cell.h < 0) {
        erase_outline();
        return;
    }
    const CellRange range = drop_target(cell, cell_drag.offset, cell_drag.range);
    DropOutline& outline = cell_drag.outline;
    if (outline.drawn && outline.layer == layer && outline.pane == pane && outline.range == range) return;
    erase_outline();
    outline = DropOutline{layer, pane, range, true};
    toggle_outline(outline);
}

// ---- Tracking --------------------------------------------------------------------

bool option_copy(pf::DragRef drag) { return _WEIsOptionDrag(drag); }

void scroll_towards(pf::WindowRef window, MemoryRef layer, pf::Point mouse) {
    if (layer != cell_drag.sheet) return;
    const uint32_t now = pf::tick_count();
    if (!cell_drag.scroll_timer) cell_drag.scroll_timer = now;
    if (now - cell_drag.scroll_timer > kScrollDelayTicks) ClickLoop(window_doc_record(window), cell_drag.pane, mouse);
    SetCursorTo(kMoveCursor);
}

// A window other than the one the drag left shows that it can take the drop.
void show_hilite(pf::WindowRef window, MemoryRef layer, pf::DragRef drag) {
    uint32_t attributes = 0;
    pf::get_drag_attributes(drag, attributes);
    if (pf::drag_hilite_window(drag) == window || !(attributes & pf::kDragHasLeftSenderWindow)) return;
    pf::show_drag_hilite(drag, window, tracking_rect(layer));
}

void track_in_window(pf::WindowRef window, MemoryRef layer, pf::DragRef drag) {
    if (!cell_drag.acceptable) return;
    const pf::Point mouse = drag_mouse(window, drag);
    if (!pf::pt_in_rect(mouse, tracking_rect(layer))) {
        pf::hide_drag_hilite(drag);
        erase_outline();
        scroll_towards(window, layer, mouse);
        return;
    }
    show_hilite(window, layer, drag);
    cell_drag.scroll_timer = 0;
    const int16_t pane = layer == cell_drag.sheet ? cell_drag.pane : find_pane(mouse, layer);
    if (pane < 0) {
        erase_outline();
        return;
    }
    CellPoint cell{};
    PtinCell(&cell, mouse, pane, layer);
    const bool own_place = layer == cell_drag.sheet && drop_target(cell, cell_drag.offset, cell_drag.range).topLeft ==
                                                           cell_drag.range.topLeft;
    SetCursorTo(option_copy(drag) ? kCopyCursor : kMoveCursor);
    // Dragged objects show their own outline, not the cells'.
    if (own_place || cell_drag.objects) erase_outline();
    else SheetUpdateDragCaret(cell, pane, layer);
}

pf::OSErr SheetTrackDrag(int16_t message, pf::WindowRef window, void*, pf::DragRef drag) {
    MemoryRef layer = doc_window_layer(window_doc_record(window));
    if (!layer) return pf::kBadDragItemErr;
    switch (message) {
        case pf::kDragTrackingEnterWindow: cell_drag.acceptable = CanAcceptDrag(drag) && !Editor_Wind; break;
        case pf::kDragTrackingInWindow: track_in_window(window, layer, drag); break;
        case pf::kDragTrackingLeaveWindow:
            erase_outline();
            pf::hide_drag_hilite(drag);
            break;
        default: break;
    }
    return pf::noErr;
}

// ---- Receiving -------------------------------------------------------------------

// Stores a block of cells numbered as `source` at `target`, with an undo record.
int16_t copy_paste(MemoryRef layer, MemoryRef block, const CellRange& source, const CellRange& target) {
    const bool past_used = reaches_past_used(layer, target);
    const int16_t error = store_with_undo(layer, source, target, block, false);
    if (error) return error;
    show_pasted(layer, target, past_used);
    return 0;
}

// A drop's target with a locked cell: the alert code for the sender.
bool locked(const CellRange& range, MemoryRef layer) {
    if (!check_protected(&range, layer)) return false;
    cell_drag.error = kLockedCellsAlert;
    return true;
}

// Refuses a target past the grid; nothing changes.
bool off_grid(const CellRange& target) {
    if (on_grid(target)) return false;
    cell_drag.off_grid = true;
    return true;
}

int16_t copy_cells(MemoryRef from, const CellRange& source, const CellRange& target, MemoryRef layer) {
    MemoryRef block = nullptr;
    if (!CopyCellInfo(source.topLeft, source.botRight, &block, GetSpreadSheetCells(from))) return kEditNoMemory;
    int16_t error = cells_for_layer(&block, Get_1900Date_Flag(GetWorkSheet(from)) != 0, Get_Default_Font(from), layer);
    if (!error) error = copy_paste(layer, block, source, target);
    DisposeNonNilMemory(block);
    return error;
}

int16_t drop_cells(MemoryRef layer, CellPoint cell, pf::DragRef drag) {
    const bool own = layer == cell_drag.sheet;
    const CellRange source = own ? current_selection(layer) : cell_drag.range;
    const CellRange target = drop_target(cell, cell_drag.offset, cell_drag.range);
    if (own && target.topLeft == source.topLeft) return pf::kDragNotAcceptedErr;
    if (off_grid(target) || locked(target, layer)) return -1;
    if (!own || option_copy(drag)) return copy_cells(cell_drag.sheet, source, target, layer);
    if (locked(source, layer)) return -1;
    return MoveSheetCells(int16_t(target.topLeft.h - source.topLeft.h), int16_t(target.topLeft.v - source.topLeft.v), 0,
                          kMoveUndoKind, layer);
}

// The dragged objects dropped with the clicked object's corner where the
// mouse is, less the click's offset in it: moved within their own layer
// (copied with Option), copied to any other.
int16_t drop_objects(pf::WindowRef window, MemoryRef layer, pf::DragRef drag) {
    if (!cell_drag.object) return 0;
    const bool own = layer == cell_drag.sheet;
    const int16_t pane = own ? cell_drag.pane : find_pane(drag_mouse(window, drag), layer);
    const pf::Point mouse = drag_mouse(window, drag);
    const pf::Rect now = object_rect(cell_drag.object, pane, layer);
    const pf::Point offset{int16_t(mouse.v - now.top - cell_drag.object_offset.v),
                           int16_t(mouse.h - now.left - cell_drag.object_offset.h)};
    if (!own || option_copy(drag)) {
        MemoryRef copies = copy_selected_objects(cell_drag.sheet);
        if (!copies) return kEditNoMemory;
        Drop_Objects(copies, offset, pane, layer);
        return 0;
    }
    if (offset == pf::Point{}) return pf::kDragNotAcceptedErr;
    if (check_selected_list(layer)) {
        cell_drag.error = kLockedObjectAlert;
        return 0;
    }
    record_object_moves(kUndoObjectsMoved, layer);
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i)
        Reset_Location(object, pane, offset, layer);
    DrawAllObjects(layer);
    return 0;
}

bool offers(pf::DragRef drag, pf::DragItemRef item, pf::FourCC flavor) {
    pf::FlavorFlags flags = 0;
    return pf::get_flavor_flags(drag, item, flavor, flags) == pf::noErr;
}

// Text dragged in from another program, stored as tab-separated cells.
// Text of other scripts than Roman comes in UTF-8, each field kept in its script.
int16_t drop_text(MemoryRef layer, CellPoint cell, pf::DragRef drag, pf::DragItemRef item) {
    const bool unicode = offers(drag, item, pf::kFlavorTypeUnicodeText);
    pf::Handle data = nullptr;
    if (pf::OSErr err = GetFlavor(drag, item, unicode ? pf::kFlavorTypeUnicodeText : pf::kFlavorTypeText, &data))
        return err;
    const std::string text(static_cast<const char*>(*data), size_t(pf::get_handle_size(data)));
    pf::dispose_handle(data);
    const int32_t rows = text_rows(text);
    if (rows == 0) return 0;
    if (cell.v + rows - 1 > kLastCell) {
        cell_drag.off_grid = true;
        return -1;
    }
    std::string store;
    CellRange parsed{};
    if (!dropped_text_to_cells(text, unicode, cell, layer, store, &parsed)) return 0;
    const CellRange target{cell, {int16_t(cell.v + rows_of(parsed)), int16_t(cell.h + columns_of(parsed))}};
    if (off_grid(target) || locked(target, layer)) return -1;
    MemoryRef block = Bytes2Memory(GetMemoryGlobals(layer), store.data(), 1, int32_t(store.size()));
    if (!block) return kEditNoMemory;
    const bool past_used = reaches_past_used(layer, target);
    const int16_t error = store_with_undo(layer, parsed, target, block, true);
    DisposeMemory(block);
    if (!error) show_pasted(layer, target, past_used);
    return error;
}

// The file of an item's "hfs " flavour; false when it has none.
bool dropped_file(pf::DragRef drag, pf::DragItemRef item, pf::FileSpec* spec) {
    pf::Handle data = nullptr;
    if (GetFlavor(drag, item, pf::kFlavorTypeHfs, &data) != pf::noErr) return false;
    const bool whole = pf::get_handle_size(data) >= int32_t(sizeof(pf::HfsFlavor));
    if (whole) *spec = reinterpret_cast<const pf::HfsFlavor*>(*data)->spec;
    pf::dispose_handle(data);
    return whole;
}

// A picture object of an item's picture, or of the image file it names; none
// when it holds neither.
MemoryRef dropped_picture(pf::DragRef drag, pf::DragItemRef item) {
    pf::Handle data = nullptr;
    if (GetFlavor(drag, item, pf::kFlavorTypePicture, &data) == pf::noErr) {
        MemoryRef object = picture_object_from(reinterpret_cast<const uint8_t*>(*data), int32_t(pf::get_handle_size(data)));
        pf::dispose_handle(data);
        return object;
    }
    pf::FileSpec spec{};
    if (!dropped_file(drag, item, &spec)) return nullptr;
    int16_t error = 0;
    MemoryRef object = picture_object_from_file(spec, &error);
    if (error) {
        cell_drag.file_error = error;
        cell_drag.refused_file = spec;
    }
    return object;
}

int16_t drop_from_elsewhere(MemoryRef layer, CellPoint cell, pf::DragRef drag) {
    uint16_t count = 0;
    pf::count_drag_items(drag, count);
    int16_t result = 0;
    std::vector<MemoryRef> pictures;
    for (uint16_t index = 1; index <= count; ++index) {
        pf::DragItemRef item = 0;
        pf::get_drag_item_reference_number(drag, index, item);
        if (offers(drag, item, pf::kFlavorTypeText)) {
            pictures.push_back(nullptr);
            result = drop_text(layer, cell, drag, item);
            if (result) break;
        } else if (offers(drag, item, pf::kFlavorTypePicture) || offers(drag, item, pf::kFlavorTypeHfs)) {
            pictures.push_back(dropped_picture(drag, item));
        } else {
            break;
        }
    }
    drop_picture_objects(pictures, cell, layer);
    return result;
}

// The cell a drop lands on, or -1s when it lies outside where drops may land.
CellPoint drop_cell(pf::WindowRef window, MemoryRef layer, pf::DragRef drag) {
    const pf::Point mouse = drag_mouse(window, drag);
    if (!pf::pt_in_rect(mouse, tracking_rect(layer))) return CellPoint{-1, -1};
    const int16_t pane = layer == cell_drag.sheet ? cell_drag.pane : find_pane(mouse, layer);
    if (pane < 0) return CellPoint{-1, -1};
    CellPoint cell{};
    PtinCell(&cell, mouse, pane, layer);
    return cell;
}

void show_refusal(MemoryRef layer) {
    if (cell_drag.off_grid) refuse_move_off_grid();
    else if (cell_drag.error) layer_alert(layer, cell_drag.error);
    else if (cell_drag.file_error) show_named_file_error(cell_drag.file_error, cell_drag.refused_file.name);
    cell_drag.off_grid = false;
    cell_drag.error = 0;
    cell_drag.file_error = 0;
}

pf::OSErr SheetReceiveDrag(pf::WindowRef window, void*, pf::DragRef drag) {
    erase_outline();
    MemoryRef layer = doc_window_layer(window_doc_record(window));
    if (!layer || Editor_Wind) return pf::kBadDragItemErr;
    if (!CanAcceptDrag(drag)) return pf::kBadDragFlavorErr;
    const CellPoint cell = drop_cell(window, layer, drag);
    if (cell.v < 0) return pf::kDragNotAcceptedErr;
    if (check_access(layer)) {
        cell_drag.error = kProtectedWorkbookAlert;
        if (!cell_drag.sheet) show_refusal(layer);
        return pf::kDragNotAcceptedErr;
    }
    const int16_t result = !cell_drag.sheet ? drop_from_elsewhere(layer, cell, drag)
                           : cell_drag.objects ? drop_objects(window, layer, drag)
                                               : drop_cells(layer, cell, drag);
    if (!cell_drag.sheet) show_refusal(layer);
    return result;
}

// ---- Sending ---------------------------------------------------------------------

// Item n of an object drag is the n-th selected object: its picture, and a
// text box's text and styles.
pf::OSErr send_object_flavor(pf::FourCC type, MemoryRef layer, pf::DragItemRef item, pf::DragRef drag) {
    MemoryRef object = get_selected_object(layer, int32_t(item));
    if (!object) return pf::kBadDragItemErr;
    std::vector<uint8_t> data = type == pf::kFlavorTypePicture ? dragged_object_picture(object)
                                : type == pf::kFlavorTypeText ? dragged_object_text(object)
                                : type == kStyleFlavor       ? dragged_object_styles(object)
                                                             : std::vector<uint8_t>();
    if (data.empty() && type != kStyleFlavor) return pf::kBadDragFlavorErr;
    return pf::set_drag_item_flavor_data(drag, item, type, data.data(), int32_t(data.size()));
}

// A picture of the dragged cells (they are the source layer's selection).
pf::OSErr send_cells_picture(MemoryRef layer, pf::DragItemRef item, pf::DragRef drag) {
    pf::PicHandle picture = nullptr;
    Image_List(&picture, layer);
    if (!picture) return pf::kBadDragFlavorErr;
    const pf::OSErr error =
        pf::set_drag_item_flavor_data(drag, item, pf::kFlavorTypePicture, picture->data.data(), int32_t(picture->data.size()));
    pf::kill_picture(picture);
    return error;
}

// The dragged cells as tab-separated text, in the mode the export setting
// asks for, or as a picture.
pf::OSErr SheetSendFlavor(pf::FourCC type, void* refcon, pf::DragItemRef item, pf::DragRef drag) {
    auto layer = static_cast<MemoryRef>(refcon);
    if (cell_drag.objects && cell_drag.sheet) return send_object_flavor(type, layer, item, drag);
    if (type == pf::kFlavorTypePicture && cell_drag.sheet) return send_cells_picture(layer, item, drag);
    const bool unicode = type == pf::kFlavorTypeUnicodeText;
    if ((type != pf::kFlavorTypeText && !unicode) || !cell_drag.sheet) return pf::kBadDragFlavorErr;
    const CellRange r = cell_drag.range;
    MemoryRef cells = nullptr, text = nullptr;
    if (!CopyCellInfo(r.topLeft, r.botRight, &cells, GetSpreadSheetCells(layer))) return kEditNoMemory;
    const int16_t setting = app_prefs.export_choice;
    const int16_t formulas = setting == 2 ? 1 : 0, displayed = setting == 1 || setting == 2 ? 1 : 0;
    const bool dates_1900 = Get_1900Date_Flag(GetWorkSheet(layer)) != 0;
    if (unicode) {
        const std::string utf8 =
            cells ? cells_as_unicode_text(cells, r, formulas, displayed, dates_1900, Get_Default_Font(layer))
                  : std::string();
        DisposeNonNilMemory(cells);
        return pf::set_drag_item_flavor_data(drag, item, type, utf8.data(), int32_t(utf8.size()));
    }
    int16_t error = WriteTextData(nullptr, formulas, displayed, '\t', cells, &text, nullptr, r.topLeft, r.botRight,
                                  nullptr, nullptr, dates_1900);
    DisposeNonNilMemory(cells);
    if (error) return error;
    error = pf::set_drag_item_flavor_data(drag, item, type, MemoryUse<>(text).get(), GetByteSize(text));
    DisposeMemory(text);
    return error;
}

// The one-pixel frame of the selection's rectangle in the pane, in global coordinates.
pf::RgnHandle drag_outline(pf::WindowRef window, int16_t pane, const CellRange& range, MemoryRef layer) {
    pf::Rect r{};
    Range_Location(pane, &r, 0, &range, layer);
    pf::sect_rect(r, pane_rect(pane, layer), r);
    const pf::Rect content = pf::window_content_rect(window);
    pf::RgnHandle frame = pf::new_region(), inside = pf::new_region();
    pf::rect_region(frame, r);
    pf::offset_region(frame, content.left, content.top);
    pf::copy_region(frame, inside);
    pf::inset_region(inside, 1, 1);
    pf::diff_region(frame, inside, frame);
    pf::dispose_region(inside);
    return frame;
}

// The clicked cell's offset in the range, the click pulled inside the range's rectangle.
CellPoint clicked_offset(pf::Point click, int16_t pane, const CellRange& range, MemoryRef layer) {
    pf::Rect r{};
    Range_Location(pane, &r, 0, &range, layer);
    click.v = std::clamp<int16_t>(click.v, r.top, int16_t(r.bottom - 1));
    click.h = std::clamp<int16_t>(click.h, r.left, int16_t(r.right - 1));
    CellPoint cell{};
    PtinCell(&cell, click, pane, layer);
    return CellPoint{int16_t(cell.v - range.topLeft.v), int16_t(cell.h - range.topLeft.h)};
}

// The items of a drag of cells: one, with text and a picture as the
// preferences ask; answers the drag's outline.
pf::RgnHandle add_cell_items(pf::DragRef drag, pf::WindowRef window, pf::Point click) {
    MemoryRef layer = cell_drag.sheet;
    cell_drag.range = current_selection(layer);
    cell_drag.offset = clicked_offset(click, cell_drag.pane, cell_drag.range, layer);
    if (app_prefs.options & kPrefDragText) {
        pf::add_drag_item_flavor(drag, kCellsItem, pf::kFlavorTypeText, nullptr, 0, 0);
        pf::add_drag_item_flavor(drag, kCellsItem, pf::kFlavorTypeUnicodeText, nullptr, 0, 0);
    }
    if (app_prefs.options & kPrefDragPicture)
        pf::add_drag_item_flavor(drag, kCellsItem, pf::kFlavorTypePicture, nullptr, 0, 0);
    pf::RgnHandle outline = drag_outline(window, cell_drag.pane, cell_drag.range, layer);
    pf::set_drag_item_bounds(drag, kCellsItem, pf::region_bounds(outline));
    return outline;
}

// One item for each selected object, in selection order: its picture, and a
// text box's text and styles; answers the outlines of the objects in the pane.
pf::RgnHandle add_object_items(pf::DragRef drag, pf::WindowRef window, pf::Point click, MemoryRef clicked) {
    MemoryRef layer = cell_drag.sheet;
    cell_drag.objects = true;
    pf::Rect rect{};
    if (clicked && ObjectOnScreen(cell_drag.pane, 0, &rect, clicked, layer)) {
        cell_drag.object = clicked;
        cell_drag.object_offset = pf::Point{int16_t(click.v - rect.top), int16_t(click.h - rect.left)};
    }
    const pf::Rect content = pf::window_content_rect(window);
    pf::RgnHandle outline = pf::new_region(), frame = pf::new_region(), inside = pf::new_region();
    for (int32_t i = 1; MemoryRef object = get_selected_object(layer, i); ++i) {
        const auto item = pf::DragItemRef(i);
        pf::add_drag_item_flavor(drag, item, pf::kFlavorTypePicture, nullptr, 0, 0);
        if (GetObj_info(object, pf::four_cc("type")) == kTextObject) {
            pf::add_drag_item_flavor(drag, item, pf::kFlavorTypeText, nullptr, 0, 0);
            pf::add_drag_item_flavor(drag, item, kStyleFlavor, nullptr, 0, 0);
        }
        pf::Rect r = object_rect(object, cell_drag.pane, layer);
        pf::sect_rect(r, pane_rect(cell_drag.pane, layer), r);
        pf::rect_region(frame, r);
        pf::copy_region(frame, inside);
        pf::inset_region(inside, 1, 1);
        pf::diff_region(frame, inside, frame);
        pf::union_region(outline, frame, outline);
    }
    pf::dispose_region(inside);
    pf::dispose_region(frame);
    pf::offset_region(outline, content.left, content.top);
    const pf::Rect pane = pane_rect(cell_drag.pane, layer);
    pf::set_drag_item_bounds(drag, 1, pf::Rect{int16_t(pane.top + content.top), int16_t(pane.left + content.left),
                                               int16_t(pane.bottom + content.top), int16_t(pane.right + content.left)});
    return outline;
}

void end_drag() {
    erase_outline();
    cell_drag.sheet = nullptr;
    cell_drag.range = CellRange{};
    cell_drag.offset = CellPoint{};
    cell_drag.acceptable = false;
    cell_drag.scroll_timer = 0;
    cell_drag.objects = false;
    cell_drag.object = nullptr;
}

}  // namespace

CellRange drop_target(CellPoint under_mouse, CellPoint offset, const CellRange& dragged) {
    const int32_t top = std::max(0, under_mouse.v - offset.v), left = std::max(0, under_mouse.h - offset.h);
    const int32_t bottom = top + rows_of(dragged), right = left + columns_of(dragged);
    // Past the grid the corner is kept beyond the last cell, so the drop can be refused.
    return CellRange{{int16_t(top), int16_t(left)},
                     {int16_t(std::min<int32_t>(bottom, INT16_MAX)), int16_t(std::min<int32_t>(right, INT16_MAX))}};
}

bool CanAcceptDrag(pf::DragRef drag) {
    uint16_t count = 0;
    if (pf::count_drag_items(drag, count) != pf::noErr) return false;
    for (uint16_t index = 1; index <= count; ++index) {
        pf::DragItemRef item = 0;
        if (pf::get_drag_item_reference_number(drag, index, item) != pf::noErr) return false;
        if (offers(drag, item, pf::kFlavorTypeText) || offers(drag, item, pf::kFlavorTypePicture)) continue;
        pf::FileSpec spec{};
        return dropped_file(drag, item, &spec) && CanOpenGraphicsFile(spec) == 0;
    }
    return true;
}

int16_t Sheet_Drag(int16_t pane, MemoryRef clicked_object, MemoryRef layer) {
    pf::WindowRef window = layer_window(layer);
    if (!window) return 0;
    LayerUse sheet(layer);
    const pf::Point click = sheet->click_point;
    pf::EventRecord start{pf::kMouseDown, 0, sheet->last_click_time, click, sheet->click_modifiers};
    sheet.release();
    const pf::Rect content = pf::window_content_rect(window);
    start.where = pf::Point{int16_t(click.v + content.top), int16_t(click.h + content.left)};

    cell_drag = CellDrag{};
    cell_drag.sheet = layer;
    cell_drag.pane = pane;
    pf::DragRef drag = pf::new_drag();
    pf::RgnHandle outline = get_selected_object(layer, 1) ? add_object_items(drag, window, click, clicked_object)
                                                          : add_cell_items(drag, window, click);
    pf::set_drag_send_proc(drag, SheetSendFlavor, layer);
    const pf::OSErr result = pf::track_drag(drag, start, outline);
    pf::dispose_region(outline);
    pf::dispose_drag(drag);
    end_drag();
    show_refusal(layer);
    SetCursorTo(kArrowCursor);
    return result;
}

void install_sheet_drag_handlers(pf::WindowRef window) {
    pf::install_tracking_handler(SheetTrackDrag, window, nullptr);
    pf::install_receive_handler(SheetReceiveDrag, window, nullptr);
}

void remove_sheet_drag_handlers(pf::WindowRef window) {
    pf::remove_tracking_handler(SheetTrackDrag, window);
    pf::remove_receive_handler(SheetReceiveDrag, window);
}
