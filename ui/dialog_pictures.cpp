#include "ui/dialog_pictures.h"

#include "ui/modal_dialog.h"
#include "platform/draw/picture.h"
#include "platform/draw/shapes.h"
#include "platform/resources/resources.h"

namespace {

constexpr int16_t kCancelDialogItem = 2;

}  // namespace

void draw_item_picture(DialogRef dialog, int16_t item, int16_t picture_id) {
    pf::Rect box;
    GetDItemBox(dialog, item, &box);
    pf::erase_rect(box);
    if (const pf::Resource* picture = pf::get_resource(pf::four_cc("PICT"), picture_id))
        pf::draw_picture_data(picture->bytes.data(), picture->bytes.size(), box);
}

int16_t next_dialog_item(DialogRef dialog) {
    pf::EventRecord event;
    const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
    return item == kModalCloseBox ? kCancelDialogItem : item;
}
