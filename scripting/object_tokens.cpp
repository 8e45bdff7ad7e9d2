// Resolving object specifiers into tokens: the accessors of each container
// class, walked from the application outwards.
#include <cstring>
#include <string>
#include <vector>

#include "files/document_file.h"
#include "formula/reference_text.h"
#include "model/layer.h"
#include "model/named_ranges.h"
#include "model/workbook.h"
#include "platform/text/text.h"
#include "platform/text/mac_roman.h"
#include "scripting/object_model.h"
#include "window/cell_walk.h"
#include "window/doc_window.h"
#include "window/window_names.h"
#include "window/selection_tracking.h"
#include "window/window_commands.h"

namespace {

// Specifiers nest one container per level; deeper ones are refused.
constexpr int kMaxSpecifierDepth = 32;

struct KeyData {
    pf::FourCC want = 0, form = 0;
    pf::AEDesc data;
};

// The workbooks of the document windows, each once, from the front.
std::vector<MemoryRef> open_documents() {
    std::vector<MemoryRef> documents;
    for (long i = 1; pf::WindowRef w = nth_document_window(i); ++i) {
        MemoryRef workbook = doc_window_workbook(window_doc_record(w));
        bool listed = false;
        for (MemoryRef d : documents) listed = listed || d == workbook;
        if (!listed) documents.push_back(workbook);
    }
    return documents;
}

std::string text_of(const pf::AEDesc& data) {
    pf::AEDesc text;
    if (pf::ae_coerce_desc(data, pf::kTypeText, text)) return {};
    return std::string(text.data.begin(), text.data.end());
}

// An index from 1 (negative: from the end) into a count; 0 when outside.
long position_of(const pf::AEDesc& data, long count) {
    int32_t index = 0;
    pf::AEDesc number;
    if (pf::ae_coerce_desc(data, pf::kTypeLong, number) || number.data.size() != 4) return 0;
    std::memcpy(&index, number.data.data(), 4);
    if (index < 0) index = int32_t(count + 1 + index);
    return index >= 1 && index <= count ? index : 0;
}

// A text descriptor's text in UTF-8; empty when it is no text.
std::string utf8_text_of(const pf::AEDesc& data) {
    pf::AEDesc text;
    if (pf::ae_coerce_desc(data, pf::kTypeUtf8Text, text)) return {};
    return std::string(text.data.begin(), text.data.end());
}

std::string layer_name(MemoryRef layer) {
    unsigned char name[256] = {0};
    GetSheetName(name, layer);
    return pf::mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(name + 1), name[0]));
}

// The whole name of the document's file; a document without one, or whose
// file cannot be found, by the name its record holds.
std::string document_name(MemoryRef workbook) {
    const FileInfoRecord file = file_record_of(workbook);
    std::string name;
    if (file.format_code != kFormatUntitled && pf::file_spec_long_name(file.spec, name) == pf::noErr) return name;
    return pf::file_spec_shown_utf8(file.spec);
}

std::string window_name(pf::WindowRef window) { return pf::window_title_utf8(window); }

// The text with its letters in lower case, character by character.
std::u32string lowered(std::string_view utf8) {
    std::u32string out;
    char32_t c = 0;
    for (size_t i = 0; i < utf8.size();) out.push_back(pf::decode_utf8(utf8, i, c) ? pf::to_lower_letter(c) : 0xFFFD);
    return out;
}

// Names (UTF-8) match whatever their case: Roman names by the program's
// comparison, marks counting; others letter by letter.
bool same_name(const std::string& a, const std::string& b) {
    std::string roman_a, roman_b;
    if (pf::utf8_to_script(a, pf::kScriptRoman, roman_a) && pf::utf8_to_script(b, pf::kScriptRoman, roman_b))
        return pf::equal_text(roman_a, roman_b, false, true);
    return lowered(a) == lowered(b);
}

ObjectToken document_token(MemoryRef workbook) {
    ObjectToken token;
    token.object_class = pf::kClassDocument;
    token.workbook = workbook;
    token.window = front_window_of(workbook);
    token.layer = token.window ? doc_window_layer(window_doc_record(token.window)) : nullptr;
    return token;
}

ObjectToken window_token(pf::WindowRef window) {
    ObjectToken token;
    token.object_class = pf::kClassWindow;
    token.window = window;
    token.layer = sheetRefFromWindow(window);
    token.workbook = token.layer ? GetWorkSheet(token.layer) : nullptr;
    return token;
}

ObjectToken layer_token(MemoryRef layer) {
    ObjectToken token;
    token.object_class = pf::kClassLayer;
    token.layer = layer;
    token.workbook = GetWorkSheet(layer);
    token.window = layer_window(layer);
    return token;
}

