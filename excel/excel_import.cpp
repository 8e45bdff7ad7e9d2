#include "excel/excel_import.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "excel/compound_file.h"
#include "excel/excel_book.h"
#include "excel/excel_layers.h"
#include "excel/workbook_decryption.h"
#include "core/string_utils.h"
#include "files/document_prompts.h"
#include "platform/resources/resources.h"

namespace {

constexpr int32_t kMaxFileLength = 256 * 1024 * 1024;
constexpr unsigned char kBiff4Bof[] = {0x09, 0x04};
constexpr unsigned char kBiff5Bof[] = {0x09, 0x08};
constexpr uint8_t kBofKindWorksheet = 0x10;
constexpr uint8_t kBofKindGlobals = 0x05;

// The cells named in a note: the first few, then how many more.
std::string named_cells(const std::vector<std::string>& named, int32_t count) {
    std::string text;
    for (const std::string& cell : named) text += (text.empty() ? "" : ", ") + cell;
    if (count > int32_t(named.size())) {
        const std::string more = pf::get_indexed_string(kExcelStrings, kExcelMoreCells);
        text += " " + fill_figures(more, {std::to_string(count - int32_t(named.size()))});
    }
    return text;
}

void tell_notes(const ImportReport& notes) {
    // The notes that name their first cells or sheets.
    const struct {
        int16_t index;
        const std::vector<std::string>& named;
        int32_t count;
    } naming[] = {
        {kExcelFormulasNote, notes.unconverted_formula_cells, notes.unconverted_formulas},
        {kExcelDatesNote, notes.date_number_cells, notes.dates_shown_as_numbers},
        {kExcelCurrenciesNote, notes.currency_cells, notes.currencies_left_out},
        {kExcelDurationsNote, notes.duration_cells, notes.durations_left_out},
        {kExcelCommentsNote, notes.comment_cells, notes.comments_left_out},
        {kExcelSheetNamesNote, notes.renamed_sheets, int32_t(notes.renamed_sheets.size())},
    };
    for (const auto& note : naming)
        if (note.count) document_prompts.tell_figures(kExcelStrings, note.index, {named_cells(note.named, note.count)});
    if (notes.replaced_characters) document_prompts.tell(kExcelStrings, kExcelCharactersNote);
    if (notes.cells_beyond_grid) document_prompts.tell(kExcelStrings, kExcelBeyondGridNote);
    if (notes.texts_cut) document_prompts.tell(kExcelStrings, kExcelTextsCutNote);
    if (notes.names_dropped) document_prompts.tell(kExcelStrings, kExcelNamesDroppedNote);
}

}  // namespace

bool is_excel_head(const unsigned char* head, size_t length) {
    if (is_compound_file(head, length)) return true;
    // A bare stream: a BIFF4 worksheet, or the globals of a BIFF5/8 workbook.
    if (length < 8 || head[7] != 0) return false;
    bool biff4 = head[0] == kBiff4Bof[0] && head[1] == kBiff4Bof[1] && head[6] == kBofKindWorksheet;
    bool biff5 = head[0] == kBiff5Bof[0] && head[1] == kBiff5Bof[1] && head[6] == kBofKindGlobals;
    return biff4 || biff5;
}

