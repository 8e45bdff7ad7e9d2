// Typing in a text box with the styled-text engine.
#include "objects/text_box_editing.h"

#include <algorithm>
#include <cstring>

#include "ui/app_prefs.h"
#include "ui/task_manager.h"
#include "model/clip_record.h"
#include "objects/object_clipboard.h"
#include "ui/edit_refusals.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "objects/object_drawing.h"
#include "objects/object_placement.h"
#include "objects/object_records.h"
#include "objects/object_undo.h"
#include "objects/objects.h"
#include "window/text_boxes.h"
#include "window/window_services.h"
#include "platform/events/clock.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/memory/memory.h"
#include "window/doc_window.h"
#include "resource_ids.h"

namespace {

constexpr uint8_t kEnterKey = 3, kEscapeKey = 27;
// Edit menu items.

void set_edited(MemoryRef layer, MemoryRef object, int16_t pane, WEReference we) {
    LayerUse sheet(layer);
    sheet->edited_object = object;
    sheet->edited_object_pane = pane;
    sheet->edited_object_text = we;
}

int16_t edited_pane(MemoryRef layer) {
    LayerUse sheet(layer);
    const int16_t pane = sheet->edited_object_pane;
    return pane;
}

// A text box's data from its parts: u16 length, the characters, u16 style length, the styles.
MemoryRef text_record(const TextBoxParts& parts, MemoryRef layer) {
    std::vector<uint8_t> bytes(4 + parts.text.size() + parts.styles.size());
    const auto length = uint16_t(parts.text.size()), style_length = uint16_t(parts.styles.size());
    std::memcpy(bytes.data(), &length, 2);
    std::copy(parts.text.begin(), parts.text.end(), bytes.begin() + 2);
    std::memcpy(bytes.data() + 2 + length, &style_length, 2);
    std::copy(parts.styles.begin(), parts.styles.end(), bytes.begin() + 4 + length);
    return Bytes2Memory(GetMemoryGlobals(layer), bytes.data(), 1, int32_t(bytes.size()));
}

std::vector<uint8_t> handle_bytes(pf::Handle handle) {
    if (!handle) return {};
    const auto size = size_t(pf::get_handle_size(handle));
    std::vector<uint8_t> bytes(size);
    if (size) std::memcpy(bytes.data(), *handle, size);
    return bytes;
}

TextBoxParts editor_parts(WEReference we) {
    pf::Handle text = pf::new_handle(0), styles = pf::new_handle(0);
    TextBoxParts parts;
    if (text && styles && WECopyRange(0, WEGetTextLength(we), text, styles, nullptr, we) == pf::noErr) {
        parts.text = handle_bytes(text);
        parts.styles = handle_bytes(styles);
    }
    for (pf::Handle handle : {text, styles})
        if (handle) pf::dispose_handle(handle);
    // The length words hold at most this much.
    if (parts.text.size() > 0xFFFF) parts.text.resize(0xFFFF), parts.styles.clear();
    return parts;
}

// Text without styles of its own is shown as the box draws it.
void set_box_style(WEReference we) {
    WETextStyle style;
    style.tsFont = pf::kApplFont;
    style.tsSize = kTextBoxSize;
    WESetSelection(0, WEGetTextLength(we), we);
    WESetStyle(weDoFont | weDoSize, style, we);
}

void load_text(WEReference we, const TextBoxParts& parts) {
    pf::Handle styles = parts.styles.empty() ? nullptr : pf::ptr_to_hand(parts.styles.data(), pf::Size(parts.styles.size()));
    if (WEInsert(parts.text.data(), int32_t(parts.text.size()), styles, nullptr, we) != pf::noErr && styles)
        WEInsert(parts.text.data(), int32_t(parts.text.size()), nullptr, nullptr, we);
    if (styles) pf::dispose_handle(styles);
    if (parts.styles.empty()) set_box_style(we);
    const auto end = int32_t(parts.text.size());
    WESetSelection(end, end, we);
    WEClearUndo(we);
    WEResetModCount(we);
}

// The editor's alignment for a box's info byte (1 centre, 2 right, else left).
int8_t editor_alignment(int16_t info) { return info == 1 ? weCenter : info == 2 ? weFlushRight : weFlushLeft; }

// Places the editor over its box as the box shows in the pane now.
void place_editor(MemoryRef object, int16_t pane, WEReference we, MemoryRef layer) {
    const pf::Rect rect = object_rect(object, pane, layer);
    ResetViewField(&rect, pane, text_box_inset(object_line_size(object)), we, layer, 0);
}

}  // namespace

TextBoxParts text_box_parts(MemoryRef data) {
    TextBoxParts parts;
    const int32_t size = data ? GetByteSize(data) : 0;
    if (size < 2) return parts;
    std::vector<uint8_t> bytes(size_t(size), 0);
    std::memcpy(bytes.data(), MemoryUse<>(data).get(), size_t(size));
    uint16_t length;
    std::memcpy(&length, bytes.data(), 2);
    const int32_t text = std::min<int32_t>(length, size - 2);
    parts.text.assign(bytes.begin() + 2, bytes.begin() + 2 + text);
    if (2 + text + 2 > size) return parts;
    uint16_t style_length;
    std::memcpy(&style_length, bytes.data() + 2 + text, 2);
    const int32_t styles = std::min<int32_t>(style_length, size - 4 - text);
    parts.styles.assign(bytes.begin() + 4 + text, bytes.begin() + 4 + text + styles);
    return parts;
}

