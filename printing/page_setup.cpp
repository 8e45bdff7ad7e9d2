// Page_Setup: the printable rectangle of a layer's page, the paper of its page
// format (the print system's default when the layer has none) less the
// layer's margins, in points from (0, 0); the page setup of a layer read and
// stored as the page setup dialog shows it.
#include <algorithm>
#include <cstring>

#include "files/layout_settings.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "platform/print/print.h"
#include "printing/page_breaks.h"
#include "printing/printing.h"

namespace {

pf::PageFormatRef layer_page_format(pf::Handle stored) {
    pf::PageFormatRef format = nullptr;
    if (stored && pf::print_unflatten_page_format(stored, format) == pf::noErr) return format;
    if (pf::print_create_page_format(format) != pf::noErr) return nullptr;
    pf::PrintSessionRef session = nullptr;
    if (pf::print_create_session(session) == pf::noErr) {
        pf::print_session_default_page_format(session, format);
        pf::print_release_session(session);
    }
    return format;
}

}  // namespace

void Page_Setup(MemoryRef layer, pf::Rect* printable) {
    pf::Handle stored;
    int16_t margins[4];
    {
        LayerUse sheet(layer);
        stored = sheet->page_format;
        std::copy(sheet->margins, sheet->margins + 4, margins);
    }
    *printable = pf::Rect{};
    pf::PageFormatRef format = layer_page_format(stored);
    if (!format) return;
    pf::PrintRect paper;
    if (pf::print_get_adjusted_paper_rect(format, paper) == pf::noErr) {
        const int height = int(paper.bottom - paper.top) - margins[0] - margins[2];
        const int width = int(paper.right - paper.left) - margins[1] - margins[3];
        *printable = pf::Rect{0, 0, int16_t(std::clamp(height, 0, 32000)), int16_t(std::clamp(width, 0, 32000))};
    }
    pf::print_dispose_page_format(format);
}

PageSetupChoice take_page_setup(MemoryRef layer) {
    PageSetupChoice choice;
    pf::Handle stored;
    {
        LayerUse sheet(layer);
        stored = sheet->page_format;
        std::copy(sheet->margins, sheet->margins + 4, choice.margins);
    }
    choice.scale = page_scale(layer);
    if (pf::PageFormatRef format = layer_page_format(stored)) {
        double width = 0, height = 0;
        pf::print_get_paper_size(format, width, height);
        choice.paper = PaperChoice{int16_t(width + 0.5), int16_t(height + 0.5)};
        pf::print_get_orientation(format, choice.orientation);
        pf::print_dispose_page_format(format);
    }
    return choice;
}

namespace {

// The flattened page format of the choice; null when it cannot be made.
pf::Handle page_format_of(pf::Handle stored, const PageSetupChoice& choice) {
    pf::PageFormatRef format = layer_page_format(stored);
    if (!format) return nullptr;
    pf::Handle flat = nullptr;
    bool changed = false;
    pf::print_set_paper_size(format, choice.paper.width, choice.paper.height);
    pf::print_set_orientation(format, choice.orientation);
    pf::print_session_validate_page_format(nullptr, format, changed);
    pf::print_flatten_page_format(format, flat);
    pf::print_dispose_page_format(format);
    return flat;
}

bool same_setup(const PageSetupChoice& a, const PageSetupChoice& b) {
    return a.paper.width == b.paper.width && a.paper.height == b.paper.height && a.orientation == b.orientation &&
           a.scale == b.scale && std::equal(a.margins, a.margins + 4, b.margins);
}

}  // namespace

bool margins_leave_room(const PageSetupChoice& choice) {
    constexpr int32_t kLeastRoom = 72;  // points
    const bool landscape = choice.orientation == 2;
    const int32_t across = landscape ? choice.paper.height : choice.paper.width;
    const int32_t down = landscape ? choice.paper.width : choice.paper.height;
    return across - choice.margins[1] - choice.margins[3] >= kLeastRoom &&
           down - choice.margins[0] - choice.margins[2] >= kLeastRoom;
}

bool apply_page_setup(MemoryRef layer, const PageSetupChoice& choice) {
    if (same_setup(take_page_setup(layer), choice)) return false;
    pf::Handle flat = page_format_of(LayerUse(layer)->page_format, choice);
    if (flat) {
        LayerUse sheet(layer);
        if (sheet->page_format) pf::dispose_handle(sheet->page_format);
        sheet->page_format = flat;
    }
    ResetPageSettings(layer, choice.margins);
    set_page_scale(layer, choice.scale);
    reset_page(layer);
    increment_change_ctr(layer);
    return true;
}
