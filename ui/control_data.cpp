#include "ui/control_data.h"

#include <algorithm>
#include <string>

namespace {

constexpr pf::FourCC kTextHandleTag = pf::four_cc("than");

pf::OSErr get_text(pf::ControlRef control, pf::FourCC tag, unsigned char* out) {
    if (!control || !out) return pf::kParamErr;
    size_t actual = 0;
    pf::OSErr err = pf::get_control_data(control, 0, tag, 255, out + 1, &actual);
    out[0] = err ? 0 : uint8_t(std::min<size_t>(actual, 255));
    return err;
}

pf::OSErr set_text(pf::ControlRef control, const unsigned char* text, bool redraw) {
    if (!control || !text) return pf::kParamErr;
    pf::OSErr err = pf::set_control_data(control, 0, pf::kControlEditTextTextTag, text[0], text + 1);
    if (err == pf::noErr && redraw) pf::draw_one_control(control);
    return err;
}

}  // namespace

pf::OSErr GetEditTextText(pf::ControlRef control, unsigned char* out) {
    return get_text(control, pf::kControlEditTextTextTag, out);
}

pf::OSErr SetEditTextText(pf::ControlRef control, const unsigned char* text, bool redraw) {
    return set_text(control, text, redraw);
}

pf::OSErr SetEditTextSelection(pf::ControlRef control, int16_t start, int16_t end) {
    if (!control) return pf::kParamErr;
    pf::ControlEditTextSelection selection{start, end};
    pf::OSErr err = pf::set_control_data(control, 0, pf::kControlEditTextSelectionTag, sizeof selection, &selection);
    if (err == pf::noErr) pf::draw_one_control(control);
    return err;
}
