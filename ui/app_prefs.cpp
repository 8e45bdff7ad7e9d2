// The preferences record: its factory settings, its file form, and where its
// file lies.
#include "ui/app_prefs.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "files/file_framing.h"
#include "files/running_copies.h"
#include "model/cell_format.h"
#include "model/record_bytes.h"
#include "platform/fonts/fonts.h"
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"
#include "platform/system/system.h"
#include "platform/text/text.h"
#include "resource_ids.h"
#include "ui/colours.h"

AppPrefs app_prefs;
bool prefs_were_reset = false;

namespace {

constexpr uint8_t kFactoryFontSize = 12;
constexpr uint8_t kFactoryDateFormat = 1;
constexpr uint8_t kFactoryDecimals = 2;
constexpr uint8_t kThousandsSeparator = 0x02;
constexpr uint8_t kFactoryColumnWidth = 76;
constexpr int16_t kFactoryUndoDepth = 3;
constexpr uint32_t kFactoryOptions = 0x0C8141F3;
constexpr uint32_t kFactoryOptions2 = 0x00000208;
constexpr int16_t kMarginCentimetres = 0;
constexpr int16_t kMarginInches = 1;
constexpr int kPrefsFileNameItem = 3;

void factory_cell_format(uint8_t* format) {
    int16_t font = pf::system_script() == pf::kScriptRoman ? int16_t(pf::font_number("Lucida Grande"))
                                                           : int16_t(pf::kApplFont);
    store_i16(format + kFmtFont, font);
    format[kFmtSize] = kFactoryFontSize;
    format[kDefaultDateFormatByte] = kFactoryDateFormat;
    format[kFmtDecimals] = kFactoryDecimals;
    format[kDefaultNumberFlagsByte] = kThousandsSeparator;
    format[kDefaultColumnWidthByte] = kFactoryColumnWidth;
}

// Stores each field big-endian at the next position of the file bytes.
struct FileWriter {
    uint8_t* at;
    void u16(uint16_t v) {
        at[0] = uint8_t(v >> 8);
        at[1] = uint8_t(v);
        at += 2;
    }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v) {
        u16(uint16_t(v >> 16));
        u16(uint16_t(v));
    }
    // A 32-bit field of the packed record, copied out: it may lie off its alignment.
    void u32_field(const void* field) {
        uint32_t v;
        std::memcpy(&v, field, sizeof v);
        u32(v);
    }
    void point(const pf::Point& p) {
        i16(p.v);
        i16(p.h);
    }
    void bytes(const unsigned char* from, size_t length) {
        std::memcpy(at, from, length);
        at += length;
    }
    void format(const uint8_t* from) {
        std::memcpy(at, from, kCellFormatSize);
        ByteFlipCellFData(at);
        at += kCellFormatSize;
    }
};

// Takes each field, big-endian, from the next position of the file bytes.
struct FileReader {
    pf::ByteReader in;
    void u16(uint16_t& v) { v = in.u16(); }
    void i16(int16_t& v) { v = in.i16(); }
    void u32(uint32_t& v) { v = in.u32(); }
    // A 32-bit field of the packed record, copied in: it may lie off its alignment.
    void u32_field(void* field) {
        uint32_t v = in.u32();
        std::memcpy(field, &v, sizeof v);
    }
    void point(pf::Point& p) { p = in.point(); }
    void bytes(unsigned char* to, size_t length) { in.copy(to, length); }
    void format(uint8_t* to) {
        in.copy(to, kCellFormatSize);
        ByteFlipCellFData(to);
    }
};

// Every field in file order; `io` moves it between the record and the bytes.
template <typename Prefs, typename Io>
void visit_fields(Prefs& p, Io& io) {
    io.u16(p.version);
    io.format(p.default_format);
    for (auto& position : p.palette_positions) io.point(position);
    for (auto* field : {&p.bar_shown, &p.editing_bar, &p.unused_74[0], &p.unused_74[1], &p.margin_unit,
                        &p.tab_bar_width, &p.undo_depth, &p.export_choice, &p.unused_86, &p.unused_88,
                        &p.prefs_panel, &p.paste_special_choice}) {
        io.i16(*field);
    }
    io.u32_field(&p.options);
    io.u32_field(&p.options2);
    for (auto& position : p.dialog_positions) io.point(position);
    for (size_t i = 0; i < sizeof p.reserved / sizeof(uint32_t); ++i) io.u32_field(p.reserved + i);
    io.i16(p.startup_action);
    io.i16(p.unused_208);
    for (auto& word : p.unused_210) io.i16(word);
    for (auto& item : p.items) {
        io.i16(item.volume);
        io.u32_field(&item.parent);
        io.bytes(item.name, sizeof item.name);
    }
}

// The bits of the two flag longs that have a meaning; a long with any other
// bit set was not written by this program.
constexpr uint32_t kKnownOptions = 0xEFFFFFFF;
constexpr uint32_t kKnownOptions2 = 0x300007FF;
// Saved window corners lie within this distance of the screen's origin; a
// corner off the present screen is still kept (its window places itself).
constexpr int16_t kFarthestPosition = 8192;
constexpr int16_t kLastMarginUnit = 3;
constexpr int16_t kLastExportChoice = 2;
constexpr int16_t kLastPrefsPanel = 6;
constexpr int16_t kMostBars = 999;
constexpr uint8_t kLargestFontSize = 127;

