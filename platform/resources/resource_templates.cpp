// Decoders of menus, dialogs, alerts, controls, bitmaps, colour tables, buttons and versions.
#include "platform/resources/resource_templates.h"

#include "platform/resources/byte_reader.h"
#include "platform/resources/resource_format.h"

namespace pf {

namespace {

// True when the reader read exactly its bytes without running short.
bool read_whole(const ByteReader& reader) { return reader.ok && reader.at_end(); }

Bits16 read_bits16(ByteReader& reader) {
    Bits16 rows{};
    for (uint16_t& row : rows) row = reader.u16();
    return rows;
}

MenuItemTemplate read_menu_item(ByteReader& reader) {
    MenuItemTemplate item;
    item.text = reader.pstring();
    item.key = reader.u8();
    item.modifiers = reader.u8();
    item.mark = reader.u8();
    item.style = reader.u8();
    item.icon = reader.i16();
    item.submenu = reader.i16();
    item.command = reader.u32();
    item.enabled = (reader.u8() & 1) == 0;
    return item;
}

// A count of 16-bit ids followed by the ids.
bool read_id_list(ByteReader& reader, std::vector<int16_t>& ids) {
    int count = reader.u16();
    if (!reader.has(size_t(count) * 2)) return false;
    ids.clear();
    for (int i = 0; i < count; ++i) ids.push_back(reader.i16());
    return read_whole(reader);
}

}  // namespace

bool decode_menu(ResourceBytes bytes, MenuTemplate& out) {
    ByteReader reader{bytes};
    out.id = reader.i16();
    out.definition = reader.i16();
    out.enabled = (reader.u16() & 1) == 0;
    out.title = reader.pstring();
    int count = reader.u16();
    out.items.clear();
    for (int i = 0; i < count && reader.ok; ++i) out.items.push_back(read_menu_item(reader));
    return read_whole(reader);
}

bool decode_menu_bar(ResourceBytes bytes, std::vector<int16_t>& menu_ids) {
    ByteReader reader{bytes};
    return read_id_list(reader, menu_ids);
}

bool decode_item_list(ResourceBytes bytes, std::vector<DialogItemTemplate>& out) {
    ByteReader reader{bytes};
    int count = reader.i16() + 1;
    out.clear();
    for (int i = 0; i < count && reader.ok; ++i) {
        DialogItemTemplate item;
        reader.u32();
        item.box = reader.rect();
        uint8_t kind = reader.u8();
        item.kind = kind & ~kItemDisabled;
        item.enabled = (kind & kItemDisabled) == 0;
        ByteReader data{reader.take(reader.u8())};
        if (item.kind == kControlItem || item.kind == kIconItem || item.kind == kPictureItem) {
            item.resource_id = data.i16();
        } else {
            item.text.assign(data.bytes.begin(), data.bytes.end());
        }
        reader.skip_to_even();
        if (!data.ok) return false;
        out.push_back(item);
    }
    return read_whole(reader);
}

bool decode_dialog(ResourceBytes bytes, DialogTemplate& out) {
    ByteReader reader{bytes};
    out.rect = reader.rect();
    out.window_kind = reader.i16();
    out.visible = reader.u8() != 0;
    reader.u8();
    out.close_box = reader.u8() != 0;
    reader.u8();
    out.ref_con = int32_t(reader.u32());
    out.items_id = reader.i16();
    out.title = reader.pstring();
    reader.skip_to_even();
    out.position = reader.u16();
    return read_whole(reader);
}

bool decode_alert(ResourceBytes bytes, AlertTemplate& out) {
    ByteReader reader{bytes};
    out.rect = reader.rect();
    out.items_id = reader.i16();
    out.stages = reader.u16();
    out.position = reader.u16();
    return read_whole(reader);
}

int alert_default_item(const AlertTemplate& alert, int stage) {
    if (stage < 1 || stage > 4) return 1;
    return (alert.stages >> (4 * (stage - 1))) & 0x8 ? 2 : 1;
}

bool decode_control(ResourceBytes bytes, ControlTemplate& out) {
    ByteReader reader{bytes};
    out.rect = reader.rect();
    out.value = reader.i16();
    out.visible = reader.u8() != 0;
    reader.u8();
    out.maximum = reader.i16();
    out.minimum = reader.i16();
    out.kind = reader.i16();
    out.ref_con = int32_t(reader.u32());
    out.title = reader.pstring();
    return read_whole(reader);
}

bool decode_cursor(ResourceBytes bytes, CursorImage& out) {
    ByteReader reader{bytes};
    out.data = read_bits16(reader);
    out.mask = read_bits16(reader);
    out.hot_spot = reader.point();
    return read_whole(reader);
}

bool decode_patterns(ResourceBytes bytes, std::vector<PatternBytes>& out) {
    ByteReader reader{bytes};
    int count = reader.u16();
    if (!reader.has(size_t(count) * 8)) return false;
    out.assign(size_t(count), PatternBytes{});
    for (PatternBytes& pattern : out)
        for (uint8_t& row : pattern) row = reader.u8();
    return read_whole(reader);
}

bool decode_color_table(ResourceBytes bytes, ColorTableResource& out) {
    ByteReader reader{bytes};
    out.seed = reader.u32();
    out.flags = reader.u16();
    int count = reader.i16() + 1;
    if (count < 0 || !reader.has(size_t(count) * 8)) return false;
    out.entries.assign(size_t(count), ColorTableEntry{});
    for (ColorTableEntry& entry : out.entries) {
        entry.value = reader.u16();
        entry.red = reader.u16();
        entry.green = reader.u16();
        entry.blue = reader.u16();
    }
    return read_whole(reader);
}

bool decode_small_icon(ResourceBytes bytes, SmallIcon& out) {
    ByteReader reader{bytes};
    out.image = read_bits16(reader);
    out.mask = read_bits16(reader);
    return read_whole(reader);
}

bool decode_small_icon_list(ResourceBytes bytes, std::vector<Bits16>& out) {
    if (bytes.empty() || bytes.size() % 32) return false;
    ByteReader reader{bytes};
    out.clear();
    while (!reader.at_end()) out.push_back(read_bits16(reader));
    return read_whole(reader);
}

bool decode_color_icon(ResourceBytes bytes, ColorIcon& out) {
    if (bytes.size() != out.size()) return false;
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return true;
}

bool decode_button(ResourceBytes bytes, ButtonTemplate& out) {
    ByteReader reader{bytes};
    out.position = reader.i16();
    out.width = reader.i16();
    out.icon = reader.i16();
    out.flags = reader.u16();
    out.rect = reader.rect();
    out.command = reader.u32();
    out.state = reader.i16();
    out.value = reader.i16();
    out.drawn_state = reader.i16();
    out.drawn_value = reader.i16();
    out.help_list = reader.i16();
    out.help_index = reader.i16();
    out.description_list = reader.i16();
    out.description_index = reader.i16();
    return read_whole(reader);
}

bool decode_button_bar(ResourceBytes bytes, std::vector<int16_t>& button_ids) {
    if (bytes.size() < 2) return false;
    ByteReader reader{bytes};
    size_t count = reader.u16();
    size_t room = (bytes.size() - 2) / 2;
    if (count != room) count = room;
    button_ids.clear();
    for (size_t i = 0; i < count; ++i) button_ids.push_back(reader.i16());
    return reader.ok;
}

bool decode_version(ResourceBytes bytes, VersionInfo& out) {
    ByteReader reader{bytes};
    uint8_t major = reader.u8(), minor = reader.u8();
    out.major = (major >> 4) * 10 + (major & 0xF);
    out.minor = minor >> 4;
    out.bug_fix = minor & 0xF;
    out.stage = reader.u8();
    out.prerelease = reader.u8();
    out.region = reader.u16();
    out.short_version = reader.pstring();
    out.long_version = reader.pstring();
    return read_whole(reader);
}

}  // namespace pf
