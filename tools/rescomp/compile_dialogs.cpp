// Dialogs (DLOG), item lists (DITL), alerts (ALRT) and controls (CNTL).
#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

namespace {

const NamedValue kWindowKinds[] = {
    {"document", pf::kDocumentWindowKind},       {"modal", pf::kModalDialogKind},
    {"plain", pf::kPlainDialogKind},             {"shadow", pf::kShadowDialogKind},
    {"document_nogrow", pf::kNoGrowDocumentKind}, {"movable_modal", pf::kMovableModalKind},
    {"zoom_document", pf::kZoomDocumentKind},     {nullptr, 0},
};

const NamedValue kPositions[] = {
    {"none", pf::kNoPosition},       {"center", pf::kCenterMainScreen},
    {"alert", pf::kAlertPositionMainScreen}, {"stagger", pf::kStaggerMainScreen},
    {nullptr, 0},
};

const NamedValue kControlKinds[] = {
    {"push_button", pf::kPushButtonControl},   {"check_box", pf::kCheckBoxControl},
    {"radio_button", pf::kRadioButtonControl}, {"scroll_bar", pf::kScrollBarControl},
    {"bevel_button", pf::kBevelButtonControl}, {"progress_bar", pf::kProgressBarControl},
    {"little_arrows", pf::kLittleArrowsControl}, {"separator", pf::kSeparatorControl},
    {"group_box", pf::kGroupBoxControl},       {"placard", pf::kPlacardControl},
    {"user_pane", pf::kUserPaneControl},       {"edit_text", pf::kEditTextControl},
    {"password", pf::kPasswordTextControl},    {"static_text", pf::kStaticTextControl},
    {"list_box", pf::kListBoxControl},         {"popup_button", pf::kPopupButtonControl},
    {nullptr, 0},
};

struct ItemKind {
    const char* word;
    uint8_t kind;
    pf::FourCC refers_to;      // the resource type an id item names; 0 for a text item
    pf::FourCC or_refers_to;   // a second acceptable type
};

const ItemKind kItemKinds[] = {
    {"button", pf::kButtonItem, 0, 0},
    {"check", pf::kCheckBoxItem, 0, 0},
    {"radio", pf::kRadioButtonItem, 0, 0},
    {"static", pf::kStaticTextItem, 0, 0},
    {"edit", pf::kEditTextItem, 0, 0},
    {"user", pf::kUserItem, 0, 0},
    {"control", pf::kControlItem, pf::kControlType, 0},
    {"icon", pf::kIconItem, pf::kColorIconType, pf::kSmallIconType},
    {"picture", pf::kPictureItem, pf::kPictureType, 0},
};

const ItemKind* item_kind(const std::string& word) {
    for (const ItemKind& kind : kItemKinds)
        if (word == kind.word) return &kind;
    return nullptr;
}

// One item line: KIND top left bottom right [text | id] [disabled].
void write_item(LineCursor& cursor, ByteWriter& writer, Compiled& out) {
    std::string word = cursor.word("an item kind (button, check, radio, static, edit, user, control, icon, picture)");
    const ItemKind* kind = item_kind(word);
    if (!kind) {
        cursor.fail("unknown dialog item kind '" + word + "'");
        return;
    }
    pf::Rect rect = cursor.rect();
    std::vector<uint8_t> data;
    if (kind->refers_to) {
        int16_t id = cursor.int16("resource id");
        ByteWriter{data}.u16(uint16_t(id));
        out.references.push_back({cursor.line.at, kind->refers_to, kind->or_refers_to, id, 0});
    } else if (kind->kind != pf::kUserItem && cursor.peek() && cursor.peek()->kind == TokenKind::String) {
        std::string text = cursor.pstring("item text");
        data.assign(text.begin(), text.end());
    }
    bool enabled = true;
    if (cursor.peek_word("disabled")) {
        enabled = false;
        ++cursor.pos;
    }
    cursor.finish();
    writer.u32(0);
    writer.rect(rect);
    writer.u8(kind->kind | (enabled ? 0 : pf::kItemDisabled));
    writer.u8(unsigned(data.size()));
    writer.out.insert(writer.out.end(), data.begin(), data.end());
    writer.pad_to_even();
}

// Reports a template without its rectangle.
bool require_rect(const ResourceSource& source, bool has_rect, Diagnostics& diagnostics) {
    if (!has_rect) diagnostics.error(source.at, type_text(source.type) + " needs a 'rect' line");
    return has_rect;
}

}  // namespace

bool compile_item_list(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    if (source.body.empty() || source.body.size() > 32767) {
        diagnostics.error(source.at, "an item list holds 1 to 32767 items");
        return false;
    }
    ByteWriter writer{out.data};
    writer.u16(unsigned(source.body.size() - 1));
    bool ok = true;
    for (const Line& line : source.body) {
        LineCursor cursor(line, diagnostics);
        write_item(cursor, writer, out);
        ok = ok && cursor.ok;
    }
    return ok;
}

