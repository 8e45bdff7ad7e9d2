#include "platform/print/print_jobs.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>

#include "platform/files/files.h"

namespace pf {

namespace {

std::vector<PrinterInfo> system_printers() {
    std::vector<PrinterInfo> printers;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i)
        if (dests[i].name && !dests[i].instance) printers.push_back(PrinterInfo{dests[i].name, dests[i].is_default != 0});
    cupsFreeDests(count, dests);
    std::stable_partition(printers.begin(), printers.end(), [](const PrinterInfo& p) { return p.is_default; });
    return printers;
}

OSErr system_send_pdf(const std::string& printer, const std::string& pdf_path, const std::string& title,
                      int copies) {
    cups_option_t* options = nullptr;
    int option_count = 0;
    const std::string copies_text = std::to_string(std::clamp(copies, 1, 999));
    option_count = cupsAddOption("copies", copies_text.c_str(), option_count, &options);
    option_count = cupsAddOption("document-format", "application/pdf", option_count, &options);
    const int job = cupsPrintFile(printer.c_str(), pdf_path.c_str(), title.c_str(), option_count, options);
    cupsFreeOptions(option_count, options);
    return job > 0 ? noErr : kIOErr;
}

const PrintService kSystemPrintService{system_printers, system_send_pdf};
const PrintService* print_service = &kSystemPrintService;

}  // namespace

void set_print_service(const PrintService* service) { print_service = service ? service : &kSystemPrintService; }

std::vector<PrinterInfo> print_printers() { return print_service->printers(); }

OSErr print_send_pdf(const std::string& printer, const std::string& pdf_path, const std::string& title,
                     int copies) {
    return print_service->send_pdf(printer, pdf_path, title, copies);
}

}  // namespace pf
