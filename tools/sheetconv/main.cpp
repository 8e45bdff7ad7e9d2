// sheetconv [--values] [--layer N] [--for-others] IN OUT: opens a document through the
// application's own reader, recalculates it to completion and writes it
// through the application's own writer in the format of OUT's extension. A
// document is known by its contents first (native documents, SYLK, Excel
// workbooks), then by its extension, as the format table tells. It has no
// window: questions take their default answer and messages go to stderr. The
// input is read from a private copy, so converting an older document never
// writes a backup or a converted file beside it. Like the program, it notes
// the document it saves over while the save runs, and at its start removes
// what a killed copy of either left.
//
// A text OUT (CSV or tab-separated, with or without --values or --shown) is
// written with the line ends of a text IN and in its form of Unicode (an
// 8-bit IN, read as Mac Roman, goes out in UTF-8), and with its separator
// when that is of OUT's kind (a CSV's semicolon, a tab text's space); in UTF-8
// with CR LF for any other IN, as the program saves a document as text.
//
// --values writes each cell's raw value instead of its text (numbers in full,
// texts, error names) into a .csv or tab-separated OUT; --shown writes each
// cell's text as the sheet shows it (currency, dates and all) into a
// tab-separated OUT; --layer N picks the layer a text format writes (from 1;
// the first by default); --for-others writes a SYLK OUT as SYLK for other
// spreadsheets.
//
// Exit status: 0 when the whole document was converted, 3 when it was written
// but something was left out (said on stderr): what the import could not
// read, the other layers of a document written to a format of one layer
// without --layer, or formulas referring to other layers or to names written
// to such a format as their values; 2 when the arguments make no sense, 1 when the conversion
// failed.
//
// An OUT that is a symbolic link is written through: the file it names takes
// the output and the link stays.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "files/document_file.h"
#include "core/alert_kinds.h"
#include "core/string_utils.h"
#include "files/document_prompts.h"
#include "formula/library_support.h"
#include "formula/recalc.h"
#include "files/document_saving.h"
#include "files/file_formats.h"
#include "files/running_copies.h"
#include "files/text_encoding.h"
#include "files/text_exchange.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "platform/system/system.h"
#include "resource_bundle.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kPartialImport = 3;
constexpr int16_t kUnknownKindErr = 1003;
bool failed_quietly = false;
bool losses_told = false;  // a note with figures told what a read or write left out

// The libraries of the Excel container reader start before main, and GLib's
// start ends the process when an allocation fails. Run before any library
// starts: with too little memory left for their start, the converter ends with
// its own message and status instead.
void make_sure_libraries_can_start() {
    constexpr size_t kLibraryStartNeed = size_t(256) << 10;
    if (void* probe = std::malloc(kLibraryStartNeed)) {
        std::free(probe);
        return;
    }
    static const char kMessage[] = "sheetconv: not enough memory to start\n";
    if (write(STDERR_FILENO, kMessage, sizeof kMessage - 1) < 0) _exit(1);
    _exit(1);
}
[[gnu::section(".preinit_array"), gnu::used]] void (*const start_probe)() = make_sure_libraries_can_start;

struct Options {
    bool values = false;
    bool shown = false;
    bool for_others = false;  // SYLK for other spreadsheets
    int layer = 0;  // from 0
    bool layer_chosen = false;
    std::string input, output;
};

void print_string(const char* what, int16_t list, int16_t index) {
    std::fprintf(stderr, "sheetconv: %s%s\n", what, pf::get_indexed_string(list, index).c_str());
}

int16_t print_and_agree(int16_t list, int16_t index) {
    print_string("", list, index);
    return kAnswerOK;
}
void print_message(int16_t list, int16_t index) { print_string("", list, index); }
// Every message with figures counts something lost, but for the news that a
// cut-short save was finished.
void print_message_with_figures(int16_t list, int16_t index, const std::vector<std::string>& figures) {
    losses_told = losses_told || !(list == kFileStrings && index == kInterruptedSaveFinished);
    std::fprintf(stderr, "sheetconv: %s\n", fill_figures(pf::get_indexed_string(list, index), figures).c_str());
}
// The text the program's alert shows for a file error, and its number.
void print_file_error(int16_t error) {
    std::string text = pf::get_indexed_string(kErrorStrings, file_error_string_index(error));
    std::fprintf(stderr, "sheetconv: %s (file error %d)\n", text.c_str(), error);
    failed_quietly = true;  // said once
}
// Running out of memory, said as the program's alert says it when its text
// can still be had (the resources may be what memory could not hold).
void no_memory() {
    try {
        if (!pf::get_indexed_string(kErrorStrings, file_error_string_index(kNoMemoryErr)).empty())
            return print_file_error(kNoMemoryErr);
    } catch (const std::bad_alloc&) {
    }
    std::fprintf(stderr, "sheetconv: not enough memory (file error %d)\n", kNoMemoryErr);
}
int16_t no_password(const uint8_t*) {
    std::fprintf(stderr, "sheetconv: the document asks for a password\n");
    failed_quietly = true;
    return 0;
}

