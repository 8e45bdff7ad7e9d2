// sheetconv IN OUT: opens a document through the application's own reader,
// recalculates it to completion and writes it through the application's own
// writer in the format of OUT's extension (.qrv, .sylk, .csv, .txt); IN may
// also be an Excel workbook. It has no window: questions take their default
// answer and messages go to stderr. The input is read from a private copy, so
// converting an older document never writes a backup or a converted file
// beside it.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/memory_manager.h"
#include "files/document_file.h"
#include "core/alerts.h"
#include "excel/excel_import.h"
#include "files/document_prompts.h"
#include "formula/recalc.h"
#include "files/document_saving.h"
#include "model/calc_globals.h"
#include "model/cell_format.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

int16_t ReadTextFile(const pf::FileSpec& spec, MemoryRef file_info, MemoryRef layer, pf::FourCC type);

namespace {

constexpr int kUsageError = 2;
constexpr int16_t kUnknownKindErr = 1003;
bool failed_quietly = false;

void print_string(const char* what, int16_t list, int16_t index) {
    std::fprintf(stderr, "sheetconv: %s%s\n", what, pf::get_indexed_string(list, index).c_str());
}

int16_t ask(int16_t list, int16_t index) {
    print_string("", list, index);
    return kAnswerOK;
}
void tell(int16_t list, int16_t index) { print_string("", list, index); }
void file_error(int16_t error) { std::fprintf(stderr, "sheetconv: file error %d\n", error); }
int16_t no_password(const uint8_t*) {
    std::fprintf(stderr, "sheetconv: the document asks for a password\n");
    failed_quietly = true;
    return 0;
}

MemoryRef new_workbook(const pf::FileSpec* spec) {
    CellFormat settings;
    GetDefaultFormat(settings.bytes);
    settings.bytes[kFmtSize] = 12;
    settings.bytes[kFmtCellType] = 0;
    return New_WorkSheet(&quorvin_rsrv, NewFileRec(spec), settings.bytes);
}

// A private copy of the input in a folder of its own.
bool copy_input(const std::string& input, std::string& folder, std::string& copy) {
    std::error_code error;
    char pattern[] = "/tmp/sheetconv-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    folder = pattern;
    copy = folder + "/" + std::filesystem::path(input).filename().string();
    return std::filesystem::copy_file(input, copy, error);
}

int16_t read_text_layer(MemoryRef book, const pf::FileSpec& spec) {
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(&quorvin_rsrv, book, &layer, kLayerGridLines | kLayerHeadings, nullptr) != 0) return kNoMemoryErr;
    return ReadTextFile(spec, Get_fileinfo(book), layer, kTextType);
}

int16_t read_excel_layers(MemoryRef book, const pf::FileSpec& spec) {
    MemoryRef layer = nullptr;
    if (New_SpreadSheet(&quorvin_rsrv, book, &layer, kLayerGridLines | kLayerHeadings, nullptr) != 0) return kNoMemoryErr;
    if (int16_t error = ReadExcelFile(spec, Get_fileinfo(book), layer)) {
        failed_quietly = true;  // reported by the reader
        return error;
    }
    return 0;
}

// Opens the input by its kind (content first, then extension); 0 or an error.
int16_t open_input(const std::string& path, MemoryRef* book) {
    pf::FileSpec spec;
    if (pf::OSErr error = pf::file_spec_from_path(path, spec)) return error;
    pf::FinderInfo info;
    if (pf::OSErr error = pf::get_finder_info(spec, info)) return error;
    *book = new_workbook(&spec);
    if (!*book) return kNoMemoryErr;
    if (info.type == kDocumentType || info.type == kOlderDocumentType) {
        int16_t result = Read_File(*book, spec, Get_fileinfo(*book));
        return result == 0 ? 0 : kDamagedFileErr;
    }
    if (info.type == kTextType) return read_text_layer(*book, spec);
    if (is_excel_file(spec)) return read_excel_layers(*book, spec);
    return kUnknownKindErr;
}

int16_t write_output(MemoryRef book, const std::string& path) {
    pf::FileSpec spec;
    pf::OSErr found = pf::file_spec_from_path(path, spec);
    if (found && found != pf::kFileNotFoundErr) return found;
    int16_t code = format_code_for_name(spec.name);
    if (code < 0) {
        std::fprintf(stderr, "sheetconv: %s: unknown output format (use .qrv, .sylk, .csv or .txt)\n", path.c_str());
        failed_quietly = true;
        return kUsageError;
    }
    return save_workbook_file(find_SpreadSheet_item(book, 0), kWholeWorkbook, spec, code, found == 0, true);
}

int convert(const std::string& input, const std::string& output) {
    std::string folder, copy;
    if (!copy_input(input, folder, copy)) {
        std::fprintf(stderr, "sheetconv: cannot read %s\n", input.c_str());
        if (!folder.empty()) std::filesystem::remove_all(folder);
        return 1;
    }
    MemoryRef book = nullptr;
    int16_t error = open_input(copy, &book);
    if (!error) {
        recalculate_workbook(book);
        error = write_output(book, std::filesystem::absolute(output).string());
    }
    if (error && !failed_quietly) std::fprintf(stderr, "sheetconv: conversion failed (%d)\n", error);
    if (book) {
        close_document_file(book);
        DisposeWorkSheet(book);
    }
    std::filesystem::remove_all(folder);
    return error ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || !*argv[1] || !*argv[2]) {
        std::fprintf(stderr, "usage: sheetconv IN OUT\n");
        return kUsageError;
    }
    pf::resources_install(resource_bundle_data(), resource_bundle_size());
    msMemStartup(&mem_globals, 0);
    QuorvinInit(&quorvin_rsrv, &mem_globals);
    document_prompts = DocumentPrompts{ask, tell, file_error, no_password};
    set_unattended_run(true);  // no one is at a keyboard to answer an alert
    int status = convert(argv[1], argv[2]);
    msMachineShutdown(&quorvin_rsrv);
    msMemShutdown(&mem_globals);
    return status;
}
