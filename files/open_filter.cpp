// The kinds the Open command reads: those of the format table.
#include "files/open_filter.h"

#include "files/file_formats.h"

bool CanOpenFile(const pf::FileSpec* spec, pf::FourCC* type) {
    if (!spec) return format_of_read_type(*type) != nullptr;
    const FileFormat* format = format_to_read(*spec, *type);
    if (format) *type = format->read_as;
    return format != nullptr;
}

bool NavFilterProc(const pf::FileSpec& item, const pf::CatalogInfo& info, void*) {
    if (info.is_folder) return true;
    pf::FourCC type = info.finder.type;
    return CanOpenFile(&item, &type);
}
