// Workbooks for the document tests and benchmarks: cells of every kind built
// byte by byte, layers with every part a document stores, large layers built
// straight into the cell store, and a snapshot of a whole model to compare.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "core/passwords.h"
#include "files/document_file.h"
#include "model/calc_globals.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/links.h"
#include "model/named_ranges.h"
#include "model/workbook.h"

namespace sample {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, int16_t v) {
    uint8_t raw[2];
    store_i16(raw, v);
    b.insert(b.end(), raw, raw + 2);
}

// A formatted cell header; `variant` picks distinct format bytes.
inline Bytes cell_header(int16_t column, uint8_t type, int variant) {
    Bytes cell(kCellHeaderSize, 0);
    GetDefaultFormat(cell.data());
    _SetCellID_(cell.data(), column);
    cell[kFmtCellType] = type;
    cell[kFmtSize] = uint8_t(variant % 3 == 0 ? 255 : 9 + variant % 5);
    cell[kFmtFace] = uint8_t(variant % 4);
    cell[kFmtAlign] = uint8_t(variant % 6);
    cell[kFmtTextColour] = uint8_t(variant % 8);
    store_u16(cell.data() + kFmtFont, uint16_t(variant % 2 ? 65535 : 3));
    store_u16(cell.data() + kFmtBorderStyles, uint16_t(0x1234 * (variant % 3)));
    store_u32(cell.data() + kFmtBorderColours, 0x01020304u * uint32_t(variant % 2));
    cell[kFmtLabelLength] = 0;
    cell[kFmtNoteLength] = 0;
    store_i16(cell.data() + kFmtStyleLength, 0);
    _SetResultType_(cell.data(), 0);
    return cell;
}

inline Bytes finish_cell(Bytes head, const std::string& label, const std::string& note, const Bytes& body,
                         const Bytes& tail) {
    head[kFmtLabelLength] = uint8_t(label.size());
    head[kFmtNoteLength] = uint8_t(note.size());
    head.insert(head.end(), label.begin(), label.end());
    head.insert(head.end(), note.begin(), note.end());
    head.insert(head.end(), body.begin(), body.end());
    head.insert(head.end(), tail.begin(), tail.end());
    _SetFormulaLength_(head.data(), int16_t(body.size()));
    _SetCellLength_(head.data(), int16_t(head.size()));
    return head;
}

inline Bytes number_slot(double value) {
    Bytes slot(kNumberSlotSize, 0);
    store_f64(slot.data(), value);
    return slot;
}

inline Bytes constant_cell(int16_t column, double value, const std::string& typed, int variant = 0) {
    Bytes body = number_slot(value);
    body.insert(body.end(), typed.begin(), typed.end());
    return finish_cell(cell_header(column, kCellConstant, variant), "", "", body, {});
}

// Style runs in memory order: a count and 20-byte runs.
inline Bytes style_runs(int count) {
    Bytes runs;
    put16(runs, int16_t(count));
    for (int i = 0; i < count; ++i) {
        Bytes run(20, 0);
        store_i32(run.data(), i * 2);
        store_i16(run.data() + 4, int16_t(12 + i));
        store_i16(run.data() + 6, 10);
        store_i16(run.data() + 8, int16_t(3 + i));
        run[10] = uint8_t(i);
        store_i16(run.data() + 12, int16_t(10 + i));
        store_u16(run.data() + 14, 0xFFFF);
        store_u16(run.data() + 16, uint16_t(0x1234 * i));
        store_u16(run.data() + 18, 0x0102);
        runs.insert(runs.end(), run.begin(), run.end());
    }
    return runs;
}

inline Bytes text_cell(int16_t column, const std::string& text, int runs = 0, int variant = 1) {
    Bytes style = runs ? style_runs(runs) : Bytes{};
    Bytes head = cell_header(column, kCellText, variant);
    store_i16(head.data() + kFmtStyleLength, int16_t(style.size()));
    return finish_cell(head, "", "", Bytes(text.begin(), text.end()), style);
}

