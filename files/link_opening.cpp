// Opening the documents a layer links to: an open document is brought forward,
// a closed one is found by its file specification, then by its full path, then
// by asking the user, and read into a new workbook. A link is always matched by
// the whole file specification, never by its name alone.
#include "files/link_opening.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "core/memory_use.h"
#include "files/document_file.h"
#include "files/files_services.h"
#include "formula/calc_services.h"
#include "model/calc_globals.h"
#include "model/layer.h"
#include "model/links.h"
#include "model/model_services.h"
#include "model/workbook.h"
#include "platform/text/mac_roman.h"
#include "resource_ids.h"

namespace {

constexpr int16_t kLookForLinkItem = 1;
constexpr int16_t kOpenLinksItem = 1;
constexpr pf::OSErr kExternalFileSystemErr = -58;

constexpr pf::FourCC kLinkedFileTypes[] = {kDocumentType, kOlderDocumentType, kTextType};

// The name the open dialog's filter lets through while a moved link is looked for.
unsigned char sought_link_name[64];

struct LinkFile {
    int32_t index = -1;  // position in the layer's list
    uint8_t record[kLinkRecordSize];
    pf::FileSpec spec() const {
        pf::FileSpec out;
        std::memcpy(&out, link_spec(record), sizeof out);
        return out;
    }
    const unsigned char* name() const { return record + kLinkNameOffset; }
    const unsigned char* path() const { return record + kLinkPathOffset; }
};

bool find_link(MemoryRef layer, int16_t id, LinkFile* link) {
    MemoryRef list = GetSheetLinks(layer);
    for (int32_t i = 0; list && i < GetMemorySize(list); ++i) {
        GetMemoryRecord(list, i, link->record);
        if (link_id(link->record) != id) continue;
        link->index = i;
        return true;
    }
    return false;
}

bool is_a_file(const pf::FileSpec& spec) {
    pf::CatalogInfo info;
    return pf::get_catalog_info(spec, info) == pf::noErr && !info.is_folder;
}

// The file at the link's stored full path; the platform error when there is none.
pf::OSErr file_at_stored_path(const LinkFile& link, pf::FileSpec* found) {
    const unsigned char* path = link.path();
    if (path[0] == 0) return pf::kFileNotFoundErr;
    std::string posix = pf::mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(path + 1), path[0]));
    if (pf::OSErr error = pf::file_spec_from_path(posix, *found)) return error;
    pf::CatalogInfo info;
    if (pf::OSErr error = pf::get_catalog_info(*found, info)) return error;
    return info.is_folder ? pf::kFileNotFoundErr : pf::noErr;
}

bool stops_the_search(pf::OSErr error) {
    return error == pf::kTooManyFilesOpenErr || error == pf::kIOErr || error == kExternalFileSystemErr;
}

// Asks whether to look for a moved link's file and lets the user choose it.
bool user_finds_file(const LinkFile& link, pf::FileSpec* found) {
    if (model_services.show_caution_alert(link.name(), kLinkMissingAlert, kCautionAlertKind) != kLookForLinkItem)
        return false;
    std::memcpy(sought_link_name, link.name(), sizeof sought_link_name);
    // The search starts in the folder the file was in, while that folder is there.
    pf::FileSpec stored = link.spec(), folder;
    const unsigned char no_name[1] = {0};
    bool folder_exists = pf::make_file_spec(stored.volume, uint32_t(stored.parent), no_name, folder) == pf::noErr;
    int16_t status = files_services.choose_file(folder_exists ? &folder : nullptr, kLinkedFileTypes, int16_t(std::size(kLinkedFileTypes)), 0, found,
                                   kAppCreator, reinterpret_cast<void*>(&navFilterProc));
    sought_link_name[0] = 0;
    return status == pf::noErr && is_a_file(*found);
}

// The file of a link; false when it cannot be found.
bool locate_link_file(const LinkFile& link, pf::FileSpec* found) {
    *found = link.spec();
    if (is_a_file(*found)) return true;
    pf::OSErr error = file_at_stored_path(link, found);
    if (error == pf::noErr) return true;
    if (stops_the_search(error)) {
        files_services.system_error(error);
        return false;
    }
    return user_finds_file(link, found);
}

