// Print jobs: the printers the system's print service (CUPS) knows, and a
// PDF file sent to one of them. Without a print service there are no
// printers; documents are then saved as PDF only.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace pf {

struct PrinterInfo {
    std::string name;  // the service's name for it
    bool is_default = false;
};

// The printers, the default one first; none when no print service answers.
std::vector<PrinterInfo> print_printers();

// Sends a PDF file to a printer as a job with a title; kIOErr when the
// service refuses it.
OSErr print_send_pdf(const std::string& printer, const std::string& pdf_path, const std::string& title,
                     int copies);

// The print service the two calls above use: the system's, or one put in its
// place (a run that must not reach real printers).
struct PrintService {
    std::vector<PrinterInfo> (*printers)();
    OSErr (*send_pdf)(const std::string& printer, const std::string& pdf_path, const std::string& title,
                      int copies);
};
// Puts `service` in place of the system's; null gives the system's back.
void set_print_service(const PrintService* service);

}  // namespace pf
