// The record of what an import lost, the file record's mark, and the notes
// that name the losses.
#include "files/import_report.h"

#include <string>

#include "core/file_utils.h"
#include "core/number_text.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/entry_cells.h"
#include "files/text_exchange.h"
#include "model/cell_range.h"

namespace {

std::string figure(int32_t n) { return std::to_string(n); }

std::string column_name(int16_t column) {
    unsigned char letters[8];
    NumberToColumn(letters, column);
    return pstring_text(letters);
}

}  // namespace

void count_decoding_losses(const DecodedText& decoded, ImportReport& report) {
    report.replaced_characters += decoded.unmapped;
    report.guessed_characters += decoded.guessed;
}

bool import_lost_anything(const ImportReport& report) {
    return report.replaced_characters || report.rows_cut || report.fields_cut || report.texts_cut ||
           report.unconverted_formulas || report.formulas_in_scripts || report.cells_beyond_grid || report.names_dropped ||
           report.guessed_characters || report.dates_shown_as_numbers || report.currencies_left_out || report.durations_left_out ||
           report.comments_left_out || !report.renamed_sheets.empty();
}

bool record_is_of_file(MemoryRef file_info, const pf::FileSpec& spec) {
    if (!file_info) return false;
    const FileInfoRecord record = read_file_record(file_info);
    return SameFile(&record.spec, &spec) != 0;
}

void remember_import_losses(MemoryRef file_info, const pf::FileSpec& source, const ImportReport& report) {
    if (!import_lost_anything(report) || !record_is_of_file(file_info, source)) return;
    FileInfoRecord record = read_file_record(file_info);
    record.flags |= kFileImportLost;
    write_file_record(file_info, record);
}

std::vector<ImportNote> text_import_notes(const ImportReport& report) {
    std::vector<ImportNote> notes;
    if (report.replaced_characters) notes.push_back({kUnmappedCharacters, {figure(report.replaced_characters)}});
    if (report.guessed_characters) notes.push_back({kCharactersGuessed, {figure(report.guessed_characters)}});
    if (report.rows_cut) notes.push_back({kRowsCut, {figure(report.rows_cut), figure(kLastCell + 2)}});
    if (report.fields_cut)
        notes.push_back({kColumnsCut, {figure(report.fields_cut), column_name(kLastCell),
                                       figure(report.first_line_with_fields_cut)}});
    if (report.texts_cut)
        notes.push_back({kTextsCut, {figure(report.texts_cut), figure(kMaxCellText),
                                     figure(report.first_line_with_text_cut)}});
    if (report.cells_beyond_grid) notes.push_back({kCellsBeyondGrid, {figure(report.cells_beyond_grid)}});
    if (report.unconverted_formulas)
        notes.push_back({kFormulasKeptAsValues, {figure(report.unconverted_formulas)}});
    if (report.formulas_in_scripts)
        notes.push_back({kFormulasInScripts, {figure(report.formulas_in_scripts)}});
    if (report.dates_shown_as_numbers)
        notes.push_back({kDatesShownAsNumbers, {figure(report.dates_shown_as_numbers)}});
    return notes;
}

void report_export(const ExportReport& report) {
    if (report.formulas_kept_as_values)
        document_prompts.tell_figures(kFileStrings, kFormulasSavedAsValues, {figure(report.formulas_kept_as_values)});
}

void report_letters_written_as_marks(const ExportReport& report) {
    if (report.letters_written_as_marks)
        document_prompts.tell_figures(kFileStrings, kLettersWrittenAsMarks, {figure(report.letters_written_as_marks)});
}

void report_text_import(const ImportReport& report) {
    for (const ImportNote& note : text_import_notes(report))
        document_prompts.tell_figures(kTextImportStrings, note.index, note.figures);
}
