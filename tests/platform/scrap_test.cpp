#include "platform/draw/picture.h"
#include "platform/draw/picture_png.h"
#include "platform/events/clock.h"
#include "platform/host/driver.h"
#include "platform/host/headless.h"
#include "platform/host/host.h"
#include "platform/scrap/scrap.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/objects/png_sample.h"

namespace {

struct Clipboard : ::testing::Test {
    void SetUp() override {
        pf::headless_host_open(64, 48);
        pf::driver_reset();
        pf::scrap_reset();
    }
    void TearDown() override { pf::host_close(); }
};

std::string scrap_string(pf::FourCC flavour) {
    std::vector<uint8_t> data;
    if (pf::get_scrap(flavour, data) != pf::noErr) return "<none>";
    return std::string(data.begin(), data.end());
}

TEST_F(Clipboard, TextGoesToTheSystemAsUtf8WithLineFeeds) {
    int32_t before = pf::scrap_change_count();
    pf::zero_scrap();
    EXPECT_NE(pf::scrap_change_count(), before);
    std::string mac = "caf\x8E\r\xA5 item";
    pf::put_scrap(pf::kScrapText, mac.data(), mac.size());
    std::string system;
    ASSERT_TRUE(pf::driver_system_clipboard(system));
    EXPECT_EQ(system, "caf\u00e9\n\u2022 item");
    EXPECT_EQ(scrap_string(pf::kScrapText), mac);
}

TEST_F(Clipboard, AnotherProgramsTextArrivesAsMacRomanAndMovesTheCount) {
    std::string table = "TBL1";
    pf::zero_scrap();
    pf::put_scrap(pf::four_cc("QTBL"), table.data(), table.size());
    int32_t count = pf::scrap_change_count();
    pf::driver_set_system_clipboard("na\u00efve\r\nline two\n\u4e2d");
    EXPECT_NE(pf::scrap_change_count(), count);
    EXPECT_EQ(scrap_string(pf::kScrapText), "na\x95ve\rline two\r?");
    // Our private flavour was of the old clipboard.
    EXPECT_FALSE(pf::scrap_has_flavour(pf::four_cc("QTBL")));
}

TEST_F(Clipboard, OwnWritesDoNotCountAsAnotherProgramsChange) {
    pf::zero_scrap();
    std::string text = "abc";
    pf::put_scrap(pf::kScrapText, text.data(), text.size());
    std::string pict = "PICTDATA";
    pf::put_scrap(pf::four_cc("PICT"), pict.data(), pict.size());
    int32_t count = pf::scrap_change_count();
    pf::scrap_system_changed();  // the host reports our own write
    EXPECT_EQ(pf::scrap_change_count(), count);
    EXPECT_EQ(scrap_string(pf::four_cc("PICT")), pict);
    EXPECT_EQ(scrap_string(pf::four_cc("XXXX")), "<none>");
    EXPECT_EQ(pf::put_scrap(pf::four_cc("PICT"), nullptr, 4), pf::kParamErr);
    EXPECT_EQ(scrap_string(pf::four_cc("PICT")), pict);
}

TEST_F(Clipboard, ZeroEmptiesTheSystemClipboardToo) {
    std::string text = "old";
    pf::put_scrap(pf::kScrapText, text.data(), text.size());
    pf::zero_scrap();
    std::string system;
    EXPECT_FALSE(pf::driver_system_clipboard(system));
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapText));
}

// Pictures leave as PNG images drawn from them and PNG images of other
// programs arrive as pictures of the image's size; damaged images are left out.
struct PictureExchange : Clipboard {
    static uint32_t pixel(cairo_surface_t* image, int x, int y) {
        const auto* row = cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }
    static cairo_surface_t* decoded(const std::vector<uint8_t>& png) {
        struct Source {
            const std::vector<uint8_t>& bytes;
            size_t at = 0;
        } source{png};
        return cairo_image_surface_create_from_png_stream(
            [](void* closure, unsigned char* data, unsigned int length) {
                auto* from = static_cast<Source*>(closure);
                if (from->bytes.size() - from->at < length) return CAIRO_STATUS_READ_ERROR;
                std::copy_n(from->bytes.begin() + long(from->at), length, data);
                from->at += length;
                return CAIRO_STATUS_SUCCESS;
            },
            &source);
    }
};

