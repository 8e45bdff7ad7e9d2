// What every fuzz harness shares: the engine started once without a window,
// and a private folder for the files a reader needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/memory_manager.h"
#include "platform/files/files.h"
#include "tests/files/sample_workbook.h"

// Starts the memory manager, the resources and the calculation globals once;
// questions take their default answer and messages go nowhere.
void fuzz_start_application();

// Workbooks are made as the tests make them (sample::new_workbook, new_layer)
// and disposed of with fuzz_close_workbook.
void fuzz_close_workbook(MemoryRef workbook);

// The harness's private folder (made once under TMPDIR), emptied before each input.
const std::string& fuzz_folder();
void fuzz_empty_folder();
// Writes bytes to a file of the private folder; answers its path.
std::string fuzz_write_file(const std::string& name, const uint8_t* data, size_t size);

// Opens the bytes as a native document, recalculates and saves what opens;
// aborts when what opened cannot be saved.
void fuzz_open_and_save_document(const uint8_t* data, size_t size);

// Parses formula text (cut to 255 bytes) typed into `cell` of `layer`; false
// when it is refused, else the stored formula.
bool fuzz_parse_formula(const uint8_t* text, size_t size, CellPoint cell, MemoryRef layer,
                        std::vector<uint8_t>& stored);

