// Links from a layer to other documents: a list of 328-byte LinkRecords
// (i16 link id; the linked file's 70-byte file specification: i16 volume,
// i32 folder, Str63 name; its Str255 full path), or none.
//
// A link is identified by the linked file's whole specification, never by its
// name alone: two documents of the same name in different folders are two
// different links.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"
#include "platform/files/files.h"

constexpr int kLinkRecordSize = 328;
constexpr int kLinkSpecOffset = 2;
constexpr int kLinkNameOffset = kLinkSpecOffset + 6;
constexpr int kLinkPathOffset = 72;

// The link id of the linked workbook's document in the layer's list, adding a
// link when there is none. A missing workbook does nothing.
void CheckFileInfo(int16_t* link_id, MemoryRef layer, MemoryRef linked_workbook,
                   const unsigned char* name);

// The open workbook whose document's file name equals name (case included).
int16_t MatchFileStr(const unsigned char* name, MemoryRef* workbook);
// The open workbook whose document is the file of the 70-byte specification.
int16_t MatchFileSpec(const uint8_t* spec, MemoryRef* workbook);
// The open workbook of link `link_id` of a layer, by file identity.
int16_t find_link_workbook(MemoryRef layer, int16_t link_id, MemoryRef* workbook);

// After the layer's workbook was saved under a new file specification: every
// open layer's link to the old file follows it. `confirm` is asked once, before
// the first change; the redirection stops when it answers false.
using ConfirmRedirect = bool (*)(const unsigned char* new_name);
void CheckLinks(const uint8_t* new_spec, const unsigned char* new_path, MemoryRef layer,
                ConfirmRedirect confirm);

// The full path of a stored file record in Mac Roman, cut to 255 bytes;
// empty when the record leads nowhere.
void link_path_of(const uint8_t* spec, unsigned char* path);

// Field access.
int16_t link_id(const uint8_t* record);
const uint8_t* link_spec(const uint8_t* record);
