// Opening native documents: the header, the conversion of older versions
// (with a backup that never replaces or touches the original), the password,
// the layers up to the exact end of the file, and the windows.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/passwords.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_reading.h"
#include "files/document_saving.h"
#include "files/files_services.h"
#include "files/layer_header.h"
#include "files/text_exchange.h"
#include "model/cell_record.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/workbook.h"
#include "resource_ids.h"

namespace {

constexpr int kBackupNameLimit = 26;
constexpr int kCopyBufferSize = 2048;
constexpr int kMostBackupTries = 99;
constexpr uint16_t kKnownWorkFlags = kWorkProtected | kWorkPassword | kWork1900Dates;

struct DocumentHeader {
    int16_t version = 0;
    unsigned char font_name[kFontNameSize] = {};
    int16_t font_size = 0;
    int16_t slot_format = kSlotExtended;
    uint8_t password[kPasswordFieldBytes] = {};
    uint16_t work_flags = 0;
};

// Marker and version; a version outside 768..1029, or a file that is no
// document, is refused.
int16_t read_version(const pf::FileSpec& spec, int32_t* counter, DocumentHeader* header) {
    int16_t marker = 0;
    if (int16_t error = ReadShortValue(counter, &marker)) return error;
    if (int16_t error = ReadShortValue(counter, &header->version)) return error;
    if (!taken_for_document(spec, marker)) return fail_file(kDamagedFileErr);
    if (header->version > kCurrentVersion) return fail_file(kNewerVersionErr);
    if (header->version < kOldestVersion) return fail_file(kDamagedFileErr);
    return 0;
}

// The header after the version, as far as the version has it.
int16_t read_header_rest(int32_t* counter, DocumentHeader* header) {
    int16_t version = header->version;
    int32_t size = version >= kFirstCurrentGeneration ? kCurrentHeaderSize - 4
                   : version >= kFontHeaderVersion   ? kFontHeaderSize - 4
                                                     : kShortHeaderSize - 4;
    uint8_t bytes[kCurrentHeaderSize];
    if (int16_t error = ReadItem(size, counter, bytes)) return error;
    pf::ByteReader in{{bytes, size_t(size)}};
    in.u32();
    if (version < kFontHeaderVersion) return 0;
    in.copy(header->font_name, kFontNameSize);
    clamp_pstring(header->font_name, kFontNameSize);
    header->font_size = in.i16();
    int16_t stored_slot = in.i16();
    if (version > kSlotFormatVersion) header->slot_format = stored_slot;
    else if (version == kSlotFormatVersion) header->slot_format = stored_slot == 0 ? kSlotDoubles : stored_slot;
    in.u32(), in.u32();
    if (version < kFirstCurrentGeneration) return 0;
    in.copy(header->password, kPasswordFieldBytes);
    header->work_flags = uint16_t(in.i16()) & kKnownWorkFlags;
    return 0;
}

void apply_header(MemoryRef workbook, const DocumentHeader& header) {
    MemoryUse<WorkSheet> book(workbook);
    if (header.version >= kFontHeaderVersion) {
        std::memcpy(book->default_font_name, header.font_name, kFontNameSize);
        book->default_font = font_by_name(header.font_name, book->default_font);
        if (header.font_size > 0) book->default_size = header.font_size;
        book->default_row_height = CalcRowSize(book->default_font, book->default_size);
    }
    if (header.version >= kFirstCurrentGeneration) {
        std::memcpy(book->password, header.password, kPasswordFieldBytes);
        book->work_flags = header.work_flags;
    }
}

bool password_accepted(const DocumentHeader& header) {
    if (header.version < kFirstCurrentGeneration || !(header.work_flags & kWorkPassword)) return true;
    return document_prompts.password(header.password) != 0;
}

// Reads layers until the counter reaches the end of the file, which it must hit exactly.
bool read_layers(MemoryRef workbook, int32_t* counter, const DocumentHeader& header, int32_t file_length) {
    while (*counter < file_length) {
        MemoryRef layer = header.version < kFirstCurrentGeneration
                              ? ReadQ3Sheet(counter, header.slot_format, header.version, file_length, workbook)
                              : ReadSheet(counter, header.slot_format, header.version, file_length, workbook);
        if (!layer || *counter <= 0) return false;
    }
    return *counter == file_length;
}

void clear_wanted_windows(MemoryRef workbook) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        if (GetSheetWind(layer) == kWindowWanted) SetSheetWind(layer, nullptr);
    }
}

