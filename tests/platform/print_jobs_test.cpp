// Print jobs without a print service: no printers are listed and a job sent
// is reported as failed, never as printed. Paper sizes set on a page format
// survive its flattened form; sizes the validation would refuse are refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "platform/files/files.h"
#include "platform/memory/memory.h"
#include "platform/print/print.h"
#include "platform/print/print_jobs.h"

namespace {

class NoPrintService : public ::testing::Test {
protected:
    void SetUp() override {
        const char* kept = std::getenv("CUPS_SERVER");
        saved = kept ? kept : "";
        had = kept != nullptr;
        setenv("CUPS_SERVER", "127.0.0.1:9", 1);  // the discard port: nothing answers there
    }
    void TearDown() override {
        if (had) setenv("CUPS_SERVER", saved.c_str(), 1);
        else unsetenv("CUPS_SERVER");
    }
    std::string saved;
    bool had = false;
};

TEST_F(NoPrintService, NoPrintersAreListedAndAJobIsNotReportedAsPrinted) {
    EXPECT_TRUE(pf::print_printers().empty());
    EXPECT_EQ(pf::print_send_pdf("Office", "/nonexistent/pages.pdf", "Budget", 2), pf::kIOErr);
}

// The page format flattened into flat, disposed of and read back from it.
void flatten_and_read_back(pf::PageFormatRef& format, pf::Handle& flat) {
    ASSERT_EQ(pf::print_flatten_page_format(format, flat), pf::noErr);
    pf::print_dispose_page_format(format);
    ASSERT_EQ(pf::print_unflatten_page_format(flat, format), pf::noErr);
}

TEST(PaperSizeTest, APaperSizeSetSurvivesFlatteningAndOddSizesAreRefused) {
    pf::PageFormatRef format = nullptr;
    ASSERT_EQ(pf::print_create_page_format(format), pf::noErr);
    EXPECT_EQ(pf::print_set_paper_size(format, 612, 1008), pf::noErr);
    EXPECT_EQ(pf::print_set_orientation(format, pf::kLandscapeOrientation), pf::noErr);
    EXPECT_EQ(pf::print_set_paper_size(format, 10, 1008), pf::kParamErr);
    EXPECT_EQ(pf::print_set_paper_size(format, 612, std::numeric_limits<double>::infinity()), pf::kParamErr);
    pf::Handle flat = nullptr;
    ASSERT_NO_FATAL_FAILURE(flatten_and_read_back(format, flat));
    double width = 0, height = 0;
    pf::print_get_paper_size(format, width, height);
    EXPECT_EQ(width, 612);
    EXPECT_EQ(height, 1008);
    pf::PrintRect paper;
    pf::print_get_adjusted_paper_rect(format, paper);
    EXPECT_EQ(paper.right - paper.left, 1008) << "turned to landscape";
    pf::print_dispose_page_format(format);
    pf::dispose_handle(flat);
}

// A resolution set survives the flattened form; a page format flattened before
// formats had one (32 bytes, version 1, as documents saved then hold it) reads
// with one dot per point.
TEST(PaperSizeTest, AResolutionSurvivesFlatteningAndEarlierFlattenedFormatsReadAt72) {
    pf::PageFormatRef format = nullptr;
    ASSERT_EQ(pf::print_create_page_format(format), pf::noErr);
    EXPECT_EQ(pf::print_set_resolution(format, 300, 600), pf::noErr);
    EXPECT_EQ(pf::print_set_resolution(format, 0, 600), pf::kParamErr);
    EXPECT_EQ(pf::print_set_resolution(format, 300, -72), pf::kParamErr);
    pf::Handle flat = nullptr;
    ASSERT_NO_FATAL_FAILURE(flatten_and_read_back(format, flat));
    int16_t across = 0, down = 0;
    pf::print_get_resolution(format, across, down);
    EXPECT_EQ(across, 300);
    EXPECT_EQ(down, 600);
    pf::print_dispose_page_format(format);

    // The earlier form is the same bytes without the resolution, marked version 1.
    uint8_t* bytes = reinterpret_cast<uint8_t*>(*flat);
    bytes[5] = 1;
    pf::Handle earlier = pf::ptr_to_hand(bytes, 32);
    ASSERT_EQ(pf::print_unflatten_page_format(earlier, format), pf::noErr);
    pf::print_get_resolution(format, across, down);
    EXPECT_EQ(across, pf::kPointResolution);
    EXPECT_EQ(down, pf::kPointResolution);
    pf::print_dispose_page_format(format);
    // Version 1 with the resolution's bytes, or version 2 without them, is no page format.
    pf::Handle mixed = pf::ptr_to_hand(bytes, 36);
    EXPECT_EQ(pf::print_unflatten_page_format(mixed, format), pf::kParamErr);
    bytes[5] = 2;
    pf::Handle cut = pf::ptr_to_hand(bytes, 32);
    EXPECT_EQ(pf::print_unflatten_page_format(cut, format), pf::kParamErr);
    for (pf::Handle h : {flat, earlier, mixed, cut}) pf::dispose_handle(h);
}

}  // namespace
