// Whether a file is one the open command takes, told before any window is made:
// a native document, or a format of the table read by the text reader.
#include "files/document_file.h"

#include "files/file_formats.h"
#include "files/file_framing.h"
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

}  // namespace

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
    const FileFormat* format = format_to_read(spec, info.finder.type);
    if (!(has_head && head.marker == kDocumentMarker) && format && format->reader == FormatReader::text) return 0;
    bool claims_to_be_document = info.finder.type == kDocumentType || info.finder.type == kOlderDocumentType;
    return claims_to_be_document ? kDamagedDocumentErr : kUnknownKindErr;
}
