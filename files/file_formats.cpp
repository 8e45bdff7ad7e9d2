// The format table and what is told from it.
#include "files/file_formats.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "core/file_utils.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "files/document_saving.h"
#include "files/text_exchange.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/workbook.h"

namespace {

constexpr size_t kHeadSize = 512;

int16_t document_version(const unsigned char* head, size_t length) {
    if (length < 4 || int16_t(head[0] << 8 | head[1]) != kDocumentMarker) return 0;
    return int16_t(head[2] << 8 | head[3]);
}

bool current_document_head(const unsigned char* head, size_t length) {
    const int16_t version = document_version(head, length);
    return version >= kFirstCurrentGeneration && version <= kCurrentVersion;
}

bool older_document_head(const unsigned char* head, size_t length) {
    const int16_t version = document_version(head, length);
    return version >= kOldestVersion && version < kFirstCurrentGeneration;
}

// Text: not empty, and no control characters other than tab, line feed, form
// feed and return.
bool text_bytes(const unsigned char* head, size_t length) {
    if (length == 0) return false;
    return std::none_of(head, head + length, [](unsigned char c) {
        return c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r';
    });
}

bool sylk_head(const unsigned char* head, size_t length) { return length >= 3 && std::memcmp(head, "ID;", 3) == 0; }

// The start of a text after a byte-order mark, blanks, and XML declarations,
// processing instructions, comments and document types; the whole text when it
// is not XML.
std::string_view after_xml_prolog(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (;;) {
        text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t\r\n")));
        const char* end = text.substr(0, 4) == "<!--" ? "-->" : text.substr(0, 2) == "<?" ? "?>" : text.substr(0, 2) == "<!" ? ">" : nullptr;
        if (!end) return text;
        const size_t found = text.find(end);
        if (found == std::string_view::npos) return {};
        text.remove_prefix(found + std::strlen(end));
    }
}

// Another program's spreadsheet kept as XML, told by its first element: a
// flat OpenDocument file, or a workbook of Gnumeric or of Excel's XML.
bool xml_spreadsheet_head(const unsigned char* head, size_t length) {
    std::string_view text = after_xml_prolog({reinterpret_cast<const char*>(head), length});
    if (text.empty() || text.front() != '<') return false;
    const std::string_view name = text.substr(1, text.find_first_of(" \t\r\n/>") - 1);
    const std::string_view local = name.substr(name.find(':') + 1);
    return name == "office:document" || local == "Workbook";
}

WorkbookImport workbook_import{};

bool workbook_import_head(const unsigned char* head, size_t length) {
    return workbook_import.sniff && workbook_import.sniff(head, length);
}

using R = FormatReader;
using W = FormatWriter;
using K = FormatKeeps;

// Told by content first in this order; by name and type in this order too.
// Every tab text format is written as ".txt"; a ".txt" is read as plain text,
// whose separator its tabs show or the user picks.
constexpr FileFormat kFormats[] = {
    {kFormatNative, kDocumentType, kDocumentType, kAppCreator, {".qrv"}, current_document_head, R::document, W::native, K::workbook},
    {kFormatNative, kOlderDocumentType, kOlderDocumentType, kAppCreator, {}, older_document_head, R::document, W::none, K::workbook},
    {kFormatExcelImport, kExcelType, 0, 0, {".xls"}, workbook_import_head, R::excel, W::none, K::layer},
    {kFormatExcelImport, pf::four_cc("XLS4"), 0, 0, {}, nullptr, R::excel, W::none, K::layer},
    {kFormatExcelImport, pf::four_cc("XLS5"), 0, 0, {}, nullptr, R::excel, W::none, K::layer},
    {kFormatExcelImport, pf::four_cc("XLS8"), 0, 0, {}, nullptr, R::excel, W::none, K::layer},
    {kFormatSylk, kTextType, kTextType, kAppCreator, {".sylk", ".slk"}, sylk_head, R::text, W::sylk, K::layer},
    {kFormatSylkOther, kTextType, kTextType, kOtherSpreadsheetCreator, {".sylk", ".slk"}, nullptr, R::none, W::sylk, K::layer},
    {kFormatCsv, kCsvFileType, kTextType, kAppCreator, {".csv"}, nullptr, R::text, W::text, K::layer},
    {kFormatTabValues, kTabFileType, kTextType, kAppCreator, {".txt", ".tab", ".tsv"}, nullptr, R::text, W::text, K::layer},
    {kFormatTabFormulas, kTabFileType, kTextType, kAppCreator, {".txt", ".tab", ".tsv"}, nullptr, R::none, W::text, K::layer},
    {kFormatTabDisplayed, kTabFileType, kTextType, kAppCreator, {".txt", ".tab", ".tsv"}, nullptr, R::none, W::text, K::layer},
    {kFormatPdfName, 0, kTextType, kAppCreator, {".pdf"}, nullptr, R::none, W::pdf, K::layer},
    // Spreadsheets of other programs in XML, which would read as lines of text.
    {kFormatNone, 0, 0, 0, {".fods", ".gnumeric"}, xml_spreadsheet_head, R::refused, W::none, K::layer},
    // Plain text, by its name, content or type: its tabs show the separator,
    // else the reader asks for it.
    {kFormatTabValues, kTextType, 0, 0, {".txt"}, nullptr, R::text, W::none, K::layer},
};
constexpr const FileFormat& kPlainText = kFormats[std::size(kFormats) - 1];

bool readable(const FileFormat& format) {
    return format.reader != R::none && format.reader != R::refused && (format.reader != R::excel || workbook_import.read);
}
// Whether a file in the format is told by its content or name: one read, or one refused.
bool told(const FileFormat& format) { return readable(format) || format.reader == R::refused; }
const FileFormat* unless_refused(const FileFormat* format) { return format->reader == R::refused ? nullptr : format; }
bool written(const FileFormat& format) { return format.writer != W::none; }
bool saved(const FileFormat& format) { return written(format) && format.writer != W::pdf; }

// The format's extension the name ends in, or null.
const char* matching_extension(const FileFormat& format, const unsigned char* name) {
    for (const char* extension : format.extensions) {
        if (!extension) break;
        unsigned char pascal[16];
        set_pstring(pascal, extension, sizeof pascal - 1);
        if (HasFileExtension(name, pascal)) return extension;
    }
    return nullptr;
}

// The end of the file's whole name, to tell its extension by: the name a
// spec holds is a shortened form of a long one.
void whole_name_end(const pf::FileSpec& spec, unsigned char* name) {
    std::string path;
    if (pf::path_from_file_spec(spec, path) != pf::noErr) {
        std::memcpy(name, spec.name, size_t(spec.name[0]) + 1);
        return;
    }
    const std::string_view leaf = std::string_view(path).substr(path.rfind('/') + 1);
    set_pstring(name, leaf.substr(leaf.size() > 255 ? leaf.size() - 255 : 0));
}

template <typename Test>
const FileFormat* first_format(Test test) {
    const FileFormat* found = std::find_if(std::begin(kFormats), std::end(kFormats), test);
    return found == std::end(kFormats) ? nullptr : found;
}

// Up to kHeadSize bytes from the start of the file; its count, 0 when unreadable.
size_t read_file_head(const pf::FileSpec& spec, unsigned char* head) {
    int16_t ref = 0;
    if (pf::open_data_fork(spec, pf::kReadPermission, ref) != pf::noErr) return 0;
    int32_t count = int32_t(kHeadSize);
    pf::OSErr error = pf::read_file(ref, count, head);
    pf::close_file(ref);
    return error == pf::noErr || error == pf::kEndOfFileErr ? size_t(std::max(count, 0)) : 0;
}

void record_format(MemoryRef workbook, int16_t code) {
    FileInfoRecord record = file_record_of(workbook);
    record.format_code = code;
    set_file_record(workbook, record);
}

// The format recorded for a file read: a text's by its name when the name
// tells one (the text reader corrects it by what it finds).
int16_t recorded_code(const FileFormat& format, const pf::FileSpec& spec) {
    unsigned char name[256];
    whole_name_end(spec, name);
    const int16_t named = format_code_for_name(name);
    return format.reader == R::text && named > 0 ? named : format.code;
}

// A new layer at the end of the workbook, filled by the format's reader.
int16_t read_into_new_layer(const FileFormat& format, MemoryRef workbook, const pf::FileSpec& spec, uint32_t layer_flags) {
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(&quorvin_rsrv, workbook, &layer, layer_flags, nullptr) != 0) return kNoMemoryErr;
    if (format.reader == R::excel) return workbook_import.read(spec, Get_fileinfo(workbook), layer);
    return ReadTextFile(spec, Get_fileinfo(workbook), layer, format.read_as);
}

}  // namespace