ObjectToken range_token(MemoryRef layer, const CellRange& range) {
    ObjectToken token = layer_token(layer);
    token.object_class = range.topLeft == range.botRight ? pf::kClassCell : pf::kClassRange;
    token.range = range;
    return token;
}

MemoryRef workbook_of(MemoryRef layer) { return layer ? GetWorkSheet(layer) : nullptr; }

// The cells of a range, or the cells holding something in a layer.
pf::OSErr count_cells(const ObjectToken& container, MemoryRef layer, long& count) {
    count = 0;
    if (container.picked) {
        count = long(container.cells.size());
        return pf::noErr;
    }
    if (container.object_class == pf::kClassCell || container.object_class == pf::kClassRange) {
        const CellRange& r = container.range;
        count = long(r.botRight.v - r.topLeft.v + 1) * long(r.botRight.h - r.topLeft.h + 1);
        return pf::noErr;
    }
    if (!layer) return pf::noErr;
    each_row(layer, [&](const uint8_t* row, const uint8_t* row_end) {
        each_cell(row, row_end, [&](const uint8_t* cell) {
            count += _cellType_(cell) != kCellFormatOnly;
            return true;
        });
        return true;
    });
    return pf::noErr;
}

// The layer an object stands for when cells are asked of it: a document's or
// window's shown layer, the front window's for the application.
MemoryRef layer_of(const ObjectToken& token) {
    if (token.object_class == pf::kClassApplication) return sheetRefFromWindow(nth_document_window(1));
    return token.layer;
}

// The document windows from the front, of one workbook or of all.
std::vector<ObjectToken> windows_of(MemoryRef workbook) {
    std::vector<ObjectToken> windows;
    for (long i = 1; pf::WindowRef w = nth_document_window(i); ++i)
        if (!workbook || doc_window_workbook(window_doc_record(w)) == workbook) windows.push_back(window_token(w));
    return windows;
}

std::vector<ObjectToken> documents() {
    std::vector<ObjectToken> tokens;
    for (MemoryRef workbook : open_documents()) tokens.push_back(document_token(workbook));
    return tokens;
}

std::vector<ObjectToken> layers_of(MemoryRef workbook) {
    std::vector<ObjectToken> layers;
    for (int16_t i = 0; workbook && i < num_SpreadSheets(workbook); ++i)
        if (MemoryRef layer = find_SpreadSheet_item(workbook, i)) layers.push_back(layer_token(layer));
    return layers;
}

// The elements of a class that a container holds; false when it holds none of that class.
bool elements_of(const ObjectToken& container, pf::FourCC element_class, std::vector<ObjectToken>& out) {
    const bool application = container.object_class == pf::kClassApplication;
    if (container.property || (!application && container.object_class != pf::kClassDocument)) return false;
    switch (element_class) {
        case pf::kClassDocument: out = documents(); return application;
        case pf::kClassWindow: out = windows_of(container.workbook); return true;
        case pf::kClassLayer: out = layers_of(application ? workbook_of(layer_of(container)) : container.workbook); return true;
        default: return false;
    }
}

// The element that the key picks: by index from 1 (negative from the end) or by name.
pf::OSErr pick(const KeyData& key, const std::vector<ObjectToken>& candidates, ObjectToken& out) {
    if (key.form == pf::kFormIndex) {
        long at = position_of(key.data, long(candidates.size()));
        if (!at) return pf::kAENoSuchObjectErr;
        out = candidates[size_t(at - 1)];
        return pf::noErr;
    }
    if (key.form != pf::kFormName) return pf::kAEBadKeyFormErr;
    const std::string wanted = utf8_text_of(key.data);
    for (const ObjectToken& candidate : candidates) {
        if (!same_name(object_name(candidate), wanted)) continue;
        out = candidate;
        return pf::noErr;
    }
    return pf::kAENoSuchObjectErr;
}

bool is_number(const pf::AEDesc& d) {
    return d.type == pf::kTypeDouble || d.type == pf::kTypeLong || d.type == pf::kTypeShort;
}

template <typename T>
bool ordered(pf::FourCC op, const T& x, const T& y) {
    if (op == pf::kOpEquals) return x == y;
    if (op == pf::kOpGreater) return x > y;
    if (op == pf::kOpGreaterOrEqual) return x >= y;
    if (op == pf::kOpLess) return x < y;
    return op == pf::kOpLessOrEqual && x <= y;
}

