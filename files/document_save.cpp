// Save and Save As: the file record, the target file (new, or a temporary
// file beside the document that replaces it only when complete), the writers,
// and the bookkeeping that follows a successful save.
//
// Design
//
// Stages. DoSave (Save, Save As, a layer saved by itself) and
// save_workbook_file take a save through these stages, in this order; a
// failure after stage 1 jumps to stage 7.
//   1. Choose: a plain Save writes over the document's file (asking first when
//      another program has replaced it meanwhile); DoSave asks for a
//      file instead when Save As was chosen, the document was never saved, its
//      format code names no writer, its file could not be kept open, it is
//      an older document opened without a backup or lost something on
//      import, or the layer a text document's file holds is gone.
//      ask_for_target brings the dialog back until the file chosen may be
//      replaced.
//   2. Let go: the document's open file is closed, pictures out for editing
//      come back (CloseEgo), save_notes hears that a replacement starts.
//   3. Target: a new file with the format's type and creator, or, to replace
//      a file, a temporary ".<name>.saving" beside it, readable by its owner
//      alone (the file not locked, an earlier save cut short settled first).
//   4. Write: the format's writer into the target, under a failure handler.
//   5. Replace: the complete temporary file is renamed ".<name>.saved"; given
//      the document's mode and owners, it is renamed over the document. A
//      document file with other names (hard links) instead takes the new
//      contents in place, its old contents first copied to ".<name>.old"
//      (readable by its owner alone) and written back if that fails. A
//      symbolic link is followed: the file it leads to is replaced, beside
//      which the temporary files are written. A save cut short before the
//      ".saved" rename leaves the old document, one cut short after it is
//      finished from ".saved" at the next open of the document, or at the
//      next start through the save's note, and the user is told.
//   6. Settle: type and creator, and for a whole workbook saved through the
//      dialog the new location and format in the file record (windows
//      retitled); the change counter goes to 0 when the save kept everything.
//   7. Always: the volume flushed, save_notes told the save ended, the
//      document's file opened again (reopen_file; a failure marks the record
//      so that the next Save asks for a file).
//
// Invariants
//  1. The document's file is never written in place: stage 4 writes only a new
//     or temporary file, and a failed write deletes it.
//  2. A complete document always exists under the document's name, or its
//     complete old and new contents under names beside it until the next
//     open or start puts the new ones in place: no open or start removes a
//     ".saved" file whose document is there.
//  3. The file record (location, format, flags) and the change counter change
//     only after a save that completed; a one-layer save changes neither
//     name nor format.
//  4. Every error is shown once and returned; the user's cancel answers 1.
//  5. A write cut short by running out of memory fails with the memory error
//     and leaves every block of the workbook in use as often as before.
//  6. No save writes over the file of another open document, over a file of
//     another type, or over its own whole document with one layer.
//  7. The document's own file is open again before DoSave returns, whatever
//     the outcome.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/file_utils.h"
#include "core/invariant_checks.h"
#include "core/string_utils.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "files/files_services.h"
#include "files/link_lists.h"
#include "files/sylk.h"
#include "files/file_formats.h"
#include "files/text_exchange.h"
#include "formula/functions_text.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/layer_use.h"
#include "model/links.h"
#include "model/record_bytes.h"
#include "model/workbook.h"
#include "platform/text/mac_roman.h"
#include "platform/text/scripts.h"
#include "resource_ids.h"