// ---- Backups of older documents ------------------------------------------

void append_text(unsigned char* name, const char* text) {
    for (; *text && name[0] < pf::kMaxSpecName; ++text) name[++name[0]] = uint8_t(*text);
}

// The document's name cut to 26 characters, a suffix for the version, and a
// number when that name is the document's own or is taken already.
void backup_name(const unsigned char* document, int16_t version, int attempt, unsigned char* name) {
    name[0] = document[0] > kBackupNameLimit ? kBackupNameLimit : document[0];
    std::memcpy(name + 1, document + 1, name[0]);
    append_text(name, version <= kSlotFormatVersion ? "(3.x)" : "(4.x)");
    if (attempt > 0) {
        char number[8];
        std::snprintf(number, sizeof number, " %d", attempt + 1);
        append_text(name, number);
    }
}

pf::OSErr copy_data_fork(const pf::FileSpec& from, const pf::FileSpec& to) {
    int16_t source = 0, target = 0;
    pf::OSErr error = pf::open_data_fork(from, pf::kReadPermission, source);
    if (!error) error = pf::open_data_fork(to, pf::kWritePermission, target);
    uint8_t buffer[kCopyBufferSize];
    while (!error) {
        int32_t count = kCopyBufferSize;
        pf::OSErr read_error = pf::read_file(source, count, buffer);
        if (read_error && read_error != pf::kEndOfFileErr) error = read_error;
        if (!error && count > 0) error = pf::write_file(target, count, buffer);
        if (read_error == pf::kEndOfFileErr || count == 0) break;
    }
    if (source) pf::close_file(source);
    if (target) pf::close_file(target);
    return error;
}

// Makes a backup copy beside the document under a name no file has yet, its
// owner's alone until it is complete, then with the document's mode and owners.
pf::OSErr make_backup(const pf::FileSpec& document, int16_t version) {
    pf::FileSpec backup;
    pf::OSErr error = 0;
    for (int attempt = 0; attempt < kMostBackupTries; ++attempt) {
        unsigned char name[64];
        backup_name(document.name, version, attempt, name);
        error = pf::make_file_spec(document.volume, document.parent, name, backup);
        if (error == pf::kFileNotFoundErr && std::memcmp(name, document.name, name[0] + 1) != 0) break;
        if (!error) error = pf::kDuplicateNameErr;
    }
    if (error != pf::kFileNotFoundErr) return error ? error : pf::kDuplicateNameErr;
    pf::FourCC type = version <= kSlotFormatVersion ? kOlderDocumentType : kDocumentType;
    if ((error = pf::create_private_file(backup, kAppCreator, type))) return error;
    if (!(error = copy_data_fork(document, backup))) error = pf::copy_access(document, backup);
    if (error) pf::delete_file(backup);
    return error;
}

enum class Conversion { none, wanted, with_backup, without_backup, refused };

// Asks before converting an older document.
Conversion ask_conversion(int16_t version) {
    if (version >= kCurrentVersion) return Conversion::none;
    if (document_prompts.ask(kErrorStrings, kConvertQuestion) != kAnswerOK) return Conversion::refused;
    return Conversion::wanted;
}

// Makes the backup of an older document once it has been read whole; without
// a backup the document is opened but never saved over.
Conversion back_up_for_conversion(const pf::FileSpec& spec, int16_t version, Conversion conversion) {
    if (conversion != Conversion::wanted) return conversion;
    if (make_backup(spec, version) == 0) return Conversion::with_backup;
    document_prompts.tell(kFileStrings, kBackupFailed);
    return Conversion::without_backup;
}

