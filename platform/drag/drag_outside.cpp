// What a drag gives other programs, converted as the clipboard converts.
#include "platform/draw/picture_png.h"
#include "platform/drag/drag.h"
#include "platform/scrap/scrap.h"

#include <vector>

namespace pf {

namespace {

// The first item offering the flavour to others; false when none does.
bool shared_item(DragRef drag, FourCC type, DragItemRef& item) {
    uint16_t count = 0;
    count_drag_items(drag, count);
    for (uint16_t index = 1; index <= count; ++index) {
        FlavorFlags flags = 0;
        if (get_drag_item_reference_number(drag, index, item) == noErr &&
            get_flavor_flags(drag, item, type, flags) == noErr && !(flags & kFlavorSenderOnly))
            return true;
    }
    return false;
}

// The whole flavour of that item, made by the sender when promised.
bool shared_flavour(DragRef drag, FourCC type, std::vector<uint8_t>& data) {
    DragItemRef item = 0;
    int32_t size = 0;
    if (!shared_item(drag, type, item) || get_flavor_data_size(drag, item, type, size) != noErr) return false;
    data.resize(size_t(size));
    return get_flavor_data(drag, item, type, data.data(), size, 0) == noErr;
}

}  // namespace

ClipboardOffer drag_offer_for_others(DragRef drag) {
    ClipboardOffer offer;
    if (!drag) return offer;
    std::vector<uint8_t> text;
    if (shared_flavour(drag, kFlavorTypeUnicodeText, text)) {
        offer.has_text = true;
        offer.utf8 = scrap_unicode_text_to_utf8(text);
    } else if (shared_flavour(drag, kFlavorTypeText, text)) {
        offer.has_text = true;
        offer.utf8 = scrap_text_to_utf8(text);
    }
    DragItemRef item = 0;
    if (shared_item(drag, kFlavorTypePicture, item))
        offer.png = [drag] {
            std::vector<uint8_t> picture;
            return shared_flavour(drag, kFlavorTypePicture, picture) ? picture_to_png(picture) : std::vector<uint8_t>();
        };
    return offer;
}

}  // namespace pf
