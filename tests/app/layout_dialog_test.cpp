// The document layout dialog as a user meets it: each field's value typed,
// values past a field's range refused with a message while the dialog stays
// open, Cancel changing nothing, and the look of the display panel.
#include <cstring>
#include <initializer_list>
#include <string>
#include <filesystem>

#include "core/number_text.h"
#include "files/layout_settings.h"
#include "platform/resources/resources.h"
#include "platform/screen/cursor.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "printing/header_dialog.h"
#include "printing/header_footer.h"
#include "ui/app_prefs.h"
#include "tests/app/attended_fixture.h"
#include "tests/window/golden_image.h"
#include "window/doc_window.h"
#include "shell/file_menu.h"

namespace {

struct LayoutDialog : AttendedDocumentTest {
    void SetUp() override {
        AttendedDocumentTest::SetUp();
        if (HasFatalFailure()) return;
        app_prefs.margin_unit = kUnitInches;
        alert_requests().clear();
    }
    static void type_and_return(const char* text) {
        pf::driver_type(text);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    // Ends a dialog still open when the script is played, so that a fault fails
    // the test rather than hanging it.
    static void then_cancel() { pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar); }

    // Runs the panel's dialog with each refused text typed into its first field
    // (each alert answered with Return), then the accepted one; answers the
    // first alert's text.
    std::string refuse_then_accept(int16_t panel, std::initializer_list<const char*> refused, const char* accepted) {
        pf::flush_events(0xFFFF, 0);
        alert_requests().clear();
        for (const char* text : refused) {
            type_and_return(text);
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        }
        type_and_return(accepted);
        then_cancel();
        doc_layout(record, panel);
        EXPECT_EQ(alert_requests().size(), refused.size());
        return alert_requests().empty() ? std::string() : alert_requests()[0].text;
    }

    SpreadSheet* sheet() { return use_layer(layer); }
    void done() { release_layer(layer); }
};

TEST_F(LayoutDialog, AColumnWidthPastItsRangeIsRefusedAndTheDialogStaysOpen) {
    const int16_t changes = get_change_ctr(doc_window_workbook(record));
    EXPECT_EQ(refuse_then_accept(1, {"900", "-5"}, "120"), "The column width must be from 0 pt to 801 pt.");
    EXPECT_EQ(shown_column_width(layer), 120);
    EXPECT_GT(get_change_ctr(doc_window_workbook(record)), changes);

    // 76 stands for the workbook's default width.
    refuse_then_accept(1, {}, "76");
    EXPECT_EQ(format_extent(sheet()->default_column_format), kDefaultWidthMark);
    done();
}

TEST_F(LayoutDialog, MarginsAreTypedInThePreferredUnitAndRefusedPastTwentyInches) {
    // The left margin, in inches.
    EXPECT_EQ(refuse_then_accept(2, {"30", "1.2.3"}, "1.5"), "Each margin must be from 0.00 in to 20.00 in.");
    EXPECT_EQ(sheet()->margins[1], 108);
    done();
}

TEST_F(LayoutDialog, MarginsThatLeaveNoRoomOnThePaperAreRefusedAsPageSetupRefusesThem) {
    // Eight inches of left margin on paper eight and a half inches wide.
    EXPECT_EQ(refuse_then_accept(2, {"8"}, "1.5"), pf::get_indexed_string(904, 6));
    EXPECT_EQ(sheet()->margins[1], 108);
    done();
}

TEST_F(LayoutDialog, TheFirstPageNumberIsAWholeNumberFromOne) {
    EXPECT_EQ(refuse_then_accept(3, {"0", "40000", "x", "65535"}, "7"), "The first page number must be from 1 to 32767.");
    EXPECT_EQ(sheet()->first_page_number, 7);
    done();
}

// Once the dialog is up: "2" typed into the left margin, the pop-up dragged one
// item down (from Margins to Printing), "5" typed as the first page number,
// then Return.
bool switched = false;
void margin_then_printing_panel() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (!switched && pf::is_modal_window(front)) {
        switched = true;
        const pf::Rect content = pf::window_content_rect(front);
        const pf::Point pop_up{int16_t(content.top + 24), int16_t(content.left + 150)};
        pf::driver_type("2");
        pf::driver_drag(pop_up, pf::Point{int16_t(pop_up.v + 21), pop_up.h});
        pf::driver_type("5");
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    dialogtest::guarded_compose_step();
}

TEST_F(LayoutDialog, MarginsTypedBeforeChangingPanelAreStored) {
    switched = false;
    pf::host_set_composer(margin_then_printing_panel);
    doc_layout(record, 2);
    EXPECT_TRUE(switched);
    EXPECT_EQ(sheet()->margins[1], 144);
    EXPECT_EQ(sheet()->first_page_number, 5);
    done();
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(LayoutDialog, CancelChangesNothing) {
    const int16_t width = shown_column_width(layer);
    const int16_t changes = get_change_ctr(doc_window_workbook(record));
    pf::driver_type("200");
    then_cancel();
    doc_layout(record, 1);
    EXPECT_EQ(shown_column_width(layer), width);
    EXPECT_EQ(get_change_ctr(doc_window_workbook(record)), changes);
}

// Edit Header… on the print panel, text typed into the editor's left field,
// the editor and then the layout dialog confirmed; the editor's screenshot
// is taken while it is up.
int header_step = 0;
std::string header_png;

void edit_header_composer() {
    pf::compose_screen();
    pf::WindowRef front = pf::front_window();
    if (pf::is_modal_window(front)) {
        const std::string title = pf::window_title(front);
        const pf::Rect content = pf::window_content_rect(front);
        if (header_step == 0 && title == "Document Layout") {
            pf::driver_click(pf::Point{int16_t(content.top + 138), int16_t(content.left + 150)});
            header_step = 1;
        } else if (header_step == 1 && title == "Header") {
            pf::screen_write_png(header_png);
            pf::driver_type("Page ^p of ^n");
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
            header_step = 2;
        } else if (header_step == 2 && title == "Document Layout") {
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
            header_step = 3;
        }
    }
    dialogtest::guarded_compose_step();
}

TEST_F(LayoutDialog, TheHeaderEditorsTextIsKeptWithTheLayerAndItsBoxChecked) {
    header_step = 0;
    header_png = dialogtest::screenshot_path("header_dialog.png");
    pf::host_set_composer(edit_header_composer);
    doc_layout(record, 3);
    EXPECT_EQ(header_step, 3);
    EXPECT_NE(sheet()->print_options & kPrintHeader, 0u);
    MemoryRef header = sheet()->header;
    done();
    ASSERT_NE(header, nullptr);
    const std::vector<HeaderPart> parts = header_parts_of(header);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].alignment, kHeaderLeft);
    EXPECT_EQ(parts[0].text, "Page ^p of ^n");
    EXPECT_TRUE(std::filesystem::exists(header_png));
}

