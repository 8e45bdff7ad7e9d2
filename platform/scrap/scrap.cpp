#include "platform/scrap/scrap.h"

#include "platform/draw/picture_png.h"
#include "platform/events/clock.h"
#include "platform/host/host.h"
#include "platform/text/mac_roman.h"

#include <map>
#include <string>

namespace pf {

namespace {

struct Scrap {
    std::map<FourCC, std::vector<uint8_t>> flavours;
    int32_t change_count = 0;
    std::string system_text;  // UTF-8 last written to or read from the system clipboard
    std::vector<uint8_t> system_png;  // the image last read from the system clipboard
    std::u32string unmapped;  // characters of an adopted text that Mac Roman cannot hold
    bool picture_too_large = false;  // the system clipboard's picture was not taken for its size
    bool system_may_have_changed = true;
    bool holds_system = false;  // the system clipboard still holds our last write
    uint32_t read_tick = 0;     // when the system clipboard was last read
};

Scrap scrap;

std::string with_lf_lines(std::string utf8) {
    for (char& c : utf8)
        if (c == '\r') c = '\n';
    return utf8;
}

std::string text_to_system(const std::vector<uint8_t>& mac_roman) {
    return with_lf_lines(mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(mac_roman.data()),
                                                            mac_roman.size())));
}

std::vector<uint8_t> with_cr_lines(std::string_view text) {
    std::vector<uint8_t> lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines.push_back(uint8_t(c == '\n' ? '\r' : c));
    }
    return lines;
}

std::vector<uint8_t> text_from_system(std::string_view utf8) { return with_cr_lines(utf8_to_mac_roman(utf8)); }

std::u32string unmapped_characters(std::string_view utf8) {
    std::u32string found;
    for (size_t i = 0; i < utf8.size();) {
        char32_t code_point = 0;
        unsigned char byte = 0;
        if (!decode_utf8(utf8, i, code_point)) code_point = U'\uFFFD';
        else if (unicode_to_mac_roman(code_point, byte)) continue;
        if (found.find(code_point) == std::u32string::npos) found.push_back(code_point);
    }
    return found;
}

// Another program replaced the clipboard: its text and its picture become
// ours, the rest goes.
void adopt_system(bool has_text, const std::string& utf8, std::vector<uint8_t> png) {
    scrap.flavours.clear();
    if (has_text && !utf8.empty()) scrap.flavours[kScrapText] = text_from_system(utf8);
    scrap.picture_too_large = !png.empty() && png_too_large(png);
    if (!png.empty() && !scrap.picture_too_large)
        if (std::vector<uint8_t> picture = png_to_picture(png); !picture.empty())
            scrap.flavours[kScrapPicture] = std::move(picture);
    scrap.system_text = has_text ? utf8 : std::string();
    scrap.system_png = std::move(png);
    scrap.unmapped = unmapped_characters(scrap.system_text);
    if (!scrap.unmapped.empty()) scrap.flavours[kScrapUnicodeText] = with_cr_lines(utf8);
    ++scrap.change_count;
}

// Hosts report losing the system clipboard, but not always another program
// replacing a clipboard it already held: while we do not hold it, it is read
// again when asked, at most once a tick. Its picture is read only when it
// has no text, text being what a paste takes first.
bool system_needs_reading() {
    return scrap.system_may_have_changed || (!scrap.holds_system && tick_count() != scrap.read_tick);
}

void sync_with_system() {
    if (!system_needs_reading()) return;
    scrap.system_may_have_changed = false;
    scrap.read_tick = tick_count();
    std::string utf8;
    bool has_text = host_get_clipboard_text(utf8);
    if (!has_text) utf8.clear();
    std::vector<uint8_t> png;
    if (utf8.empty() && !host_get_clipboard_png(png)) png.clear();
    if (utf8 != scrap.system_text || png != scrap.system_png) adopt_system(has_text, utf8, std::move(png));
}

// The system clipboard takes our text and picture flavours.
void write_system() {
    ClipboardOffer offer;
    if (auto unicode = scrap.flavours.find(kScrapUnicodeText); unicode != scrap.flavours.end()) {
        offer.has_text = true;
        offer.utf8 = scrap_unicode_text_to_utf8(unicode->second);
    } else if (auto text = scrap.flavours.find(kScrapText); text != scrap.flavours.end()) {
        offer.has_text = true;
        offer.utf8 = text_to_system(text->second);
    }
    if (auto picture = scrap.flavours.find(kScrapPicture); picture != scrap.flavours.end())
        offer.png = [bytes = picture->second] { return picture_to_png(bytes); };
    scrap.system_text = offer.utf8;
    scrap.system_png.clear();
    scrap.unmapped.clear();
    host_set_clipboard(offer);
    scrap.system_may_have_changed = false;
    scrap.holds_system = true;
}

}  // namespace

int32_t scrap_change_count() {
    sync_with_system();
    return scrap.change_count;
}

OSErr zero_scrap() {
    sync_with_system();
    scrap.flavours.clear();
    scrap.picture_too_large = false;
    ++scrap.change_count;
    if (!scrap.system_text.empty() || !scrap.system_png.empty() || scrap.holds_system) write_system();
    return noErr;
}

OSErr put_scrap(FourCC flavour, const void* data, size_t size) {
    if (size && !data) return kParamErr;
    sync_with_system();
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    std::vector<uint8_t>& stored = scrap.flavours[flavour];
    stored.assign(bytes, bytes + size);
    if (flavour == kScrapPicture) scrap.picture_too_large = false;
    if (flavour == kScrapText || flavour == kScrapUnicodeText || flavour == kScrapPicture) write_system();
    return noErr;
}

bool scrap_has_flavour(FourCC flavour) {
    sync_with_system();
    return scrap.flavours.count(flavour) != 0 || (flavour == kScrapPicture && scrap.picture_too_large);
}

OSErr get_scrap(FourCC flavour, std::vector<uint8_t>& data) {
    sync_with_system();
    auto it = scrap.flavours.find(flavour);
    if (it == scrap.flavours.end())
        return flavour == kScrapPicture && scrap.picture_too_large ? kScrapPictureTooLargeErr : kNoScrapFlavourErr;
    data = it->second;
    return noErr;
}

std::u32string scrap_text_unmapped() {
    sync_with_system();
    return scrap.unmapped;
}

void scrap_system_changed() {
    scrap.system_may_have_changed = true;
    scrap.holds_system = false;
}

std::vector<uint8_t> scrap_text_from_utf8(std::string_view utf8) { return text_from_system(utf8); }
std::vector<uint8_t> scrap_unicode_text_from_utf8(std::string_view utf8) {
    return unmapped_characters(utf8).empty() ? std::vector<uint8_t>() : with_cr_lines(utf8);
}
std::string scrap_text_to_utf8(const std::vector<uint8_t>& text) { return text_to_system(text); }
std::string scrap_unicode_text_to_utf8(const std::vector<uint8_t>& text) {
    return with_lf_lines(std::string(text.begin(), text.end()));
}

void scrap_reset() { scrap = Scrap{}; }

}  // namespace pf
