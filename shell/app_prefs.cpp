// The preferences record: its factory settings, its file form, and the
// favourites menu built from its recent documents.
#include <cstring>
#include <initializer_list>
#include <string>

#include "core/app_menus.h"
#include "files/file_framing.h"
#include "model/cell_format.h"
#include "model/record_bytes.h"
#include "platform/fonts/fonts.h"
#include "platform/menus/menus.h"
#include "platform/system/system.h"
#include "platform/text/text.h"
#include "shell/shell_commands.h"

AppPrefs app_prefs;

namespace {

// Bytes of the default cell format that the preferences give their own meaning.
constexpr int kDefaultDateFormatByte = 5;
constexpr int kDefaultNumberFlagsByte = 9;
constexpr int kDefaultColumnWidthByte = 11;

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
    const uint8_t* at;
    void u16(uint16_t& v) {
        v = uint16_t(at[0] << 8 | at[1]);
        at += 2;
    }
    void i16(int16_t& v) {
        uint16_t u;
        u16(u);
        v = int16_t(u);
    }
    void u32(uint32_t& v) {
        uint16_t high, low;
        u16(high);
        u16(low);
        v = uint32_t(high) << 16 | low;
    }
    // A 32-bit field of the packed record, copied in: it may lie off its alignment.
    void u32_field(void* field) {
        uint32_t v;
        u32(v);
        std::memcpy(field, &v, sizeof v);
    }
    void point(pf::Point& p) {
        i16(p.v);
        i16(p.h);
    }
    void bytes(unsigned char* to, size_t length) {
        std::memcpy(to, at, length);
        at += length;
    }
    void format(uint8_t* to) {
        std::memcpy(to, at, kCellFormatSize);
        ByteFlipCellFData(to);
        at += kCellFormatSize;
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

void clear_overlong_names(AppPrefs& prefs) {
    for (pf::FileSpec& item : prefs.items) {
        if (item.name[0] > pf::kMaxSpecName) item = pf::FileSpec{};
    }
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

void prefs_from_file_bytes(const uint8_t* bytes, AppPrefs& prefs) {
    FileReader reader{bytes};
    visit_fields(prefs, reader);
    clear_overlong_names(prefs);
}

int recent_document_count() {
    int count = 0;
    while (count < kRecentDocuments && app_prefs.items[count].name[0] != 0) ++count;
    return count;
}

void RemovePrefItem(int16_t index) {
    if (index < 0 || index >= kRecentDocuments) return;
    for (int i = index; i < kRecentDocuments - 1; ++i) app_prefs.items[i] = app_prefs.items[i + 1];
    app_prefs.items[kRecentDocuments - 1] = pf::FileSpec{};
    ResetFavoriteMenu();
}

// Menu 140: one item per recent document, then its separator and Clear item.
void ResetFavoriteMenu() {
    pf::MenuRef menu = pf::get_menu_handle(kRecentMenu);
    if (!menu) return;
    int16_t fixed_items = 2;
    int16_t listed = int16_t(pf::count_menu_items(menu) - fixed_items);
    if (listed > 0) pf::delete_menu_items(menu, 1, listed);
    for (int i = recent_document_count() - 1; i >= 0; --i) {
        const unsigned char* name = app_prefs.items[i].name;
        pf::insert_menu_item_text(menu, std::string(reinterpret_cast<const char*>(name + 1), name[0]), 0);
    }
}
