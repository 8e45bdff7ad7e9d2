// File, volume and bundle utilities over the platform's files: opening,
// creating and deleting by file specification, paths as text, lock checks,
// opening with sharing modes, copying a whole fork, folder searches, the
// program's own folders. Every routine answers the platform's error (0 for
// success) and leaves reporting to its caller.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/files.h"

// Deny modes of FSpOpenAware: the access asked for, or-ed with what others are denied.
constexpr int8_t kOpenReadOnly = 1;
constexpr int8_t kOpenWriteOnly = 2;
constexpr int8_t kOpenReadWrite = 3;
constexpr int8_t kDenyOthersRead = 0x10;
constexpr int8_t kDenyOthersWrite = 0x20;

constexpr pf::OSErr kFrameworkErr = -4960;

pf::OSErr OpenFile(const pf::FileSpec* spec, int16_t* ref);
pf::OSErr CreateFile(const pf::FileSpec* spec, pf::FourCC creator, pf::FourCC type, int16_t* ref);
// A new empty file in spec's folder, named by the date and time, opened in ref.
pf::OSErr create_temp_spec(pf::FileSpec* spec, int16_t* ref);
// 1 when both name the same file.
int16_t SameFile(const pf::FileSpec* a, const pf::FileSpec* b);
int16_t HasFileExtension(const unsigned char* name, const unsigned char* extension);
pf::OSErr cstr_path(const pf::FileSpec* spec, char* out);
pf::OSErr PathNameFromDirID(uint32_t folder, int16_t volume, unsigned char* out);

// Re-makes spec's name in the folder of the volume: -1 on any error, else 0.
int16_t FindJobFile(int16_t volume, uint32_t folder, pf::FileSpec* spec);

pf::OSErr CheckVolLock(const unsigned char* volume_name, int16_t volume);
pf::OSErr HOpenAware(int16_t volume, uint32_t folder, const unsigned char* name, int8_t deny_modes, int16_t* ref);
pf::OSErr FSpOpenAware(const pf::FileSpec* spec, int8_t deny_modes, int16_t* ref);
pf::OSErr CopyFork(int16_t source, int16_t destination, void* buffer, int32_t buffer_size);

// Folder searches; a callback may set stopSearch to end both.
extern bool stopSearch;
pf::OSErr SearchDirUpwards(uint32_t folder, int16_t volume, unsigned char* name, const unsigned char* suffix,
                           pf::FileSpec* out);
using SearchProc = pf::OSErr (*)(const pf::FileSpec* item, const pf::CatalogInfo* info, void* reference);
pf::OSErr SearchDirDown(uint32_t folder, int16_t volume, SearchProc folder_proc, SearchProc file_proc,
                        void* reference);

// The full path of the running program's file; empty when it cannot be read.
std::string executable_path();
pf::OSErr LoadFrameworkBundle(const char* name, void** bundle);