inline Bytes formula_number_cell(int16_t column, const Bytes& formula, double result, int variant = 2) {
    Bytes head = cell_header(column, kCellFormula, variant);
    _SetResultType_(head.data(), kResultNumber);
    return finish_cell(head, "", "", formula, number_slot(result));
}

inline Bytes formula_text_cell(int16_t column, const Bytes& formula, const std::string& result, int variant = 3) {
    Bytes head = cell_header(column, kCellFormula, variant);
    _SetResultType_(head.data(), kResultText);
    return finish_cell(head, "", "", formula, Bytes(result.begin(), result.end()));
}

inline Bytes format_cell(int16_t column, const std::string& label, const std::string& note, int variant = 4) {
    return finish_cell(cell_header(column, kCellFormatOnly, variant), label, note, {}, {});
}

// Formula bodies (host order).
inline Bytes formula(std::initializer_list<int> tokens) {
    Bytes b;
    for (int t : tokens) b.push_back(uint8_t(t));
    return b;
}
inline void add16(Bytes& b, int16_t v) { put16(b, v); }

// =A1*2+SUM($B$1:B3) typed in B2 (row 1, column 1), the worked example.
inline Bytes worked_example() {
    Bytes f = formula({'=', '@', 0xBA});
    add16(f, -1), add16(f, -1);
    f.push_back('*'), f.push_back('I'), add16(f, 2);
    f.push_back('+'), f.push_back(0xC4), f.push_back(10), f.push_back('(');
    f.push_back('@'), f.push_back('r'), f.push_back('#'), f.push_back(0xBA);
    add16(f, 0), add16(f, 1), add16(f, 1), add16(f, 0);
    f.push_back(')');
    return f;
}

// ='other'!A1 through link `id`, then a text constant and a 3-D reference and a name.
inline Bytes link_formula(int16_t id) {
    Bytes f = formula({'=', '!'});
    add16(f, id);
    f.push_back('@'), f.push_back('#'), add16(f, 0), add16(f, 0);
    f.push_back('&'), f.push_back('"');
    for (char c : std::string("@#I!")) f.push_back(uint8_t(c));
    f.push_back('"'), f.push_back('&');
    f.push_back('@'), f.push_back('R'), f.push_back('#'), add16(f, 0), add16(f, 1);
    f.push_back('#'), add16(f, 5), add16(f, 6);
    f.push_back('+'), f.push_back('@'), f.push_back('&'), f.push_back(3);
    for (char c : std::string("Tax")) f.push_back(uint8_t(c));
    return f;
}

inline void append_row(Bytes& store, int16_t row, const std::vector<Bytes>& cells) {
    size_t start = store.size();
    store.resize(start + kRowHeaderSize);
    for (const Bytes& cell : cells) store.insert(store.end(), cell.begin(), cell.end());
    _SetRowID_(store.data() + start, row);
    _SetRowLength_(store.data() + start, uint32_t(store.size() - start));
}

inline void install_cells(MemoryRef layer, const Bytes& store) {
    SpreadSheet* sheet = use_layer(layer);
    MemoryRef cells = sheet->cells;
    release_layer(layer);
    SetMemorySize(cells, int32_t(store.size()));
    if (!store.empty()) std::memcpy(UseMemory(cells), store.data(), store.size()), UnuseMemory(cells);
}

inline MemoryRef block_of(const void* records, int32_t rec_size, int32_t count) {
    return Bytes2Memory(&mem_globals, records, rec_size, count);
}

inline uint8_t* pstr_into(uint8_t* at, const std::string& text) {
    at[0] = uint8_t(text.size());
    std::memcpy(at + 1, text.data(), text.size());
    return at;
}

inline Bytes link_record(int16_t id, const std::string& name, const std::string& path) {
    Bytes record(kLinkRecordSize, 0);
    store_i16(record.data(), id);
    store_i16(record.data() + kLinkSpecOffset, -1);
    store_i32(record.data() + kLinkSpecOffset + 2, 4242 + id);
    pstr_into(record.data() + kLinkNameOffset, name);
    pstr_into(record.data() + kLinkPathOffset, path);
    return record;
}