// Numbers compare with numbers and texts with texts, never a number with a
// text. Texts compare as Unicode, whatever their scripts, in the order the
// sheet's formulas give them (ignoring case and marks); "contains" looks
// into the text of either, letters of every script in any case.
bool compares(const pf::AEDesc& value, pf::FourCC op, const pf::AEDesc& with) {
    if (op == pf::kOpContains) return lowered(utf8_text_of(value)).find(lowered(utf8_text_of(with))) != std::u32string::npos;
    if (is_number(with) != is_number(value)) return false;
    if (is_number(with)) {
        pf::AEDesc a, b;
        if (pf::ae_coerce_desc(value, pf::kTypeDouble, a) ||
            pf::ae_coerce_desc(with, pf::kTypeDouble, b))
            return false;
        double x, y;
        std::memcpy(&x, a.data.data(), sizeof x);
        std::memcpy(&y, b.data.data(), sizeof y);
        return ordered(op, x, y);
    }
    return ordered(op,
                   pf::compare_text(utf8_text_of(value), pf::kUtf8Text, utf8_text_of(with), pf::kUtf8Text,
                                    pf::kIgnoreCaseAndMarks),
                   0);
}

struct CellTest {
    pf::FourCC op = 0;
    CellReader read = nullptr;
    pf::AEDesc with;
};

pf::OSErr read_test(const pf::AEDesc& comparison, CellTest& test) {
    if (comparison.type != pf::kTypeComparison) return pf::kAEBadKeyFormErr;
    pf::AEDesc examined, data;
    pf::FourCC property = 0;
    if (pf::ae_get_key_ptr(comparison, pf::kKeyOperator, pf::kTypeEnumerated, nullptr, &test.op, 4, nullptr) ||
        pf::ae_get_key_desc(comparison, pf::kKeyObject1, pf::kTypeWildCard, examined) ||
        pf::ae_get_key_desc(comparison, pf::kKeyObject2, pf::kTypeWildCard, test.with) ||
        pf::ae_get_key_ptr(examined, pf::kKeyData, pf::kTypeType, nullptr, &property, 4, nullptr) ||
        pf::ae_get_key_desc(examined, pf::kKeyContainer, pf::kTypeWildCard, data) || data.type != pf::kTypeExamined)
        return pf::kAEBadKeyFormErr;
    test.read = property == pf::kPropValue ? cell_value : property == pf::kPropFormula ? cell_formula : nullptr;
    return test.read ? pf::noErr : pf::kAEBadKeyFormErr;
}

// The cells holding something, within a range or anywhere in the layer, that pass the test.
pf::OSErr pick_cells(const pf::AEDesc& comparison, const ObjectToken& container, MemoryRef layer, ObjectToken& out) {
    CellTest test;
    if (pf::OSErr err = read_test(comparison, test)) return err;
    const bool within = container.object_class == pf::kClassRange || container.object_class == pf::kClassCell;
    const CellRange& r = container.range;
    finish_recalculation(layer);
    out = range_token(layer, CellRange{});
    out.object_class = pf::kClassCell;
    out.picked = true;
    std::vector<CellPoint> stored;
    each_row(layer, [&](const uint8_t* row, const uint8_t* row_end) {
        const int16_t v = _RowID_(row);
        each_cell(row, row_end, [&](const uint8_t* cell) {
            const CellPoint where{v, _cellID_(cell)};
            const bool inside = !within || (v >= r.topLeft.v && v <= r.botRight.v && where.h >= r.topLeft.h &&
                                            where.h <= r.botRight.h);
            if (inside && _cellType_(cell) != kCellFormatOnly) stored.push_back(where);
            return true;
        });
        return true;
    });
    for (CellPoint where : stored)
        if (compares(test.read(layer, where), test.op, test.with)) out.cells.push_back(where);
    return pf::noErr;
}

pf::OSErr access_range(const KeyData& key, const ObjectToken& container, MemoryRef layer, ObjectToken& out) {
    if (!layer) return pf::kAENoSuchObjectErr;
    if (key.form == pf::kFormTest && key.want == pf::kClassCell) return pick_cells(key.data, container, layer, out);
    if (key.form != pf::kFormName) return pf::kAEBadKeyFormErr;
    CellRange range;
    if (!range_by_text(text_of(key.data), layer, range)) return pf::kAENoSuchObjectErr;
    if (key.want == pf::kClassCell && !(range.topLeft == range.botRight)) return pf::kAENoSuchObjectErr;
    out = range_token(layer, range);
    return pf::noErr;
}

