#include "printing/print_render.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/string_utils.h"
#include "files/layout_settings.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "platform/draw/draw.h"
#include "platform/draw/text.h"
#include "platform/fonts/fonts.h"
#include "platform/print/print.h"
#include "printing/page_breaks.h"
#include "window/cell_geometry.h"
#include "window/sheet_drawing.h"
#include "window/sheet_frame.h"
#include "window/sheet_paint.h"
#include "window/text_boxes.h"

namespace {

constexpr uint32_t kScreenOnlyFlags =
    kLayerGridLines | kLayerHeadings | kLayerPageBreaks | kLayerActiveBits | kLayerFrozenTitles;

// Indexes of print titles (first, last), or none.
struct Titles {
    int16_t first = -1, last = -1;
    bool shown() const { return first >= 0; }
};

Titles titles_before(const int16_t stored[2], int16_t page_first) {
    Titles t{stored[1], stored[0]};
    if (t.first < 0 || t.last < t.first || t.last >= page_first) return Titles{};
    return t;
}

// What the layer's panes hold while a page is drawn, put back afterwards.
struct SavedPanes {
    uint32_t flags;
    pf::Rect pane_rects[kPaneCount];
    CellRange visible_ranges[kPaneCount];
};

SavedPanes save_panes(const SpreadSheet* sheet) {
    SavedPanes saved{sheet->flags, {}, {}};
    std::copy(sheet->pane_rects, sheet->pane_rects + kPaneCount, saved.pane_rects);
    std::copy(sheet->visible_ranges, sheet->visible_ranges + kPaneCount, saved.visible_ranges);
    return saved;
}

void restore_panes(SpreadSheet* sheet, const SavedPanes& saved) {
    sheet->flags = saved.flags;
    std::copy(saved.pane_rects, saved.pane_rects + kPaneCount, sheet->pane_rects);
    std::copy(saved.visible_ranges, saved.visible_ranges + kPaneCount, sheet->visible_ranges);
}

void set_pane(SpreadSheet* sheet, int pane, const pf::Rect& rect, CellRange cells) {
    sheet->pane_rects[pane] = rect;
    sheet->visible_ranges[pane] = cells;
}

void clear_pane(SpreadSheet* sheet, int pane) {
    set_pane(sheet, pane, pf::Rect{0, -1, 0, 0}, CellRange{{-1, -1}, {-1, -1}});
}

// Lays the page's cells out as panes from (0, 0): title rows above, title
// columns to the left, the page's own cells in the last pane; answers the
// size of it all.
pf::Point lay_out_page(SpreadSheet* sheet, const SheetAxes& axes, const CellRange& page, bool with_titles) {
    const bool headings = (sheet->flags & kLayerHeadings) != 0;
    const int16_t top = headings ? kColumnHeaderHeight : 0, left = headings ? kRowHeaderWidth : 0;
    const Titles rows = with_titles ? titles_before(sheet->print_title_rows, page.topLeft.v) : Titles{};
    const Titles columns = with_titles ? titles_before(sheet->print_title_columns, page.topLeft.h) : Titles{};
    auto span = [](const AxisSizes& axis, int16_t first, int16_t last) {
        return int16_t(std::min<int32_t>(axis.span(first, int16_t(last + 1)), 16000));
    };
    const int16_t title_height = rows.shown() ? span(axes.rows, rows.first, rows.last) : 0;
    const int16_t title_width = columns.shown() ? span(axes.columns, columns.first, columns.last) : 0;
    const int16_t body_top = int16_t(top + title_height), body_left = int16_t(left + title_width);
    const int16_t bottom = int16_t(body_top + span(axes.rows, page.topLeft.v, page.botRight.v));
    const int16_t right = int16_t(body_left + span(axes.columns, page.topLeft.h, page.botRight.h));
    const CellRange title_rows{{rows.first, page.topLeft.h}, {rows.last, page.botRight.h}};
    const CellRange title_columns{{page.topLeft.v, columns.first}, {page.botRight.v, columns.last}};
    for (int pane = 0; pane < kPaneCount; ++pane) clear_pane(sheet, pane);
    const int body = rows.shown() ? (columns.shown() ? 3 : 1) : (columns.shown() ? 2 : 0);
    set_pane(sheet, body, pf::Rect{body_top, body_left, bottom, right}, page);
    if (rows.shown()) set_pane(sheet, body - 1, pf::Rect{top, body_left, body_top, right}, title_rows);
    if (columns.shown()) set_pane(sheet, body == 3 ? 1 : 0, pf::Rect{body_top, left, bottom, body_left}, title_columns);
    if (rows.shown() && columns.shown())
        set_pane(sheet, 0, pf::Rect{top, left, body_top, body_left},
                 CellRange{{rows.first, columns.first}, {rows.last, columns.last}});
    if (rows.shown() || columns.shown()) sheet->flags |= kLayerFrozenTitles;
    return pf::Point{bottom, right};
}

}  // namespace

