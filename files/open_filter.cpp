// The kinds the Open command reads, told by type, by extension and by content.
#include "files/open_filter.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "excel/excel_import.h"
#include "files/document_file.h"
#include "files/text_exchange.h"

namespace {

constexpr size_t kHeadSize = 512;
constexpr pf::FourCC kExcelType = pf::four_cc("XLS ");

// Types that are read as they stand.
constexpr pf::FourCC kOpenableTypes[] = {kExcelType,          pf::four_cc("XLS4"), pf::four_cc("XLS5"),
                                         pf::four_cc("XLS8"), kOlderDocumentType,  kDocumentType,
                                         kTextType,           kTabFileType,        kCsvFileType};

struct Extension {
    const char* ending;
    pf::FourCC type;
};

constexpr Extension kExtensions[] = {{".qrv", kDocumentType}, {".txt", kTextType},    {".sylk", kTextType},
                                     {".slk", kTextType},     {".csv", kCsvFileType}, {".tab", kTabFileType},
                                     {".xls", kExcelType}};

bool name_ends_with(const pf::FileSpec& spec, const char* ending) {
    std::string name(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
    std::string tail(ending);
    if (name.size() < tail.size()) return false;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

pf::FourCC type_by_extension(const pf::FileSpec& spec) {
    for (const Extension& e : kExtensions)
        if (name_ends_with(spec, e.ending)) return e.type;
    return 0;
}

// Up to kHeadSize bytes from the start of the file; its count, 0 when unreadable.
size_t read_file_head(const pf::FileSpec& spec, unsigned char* head) {
    int16_t ref = 0;
    if (pf::open_data_fork(spec, pf::kReadPermission, ref) != pf::noErr) return 0;
    int32_t count = int32_t(kHeadSize);
    pf::OSErr error = pf::read_file(ref, count, head);
    pf::close_file(ref);
    return error == pf::noErr || error == pf::kEndOfFileErr ? size_t(std::max(count, 0)) : 0;
}

bool text_bytes(const unsigned char* head, size_t length) {
    if (length == 0) return false;
    return std::none_of(head, head + length, [](unsigned char c) {
        return c < 0x20 && c != '\t' && c != '\n' && c != '\f' && c != '\r';
    });
}

// A native document or an Excel workbook by its first bytes, whatever its name.
pf::FourCC binary_kind(const unsigned char* head, size_t length) {
    if (length >= 4 && int16_t(head[0] << 8 | head[1]) == kDocumentMarker) {
        int16_t version = int16_t(head[2] << 8 | head[3]);
        if (version >= kOldestVersion && version <= kCurrentVersion)
            return version < kFirstCurrentGeneration ? kOlderDocumentType : kDocumentType;
    }
    return is_excel_head(head, length) ? kExcelType : 0;
}

bool openable_type(pf::FourCC type) {
    return std::find(std::begin(kOpenableTypes), std::end(kOpenableTypes), type) != std::end(kOpenableTypes);
}

}  // namespace

// With a file, its first bytes tell a document or a workbook whatever its name
// or type; then the extension, the type, and text content decide.
bool CanOpenFile(const pf::FileSpec* spec, pf::FourCC* type) {
    if (!spec) return openable_type(*type);
    unsigned char head[kHeadSize];
    size_t length = read_file_head(*spec, head);
    pf::FourCC found = binary_kind(head, length);
    if (!found) found = type_by_extension(*spec);
    if (!found && openable_type(*type)) found = *type;
    if (!found && text_bytes(head, length)) found = kTextType;
    if (found) *type = found;
    return found != 0;
}

bool NavFilterProc(const pf::FileSpec& item, const pf::CatalogInfo& info, void*) {
    if (info.is_folder) return true;
    pf::FourCC type = info.finder.type;
    return CanOpenFile(&item, &type);
}

bool file_looks_like_text(const pf::FileSpec& spec) {
    unsigned char head[kHeadSize];
    return text_bytes(head, read_file_head(spec, head));
}
