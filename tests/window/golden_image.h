// Pictures compared pixel for pixel with their golden images in
// tests/<folder>/golden (window unless given); each picture is also written to the build folder for
// people to look at, and over its golden image when QUORVIN_UPDATE_GOLDEN is set.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline ::testing::AssertionResult matches_golden_image(cairo_surface_t* picture, const std::string& name,
                                                      const std::string& folder = "window") {
    const std::string golden = std::string(QUORVIN_SOURCE_DIR) + "/tests/" + folder + "/golden/" + name + ".png";
    cairo_surface_flush(picture);
    cairo_surface_write_to_png(picture, (std::string(QUORVIN_BINARY_DIR) + "/" + folder + "_" + name + ".png").c_str());
    if (std::getenv("QUORVIN_UPDATE_GOLDEN")) cairo_surface_write_to_png(picture, golden.c_str());
    cairo_surface_t* expected = cairo_image_surface_create_from_png(golden.c_str());
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    const int width = cairo_image_surface_get_width(picture), height = cairo_image_surface_get_height(picture);
    if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS) {
        result = ::testing::AssertionFailure() << "no golden image " << golden;
    } else if (cairo_image_surface_get_width(expected) != width || cairo_image_surface_get_height(expected) != height) {
        result = ::testing::AssertionFailure() << "the golden image " << golden << " has another size";
    } else {
        auto* want = cairo_image_surface_get_data(expected);
        auto* have = cairo_image_surface_get_data(picture);
        const int want_stride = cairo_image_surface_get_stride(expected), have_stride = cairo_image_surface_get_stride(picture);
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t a = reinterpret_cast<const uint32_t*>(want + y * want_stride)[x] & 0xFFFFFF;
                const uint32_t b = reinterpret_cast<const uint32_t*>(have + y * have_stride)[x] & 0xFFFFFF;
                differing += a != b;
            }
        if (differing) result = ::testing::AssertionFailure() << differing << " pixels differ from " << golden;
    }
    cairo_surface_destroy(expected);
    return result;
}