CellLook printing_look(uint32_t flags) {
    uint32_t printing = (flags & ~kScreenOnlyFlags) | kLayerPictureDrawing;
    if (flags & kLayerPrintGrid) printing |= kLayerGridLines;
    if (flags & kLayerPrintHeadings) printing |= kLayerHeadings;
    return CellLook{printing, true};
}

pf::Point draw_cells(MemoryRef layer, const CellRange& page, const CellLook& look, pf::Point offset, pf::Point room) {
    SheetAxes axes(layer);
    LayerUse sheet(layer);
    const SavedPanes saved = save_panes(sheet);
    sheet->flags = look.flags;
    const pf::Point size = lay_out_page(sheet, axes, page, look.titles);
    if (sheet->flags & kLayerCentreHorizontally) offset.h = int16_t(offset.h + std::max(0, (room.h - size.h) / 2));
    if (sheet->flags & kLayerCentreVertically) offset.v = int16_t(offset.v + std::max(0, (room.v - size.v) / 2));
    sheet.release();

    pf::set_origin(int16_t(-offset.h), int16_t(-offset.v));
    pf::RgnHandle area = pf::new_region();
    pf::rect_region(area, pf::Rect{0, 0, size.v, size.h});
    Draw_Spreadsheet(area, layer);
    pf::dispose_region(area);
    pf::set_origin(0, 0);

    restore_panes(LayerUse(layer).get(), saved);
    return size;
}

namespace {

struct LayerText {
    int16_t font, size;
    uint32_t print_flags;
    int16_t margins[4];
    MemoryRef header, footer;
};

LayerText layer_text(MemoryRef layer) {
    ConstLayerUse sheet(layer);
    LayerText t{Get_Default_Font(layer), Get_Default_Size(layer), sheet->print_options, {}, sheet->header, sheet->footer};
    std::copy(sheet->margins, sheet->margins + 4, t.margins);
    return t;
}

void set_part_style(const HeaderPart& part, const LayerText& layer) {
    pf::text_font(part.font < 0 ? layer.font : part.font);
    pf::text_size(part.size > 200 || part.size <= 0 ? layer.size : part.size);
    pf::text_face(part.face);
    pf::text_mode(pf::kSrcOr);
    pf::rgb_fore_color(part.colour > 0 ? table_colour(int16_t(part.colour - 1)) : pf::kBlackColor);
}

// The parts of a header (footer) in the margin band from `top` to `bottom`,
// between the side margins, one line below the other for each alignment.
void draw_parts(const std::vector<HeaderPart>& parts, const HeaderFields& fields, const LayerText& layer,
                const pf::Rect& band) {
    int16_t line_top[3] = {band.top, band.top, band.top};
    for (const HeaderPart& part : parts) {
        set_part_style(part, layer);
        const std::string text = expand_header_fields(part.text, fields);
        pf::FontInfo info{};
        pf::get_font_info(info);
        const int slot = part.alignment == kHeaderCentre ? 1 : part.alignment == kHeaderRight ? 2 : 0;
        const int16_t width = pf::text_width(text);
        const int16_t h = slot == 0   ? band.left
                          : slot == 1 ? int16_t((band.left + band.right - width) / 2)
                                      : int16_t(band.right - width);
        line_top[slot] = int16_t(line_top[slot] + info.ascent);
        pf::move_to(h, line_top[slot]);
        pf::draw_text(text);
        line_top[slot] = int16_t(line_top[slot] + info.descent + info.leading);
    }
    pf::rgb_fore_color(pf::kBlackColor);
}

// Header lines start a quarter of the top margin down; footer lines end a
// quarter of the bottom margin above the paper's edge.
void draw_header_and_footer(const LayerText& layer, const HeaderFields& fields, PaperSize paper) {
    const int16_t left = layer.margins[1], right = int16_t(paper.width - layer.margins[3]);
    if ((layer.print_flags & kPrintHeader) && layer.header)
        draw_parts(header_parts_of(layer.header), fields, layer,
                   pf::Rect{int16_t(layer.margins[0] / 4), left, layer.margins[0], right});
    if ((layer.print_flags & kPrintFooter) && layer.footer) {
        const std::vector<HeaderPart> parts = header_parts_of(layer.footer);
        pf::FontInfo info{};
        int16_t height = 0;
        for (const HeaderPart& part : parts) {
            set_part_style(part, layer);
            pf::get_font_info(info);
            height = std::max<int16_t>(height, int16_t(info.ascent + info.descent + info.leading));
        }
        const int16_t bottom = int16_t(paper.height - layer.margins[2] / 4);
        draw_parts(parts, fields, layer, pf::Rect{int16_t(bottom - height), left, bottom, right});
    }
}

}  // namespace

