// The fixed fields of a layer block, field by field in big-endian order.
#include "files/layer_header.h"

namespace {

void put_range(BigEndianWriter& out, const CellRange& range) {
    out.put16(range.topLeft.v), out.put16(range.topLeft.h);
    out.put16(range.botRight.v), out.put16(range.botRight.h);
}

CellRange get_range(pf::ByteReader& in) {
    CellRange range;
    range.topLeft.v = in.i16(), range.topLeft.h = in.i16();
    range.botRight.v = in.i16(), range.botRight.h = in.i16();
    return range;
}

}  // namespace

void clamp_pstring(unsigned char* text, int capacity) {
    if (text[0] > capacity - 1) text[0] = uint8_t(capacity - 1);
}

void put_sheet_header(BigEndianWriter& out, const SpreadSheet* sheet) {
    out.put_bytes(sheet->name, kLayerNameSize);
    out.put16(sheet->active_cell.v), out.put16(sheet->active_cell.h);
    put_range(out, sheet->selection);
    out.put16(sheet->v_divider), out.put16(sheet->h_divider);
    put_range(out, sheet->print_area);
    out.put16(sheet->print_title_rows[0]), out.put16(sheet->print_title_rows[1]);
    out.put16(sheet->print_title_columns[0]), out.put16(sheet->print_title_columns[1]);
    out.put32(sheet->flags);
    for (const pf::Rect& pane : sheet->pane_rects) out.put_rect(pane);
    for (const CellRange& visible : sheet->visible_ranges) put_range(out, visible);
}

void get_sheet_header(pf::ByteReader& in, SpreadSheet* sheet) {
    in.copy(sheet->name, kLayerNameSize);
    clamp_pstring(sheet->name, kLayerNameSize);
    sheet->active_cell.v = in.i16(), sheet->active_cell.h = in.i16();
    sheet->selection = get_range(in);
    sheet->v_divider = in.i16(), sheet->h_divider = in.i16();
    sheet->print_area = get_range(in);
    sheet->print_title_rows[0] = in.i16(), sheet->print_title_rows[1] = in.i16();
    sheet->print_title_columns[0] = in.i16(), sheet->print_title_columns[1] = in.i16();
    sheet->flags = (in.u32() & ~kLayerFlagsNotRead) | kLayerFormatStale;
    for (pf::Rect& pane : sheet->pane_rects) pane = in.rect();
    for (CellRange& visible : sheet->visible_ranges) visible = get_range(in);
}

void put_print_fields(BigEndianWriter& out, const SpreadSheet* sheet) {
    for (int16_t margin : sheet->margins) out.put16(margin);
    out.put_rect(sheet->printable_rect);
    out.put_bytes(sheet->page_setup, kPageSetupSize);
    out.put16(sheet->first_page_number);
}

void get_print_fields(pf::ByteReader& in, SpreadSheet* sheet) {
    for (int16_t& margin : sheet->margins) margin = in.i16();
    sheet->printable_rect = in.rect();
    in.copy(sheet->page_setup, kPageSetupSize);
    sheet->first_page_number = in.i16();
}

namespace {

// A coordinate of a range that may be absent (-1) or end one past the grid.
bool loose_coordinate(int16_t value) { return value >= -1 && value <= kLastCell + 1; }

bool loose_range(const CellRange& r) {
    return loose_coordinate(r.topLeft.v) && loose_coordinate(r.topLeft.h) && loose_coordinate(r.botRight.v) &&
           loose_coordinate(r.botRight.h);
}

}  // namespace

bool sheet_header_sound(const SpreadSheet* sheet) {
    const CellRange& s = sheet->selection;
    bool selection = cell_in_grid(sheet->active_cell.v, sheet->active_cell.h) && cell_in_grid(s.topLeft.v, s.topLeft.h) &&
                     cell_in_grid(s.botRight.v, s.botRight.h) && s.topLeft.v <= s.botRight.v &&
                     s.topLeft.h <= s.botRight.h;
    bool ranges = loose_range(sheet->print_area);
    for (const CellRange& visible : sheet->visible_ranges) ranges = ranges && loose_range(visible);
    return selection && ranges;
}
