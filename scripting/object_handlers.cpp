// The object-model event handlers: get, set and size of data, counting,
// existence, creating documents and layers, and selecting ranges.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ui/task_manager.h"
#include "files/entry_cells.h"
#include "formula/calc_services.h"
#include "formula/cell_values.h"
#include "formula/parser.h"
#include "formula/recalc.h"
#include "model/cell_formats.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "objects/object_commands.h"
#include "objects/object_records.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"
#include "scripting/object_model.h"
#include "window/cell_entry.h"
#include "window/doc_window.h"
#include "window/selection_tracking.h"
#include "window/entry_line.h"
#include "window/front_document.h"
#include "window/open_command.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

// Ranges larger than this are not read or written as a whole.
constexpr long kMaxRangeCells = 100000;

long cells_in(const CellRange& r) { return long(r.botRight.v - r.topLeft.v + 1) * long(r.botRight.h - r.topLeft.h + 1); }

pf::OSErr put_error_text(pf::AppleEvent* reply, const char* text) {
    if (!reply || reply->kind != pf::AEDescKind::event) return pf::noErr;
    return pf::ae_put_param_ptr(*reply, pf::kKeyErrorString, pf::kTypeText, text, std::strlen(text));
}

// An entry being typed belongs to the active cell of its layer: a request
// that would store in cells or move the selection or the active layer under
// the typist is refused, saying why.
pf::OSErr refuse_while_editing(pf::AppleEvent* reply) {
    if (!entry_line_editing()) return pf::noErr;
    put_error_text(reply, "A cell is being edited; finish the entry first.");
    return pf::kAEEventFailedErr;
}

// A range too large to read or write as a whole is refused, saying why.
pf::OSErr refuse_large_range(const ObjectToken& token, pf::AppleEvent* reply) {
    if (token.picked || cells_in(token.range) <= kMaxRangeCells) return pf::noErr;
    const std::string why = "The range holds more than " + std::to_string(kMaxRangeCells) +
                            " cells, too many to read or set at once; ask for a smaller range.";
    put_error_text(reply, why.c_str());
    return pf::kAEEventFailedErr;
}

// One cell's descriptor, or a list of rows, each a list of cells.
pf::OSErr read_range(const ObjectToken& token, CellReader read, pf::AEDesc& out) {
    const CellRange& r = token.range;
    if (token.picked) {
        pf::ae_create_list(false, out);
        for (CellPoint where : token.cells) pf::ae_put_desc(out, 0, read(token.layer, where));
        return pf::noErr;
    }
    if (r.topLeft == r.botRight) {
        out = read(token.layer, r.topLeft);
        return pf::noErr;
    }
    pf::ae_create_list(false, out);
    for (int16_t v = r.topLeft.v; v <= r.botRight.v; ++v) {
        pf::AEDesc row;
        pf::ae_create_list(false, row);
        for (int16_t h = r.topLeft.h; h <= r.botRight.h; ++h) pf::ae_put_desc(row, 0, read(token.layer, CellPoint{v, h}));
        pf::ae_put_desc(out, 0, row);
    }
    return pf::noErr;
}

// The data of a token: a property, or for an object without one its value
// (cells and ranges) or its name (everything else).
pf::OSErr token_data(const ObjectToken& token, pf::AEDesc& out) {
    const bool cells = token.object_class == pf::kClassCell || token.object_class == pf::kClassRange;
    const pf::FourCC property = token.property ? token.property : cells ? pf::kPropValue : pf::kPropName;
    if (property == pf::kPropName) {
        out = text_desc(object_name(token));
        return pf::noErr;
    }
    if (!cells) return pf::kAENoSuchObjectErr;
    finish_recalculation(token.layer);
    if (property == pf::kPropValue) return read_range(token, cell_value, out);
    if (property == pf::kPropFormula) return read_range(token, cell_formula, out);
    return pf::kAENoSuchObjectErr;
}

pf::OSErr direct_object(const pf::AppleEvent* event, ObjectToken& token) {
    pf::AEDesc specifier;
    if (pf::OSErr err = pf::ae_get_param_desc(*event, pf::kKeyDirectObject, pf::kTypeWildCard, specifier)) return err;
    return resolve_object(specifier, token);
}

// The data of the event's direct object.
pf::OSErr requested_data(const pf::AppleEvent* event, pf::AEDesc& data, pf::AppleEvent* reply) {
    ObjectToken token;
    if (pf::OSErr err = direct_object(event, token)) return err;
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    if (pf::OSErr err = refuse_large_range(token, reply)) return err;
    return token_data(token, data);
}

// Why an entry was refused, in the words the entry line's alert uses.
std::string entry_refusal_text(int32_t answer) {
    const std::string reason =
        answer > 0 && answer < 256 ? pf::get_indexed_string(kParserErrorStrList, int16_t(answer)) : std::string();
    return reason.empty() ? "The entry was refused." : reason;
}