PaperSize layer_paper(MemoryRef layer) {
    PaperSize size;
    pf::Handle stored = LayerUse(layer)->page_format;
    pf::PageFormatRef format = nullptr;
    if (!stored || pf::print_unflatten_page_format(stored, format) != pf::noErr) {
        pf::PrintSessionRef session = nullptr;
        pf::print_create_session(session);
        pf::print_create_page_format(format);
        pf::print_session_default_page_format(session, format);
        pf::print_release_session(session);
    }
    pf::PrintRect paper;
    if (pf::print_get_adjusted_paper_rect(format, paper) == pf::noErr) {
        size.width = int16_t(paper.right - paper.left + 0.5);
        size.height = int16_t(paper.bottom - paper.top + 0.5);
    }
    pf::print_dispose_page_format(format);
    return size;
}

HeaderFields page_fields(MemoryRef layer, int16_t page, uint32_t now, const std::string& file) {
    HeaderFields fields;
    fields.now = now;
    const int16_t first = LayerUse(layer)->first_page_number;
    fields.page = int16_t(first + page - 1);
    fields.pages = CountPages(layer);
    unsigned char name[64];
    GetSheetName(name, layer);
    fields.layer.assign(reinterpret_cast<const char*>(name + 1), name[0]);
    fields.file = file;
    return fields;
}

void draw_printed_page(pf::PdfDocument& doc, MemoryRef layer, int16_t page, const HeaderFields& fields) {
    CellRange cells{};
    if (!GetPageRect(layer, page, &cells)) return;
    const LayerText text = layer_text(layer);
    pf::Rect printable;
    Page_Setup(layer, &printable);
    const double scale = page_scale(layer) / 100.0;
    pf::PortScope scope(&doc.port);
    pf::pdf_set_scale(doc, scale);
    const pf::Point offset{int16_t(text.margins[0] / scale), int16_t(text.margins[1] / scale)};
    const pf::Point room{int16_t(printable.height() / scale), int16_t(printable.width() / scale)};
    draw_cells(layer, cells, printing_look(GetSheetFlags(layer)), offset, room);
    pf::pdf_set_scale(doc, 1);
    draw_header_and_footer(text, fields, PaperSize{int16_t(doc.width), int16_t(doc.height)});
}

