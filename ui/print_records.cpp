#include "ui/print_records.h"

#include <cmath>
#include <cstring>

namespace {

constexpr pf::Rect kDefaultPaper{-32, -16, 752, 592};
constexpr pf::Rect kDefaultPage{0, 0, 720, 576};

int16_t whole_points(double value) { return int16_t(std::lround(value)); }

// A page format read from its flattened form, disposed with the holder.
struct UnflattenedFormat {
    pf::PageFormatRef format = nullptr;
    pf::OSErr error;
    explicit UnflattenedFormat(pf::Handle flattened) : error(pf::print_unflatten_page_format(flattened, format)) {}
    ~UnflattenedFormat() { pf::print_dispose_page_format(format); }
};

struct OwnSession {
    pf::PrintSessionRef session = nullptr;
    pf::OSErr error;
    OwnSession() : error(pf::print_create_session(session)) {}
    ~OwnSession() { pf::print_release_session(session); }
};

}  // namespace

void ConvertRect(const pf::PrintRect& sides, pf::Rect* out, int16_t orientation) {
    int16_t top = whole_points(sides.top), left = whole_points(sides.left);
    int16_t bottom = whole_points(sides.bottom), right = whole_points(sides.right);
    if (orientation == 2 || orientation == 4) *out = pf::Rect{left, top, right, bottom};
    else *out = pf::Rect{top, left, bottom, right};
}

pf::Handle NewPrintRec(pf::Rect* paper) {
    *paper = kDefaultPaper;
    OwnSession own;
    pf::PageFormatRef format = nullptr;
    pf::Handle flattened = nullptr;
    bool changed = false;
    pf::OSErr err = own.error;
    if (!err) err = pf::print_create_page_format(format);
    if (!err) err = pf::print_session_default_page_format(own.session, format);
    if (!err) err = pf::print_session_validate_page_format(own.session, format, changed);
    if (!err) err = DocPaperSize(format, paper);
    if (!err) err = pf::print_flatten_page_format(format, flattened);
    pf::print_dispose_page_format(format);
    return err ? nullptr : flattened;
}

pf::OSErr GetPaperSize(pf::Handle flattened, pf::Rect* paper) {
    *paper = kDefaultPaper;
    UnflattenedFormat read(flattened);
    return read.error ? read.error : DocPaperSize(read.format, paper);
}

pf::OSErr GetPageSize(pf::Handle flattened, pf::Rect* page) {
    *page = kDefaultPage;
    UnflattenedFormat read(flattened);
    return read.error ? read.error : DocPageSize(read.format, page);
}

pf::OSErr DocPaperSize(pf::PageFormatRef format, pf::Rect* paper) {
    pf::PrintRect sides;
    pf::OSErr err = pf::print_get_adjusted_paper_rect(format, sides);
    if (!err) ConvertRect(sides, paper, 0);
    return err;
}

pf::OSErr DocPageSize(pf::PageFormatRef format, pf::Rect* page) {
    pf::PrintRect sides;
    pf::OSErr err = pf::print_get_adjusted_page_rect(format, sides);
    if (!err) ConvertRect(sides, page, 0);
    return err;
}

pf::OSErr ValidatePrintRec(pf::Handle flattened, pf::PrintSessionRef session, bool* changed) {
    UnflattenedFormat read(flattened);
    if (read.error) return read.error;
    OwnSession own;
    if (!session && own.error) return own.error;
    bool altered = false;
    pf::OSErr err = pf::print_session_validate_page_format(session ? session : own.session, read.format, altered);
    if (changed) *changed = altered;
    if (err || !altered) return err;
    pf::Handle valid = nullptr;
    if ((err = pf::print_flatten_page_format(read.format, valid))) return err;
    err = pf::set_handle_size(flattened, pf::get_handle_size(valid));
    if (!err) std::memcpy(*flattened, *valid, size_t(pf::get_handle_size(valid)));
    pf::dispose_handle(valid);
    return err;
}