MemoryRef new_workbook(const pf::FileSpec* spec) {
    CellFormat settings;
    GetDefaultFormat(settings.bytes);
    settings.bytes[kFmtSize] = 12;
    settings.bytes[kFmtCellType] = 0;
    return New_WorkSheet(&quorvin_rsrv, NewFileRec(spec), settings.bytes);
}

constexpr char kCopyFolderPrefix[] = "sheetconv-";

// Removes the private folders of conversions whose process is gone (killed
// before it could remove its own): "sheetconv-<process id>-XXXXXX".
void remove_abandoned_copies(const std::filesystem::path& temp_folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temp_folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kCopyFolderPrefix, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + std::strlen(kCopyFolderPrefix), nullptr, 10);
        if (pid <= 0 || pf::process_is_running(int32_t(pid))) continue;
        std::filesystem::remove_all(entry.path(), error);
    }
}

// A private copy of the input in a folder of its own, in the temporary folder
// (TMPDIR when set).
bool copy_input(const std::string& input, std::string& folder, std::string& copy) {
    std::error_code error;
    const std::filesystem::path temp_folder = std::filesystem::temp_directory_path(error);
    if (error) return false;
    remove_abandoned_copies(temp_folder);
    std::string pattern = (temp_folder / (kCopyFolderPrefix + std::to_string(getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return false;
    folder = pattern;
    copy = folder + "/" + std::filesystem::path(input).filename().string();
    return std::filesystem::copy_file(input, copy, error);
}

// Reads the input in its format; the readers report their errors (a text's
// separator is the one it shows, or tab).
int16_t read_input(MemoryRef book, const pf::FileSpec& spec, const FileFormat& format) {
    const int16_t error = read_in_format(format, book, spec, kLayerGridLines | kLayerHeadings);
    if (format.reader == FormatReader::document) return error == 0 ? 0 : kDamagedFileErr;
    if (error && format.reader == FormatReader::excel) failed_quietly = true;
    return error;
}

// Opens the input in the format the table chooses for it; 0 or an error.
int16_t open_input(const std::string& path, MemoryRef* book) {
    pf::FileSpec spec;
    if (pf::OSErr error = pf::file_spec_from_path(path, spec)) return error;
    const FileFormat* format = format_of_file(spec);
    if (!format) return kUnknownKindErr;
    *book = new_workbook(&spec);
    if (!*book) return kNoMemoryErr;
    return read_input(*book, spec, *format);
}

// The output's format, by the extension of its name as the Save dialog takes it.
int16_t output_code(const std::string& path) {
    unsigned char name[256];
    set_pstring(name, std::filesystem::path(path).filename().string());
    return format_code_for_name(name);
}

bool layer_exists(MemoryRef book, int layer) {
    if (layer < num_SpreadSheets(book)) return true;
    std::fprintf(stderr, "sheetconv: the document has no layer %d\n", layer + 1);
    failed_quietly = true;
    return false;
}

// Each cell's raw value, as CSV or tab text in the form of a text input, as
// every text output is written.
int16_t write_values(MemoryRef layer, const std::string& path, int16_t code) {
    const uint8_t separator = format_separator(code, GetWorkSheet(layer));
    const TextFileForm form = file_record_of(GetWorkSheet(layer)).text_form;
    std::string text;
    if (int16_t error = layer_text(layer, FieldSource::exact_values, separator, form, text)) return error;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return pf::kFileNotFoundErr;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fclose(file) == 0 && written;
    return written ? 0 : pf::kIOErr;
}

// The file a path names: symbolic links followed, so that writing it leaves
// them in place; a link to a file yet to be made names that file.
std::string linked_file(std::filesystem::path path) {
    constexpr int kMostLinks = 40;
    std::error_code error;
    for (int links = 0; links < kMostLinks && std::filesystem::is_symlink(path, error); ++links) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) break;
        path = (path.parent_path() / target).lexically_normal();
    }
    return path.string();
}

int16_t write_output(MemoryRef book, const Options& options) {
    const std::string& path = options.output;
    pf::FileSpec spec;
    const std::string file = linked_file(path);
    pf::OSErr found = pf::file_spec_from_path(file, spec);
    if (found == pf::kDirectoryNotFoundErr) {
        std::fprintf(stderr, "sheetconv: no folder %s to write %s into\n",
                     std::filesystem::path(file).parent_path().c_str(), path.c_str());
        failed_quietly = true;
        return found;
    }
    if (found && found != pf::kFileNotFoundErr) return found;
    int16_t code = output_code(path);
    const bool text_only = options.values || options.shown;
    if (code < 0 || (text_only && code != kFormatCsv && code != kFormatTabValues) ||
        (options.shown && code != kFormatTabValues)) {
        std::fprintf(stderr, "sheetconv: %s: unknown output format (use .qrv, .sylk, .slk, .csv, .txt, .tab or .tsv%s)\n",
                     path.c_str(), options.shown    ? "; shown texts go to tab text only"
                                   : options.values ? "; values go to text formats only"
                                                    : "");
        failed_quietly = true;
        return kUsageError;
    }
    if (!layer_exists(book, options.layer)) return kUsageError;
    MemoryRef layer = find_SpreadSheet_item(book, options.layer);
    if (options.values) return write_values(layer, path, code);
    if (options.shown) code = kFormatTabDisplayed;
    if (options.for_others && code == kFormatSylk) code = kFormatSylkOther;
    uint16_t layer_number = code == kFormatNative && options.layer == 0 ? kWholeWorkbook : uint16_t(options.layer);
    return save_workbook_file(layer, layer_number, spec, code, found == 0, true);
}

// Whether the reader left anything of the input out (its losses mark the
// workbook's file record).
bool import_was_partial(MemoryRef book) {
    return (read_file_record(Get_fileinfo(book)).flags & kFileImportLost) != 0;
}

// Texts of two scripts read or joined by formulas where no one script spells the
// whole: what none spells became "?".
bool reported_unspelled_joins() {
    const int32_t unspelled = unspelled_join_characters();
    if (unspelled == 0) return false;
    std::fprintf(stderr, "sheetconv: formulas read or joined texts that no one script spells: %d character%s became \"?\"\n",
                 int(unspelled), unspelled == 1 ? "" : "s");
    return true;
}

// A document of several layers written to a format that holds one, with no
// layer chosen: the first was written and the others left out.
bool reported_layers_left_out(MemoryRef book, const Options& options) {
    const int16_t layers = num_SpreadSheets(book);
    if (options.layer_chosen || layers < 2 || output_code(options.output) == kFormatNative) return false;
    std::fprintf(stderr,
                 "sheetconv: the document has %d layers and %s holds one: layer 1 was written "
                 "(--layer N writes another)\n",
                 int(layers), options.output.c_str());
    return true;
}

int convert(const Options& options) {
    const std::string& input = options.input;
    std::string folder, copy;
    pf::FileSpec input_spec;
    if (pf::file_spec_from_path(input, input_spec) == pf::noErr) settle_interrupted_save(input_spec);
    if (!copy_input(input, folder, copy)) {
        std::fprintf(stderr, "sheetconv: cannot read %s\n", input.c_str());
        if (!folder.empty()) std::filesystem::remove_all(folder);
        return 1;
    }
    MemoryRef book = nullptr;
    int16_t error = open_input(copy, &book);
    bool partial = !error && import_was_partial(book);
    if (!error) {
        ResetWorkbookCalc(book);
        clear_unspelled_joins();
        calculate_workbook(book, kNoTickLimit);
        partial = reported_unspelled_joins() || partial;
        Options absolute = options;
        absolute.output = std::filesystem::absolute(options.output).string();
        error = write_output(book, absolute);
        partial = (!error && (reported_layers_left_out(book, options) || losses_told)) || partial;
    }
    if (error && !failed_quietly) print_file_error(error);
    if (book) {
        close_document_file(book);
        DisposeWorkSheet(book);
    }
    std::filesystem::remove_all(folder);
    if (error) return 1;
    return partial ? kPartialImport : 0;
}

// The options and the two paths; false when they make no sense.
bool parse_arguments(int argc, char** argv, Options& options) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--values") {
            options.values = true;
        } else if (arg == "--shown") {
            options.shown = true;
        } else if (arg == "--for-others") {
            options.for_others = true;
        } else if (arg == "--layer" && i + 1 < argc) {
            char* end = nullptr;
            long n = std::strtol(argv[++i], &end, 10);
            if (*end || n < 1 || n > kMaxLayers) return false;
            options.layer = int(n - 1);
            options.layer_chosen = true;
        } else if (arg.empty() || arg[0] == '-') {
            return false;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) return false;
    options.input = paths[0];
    options.output = paths[1];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse_arguments(argc, argv, options)) {
        std::fprintf(stderr, "usage: sheetconv [--values | --shown] [--layer N] [--for-others] IN OUT\n");
        return kUsageError;
    }
    try {
        pf::resources_install(resource_bundle_data(), resource_bundle_size());
        engine_startup();
        QuorvinInit(&quorvin_rsrv, &mem_globals);
        document_prompts = DocumentPrompts{.ask = print_and_agree,
                                           .tell = print_message,
                                           .file_error = print_file_error,
                                           .password = no_password,
                                           .tell_figures = print_message_with_figures};
        // A save over an existing file is noted, so that the next copy to start
        // removes what a killed one left beside it, as the program does.
        for (const pf::FileSpec& document : remove_leftovers_of_dead_copies()) tell_save_finished(document);
        save_notes = SaveNotes{note_save_started, note_save_ended};
        const int status = convert(options);
        msMachineShutdown(&quorvin_rsrv);
        msMemShutdown(&mem_globals);
        return status;
    } catch (const std::bad_alloc&) {
        no_memory();  // out of memory outside the readers' own handlers
        return 1;
    }
}