namespace {

// The workbook stream of a file: the compound file's, or the file itself.
bool stream_of_file(const std::vector<uint8_t>& file, std::vector<uint8_t>& stream) {
    if (is_compound_file(file.data(), file.size())) return workbook_stream(file, stream);
    if (!is_excel_head(file.data(), file.size())) return false;
    stream = file;
    return true;
}

int16_t read_excel_stream(std::vector<uint8_t>& stream, MemoryRef layer, ImportReport* notes) {
    ExcelBook book;
    try {
        StreamEncryption encryption = decrypt_default_password(stream);
        if (encryption == StreamEncryption::kUserPassword) return kExcelPasswordNote;
        book = read_biff_workbook(stream, encryption == StreamEncryption::kDefaultPassword);
    } catch (const ExcelDamaged&) {
        return kExcelUnreadableErr;
    } catch (const std::bad_alloc&) {
        return kNoMemoryErr;
    }
    if (book.password) return kExcelPasswordNote;
    bool any_worksheet = false;
    for (const ExcelSheet& sheet : book.sheets) any_worksheet = any_worksheet || sheet.is_worksheet;
    if (!any_worksheet) return kExcelUnreadableErr;
    if (int16_t error = fill_excel_layers(book, stream, layer)) return error;
    if (notes) {
        notes->unconverted_formulas += book.unconverted_formulas;
        notes->replaced_characters += book.replaced_characters;
        notes->cells_beyond_grid += book.cells_beyond_grid;
        notes->texts_cut += book.texts_cut;
        notes->names_dropped += book.names_dropped;
        notes->dates_shown_as_numbers += book.dates_shown_as_numbers;
        notes->currencies_left_out += book.currencies_left_out;
        notes->durations_left_out += book.durations_left_out;
        notes->comments_left_out += book.comments_left_out;
        notes->unconverted_formula_cells = std::move(book.unconverted_formula_cells);
        notes->date_number_cells = std::move(book.date_number_cells);
        notes->currency_cells = std::move(book.currency_cells);
        notes->duration_cells = std::move(book.duration_cells);
        notes->comment_cells = std::move(book.comment_cells);
        for (const ExcelSheet& sheet : book.sheets)
            if (sheet.is_worksheet && sheet.renamed) notes->renamed_sheets.push_back(sheet.name);
    }
    return 0;
}

// The stream of an open file. A compound file is read in place, so that the
// stream is all that is held of it; a bare stream is the file's bytes.
int16_t read_stream_of_fork(const pf::FileSpec& spec, int16_t ref, std::vector<uint8_t>& stream) {
    int32_t length = 0;
    pf::OSErr error = pf::get_end_of_file(ref, length);
    if (error == pf::kPositionErr || (!error && length > kMaxFileLength)) return pf::kFileTooLongErr;
    if (error) return error;
    unsigned char head[8] = {};
    int32_t count = sizeof head;
    pf::read_file(ref, count, head);
    std::string path;
    if (is_compound_file(head, size_t(count)))
        return !pf::path_from_file_spec(spec, path) && workbook_stream_in_file(path, stream, size_t(length))
                   ? 0
                   : kExcelUnreadableErr;
    if ((error = pf::read_whole_fork(ref, kMaxFileLength, stream))) return error;
    return is_excel_head(stream.data(), stream.size()) ? 0 : kExcelUnreadableErr;
}

// Closes an open file when it goes out of scope, also when running out of
// memory ends the reading.
struct ClosedAtEnd {
    int16_t ref;
    ~ClosedAtEnd() { pf::close_file(ref); }
};

int16_t read_stream_of_file(const pf::FileSpec& spec, std::vector<uint8_t>& stream) {
    int16_t ref = 0;
    if (pf::OSErr error = pf::open_data_fork(spec, pf::kReadPermission, ref)) return error;
    ClosedAtEnd closed{ref};
    return read_stream_of_fork(spec, ref, stream);
}

}  // namespace

int16_t read_excel_bytes(const std::vector<uint8_t>& file, MemoryRef layer, ImportReport* notes) {
    std::vector<uint8_t> stream;
    if (!stream_of_file(file, stream)) return kExcelUnreadableErr;
    return read_excel_stream(stream, layer, notes);
}

namespace {

// The workbook read into the layer; its errors and notes are shown.
int16_t read_excel_file(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer) {
    std::vector<uint8_t> stream;
    int16_t error = read_stream_of_file(spec, stream);
    ImportReport notes;
    if (!error) error = read_excel_stream(stream, layer, &notes);
    if (error == kExcelPasswordNote) {
        document_prompts.tell(kExcelStrings, kExcelPasswordNote);
        return error;
    }
    if (error) {
        report_file_error(error);
        return error;
    }
    remember_import_losses(file_info, spec, notes);
    tell_notes(notes);
    return 0;
}

}  // namespace

int16_t ReadExcelFile(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer) {
    return read_under_failure_handler([&] { return read_excel_file(spec, file_info, layer); });
}