TEST_F(PictureExchange, APictureLeavesAsPngAndAnImageArrivesAsAPicture) {
    const std::vector<uint8_t> picture = pf::png_to_picture(png_sample::halves());
    ASSERT_FALSE(picture.empty());
    pf::zero_scrap();
    pf::put_scrap(pf::kScrapPicture, picture.data(), picture.size());
    std::vector<uint8_t> png;
    ASSERT_TRUE(pf::driver_system_clipboard_png(png));
    cairo_surface_t* image = decoded(png);
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), png_sample::kWidth);
    EXPECT_EQ(cairo_image_surface_get_height(image), png_sample::kHeight);
    EXPECT_EQ(pixel(image, 2, 10), 0xFF0000u);
    EXPECT_EQ(pixel(image, 27, 10), 0x0000FFu);
    EXPECT_EQ(pixel(image, 2, 1), 0xFFFFFFu);  // transparent parts over white
    cairo_surface_destroy(image);
    std::string text;
    EXPECT_FALSE(pf::driver_system_clipboard(text));

    const int32_t count = pf::scrap_change_count();
    pf::driver_set_system_clipboard_png(png_sample::halves());
    EXPECT_NE(pf::scrap_change_count(), count);
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapText));
    std::vector<uint8_t> arrived;
    ASSERT_EQ(pf::get_scrap(pf::kScrapPicture, arrived), pf::noErr);
    const pf::Rect frame = pf::picture_frame(arrived.data(), arrived.size());
    EXPECT_EQ(frame.bottom - frame.top, png_sample::kHeight);
    EXPECT_EQ(frame.right - frame.left, png_sample::kWidth);
}

TEST_F(PictureExchange, DamagedImagesAndPlainTextBringNoPicture) {
    std::vector<uint8_t> damaged = png_sample::halves();
    damaged.resize(damaged.size() / 2);
    pf::driver_set_system_clipboard_png(damaged);
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapPicture));
    pf::driver_set_system_clipboard("words");
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapPicture));
    EXPECT_EQ(scrap_string(pf::kScrapText), "words");
}

// An image of another program larger than a picture may be is not decoded:
// the clipboard offers a picture, whose bytes are refused for its size, until
// something else replaces it.
TEST_F(PictureExchange, ATooLargeImageIsOfferedButRefused) {
    std::vector<uint8_t> huge = png_sample::halves();
    const uint32_t side = uint32_t(pf::kLargestPictureSide) + 1;
    for (int i = 0; i < 4; ++i) huge[16 + i] = uint8_t(side >> (24 - 8 * i));  // the header's width
    pf::driver_set_system_clipboard_png(huge);
    EXPECT_TRUE(pf::scrap_has_flavour(pf::kScrapPicture));
    std::vector<uint8_t> arrived;
    EXPECT_EQ(pf::get_scrap(pf::kScrapPicture, arrived), pf::kScrapPictureTooLargeErr);
    EXPECT_TRUE(arrived.empty());
    pf::driver_set_system_clipboard_png(png_sample::halves());
    EXPECT_EQ(pf::get_scrap(pf::kScrapPicture, arrived), pf::noErr);
    pf::zero_scrap();
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapPicture));
}

// A host like X11's: it reports losing the clipboard to another program, but
// not another program replacing a clipboard that program already holds.
std::optional<std::string> desk_text;
bool desk_get(std::string& utf8) {
    if (desk_text) utf8 = *desk_text;
    return desk_text.has_value();
}
void desk_set(const pf::ClipboardOffer& offer) {
    desk_text.reset();
    if (offer.has_text) desk_text = offer.utf8;
}

struct UnreportedChanges : Clipboard {
    void SetUp() override {
        Clipboard::SetUp();
        pf::use_manual_clock(1000);
        pf::HostProcs procs = pf::headless_host_procs();
        procs.get_clipboard_text = desk_get;
        procs.set_clipboard = desk_set;
        pf::host_install(procs);
        desk_text.reset();
    }
    void TearDown() override {
        Clipboard::TearDown();
        pf::use_system_clock();
    }
    // Another program puts text on the clipboard; the host says nothing.
    void other_program_copies(const std::string& utf8) {
        desk_text = utf8;
        pf::advance_clock(pf::ticks_to_milliseconds(1));
    }
};

TEST_F(UnreportedChanges, TextOfAnotherProgramIsSeenBeforeWeEverCopied) {
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapText));
    other_program_copies("first");
    EXPECT_EQ(scrap_string(pf::kScrapText), "first");
    const int32_t count = pf::scrap_change_count();
    other_program_copies("second\nline");
    EXPECT_NE(pf::scrap_change_count(), count);
    EXPECT_EQ(scrap_string(pf::kScrapText), "second\rline");
    other_program_copies("");
    EXPECT_FALSE(pf::scrap_has_flavour(pf::kScrapText));
}

TEST_F(UnreportedChanges, OurOwnClipboardIsKeptUntilTheHostReportsItsLoss) {
    std::string table = "TBL1";
    pf::zero_scrap();
    pf::put_scrap(pf::four_cc("QTBL"), table.data(), table.size());
    const std::string text = "1\t2";
    pf::put_scrap(pf::kScrapText, text.data(), text.size());
    const int32_t count = pf::scrap_change_count();
    pf::advance_clock(pf::ticks_to_milliseconds(5));
    EXPECT_EQ(pf::scrap_change_count(), count);
    EXPECT_EQ(scrap_string(pf::four_cc("QTBL")), table);
    other_program_copies("theirs");
    pf::scrap_system_changed();  // the host saw the clipboard taken from us
    EXPECT_EQ(scrap_string(pf::kScrapText), "theirs");
    EXPECT_FALSE(pf::scrap_has_flavour(pf::four_cc("QTBL")));
    other_program_copies("theirs again");
    EXPECT_EQ(scrap_string(pf::kScrapText), "theirs again");
}

}  // namespace
