// The texts of a SYLK file in the program's scripts: a file is Mac Roman, or
// UTF-8 when its bytes are (decode_text_file); a cell of a UTF-8 file is kept
// in the one installed script that spells it, its font saying which, and a
// cell set in a script's font is written back in UTF-8 from that script.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_manager.h"
#include "files/sylk.h"
#include "files/text_encoding.h"

struct SylkSpelling {
    bool utf8 = false;      // the file's text is UTF-8
    int32_t unmapped = 0;   // characters no installed script spells, each now "?"
    // The script of a Mac Roman text's cells: Roman for one decoded from
    // Unicode, whatever font a cell would read; else their format's.
    int16_t script = -1;
};

// A record other than a cell's as Mac Roman: as it stands in a Mac Roman
// file, converted into `roman` in a UTF-8 one (only cells keep other scripts).
std::string_view roman_record(SylkSpelling& spelling, std::string_view line, std::string& roman);

// A cell's raw "K" value with its escapes decoded, in the file's encoding:
// the raw text itself when it reads as written, else its decoded copy kept
// in `decoded`.
std::string_view sylk_cell_value(const SylkSpelling& spelling, std::string_view raw, std::string& decoded);

// The value (decoded) and expression (raw) of a cell of a UTF-8 file, in the
// script of the cell's font when it spells them both, else in the first
// installed script that spells the value (the expression when the value
// needs none) and the expression; the font of `format` then becomes that
// script's. A value alone that no one script spells is kept as an imported
// field is, in runs of the scripts that spell its parts (`runs`, else
// emptied). False, both left in UTF-8, for an expression no one script
// spells (whose letters need several scripts). `value` and `expression` come to view `spelled_value` and
// `spelled_expression`. Nothing changes for a Mac Roman file or a cell of
// plain ASCII.
bool spell_sylk_cell(SylkSpelling& spelling, std::string_view& value, std::string& spelled_value,
                     std::string_view& expression, std::string& spelled_expression, std::string& runs,
                     uint8_t* format, MemoryRef layer);

// Whether the record of a cell set in `font` is written in UTF-8: every
// cell's in a file for other spreadsheets, in this program's own files that
// of a cell whose font or value is (in part) in a script other than Roman
// (the others are Mac Roman converted to UTF-8 as a whole line).
bool sylk_cell_in_utf8(const uint8_t* cell, int16_t font, SylkVariant variant);

// A text of a cell (its value or its expression) as its record carries it,
// escapes applied: in a record written in UTF-8 (`utf8`) the text decoded by
// its script, each run of a text by its own; else Mac Roman with its
// accented letters as escapes.
void append_sylk_cell_text(const uint8_t* cell, std::string_view text, int16_t font, bool utf8, std::string& out);

// A file for other spreadsheets: each line of the UTF-8 text in Windows-1252,
// the encoding most of them read SYLK in (the Windows spreadsheets, and
// Gnumeric, which reads its Latin-1 part, everywhere); a line whose
// Windows-1252 bytes would read as UTF-8 stays UTF-8. A letter Windows-1252
// lacks is written as "?" and counted in `unspelled`.
std::string sylk_lines_for_other_spreadsheets(std::string_view utf8, int32_t* unspelled = nullptr);
// The bytes of a text file decoded (decode_text_file); those of a SYLK file
// this program wrote for other spreadsheets with its Windows-1252 lines in
// UTF-8 first.
DecodedText decode_text_or_sylk_file(std::string_view bytes);
