// Print jobs without a print service: no printers are listed and a job sent
// is reported as failed, never as printed. Paper sizes set on a page format
// survive its flattened form; sizes the validation would refuse are refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "platform/files/files.h"
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

TEST(PaperSizeTest, APaperSizeSetSurvivesFlatteningAndOddSizesAreRefused) {
    pf::PageFormatRef format = nullptr;
    ASSERT_EQ(pf::print_create_page_format(format), pf::noErr);
    EXPECT_EQ(pf::print_set_paper_size(format, 612, 1008), pf::noErr);
    EXPECT_EQ(pf::print_set_orientation(format, pf::kLandscapeOrientation), pf::noErr);
    EXPECT_EQ(pf::print_set_paper_size(format, 10, 1008), pf::kParamErr);
    EXPECT_EQ(pf::print_set_paper_size(format, 612, std::numeric_limits<double>::infinity()), pf::kParamErr);
    pf::Handle flat = nullptr;
    ASSERT_EQ(pf::print_flatten_page_format(format, flat), pf::noErr);
    pf::print_dispose_page_format(format);
    ASSERT_EQ(pf::print_unflatten_page_format(flat, format), pf::noErr);
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

}  // namespace
