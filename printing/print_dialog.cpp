// The print dialog (DLOG 904): the printer (Save as PDF, then the printers
// of the system's print service, or a word that none was found), the pages
// (all, a range, the selection or the cells the window shows) and the copies;
// the pages then written to the PDF file chosen, or to a temporary PDF file
// sent to the printer.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/alert_kinds.h"
#include "ui/alerts.h"
#include "ui/dialog_items.h"
#include "ui/modal_dialog.h"
#include "ui/nav_dialogs.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "objects/objects.h"
#include "platform/files/files.h"
#include "platform/menus/menus.h"
#include "platform/print/print_jobs.h"
#include "platform/resources/resources.h"
#include "platform/system/date_time.h"
#include "platform/text/scripts.h"
#include "printing/page_breaks.h"
#include "printing/print_render.h"
#include "printing/printing.h"
#include "window/window_commands.h"
#include "window/window_names.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kNotPrintedMessage = 1, kNothingToPrintMessage = 2, kPagesPastTheEndMessage = 8,
                  kNoPrinterMessage = 9;
constexpr int16_t kPrintItem = 1, kCancelItem = 2, kPrinterItem = 4, kAllItem = 6, kRangeItem = 7, kFromItem = 8,
                  kToItem = 10, kSelectionItem = 11, kCopiesItem = 13, kPrinterNoteItem = 14, kWindowItem = 15;
constexpr int16_t kPageRadios[] = {kAllItem, kRangeItem, kSelectionItem, kWindowItem};
constexpr int16_t kSaveAsPdf = 1;         // the printer pop-up's first item
constexpr int16_t kLastPageAsked = 32000;  // the highest page number a field takes

struct PrintRequest {
    std::vector<pf::PrinterInfo> printers;
    int16_t printer = kSaveAsPdf;
    PrintChoice pages;
    int copies = 1;
};

void choose_pages(DialogRef dialog, int16_t chosen) {
    for (int16_t item : kPageRadios) SetCheckbox(dialog, item, item == chosen ? 1 : 0);
}

// The radio button of the cells a choice prints.
int16_t cells_radio(PrintedCells cells) {
    switch (cells) {
        case PrintedCells::kPrintArea: return kAllItem;
        case PrintedCells::kSelection: return kSelectionItem;
        case PrintedCells::kWindow: return kWindowItem;
    }
    return kAllItem;
}

PrintedCells radio_cells(DialogRef dialog) {
    if (GetCheckbox(dialog, kSelectionItem)) return PrintedCells::kSelection;
    if (GetCheckbox(dialog, kWindowItem)) return PrintedCells::kWindow;
    return PrintedCells::kPrintArea;
}

void fill_dialog(DialogRef dialog, const PrintRequest& request, int16_t pages) {
    if (pf::MenuRef menu = GetContolPopMenu(dialog, kPrinterItem)) {
        for (const pf::PrinterInfo& printer : request.printers) pf::append_menu_item_text(menu, printer.name);
        if (pf::ControlRef control = GetDialogControl(dialog, kPrinterItem)) {
            pf::set_control_maximum(control, pf::count_menu_items(menu));
            pf::set_control_value(control, request.printers.empty() ? kSaveAsPdf : kSaveAsPdf + 1);
        }
    }
    if (request.printers.empty()) {
        unsigned char note[256];
        set_pstring(note, pf::get_indexed_string(kPrintMessages, kNoPrinterMessage));
        SetDText(dialog, kPrinterNoteItem, note);
    }
    choose_pages(dialog, cells_radio(request.pages.cells));
    SetDNum(dialog, kFromItem, 1, false);
    SetDNum(dialog, kToItem, pages, false);
    SetDNum(dialog, kCopiesItem, 1, false);
}

// A number field held to a range; an empty or unreadable field gives `fallback`.
int16_t field_within(DialogRef dialog, int16_t item, int16_t low, int16_t high, int16_t fallback) {
    unsigned char text[256];
    GetDEditText(dialog, item, text);
    int32_t value = 0;
    if (!parse_whole_number(text, &value)) return fallback;
    return int16_t(std::clamp<int32_t>(value, low, high));
}

// Reads the choices; false, with the user told, when the range of pages
// lies wholly past the last page.
bool read_dialog(DialogRef dialog, PrintRequest* request, int16_t pages) {
    if (pf::ControlRef control = GetDialogControl(dialog, kPrinterItem))
        request->printer = int16_t(pf::get_control_value(control));
    request->pages = PrintChoice{};
    request->pages.cells = radio_cells(dialog);
    if (GetCheckbox(dialog, kRangeItem)) {
        const int16_t from = field_within(dialog, kFromItem, 1, kLastPageAsked, 1);
        const int16_t to = field_within(dialog, kToItem, 1, kLastPageAsked, pages);
        const int16_t first = std::min(from, to), last = std::max(from, to);
        if (first > pages) {
            figures_alert(kPrintMessages, kPagesPastTheEndMessage,
                          {std::to_string(first), std::to_string(last), std::to_string(pages)});
            return false;
        }
        request->pages.first = first;
        request->pages.last = std::min(last, pages);
    }
    request->copies = field_within(dialog, kCopiesItem, 1, 999, 1);
    return true;
}