const FileFormat* format_to_read(const pf::FileSpec& spec, pf::FourCC finder_type) {
    unsigned char head[kHeadSize];
    const size_t length = read_file_head(spec, head);
    if (auto found = first_format([&](const FileFormat& f) { return told(f) && f.sniff && f.sniff(head, length); }))
        return unless_refused(found);
    unsigned char name[256];
    whole_name_end(spec, name);
    if (matching_extension(kPlainText, name)) return &kPlainText;
    if (auto found = first_format([&](const FileFormat& f) { return told(f) && matching_extension(f, name); }))
        return unless_refused(found);
    if (auto found = format_of_read_type(finder_type)) return found;
    return !finder_type && text_bytes(head, length) ? &kPlainText : nullptr;
}

const FileFormat* format_of_read_type(pf::FourCC type) {
    return first_format([&](const FileFormat& f) { return readable(f) && f.read_as == type; });
}

const FileFormat* format_of_code(int16_t code) {
    if (code == kFormatUntitled) code = kFormatNative;
    return first_format([&](const FileFormat& f) { return f.code == code && f.reader != R::refused; });
}

const FileFormat* format_of_name(const unsigned char* name) {
    return first_format([&](const FileFormat& f) { return saved(f) && matching_extension(f, name); });
}

bool is_saved_code(int16_t code) {
    return first_format([&](const FileFormat& f) { return f.code == code && saved(f); }) != nullptr;
}