inline Bytes header_part(int16_t alignment, int16_t size, const std::string& text) {
    Bytes part(72, 0);
    store_i16(part.data(), alignment);
    store_i16(part.data() + 2, 3);
    store_i16(part.data() + 4, size);
    part[6] = 1, part[7] = 2;
    pstr_into(part.data() + 8, text);
    return part;
}

inline Bytes format_record(int16_t id, int size, int16_t extent, const std::string& name = "") {
    Bytes record(size_t(size), 0);
    GetDefaultFormat(record.data());
    set_format_id(record.data(), id);
    set_format_extent(record.data(), extent);
    record[kFmtCode] = uint8_t(40 + id % 10);
    if (size > kCellFormatSize && !name.empty()) pstr_into(record.data() + kColumnNameOffset, name);
    return record;
}

// Everything a layer block stores, varied by `seed`.
inline void fill_rich_layer(MemoryRef layer, int seed) {
    Bytes store;
    append_row(store, 0, {constant_cell(0, 3.25 + seed, "3.25"), text_cell(1, "Styled text", 2),
                          formula_number_cell(2, worked_example(), 42.5), format_cell(4, "lbl", "a note")});
    append_row(store, 7, {formula_text_cell(0, link_formula(1), "abc"), text_cell(3, "plain")});
    append_row(store, int16_t(31999), {formula_number_cell(5, link_formula(2), 1e300), constant_cell(int16_t(31999), -0.0, "-0")});
    install_cells(layer, store);

    Bytes columns = format_record(2, kColumnFormatSize, 100, "Col C");
    Bytes more = format_record(9, kColumnFormatSize, 55);
    columns.insert(columns.end(), more.begin(), more.end());
    Bytes rows = format_record(3, kRowFormatSize, 30);
    int16_t row_breaks[] = {10, 20, int16_t(30 + seed)};
    int16_t column_breaks[] = {5};
    Bytes links = link_record(1, "Rates", "/home/a/Rates.qrv");
    Bytes second = link_record(2, "Costs", "/home/a/Costs.qrv");
    links.insert(links.end(), second.begin(), second.end());
    Bytes header = header_part(1, 12, "Page ^p of ^n");
    Bytes footer = header_part(-1, 250, "^d ^t");
    Bytes left_footer = header_part(0, 9, "left");
    footer.insert(footer.end(), left_footer.begin(), left_footer.end());
    Bytes names(kNamedRangeSize * 2, 0);
    set_named_range(names.data(), reinterpret_cast<const unsigned char*>("\x03Tax"), CellRange{{1, 2}, {3, 4}});
    set_named_range(names.data() + kNamedRangeSize, reinterpret_cast<const unsigned char*>("\x05Rates"),
                    CellRange{{0, 0}, {kLastCell, 2}});

    SpreadSheet* sheet = use_layer(layer);
    std::string name = "Layer " + std::to_string(seed);
    pstr_into(sheet->name, name);
    sheet->active_cell = {7, 3};
    sheet->selection = {{7, 3}, {9, 6}};
    sheet->v_divider = int16_t(40 + seed);
    sheet->h_divider = 0;
    sheet->print_area = {{0, 0}, {20, 10}};
    sheet->print_title_rows[0] = 2, sheet->print_title_rows[1] = 0;
    sheet->flags |= 0x4 | kLayerFrozenTitles;
    for (int i = 0; i < kPaneCount; ++i) {
        sheet->pane_rects[i] = pf::Rect{int16_t(i * 10), int16_t(i), int16_t(100 + i), int16_t(200 + i)};
        sheet->visible_ranges[i] = {{int16_t(i), int16_t(i * 2)}, {int16_t(i + 20), int16_t(i + 8)}};
    }
    sheet->frozen_titles = {{0, 0}, {1, 1}};
    sheet->print_options = 0x40 | 0x80;
    sheet->column_formats = block_of(columns.data(), kColumnFormatSize, 2);
    sheet->row_formats = block_of(rows.data(), kRowFormatSize, 1);
    sheet->row_page_breaks = block_of(row_breaks, 2, 3);
    sheet->column_page_breaks = block_of(column_breaks, 2, 1);
    sheet->links = block_of(links.data(), kLinkRecordSize, 2);
    DisposeNonNilMemory(sheet->header);
    DisposeNonNilMemory(sheet->footer);
    sheet->header = block_of(header.data(), 72, 1);
    sheet->footer = block_of(footer.data(), 72, 2);
    sheet->named_ranges = block_of(names.data(), kNamedRangeSize, 2);
    sheet->margins[0] = 72, sheet->margins[3] = 18;
    sheet->printable_rect = pf::Rect{0, 0, 720, 540};
    for (int i = 0; i < 32; ++i) sheet->page_setup[i] = uint8_t(i * 7 + seed);
    sheet->first_page_number = int16_t(3 + seed);
    set_format_extent(sheet->default_column_format, 88);
    sheet->default_row_format[kFmtFace] = 1;
    sheet->size = 10;
    release_layer(layer);
}

