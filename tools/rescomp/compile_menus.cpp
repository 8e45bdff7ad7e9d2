// Menus (MENU) and the menu bar (MBAR).
#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

namespace {

const NamedValue kMarks[] = {
    {"none", pf::kNoMark}, {"check", pf::kCheckMark}, {"diamond", pf::kDiamondMark},
    {"bullet", pf::kBulletMark}, {nullptr, 0},
};

const NamedValue kModifiers[] = {
    {"shift", pf::kMenuShiftModifier}, {"option", pf::kMenuOptionModifier},
    {"control", pf::kMenuControlModifier}, {"no_command", pf::kMenuNoCommandModifier},
    {nullptr, 0},
};

const NamedValue kStyles[] = {
    {"bold", pf::kFaceBold}, {"italic", pf::kFaceItalic}, {"underline", pf::kFaceUnderline},
    {"outline", pf::kFaceOutline}, {"shadow", pf::kFaceShadow}, {"condense", pf::kFaceCondense},
    {"extend", pf::kFaceExtend}, {nullptr, 0},
};

struct MenuItem {
    std::string text;
    uint8_t key = 0, modifiers = 0, mark = 0, style = 0;
    int16_t icon = 0, submenu = 0;
    uint32_t command = 0;
    bool enabled = true;
    std::string symbol;  // the constant the ids header names the item's number by
};

// One character: a bare ASCII character or a quoted text of one Mac Roman character.
uint8_t single_character(LineCursor& cursor, const char* what) {
    const Token* token = cursor.peek();
    bool is_one = token && token->text.size() == 1 &&
                  (token->kind == TokenKind::String || uint8_t(token->text[0]) < 0x80);
    if (cursor.ok && !is_one) {
        cursor.fail(std::string("expected one character for ") + what + " (quote characters beyond ASCII)");
        return 0;
    }
    ++cursor.pos;
    return cursor.ok ? uint8_t(token->text[0]) : 0;
}

uint8_t item_mark(LineCursor& cursor) {
    const Token* token = cursor.peek();
    if (token && token->kind == TokenKind::String) return single_character(cursor, "mark");
    return uint8_t(named_or_number(cursor, kMarks, 0, 255, "mark"));
}

// The options after an item's text.
void read_item_options(LineCursor& cursor, MenuItem& item, Compiled& out) {
    while (cursor.ok && !cursor.at_end()) {
        std::string option =
            cursor.word("an item option (key, mark, icon, submenu, command, disabled, symbol, a style or modifier)");
        int64_t bit = 0;
        if (option == "key") {
            item.key = single_character(cursor, "key");
        } else if (find_named(kModifiers, option, bit)) {
            item.modifiers |= uint8_t(bit);
        } else if (find_named(kStyles, option, bit)) {
            item.style |= uint8_t(bit);
        } else if (option == "mark") {
            item.mark = item_mark(cursor);
        } else if (option == "icon") {
            item.icon = cursor.int16("icon");
        } else if (option == "submenu") {
            item.submenu = cursor.int16("submenu");
            out.references.push_back({cursor.line.at, pf::kMenuType, 0, item.submenu, 0});
        } else if (option == "command") {
            item.command = cursor.four_char_code("command");
        } else if (option == "disabled") {
            item.enabled = false;
        } else if (option == "symbol") {
            item.symbol = cursor.word("a constant name such as kSaveItem");
            if (cursor.ok && !is_symbol(item.symbol)) cursor.fail("expected a constant name such as kSaveItem after 'symbol'");
        } else if (cursor.ok) {
            cursor.fail("unknown menu item option '" + option + "'");
        }
    }
    if (cursor.ok && item.modifiers && !item.key) cursor.fail("a modifier needs a key equivalent");
    if (cursor.ok && item.submenu && (item.key || item.mark))
        cursor.fail("an item with a submenu has no key equivalent or mark");
}

void write_item(ByteWriter& writer, const MenuItem& item) {
    writer.pstring(item.text);
    writer.u8(item.key);
    writer.u8(item.modifiers);
    writer.u8(item.mark);
    writer.u8(item.style);
    writer.u16(uint16_t(item.icon));
    writer.u16(uint16_t(item.submenu));
    writer.u32(item.command);
    writer.u8(item.enabled ? 0 : 1);
}

// "symbol kName" after a menu's definition number names the number in the
// ids header, for the code that registers the definition.
void read_definition_symbol(LineCursor& cursor, int16_t definition, Compiled& out) {
    if (cursor.word("'symbol' after the definition number") != "symbol") {
        cursor.fail("expected 'symbol' after the definition number");
        return;
    }
    const std::string symbol = cursor.word("a constant name such as kGridDefinition");
    if (cursor.ok && !is_symbol(symbol)) cursor.fail("expected a constant name such as kGridDefinition after 'symbol'");
    if (cursor.ok) out.part_symbols.push_back({cursor.line.at, symbol, definition, "definition"});
}

}  // namespace

bool compile_menu(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    std::string title;
    int16_t definition = 0;
    bool enabled = true;
    std::vector<MenuItem> items;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key == "title") {
            title = cursor.pstring("title");
        } else if (key == "definition") {
            definition = cursor.int16("definition");
            if (cursor.ok && !cursor.at_end()) read_definition_symbol(cursor, definition, out);
        } else if (key == "disabled") {
            enabled = false;
        } else if (key == "separator") {
            items.push_back({"-", 0, 0, 0, 0, 0, 0, 0, false});
        } else if (key == "item") {
            MenuItem item;
            item.text = cursor.pstring("item text");
            read_item_options(cursor, item, out);
            items.push_back(item);
            if (!item.symbol.empty()) out.part_symbols.push_back({cursor.line.at, item.symbol, int16_t(items.size())});
        } else {
            return false;
        }
        return true;
    });
    ByteWriter writer{out.data};
    writer.u16(uint16_t(source.id));
    writer.u16(uint16_t(definition));
    writer.u16(enabled ? 0 : 1);
    writer.pstring(title);
    writer.u16(unsigned(items.size()));
    for (const MenuItem& item : items) write_item(writer, item);
    return ok;
}

// Reads "keyword id id ..." lines into a list of ids referring to `type`.
bool compile_id_list(const ResourceSource& source, const char* keyword, pf::FourCC type, Compiled& out,
                     Diagnostics& diagnostics) {
    std::vector<int16_t> ids;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key != keyword) return false;
        if (cursor.at_end()) cursor.fail("expected one id or more");
        while (cursor.ok && !cursor.at_end()) {
            ids.push_back(cursor.int16("id"));
            out.references.push_back({cursor.line.at, type, 0, ids.back(), 0});
        }
        return true;
    });
    ByteWriter writer{out.data};
    writer.u16(unsigned(ids.size()));
    for (int16_t id : ids) writer.u16(uint16_t(id));
    return ok;
}

bool compile_menu_bar(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    return compile_id_list(source, "menus", pf::kMenuType, out, diagnostics);
}

}  // namespace rescomp
