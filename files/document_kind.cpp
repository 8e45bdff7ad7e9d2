// Whether a file is one the open command takes, told before any window is made:
// a native document, or text and SYLK for the interchange readers.
#include "files/document_file.h"

#include <cctype>
#include <string>

#include "files/file_framing.h"
#include "files/open_filter.h"
#include "files/text_exchange.h"
#include "platform/resources/byte_reader.h"

namespace {

constexpr int16_t kUnknownKindErr = 1003;

struct Head {
    int16_t marker = 0;
    int16_t version = 0;
};

// The marker and version words at the head of the file; false when it is shorter.
bool read_head(int16_t ref, Head& head) {
    uint8_t bytes[4];
    int32_t count = sizeof bytes;
    if (pf::read_file(ref, count, bytes) != pf::noErr || count != int32_t(sizeof bytes)) return false;
    pf::ByteReader in{bytes};
    head.marker = in.i16();
    head.version = in.i16();
    return true;
}

bool name_ends_with(const pf::FileSpec& spec, const char* ending) {
    std::string name(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
    const std::string tail(ending);
    if (name.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - tail.size() + i])) != tail[i]) return false;
    return true;
}

}  // namespace

pf::FourCC interchange_type(const pf::FileSpec& spec, pf::FourCC finder_type) {
    if (name_ends_with(spec, ".csv")) return kCsvFileType;
    if (name_ends_with(spec, ".tab")) return kTabFileType;
    if (name_ends_with(spec, ".txt") || name_ends_with(spec, ".slk") || name_ends_with(spec, ".sylk")) return kTextType;
    if (finder_type == kTextType || finder_type == kTabFileType || finder_type == kCsvFileType) return finder_type;
    return !finder_type && file_looks_like_text(spec) ? kTextType : 0;
}

int16_t refusal_to_open(const pf::FileSpec& spec) {
    pf::CatalogInfo info;
    if (pf::OSErr error = pf::get_catalog_info(spec, info)) return error;
    if (info.is_folder) return pf::kNotAFileErr;
    int16_t ref = 0;
    if (pf::OSErr error = pf::open_data_fork(spec, pf::kReadPermission, ref)) return error;
    Head head;
    bool has_head = read_head(ref, head);
    pf::close_file(ref);
    if (has_head && head.version >= kOldestVersion && head.version <= kCurrentVersion) return 0;
    if (has_head && head.marker == kDocumentMarker && head.version > kCurrentVersion) return kNewerVersionErr;
    if (!(has_head && head.marker == kDocumentMarker) && interchange_type(spec, info.finder.type)) return 0;
    bool claims_to_be_document = info.finder.type == kDocumentType || info.finder.type == kOlderDocumentType;
    return claims_to_be_document ? kDamagedDocumentErr : kUnknownKindErr;
}
