// Pictures drawn into the user items of the Fill Series, Sort and Paste
// Special dialogs.
#include "platform/draw/picture.h"
#include "platform/draw/shapes.h"
#include "platform/resources/resources.h"
#include "shell/command_dialogs.h"

void draw_item_picture(DialogRef dialog, int16_t item, int16_t picture_id) {
    pf::Rect box;
    GetDItemBox(dialog, item, &box);
    pf::erase_rect(box);
    if (const pf::Resource* picture = pf::get_resource(pf::four_cc("PICT"), picture_id))
        pf::draw_picture_data(picture->bytes.data(), picture->bytes.size(), box);
}
