// Pictures: played back at their own size and scaled onto a port.
#include "fuzz/fuzz_drawing.h"
#include "fuzz/fuzz_support.h"
#include "platform/draw/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    fuzz_use_image_port();
    size_t length = 0;
    const uint8_t* picture = pf::picture_in_file(data, size, length);
    if (!picture) return 0;
    pf::draw_picture_data(picture, length, pf::picture_frame(picture, length));
    pf::draw_picture_data(picture, length, pf::Rect{-10, -10, 70, 100});
    return 0;
}
