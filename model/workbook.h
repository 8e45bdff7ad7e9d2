// The workbook of one document: its layers, document-wide defaults, undo
// list and redo record, file information, change counter and work flags.
// A workbook is a never-purged MemoryRef holding one WorkSheet.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"

constexpr int16_t kMaxLayers = 32000;
constexpr int16_t kLayerEnd = 31999;  // MoveBefore target meaning "last"

// Work flags.
constexpr uint16_t kWorkProtected = 0x1;
constexpr uint16_t kWorkPassword = 0x2;
constexpr uint16_t kWork1900Dates = 0x4;

// FileInfoRecord bytes this subsystem reads: the file specification first
// (volume i16, folder i32, Str63 name at 6), then the 32-bit flags.
constexpr int kFileSpecSize = 70;
constexpr int kFileSpecFolderOffset = 2;
constexpr int kFileSpecNameOffset = 6;
constexpr int kFileInfoFlagsOffset = 70;

struct WorkSheet {
    MachineRecord* machine;
    MemoryRef layers;  // one MemoryRef per layer, by index
    int16_t layer_count;
    int16_t change_counter;
    MemoryRef undo_list;
    MemoryRef redo;
    MemoryRef file_info;
    int16_t default_font;
    int16_t default_size;
    unsigned char default_font_name[64];
    int16_t default_row_height;
    int16_t default_column_width;
    int16_t spell_layer;
    int16_t second_layer_marker;
    uint8_t password[16];
    uint16_t work_flags;
    uint32_t edit_count;  // every change counted, never reset (the change counter is, by saving)
};

MemoryRef New_WorkSheet(MachineRecord* machine, MemoryRef file_info, const uint8_t* settings);
void DisposeWorkSheet(MemoryRef workbook);

int16_t num_SpreadSheets(MemoryRef workbook);
MemoryRef find_SpreadSheet_item(MemoryRef workbook, int32_t index);
int16_t add_SpreadSheet(MemoryRef workbook, MemoryRef layer);
// Takes the last layer off the workbook's list and count; disposing of it is the caller's.
void remove_last_SpreadSheet(MemoryRef workbook);
int16_t set_SpreadSheet_item(MemoryRef workbook, int32_t index, MemoryRef layer);
int16_t num_WorkSheet_winds(MemoryRef workbook);
int16_t FindSheetName(const unsigned char* name, MemoryRef workbook);
void MoveSheets(int32_t index, MemoryRef workbook);
void DeleteSheet(MemoryRef layer);
void MoveBefore(int16_t from, int16_t to, MemoryRef workbook);

MemoryRef Get_fileinfo(MemoryRef workbook);
void Set_WorkSheet_Font(MemoryRef workbook, int16_t font);
void Set_WorkSheet_TxSize(MemoryRef workbook, int16_t size);
int16_t get_change_ctr(MemoryRef workbook);
void set_change_ctr(MemoryRef workbook, int16_t value);
void increment_change_ctr(MemoryRef layer);
// How many changes the workbook has counted since it was made: grows with the
// change counter but is not reset by saving, so equal counts mean no change between.
uint32_t get_edit_count(MemoryRef workbook);
// Counts a change that leaves the change counter as it is (an undo).
void count_edit(MemoryRef workbook);
int16_t doc_is_really_dirty(MemoryRef workbook);
uint16_t Get_Work_Flags(MemoryRef workbook);
void Set_Work_Flags(MemoryRef workbook, uint16_t flags);
int16_t Get_1900Date_Flag(MemoryRef workbook);
int16_t GetSheet_1900Date_Flag(MemoryRef layer);
void Set_1900Date_Flag(MemoryRef workbook, bool on);
int16_t check_access(MemoryRef layer);
MemoryRef Get_Worksheet(MemoryRef layer);
MemoryRef GetWorkSheet(MemoryRef layer);
int16_t GetSheetUndo(MemoryRef layer);
int16_t GetSheetRedo(MemoryRef layer);
int16_t CalcRowSize(int16_t font, int16_t size);
// The platform's name of a font number, length-prefixed, at most 63 characters.
void font_name_of(int16_t font, unsigned char* name);