// The link follows its file to `spec`, and the layer's workbook counts a change.
void move_link(MemoryRef layer, const LinkFile& link, const pf::FileSpec& spec) {
    unsigned char path[256];
    link_path_of(reinterpret_cast<const uint8_t*>(&spec), path);
    MemoryRef list = GetSheetLinks(layer);
    MemoryUse<uint8_t> list_bytes(list);
    auto* record = list_bytes + link.index * kLinkRecordSize;
    std::memcpy(record + kLinkSpecOffset, &spec, sizeof spec);
    std::memset(record + kLinkPathOffset, 0, 256);
    std::memcpy(record + kLinkPathOffset, path, size_t(path[0]) + 1);
    list_bytes.release();
    increment_change_ctr(layer);
}

void bring_forward(MemoryRef workbook) {
    for (int16_t i = 0; i < num_SpreadSheets(workbook); ++i) {
        if (LayerWindow window = GetSheetWind(find_SpreadSheet_item(workbook, i))) {
            calc_services.raise_document_window(window);
            return;
        }
    }
}

// Reads the document at `spec` into a new workbook; a failed read leaves nothing.
void read_linked_document(const pf::FileSpec& spec) {
    MemoryRef file_info = NewFileRec(&spec);
    if (!file_info) return;
    MemoryRef workbook = New_WorkSheet(&quorvin_rsrv, file_info, model_services.preferred_cell_format());
    if (!workbook) {
        DisposeMemory(file_info);
        return;
    }
    if (Read_File(workbook, spec, file_info) == 0) return;
    close_document_file(workbook);
    DisposeWorkSheet(workbook);
}

bool link_is_open(MemoryRef layer, int16_t id) {
    MemoryRef open = nullptr;
    return find_link_workbook(layer, id, &open) != 0;
}

struct LayerLink {
    MemoryRef layer;
    int16_t id;
};

// The links of the workbook's layers whose documents are not open.
std::vector<LayerLink> closed_links(MemoryRef workbook) {
    std::vector<LayerLink> closed;
    for (int16_t l = 0; l < num_SpreadSheets(workbook); ++l) {
        MemoryRef layer = find_SpreadSheet_item(workbook, l);
        MemoryRef list = GetSheetLinks(layer);
        for (int32_t i = 0; list && i < GetMemorySize(list); ++i) {
            uint8_t record[kLinkRecordSize];
            GetMemoryRecord(list, i, record);
            if (record[kLinkNameOffset] != 0 && !link_is_open(layer, link_id(record)))
                closed.push_back({layer, link_id(record)});
        }
    }
    return closed;
}

// The stored file specification of a link, as bytes to compare.
std::string link_file_key(const LayerLink& link) {
    LinkFile file;
    if (!find_link(link.layer, link.id, &file)) return {};
    return std::string(reinterpret_cast<const char*>(link_spec(file.record)), kFileSpecSize);
}

}  // namespace

bool navFilterProc(const pf::FileSpec& item, const pf::CatalogInfo& info, void*) {
    if (info.is_folder) return true;
    return std::memcmp(item.name, sought_link_name, size_t(sought_link_name[0]) + 1) == 0;
}

void OpenLinks(MemoryRef layer, int16_t id) {
    LinkFile link;
    if (!find_link(layer, id, &link)) return;
    MemoryRef open = nullptr;
    if (MatchFileSpec(link_spec(link.record), &open)) {
        bring_forward(open);
        return;
    }
    pf::FileSpec file;
    if (!locate_link_file(link, &file)) return;
    if (std::memcmp(&file, link_spec(link.record), sizeof file) != 0) move_link(layer, link, file);
    // The file found again may be a document that is open already.
    if (MatchFileSpec(reinterpret_cast<const uint8_t*>(&file), &open)) bring_forward(open);
    else read_linked_document(file);
}

void OpenWorkSheetLinks(MemoryRef workbook, int16_t ask) {
    std::vector<LayerLink> closed = closed_links(workbook);
    if (closed.empty()) return;
    if (ask) {
        FileInfoRecord record = file_record_of(workbook);
        if (model_services.show_caution_alert(record.spec.name, kOpenLinksAlert, kCautionAlertKind) != kOpenLinksItem)
            return;
    }
    // Layers may link to one document: it is opened, or looked for, once.
    std::vector<std::string> tried;
    for (const LayerLink& link : closed) {
        std::string file = link_file_key(link);
        if (std::find(tried.begin(), tried.end(), file) != tried.end()) continue;
        tried.push_back(file);
        OpenLinks(link.layer, link.id);
    }
}