namespace {

constexpr int kEgoRecordSize = 36;
// Beside the document a save writes the new contents into ".<name>.saving",
// which becomes ".<name>.saved" once complete; a document with other names
// keeps its old contents in ".<name>.old" while the new ones are copied in.
constexpr char kSavingEnding[] = ".saving";
constexpr char kSavedEnding[] = ".saved";
constexpr char kAsideEnding[] = ".old";

// A Pascal name's bytes.
std::string_view name_bytes(const unsigned char* name) { return {reinterpret_cast<const char*>(name + 1), name[0]}; }

constexpr pf::FourCC kTemporaryType = pf::four_cc("trsh");

void keep_no_note(const pf::FileSpec&) {}
void no_note_kept() {}

MemoryRef workbook_of(MemoryRef layer) { return GetWorkSheet(layer); }

bool known_code(int16_t code) { return code >= kFormatUntitled && code <= kFormatPdfName; }

// ---- Target files ------------------------------------------------------------

// The location of ".<document name><ending>" beside the document, the name cut to fit.
pf::OSErr beside_spec(const pf::FileSpec& document, const char* ending, pf::FileSpec* beside) {
    const int ending_length = int(std::strlen(ending));
    const int kept = std::min<int>(document.name[0], pf::kMaxSpecName - 1 - ending_length);
    unsigned char name[64];
    name[0] = uint8_t(1 + kept + ending_length);
    name[1] = '.';
    std::memcpy(name + 2, document.name + 1, size_t(kept));
    std::memcpy(name + 2 + kept, ending, size_t(ending_length));
    pf::OSErr error = pf::make_file_spec(document.volume, document.parent, name, *beside);
    return error == pf::kFileNotFoundErr ? pf::OSErr(0) : error;
}

// A new empty file beside `target`, for the owner's eyes only.
pf::OSErr create_temp_beside(const pf::FileSpec& target, const char* ending, pf::FileSpec* temp) {
    if (pf::OSErr error = beside_spec(target, ending, temp)) return error;
    return pf::create_private_file(*temp, kTemporaryType, kTemporaryType);
}

// Whether other names (hard links) share the document's file, so that only
// writing into that file reaches them all.
bool shares_its_file(const pf::FileSpec& document) {
    int names = 1;
    return pf::count_names(document, names) == 0 && names > 1;
}

// The complete new contents in `saved` take the document's place: copied into
// the document's own file when other names share it, else renamed over it with
// the document's mode and owners.
pf::OSErr put_in_place(const pf::FileSpec& saved, const pf::FileSpec& document) {
    if (shares_its_file(document)) {
        if (pf::OSErr error = pf::write_over(saved, document)) return error;
        return pf::delete_file(saved);
    }
    if (pf::OSErr error = pf::copy_access(document, saved)) return error;
    return pf::move_over(saved, document);
}

// A copy of the document's contents beside it, kept while they are written over.
pf::OSErr keep_old_contents(const pf::FileSpec& document, pf::FileSpec* kept) {
    if (pf::OSErr error = create_temp_beside(document, kAsideEnding, kept)) return error;
    return pf::write_over(document, *kept);
}

// Writing over a document with other names failed: its old contents go back,
// or, when that fails too, both copies stay for the next open to finish.
void undo_writing_over(const pf::FileSpec& saved, const pf::FileSpec& kept, const pf::FileSpec& document) {
    if (pf::write_over(kept, document)) return;
    pf::delete_file(saved);
    pf::delete_file(kept);
}

// The complete temporary file becomes ".<name>.saved" and takes the document's
// place; from that rename on, a save cut short is finished at the next open or
// start. A document whose file has other names is written over in place, its
// old contents kept under a name of their own until the new ones are in.
pf::OSErr replace_document(const pf::FileSpec& temp, const pf::FileSpec& document) {
    const bool in_place = shares_its_file(document);
    pf::FileSpec kept{}, saved;
    if (pf::OSErr error = beside_spec(document, kSavedEnding, &saved)) return error;
    if (in_place) {
        if (pf::OSErr error = keep_old_contents(document, &kept)) {
            pf::delete_file(kept);
            return error;
        }
    }
    if (pf::OSErr error = pf::rename_file(temp, saved.name)) {
        if (in_place) pf::delete_file(kept);
        return error;
    }
    pf::OSErr error = put_in_place(saved, document);
    if (!in_place) {
        if (error) pf::delete_file(saved);  // the document was not touched
        return error;
    }
    if (error) undo_writing_over(saved, kept, document);
    else pf::delete_file(kept);
    return error;
}

// ---- Writing -----------------------------------------------------------------

int16_t write_native_file(MemoryRef workbook, uint16_t layer_number, const pf::FileSpec& spec) {
    int16_t ref = 0;
    if (pf::OSErr error = pf::open_data_fork(spec, pf::kWritePermission, ref)) {
        report_file_error(error);
        return error;
    }
    f_ref = ref;
    CleanFileData(workbook);
    pf::set_file_position(f_ref, pf::kFromStart, 0);
    int16_t error = write_native_document(workbook, layer_number);
    CleanUp(error);
    return error;
}

// The writer of a save format code; the text writer for a code of none.
FormatWriter writer_of(int16_t code) {
    const FileFormat* format = format_of_code(code);
    return format ? format->writer : FormatWriter::text;
}

int16_t write_target(MemoryRef shown_layer, uint16_t layer_number, const pf::FileSpec& spec, int16_t code) {
    MemoryRef workbook = workbook_of(shown_layer);
    if (writer_of(code) == FormatWriter::native) return write_native_file(workbook, layer_number, spec);
    MemoryRef layer = layer_number == kWholeWorkbook ? shown_layer : find_SpreadSheet_item(workbook, layer_number);
    return save_text_file(layer, spec, code, layer_number == kWholeWorkbook);
}

}  // namespace

