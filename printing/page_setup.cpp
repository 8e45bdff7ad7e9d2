// Page_Setup: the printable rectangle of a layer's page, the paper of its page
// format (the print system's default when the layer has none) less the
// layer's margins, in points from (0, 0).
#include <algorithm>

#include "model/layer.h"
#include "platform/print/print.h"

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
        SpreadSheet* sheet = use_layer(layer);
        stored = sheet->page_format;
        std::copy(sheet->margins, sheet->margins + 4, margins);
        release_layer(layer);
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