// Stores a value in a cell as if it were typed there (texts as they are, in
// the script that spells them; numbers as files write them), through the one
// entry routine, with its undo step; the selection stays where it was.
// Selected objects step out of the selection meanwhile: a selected chart
// would take the text as its data range.
pf::OSErr enter_value(MemoryRef layer, CellPoint where, const pf::AEDesc& value, pf::AppleEvent* reply) {
    CellRange selection;
    GetSelectRect(&selection, layer);
    const CellPoint active = GetClickCell(layer);
    const std::vector<MemoryRef> objects = selected_objects(layer);
    clear_selected_objects(layer);
    LSelect(where, nullptr, nullptr, 0, layer);
    std::string utf8, refusal;
    pf::OSErr err = entry_of_value(value, utf8, refusal);
    int32_t answer = kEntryStored;
    uint8_t format_before[kCellHeaderSize];
    entry_format(format_before, where, layer);
    if (!err) answer = store_unicode_entry(layer, where, utf8);
    if (answer == kEntryStored && !err) show_entered_cell(layer, where, format_before);
    LSelect(active, &selection, nullptr, 0, layer);
    for (MemoryRef object : objects) add_selected(layer, object);
    if (!refusal.empty()) put_error_text(reply, refusal.c_str());
    if (err) return err;
    if (answer == kEntryStored) return pf::noErr;
    put_error_text(reply, entry_refusal_text(answer).c_str());
    return pf::kAEEventFailedErr;
}

// One value for every cell of the range, or a list of rows matching its shape.
pf::OSErr write_range(const ObjectToken& token, const pf::AEDesc& data, pf::AppleEvent* reply) {
    const CellRange& r = token.range;
    for (CellPoint where : token.cells)  // picked cells take one value each
        if (pf::OSErr err = enter_value(token.layer, where, data, reply)) return err;
    if (token.picked) return pf::noErr;
    const bool by_rows = data.kind == pf::AEDescKind::list && !(r.topLeft == r.botRight);
    if (by_rows && data.items.size() != size_t(r.botRight.v - r.topLeft.v + 1)) return pf::kAECoercionFailErr;
    for (int16_t v = r.topLeft.v; v <= r.botRight.v; ++v) {
        const pf::AEDesc* row = by_rows ? &data.items[size_t(v - r.topLeft.v)] : &data;
        const bool row_listed = by_rows && row->kind == pf::AEDescKind::list;
        if (row_listed && row->items.size() != size_t(r.botRight.h - r.topLeft.h + 1)) return pf::kAECoercionFailErr;
        for (int16_t h = r.topLeft.h; h <= r.botRight.h; ++h) {
            const pf::AEDesc& value = row_listed ? row->items[size_t(h - r.topLeft.h)] : *row;
            if (pf::OSErr err = enter_value(token.layer, CellPoint{v, h}, value, reply)) return err;
        }
    }
    return pf::noErr;
}

pf::OSErr set_token_data(const ObjectToken& token, const pf::AEDesc& data, pf::AppleEvent* reply) {
    const bool cells = token.object_class == pf::kClassCell || token.object_class == pf::kClassRange;
    const pf::FourCC property = token.property ? token.property : cells ? pf::kPropValue : 0;
    if (!cells || (property != pf::kPropValue && property != pf::kPropFormula)) return pf::kAENotModifiableErr;
    if (check_access(token.layer)) return pf::kAENotModifiableErr;
    if (pf::OSErr err = refuse_large_range(token, reply)) return err;
    if (pf::OSErr err = refuse_while_editing(reply)) return err;
    const pf::OSErr err = write_range(token, data, reply);
    // The entry line shows the front document's active cell, which may be among those set.
    MemoryRef front = front_document_record();
    if (front && doc_window_layer(front) == token.layer) DisplayText(front, 1);
    return err;
}

pf::OSErr put_long(pf::AppleEvent* reply, long value) {
    int32_t number = int32_t(value);
    return pf::ae_put_param_ptr(*reply, pf::kKeyDirectObject, pf::kTypeLong, &number, sizeof number);
}

pf::OSErr put_object(pf::AppleEvent* reply, const pf::AEDesc& specifier) {
    return pf::ae_put_param_desc(*reply, pf::kKeyDirectObject, specifier);
}

// A specifier by index: `element` number `index` of `container`.
pf::AEDesc indexed_specifier(pf::FourCC element, long index, const pf::AEDesc& container) {
    pf::AEDesc spec;
    pf::ae_create_list(true, spec);
    spec.type = pf::kTypeObjectSpecifier;
    int32_t number = int32_t(index);
    pf::ae_put_key_ptr(spec, pf::kKeyDesiredClass, pf::kTypeType, &element, 4);
    pf::ae_put_key_desc(spec, pf::kKeyContainer, container);
    pf::ae_put_key_ptr(spec, pf::kKeyForm, pf::kTypeEnumerated, &pf::kFormIndex, 4);
    pf::ae_put_key_ptr(spec, pf::kKeyData, pf::kTypeLong, &number, sizeof number);
    return spec;
}

