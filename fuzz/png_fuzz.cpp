// PNG images placed as pictures: checked, decoded and recorded; what becomes
// a picture is played back at its own size.
#include "fuzz/fuzz_drawing.h"
#include "fuzz/fuzz_support.h"
#include "objects/picture_files.h"
#include "platform/draw/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_start_application();
    fuzz_use_image_port();
    int16_t error = 0;
    const std::vector<uint8_t> picture = picture_from_png(std::span<const uint8_t>(data, size), &error);
    if (picture.empty()) return 0;
    pf::draw_picture_data(picture.data(), picture.size(), pf::picture_frame(picture.data(), picture.size()));
    return 0;
}
