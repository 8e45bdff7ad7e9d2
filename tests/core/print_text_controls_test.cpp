// Print records, the help-tag delay and control data.
#include <gtest/gtest.h>

#include <string>

#include "../app/app_fixture.h"
#include "ui/control_data.h"
#include "ui/print_records.h"
#include "ui/text_services.h"
#include "platform/system/system.h"

TEST(PrintRecords, TheDefaultFormatIsTheSystemsPaperWithQuarterInchMargins) {
    pf::set_international_settings(pf::us_international_settings());
    pf::Rect paper;
    pf::Handle flattened = NewPrintRec(&paper);
    ASSERT_NE(flattened, nullptr);
    EXPECT_EQ(paper, (pf::Rect{-18, -18, 774, 594}));
    pf::Rect page, paper_again;
    EXPECT_EQ(GetPageSize(flattened, &page), pf::noErr);
    EXPECT_EQ(page, (pf::Rect{0, 0, 756, 576}));
    EXPECT_EQ(GetPaperSize(flattened, &paper_again), pf::noErr);
    EXPECT_EQ(paper_again, paper);
    bool changed = true;
    EXPECT_EQ(ValidatePrintRec(flattened, nullptr, &changed), pf::noErr);
    EXPECT_FALSE(changed);
    pf::dispose_handle(flattened);
}

TEST(PrintRecords, AnUnreadableFormatLeavesTheDefaultRectangles) {
    pf::Handle junk = pf::ptr_to_hand("not a page format", 17);
    pf::Rect page{1, 2, 3, 4}, paper;
    EXPECT_NE(GetPageSize(junk, &page), pf::noErr);
    EXPECT_EQ(page, (pf::Rect{0, 0, 720, 576}));
    EXPECT_NE(GetPaperSize(junk, &paper), pf::noErr);
    EXPECT_EQ(paper, (pf::Rect{-32, -16, 752, 592}));
    EXPECT_NE(ValidatePrintRec(junk, nullptr, nullptr), pf::noErr);
    EXPECT_NE(GetPageSize(nullptr, &page), pf::noErr);
    pf::dispose_handle(junk);
}

TEST(PrintRecords, ValidationMendsADamagedFormatAndStoresItBack) {
    pf::Rect paper;
    pf::Handle flattened = NewPrintRec(&paper);
    ASSERT_NE(flattened, nullptr);
    (*flattened)[7] = 9;  // an orientation that does not exist
    bool changed = false;
    EXPECT_EQ(ValidatePrintRec(flattened, nullptr, &changed), pf::noErr);
    EXPECT_TRUE(changed);
    EXPECT_EQ((*flattened)[7], 1);
    pf::dispose_handle(flattened);
}

TEST(PrintRecords, RectanglesRoundToWholePointsAndTurnWithTheOrientation) {
    pf::Rect out;
    ConvertRect(pf::PrintRect{-17.6, -18.2, 774.4, 594.5}, &out, 0);
    EXPECT_EQ(out, (pf::Rect{-18, -18, 774, 595}));
    ConvertRect(pf::PrintRect{1, 2, 3, 4}, &out, 2);
    EXPECT_EQ(out, (pf::Rect{2, 1, 4, 3}));
    ConvertRect(pf::PrintRect{1, 2, 3, 4}, &out, 4);
    EXPECT_EQ(out, (pf::Rect{2, 1, 4, 3}));
}

TEST(HelpDelay, AShortenedDelayHoldsFor60Ticks) {
    pf::use_manual_clock(5000);
    pf::set_help_tag_delay(45);
    InitHelpDelay();
    ResetHelpDelay(0);
    EXPECT_EQ(pf::help_tag_delay(), 20);
    pf::advance_clock(pf::ticks_to_milliseconds(50));
    ResetHelpDelay(1);
    EXPECT_EQ(pf::help_tag_delay(), 20);
    pf::advance_clock(pf::ticks_to_milliseconds(20));
    ResetHelpDelay(1);
    EXPECT_EQ(pf::help_tag_delay(), 45);
    DisposeHelpDelay();
    pf::use_system_clock();
}

TEST_F(AppTest, EditTextReadsAtMost255Characters) {
    pf::WindowRef w = pf::create_window(pf::kDocumentWindowClass, 0, pf::Rect{60, 10, 200, 300});
    pf::ControlRef field = pf::new_control(w, pf::Rect{10, 10, 30, 200}, "", true, 0, 0, 0, pf::kEditTextControl, 0);
    ASSERT_NE(field, nullptr);
    std::string long_text(300, 'x');
    ASSERT_EQ(pf::set_control_data(field, 0, pf::kControlEditTextTextTag, long_text.size(), long_text.data()), pf::noErr);
    unsigned char text[256];
    EXPECT_EQ(GetEditTextText(field, text), pf::noErr);
    EXPECT_EQ(text[0], 255);
    const unsigned char short_text[] = "\x05hello";
    EXPECT_EQ(SetEditTextText(field, short_text, true), pf::noErr);
    EXPECT_EQ(GetEditTextText(field, text), pf::noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "hello");
    EXPECT_EQ(GetEditTextText(nullptr, text), pf::kParamErr);
    EXPECT_EQ(GetEditTextText(field, nullptr), pf::kParamErr);
    EXPECT_EQ(SetEditTextSelection(field, 1, 3), pf::noErr);
    pf::kill_controls(w);
    pf::dispose_window(w);
}
