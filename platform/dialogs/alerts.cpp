// Alerts: an ALRT template's items shown modally with the icon of the alert's kind
// (stop, note, caution; none for a plain alert).
#include "platform/controls/control_look.h"
#include "platform/dialogs/dialogs.h"
#include "platform/dialogs/dialogs_internal.h"
#include "platform/draw/text.h"
#include "platform/host/host.h"
#include "platform/resources/resources.h"

namespace pf {

using namespace dialogs_detail;

namespace {

constexpr uint16_t kAlertStageDrawn = 0x4;
constexpr uint16_t kAlertStageSound = 0x3;

constexpr RGBColor kStopRed{0xCCCC, 0x2222, 0x2222};
constexpr RGBColor kNoteBlue{0x2E2E, 0x6161, 0xC2C2};
constexpr RGBColor kCautionYellow{0xF5F5, 0xC0C0, 0x1A1A};

void draw_symbol(const Rect& box, const char* symbol, const RGBColor& colour) {
    LookScope scope;
    text_font(kSystemFont);
    text_size(20);
    text_face(kBold);
    draw_text_in_box(box, symbol, TextAlign::kCenter, colour);
}

bool is_push_button(DialogRef dialog, int16_t item) {
    ControlRef c = get_dialog_item_control(dialog, item);
    return c && c->kind == kPushButtonControl;
}

// Only an alert's buttons (and the keys that press them) answer it: a click on
// its message or icon does nothing.
void disable_all_but_controls(DialogRef dialog) {
    for (DialogItem& item : dialog->items)
        if (!item.control) item.enabled = false;
}

}  // namespace

void draw_alert_icon(int16_t kind, const Rect& box) {
    LookScope scope;
    pen_normal();
    switch (kind) {
        case kStopAlert:
            rgb_fore_color(kStopRed);
            paint_oval(box);
            draw_symbol(box, "!", kLookLight);
            break;
        case kNoteAlert:
            rgb_fore_color(kNoteBlue);
            paint_oval(box);
            draw_symbol(box, "i", kLookLight);
            break;
        case kCautionAlert: {
            rgb_fore_color(kCautionYellow);
            PolyHandle triangle = open_poly();
            move_to(int16_t((box.left + box.right) / 2), box.top);
            line_to(box.right, box.bottom);
            line_to(box.left, box.bottom);
            line_to(int16_t((box.left + box.right) / 2), box.top);
            close_poly();
            paint_poly(triangle);
            kill_poly(triangle);
            draw_symbol(offset_rect(box, 0, 4), "!", kLookText);
            break;
        }
        default:
            break;
    }
}

int16_t alert(int16_t alrt_id, int16_t kind, ModalFilterProc filter) {
    const Resource* resource = get_resource(kAlertType, alrt_id);
    AlertTemplate t;
    std::vector<DialogItemSpec> specs;
    if (!resource || !decode_alert(resource->bytes, t) || !load_item_list(t.items_id, specs)) return -1;
    // The first stage says whether the alert sounds and whether it is shown at all.
    uint16_t stage = t.stages & 0xF;
    if (stage & kAlertStageSound) host_beep();
    if (!(stage & kAlertStageDrawn)) return -1;
    DialogRef dialog = make_dialog(place_on_screen(t.rect, t.position), "", kDialogBoxProc, false, specs);
    dialog->alert_kind = kind >= kStopAlert && kind <= kCautionAlert ? kind : int16_t(kPlainAlert);
    disable_all_but_controls(dialog);
    set_dialog_default_item(dialog, int16_t(alert_default_item(t, 1)));
    if (is_push_button(dialog, 2)) set_dialog_cancel_item(dialog, 2);
    show_window(dialog->window);
    select_window(dialog->window);
    draw_dialog(dialog);
    int16_t hit = modal_dialog(filter);
    dispose_dialog(dialog);
    return hit;
}

int16_t stop_alert(int16_t alrt_id, ModalFilterProc filter) { return alert(alrt_id, kStopAlert, filter); }
int16_t note_alert(int16_t alrt_id, ModalFilterProc filter) { return alert(alrt_id, kNoteAlert, filter); }
int16_t caution_alert(int16_t alrt_id, ModalFilterProc filter) { return alert(alrt_id, kCautionAlert, filter); }

}  // namespace pf