pf::OSErr access_property(const KeyData& key, const ObjectToken& container, ObjectToken& out) {
    if (key.form != pf::kFormProperty) return pf::kAEBadKeyFormErr;
    pf::FourCC property = 0;
    pf::AEDesc code;
    if (pf::ae_coerce_desc(key.data, pf::kTypeType, code) || code.data.size() != 4) return pf::kAECoercionFailErr;
    std::memcpy(&property, code.data.data(), 4);
    if (property == pf::kPropSelection) {
        MemoryRef layer = layer_of(container);
        if (!layer) return pf::kAENoSuchObjectErr;
        CellRange selection;
        GetSelectRect(&selection, layer);
        out = range_token(layer, selection);
        return pf::noErr;
    }
    if (container.property) return pf::kAENoSuchObjectErr;
    out = container;
    out.property = property;
    return pf::noErr;
}

pf::OSErr access_element(const ObjectToken& container, const KeyData& key, ObjectToken& out) {
    if (container.property) return pf::kAENoSuchObjectErr;
    switch (key.want) {
        case pf::kClassDocument:
        case pf::kClassWindow:
        case pf::kClassLayer: {
            std::vector<ObjectToken> elements;
            if (!elements_of(container, key.want, elements)) return pf::kAECantHandleClassErr;
            return pick(key, elements, out);
        }
        case pf::kClassCell:
        case pf::kClassRange:
            if (container.picked || (container.object_class == pf::kClassCell && key.form != pf::kFormTest))
                return pf::kAECantHandleClassErr;
            if (container.object_class == pf::kClassRange && key.form != pf::kFormTest) return pf::kAECantHandleClassErr;
            return access_range(key, container, layer_of(container), out);
        case pf::kClassProperty: return access_property(key, container, out);
        default: return pf::kAECantHandleClassErr;
    }
}

pf::OSErr read_key_data(const pf::AEDesc& specifier, KeyData& key, pf::AEDesc& container) {
    pf::OSErr err;
    if ((err = pf::ae_get_key_ptr(specifier, pf::kKeyDesiredClass, pf::kTypeType, nullptr, &key.want, 4, nullptr)))
        return err;
    if ((err = pf::ae_get_key_ptr(specifier, pf::kKeyForm, pf::kTypeEnumerated, nullptr, &key.form, 4, nullptr)))
        return err;
    if ((err = pf::ae_get_key_desc(specifier, pf::kKeyData, pf::kTypeWildCard, key.data))) return err;
    return pf::ae_get_key_desc(specifier, pf::kKeyContainer, pf::kTypeWildCard, container);
}

pf::OSErr resolve_at_depth(const pf::AEDesc& specifier, ObjectToken& token, int depth) {
    if (specifier.type == pf::kTypeNull) {
        token = ObjectToken{};
        return pf::noErr;
    }
    if (specifier.type != pf::kTypeObjectSpecifier || specifier.kind != pf::AEDescKind::record)
        return pf::kAENotAnObjSpecErr;
    if (depth >= kMaxSpecifierDepth) return pf::kAENoSuchObjectErr;
    KeyData key;
    pf::AEDesc container_spec;
    if (pf::OSErr err = read_key_data(specifier, key, container_spec)) return err;
    ObjectToken container;
    if (pf::OSErr err = resolve_at_depth(container_spec, container, depth + 1)) return err;
    return access_element(container, key, token);
}

}  // namespace

std::string object_name(const ObjectToken& token) {
    switch (token.object_class) {
        case pf::kClassDocument: return document_name(token.workbook);
        case pf::kClassWindow: return token.window ? window_name(token.window) : std::string();
        case pf::kClassLayer: return layer_name(token.layer);
        case pf::kClassApplication: return "Quorvin";
        default: return {};
    }
}

pf::WindowRef front_window_of(MemoryRef workbook) {
    for (long i = 1; pf::WindowRef w = nth_document_window(i); ++i)
        if (doc_window_workbook(window_doc_record(w)) == workbook) return w;
    return nullptr;
}

pf::WindowRef nth_document_window(long index) {
    long seen = 0;
    for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) {
        if (!window_doc_record(w) || !sheetRefFromWindow(w)) continue;
        if (++seen == index) return w;
    }
    return nullptr;
}

long document_window_count() {
    long count = 0;
    while (nth_document_window(count + 1)) ++count;
    return count;
}

pf::OSErr resolve_object(const pf::AEDesc& specifier, ObjectToken& token) {
    return resolve_at_depth(specifier, token, 0);
}

pf::OSErr count_elements(const ObjectToken& container, pf::FourCC element_class, long& count) {
    if (element_class == pf::kClassCell) {
        if (container.property) return pf::kAECantHandleClassErr;
        return count_cells(container, layer_of(container), count);
    }
    std::vector<ObjectToken> elements;
    if (!elements_of(container, element_class, elements)) return pf::kAECantHandleClassErr;
    count = long(elements.size());
    return pf::noErr;
}