TEST_F(LayoutDialog, AHeaderTextLongerThanAPartHoldsIsRefusedRatherThanCut) {
    pf::flush_events(0xFFFF, 0);
    alert_requests().clear();
    type_and_return("Quarterly fruit report for the board, prepared by the sales team in Lisbon");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the refusal's OK
    type_and_return("Fruit report");                     // the field was selected: typed over
    then_cancel();
    MemoryRef list = nullptr;
    EXPECT_EQ(HeaderDialog(&list, true), 1);
    EXPECT_EQ(alert_requests().size(), 1u);
    const std::vector<HeaderPart> parts = header_parts_of(list);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].text, "Fruit report");
    DisposeNonNilMemory(list);
}

TEST_F(LayoutDialog, WithTwoLayersThePrintPanelCanApplyToEveryLayer) {
    MemoryRef other = nullptr;
    ASSERT_EQ(New_SpreadSheet(&quorvin_rsrv, doc_window_workbook(record), &other, kLayerGridLines, nullptr), 0);
    sheet()->first_page_number = 9;
    done();
    std::string png = dialogtest::screenshot_path("layout_dialog_layers.png");
    attended::screenshot_front_modal(png);
    then_cancel();
    doc_layout(record, 3);
    EXPECT_TRUE(std::filesystem::exists(png));

    attended::click_then_return(pf::Point{235, 100});  // every layer, item 18
    doc_layout(record, 3);
    EXPECT_TRUE(attended::clicked);
    EXPECT_EQ(use_layer(other)->first_page_number, 9);
    release_layer(other);
}

TEST_F(LayoutDialog, DisplayPanelScreenshot) {
    std::string png = attended::fresh_front_modal_screenshot("layout_dialog.png");
    then_cancel();
    doc_layout(record, 1);
    cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
    EXPECT_TRUE(matches_golden_image(shot, "layout_dialog"));
    cairo_surface_destroy(shot);
}

}  // namespace
