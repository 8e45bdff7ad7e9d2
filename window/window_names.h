// Window titles: the document name, ":" and the layer name; the names of
// documents never saved and of layers never named.
#pragma once

#include <cstdint>
#include <string>

#include "core/memory_manager.h"
#include "platform/windows/windows.h"

// The longest document name a file record holds.
constexpr int kDocumentNameLimit = 63;

// "Untitled " and the counter; the counter moves on past every name that an
// open document already has.
void GetUntitledName(unsigned char* out);
// The title of a layer's window; gives the document and the layer their
// default names when they have none.
void Get_Wind_Name(unsigned char* out, MemoryRef layer, MemoryRef file_info);
// Gives the layer's window its title, the document's name as its file is
// named: in the script that spells the whole title when Mac Roman cannot.
void show_window_title(pf::WindowRef window, MemoryRef layer, MemoryRef file_info);
void Get_File_Name(MemoryRef workbook, unsigned char* out);
// The name of the workbook's file as it reads, in UTF-8 (its real name when
// Mac Roman cannot spell it); empty for none.
std::string file_name_utf8(MemoryRef workbook);
