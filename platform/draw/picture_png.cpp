#include "platform/draw/picture_png.h"

#include <cairo.h>

#include <cstring>

#include "platform/draw/bits.h"
#include "platform/draw/draw.h"
#include "platform/draw/picture.h"
#include "platform/draw/port.h"

namespace pf {

namespace {

struct PngSource {
    std::span<const uint8_t> bytes;
    size_t at = 0;
};

cairo_status_t read_png_bytes(void* closure, unsigned char* data, unsigned int length) {
    auto* source = static_cast<PngSource*>(closure);
    if (source->bytes.size() - source->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source->bytes.data() + source->at, length);
    source->at += length;
    return CAIRO_STATUS_SUCCESS;
}

uint32_t big_endian_word(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

cairo_status_t write_png_bytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::vector<uint8_t>*>(closure)->insert(static_cast<std::vector<uint8_t>*>(closure)->end(), data,
                                                         data + length);
    return CAIRO_STATUS_SUCCESS;
}

// The decoded image over white, as opaque pixels; none when the data are damaged.
cairo_surface_t* decoded_over_white(std::span<const uint8_t> png) {
    PngSource source{png};
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(read_png_bytes, &source);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    cairo_surface_t* opaque = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(opaque);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    cairo_surface_flush(opaque);
    if (drawn && cairo_surface_status(opaque) == CAIRO_STATUS_SUCCESS) return opaque;
    cairo_surface_destroy(opaque);
    return nullptr;
}

// The pixels recorded into a picture whose frame is their bounds.
std::vector<uint8_t> recorded_picture_of(cairo_surface_t* pixels) {
    const Rect frame{0, 0, int16_t(cairo_image_surface_get_height(pixels)),
                     int16_t(cairo_image_surface_get_width(pixels))};
    GWorldPtr world = nullptr;
    if (new_gworld(&world, 32, frame, 0) != noErr) return {};
    std::vector<uint8_t> bytes;
    {
        PortScope scope(&world->port);
        if (PicHandle picture = open_picture(frame)) {
            BitMap bits;
            bits.base = cairo_image_surface_get_data(pixels);
            bits.row_bytes = cairo_image_surface_get_stride(pixels);
            bits.bounds = frame;
            copy_bits(bits, frame, frame, kSrcCopy);
            close_picture();
            bytes = std::move(picture->data);
            kill_picture(picture);
        }
    }
    dispose_gworld(world);
    return bytes;
}

}  // namespace

std::vector<uint8_t> picture_to_png(std::span<const uint8_t> picture) {
    const Rect frame = picture_frame(picture.data(), picture.size());
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return {};
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    std::vector<uint8_t> png;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        Port port;
        open_port(port, surface, width, height);
        {
            PortScope scope(&port);
            rgb_back_color(kWhiteColor);
            erase_rect(Rect{0, 0, int16_t(height), int16_t(width)});
            draw_picture_data(picture.data(), picture.size(), Rect{0, 0, int16_t(height), int16_t(width)});
        }
        close_port(port);
        cairo_surface_flush(surface);
        if (cairo_surface_write_to_png_stream(surface, write_png_bytes, &png) != CAIRO_STATUS_SUCCESS) png.clear();
    }
    cairo_surface_destroy(surface);
    return png;
}

bool png_too_large(std::span<const uint8_t> png) {
    constexpr size_t kWidthAt = 16, kHeightAt = 20;  // in the header chunk, which comes first
    if (png.size() < kHeightAt + 4) return false;
    const auto side = [](uint32_t length) { return length > uint32_t(kLargestPictureSide); };
    return side(big_endian_word(png, kWidthAt)) || side(big_endian_word(png, kHeightAt));
}

bool png_chunks_inside(std::span<const uint8_t> png) {
    constexpr size_t kSignatureSize = 8, kChunkFraming = 12;  // length, type and check
    auto word_at = [&](size_t at) { return big_endian_word(png, at); };
    size_t at = kSignatureSize;
    while (png.size() >= at && png.size() - at >= kChunkFraming) {
        const size_t length = word_at(at);
        if (length > png.size() - at - kChunkFraming) return false;
        if (word_at(at + 4) == four_cc("IEND")) return true;
        at += kChunkFraming + length;
    }
    return false;
}

std::vector<uint8_t> png_to_picture(std::span<const uint8_t> png) {
    if (png_too_large(png) || !png_chunks_inside(png)) return {};
    cairo_surface_t* pixels = decoded_over_white(png);
    if (!pixels) return {};
    std::vector<uint8_t> bytes = recorded_picture_of(pixels);
    cairo_surface_destroy(pixels);
    return bytes;
}

}  // namespace pf
