// Command-bar buttons ('butn') and button bars ('bars').
#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

namespace {

const NamedValue kButtonFlags[] = {
    {"value", pf::kButtonShowsValue}, {"needs_document", pf::kButtonNeedsDocument},
    {"popup", pf::kButtonPopup},      {"popup_arrow", pf::kButtonPopupArrow},
    {"inert", pf::kButtonInert},      {nullptr, 0},
};

struct Button {
    int16_t width = 0, icon = 0;
    uint16_t flags = 0;
    uint32_t command = 0;
    int16_t help_list = 0, help_index = 0, description_list = 0, description_index = 0;
};

// "list index": a string list item, recorded as a reference.
void read_string_item(LineCursor& cursor, int16_t& list, int16_t& index, Compiled& out) {
    list = cursor.int16("string list id");
    index = int16_t(cursor.integer(1, 32767, "string index"));
    if (cursor.ok) out.references.push_back({cursor.line.at, pf::kStringListType, 0, list, index});
}

}  // namespace

bool compile_button(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    Button button;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key == "width") {
            button.width = int16_t(cursor.integer(0, 32767, "width"));
        } else if (key == "icon") {
            button.icon = cursor.int16("icon");
            if (button.icon) out.references.push_back({cursor.line.at, pf::kColorIconType, 0, button.icon, 0});
        } else if (key == "flags") {
            while (cursor.ok && !cursor.at_end())
                button.flags |= uint16_t(named_or_number(cursor, kButtonFlags, 0, 65535, "button flag"));
        } else if (key == "command") {
            button.command = cursor.four_char_code("command");
        } else if (key == "help") {
            read_string_item(cursor, button.help_list, button.help_index, out);
        } else if (key == "description") {
            read_string_item(cursor, button.description_list, button.description_index, out);
        } else {
            return false;
        }
        return true;
    });
    // The 36-byte button record: position, width, icon, flags, rectangle, command,
    // state, value, drawn state, drawn value, help list and index, description list and index.
    ByteWriter writer{out.data};
    writer.u16(0);
    writer.u16(uint16_t(button.width));
    writer.u16(uint16_t(button.icon));
    writer.u16(button.flags);
    writer.rect({});
    writer.u32(button.command);
    for (int i = 0; i < 4; ++i) writer.u16(0);
    writer.u16(uint16_t(button.help_list));
    writer.u16(uint16_t(button.help_index));
    writer.u16(uint16_t(button.description_list));
    writer.u16(uint16_t(button.description_index));
    return ok;
}

bool compile_button_bar(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    return compile_id_list(source, "buttons", pf::kButtonType, out, diagnostics);
}

}  // namespace rescomp