bool in_range(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

// Puts the factory value in a field that fails its check; answers whether it passed.
template <typename Field>
bool keep_or_reset(Field& field, const Field& factory, bool valid) {
    if (!valid) field = factory;
    return valid;
}

bool plausible_position(pf::Point p) {
    return in_range(p.v, -kFarthestPosition, kFarthestPosition) && in_range(p.h, -kFarthestPosition, kFarthestPosition);
}

// An unused entry is all zero; a used one has a name a file can have.
bool plausible_item(const pf::FileSpec& item) {
    uint8_t length = item.name[0];
    if (length == 0) return item.volume == 0 && item.parent == 0;
    if (length > pf::kMaxSpecName) return false;
    const unsigned char* end = item.name + 1 + length;
    return std::find_if(item.name + 1, end, [](unsigned char c) { return c == 0 || c == '/'; }) == end;
}

bool plausible_default_format(const uint8_t* format) {
    return !pf::font_name(load_i16(format + kFmtFont)).empty() && in_range(format[kFmtSize], 1, kLargestFontSize) &&
           format[kFmtDecimals] <= kMostDecimals;
}

// Range-checks every field that has a reader; answers whether all passed.
bool check_fields(AppPrefs& p, const AppPrefs& factory) {
    bool passed = keep_or_reset(p.version, factory.version, p.version == kPrefsVersion);
    if (!plausible_default_format(p.default_format)) {
        std::memcpy(p.default_format, factory.default_format, sizeof p.default_format);
        passed = false;
    }
    uint8_t& pattern = p.default_format[kFmtPattern];
    passed &= keep_or_reset(pattern, uint8_t(clamp_pattern_value(pattern)), pattern < kPatternItems);
    for (pf::Point& position : p.palette_positions) passed &= keep_or_reset(position, pf::Point{}, plausible_position(position));
    for (pf::Point& position : p.dialog_positions) passed &= keep_or_reset(position, pf::Point{}, plausible_position(position));
    passed &= keep_or_reset(p.bar_shown, factory.bar_shown, in_range(p.bar_shown, 0, kMostBars));
    passed &= keep_or_reset(p.editing_bar, factory.editing_bar, in_range(p.editing_bar, 0, kMostBars));
    passed &= keep_or_reset(p.margin_unit, factory.margin_unit, in_range(p.margin_unit, 0, kLastMarginUnit));
    passed &= keep_or_reset(p.tab_bar_width, factory.tab_bar_width, in_range(p.tab_bar_width, 0, kFarthestPosition));
    passed &= keep_or_reset(p.undo_depth, factory.undo_depth, in_range(p.undo_depth, 1, kMostUndoLevels));
    passed &= keep_or_reset(p.export_choice, factory.export_choice, in_range(p.export_choice, 0, kLastExportChoice));
    passed &= keep_or_reset(p.prefs_panel, factory.prefs_panel, in_range(p.prefs_panel, 0, kLastPrefsPanel));
    passed &= keep_or_reset(p.paste_special_choice, factory.paste_special_choice, p.paste_special_choice >= 0);
    // The option longs lie on two-byte boundaries of the packed record: checked as copies.
    uint32_t options = p.options, options2 = p.options2;
    passed &= keep_or_reset(options, uint32_t(factory.options), (options & ~kKnownOptions) == 0);
    passed &= keep_or_reset(options2, uint32_t(factory.options2), (options2 & ~kKnownOptions2) == 0);
    p.options = options;
    p.options2 = options2;
    passed &= keep_or_reset(p.startup_action, factory.startup_action,
                            in_range(p.startup_action, kStartupNothing, kStartupWorkspace));
    for (pf::FileSpec& item : p.items) passed &= keep_or_reset(item, pf::FileSpec{}, plausible_item(item));
    return passed;
}

}  // namespace

void ParameterFactorySettings(AppPrefs* prefs) {
    *prefs = AppPrefs{};
    prefs->version = kPrefsVersion;
    factory_cell_format(prefs->default_format);
    prefs->margin_unit = pf::international_settings().metric ? kMarginCentimetres : kMarginInches;
    prefs->undo_depth = kFactoryUndoDepth;
    prefs->unused_86 = pf::system_script() == pf::kScriptJapanese ? 31 : 36;
    prefs->unused_88 = 1;
    prefs->options = kFactoryOptions;
    prefs->options2 = kFactoryOptions2;
    prefs->startup_action = kStartupNewDocument;
}

void prefs_to_file_bytes(const AppPrefs& prefs, uint8_t* bytes) {
    FileWriter writer{bytes};
    visit_fields(prefs, writer);
}

bool prefs_from_file_bytes(const uint8_t* bytes, AppPrefs& prefs) {
    FileReader reader{pf::ByteReader{{bytes, size_t(kPrefsFileSize)}}};
    visit_fields(prefs, reader);
    AppPrefs factory;
    ParameterFactorySettings(&factory);
    return check_fields(prefs, factory);
}

int recent_document_count() {
    int count = 0;
    while (count < kRecentDocuments && app_prefs.items[count].name[0] != 0) ++count;
    return count;
}

int16_t OpenPrefsFile(const unsigned char* name, pf::FileSpec* spec, pf::FourCC type, int8_t permission,
                      int16_t* ref) {
    return open_program_file(name, spec, type, permission, ref);
}

int16_t prefs_file_spec(pf::FileSpec* spec, int8_t permission, int16_t* ref) {
    pf::Str255 name;
    pf::get_indexed_string(name, kPrefsFolderStrings, kPrefsFileNameItem);
    if (name[0] == 0) return pf::kBadNameErr;
    return OpenPrefsFile(name, spec, kPrefsFileType, permission, ref);
}