uint8_t format_separator(int16_t code, MemoryRef workbook) {
    const uint8_t read = file_record_of(workbook).text_separator;
    if (code == kFormatCsv) return read == kSemicolonSeparator ? read : kCommaSeparator;
    return read == kSpaceSeparator ? read : kTabSeparator;
}

namespace {

// The text writer of a format code, into the open file, in the encoding and
// with the line ends the workbook's text was read with.
int16_t write_text_layer(MemoryRef layer, int16_t code, int32_t* counter, ExportReport* losses) {
    if (writer_of(code) == FormatWriter::sylk)
        return write_sylk(layer, counter, code == kFormatSylkOther ? SylkVariant::other_spreadsheets : SylkVariant::own,
                          losses);
    const FieldSource source = code == kFormatCsv || code == kFormatTabFormulas ? FieldSource::formulas
                               : code == kFormatTabDisplayed                   ? FieldSource::displayed
                                                                               : FieldSource::values;
    MemoryRef workbook = workbook_of(layer);
    return write_text_file(layer, source, format_separator(code, workbook), file_record_of(workbook).text_form, counter,
                           losses);
}

// ---- After a save ------------------------------------------------------------

void remember_location(MemoryRef workbook, const pf::FileSpec& spec, int16_t code) {
    FileInfoRecord record = file_record_of(workbook);
    record.spec = spec;
    record.format_code = code;
    record.flags &= ~(kFileUnconverted | kFileImportLost);
    set_file_record(workbook, record);
    MemoryRef file_info = Get_fileinfo(workbook);
    files_services.rename_windows(workbook, file_info);
    if (code == kFormatUntitled) return;
    files_services.proxy_windows(workbook, file_info);
    files_services.remember_document(&spec, 1);
}

bool is_text_code(int16_t code) { return code > kFormatNative && known_code(code); }

void settle_change_counter(MemoryRef workbook, int16_t code, uint16_t layer_number) {
    if (save_keeps_everything(code, layer_number, num_SpreadSheets(workbook))) {
        set_change_ctr(workbook, 0);
        return;
    }
    if (layer_number == kWholeWorkbook) document_prompts.tell(kFileStrings, kOtherLayersUnsaved);
}

int16_t make_target(const pf::FileSpec& target, int16_t code, bool replacing, pf::FileSpec* written) {
    if (!replacing) {
        *written = target;
        return pf::create_file(target, creator_for_code(code), file_type_for_code(code));
    }
    if (pf::OSErr error = pf::check_object_lock(target)) return error;
    settle_interrupted_save(target);
    return create_temp_beside(target, kSavingEnding, written);
}

// Access counts of the workbook and its layers' blocks, so that a write cut
// short by a memory failure leaves each as it was.
struct HeldBlock {
    MemoryRef ref;
    int32_t count;
};

std::vector<HeldBlock> held_blocks(MemoryRef workbook) {
    std::vector<HeldBlock> held{{workbook, GetAccessCtr(workbook)}};
    for (int16_t index = 0; index < num_SpreadSheets(workbook); ++index) {
        MemoryRef layer = find_SpreadSheet_item(workbook, index);
        if (!layer) continue;
        held.push_back({layer, GetAccessCtr(layer)});
        ConstLayerUse sheet(layer);
        for (MemoryRef block : {sheet->cells, sheet->column_formats, sheet->row_formats, sheet->row_page_breaks,
                                sheet->column_page_breaks, sheet->links, sheet->header, sheet->footer,
                                sheet->named_ranges, sheet->stored_objects})
            if (block) held.push_back({block, GetAccessCtr(block)});
    }
    return held;
}

// Brings the blocks the workbook holds now back to the counts they had; blocks
// the writer replaced or disposed of on the way are not touched.
void release_held_blocks(MemoryRef workbook, const std::vector<HeldBlock>& before) {
    for (const HeldBlock& now : held_blocks(workbook))
        for (const HeldBlock& was : before)
            if (was.ref == now.ref)
                while (GetAccessCtr(now.ref) > was.count) UnuseMemory(now.ref);
}

// Invariant 5 after a write cut short: every block the workbook still holds
// is in use as often as before the write.
void check_blocks_as_before(MemoryRef workbook, const std::vector<HeldBlock>& before) {
    if (!invariants_checked()) return;
    for (const HeldBlock& now : held_blocks(workbook))
        for (const HeldBlock& was : before)
            if (was.ref == now.ref)
                check_invariant(now.count == was.count, "saving", 5, "a failed write left a block's uses changed");
}

// The writer under a failure handler: running out of memory fails the save
// with the memory error instead of ending the program.
int16_t write_target_guarded(MemoryRef shown_layer, uint16_t layer_number, const pf::FileSpec& spec, int16_t code) {
    MemoryRef workbook = workbook_of(shown_layer);
    const std::vector<HeldBlock> held = held_blocks(workbook);
    int16_t error = 0;
    int16_t failure = with_failure_handler(&mem_globals, [&] {
        error = write_target(shown_layer, layer_number, spec, code);
    });
    if (!failure) return error;
    release_held_blocks(workbook, held);
    check_blocks_as_before(workbook, held);
    if (f_ref)
        CleanUp(kNoMemoryErr);
    else
        report_file_error(kNoMemoryErr);
    return kNoMemoryErr;
}

// ---- The Save dialog -----------------------------------------------------------

// Whether the file is that of an open workbook other than `workbook`: writing
// over it would leave that document tied to contents it does not show, and
// its next save would write over them in turn.
bool file_of_other_document(MemoryRef workbook, const pf::FileSpec& file) {
    const MachineRecord* machine = MemoryUse<WorkSheet>(workbook)->machine;
    for (int32_t i = 0; i < count_open_workbooks(machine); ++i) {
        MemoryRef other = open_workbook_at(machine, i);
        if (other != workbook && record_is_of_file(Get_fileinfo(other), file)) return true;
    }
    return false;
}

// Whether one layer saved by itself would replace the file of its whole
// document, which would then hold that layer alone while the document, saved
// as far as it knows, closes without asking.
bool layer_over_own_file(MemoryRef workbook, uint16_t layer_number, const pf::FileSpec& file) {
    return layer_number != kWholeWorkbook && num_SpreadSheets(workbook) > 1 &&
           record_is_of_file(Get_fileinfo(workbook), file);
}

// The Save dialog until it gives a file the chosen format may replace and no
// other open document holds: 0, 1 when cancelled, or an error. A refused
// choice comes back in the dialog, in its folder and under its name.
int16_t ask_for_target(MemoryRef workbook, uint16_t layer_number, SaveRequest& request) {
    pf::FileSpec refused{};
    for (;;) {
        if (int16_t answer = document_prompts.save_dialog(request)) return answer;
        if (!request.replacing) return 0;
        pf::FinderInfo info;
        pf::get_finder_info(request.chosen, info);
        if (file_of_other_document(workbook, request.chosen))
            document_prompts.tell(kErrorStrings, kFileOfOpenDocument);
        else if (layer_over_own_file(workbook, layer_number, request.chosen))
            document_prompts.tell(kErrorStrings, kLayerOverOwnFile);
        else if (info.type == file_type_for_code(request.code))
            return 0;
        else
            document_prompts.tell(kErrorStrings, kWrongFileType);
        refused = request.chosen;
        request.location = &refused;
        request.name = refused.name;
    }
}

// Why Save asks for a name instead of writing over the document's file: the
// item of STR# 130 that says so, or 0.
int16_t reason_to_ask(const FileInfoRecord& record) {
    if (record.flags & kFileUnconverted) return kUnconvertedSaveAs;
    if (record.flags & kFileImportLost) return kLossyImportSaveAs;
    return 0;
}

}  // namespace

