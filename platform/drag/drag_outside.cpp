// What a drag gives other programs, converted as the clipboard converts.
#include "platform/draw/picture_png.h"
#include "platform/drag/drag.h"
#include "platform/scrap/scrap.h"

#include <vector>

namespace pf {

namespace {

// The whole flavour of the first item that offers it to others; false when none does.
bool first_shared_flavour(DragRef drag, FourCC type, std::vector<uint8_t>& data) {
    uint16_t count = 0;
    count_drag_items(drag, count);
    for (uint16_t index = 1; index <= count; ++index) {
        DragItemRef item = 0;
        FlavorFlags flags = 0;
        int32_t size = 0;
        if (get_drag_item_reference_number(drag, index, item) != noErr ||
            get_flavor_flags(drag, item, type, flags) != noErr || (flags & kFlavorSenderOnly) ||
            get_flavor_data_size(drag, item, type, size) != noErr)
            continue;
        data.resize(size_t(size));
        return get_flavor_data(drag, item, type, data.data(), size, 0) == noErr;
    }
    return false;
}

bool has_shared_flavour(DragRef drag, FourCC type) {
    uint16_t count = 0;
    count_drag_items(drag, count);
    for (uint16_t index = 1; index <= count; ++index) {
        DragItemRef item = 0;
        FlavorFlags flags = 0;
        if (get_drag_item_reference_number(drag, index, item) == noErr &&
            get_flavor_flags(drag, item, type, flags) == noErr && !(flags & kFlavorSenderOnly))
            return true;
    }
    return false;
}

}  // namespace

ClipboardOffer drag_offer_for_others(DragRef drag) {
    ClipboardOffer offer;
    if (!drag) return offer;
    std::vector<uint8_t> text;
    if (first_shared_flavour(drag, kFlavorTypeText, text)) {
        offer.has_text = true;
        offer.utf8 = scrap_text_to_utf8(text);
    }
    if (has_shared_flavour(drag, kFlavorTypePicture))
        offer.png = [drag] {
            std::vector<uint8_t> picture;
            return first_shared_flavour(drag, kFlavorTypePicture, picture) ? picture_to_png(picture)
                                                                            : std::vector<uint8_t>();
        };
    return offer;
}

}  // namespace pf
