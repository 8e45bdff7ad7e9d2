#include "window/window_names.h"

#include <cstring>

#include "core/string_utils.h"
#include "files/document_file.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/files/files.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"
#include "platform/windows/windows.h"
#include "window/doc_window.h"
#include "window/window_commands.h"
#include "resource_ids.h"
#include "window/window_services.h"

int16_t untitled_ctr = 0;

namespace {

constexpr int kUntitledItem = 2;
constexpr int kLayerItem = 5;
constexpr int kLayerNameLimit = 31;

bool same_name(const unsigned char* a, const unsigned char* b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

bool name_is_open(const unsigned char* name) {
    for (int32_t i = 0; i < count_open_workbooks(&quorvin_rsrv); ++i) {
        MemoryRef workbook = open_workbook_at(&quorvin_rsrv, i);
        if (workbook && same_name(file_record_of(workbook).spec.name, name)) return true;
    }
    return false;
}

void untitled_name_for(int16_t counter, unsigned char* out) {
    pf::get_indexed_string(out, kFileStrings, kUntitledItem);
    unsigned char number[16];
    ConcatPString(out, Num_To_String(counter, number));
}

// Appends at most `limit` bytes in all.
void append_limited(unsigned char* out, const unsigned char* more, int limit) {
    int room = limit - out[0];
    int taken = more[0] < room ? more[0] : (room > 0 ? room : 0);
    std::memcpy(out + 1 + out[0], more + 1, size_t(taken));
    out[0] = uint8_t(out[0] + taken);
}

void default_layer_name(MemoryRef layer, unsigned char* name) {
    pf::get_indexed_string(name, kPromptStrings, kLayerItem);
    const unsigned char space[] = {1, ' '};
    append_limited(name, space, kLayerNameLimit);
    unsigned char number[16];
    append_limited(name, Num_To_String(GetSheetID(layer) + 1, number), kLayerNameLimit);
}

}  // namespace

void GetUntitledName(unsigned char* out) {
    if (untitled_ctr < 1) untitled_ctr = 1;
    untitled_name_for(untitled_ctr, out);
    while (name_is_open(out) && untitled_ctr < INT16_MAX) untitled_name_for(++untitled_ctr, out);
}

void Get_Wind_Name(unsigned char* out, MemoryRef layer, MemoryRef file_info) {
    FileInfoRecord record = read_file_record(file_info);
    if (record.spec.name[0] == 0) {
        unsigned char untitled[256];
        GetUntitledName(untitled);
        untitled[0] = uint8_t(untitled[0] > kDocumentNameLimit ? kDocumentNameLimit : untitled[0]);
        std::memcpy(record.spec.name, untitled, size_t(untitled[0]) + 1);
        write_file_record(file_info, record);
    }
    std::memcpy(out, record.spec.name, size_t(record.spec.name[0]) + 1);
    const unsigned char colon[] = {1, ':'};
    append_limited(out, colon, 255);
    unsigned char name[32];
    GetSheetName(name, layer);
    if (name[0] == 0) {
        default_layer_name(layer, name);
        SetSheetName(name, layer);
    }
    append_limited(out, name, 255);
}

namespace {

// The title with the document's file name as it reads, when the record holds
// a display form of it (a name Mac Roman cannot spell): in UTF-8, set in the
// one script that spells it all or else in the scripts of its stretches.
void set_title(WindowRef window, const unsigned char* title, const pf::FileSpec& spec) {
    const std::string roman(reinterpret_cast<const char*>(title + 1), title[0]);
    std::string name;
    if (!pf::file_spec_real_name(spec, name) || roman.size() < spec.name[0]) return pf::set_window_title(window, roman);
    pf::set_window_title_utf8(window, name + pf::mac_roman_to_utf8(std::string_view(roman).substr(spec.name[0])));
}

}  // namespace

void show_window_title(WindowRef window, MemoryRef layer, MemoryRef file_info) {
    unsigned char title[256];
    Get_Wind_Name(title, layer, file_info);
    set_title(window, title, read_file_record(file_info).spec);
}

std::string file_name_utf8(MemoryRef workbook) {
    return pf::file_spec_shown_utf8(file_record_of(workbook).spec);
}

void Get_File_Name(MemoryRef workbook, unsigned char* out) {
    FileInfoRecord record = file_record_of(workbook);
    std::memcpy(out, record.spec.name, size_t(record.spec.name[0]) + 1);
}

void rename_all_windows(MemoryRef workbook, MemoryRef file_info) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        WindowRef window = layer ? layer_window(layer) : nullptr;
        if (!window) continue;
        show_window_title(window, layer, file_info);
        window_services.list_window(window);
    }
}

void proxy_all_windows(MemoryRef workbook, MemoryRef) {
    const bool saved = file_record_of(workbook).spec.name[0] != 0 && file_record_of(workbook).format_code != 0;
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        MemoryRef layer = find_SpreadSheet_item(workbook, i);
        if (WindowRef window = layer ? layer_window(layer) : nullptr) pf::set_window_proxy(window, saved);
    }
}