const SaveNotes kNoSaveNotes{keep_no_note, no_note_kept};
SaveNotes save_notes = kNoSaveNotes;

void settle_type_and_creator(const pf::FileSpec& spec, int16_t code) {
    pf::FinderInfo info;
    pf::get_finder_info(spec, info);
    if (info.type == file_type_for_code(code) && info.creator == creator_for_code(code)) return;
    info.type = file_type_for_code(code);
    info.creator = creator_for_code(code);
    pf::set_finder_info(spec, info);
}

bool finish_interrupted_save(const pf::FileSpec& named) {
    pf::FileSpec document;  // the copies lie beside the file a link leads to
    pf::follow_links(named, document);
    pf::FinderInfo info;
    if (pf::get_finder_info(document, info) != 0) return false;  // without the document a copy may be all there is
    pf::FileSpec saving, saved, kept;
    if (beside_spec(document, kSavingEnding, &saving) || beside_spec(document, kSavedEnding, &saved) ||
        beside_spec(document, kAsideEnding, &kept))
        return false;
    pf::delete_file(saving);
    const bool complete = pf::check_file_spec(saved) == 0;
    const bool finished = complete && put_in_place(saved, document) == 0;
    if (!complete || finished) pf::delete_file(kept);  // else the next open tries again
    return finished;
}

