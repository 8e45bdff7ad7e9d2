// The print preview (DLOG 905): the layer's pages drawn as they print, one at
// a time, the whole page fitted to the view or at full size, scrolled over
// the page with its scroll bars or by dragging it; Previous and Next turn the
// pages, Print… goes on to the print dialog.
#include <algorithm>
#include <climits>
#include <string>

#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "core/string_utils.h"
#include "platform/controls/controls.h"
#include "platform/dialogs/dialogs.h"
#include "platform/draw/bits.h"
#include "platform/draw/draw.h"
#include "platform/draw/output.h"
#include "platform/resources/resources.h"
#include "platform/windows/windows.h"
#include "platform/system/date_time.h"
#include "printing/page_breaks.h"
#include "printing/print_render.h"
#include "printing/printing.h"
#include "window/window_commands.h"
#include "window/window_names.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kPageOfMessage = 3, kZoomTitle = 4, kWholePageTitle = 5;
constexpr int16_t kCloseItem = 1, kPrintItem = 2, kPreviousItem = 3, kNextItem = 4, kZoomItem = 5, kPageItem = 6,
                  kPageViewItem = 7, kVerticalBarItem = 8, kHorizontalBarItem = 9;
constexpr int16_t kPageShadow = 3;
constexpr int16_t kArrowStep = 16;  // an arrow of a scroll bar moves the page this far

struct PreviewState {
    MemoryRef layer = nullptr;
    DialogRef dialog = nullptr;
    int16_t page = 1;
    int16_t pages = 0;        // the sheet's pages, then its note pages
    int16_t sheet_pages = 0;
    bool full_size = false;
    pf::Point scroll{};  // at full size: the page's point at the view's top-left
    std::string file;
    uint32_t now = 0;
};

PreviewState* shown = nullptr;  // the preview that is up

// The page drawn into an offscreen image the size of the view and copied in.
void draw_page_view(DialogRef dialog, int16_t item) {
    if (!shown || shown->dialog != dialog) return;
    const pf::Rect box = pf::get_dialog_item_box(dialog, item);
    pf::PdfDocument page;
    const PaperSize paper = layer_paper(shown->layer);
    if (!pf::open_page_recording(page, paper.width, paper.height)) return;
    if (shown->page <= shown->sheet_pages)
        draw_printed_page(page, shown->layer, shown->page, page_fields(shown->layer, shown->page, shown->now, shown->file));
    else
        draw_note_page(page, shown->layer, int16_t(shown->page - shown->sheet_pages - 1));
    pf::GWorldPtr world = nullptr;
    const pf::Rect source{0, 0, int16_t(box.height()), int16_t(box.width())};
    if (pf::new_gworld(&world, 32, source, 0) == pf::noErr) {
        const double fit = std::min(double(box.width() - 2 * kPageShadow) / paper.width,
                                    double(box.height() - 2 * kPageShadow) / paper.height);
        const double scale = shown->full_size ? 1.0 : fit;
        const double left = shown->full_size ? -shown->scroll.h : (box.width() - paper.width * scale) / 2;
        const double top = shown->full_size ? -shown->scroll.v : (box.height() - paper.height * scale) / 2;
        {
            pf::PortScope scope(&world->port);
            pf::rgb_fore_color(pf::RGBColor{0x8888, 0x8888, 0x8888});
            pf::paint_rect(world->port.port_rect);
            pf::rgb_fore_color(pf::kBlackColor);
        }
        pf::play_page_recording(page, world->surface, scale, left, top);
        pf::copy_bits(pf::gworld_bits(world), source, box, pf::kSrcCopy);
        pf::dispose_gworld(world);
    }
    pf::close_page_recording(page);
    pf::frame_rect(box);
}

void show_page_number(PreviewState& state) {
    const std::string text = pf::get_indexed_string(kPrintMessages, kPageOfMessage);
    pf::param_text(std::to_string(state.page), std::to_string(state.pages));
    unsigned char shown_text[256];
    set_pstring(shown_text, pf::expand_param_text(text));
    SetDText(state.dialog, kPageItem, shown_text);
    EnableButton(state.dialog, kPreviousItem, state.page > 1);
    EnableButton(state.dialog, kNextItem, state.page < state.pages);
    if (pf::ControlRef zoom = GetDialogControl(state.dialog, kZoomItem))
        pf::set_control_title(zoom, pf::get_indexed_string(kPrintMessages, state.full_size ? kWholePageTitle : kZoomTitle));
}

// The farthest the page scrolls at full size: its bottom-right at the view's.
pf::Point scroll_limit(const PreviewState& state) {
    const pf::Rect box = pf::get_dialog_item_box(state.dialog, kPageViewItem);
    const PaperSize paper = layer_paper(state.layer);
    return pf::Point{int16_t(std::max(0, paper.height - box.height())), int16_t(std::max(0, paper.width - box.width()))};
}