namespace {

// The cells the layer's window shows: from the top-left cell of its first
// shown pane to the bottom-right cell of its last (the whole window's cells
// unless it is split); none (a left column below 0) when no pane is shown.
CellRange window_cells(MemoryRef layer) {
    CellRange cells{{-1, -1}, {-1, -1}};
    for (int16_t pane = 0; pane < kPaneCount; ++pane) {
        if (LayerUse(layer)->pane_rects[pane].left < 0) continue;
        const CellRange shown = VisibleRect(pane, layer);
        if (shown.topLeft.v < 0 || shown.topLeft.h < 0 || shown.botRight.v < shown.topLeft.v ||
            shown.botRight.h < shown.topLeft.h)
            continue;
        if (cells.topLeft.h < 0) {
            cells = shown;
            continue;
        }
        cells.topLeft.v = std::min(cells.topLeft.v, shown.topLeft.v);
        cells.topLeft.h = std::min(cells.topLeft.h, shown.topLeft.h);
        cells.botRight.v = std::max(cells.botRight.v, shown.botRight.v);
        cells.botRight.h = std::max(cells.botRight.h, shown.botRight.h);
    }
    return cells;
}

// The cells chosen, when they are not the print area: the selection or the
// window's cells.
std::optional<CellRange> chosen_cells(MemoryRef layer, PrintedCells chosen) {
    switch (chosen) {
        case PrintedCells::kPrintArea: return std::nullopt;
        case PrintedCells::kSelection: return LayerUse(layer)->selection;
        case PrintedCells::kWindow:
            if (const CellRange cells = window_cells(layer); cells.topLeft.h >= 0) return cells;
            return std::nullopt;
    }
    return std::nullopt;
}

// The cells chosen as the print area for as long as it lives.
struct ChosenCellsArea {
    ChosenCellsArea(MemoryRef the_layer, PrintedCells chosen) : layer(the_layer) {
        const std::optional<CellRange> cells = chosen_cells(layer, chosen);
        used = cells.has_value();
        if (!used) return;
        LayerUse sheet(layer);
        kept = sheet->print_area;
        sheet->print_area = *cells;
        sheet->print_area.botRight.v = int16_t(sheet->print_area.botRight.v + 1);
        sheet->print_area.botRight.h = int16_t(sheet->print_area.botRight.h + 1);
    }
    ~ChosenCellsArea() {
        if (!used) return;
        LayerUse(layer)->print_area = kept;
        reset_page(layer);
    }
    ChosenCellsArea(const ChosenCellsArea&) = delete;
    ChosenCellsArea& operator=(const ChosenCellsArea&) = delete;
    MemoryRef layer;
    bool used = false;
    CellRange kept{};
};

// "A1: " and the note of each cell of the range that has one, row by row.
std::vector<std::string> cell_notes(MemoryRef layer, const CellRange& range) {
    std::vector<std::string> notes;
    MemoryRef cells = LayerUse(layer)->cells;
    if (!cells || GetByteSize(cells) == 0) return notes;
    MemoryUse<const uint8_t> start(cells);
    const uint8_t* end = start + GetByteSize(cells);
    for (const uint8_t* row = start; row + kRowHeaderSize <= end && _RowLength_(row) > 0; row += _RowLength_(row)) {
        if (_RowID_(row) < range.topLeft.v || _RowID_(row) > range.botRight.v) continue;
        const uint8_t* row_end = std::min(row + _RowLength_(row), end);
        for (const uint8_t* cell = row + kRowHeaderSize; cell < row_end && _cellLength_(cell) > 0;
             cell += _cellLength_(cell)) {
            if (_noteLength_(cell) == 0 || _cellID_(cell) < range.topLeft.h || _cellID_(cell) > range.botRight.h)
                continue;
            unsigned char column[8];
            NumberToColumn(column, _cellID_(cell));
            notes.push_back(pstring_text(column) + std::to_string(_RowID_(row) + 1) + ": " +
                            std::string(reinterpret_cast<const char*>(_notePtr_(cell)), _noteLength_(cell)));
        }
    }
    return notes;
}

// The notes' lines in the layer's font, as many to a page as fit inside the
// margins, none wider than the room between the side margins.
struct NoteLayout {
    pf::TextStyle style{};
    pf::FontInfo info{};
    int16_t line = 1;
    int width = 1;
    size_t per_page = 1;
};

NoteLayout note_layout(const LayerText& text, PaperSize paper) {
    NoteLayout layout;
    layout.style = pf::TextStyle{text.font, text.size, 0};
    layout.info = pf::font_info(layout.style);
    layout.line = int16_t(std::max(1, layout.info.ascent + layout.info.descent + layout.info.leading));
    layout.width = std::max(1, paper.width - text.margins[1] - text.margins[3]);
    const int room = paper.height - text.margins[2] - text.margins[0] - layout.info.ascent - layout.info.descent;
    layout.per_page = size_t(std::max(0, room / layout.line) + 1);  // a page holds at least one
    return layout;
}

// A note broken into lines no wider than the layout's, as a text box breaks
// its text.
std::vector<std::string> wrapped_note(const std::string& note, const NoteLayout& layout) {
    const auto char_width = [&layout](unsigned char byte) { return pf::font_char_width(layout.style, byte); };
    std::vector<std::string> lines;
    for (const TextLine& line : break_text_lines(reinterpret_cast<const unsigned char*>(note.data()),
                                                 int32_t(note.size()), int16_t(layout.width), char_width))
        lines.push_back(note.substr(size_t(line.start), size_t(line.length)));
    return lines;
}

// The lines of the notes of the layer's printed cells, each note on lines of its own.
std::vector<std::string> note_lines(MemoryRef layer, const NoteLayout& layout) {
    std::vector<std::string> lines;
    for (const std::string& note : cell_notes(layer, printed_range(layer))) {
        const std::vector<std::string> wrapped = wrapped_note(note, layout);
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
    }
    return lines;
}

// The lines of note page `index` (from 0) on the current page of the port.
void draw_note_lines(const NoteLayout& layout, const LayerText& text, const std::vector<std::string>& lines,
                     size_t index) {
    pf::text_font(layout.style.font);
    pf::text_size(layout.style.size);
    pf::text_face(0);
    const size_t first = index * layout.per_page, end = std::min(lines.size(), first + layout.per_page);
    int16_t v = int16_t(text.margins[0] + layout.info.ascent);
    for (size_t at = first; at < end; ++at, v = int16_t(v + layout.line)) {
        pf::move_to(text.margins[1], v);
        pf::draw_text(lines[at]);
    }
}

size_t note_page_count(size_t lines, const NoteLayout& layout) { return (lines + layout.per_page - 1) / layout.per_page; }

// The notes, as many pages as they fill inside the margins.
void draw_notes(pf::PdfDocument& doc, MemoryRef layer, PaperSize paper) {
    const LayerText text = layer_text(layer);
    const NoteLayout layout = note_layout(text, paper);
    const std::vector<std::string> lines = note_lines(layer, layout);
    pf::PortScope scope(&doc.port);
    for (size_t index = 0; index < note_page_count(lines.size(), layout); ++index) {
        pf::pdf_next_page(doc, paper.width, paper.height);
        draw_note_lines(layout, text, lines, index);
    }
}

}  // namespace

