// The print dialog as a user meets it, with a print service put in place of
// the system's: a range of pages past the last page prints nothing and says
// so, without printers the dialog says that none was found, and a PDF is
// proposed a name made of the document's.
#include <string>
#include <vector>

#include "files/document_file.h"
#include "files/document_saving.h"
#include "ui/alerts.h"
#include "model/layer.h"
#include "platform/dialogs/dialogs.h"
#include "platform/print/print_jobs.h"
#include "platform/text/scripts.h"
#include "printing/printing.h"
#include "tests/app/attended_fixture.h"
#include "window/doc_window.h"

namespace {

constexpr int16_t kFromItem = 8, kToItem = 10, kPrinterNoteItem = 14;

std::vector<pf::PrinterInfo> printers_offered;
std::vector<std::string> jobs_sent;

std::vector<pf::PrinterInfo> offered_printers() { return printers_offered; }
pf::OSErr record_job(const std::string& printer, const std::string&, const std::string&, int) {
    jobs_sent.push_back(printer);
    return pf::noErr;
}
const pf::PrintService kRecordingService{offered_printers, record_job};

struct PrintDialogTest : AttendedDocumentTest {
    void SetUp() override {
        AttendedDocumentTest::SetUp();
        jobs_sent.clear();
        printers_offered.clear();
        pf::set_print_service(&kRecordingService);
    }
    void TearDown() override {
        pf::set_print_service(nullptr);
        AttendedDocumentTest::TearDown();
    }
    // Nine rows of cells, one row a page.
    void make_nine_pages() {
        set_unattended_run(true);
        for (int row = 1; row <= 9; ++row) {
            pf::driver_type("Row " + std::to_string(row));
            pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        }
        run_until_idle(1000);
        set_unattended_run(false);
        use_layer(layer)->printable_rect = pf::Rect{0, 0, 20, 200};
        release_layer(layer);
    }
};

pf::DialogRef front_dialog_titled(const std::string& title) {
    pf::WindowRef front = pf::front_window();
    if (!pf::is_modal_window(front) || pf::window_title(front) != title) return nullptr;
    return pf::get_dialog_from_window(front);
}

// Types "From 12 to 93", presses Print, answers the alert and cancels the
// dialog that comes back.
int range_step = 0;
int print_dialogs_seen = 0;
void past_the_end_composer() {
    pf::compose_screen();
    pf::DialogRef print = front_dialog_titled("Print");
    pf::WindowRef front = pf::front_window();
    if (range_step == 0 && print) {
        ++print_dialogs_seen;
        pf::select_dialog_item_text(print, kFromItem, 0, 32767);
        pf::driver_type("12");
        range_step = 1;
    } else if (range_step == 1 && print && pf::get_dialog_item_text(print, kFromItem) == "12") {
        pf::select_dialog_item_text(print, kToItem, 0, 32767);
        pf::driver_type("93");
        range_step = 2;
    } else if (range_step == 2 && print && pf::get_dialog_item_text(print, kToItem) == "93") {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        range_step = 3;
    } else if (range_step == 3 && pf::is_modal_window(front) && !print) {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
        range_step = 4;
    } else if (range_step == 4 && print) {
        ++print_dialogs_seen;
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
        range_step = 5;
    }
    dialogtest::guarded_compose_step();
}

TEST_F(PrintDialogTest, PagesPastTheLastPagePrintNothingAndSaySo) {
    printers_offered = {pf::PrinterInfo{"Office", true}};
    make_nine_pages();
    alert_requests().clear();
    range_step = 0;
    print_dialogs_seen = 0;
    pf::host_set_composer(past_the_end_composer);
    print_doc(record);
    EXPECT_EQ(range_step, 5);
    EXPECT_EQ(print_dialogs_seen, 2) << "the dialog comes back for other pages";
    EXPECT_TRUE(jobs_sent.empty());
    ASSERT_FALSE(alert_requests().empty());
    EXPECT_EQ(alert_requests().back().text, "There are no pages 12 to 93 to print: the last page of this layer is 9.");
}

std::string printer_note;
bool note_read = false;
void read_note_composer() {
    pf::compose_screen();
    if (pf::DialogRef print = front_dialog_titled("Print"); print && !note_read) {
        note_read = true;
        printer_note = pf::get_dialog_item_text(print, kPrinterNoteItem);
        pf::screen_write_png(dialogtest::screenshot_path(printer_note.empty() ? "print_dialog.png"
                                                                               : "print_dialog_no_printer.png"));
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    }
    dialogtest::guarded_compose_step();
}

void read_note_of_next_print_dialog() {
    note_read = false;
    printer_note = "?";
    pf::host_set_composer(read_note_composer);
}

TEST_F(PrintDialogTest, WithoutPrintersTheDialogSaysThatNoneWasFound) {
    make_nine_pages();
    read_note_of_next_print_dialog();
    print_doc(record);
    EXPECT_TRUE(note_read);
    EXPECT_EQ(printer_note, "No printer was found. The pages can be saved as a PDF file.");

    printers_offered = {pf::PrinterInfo{"Office", true}};
    read_note_of_next_print_dialog();
    print_doc(record);
    EXPECT_TRUE(note_read);
    EXPECT_EQ(printer_note, "");
}

// Presses Print in the print dialog, then reads the name the Save dialog
// proposes (its bytes in their script) and cancels it.
constexpr int16_t kSaveNameItem = 7;
std::string proposed_name;
std::string proposed_utf8;  // as it reads
void read_proposed_name_composer() {
    pf::compose_screen();
    if (front_dialog_titled("Print")) {
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    } else if (pf::DialogRef save = front_dialog_titled("Save"); save && proposed_name.empty()) {
        proposed_name = pf::get_dialog_item_text(save, kSaveNameItem);
        proposed_utf8 = pf::edit_text_utf8(pf::get_dialog_item_control(save, kSaveNameItem));
        pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    }
    dialogtest::guarded_compose_step();
}

std::string pdf_name_proposed_for(MemoryRef record, MemoryRef layer, const std::string& path) {
    pf::FileSpec spec;
    pf::file_spec_from_path(path, spec);
    EXPECT_EQ(save_workbook_file(layer, kWholeWorkbook, spec, kFormatNative, false, true), 0);
    proposed_name.clear();
    pf::host_set_composer(read_proposed_name_composer);
    print_doc(record);
    return proposed_name;
}

TEST_F(PrintDialogTest, ThePdfIsNamedAfterTheDocumentAsFarAsTheNameFieldAllows) {
    make_nine_pages();
    EXPECT_EQ(pdf_name_proposed_for(record, layer, home + "/Fruit sales.qrv"), "Fruit sales.pdf");
    const std::string long_name = "Quarterly sales report for the northern region with all the branches 2026";
    const std::string proposed = pdf_name_proposed_for(record, layer, home + "/" + long_name + ".qrv");
    EXPECT_EQ(proposed, long_name.substr(0, 59) + ".pdf") << "63 characters at most, the name cut at its end";
    // A name of another script is proposed in it, cut between its characters.
    const auto japanese = [](const std::string& bytes) { return pf::script_to_utf8(bytes, pf::kScriptJapanese); };
    EXPECT_EQ(japanese(pdf_name_proposed_for(record, layer, home + "/東京の売上.qrv")), "東京の売上.pdf");
    const std::string long_japanese = std::string(40, 'x') + "東京の売上東京の売上東京の売上";
    EXPECT_EQ(japanese(pdf_name_proposed_for(record, layer, home + "/" + long_japanese + ".qrv")),
              std::string(40, 'x') + "東京の売上東京の売.pdf")
        << "40 bytes and 9 two-byte characters fill 58 of 59; the tenth would not fit";
    // A name no one script spells is proposed as it reads, in UTF-8, cut between letters.
    pdf_name_proposed_for(record, layer, home + "/Rozpočet Бюджет.qrv");
    EXPECT_EQ(proposed_utf8, "Rozpočet Бюджет.pdf");
    const std::string long_mixed = std::string(56, 'x') + "čБюджет";
    pdf_name_proposed_for(record, layer, home + "/" + long_mixed + ".qrv");
    EXPECT_EQ(proposed_utf8, std::string(56, 'x') + "č.pdf") << "56 bytes and a two-byte letter fill 58 of 59";
}

}  // namespace