void tell_save_finished(const pf::FileSpec& document) {
    document_prompts.tell_figures(kFileStrings, kInterruptedSaveFinished,
                                  {std::string(name_bytes(document.name))});
}

void settle_interrupted_save(const pf::FileSpec& document) {
    if (finish_interrupted_save(document)) tell_save_finished(document);
}

pf::FourCC file_type_for_code(int16_t code) {
    const FileFormat* format = format_of_code(code);
    return format && format->file_type ? format->file_type : kTextType;
}

pf::FourCC creator_for_code(int16_t code) {
    const FileFormat* format = format_of_code(code);
    return format && format->creator ? format->creator : kAppCreator;
}

namespace {

// Whether a name ends in the extension (letters in any case), after at least one character.
bool has_extension(const unsigned char* name, const char* extension) {
    unsigned char pascal[16];
    set_pstring(pascal, extension, sizeof pascal - 1);
    return HasFileExtension(name, pascal) != 0;
}

void append_extension(unsigned char* name, int16_t code, int16_t script) {
    const char* extension = save_extension(code);
    size_t length = std::strlen(extension);
    if (name[0] + length > size_t(pf::kMaxSpecName))
        name[0] = uint8_t(name_letters_within(name_bytes(name), pf::kMaxSpecName - length, script));
    std::memcpy(name + 1 + name[0], extension, length);
    name[0] = uint8_t(name[0] + length);
}

// Whether two formats' saves add the same extension.
bool same_save_extension(int16_t code, int16_t other) {
    return std::strcmp(save_extension(code), save_extension(other)) == 0;
}

}  // namespace

