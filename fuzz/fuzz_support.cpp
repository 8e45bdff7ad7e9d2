#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/memory_use.h"
#include "files/document_file.h"
#include "files/document_prompts.h"
#include "files/document_saving.h"
#include "formula/recalc.h"
#include "formula/parser.h"
#include "model/workbook.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

int16_t answer_ok(int16_t, int16_t) { return kAnswerOK; }
void ignore_message(int16_t, int16_t) {}
void ignore_error(int16_t) {}
int16_t no_password(const uint8_t*) { return 0; }

}  // namespace

void fuzz_start_application() {
    static bool started = false;
    if (started) return;
    started = true;
    pf::resources_install(resource_bundle_data(), resource_bundle_size());
    msMemStartup(&mem_globals, 0);
    QuorvinInit(&quorvin_rsrv, &mem_globals);
    document_prompts =
        DocumentPrompts{.ask = answer_ok, .tell = ignore_message, .file_error = ignore_error, .password = no_password};
}

void fuzz_close_workbook(MemoryRef workbook) {
    if (!workbook) return;
    close_document_file(workbook);
    DisposeWorkSheet(workbook);
}

void fuzz_open_and_save_document(const uint8_t* data, size_t size) {
    fuzz_empty_folder();
    pf::FileSpec input, output;
    pf::file_spec_from_path(fuzz_write_file("Input.qrv", data, size), input);
    pf::file_spec_from_path(fuzz_folder() + "/Output.qrv", output);
    MemoryRef workbook = sample::new_workbook(&input);
    if (Read_File(workbook, input, Get_fileinfo(workbook)) == 0) {
        ResetWorkbookCalc(workbook);
        calculate_workbook(workbook, kNoTickLimit);
        if (save_workbook_file(find_SpreadSheet_item(workbook, 0), kWholeWorkbook, output, kFormatNative, false, false))
            std::abort();
    }
    fuzz_close_workbook(workbook);
}

const std::string& fuzz_folder() {
    static const std::string folder = [] {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern = std::string(temp && *temp ? temp : "/tmp") + "/quorvin-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        static const std::string made = pattern;
        std::atexit([] { std::filesystem::remove_all(made); });
        return pattern;
    }();
    return folder;
}

void fuzz_empty_folder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz_folder(), error))
        std::filesystem::remove_all(entry.path(), error);
}

std::string fuzz_write_file(const std::string& name, const uint8_t* data, size_t size) {
    std::string path = fuzz_folder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

bool fuzz_parse_formula(const uint8_t* text, size_t size, CellPoint cell, MemoryRef layer,
                        std::vector<uint8_t>& stored) {
    unsigned char typed[256];
    typed[0] = uint8_t(std::min<size_t>(size, 255));
    if (typed[0]) std::memcpy(typed + 1, text, typed[0]);
    MemoryRef formula = nullptr;
    int16_t kind = 0;
    int32_t error_offset = 0;
    const bool parsed = parse_formula_text(typed, cell, layer, &formula, &kind, &error_offset) == 0 && formula;
    stored.clear();
    if (parsed) {
        MemoryUse<const uint8_t> bytes(formula);
        stored.assign(bytes.get(), bytes + GetByteSize(formula));
    }
    DisposeNonNilMemory(formula);
    return parsed;
}
