// Splits a resource file into blocks: a header line `TYPE id ["name"] [attributes] {`,
// body lines, and a closing `}` on a line of its own.
#include <cctype>

#include "platform/resources/resource_format.h"
#include "tools/rescomp/compile.h"

namespace rescomp {

namespace {

struct KindEntry {
    const char* word;  // the type as written without quotes
    pf::FourCC type;
    CompileProc compile;
};

const KindEntry kKinds[] = {
    {"STR#", pf::kStringListType, compile_string_list},
    {"STR", pf::kStringType, compile_string},
    {"MENU", pf::kMenuType, compile_menu},
    {"MBAR", pf::kMenuBarType, compile_menu_bar},
    {"DLOG", pf::kDialogType, compile_dialog},
    {"DITL", pf::kItemListType, compile_item_list},
    {"ALRT", pf::kAlertType, compile_alert},
    {"CNTL", pf::kControlType, compile_control},
    {"CURS", pf::kCursorType, compile_cursor},
    {"PAT#", pf::kPatternListType, compile_pattern_list},
    {"clut", pf::kColorTableType, compile_color_table},
    {"PICT", pf::kPictureType, compile_picture},
    {"ics8", pf::kColorIconType, compile_color_icon},
    {"ics#", pf::kSmallIconType, compile_small_icon},
    {"SICN", pf::kSmallIconListType, compile_small_icon_list},
    {"butn", pf::kButtonType, compile_button},
    {"bars", pf::kButtonBarType, compile_button_bar},
    {"vers", pf::kVersionType, compile_version},
};

const NamedValue kAttributes[] = {
    {"system_heap", pf::kResSysHeap}, {"purgeable", pf::kResPurgeable}, {"locked", pf::kResLocked},
    {"protected", pf::kResProtected}, {"preload", pf::kResPreload},     {nullptr, 0},
};

const KindEntry* kind_of_word(const std::string& word) {
    for (const KindEntry& kind : kKinds)
        if (word == kind.word) return &kind;
    return nullptr;
}

const KindEntry* kind_of_type(pf::FourCC type) {
    for (const KindEntry& kind : kKinds)
        if (type == kind.type) return &kind;
    return nullptr;
}

}  // namespace

bool is_symbol(const std::string& word) {
    if (word.size() < 2 || word[0] != 'k' || !std::isupper(static_cast<unsigned char>(word[1]))) return false;
    for (char c : word)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

namespace {

// `symbol kName` after the id: the constant the ids header declares for it.
void parse_symbol(LineCursor& cursor, ResourceSource& resource) {
    ++cursor.pos;
    const Token* word = cursor.peek();
    if (!word || word->kind != TokenKind::Word || !is_symbol(word->text)) {
        cursor.fail("expected a constant name such as kFileMenu after 'symbol'");
        return;
    }
    if (!resource.symbol.empty()) {
        cursor.fail("a resource has one symbol");
        return;
    }
    resource.symbol = word->text;
    ++cursor.pos;
}

// Reads the header tokens into `resource`; false after reporting a fault.
bool parse_header(const Line& header, ResourceSource& resource, Diagnostics& diagnostics) {
    LineCursor cursor(header, diagnostics);
    const Token* first = cursor.peek();
    if (first->kind == TokenKind::Word && first->text == "data") {
        ++cursor.pos;
        const Token* code = cursor.peek();
        if (!code || code->kind != TokenKind::FourCharCode) {
            cursor.fail("expected a quoted four-character type after 'data'");
            return false;
        }
        resource.type = pf::FourCC(code->number);
        ++cursor.pos;
        if (kind_of_type(resource.type)) {
            cursor.fail(type_text(resource.type) + " has its own form; write it without 'data'");
            return false;
        }
    } else if (first->kind == TokenKind::Word || first->kind == TokenKind::FourCharCode) {
        const KindEntry* kind = first->kind == TokenKind::Word ? kind_of_word(first->text)
                                                               : kind_of_type(pf::FourCC(first->number));
        if (!kind) {
            cursor.fail("unknown resource type '" + first->text + "' (opaque bytes: data 'type' id { hex })");
            return false;
        }
        resource.type = kind->type;
        ++cursor.pos;
    } else {
        cursor.fail("expected a resource type");
        return false;
    }
    resource.id = cursor.int16("resource id");
    if (cursor.ok && cursor.peek() && cursor.peek()->kind == TokenKind::String) {
        resource.name = cursor.pstring("resource name");
        resource.has_name = true;
    }
    while (cursor.ok && cursor.peek() && cursor.peek()->kind == TokenKind::Word) {
        if (cursor.peek()->text == "symbol") parse_symbol(cursor, resource);
        else resource.attributes |= uint16_t(named_or_number(cursor, kAttributes, 0, 0, "attribute"));
    }
    if (cursor.ok && (!cursor.peek() || cursor.peek()->kind != TokenKind::OpenBrace))
        cursor.fail("expected '{' at the end of the resource's first line");
    ++cursor.pos;
    cursor.finish();
    return cursor.ok;
}

bool is_lone(const std::vector<Token>& tokens, TokenKind kind) {
    return tokens.size() == 1 && tokens[0].kind == kind;
}

}  // namespace

CompileProc compiler_for(pf::FourCC type) {
    const KindEntry* kind = kind_of_type(type);
    return kind ? kind->compile : compile_opaque;
}

void parse_resource_file(const std::string& path, const std::string& text, std::vector<ResourceSource>& out,
                         Diagnostics& diagnostics) {
    ResourceSource* open = nullptr;
    bool skipping = false;  // inside a block whose header was bad
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        Line line{{path, number}, {}};
        bool tokens_ok = tokenize_line(text.substr(start, end - start), line.at, line.tokens, diagnostics);
        start = end + 1;
        if (!tokens_ok || line.tokens.empty()) continue;
        if (is_lone(line.tokens, TokenKind::CloseBrace)) {
            if (!open && !skipping) diagnostics.error(line.at, "'}' without an open resource");
            open = nullptr;
            skipping = false;
        } else if (open) {
            open->body.push_back(std::move(line));
        } else if (!skipping) {
            ResourceSource resource;
            resource.at = line.at;
            if (parse_header(line, resource, diagnostics)) {
                out.push_back(std::move(resource));
                open = &out.back();
            } else {
                skipping = true;
            }
        }
    }
    if (open) diagnostics.error(open->at, "resource is not closed with '}'");
}

}  // namespace rescomp