void finish_opening(MemoryRef workbook, MemoryRef file_info, const pf::FileSpec& spec, Conversion conversion) {
    FileInfoRecord record = read_file_record(file_info);
    record.spec = spec;
    record.format_code = kFormatNative;
    if (conversion == Conversion::without_backup) record.flags |= kFileUnconverted;
    write_file_record(file_info, record);
    set_change_ctr(workbook, 0);
    reopen_file(workbook);
    if (conversion == Conversion::with_backup) DoSave(false, find_SpreadSheet_item(workbook, 0), kWholeWorkbook);
}

int16_t open_for_reading(const pf::FileSpec& spec, int32_t* file_length) {
    int16_t ref = 0;
    if (pf::OSErr error = pf::open_data_fork(spec, pf::kReadPermission, ref)) {
        f_ref = 0;
        report_file_error(error);
        return error;
    }
    f_ref = ref;
    pf::get_end_of_file(ref, *file_length);
    pf::set_file_position(ref, pf::kFromStart, 0);
    return 0;
}

// ---- Number slots of 80-bit extended values ----------------------------------

// The 10-byte big-endian extended value as the file holds it.
double extended_to_double(const uint8_t* slot) {
    int sign_exponent = slot[0] << 8 | slot[1];
    uint64_t mantissa = 0;
    for (int i = 2; i < 10; ++i) mantissa = mantissa << 8 | slot[i];
    int exponent = sign_exponent & 0x7FFF;
    double value;
    if (exponent == 0x7FFF) value = (mantissa << 1) ? std::nan("") : INFINITY;
    else value = std::ldexp(double(mantissa), exponent - 16383 - 63);
    return (sign_exponent & 0x8000) ? -value : value;
}

// The cell reader reversed the slot's first 8 bytes as a double; put them
// back in file order and decode the extended value.
void convert_slot(uint8_t* slot) {
    std::reverse(slot, slot + 8);
    store_f64(slot, extended_to_double(slot));
}

}  // namespace

void ResetSheetConstants(MemoryRef layer) {
    MemoryRef cells = GetSpreadSheetCells(layer);
    if (!cells || GetByteSize(cells) == 0) return;
    MemoryUse<uint8_t> start(cells);
    uint8_t* end = start + GetByteSize(cells);
    for (uint8_t* row = start; row < end; row += _RowLength_(row))
        for (uint8_t* cell = row + kRowHeaderSize; cell < row + _RowLength_(row); cell += _cellLength_(cell)) {
            if (_cellType_(cell) == kCellConstant) convert_slot(_formulaPtr_(cell));
            if (_cellType_(cell) == kCellFormula && _resultType_(cell) < 0) convert_slot(_resultPtr_(cell));
        }
}

// Makes the windows of the layers stored as shown, until one cannot be made;
// a layer left without its window keeps the stored flag for the next save.
void Open_File_Windows(MemoryRef workbook, int16_t first) {
    bool stopped = false;
    for (int16_t i = first; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        if (!GetSheetWind(layer)) continue;
        SetSheetWind(layer, nullptr);
        LayerWindow window = stopped ? nullptr : files_services.make_window(layer);
        stopped = !window;
        if (window) SetSheetWind(layer, window);
        LayerUse(layer)->window_flag_kept = !window;
    }
}