int16_t last_saved_code() {
    int16_t last = 0;
    for (const FileFormat& format : kFormats)
        if (saved(format)) last = std::max(last, format.code);
    return last;
}

const char* save_extension(int16_t code) {
    const FileFormat* format = format_of_code(code);
    return format && written(*format) && format->extensions[0] ? format->extensions[0] : "";
}

const FileFormat* written_format_of_name(const unsigned char* name, const char** extension) {
    for (const FileFormat& format : kFormats) {
        *extension = written(format) ? matching_extension(format, name) : nullptr;
        if (*extension) return &format;
    }
    return nullptr;
}

const char* unwritten_extension_of_name(const unsigned char* name) {
    for (const FileFormat& format : kFormats)
        if (readable(format) && !written(format))
            if (const char* extension = matching_extension(format, name)) return extension;
    return nullptr;
}

const FileFormat* format_of_file(const pf::FileSpec& spec) {
    pf::FinderInfo info;
    const pf::FourCC type = pf::get_finder_info(spec, info) == pf::noErr ? info.type : 0;
    return format_to_read(spec, type);
}

int16_t read_in_format(const FileFormat& format, MemoryRef workbook, const pf::FileSpec& spec, uint32_t layer_flags) {
    if (format.reader == R::document) return Read_File(workbook, spec, Get_fileinfo(workbook));
    // The Excel reader sets the file record anew: its format is recorded after.
    const bool excel = format.reader == R::excel;
    if (!excel) record_format(workbook, recorded_code(format, spec));
    if (int16_t error = read_into_new_layer(format, workbook, spec, layer_flags)) return error;
    if (excel) record_format(workbook, recorded_code(format, spec));
    // Held open as a document's file is, so that the file is followed when it
    // is moved to another folder.
    reopen_file(workbook);
    return 0;
}

void register_workbook_import(const WorkbookImport& import) { workbook_import = import; }

void register_file_formats() {
    std::vector<pf::FileKindGuess> kinds;
    for (const FileFormat& format : kFormats) {
        if (!readable(format) || !format.file_type) continue;
        pf::FileKindGuess kind{format.file_type, format.creator, format.sniff, {}};
        for (const char* extension : format.extensions)
            if (extension) kind.extensions.emplace_back(extension);
        kinds.push_back(std::move(kind));
    }
    pf::set_file_kind_guesses(std::move(kinds));
}

namespace {
// The platform knows the formats from the start of any program with the engine.
const bool kFormatsRegistered = (register_file_formats(), true);
}  // namespace
