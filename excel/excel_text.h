// Texts of a workbook into Mac Roman, or for cells into the script that
// spells them: UTF-16 and the compressed form of BIFF8 strings directly, the
// byte strings of older versions through their code page. Characters without
// an equivalent become "?" and are counted.
#pragma once

#include <cstdint>
#include <string>

#include "excel/biff_stream.h"
#include "files/entry_script.h"
#include "platform/text/scripts.h"

struct ExcelTextDecoder {
    uint16_t code_page = 1252;
    int replaced = 0;  // characters without an equivalent, over all texts

    std::string mac_roman(const RawText& text);
    // A cell's text as typed text is kept (spell_text_in_scripts): in the
    // first installed script that spells it, else in runs of the scripts that
    // spell its words; its line breaks made carriage returns as typed ones are.
    ScriptedText cell_text(const RawText& text);
    // The text in UTF-8, replacing nothing: Unicode the workbook could not
    // give becomes U+FFFD.
    std::string utf8(const RawText& text) const;
};

// A text in Mac Roman when every character of it has an equivalent there.
bool spelled_in_mac_roman(std::string_view utf8, std::string& roman);

// The shortest text of a number that reads back as the same double, with "."
// as its decimal point ("1.5", "0.1", "1e+20").
std::string round_trip_number(double value);
