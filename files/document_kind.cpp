// Whether a file is one the open command takes, told before any window is made
// or any question asked: a native document, or a format of the table read by
// the text reader. Only a file that begins with the document marker, or whose
// type says it is a document, is taken for one of any version.
#include "files/document_file.h"

#include "files/file_formats.h"
#include "files/file_framing.h"
#include "platform/resources/byte_reader.h"

namespace {

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

bool taken_for_document(const pf::FileSpec& spec, int16_t marker) {
    if (marker == kDocumentMarker) return true;
    pf::FinderInfo info;
    return pf::get_finder_info(spec, info) == pf::noErr &&
           (info.type == kDocumentType || info.type == kOlderDocumentType);
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
    const bool marked = has_head && head.marker == kDocumentMarker;
    const bool document = taken_for_document(spec, has_head ? head.marker : 0);
    if (document && head.version >= kOldestVersion && head.version <= kCurrentVersion) return 0;
    if (marked && head.version > kCurrentVersion) return kNewerVersionErr;
    const FileFormat* format = format_to_read(spec, info.finder.type);
    if (!marked && format && format->reader == FormatReader::text) return 0;
    return document ? kDamagedDocumentErr : kUnreadableKindErr;
}