bool compile_dialog(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    pf::Rect rect;
    bool has_rect = false, visible = true, close_box = false;
    int16_t kind = pf::kModalDialogKind, items = source.id;
    uint32_t ref_con = 0;
    uint16_t position = pf::kNoPosition;
    std::string title;
    Location items_at = source.at;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key == "rect") rect = cursor.rect(), has_rect = true;
        else if (key == "kind") kind = int16_t(named_or_number(cursor, kWindowKinds, -32768, 32767, "window kind"));
        else if (key == "title") title = cursor.pstring("title");
        else if (key == "items") items = cursor.int16("item list id"), items_at = cursor.line.at;
        else if (key == "invisible") visible = false;
        else if (key == "close_box") close_box = true;
        else if (key == "refcon") ref_con = uint32_t(cursor.integer(-0x80000000ll, 0xFFFFFFFFll, "refcon"));
        else if (key == "position") position = uint16_t(named_or_number(cursor, kPositions, 0, 65535, "position"));
        else return false;
        return true;
    });
    out.references.push_back({items_at, pf::kItemListType, 0, items, 0});
    ByteWriter writer{out.data};
    writer.rect(rect);
    writer.u16(uint16_t(kind));
    writer.u8(visible);
    writer.u8(0);
    writer.u8(close_box);
    writer.u8(0);
    writer.u32(ref_con);
    writer.u16(uint16_t(items));
    writer.pstring(title);
    writer.pad_to_even();
    writer.u16(position);
    return require_rect(source, has_rect, diagnostics) && ok;
}

bool compile_alert(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    pf::Rect rect;
    bool has_rect = false;
    int16_t items = source.id;
    int default_item = 1, sound = 1;
    int64_t raw_stages = -1;
    uint16_t position = pf::kAlertPositionMainScreen;
    Location items_at = source.at;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key == "rect") rect = cursor.rect(), has_rect = true;
        else if (key == "items") items = cursor.int16("item list id"), items_at = cursor.line.at;
        else if (key == "default") default_item = int(cursor.integer(1, 2, "default item"));
        else if (key == "sound") sound = int(cursor.integer(0, 3, "sound"));
        else if (key == "stages") raw_stages = cursor.integer(0, 0xFFFF, "stages");
        else if (key == "position") position = uint16_t(named_or_number(cursor, kPositions, 0, 65535, "position"));
        else return false;
        return true;
    });
    out.references.push_back({items_at, pf::kItemListType, 0, items, 0});
    // Each of the four stages: 0x8 when item 2 is the default, 0x4 drawn, low bits the sound.
    unsigned stage = (default_item == 2 ? 0x8 : 0) | 0x4 | unsigned(sound);
    uint16_t stages = raw_stages >= 0 ? uint16_t(raw_stages) : uint16_t(stage * 0x1111);
    ByteWriter writer{out.data};
    writer.rect(rect);
    writer.u16(uint16_t(items));
    writer.u16(stages);
    writer.u16(position);
    return require_rect(source, has_rect, diagnostics) && ok;
}

bool compile_control(const ResourceSource& source, Compiled& out, Diagnostics& diagnostics) {
    pf::Rect rect;
    bool has_rect = false, visible = true, has_menu = false;
    int16_t kind = pf::kPushButtonControl, value = 0, minimum = 0, maximum = 0;
    uint32_t ref_con = 0;
    std::string title;
    bool ok = read_field_lines(source, diagnostics, [&](const std::string& key, LineCursor& cursor) {
        if (key == "rect") rect = cursor.rect(), has_rect = true;
        else if (key == "kind") kind = int16_t(named_or_number(cursor, kControlKinds, 0, 32767, "control kind"));
        else if (key == "title") title = cursor.pstring("title");
        else if (key == "value") value = cursor.int16("value");
        else if (key == "minimum") minimum = cursor.int16("minimum");
        else if (key == "maximum") maximum = cursor.int16("maximum");
        else if (key == "invisible") visible = false;
        else if (key == "refcon") ref_con = uint32_t(cursor.integer(-0x80000000ll, 0xFFFFFFFFll, "refcon"));
        else if (key == "menu") {
            minimum = cursor.int16("menu id");
            has_menu = true;
            if (cursor.ok) out.references.push_back({cursor.line.at, pf::kMenuType, 0, minimum, 0});
        } else return false;
        return true;
    });
    bool is_popup = kind / 16 == pf::kPopupButtonControl / 16;
    if (ok && is_popup != has_menu) {
        diagnostics.error(source.at, is_popup ? "a pop-up button needs a 'menu' line" : "only a pop-up button has a menu");
        ok = false;
    }
    ByteWriter writer{out.data};
    writer.rect(rect);
    writer.u16(uint16_t(value));
    writer.u8(visible);
    writer.u8(0);
    writer.u16(uint16_t(maximum));
    writer.u16(uint16_t(minimum));
    writer.u16(uint16_t(kind));
    writer.u32(ref_con);
    writer.pstring(title);
    return require_rect(source, has_rect, diagnostics) && ok;
}

}  // namespace rescomp