int16_t count_note_pages(MemoryRef layer) {
    const LayerText text = layer_text(layer);
    if (!(text.print_flags & kPrintNotes)) return 0;
    const NoteLayout layout = note_layout(text, layer_paper(layer));
    return int16_t(std::min<size_t>(note_page_count(note_lines(layer, layout).size(), layout), INT16_MAX));
}

void draw_note_page(pf::PdfDocument& doc, MemoryRef layer, int16_t index) {
    const LayerText text = layer_text(layer);
    const NoteLayout layout = note_layout(text, layer_paper(layer));
    pf::PortScope scope(&doc.port);
    draw_note_lines(layout, text, note_lines(layer, layout), size_t(index));
}

bool print_layer_pdf(MemoryRef layer, const std::string& path, const PrintChoice& choice, const std::string& file,
                     uint32_t now) {
    ChosenCellsArea area(layer, choice.cells);
    reset_page(layer);
    const int16_t first = std::max<int16_t>(choice.first, 1);
    const int16_t last = std::min<int16_t>(choice.last, CountPages(layer));
    if (first > last) return false;
    const PaperSize paper = layer_paper(layer);
    pf::PdfDocument doc;
    if (!pf::open_pdf(doc, path, paper.width, paper.height)) return false;
    for (int16_t page = first; page <= last; ++page) {
        if (page > first) pf::pdf_next_page(doc, paper.width, paper.height);
        draw_printed_page(doc, layer, page, page_fields(layer, page, now, file));
    }
    const bool with_notes = (layer_text(layer).print_flags & kPrintNotes) && last == CountPages(layer);
    if (with_notes) draw_notes(doc, layer, paper);
    return pf::close_pdf(doc);
}
