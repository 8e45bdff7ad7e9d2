// Texts of a workbook into Mac Roman, or for cells into the script that
// spells them: UTF-16 and the compressed form of BIFF8 strings directly, the
// byte strings of older versions through their code page. Characters without
// an equivalent become "?" and are counted.
#pragma once

#include <cstdint>
#include <string>

#include "excel/biff_stream.h"
#include "platform/text/scripts.h"

struct ExcelTextDecoder {
    uint16_t code_page = 1252;
    int replaced = 0;  // characters without an equivalent, over all texts

    std::string mac_roman(const RawText& text);
    // A cell's text in the first installed script that spells it.
    pf::ScriptText cell_text(const RawText& text);

private:
    // Unicode the workbook could not give becomes U+FFFD.
    std::string utf8(const RawText& text) const;
};

// The shortest text of a number that reads back as the same double, with "."
// as its decimal point ("1.5", "0.1", "1e+20").
std::string round_trip_number(double value);