struct Session {
    Session() {
        pf::set_heap_budget(pf::kNoBudget);
        msMemStartup(&mem_globals, 0);
        QuorvinInit(&quorvin_rsrv, &mem_globals);
    }
    ~Session() {
        while (count_open_workbooks(&quorvin_rsrv) > 0) {
            MemoryRef book = open_workbook_at(&quorvin_rsrv, 0);
            close_document_file(book);
            DisposeWorkSheet(book);
        }
        msMachineShutdown(&quorvin_rsrv);
        msMemShutdown(&mem_globals);
    }
};

inline MemoryRef new_workbook(const pf::FileSpec* spec = nullptr) {
    CellFormat settings;
    GetDefaultFormat(settings.bytes);
    store_u16(settings.bytes + kFmtFont, 1);
    settings.bytes[kFmtSize] = 12;
    settings.bytes[kFmtCellType] = 0;
    return New_WorkSheet(&quorvin_rsrv, NewFileRec(spec), settings.bytes);
}

inline MemoryRef new_layer(MemoryRef workbook) {
    MemoryRef layer = nullptr;
    New_SpreadSheet(&quorvin_rsrv, workbook, &layer, kLayerGridLines | kLayerHeadings, nullptr);
    return layer;
}

// A named range added to the layer's list.
inline void add_named_range(MemoryRef layer, const std::string& name, const CellRange& range) {
    unsigned char text[kNamedRangeNameSize];
    text[0] = uint8_t(name.size());
    std::memcpy(text + 1, name.data(), name.size());
    uint8_t record[kNamedRangeSize];
    set_named_range(record, text, range);
    if (MemoryRef list = Get_rangeinfo(layer)) PtrAndMemory(record, list, 1);
    else Set_rangeinfo(layer, Bytes2Memory(&mem_globals, record, kNamedRangeSize, 1));
}

// A workbook of `layers` rich layers, protected, with a password.
inline MemoryRef rich_workbook(int layers) {
    MemoryRef book = new_workbook();
    for (int i = 0; i < layers; ++i) fill_rich_layer(new_layer(book), i);
    auto* sheet = static_cast<WorkSheet*>(UseMemory(book));
    pstr_into(sheet->default_font_name, "Geneva");
    sheet->default_size = 12;
    pstr_into(sheet->password, "secret");
    encode_password(sheet->password);
    sheet->work_flags = kWorkProtected | kWork1900Dates;
    UnuseMemory(book);
    return book;
}