bool run_dialog(DialogRef dialog, PrintRequest* request, int16_t pages) {
    for (;;) {
        pf::EventRecord event;
        const int16_t item = GetModalDialogItem(dialog, &event, kModalAllOptions);
        if (item == kPrintItem) {
            if (read_dialog(dialog, request, pages)) return true;
            continue;
        }
        if (item == kCancelItem || item == kModalCloseBox) return false;
        if (std::ranges::find(kPageRadios, item) != std::end(kPageRadios)) choose_pages(dialog, item);
        if (item == kFromItem || item == kToItem) choose_pages(dialog, kRangeItem);
    }
}

std::string document_name(MemoryRef record) {
    unsigned char name[256];
    Get_File_Name(doc_window_workbook(record), name);
    return pstring_text(name);
}

// The name a person knows the document by, as it reads: its file's whole
// name, or the window's for a document without a file.
pf::ScriptText shown_document_name(MemoryRef record, const FileInfoRecord& file) {
    if (file.format_code == kFormatUntitled) return pf::ScriptText{document_name(record), pf::kScriptRoman, 0};
    return name_to_propose(file.spec);
}

// The document's name with ".pdf" in place of its extension, cut at its end,
// never inside a character, where the whole would be too long for a file name.
pf::ScriptText proposed_pdf_name(pf::ScriptText name) {
    const std::string extension = ".pdf";
    std::string& bytes = name.bytes;
    if (const size_t dot = bytes.rfind('.'); dot != std::string::npos && dot > 0 && bytes.size() - dot <= 5)
        bytes.erase(dot);
    if (bytes.empty()) bytes = "Untitled";
    bytes.resize(name_letters_within(bytes, pf::kMaxSpecName - extension.size(), name.script));
    bytes += extension;
    return name;
}

// Asks where the PDF goes, beside the document when it has a file, named
// after it.
bool choose_pdf_path(MemoryRef record, std::string* path) {
    const FileInfoRecord file = file_record_of(doc_window_workbook(record));
    pf::FileSpec chosen{};
    const pf::FileSpec* location = file.format_code != kFormatUntitled ? &file.spec : nullptr;
    if (save_file_dialog_in_script(location, proposed_pdf_name(shown_document_name(record, file)), &chosen) != 0)
        return false;
    return pf::path_from_file_spec(chosen, *path) == pf::noErr;
}

std::string temporary_pdf_path() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-print-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return {};
    close(fd);
    return pattern;
}

bool print_to_printer(MemoryRef layer, const PrintRequest& request, const std::string& name, uint32_t now) {
    const std::string path = temporary_pdf_path();
    if (path.empty()) return false;
    const pf::PrinterInfo& printer = request.printers[size_t(request.printer - kSaveAsPdf - 1)];
    const bool printed = print_layer_pdf(layer, path, request.pages, name, now) &&
                         pf::print_send_pdf(printer.name, path, name, request.copies) == pf::noErr;
    std::filesystem::remove(path);
    return printed;
}

}  // namespace

int16_t pages_to_print(MemoryRef layer) {
    // What is being typed in a text box is kept first, so that it prints.
    ClobberObjectEditor(layer);
    reset_page(layer);
    const int16_t pages = CountPages(layer);
    if (pages == 0) str_multi_alert(kPrintMessages, kNothingToPrintMessage, kStandardStopAlert, kStopAlertKind);
    return pages;
}

void print_doc(MemoryRef record, PrintedCells cells) {
    if (!record) return;
    MemoryRef layer = doc_window_layer(record);
    const int16_t pages = pages_to_print(layer);
    if (pages == 0) return;
    PrintRequest request;
    request.printers = pf::print_printers();
    request.pages.cells = cells;
    DialogRef dialog = StdNewDLOG(kPrintDialog, kPrintItem, nullptr);
    if (!dialog) return;
    fill_dialog(dialog, request, pages);
    pf::draw_dialog(dialog);
    const bool confirmed = run_dialog(dialog, &request, pages);
    StdDLOG_close(dialog, nullptr);
    if (!confirmed) return;
    DoAllUpdates();
    const std::string name = document_name(record);
    const uint32_t now = pf::current_date_time();
    bool printed = false;
    if (request.printer == kSaveAsPdf) {
        std::string path;
        if (!choose_pdf_path(record, &path)) return;
        printed = print_layer_pdf(layer, path, request.pages, name, now);
    } else {
        printed = print_to_printer(layer, request, name, now);
    }
    if (!printed) str_multi_alert(kPrintMessages, kNotPrintedMessage, kStandardStopAlert, kStopAlertKind);
}