// The scroll bars show at full size only, each ranging over what of the page
// lies beyond the view, their thumbs where the view is.
void set_scroll_bars(const PreviewState& state) {
    const pf::Point limit = scroll_limit(state);
    const struct {
        int16_t item, maximum, value;
    } bars[] = {{kVerticalBarItem, limit.v, state.scroll.v}, {kHorizontalBarItem, limit.h, state.scroll.h}};
    for (const auto& bar : bars) {
        pf::ControlRef control = GetDialogControl(state.dialog, bar.item);
        if (!control) continue;
        if (!state.full_size) {
            pf::hide_control(control);
            continue;
        }
        pf::set_control_maximum(control, bar.maximum);
        pf::set_control_value(control, bar.value);
        pf::show_control(control);
    }
}

void redraw(PreviewState& state) {
    show_page_number(state);
    pf::PortScope scope(pf::window_port(pf::get_dialog_window(state.dialog)));
    set_scroll_bars(state);
    draw_page_view(state.dialog, kPageViewItem);
}

// The page is where its scroll bars say.
void follow_scroll_bars(PreviewState& state) {
    if (pf::ControlRef vertical = GetDialogControl(state.dialog, kVerticalBarItem))
        state.scroll.v = int16_t(pf::get_control_value(vertical));
    if (pf::ControlRef horizontal = GetDialogControl(state.dialog, kHorizontalBarItem))
        state.scroll.h = int16_t(pf::get_control_value(horizontal));
}

// While an arrow or a page strip of a scroll bar is held, the page moves by
// a step or by a view less a step; while the thumb is dragged it follows it.
void scroll_action(pf::ControlRef control, int16_t part) {
    if (!shown) return;
    const pf::Rect box = pf::get_dialog_item_box(shown->dialog, kPageViewItem);
    const bool vertical = control == GetDialogControl(shown->dialog, kVerticalBarItem);
    const int32_t page = (vertical ? box.height() : box.width()) - kArrowStep;
    int32_t delta = 0;
    switch (part) {
        case pf::kControlUpButtonPart: delta = -kArrowStep; break;
        case pf::kControlDownButtonPart: delta = kArrowStep; break;
        case pf::kControlPageUpPart: delta = -page; break;
        case pf::kControlPageDownPart: delta = page; break;
        default: break;
    }
    if (delta) pf::set_control_value(control, pf::get_control_value(control) + delta);
    follow_scroll_bars(*shown);
    redraw(*shown);
}

// At full size the page follows the pointer dragged over it, within its edges.
void drag_page(PreviewState& state) {
    const pf::Point limit = scroll_limit(state);
    pf::Point last;
    pf::get_mouse(last);
    while (pf::still_down()) {
        pf::Point now;
        pf::get_mouse(now);
        if (now == last) continue;
        state.scroll.v = int16_t(std::clamp(state.scroll.v - (now.v - last.v), 0, int(limit.v)));
        state.scroll.h = int16_t(std::clamp(state.scroll.h - (now.h - last.h), 0, int(limit.h)));
        last = now;
        redraw(state);
    }
}

// Runs the preview; true when Print… was chosen. The cancel keys close it:
// its item 2 is Print….
bool run_preview(PreviewState& state) {
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(state.dialog, &event, kModalAllOptions & ~kModalCancelKeys);
        if (item == kModalKey && is_cancel_key(event)) {
            flash_button(state.dialog, kCloseItem);
            return false;
        }
        if (item == kCloseItem || item == kModalCloseBox) return false;
        if (item == kPrintItem) return true;
        if (item == kPreviousItem && state.page > 1) --state.page;
        else if (item == kNextItem && state.page < state.pages) ++state.page;
        else if (item == kZoomItem) state.full_size = !state.full_size, state.scroll = pf::Point{};
        else if (item == kPageViewItem && state.full_size) drag_page(state);
        else if (item == kVerticalBarItem || item == kHorizontalBarItem) follow_scroll_bars(state);
        else continue;
        redraw(state);
    }
}

}  // namespace

void Preview(MemoryRef record) {
    if (!record) return;
    PreviewState state;
    state.layer = doc_window_layer(record);
    state.sheet_pages = pages_to_print(state.layer);
    if (state.sheet_pages == 0) return;
    state.pages = int16_t(std::min(INT16_MAX, state.sheet_pages + count_note_pages(state.layer)));
    unsigned char name[256];
    Get_File_Name(doc_window_workbook(record), name);
    state.file = pstring_text(name);
    state.now = pf::current_date_time();
    state.dialog = StdNewDLOG(kPreviewDialog, kCloseItem, nullptr);
    if (!state.dialog) return;
    shown = &state;
    AttachDUserProc(state.dialog, kPageViewItem, draw_page_view);
    for (int16_t bar : {kVerticalBarItem, kHorizontalBarItem})
        if (pf::ControlRef control = GetDialogControl(state.dialog, bar)) pf::set_control_action(control, scroll_action);
    show_page_number(state);
    pf::draw_dialog(state.dialog);
    const bool print = run_preview(state);
    shown = nullptr;
    StdDLOG_close(state.dialog, nullptr);
    if (print) {
        DoAllUpdates();
        print_doc(record);
    }
}