int16_t Read_File(MemoryRef workbook, const pf::FileSpec& spec, MemoryRef file_info) {
    settle_interrupted_save(spec);
    int32_t file_length = 0;
    if (int16_t error = open_for_reading(spec, &file_length)) return error;
    report_document_progress(workbook, 0, kProgressTotal);
    int32_t counter = 0;
    DocumentHeader header;
    bool read = read_version(spec, &counter, &header) == 0;
    Conversion conversion = read ? ask_conversion(header.version) : Conversion::none;
    if (conversion == Conversion::refused) {
        CleanUp(0);
        read = false;
    }
    read = read && read_header_rest(&counter, &header) == 0;
    if (read) {
        apply_header(workbook, header);
        report_document_progress(workbook, counter, file_length);
    }
    if (read && !password_accepted(header)) {
        CleanUp(0);
        read = false;
    }
    // A workbook has at least one layer: a document of a header alone is damaged.
    read = read && read_layers(workbook, &counter, header, file_length) && num_SpreadSheets(workbook) > 0;
    if (!read) {
        clear_wanted_windows(workbook);
        CleanUp(kDamagedFileErr);
        report_document_progress(workbook, kProgressTotal, kProgressTotal);
        return 1;
    }
    Open_File_Windows(workbook, 0);
    CleanUp(0);
    report_document_progress(workbook, kProgressTotal, kProgressTotal);
    conversion = back_up_for_conversion(spec, header.version, conversion);
    finish_opening(workbook, file_info, spec, conversion);
    return 0;
}

int16_t add_layers_from_document(MemoryRef workbook, const pf::FileSpec& spec) {
    int32_t file_length = 0;
    if (int16_t error = open_for_reading(spec, &file_length)) return error;
    int16_t first_new = num_SpreadSheets(workbook);
    report_document_progress(workbook, 0, kProgressTotal);
    int32_t counter = 0;
    DocumentHeader header;
    // Layers of every version are added as they are read; the file itself is
    // left as it stands.
    bool read = read_version(spec, &counter, &header) == 0 && read_header_rest(&counter, &header) == 0;
    if (read && !password_accepted(header)) {
        CleanUp(0);
        read = false;
    }
    read = read && read_layers(workbook, &counter, header, file_length);
    CleanUp(read ? 0 : kDamagedFileErr);
    report_document_progress(workbook, kProgressTotal, kProgressTotal);
    if (!read) {
        while (num_SpreadSheets(workbook) > first_new) drop_last_layer(workbook);
        return 1;
    }
    Open_File_Windows(workbook, first_new);
    increment_change_ctr(find_SpreadSheet_item(workbook, first_new));
    return 0;
}

// ---- Adding the layers of another file ----------------------------------------

namespace {

constexpr int kTextLayerNameLimit = 25;

// "I(" and the file name cut to 25 characters, then ")".
void imported_layer_name(const unsigned char* file_name, unsigned char* name) {
    int kept = file_name[0] > kTextLayerNameLimit ? kTextLayerNameLimit : file_name[0];
    name[0] = uint8_t(kept + 3);
    name[1] = 'I', name[2] = '(';
    std::memcpy(name + 3, file_name + 1, size_t(kept));
    name[3 + kept] = ')';
}

int16_t add_text_layer(MemoryRef workbook, const pf::FileSpec& spec) {
    MemoryUse<WorkSheet> book(workbook);
    MachineRecord* machine = book->machine;
    MemoryRef file_info = book->file_info;
    book.release();
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(machine, workbook, &layer, kLayerGridLines | kLayerHeadings, nullptr) != 0) return kNoMemoryErr;
    if (int16_t error = ReadTextFile(spec, file_info, layer, kTextType)) {
        drop_last_layer(workbook);
        return error;
    }
    unsigned char name[32];
    imported_layer_name(spec.name, name);
    SetSheetName(name, layer);
    increment_change_ctr(layer);
    SetSheetWind(layer, files_services.make_window(layer));
    return 0;
}

}  // namespace

int16_t AddLayer(MemoryRef workbook) {
    const pf::FourCC types[] = {kDocumentType, kOlderDocumentType, kTextType};
    pf::FileSpec spec;
    if (int16_t error = files_services.choose_file(nullptr, types, 3, 0, &spec, kAppCreator, nullptr)) return error;
    pf::FinderInfo info;
    if (pf::OSErr error = pf::get_finder_info(spec, info)) {
        report_file_error(error);
        return error;
    }
    if (info.type == kTextType) return add_text_layer(workbook, spec);
    if (info.type == kDocumentType || info.type == kOlderDocumentType) return add_layers_from_document(workbook, spec);
    return 0;
}
