// Saving workbooks: Save, Save As and one layer by itself, into the native
// format or a text format, always through a new file that replaces the
// document only once it is complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/memory_manager.h"
#include "platform/files/files.h"

// Save (save_as false) or Save As of the workbook of `shown_layer`; the layer
// number is kWholeWorkbook or the index of the one layer to save. 0, an error,
// or 1 when cancelled.
int16_t DoSave(bool save_as, MemoryRef shown_layer, uint16_t layer_number);

// The save itself, once the target and format are known (the Save dialog's
// choice, or the converter's). `replacing` when the target exists.
int16_t save_workbook_file(MemoryRef shown_layer, uint16_t layer_number, const pf::FileSpec& target,
                           int16_t code, bool replacing, bool chosen_in_dialog);

// A save that replaces a document keeps a note of it while it writes, so
// that a save killed in the middle is settled at a later start (the
// application keeps the notes; a program without windows keeps none).
struct SaveNotes {
    void (*started)(const pf::FileSpec& document);
    void (*ended)();
};
extern SaveNotes save_notes;
// The slots of a program that keeps no notes, in force until the application
// fills them in and again after it shuts down.
extern const SaveNotes kNoSaveNotes;

// Settles what an interrupted save of the document (or of the file a link of
// that name leads to) left beside it: complete new contents are put in the
// document's place, an unfinished copy and a kept copy of the old contents
// are removed. Nothing is touched while the document itself is missing.
// Answers whether new contents were put in place.
bool finish_interrupted_save(const pf::FileSpec& document);
// Tells the user that a cut-short save of the document was finished.
void tell_save_finished(const pf::FileSpec& document);
// finish_interrupted_save, telling the user when new contents were put in
// place; before a document is opened or saved over.
void settle_interrupted_save(const pf::FileSpec& document);

// Writes one layer in a text format into an existing file.
int16_t save_text_file(MemoryRef layer, const pf::FileSpec& spec, int16_t code, bool whole_workbook);
// The separator of a separated text format for the workbook: the one its
// text was read with when that is of the format's kind (a CSV's comma or
// semicolon, a tab text's tab or space), else the format's own.
uint8_t format_separator(int16_t code, MemoryRef workbook);

// The layer of a document kept as text that its file holds (read into it, or
// saved from it last), none when that layer is gone; marking one unmarks the
// workbook's others.
MemoryRef document_text_layer(MemoryRef workbook);
void mark_document_text_layer(MemoryRef layer);
// Gives the file at `spec` the type and creator of the format code.
void settle_type_and_creator(const pf::FileSpec& spec, int16_t code);

// Export: each layer of the workbook into a text file of its own in a folder
// chosen by the user; 0, an error, or 1 when cancelled.
int16_t DoExport(MemoryRef shown_layer);
// The export into `folder` with the dialog's format code (2 SYLK, else text).
int16_t export_layers(MemoryRef workbook, const pf::FileSpec& folder, int16_t dialog_code);
// The layer's name cut so that it and ".number" fit in 30 characters, then ".number".
void export_file_name(MemoryRef layer, int16_t number, unsigned char* name);

// Brings back pictures out for external editing before the file is written.
void CloseEgo(MemoryRef file_info);

// File type and creator of a format code.
pf::FourCC file_type_for_code(int16_t code);
pf::FourCC creator_for_code(int16_t code);
// The format a file name's extension stands for, in any case (".qrv" native,
// ".sylk" and ".slk" SYLK, ".csv", ".txt", ".tab" and ".tsv" tab text); -1
// for any other name.
int16_t format_code_for_name(const unsigned char* name);

// The bytes of the whole letters a name begins with, at most `most`: its
// bytes are in `script`, or in UTF-8 for a negative one.
size_t name_letters_within(std::string_view name, size_t most, int16_t script);

// The Save dialog's file name for a format. A name ending in a known
// extension (".qrv", ".txt", ".csv", ".pdf", ".sylk", ".slk", ".tab", ".tsv")
// keeps it when it names the same format, else gets the format's extension
// in its place (none for codes of no format); a name without one gets the
// format's extension only with `add_extension`. The name's bytes are in
// `script` (0: Roman), or UTF-8 for a negative one (typed in several); a
// name cut to fit is cut between letters.
void adjust_save_name(unsigned char* name, int16_t code, bool add_extension, int16_t script = 0);

// The name the Save dialog first shows for a document of that name saved in
// the format of the code: a name ending in the extension of a format that is
// read but never written (".xls") has the code's extension in its place.
void propose_save_name(const unsigned char* document_name, int16_t code, unsigned char* proposed);

// The format a Save dialog's choice comes to, so that a file's name and
// contents agree: a typed extension of another format chooses that format
// while the pop-up still shows `first_code`; once the pop-up was changed, its
// format's extension takes the place of the typed one. A name without a
// format's extension takes the code's extension when `add_extension`. A name
// longer than a file name may be is cut in its stem, between letters of
// `script` (as adjust_save_name's), keeping the extension.
int16_t settle_save_name(unsigned char* name, int16_t code, int16_t first_code, bool add_extension,
                         int16_t script = 0);

// Whether a save leaves the document with nothing unsaved: the whole
// workbook was written in a format that holds all of it.
bool save_keeps_everything(int16_t code, uint16_t layer_number, int16_t layer_count);
