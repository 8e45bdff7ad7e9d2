// The file formats the program reads and writes, described once: each its
// save format code, the kind it is read as, the type a file in it carries, its
// extensions, how its first bytes tell it, its reader and writer, what of a
// workbook it keeps and whether saving in it loses anything. The Open filter,
// the Save dialog's names, the converter and the platform's type guess all
// look here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_manager.h"
#include "platform/files/files.h"

enum class FormatReader : uint8_t { none, document, excel, text, refused };  // refused: told apart so as not to be read as text
enum class FormatWriter : uint8_t { none, native, sylk, text, pdf };  // pdf: printed, not saved
enum class FormatKeeps : uint8_t { workbook, layer };

constexpr int kMaxFormatExtensions = 3;

struct FileFormat {
    int16_t code;         // the save format code (kFormat...) recorded for a file in it
    pf::FourCC read_as;   // the kind its reader takes
    pf::FourCC file_type; // the type a file in it carries; 0 for none of ours
    pf::FourCC creator;
    const char* extensions[kMaxFormatExtensions];  // the first is the one a save adds
    bool (*sniff)(const unsigned char* head, size_t length);  // null: told by name or type
    FormatReader reader;
    FormatWriter writer;
    FormatKeeps keeps;
};

// The format a file is read in: by its first bytes (documents, workbooks,
// SYLK), then the extension of its name, then its type `finder_type`, then
// text content when it has no type. Null when it is none the program reads,
// among them another program's spreadsheet kept as XML text, told by its
// first bytes or its name.
const FileFormat* format_to_read(const pf::FileSpec& spec, pf::FourCC finder_type);

// The format read as the kind `type`; null for a kind the program does not read.
const FileFormat* format_of_read_type(pf::FourCC type);

// The format of a save format code (an untitled document saves natively); null
// for a code of none.
const FileFormat* format_of_code(int16_t code);

// The first saved format whose extensions hold the name's (letters in any
// case, after at least one character); null for none.
const FileFormat* format_of_name(const unsigned char* name);

// Whether a document is saved in the format of the code (a printed PDF is
// not), and the last code one is saved in: the Save dialog offers the codes
// from kFormatNative to that one, named by item `code` of kFormatNameStrings.
bool is_saved_code(int16_t code);
int16_t last_saved_code();

// The extension a save in the format adds ("" for none, or a format not written).
const char* save_extension(int16_t code);

// The first written format (a printed PDF too) whose extensions hold the
// name's, or null; `extension` receives the one the name ends in.
const FileFormat* written_format_of_name(const unsigned char* name, const char** extension);

// The extension the name ends in when it is that of a format read but never
// written (a workbook's ".xls"), else null.
const char* unwritten_extension_of_name(const unsigned char* name);

// The format a file on disk is read in: format_to_read with the type the file
// carries. Null when it is none the program reads.
const FileFormat* format_of_file(const pf::FileSpec& spec);

// Opens the file in its format into the empty workbook: a document as its
// layers, anything else into a new layer with `layer_flags`; the workbook's
// file format becomes the format read (a text's as its name tells it, when
// it tells one), and its file is held open read-only as a document's is.
// Opening a document, the program and the converter alike call this. 0 or an
// error; the readers report their own.
int16_t read_in_format(const FileFormat& format, MemoryRef workbook, const pf::FileSpec& spec, uint32_t layer_flags);

// The reader of the formats read as FormatReader::excel, which the reader's
// own layer registers at start-up: whether a file's first bytes are such a
// workbook, and the reading of one into a layer (0 or an error; it sets the
// workbook's file record anew). Until one is registered no file is read in
// those formats.
struct WorkbookImport {
    bool (*sniff)(const unsigned char* head, size_t length);
    int16_t (*read)(const pf::FileSpec& spec, MemoryRef file_record, MemoryRef layer);
};
void register_workbook_import(const WorkbookImport& import);

// Hands the formats' types, extensions and sniffing routines to the platform,
// which guesses the type of a file that carries none from them. Done when
// the program starts.
void register_file_formats();