bool draw_styled_text_box(MemoryRef data, int16_t info, const pf::Rect& inner) {
    const TextBoxParts parts = text_box_parts(data);
    if (parts.styles.empty() || inner.empty()) return false;
    WEReference we = nullptr;
    const LongRect area = WERectToLongRect(inner);
    // Laid out without drawing: the text is drawn once, below, over what
    // lies beneath (the box's fill), as the unstyled text is.
    if (WENew(area, area, weFInhibitRecal, false, &we) != pf::noErr || !we) return false;
    load_text(we, parts);
    WESetAlignment(editor_alignment(info), we);
    WEFeatureFlag(weFeatureInhibitRecal, weBitClear, we);
    WECalText(we);
    pf::RgnHandle within = pf::new_region();
    pf::rect_region(within, inner);
    WEUpdate(within, we);
    pf::dispose_region(within);
    WEDispose(we);
    return true;
}

WEReference object_text_editor(MemoryRef layer) {
    TextEditor editor = nullptr;
    GetObjEditor(layer, &editor);
    return static_cast<WEReference>(editor);
}

int16_t begin_text_editing(MemoryRef object, int16_t pane, MemoryRef layer) {
    ClobberObjectEditor(layer);
    if (GetObj_info(object, pf::four_cc("type")) != kTextObject) return 0;
    WindowRef window = layer_window(layer);
    if (window) PushWindowPort(window);
    WEReference we = nullptr;
    const pf::Rect rect = object_rect(object, pane, layer);
    const LongRect area = WERectToLongRect(rect);
    const pf::OSErr made = WENew(area, area, weFUndo | weFAutoScroll, true, &we);
    if (window) PopPort();
    if (made != pf::noErr || !we) return 0;
    load_text(we, text_box_parts(reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("data")))));
    WESetAlignment(editor_alignment(int16_t(GetObj_info(object, pf::four_cc("info")))), we);
    set_edited(layer, object, pane, we);
    place_editor(object, pane, we, layer);
    WEActivate(we);
    DrawAllObjects(layer);
    return 1;
}

void UpdateTextObject(MemoryRef object, MemoryRef layer) {
    WEReference we = object_text_editor(layer);
    if (!we || GetObjEditor(layer, nullptr) != object) return;
    MemoryRef data = text_record(editor_parts(we), layer);
    if (!data) return;
    MemoryRef former = reinterpret_cast<MemoryRef>(GetObj_info(object, pf::four_cc("data")));
    SetObj_info(object, pf::four_cc("data"), reinterpret_cast<intptr_t>(data));
    DisposeNonNilMemory(former);
    DrawAllObjects(layer);
}

void end_text_editing(MemoryRef layer, bool with_undo) {
    if (!layer) return;
    WEReference we = object_text_editor(layer);
    MemoryRef object = GetObjEditor(layer, nullptr);
    if (!object) return;
    if (we && WEGetModCount(we) > 0) {
        if (with_undo) record_object_attributes({object}, layer);
        UpdateTextObject(object, layer);
    }
    if (we) WEDispose(we);
    set_edited(layer, nullptr, 0, nullptr);
    DrawAllObjects(layer);
}

void draw_edited_text(int16_t pane, MemoryRef layer) {
    WEReference we = object_text_editor(layer);
    MemoryRef object = GetObjEditor(layer, nullptr);
    if (!we || !object || edited_pane(layer) != pane) return;
    pf::Rect rect;
    if (!ObjectOnScreen(pane, 0, &rect, object, layer)) return;
    place_editor(object, pane, we, layer);
    WEUpdate(nullptr, we);
}

void ClobberObjectEditor(MemoryRef layer) { end_text_editing(layer, true); }

int16_t text_editor_key(uint8_t key, MemoryRef layer) {
    WEReference we = object_text_editor(layer);
    if (!we) return 0;
    if (key == kEnterKey || key == kEscapeKey) {
        ClobberObjectEditor(layer);
        return 1;
    }
    WEKey(key, pf::current_modifiers(), we, caret_sets_keyboard_script());
    return 1;
}

int16_t text_editor_click(pf::Point where, uint16_t modifiers, int16_t pane, MemoryRef layer) {
    WEReference we = object_text_editor(layer);
    MemoryRef object = GetObjEditor(layer, nullptr);
    if (!we || !object) return 0;
    if (pane == edited_pane(layer) && pf::pt_in_rect(where, object_rect(object, pane, layer))) {
        WEClick(where, modifiers, pf::tick_count(), we, caret_sets_keyboard_script());
        return 1;
    }
    ClobberObjectEditor(layer);
    return 0;
}

int16_t text_editor_command(int16_t item, MemoryRef layer) {
    WEReference we = object_text_editor(layer);
    if (!we) return 0;
    switch (item) {
        case kEditUndoItem:
        case kEditRedoItem: WEUndo(we); break;
        case kEditCutItem:
            WECut(we);
            ClobberScrap(0);
            break;
        case kEditCopyItem:
            WECopy(we);
            ClobberScrap(0);
            break;
        case kEditPasteItem:
            window_services.export_clipboard();
            WEPaste(we);
            WESelView(we);
            break;
        case kEditClearItem: WEDelete(we); break;
        case kEditSelectAllItem: WESetSelection(0, WEGetTextLength(we), we); break;
        default: break;
    }
    DrawAllObjects(layer);
    return 1;
}