size_t name_letters_within(std::string_view name, size_t most, int16_t script) {
    if (script < 0) return pf::utf8_whole_letters(name, most);
    return size_t(whole_character_bytes(reinterpret_cast<const uint8_t*>(name.data()), int32_t(name.size()),
                                        int32_t(most), script));
}

void adjust_save_name(unsigned char* name, int16_t code, bool add_extension, int16_t script) {
    const char* own = nullptr;
    if (const FileFormat* format = written_format_of_name(name, &own)) {
        if (same_save_extension(format->code, code)) return;
        name[0] = uint8_t(name[0] - std::strlen(own));
        append_extension(name, code, script);
        return;
    }
    if (add_extension) append_extension(name, code, script);
}

void propose_save_name(const unsigned char* document_name, int16_t code, unsigned char* proposed) {
    std::memcpy(proposed, document_name, size_t(document_name[0]) + 1);
    if (const char* unwritten = unwritten_extension_of_name(proposed)) {
        proposed[0] = uint8_t(proposed[0] - std::strlen(unwritten));
        append_extension(proposed, code, pf::kScriptRoman);
    }
}

int16_t format_code_for_name(const unsigned char* name) {
    const FileFormat* format = format_of_name(name);
    return format ? format->code : int16_t(-1);
}

namespace {

// The format a typed name settles on, with its extension as settled.
int16_t settled_code(unsigned char* name, int16_t code, int16_t first_code, bool add_extension, int16_t script) {
    const int16_t typed = format_code_for_name(name);
    if (typed < 0) {
        if (add_extension) append_extension(name, code, script);
        return code;
    }
    if (same_save_extension(typed, code)) return code;
    if (code == first_code) return typed;
    adjust_save_name(name, code, true, script);
    return code;
}

// A name longer than a file name may be loses the end of its stem, cut
// between letters; the format's extension, when the name ends in it, stays on.
void fit_file_name(unsigned char* name, int16_t code, int16_t script) {
    if (name[0] <= pf::kMaxSpecName) return;
    const char* extension = save_extension(code);
    if (*extension && has_extension(name, extension)) {
        name[0] = uint8_t(name[0] - std::strlen(extension));
        append_extension(name, code, script);
    } else {
        name[0] = uint8_t(name_letters_within(name_bytes(name), pf::kMaxSpecName, script));
    }
}

}  // namespace

int16_t settle_save_name(unsigned char* name, int16_t code, int16_t first_code, bool add_extension, int16_t script) {
    const int16_t settled = settled_code(name, code, first_code, add_extension, script);
    fit_file_name(name, settled, script);
    return settled;
}

bool save_keeps_everything(int16_t code, uint16_t layer_number, int16_t layer_count) {
    if (layer_number != kWholeWorkbook) return false;
    const FileFormat* format = format_of_code(code);
    return (format && format->keeps == FormatKeeps::workbook) || layer_count < 2;
}

void CloseEgo(MemoryRef file_info) {
    MemoryRef editors = read_file_record(file_info).editors;
    if (!editors) return;
    int32_t before = GetMemorySize(editors) + 1;
    while (GetMemorySize(editors) > 0 && GetMemorySize(editors) < before) {
        before = GetMemorySize(editors);
        for (int32_t i = before - 1; i >= 0; --i) {
            uint8_t ego[kEgoRecordSize];
            GetMemoryRecord(editors, i, ego);
            files_services.send_come_home(load_u32(ego), load_u32(ego + 4), load_i16(ego + 8));
        }
    }
}

