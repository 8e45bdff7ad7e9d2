// The platform's answers to the engine, filled in at start-up, against what
// the engine answers alone (a converter without a font library) and what the
// engine's own tests stand in for.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "files/files_services.h"
#include "model/model_services.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/memory/memory.h"
#include "platform/print/print.h"
#include "platform/text/scripts.h"

namespace {

TEST(PlatformAnswers, LineHeightsOfTheSystemFontsFamilyAndFontNamesAreTheEnginesOwn) {
    const ModelServices headless = headless_model_services();
    for (int16_t font : {pf::kSystemFont, pf::kApplFont, pf::kGenevaFont})
        for (int16_t size : {0, 9, 10, 12, 14, 18, 24})
            EXPECT_EQ(headless.plain_line_height(font, size), model_services.plain_line_height(font, size))
                << "font " << font << " size " << size;
    EXPECT_EQ(headless.name_of_font_number(pf::kApplFont), model_services.name_of_font_number(pf::kApplFont));
    // A converter reads the scripts' fonts by the names the program writes.
    for (const pf::ScriptFont& font : pf::script_fonts()) {
        const int16_t number = pf::script_font(font.script);
        bool found = false;
        EXPECT_EQ(headless.name_of_font_number(number), model_services.name_of_font_number(number));
        EXPECT_EQ(headless.number_of_font_name(font.name, &found), model_services.number_of_font_name(font.name, &found));
        EXPECT_TRUE(found);
    }
}

// A print record of the older printing interface on US Letter, its rectangles
// in dots of the resolution (both ways): a page wider than tall is turned across.
std::vector<uint8_t> old_print_record(int16_t page_width, int16_t page_height, int16_t resolution) {
    std::vector<uint8_t> record;
    const auto word = [&record](int value) {
        record.push_back(uint8_t(value >> 8 & 0xFF));
        record.push_back(uint8_t(value & 0xFF));
    };
    const auto dots = [resolution](int points) { return points * resolution / 72; };
    const bool across = page_width > page_height;
    for (int value : {3, 0, int(resolution), int(resolution), 0, 0, dots(page_height), dots(page_width), dots(-36),
                      dots(-36), dots((across ? 612 : 792) - 36), dots((across ? 792 : 612) - 36)})
        word(value);
    record.resize(record.size() + 96);
    return record;
}

TEST(PlatformAnswers, AnOldPrintRecordsPaperOrientationAndResolutionBecomeAPageFormat) {
    struct Case {
        bool across;
        int16_t resolution;
    };
    for (Case c : {Case{true, 72}, Case{false, 72}, Case{false, 300}}) {
        const std::vector<uint8_t> record =
            c.across ? old_print_record(720, 540, c.resolution) : old_print_record(540, 720, c.resolution);
        pf::Handle flattened = files_services.page_format_of_old_record(record.data(), int32_t(record.size()));
        ASSERT_NE(flattened, nullptr);
        pf::PageFormatRef format = nullptr;
        ASSERT_EQ(pf::print_unflatten_page_format(flattened, format), pf::noErr);
        double width = 0, height = 0;
        int16_t orientation = 0, h_resolution = 0, v_resolution = 0;
        pf::print_get_paper_size(format, width, height);
        pf::print_get_orientation(format, orientation);
        pf::print_get_resolution(format, h_resolution, v_resolution);
        pf::print_dispose_page_format(format);
        pf::dispose_handle(flattened);
        EXPECT_DOUBLE_EQ(width, 612) << c.resolution;
        EXPECT_DOUBLE_EQ(height, 792) << c.resolution;
        EXPECT_EQ(orientation, c.across ? pf::kLandscapeOrientation : pf::kPortraitOrientation);
        EXPECT_EQ(h_resolution, c.resolution);
        EXPECT_EQ(v_resolution, c.resolution);
    }
    const std::vector<uint8_t> cut_short(20, 0);
    EXPECT_EQ(files_services.page_format_of_old_record(cut_short.data(), int32_t(cut_short.size())), nullptr);
}

}  // namespace