pf::OSErr new_document(pf::AppleEvent* reply) {
    const long before = document_window_count();
    const pf::FileSpec none{};
    Open_File(kOpenNewUntitled, &none, nullptr);
    DoAllUpdates();
    if (document_window_count() <= before) return pf::kAEEventFailedErr;
    return put_object(reply, indexed_specifier(pf::kClassDocument, 1, pf::AEDesc{}));
}

// A new layer in the document's front window (the front document's for the application).
pf::OSErr new_layer(const ObjectToken& container, pf::AppleEvent* reply) {
    if (pf::OSErr err = refuse_while_editing(reply)) return err;
    pf::WindowRef window = container.object_class == pf::kClassApplication ? nth_document_window(1) : container.window;
    MemoryRef layer = sheetRefFromWindow(window);
    if (!layer) return pf::kAENoSuchObjectErr;
    MemoryRef workbook = GetWorkSheet(layer);
    const int16_t before = num_SpreadSheets(workbook);
    SelectReferencedWindow(window);
    DoLayerMenu(nullptr, kLayerNewItem);
    const int16_t after = num_SpreadSheets(workbook);
    if (after <= before) return pf::kAEEventFailedErr;
    return put_long(reply, after);
}

// The window that shows the token's layer. A layer that no window shows comes
// up in its document's front window first, as choosing it from the tabs does.
pf::WindowRef window_showing(const ObjectToken& token) {
    if (token.window || !token.layer) return token.window;
    pf::WindowRef front = front_window_of(GetWorkSheet(token.layer));
    if (!front) return nullptr;
    select_layer(window_doc_record(front), GetSheetID(token.layer));
    return layer_window(token.layer);
}

}  // namespace

pf::OSErr DoGetData(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    pf::AEDesc data;
    if (pf::OSErr err = requested_data(event, data, reply)) return err;
    return pf::ae_put_param_desc(*reply, pf::kKeyDirectObject, data);
}

pf::OSErr DoGetDataSize(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    pf::AEDesc data;
    if (pf::OSErr err = requested_data(event, data, reply)) return err;
    return put_long(reply, long(data.kind == pf::AEDescKind::plain ? data.data.size() : data.items.size()));
}

pf::OSErr DoSetData(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    ObjectToken token;
    if (pf::OSErr err = direct_object(event, token)) return err;
    pf::AEDesc data;
    if (pf::OSErr err = pf::ae_get_param_desc(*event, pf::kKeyNewData, pf::kTypeWildCard, data)) return err;
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    return set_token_data(token, data, reply);
}

pf::OSErr DoCountElements(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    ObjectToken container;
    if (pf::OSErr err = direct_object(event, container)) return err;
    pf::FourCC element = 0;
    if (pf::OSErr err = pf::ae_get_param_ptr(*event, pf::kKeyClass, pf::kTypeType, nullptr, &element, 4, nullptr))
        return err;
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    long count = 0;
    if (pf::OSErr err = count_elements(container, element, count)) return err;
    return put_long(reply, count);
}

pf::OSErr DoObjectsExist(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    pf::AEDesc specifier;
    if (pf::OSErr err = pf::ae_get_param_desc(*event, pf::kKeyDirectObject, pf::kTypeWildCard, specifier)) return err;
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    ObjectToken token;
    const pf::OSErr err = resolve_object(specifier, token);
    if (err && err != pf::kAENoSuchObjectErr) return err;
    const uint8_t exists = err == pf::noErr;
    return pf::ae_put_param_ptr(*reply, pf::kKeyDirectObject, pf::kTypeBoolean, &exists, 1);
}

pf::OSErr DoNewElement(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    pf::FourCC element = 0;
    if (pf::OSErr err = pf::ae_get_param_ptr(*event, pf::kKeyClass, pf::kTypeType, nullptr, &element, 4, nullptr))
        return err;
    pf::AEDesc where;
    ObjectToken container;
    if (pf::ae_get_param_desc(*event, pf::kKeyInsertHere, pf::kTypeWildCard, where) == pf::noErr) {
        if (pf::OSErr err = resolve_object(where, container)) return err;
    }
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    if (element == pf::kClassDocument && container.object_class == pf::kClassApplication) return new_document(reply);
    if (element == pf::kClassLayer && (container.object_class == pf::kClassApplication || container.object_class == pf::kClassDocument))
        return new_layer(container, reply);
    return pf::kAECantHandleClassErr;
}

pf::OSErr DoSelect(const pf::AppleEvent* event, pf::AppleEvent* reply, long) {
    ObjectToken token;
    if (pf::OSErr err = direct_object(event, token)) return err;
    if (pf::OSErr err = GotRequiredParams(event)) return err;
    if (pf::OSErr err = refuse_while_editing(reply)) return err;
    if (token.property || token.picked) return pf::kAECantHandleClassErr;
    if (pf::WindowRef window = window_showing(token)) SelectReferencedWindow(window);
    if (token.object_class == pf::kClassCell || token.object_class == pf::kClassRange)
        LSelect(token.range.topLeft, &token.range, nullptr, 0, token.layer);
    return pf::noErr;
}