int16_t save_text_file(MemoryRef layer, const pf::FileSpec& spec, int16_t code, bool whole_workbook) {
    int16_t ref = 0;
    if (pf::OSErr error = pf::open_data_fork(spec, pf::kWritePermission, ref)) {
        report_file_error(error);
        return error;
    }
    f_ref = ref;
    if (whole_workbook && num_SpreadSheets(workbook_of(layer)) > 1 &&
        document_prompts.ask(kFileStrings, kOnlyShownLayer) != kAnswerOK) {
        CleanUp(0);
        return kDamagedFileErr;
    }
    int32_t counter = 0;
    ExportReport losses;
    int16_t error = write_text_layer(layer, code, &counter, &losses);
    if (!error && f_ref) error = end_file_at(counter);
    CleanUp(error);
    if (!error) report_export(losses);
    return error;
}

namespace {



bool same_spec(const pf::FileSpec& a, const pf::FileSpec& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Stage 4 writes a new file or a temporary one beside the document, never the
// document's file in place (invariant 1).
void check_write_target(const pf::FileSpec& target, const pf::FileSpec& written, bool replacing) {
    check_invariant(!replacing || !same_spec(written, target), "saving", 1, "the document's file is written in place");
}

// What invariants 3 and 7 compare across a save: the file record and the
// change counter before it.
struct SaveWatch {
    FileInfoRecord record{};
    int16_t changes = 0;
};

SaveWatch watch_save(MemoryRef workbook) {
    if (!invariants_checked()) return SaveWatch{};
    return SaveWatch{file_record_of(workbook), get_change_ctr(workbook)};
}

// After stage 7: a failed save left the location and the format as they were
// and a changed document changed (3), and the document's own file is open again, or
// marked as not kept open when it could not be (7).
void check_save_ended(MemoryRef workbook, const SaveWatch& before, int16_t error) {
    if (!invariants_checked()) return;
    const FileInfoRecord after = file_record_of(workbook);
    if (error) {
        check_invariant(same_spec(after.spec, before.record.spec) && after.format_code == before.record.format_code,
                        "saving", 3, "a failed save changed the file record");
        // Dropping unused links before the write counts as a change of its own.
        check_invariant(before.changes == 0 || get_change_ctr(workbook) != 0, "saving", 3,
                        "a failed save marked the document unchanged");
    }
    check_invariant(after.format_code == kFormatUntitled || after.open_file != 0 || (after.flags & kFileNotKeptOpen),
                    "saving", 7, "the document's file is not open again after a save");
}

}  // namespace

int16_t save_workbook_file(MemoryRef shown_layer, uint16_t layer_number, const pf::FileSpec& target, int16_t code,
                           bool replacing, bool chosen_in_dialog) {
    MemoryRef workbook = workbook_of(shown_layer);
    const SaveWatch watch = watch_save(workbook);
    close_document_file(workbook);
    CloseEgo(Get_fileinfo(workbook));
    pf::FileSpec written;
    // A document reached through a symbolic link replaces the file it leads to.
    pf::FileSpec replaced = target;
    if (replacing) {
        pf::follow_links(target, replaced);
        save_notes.started(target);
    }
    int16_t error = make_target(replaced, code, replacing, &written);
    if (!error) {
        check_write_target(replaced, written, replacing);
        error = write_target_guarded(shown_layer, layer_number, written, code);
        if (error) pf::delete_file(written);
    } else {
        report_file_error(error);
    }
    if (!error && replacing) {
        // Typed before the swap, so that the document has its type whenever the save stops.
        settle_type_and_creator(written, code);
        error = replace_document(written, replaced);
        if (error) {
            report_file_error(error);
            pf::delete_file(written);
        }
    }
    if (!error) {
        settle_type_and_creator(target, code);
        if (chosen_in_dialog && layer_number == kWholeWorkbook) remember_location(workbook, target, code);
        if (record_is_of_file(Get_fileinfo(workbook), target)) stamp_document_file(workbook);
        if (layer_number == kWholeWorkbook && is_text_code(code)) mark_document_text_layer(shown_layer);
        settle_change_counter(workbook, code, layer_number);
    }
    pf::flush_volume(target.volume);
    if (replacing) save_notes.ended();
    reopen_file(workbook);
    check_save_ended(workbook, watch, error);
    return error;
}

namespace {

// Whether the folder of the document's file is still there: a Save dialog
// started in a folder that is gone shows nothing to choose from.
bool folder_still_there(const pf::FileSpec& spec) { return pf::check_file_spec(spec) != pf::kDirectoryNotFoundErr; }

// Whether the document's file is still there to be replaced; a file removed
// while the document was open is written anew in its place.
bool file_still_there(const pf::FileSpec& spec) { return pf::check_file_spec(spec) == pf::noErr; }

// Whether Save may write over the document's file: asked when another
// program has put other contents there since it was read or saved here.
bool may_write_over(MemoryRef workbook) {
    return !document_file_replaced(workbook) || document_prompts.ask(kFileStrings, kReplacedElsewhere) == kAnswerOK;
}

}  // namespace

MemoryRef document_text_layer(MemoryRef workbook) {
    for (int16_t i = 0; MemoryRef layer = find_SpreadSheet_item(workbook, i); ++i) {
        const bool holds = LayerUse(layer)->holds_document_text;
        if (holds) return layer;
    }
    return nullptr;
}

void mark_document_text_layer(MemoryRef layer) {
    MemoryRef workbook = workbook_of(layer);
    for (int16_t i = 0; MemoryRef other = find_SpreadSheet_item(workbook, i); ++i) {
        LayerUse(other)->holds_document_text = other == layer;
    }
}

int16_t DoSave(bool save_as, MemoryRef shown_layer, uint16_t layer_number) {
    MemoryRef workbook = workbook_of(shown_layer);
    FileInfoRecord record = file_record_of(workbook);
    int16_t code = record.format_code;
    const int16_t reason = reason_to_ask(record);
    // A plain Save of a text document writes the layer its file holds; when
    // that layer is gone, the user names the file to write.
    MemoryRef file_layer = layer_number == kWholeWorkbook && is_text_code(code) ? document_text_layer(workbook) : shown_layer;
    bool dialog = save_as || code == kFormatUntitled || !known_code(code) || (record.flags & kFileNotKeptOpen) || reason ||
                  !file_layer;
    if (!dialog) {
        const bool replacing = file_still_there(record.spec);
        if (replacing && !may_write_over(workbook)) return 1;
        return save_workbook_file(file_layer, layer_number, record.spec, code, replacing, false);
    }
    if (code != kFormatUntitled) files_services.remember_document(&record.spec, 1);
    SaveRequest request;
    request.location = code && folder_still_there(record.spec) ? &record.spec : nullptr;
    request.code = code < kFormatNative || !known_code(code) ? int16_t(kFormatNative) : code;
    unsigned char proposed[64];
    propose_save_name(record.spec.name, request.code, proposed);
    request.name = proposed;
    request.reason = reason;
    if (int16_t answer = ask_for_target(workbook, layer_number, request)) return answer;
    if (layer_number == kWholeWorkbook && code == kFormatUntitled) {
        // Links of open documents to this untitled one follow it to its new home.
        std::string path;
        pf::path_from_file_spec(request.chosen, path);
        unsigned char new_path[256] = {uint8_t(path.size() > 255 ? 255 : path.size())};
        std::memcpy(new_path + 1, path.data(), new_path[0]);
        CheckLinks(reinterpret_cast<const uint8_t*>(&request.chosen), new_path, shown_layer, nullptr);
    }
    return save_workbook_file(shown_layer, layer_number, request.chosen, request.code, request.replacing, true);
}
