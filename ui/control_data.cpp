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

pf::OSErr GetEditTextPasswordText(pf::ControlRef control, unsigned char* out) {
    return get_text(control, pf::kControlEditTextPasswordTag, out);
}

pf::OSErr SetEditTextText(pf::ControlRef control, const unsigned char* text, bool redraw) {
    return set_text(control, text, redraw);
}

pf::OSErr SetStaticTextText(pf::ControlRef control, const unsigned char* text, bool redraw) {
    return set_text(control, text, redraw);
}

pf::OSErr SetStaticTextTitle(pf::ControlRef control, bool redraw) {
    if (!control) return pf::kParamErr;
    std::string title = pf::get_control_title(control);
    unsigned char text[256];
    text[0] = uint8_t(std::min<size_t>(title.size(), 255));
    std::copy_n(title.data(), text[0], text + 1);
    return set_text(control, text, redraw);
}

pf::OSErr SetEditTextKeyFilter(pf::ControlRef control, ControlKeyFilter filter) {
    if (!control) return pf::kParamErr;
    return pf::set_control_data(control, 0, pf::kControlEditTextKeyFilterTag, sizeof filter, &filter);
}

pf::OSErr SetEditTextSelection(pf::ControlRef control, int16_t start, int16_t end) {
    if (!control) return pf::kParamErr;
    pf::ControlEditTextSelection selection{start, end};
    pf::OSErr err = pf::set_control_data(control, 0, pf::kControlEditTextSelectionTag, sizeof selection, &selection);
    if (err == pf::noErr) pf::draw_one_control(control);
    return err;
}

pf::OSErr SetPushButtonDefaultState(pf::ControlRef control, bool on) {
    if (!control) return pf::kParamErr;
    uint8_t flag = on ? 1 : 0;
    return pf::set_control_data(control, 0, pf::kControlPushButtonDefaultTag, 1, &flag);
}

pf::OSErr GetEditTextTextHandle(pf::ControlRef control, void** out) {
    if (!control || !out) return pf::kParamErr;
    return pf::get_control_data(control, 0, kTextHandleTag, sizeof *out, out, nullptr);
}

pf::OSErr GetListBoxListHandle(pf::ControlRef control, pf::ListHandle* out) {
    if (!control || !out) return pf::kParamErr;
    return pf::get_control_data(control, 0, pf::kControlListBoxListHandleTag, sizeof *out, out, nullptr);
}

pf::OSErr GetListBoxDoubleClick(pf::ControlRef control, bool* out) {
    if (!control || !out) return pf::kParamErr;
    uint8_t flag = 0;
    pf::OSErr err = pf::get_control_data(control, 0, pf::kControlListBoxDoubleClickTag, 1, &flag, nullptr);
    *out = flag != 0;
    return err;
}