// A layer of `count` number constants, a hundred to a row, built straight into the store.
inline void fill_numbers(MemoryRef layer, int32_t count) {
    Bytes store;
    store.reserve(size_t(count) * 48);
    Bytes cell = constant_cell(0, 0, "0");
    for (int32_t at = 0; at < count;) {
        int16_t row = int16_t(at / 100);
        size_t start = store.size();
        store.resize(start + kRowHeaderSize);
        for (int16_t column = 0; column < 100 && at < count; ++column, ++at) {
            _SetCellID_(cell.data(), column);
            store_f64(_formulaPtr_(cell.data()), at * 1.5);
            store.insert(store.end(), cell.begin(), cell.end());
        }
        _SetRowID_(store.data() + start, row);
        _SetRowLength_(store.data() + start, uint32_t(store.size() - start));
    }
    install_cells(layer, store);
}

inline void add_block(std::string& out, const char* what, MemoryRef block) {
    out += what;
    out += block ? std::to_string(GetMemoryRecSize(block)) + "x" + std::to_string(GetMemorySize(block)) : "none";
    out += ':';
    if (block && GetByteSize(block) > 0) {
        out.append(static_cast<const char*>(UseMemory(block)), size_t(GetByteSize(block)));
        UnuseMemory(block);
    }
    out += '|';
}

inline void add_handle(std::string& out, const char* what, pf::Handle handle) {
    out += what;
    out += ':';
    if (handle) out.append(reinterpret_cast<const char*>(*handle), size_t(pf::get_handle_size(handle)));
    out += '|';
}

template <typename T>
inline void add_value(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The cells of every layer.
inline int count_cells_of(MemoryRef book) {
    int count = 0;
    for (int16_t i = 0; i < num_SpreadSheets(book); ++i) {
        MemoryRef cells = GetSpreadSheetCells(find_SpreadSheet_item(book, i));
        auto* start = static_cast<const uint8_t*>(UseMemory(cells));
        const uint8_t* end = start + GetByteSize(cells);
        for (const uint8_t* row = start; row < end; row += _RowLength_(row))
            for (const uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell))
                ++count;
        UnuseMemory(cells);
    }
    return count;
}

// Every stored part of a workbook, as bytes.
inline std::string snapshot(MemoryRef book) {
    std::string out;
    auto* w = static_cast<WorkSheet*>(UseMemory(book));
    add_value(out, w->default_font_name), add_value(out, w->default_size), add_value(out, w->password);
    add_value(out, w->work_flags), add_value(out, w->layer_count);
    UnuseMemory(book);
    for (int16_t i = 0; i < num_SpreadSheets(book); ++i) {
        MemoryRef layer = find_SpreadSheet_item(book, i);
        SpreadSheet* s = use_layer(layer);
        add_value(out, s->layer_id), add_value(out, s->name), add_value(out, s->active_cell);
        add_value(out, s->selection), add_value(out, s->v_divider), add_value(out, s->h_divider);
        add_value(out, s->print_area), add_value(out, s->print_title_rows), add_value(out, s->print_title_columns);
        add_value(out, s->flags), add_value(out, s->pane_rects), add_value(out, s->visible_ranges);
        add_value(out, s->frozen_titles), add_value(out, s->print_options), add_value(out, s->margins);
        add_value(out, s->printable_rect), add_value(out, s->page_setup), add_value(out, s->first_page_number);
        add_value(out, s->default_column_format), add_value(out, s->default_row_format);
        add_value(out, s->font_name), add_value(out, s->size);
        add_block(out, "cells", s->cells), add_block(out, "columns", s->column_formats);
        add_block(out, "rows", s->row_formats), add_block(out, "row breaks", s->row_page_breaks);
        add_block(out, "column breaks", s->column_page_breaks), add_block(out, "links", s->links);
        add_block(out, "header", s->header), add_block(out, "footer", s->footer);
        add_block(out, "names", s->named_ranges), add_block(out, "objects", s->stored_objects);
        add_handle(out, "page format", s->page_format), add_handle(out, "print settings", s->print_settings);
        release_layer(layer);
    }
    return out;
}

}  // namespace sample
