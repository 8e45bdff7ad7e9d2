// The native document: its versions, file type and creator, the fixed header,
// the file record of a workbook (where its document lives and in which format it
// was saved), and the reader and writer entry points.
//
// A document is the header, then one layer block per layer up to the end of the
// file; every field is big-endian (file_framing.h). Version 1029 is written;
// 768..1029 are read (below 1025 by the older-generation reader).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_manager.h"
#include "files/file_framing.h"
#include "files/text_encoding.h"
#include "platform/files/files.h"

constexpr int16_t kDocumentMarker = -1;
constexpr int16_t kCurrentVersion = 1029;
constexpr int16_t kFirstCurrentGeneration = 1025;  // header with password and work flags
constexpr int16_t kDefaultFormatsVersion = 1026;   // layers keep default column and row formats
constexpr int16_t kFrozenRectVersion = 1027;       // a rectangle and a word after the layer header
constexpr int16_t kPrintDataVersion = 1028;        // page format, print settings, layer font
constexpr int16_t kSlotFormatVersion = 1024;       // first version whose stored 0 slot format means doubles
constexpr int16_t kFontHeaderVersion = 771;        // header with the default font
constexpr int16_t kOldestVersion = 768;

constexpr int16_t kSlotDoubles = 8;
constexpr int16_t kSlotExtended = 10;

// Header sizes and where the first layer block starts.
constexpr int32_t kShortHeaderSize = 8;
constexpr int32_t kFontHeaderSize = 84;
constexpr int32_t kCurrentHeaderSize = 102;

// Errors of the document reader.
constexpr int16_t kNewerVersionErr = 1000;
// A file of none of the kinds the Open command reads.
constexpr int16_t kUnreadableKindErr = 1004;

constexpr pf::FourCC kDocumentType = pf::four_cc("SH4P");
constexpr pf::FourCC kOlderDocumentType = pf::four_cc("SHIP");
constexpr pf::FourCC kAppCreator = pf::four_cc("QRVA");
constexpr pf::FourCC kOtherSpreadsheetCreator = pf::four_cc("XCEL");
constexpr pf::FourCC kTextType = pf::four_cc("TEXT");
// The kind an Excel workbook is read as.
constexpr pf::FourCC kExcelType = pf::four_cc("XLS ");

// Save formats (also the items of the Save dialog's format pop-up).
enum FileFormatCode : int16_t {
    kFormatUntitled = 0,
    kFormatNative = 1,
    kFormatSylk = 2,
    kFormatSylkOther = 3,
    kFormatCsv = 4,
    kFormatNone = 5,
    kFormatTabValues = 6,
    kFormatTabFormulas = 7,
    kFormatTabDisplayed = 8,
    kFormatPdfName = 9,
    kFormatExcelImport = 10,
};

// The layer number that stands for the whole workbook.
constexpr uint16_t kWholeWorkbook = 65535;

// File record flags.
constexpr uint32_t kFileNotKeptOpen = 0x1;   // the document's file could not be reopened
constexpr uint32_t kFileUnconverted = 0x2;   // an older document opened without a backup: never saved over
constexpr uint32_t kFileImportLost = 0x4;    // read from a file with losses: never saved over unasked

#pragma pack(push, 2)
struct FileInfoRecord {
    pf::FileSpec spec;         // where the document lives
    uint32_t flags;
    int16_t format_code;       // FileFormatCode of the last save or of the opened file
    int16_t tab_value;         // the first layer whose tab the tab bar shows
    int16_t open_file;         // the document's file held open read-only, 0 none
    MemoryRef editors;         // pictures out for external editing, none when empty
    pf::FileStamp stamp;       // the file as last read or saved here
    TextFileForm text_form;    // a text document's encoding and line ends, as read
    uint8_t text_separator;    // a separated text's separator, as read; 0 for none read
};
#pragma pack(pop)
static_assert(offsetof(FileInfoRecord, flags) == 70, "the flags follow the file location");

// A new file record (format code 0), at `spec` when given (stamped with the
// file there); null when memory is short.
MemoryRef NewFileRec(const pf::FileSpec* spec);
int16_t get_fileType(MemoryRef workbook);
// A copy of a file record, and storing one back; a block too small for the
// record reads as a cleared record and takes nothing.
FileInfoRecord read_file_record(MemoryRef info);
void write_file_record(MemoryRef info, const FileInfoRecord& record);
// The same for the record of a workbook.
FileInfoRecord file_record_of(MemoryRef workbook);
void set_file_record(MemoryRef workbook, const FileInfoRecord& record);

// Notes which file the record's location holds now, as the document's own
// (after reading or saving it).
void stamp_document_file(MemoryRef workbook);
// Whether another file or newer contents took the place of the document's
// file since it was last read or saved here.
bool document_file_replaced(MemoryRef workbook);

// Opens the document's file again read-only and keeps it in the file record.
void reopen_file(MemoryRef workbook);
// Closes the document's file when it is held open.
void close_document_file(MemoryRef workbook);

// Whether the file at `spec` can be opened as a document: 0, or the file error
// that says why not (a folder, unreadable, damaged, newer, of another kind).
int16_t refusal_to_open(const pf::FileSpec& spec);
// Whether a file whose head holds `marker` is a document of some version: it
// begins with the document marker, or its type says it is a document. Any
// other file is not offered a conversion, whatever its second word says.
bool taken_for_document(const pf::FileSpec& spec, int16_t marker);

// Reading (document_reader.cpp).
int16_t Read_File(MemoryRef workbook, const pf::FileSpec& spec, MemoryRef file_info);
MemoryRef ReadSheet(int32_t* counter, int16_t slot_format, int16_t version, int32_t file_length,
                    MemoryRef workbook);
void ResetSheetConstants(MemoryRef layer);
void Open_File_Windows(MemoryRef workbook, int16_t first);
// Appends the layers of the document at `spec` to an open workbook (the file
// part of AddLayer, after the file was chosen).
int16_t add_layers_from_document(MemoryRef workbook, const pf::FileSpec& spec);
int16_t AddLayer(MemoryRef workbook);

// Writing (document_writer.cpp): the whole workbook, or one layer by itself,
// into the open file of the framing layer.
int16_t write_native_document(MemoryRef workbook, uint16_t layer_number);
