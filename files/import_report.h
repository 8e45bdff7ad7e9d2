// What reading a file into a workbook had to replace or leave out, kept in one
// record that every reader fills (text, CSV, SYLK, Excel). A workbook whose
// import lost anything is never saved over the file it came from unless the
// user picks that file in the Save dialog.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "files/text_encoding.h"
#include "platform/files/files.h"

// A reader with a new kind of loss adds its count here and to
// import_lost_anything, so that the loss keeps Save off the source too.
struct ImportReport {
    int32_t replaced_characters = 0;  // characters with no equivalent here, each now "?"
    int32_t rows_cut = 0;             // lines holding data past the last row
    int32_t fields_cut = 0;           // fields past the last column
    int32_t first_line_with_fields_cut = 0;
    int32_t texts_cut = 0;            // texts longer than a cell holds, cut
    int32_t first_line_with_text_cut = 0;
    int32_t unconverted_formulas = 0;  // formulas kept as their stored values (or as text)
    int32_t formulas_in_scripts = 0;   // formulas no one script spells, kept as text (or their stored values)
    int32_t cells_beyond_grid = 0;     // cells past the last row or column
    int32_t names_dropped = 0;         // named ranges a layer cannot hold, left out
    int32_t guessed_characters = 0;    // characters of a file in no Unicode form, read as Mac Roman
    int32_t dates_shown_as_numbers = 0;  // dates the calendar here cannot show, their cells showing numbers
    int32_t currencies_left_out = 0;     // amounts shown without a currency no format here has
    int32_t durations_left_out = 0;      // durations shown as numbers, in a form no format here has
    int32_t comments_left_out = 0;       // cell comments a note cannot hold
    // The first few cells of the formulas kept as values, of the dates shown
    // as numbers, of the amounts without their currency and of the comments
    // left out, by name, for the notes.
    std::vector<std::string> unconverted_formula_cells;
    std::vector<std::string> date_number_cells;
    std::vector<std::string> currency_cells;
    std::vector<std::string> duration_cells;
    std::vector<std::string> comment_cells;
    // The names given to sheets whose own names a layer cannot hold.
    std::vector<std::string> renamed_sheets;
};

// Adds what decoding a file's bytes replaced or took on a guess.
void count_decoding_losses(const DecodedText& decoded, ImportReport& report);

// Whether the workbook read holds less than the file did.
bool import_lost_anything(const ImportReport& report);

// Whether a workbook's file record is that of the file read: the workbook was
// opened from it, rather than given a layer read from it.
bool record_is_of_file(MemoryRef file_info, const pf::FileSpec& spec);

// Marks the file record of the workbook opened from `source` when the import
// lost anything, so that Save asks for a name instead of writing over it.
void remember_import_losses(MemoryRef file_info, const pf::FileSpec& source, const ImportReport& report);

// The text reader's messages (STR# 170) with their figures: one note per
// kind of loss, in the order shown.
struct ImportNote {
    int16_t index;
    std::vector<std::string> figures;  // ^0, ^1, ... of the message
};
std::vector<ImportNote> text_import_notes(const ImportReport& report);

// Shows the notes of a text, CSV or SYLK import, one message each.
void report_text_import(const ImportReport& report);

// What writing a layer into a file of one layer could not keep: formulas that
// refer to layers the file cannot name, written as their values.
struct ExportReport {
    int32_t formulas_kept_as_values = 0;
    int32_t letters_written_as_marks = 0;  // letters the file's encoding lacks, written as "?"
};

// Shows the note of a save that kept formulas as values, when one did.
void report_export(const ExportReport& report);
// Shows the note of letters the file's encoding lacks written as "?", when
// there are any: said before the file is written.
void report_letters_written_as_marks(const ExportReport& report);
