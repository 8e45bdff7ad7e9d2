// Every road by which a text enters a cell, over a cell holding a text of
// Every road by which a text enters a cell, over a cell holding a text of
// each script, with a new text of each script, in a layer whose default font
// is of each script (chosen in the Layout, or the preferences' default that a
// new document takes): the cell then answers the event socket and is written
// by Save As CSV as exactly the text given, or the road refuses with an alert
// and the cell is as it was (a formula whose text no one script spells,
// pasted or dropped, is a text cell holding it, and an alert says so); Undo
// brings the old cell back byte for byte, and Redo the new one. One program
// serves the suite, each road and default font a document of its own. The
// roads that open a file (CSV, tab, SYLK, Excel) are a suite of their own:
// they make a document, and have nothing to undo.
#include "app_fixture.h"
#include "tests/editing/cell_look.h"
#include "tests/editing/layout_default_font.h"
#include "tests/excel/script_workbooks.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "editing/clipboard.h"
#include "editing/find_scan.h"
#include "editing/find_window.h"
#include "editing/spell_scan.h"
#include "files/entry_store.h"
#include "files/text_exchange.h"
#include "model/cell_format.h"
#include "model/format_commands.h"
#include "model/workbook.h"
#include "model/record_bytes.h"
#include "platform/dialogs/dialogs.h"
#include "platform/events/keyboard.h"
#include "platform/scrap/scrap.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"
#include "scripting/object_model.h"
#include "shell/command_bar.h"
#include "shell/command_codes.h"
#include "shell/file_menu.h"
#include "shell/shell_commands.h"
#include "spelling/spell_engine.h"
#include "ui/app_prefs.h"
#include "window/cell_geometry.h"
#include "window/window_commands.h"
#include "resource_ids.h"

namespace {

struct Text {
    const char* name;
    const char* utf8;
};

const Text kTexts[] = {{"Empty", ""},
                       {"Roman", "Paris"},
                       {"Accented", "caf\u00e9 cr\u00e8me"},
                       {"Japanese", "\u6771\u4eac"},
                       {"Chinese", "\u7b80\u4f53\u4e2d\u6587"},
                       {"Korean", "\uc11c\uc6b8"},
                       {"Cyrillic", "\u043c\u043e\u0441\u043a\u0432\u0430"},
                       {"Greek", "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1"},
                       {"CentralEuropean", "\u010cesk\u00e1 \u0141\u00f3d\u017a"},
                       {"Mixed", "caf\u00e9 \u6771\u4eac \u041c\u043e\u0441\u043a\u0432\u0430"}};

bool empty(const std::string& utf8) { return utf8.empty(); }
// A text no one script spells whole.
bool mixed(const std::string& utf8) { return spell_text_in_scripts(utf8, RunLook{}).script < 0; }

constexpr CellPoint kCell{1, 1};    // B2, where each case happens
constexpr CellPoint kSource{1, 0};  // A2, the cell Fill copies
constexpr CellRange kArea{{0, 0}, {2, 2}};

// The find window's items.
constexpr int16_t kFindItem = 1, kReplaceItem = 2, kWholeTextBox = 4, kContentsBox = 6, kValuesBox = 7,
                  kAllLayersBox = 9, kSearchField = 10, kReplacementField = 12, kReplaceAllItem = 15;
constexpr uint8_t kKeyCodeA = 0, kKeyCodeV = 9;

// A road's document: its window, and the layer that holds the case's cell.
struct Road;
struct RoadDocument {
    pf::WindowRef window = nullptr;
    MemoryRef layer = nullptr;
};

struct RoadRun {
    const Road& road;
    RoadDocument& doc;
    std::string text;    // the new text, UTF-8
    std::string marker;  // the word Replace and spelling find, or empty
    std::string old = {};  // the cell's text before, UTF-8
};

// A road: how it carries a new text into the case's cell, which new texts it
// can carry at all, and which it may refuse.
struct Road {
    const char* name;
    void (*drive)(RoadRun&);
    bool (*cannot_carry)(const std::string& utf8);
    bool (*may_refuse)(const std::string& utf8);
    bool finds_marker = false;  // the cell holds a word the road finds, before its text
    bool formula = false;       // the road stores ="<text>"
    bool all_layers = false;    // the cell lies in a second layer, the first in front
    // A formula whose text no one script spells becomes a text cell holding
    // it, and the road says so.
    bool mixed_formula_as_text = false;
    bool styled = false;     // the old cell is bold, italic, coloured, centred, large; the road keeps that
    bool finds_old = false;  // the road picks the cell by its old text
};

bool never(const std::string&) { return false; }

void run_loop() { AppTest::run_until_idle(); }

pf::Point cell_point(const RoadDocument& doc, CellPoint cell) {
    pf::Rect r;
    Cell_Location(0, &r, 1, cell, doc.layer);
    const pf::Rect content = pf::window_content_rect(doc.window);
    return pf::Point{int16_t(content.top + (r.top + r.bottom) / 2), int16_t(content.left + (r.left + r.right) / 2)};
}
void click_cell(const RoadDocument& doc) {
    pf::driver_click(cell_point(doc, kCell));
    run_loop();
}
void key(uint8_t code, unsigned char character, uint16_t modifiers = 0) {
    pf::driver_key(code, character, modifiers);
    run_loop();
}
// Typed a character at a time, as a person does: each in the first script's
// keyboard that spells it, taken before the next is typed.
void type(const std::string& utf8) {
    for (size_t at = 0; at < utf8.size();) {
        size_t next = at + 1;
        while (next < utf8.size() && (uint8_t(utf8[next]) & 0xC0) == 0x80) ++next;
        pf::driver_type(utf8.substr(at, next - at));
        run_loop();
        at = next;
    }
}

// The formula ="<text>".
std::string formula_of(const std::string& utf8) { return "=\"" + utf8 + "\""; }

void type_text(RoadRun& run) {
    click_cell(run.doc);
    if (run.text.empty()) {
        key(pf::kKeyCodeBackspace, '\b');  // clears the cell's contents
        return;
    }
    type(run.text);
    key(pf::kKeyCodeReturn, pf::kReturnChar);
}
void type_formula(RoadRun& run) {
    click_cell(run.doc);
    type(formula_of(run.text));
    key(pf::kKeyCodeReturn, pf::kReturnChar);
}
void paste_text_onto_cell(const RoadDocument& doc, const std::string& utf8) {
    pf::driver_set_system_clipboard(utf8);
    click_cell(doc);
    key(kKeyCodeV, 'v', pf::kCmdKey);
}
void paste_onto_cell(RoadRun& run) { paste_text_onto_cell(run.doc, run.text); }
void paste_formula_onto_cell(RoadRun& run) { paste_text_onto_cell(run.doc, formula_of(run.text)); }
void paste_into_entry_line(RoadRun& run) {
    pf::driver_set_system_clipboard(run.text);
    click_cell(run.doc);
    const pf::Rect bar = pf::window_content_rect(command_bar_window());
    pf::driver_click(pf::Point{int16_t(bar.top + edit_rect.top + 8), int16_t(bar.left + edit_rect.right - 20)});
    run_loop();
    key(kKeyCodeA, 'a', pf::kCmdKey);
    key(kKeyCodeV, 'v', pf::kCmdKey);
    key(pf::kKeyCodeReturn, pf::kReturnChar);
}
void drop(RoadRun& run) {
    pf::driver_drop_text(cell_point(run.doc, kCell), run.text);
    run_loop();
}
void drop_formula(RoadRun& run) {
    pf::driver_drop_text(cell_point(run.doc, kCell), formula_of(run.text));
    run_loop();
}

// What a cell reads as outside: the socket's value answer and the field Save
// As CSV writes.
struct Reading {
    std::string value;
    std::string csv;
    bool operator==(const Reading&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Reading& r) {
    return out << "value \"" << r.value << "\", CSV field \"" << r.csv << "\"";
}

std::string csv_field(const std::string& utf8) {
    std::string out;
    WriteCSVCell(utf8, kCommaSeparator, out);
    return out;
}

// The fields of a CSV line, each as written (quotes kept).
std::vector<std::string> csv_fields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

Reading read_cell(MemoryRef layer, CellPoint cell = kCell) {
    Reading reading;
    const pf::AEDesc value = cell_value(layer, cell);
    reading.value.assign(value.data.begin(), value.data.end());
    if (value.type == pf::kTypeText) reading.value = pf::mac_roman_to_utf8(reading.value);
    const std::string text = layer_text(layer, FieldSource::formulas, kCommaSeparator);
    size_t start = 0;
    for (int16_t row = 0; row < cell.v && start != std::string::npos; ++row) {
        start = text.find("\r\n", start);
        if (start != std::string::npos) start += 2;
    }
    if (start == std::string::npos || start >= text.size()) return reading;
    const std::vector<std::string> fields = csv_fields(text.substr(start, text.find("\r\n", start) - start));
    if (fields.size() > size_t(cell.h)) reading.csv = fields[size_t(cell.h)];
    return reading;
}

std::vector<uint8_t> cell_bytes(MemoryRef layer) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, kCell, layer)) return {};
    return std::vector<uint8_t>(cell, cell + _cellLength_(cell));
}

pf::OSErr socket_set_object(const std::string& object, const std::string& utf8) {
    pf::AEDesc self, spec;
    pf::ae_address_of_self(self);
    std::string error;
    EXPECT_TRUE(pf::parse_object_text(object, spec, error)) << error;
    pf::AppleEvent event, reply;
    pf::ae_create_apple_event(pf::four_cc("core"), pf::four_cc("setd"), self, pf::kAutoGenerateReturnId,
                              pf::kAnyTransactionId, event);
    pf::ae_put_param_desc(event, pf::kKeyDirectObject, spec);
    pf::ae_put_param_ptr(event, pf::kKeyNewData, pf::kTypeUtf8Text, utf8.data(), utf8.size());
    const pf::OSErr err = pf::ae_send(event, &reply, pf::kAEWaitReply);
    run_loop();
    return err;
}
pf::OSErr socket_set(const std::string& property, const std::string& utf8) {
    return socket_set_object(property + " of cell B2 of layer 1 of document 1", utf8);
}
void socket_value(RoadRun& run) { socket_set("value", run.text); }
void socket_formula(RoadRun& run) { socket_set("formula", run.text); }

// Texts that differ from those of kTexts only in letters Mac Roman lacks.
const char* const kLookAlikes[] = {"\u0160esk\u00e1 \u015a\u00f3d\u017e", "\u043b\u043e\u043d\u0434\u043e\u043d",
                                   "\u03a8\u03b1\u03bb\u03af\u03b4\u03b1", "\u5927\u962a",
                                   "caf\u00e9 \u5927\u962a \u041b\u043e\u043d\u0434\u043e\u043d"};

// Column D holds every text but the old one, and texts like them, none of
// which a test for the old text picks; the cells of A1:D16 whose value is
// the old text take the new one.
void socket_whose(RoadRun& run) {
    MemoryRef layer = run.doc.layer;
    const CellRange decoy_column{{0, 3}, {15, 3}};
    select_cells(layer, decoy_column);
    ASSERT_EQ(clear_range(layer, decoy_column, kClearAll), kEditDone);
    std::vector<std::string> others(std::begin(kLookAlikes), std::end(kLookAlikes));
    for (const Text& text : kTexts) others.push_back(text.utf8);
    std::vector<std::pair<CellPoint, Reading>> decoys;
    for (const std::string& text : others) {
        if (empty(text) || run.old == text) continue;
        const CellPoint at{int16_t(decoys.size()), 3};
        ASSERT_EQ(store_unicode_entry(layer, at, text), kEntryStored);
        decoys.emplace_back(at, read_cell(layer, at));
    }
    select_cells(layer, CellRange{kCell, kCell});
    const std::string test = "cells whose value = \"" + run.old + "\" of range A1:D16 of layer 1 of document 1";
    EXPECT_EQ(socket_set_object("value of " + test, run.text), pf::noErr);
    for (const auto& [at, reading] : decoys)
        EXPECT_EQ(read_cell(layer, at), reading) << "a cell of another text picked by " << test;
}

void click_find_item(int16_t item) {
    const pf::Rect box = pf::get_dialog_item_box(find_wind, item);
    const pf::Rect content = pf::window_content_rect(pf::get_dialog_window(find_wind));
    pf::driver_click(pf::Point{int16_t(content.top + (box.top + box.bottom) / 2),
                               int16_t(content.left + (box.left + box.right) / 2)});
    run_loop();
}
// A field of the find window takes the text typed into it, whole.
void type_into_find_field(int16_t item, const std::string& utf8) {
    click_find_item(item);
    key(kKeyCodeA, 'a', pf::kCmdKey);
    if (utf8.empty()) key(pf::kKeyCodeBackspace, '\b');
    else type(utf8);
}
// The marker searched for and the new text as its replacement, typed into
// the find window over the cell selected.
void fill_find_window(RoadRun& run) {
    select_cells(run.doc.layer, CellRange{kCell, kCell});
    DoCommand(code_value("find"));
    run_loop();
    ASSERT_NE(find_wind, nullptr);
    pf::set_dialog_item_value(find_wind, kWholeTextBox, 0);
    pf::set_dialog_item_value(find_wind, kContentsBox, 1);
    pf::set_dialog_item_value(find_wind, kValuesBox, 0);
    pf::set_dialog_item_value(find_wind, kAllLayersBox, run.road.all_layers);
    type_into_find_field(kSearchField, run.marker);
    type_into_find_field(kReplacementField, run.text);
}
void replace(RoadRun& run) {
    fill_find_window(run);
    click_find_item(kFindItem);
    click_find_item(kReplaceItem);
}
void replace_all(RoadRun& run) {
    fill_find_window(run);
    click_find_item(kReplaceAllItem);
}
// The scan from the cell reports the marker, and the new text (as the
// spelling window's field reads it) is its change.
void spelling_change(RoadRun& run) {
    LayerWords words = layer_words(run.doc.layer, kCell);
    const SpellWordSource source = layer_word_source(words);
    char word[kSpellWordLimit + 1];
    int16_t reason = 0;
    ASSERT_TRUE(source.next_word(source.context, word, &reason));
    ASSERT_EQ(std::string(word), run.marker);
    source.replace_word(source.context, run.text.c_str());
    run_loop();
}
// The source cell takes the text by the socket; Fill Right copies it.
void fill_right(RoadRun& run) {
    select_cells(run.doc.layer, CellRange{kSource, kSource});
    ASSERT_EQ(store_unicode_entry(run.doc.layer, kSource, run.text), kEntryStored);
    select_cells(run.doc.layer, CellRange{kSource, kCell});
    DoCommand(code_value("filr"));
    run_loop();
}

const Road kRoads[] = {
    {"Typing", type_text, never, never},
    {"PasteOntoCell", paste_onto_cell, empty, never},
    {"PasteIntoEntryLine", paste_into_entry_line, empty, never},
    {"Drop", drop, empty, never},
    {"SocketValue", socket_value, never, never},
    {"SocketFormula", socket_formula, never, never},
    {"SocketWhose", socket_whose, never, never, false, false, false, false, false, true},
    {"Replace", replace, never, never, true},
    {"ReplaceStyled", replace, never, never, true, false, false, false, true},
    {"ReplaceAllLayers", replace_all, never, never, true, false, true},
    {"SpellingChange", spelling_change, never, never, true},
    {"ReplaceAllStyled", replace_all, never, never, true, false, false, false, true},
    {"SpellingChangeStyled", spelling_change, never, never, true, false, false, false, true},
    {"FillRight", fill_right, never, never},
    {"FormulaResult", type_formula, never, mixed, false, true},
    {"FormulaPaste", paste_formula_onto_cell, never, never, false, true, false, true},
    {"FormulaDrop", drop_formula, never, never, false, true, false, true},
};

// The default font of the road's layer: of a script, set by the Layout, or
// by the preferences before the document is made.
struct DefaultFont {
    const char* name;
    int16_t script;
    bool preferred;
};

const DefaultFont kDefaultFonts[] = {{"", pf::kScriptRoman, false},
                                     {"JapaneseLayerDefault", pf::kScriptJapanese, false},
                                     {"CyrillicLayerDefault", pf::kScriptCyrillic, false},
                                     {"GreekLayerDefault", pf::kScriptGreek, false},
                                     {"CentralEuropeanLayerDefault", pf::kScriptCentralEuro, false},
                                     {"JapanesePreferredDefault", pf::kScriptJapanese, true},
                                     {"CyrillicPreferredDefault", pf::kScriptCyrillic, true},
                                     {"GreekPreferredDefault", pf::kScriptGreek, true},
                                     {"CentralEuropeanPreferredDefault", pf::kScriptCentralEuro, true}};

// Under a default of another script than Roman, the old cells are empty or a
// Roman text, the two the default reads in other letters or not at all.
bool old_text_under(const DefaultFont& font, const Text& before) {
    return font.script == pf::kScriptRoman || std::string(before.name) == "Empty" ||
           std::string(before.name) == "Accented";
}

// Runs `make` (which makes a workbook) with the preferences' default font
// that of `font` when it is a preferred one.
template <typename Make>
void under_preferred_default(const DefaultFont& font, Make make) {
    uint8_t kept[sizeof app_prefs.default_format];
    std::memcpy(kept, app_prefs.default_format, sizeof kept);
    if (font.preferred) store_u16(app_prefs.default_format + kFmtFont, uint16_t(pf::script_font(font.script)));
    make();
    run_loop();
    std::memcpy(app_prefs.default_format, kept, sizeof kept);
}

struct Case {
    const Road* road;
    const DefaultFont* font;
    bool cleared;  // the old text's contents cleared before the road
    const Text* before;
    const Text* after;
};

std::string case_name(const Case& c) {
    return std::string(c.font->name) + (*c.font->name ? "_" : "") + (c.cleared ? "ClearedThen" : "") + c.road->name +
           "_" + c.after->name + "_over_" + c.before->name;
}

void PrintTo(const Case& c, std::ostream* out) { *out << case_name(c); }

// Contents are cleared before the road under the Roman default only, and not
// in a styled cell (its style is the case there).
std::vector<Case> all_cases() {
    std::vector<Case> cases;
    for (const DefaultFont& font : kDefaultFonts)
        for (const Road& road : kRoads)
            for (bool cleared : {false, true})
                for (const Text& before : kTexts)
                    for (const Text& after : kTexts)
                        if (!road.cannot_carry(after.utf8) && old_text_under(font, before) &&
                            (!cleared || (font.script == pf::kScriptRoman && !road.styled)) &&
                            (!road.finds_old || (!cleared && !empty(before.utf8))))
                            cases.push_back(Case{&road, &font, cleared, &before, &after});
    return cases;
}

class EntryRoads : public AppTest, public ::testing::WithParamInterface<Case> {
protected:
    static std::string program_home;
    static std::map<std::pair<const Road*, const DefaultFont*>, RoadDocument> documents;

    static void SetUpTestSuite() {
        open_program(program_home);
        ASSERT_TRUE(open_spelling()) << "the US English dictionary is installed by tools/install-deps";
    }
    static void TearDownTestSuite() {
        documents.clear();
        close_program(program_home);
    }
    void SetUp() override {}
    void TearDown() override {}

    // A new document whose workbook takes the preferences' default font.
    static void new_document(const DefaultFont& font) {
        under_preferred_default(font, [] { DoFileMenu(nullptr, kFileNewItem); });
    }

    // Every road's window where the first was, of its size, as a resize by
    // hand leaves it: the windows stacked down the screen soon grow too short
    // to show cell B2 to click or drop on.
    static void place_like_the_first(pf::WindowRef window) {
        static pf::Rect first;
        if (documents.empty()) first = pf::window_content_rect(window);
        pf::move_window(window, first.left, first.top, false);
        pf::size_window(window, int16_t(first.right - first.left), int16_t(first.bottom - first.top), true);
        ViewChanged(window_doc_record(window), true);
        run_loop();
    }

    static RoadDocument& document_of(const Road& road, const DefaultFont& font) {
        auto found = documents.find({&road, &font});
        if (found != documents.end()) {
            pf::select_window(found->second.window);
            run_loop();
            return found->second;
        }
        new_document(font);
        RoadDocument doc;
        doc.window = pf::front_non_floating_window();
        place_like_the_first(doc.window);
        doc.layer = doc_window_layer(window_doc_record(doc.window));
        if (road.all_layers) {
            DoLayerMenu(nullptr, kLayerNewItem);
            run_loop();
            doc.layer = doc_window_layer(window_doc_record(doc.window));
            select_layer(window_doc_record(doc.window), 0);
            run_loop();
        }
        if (!font.preferred && font.script != pf::kScriptRoman) choose_default_font(doc.layer, pf::script_font(font.script));
        EXPECT_EQ(pf::font_to_script(Get_Default_Font(doc.layer)), font.script);
        return documents[{&road, &font}] = doc;
    }

    // The cell as the case begins: emptied of all, the old text stored,
    // cleared when the case says, the road's marker put before it.
    static void set_old_cell(const Case& c, RoadRun& run) {
        MemoryRef layer = run.doc.layer;
        select_cells(layer, kArea);
        ASSERT_EQ(clear_range(layer, kArea, kClearAll), kEditDone);
        std::string old = c.before->utf8;
        if (!old.empty()) {
            ASSERT_EQ(store_unicode_entry(layer, kCell, old), kEntryStored);
        }
        if (c.cleared) {
            ASSERT_EQ(clear_range(layer, CellRange{kCell, kCell}, kClearContents), kEditDone);
            old.clear();
        }
        if (c.road->finds_marker) {
            old = old.empty() ? run.marker : run.marker + " " + old;
            ASSERT_EQ(store_unicode_entry(layer, kCell, old), kEntryStored);
        }
        run.old = old;
        select_cells(layer, CellRange{kCell, kCell});
        if (c.road->styled) style_cell(run.doc);
        run_loop();
    }

    // Bold, italic, 18 points, centred, in a colour.
    static void style_cell(const RoadDocument& doc) {
        MemoryRef layer = doc.layer;
        pf::select_window(doc.window);  // the menus' commands go to the document, not the find window
        run_loop();
        DoStyleMenu(nullptr, 3);
        DoStyleMenu(nullptr, 4);
        DoSizeMenu(nullptr, 6);
        DoAlignMenu(nullptr, 3);
        Format_Sheet(kFormatUndoKind, kFmtTextColour, 3, false, true, true, layer);
        const CellLook look = cell_look(layer, kCell);
        ASSERT_EQ(look.face, 0x03);
        ASSERT_EQ(look.align & kAlignMask, 2);
        ASSERT_EQ(look.colour, 3);
    }

    // What the road was given to store: the new text in place of the marker.
    static std::string expected_text(const Case& c) {
        const std::string old = c.cleared ? "" : c.before->utf8;
        const std::string text = c.after->utf8;
        if (!c.road->finds_marker) return text;
        return old.empty() ? text : text + " " + old;
    }
};

std::string EntryRoads::program_home;
std::map<std::pair<const Road*, const DefaultFont*>, RoadDocument> EntryRoads::documents;

TEST_P(EntryRoads, TheCellReadsAsTheTextGivenOrIsLeftAsItWas) {
    const Case& c = GetParam();
    RoadRun run{*c.road, document_of(*c.road, *c.font), c.after->utf8, c.road->finds_marker ? "zqxv" : ""};
    set_old_cell(c, run);
    MemoryRef layer = run.doc.layer;
    const std::vector<uint8_t> old_bytes = cell_bytes(layer);
    const Reading old_reading = read_cell(layer);
    const CellLook old_look = cell_look(layer, kCell);
    alert_requests().clear();

    c.road->drive(run);
    if (HasFatalFailure()) return;

    const std::string expected = expected_text(c);
    const Reading reading = read_cell(layer);
    const bool refused = cell_bytes(layer) == old_bytes && !alert_requests().empty();
    if (refused && c.road->may_refuse(c.after->utf8)) {
        key(pf::kKeyCodeEscape, pf::kEscapeChar);  // the refused entry abandoned
        EXPECT_EQ(reading, old_reading) << "a refused road changes nothing";
        return;
    }
    const bool kept_as_text = c.road->mixed_formula_as_text && mixed(expected);
    const Reading given = kept_as_text ? Reading{formula_of(expected), csv_field(formula_of(expected))}
                                       : Reading{expected, csv_field(c.road->formula ? formula_of(expected) : expected)};
    ASSERT_EQ(reading, given) << (alert_requests().empty() ? "" : "alert: " + alert_requests()[0].text);
    if (c.road->mixed_formula_as_text) EXPECT_EQ(alert_requests().empty(), !kept_as_text) << "the road says so";
    if (c.road->styled) {
        const CellLook look = cell_look(layer, kCell);
        EXPECT_EQ(look.face, old_look.face) << "the face kept";
        EXPECT_EQ(look.colour, old_look.colour) << "the colour kept";
        EXPECT_EQ(look.align, old_look.align) << "the alignment kept";
        EXPECT_EQ(look.size, old_look.size) << "the size kept";
    }

    pf::select_window(run.doc.window);  // Undo of the document, not of a field of the find window
    run_loop();
    DoCommand(code_value("undo"));
    run_loop();
    EXPECT_EQ(read_cell(layer), old_reading) << "after Undo";
    EXPECT_EQ(cell_bytes(layer), old_bytes) << "after Undo";
    DoCommand(code_value("redo"));
    run_loop();
    EXPECT_EQ(read_cell(layer), given) << "after Redo";
}

INSTANTIATE_TEST_SUITE_P(, EntryRoads, ::testing::ValuesIn(all_cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return case_name(info.param); });

// The roads that open a file holding the new text: a CSV, tab or SYLK text
// in UTF-8, or an Excel workbook with the text in fonts of every script; the
// file holds it at B2 (and on to the right, once per font, in a workbook),
// and the formula ="<text>" below. The document opened, under each default
// font new documents take, reads each cell as outside as the file gives it.
struct OpenRoad {
    const char* name;
    const char* extension;
    std::string (*file_of)(const std::string& utf8);
    int16_t columns;  // the cells of a row that hold the text, from B
    // A formula no one script spells reads as the value the file gives, else
    // as a text holding the formula.
    bool mixed_formula_gives_value;
};

// Three rows of text separated by `separator`: the text at B2, its formula at B3.
std::string separated_text(const std::string& utf8, char separator) {
    return "top\r\n" + std::string(1, separator) + utf8 + "\r\n" + separator + formula_of(utf8) + "\r\n";
}
std::string csv_file(const std::string& utf8) { return separated_text(utf8, ','); }
std::string tab_file(const std::string& utf8) { return separated_text(utf8, '\t'); }
std::string sylk_file(const std::string& utf8) {
    return "ID;PQUORVIN;N;E\r\nC;Y2;X2;K\"" + utf8 + "\"\r\nC;Y3;X2;K\"" + utf8 + "\";E\"" + utf8 + "\"\r\nE\r\n";
}
// The text in each font of kScriptFonts along row 2, each cell's formula
// ="<text>" (with the text as the value it gives) below it.
std::string excel_file(const std::string& utf8) {
    std::vector<biff::Record> cells;
    for (uint16_t xf = 0; xf < std::size(biff::kScriptFonts); ++xf) {
        const uint16_t column = uint16_t(1 + xf);
        cells.push_back(biff::label_sst(1, column, 0, xf));
        for (biff::Record& record : biff::joined_texts_formula(2, column, {utf8}, utf8, xf)) cells.push_back(record);
    }
    const std::vector<uint8_t> file =
        biff::compound_file(biff::workbook(true, biff::script_globals({utf8}), {biff::Sheet{"S", cells}}));
    return std::string(file.begin(), file.end());
}

const OpenRoad kOpenRoads[] = {
    {"CsvOpen", ".csv", csv_file, 1, false},
    {"TabOpen", ".tab", tab_file, 1, false},
    {"SylkOpen", ".slk", sylk_file, 1, true},
    {"ExcelOpen", ".xls", excel_file, int16_t(std::size(biff::kScriptFonts)), true},
};

struct OpenCase {
    const OpenRoad* road;
    const DefaultFont* font;
    const Text* text;
};

std::string open_case_name(const OpenCase& c) {
    return std::string(c.font->name) + (*c.font->name ? "_" : "") + c.road->name + "_" + c.text->name;
}

void PrintTo(const OpenCase& c, std::ostream* out) { *out << open_case_name(c); }

// A document opened takes the preferences' default font, not a layer's.
std::vector<OpenCase> all_open_cases() {
    std::vector<OpenCase> cases;
    for (const DefaultFont& font : kDefaultFonts)
        for (const OpenRoad& road : kOpenRoads)
            for (const Text& text : kTexts)
                if (font.preferred || font.script == pf::kScriptRoman) cases.push_back(OpenCase{&road, &font, &text});
    return cases;
}

class EntryRoadsByOpening : public AppTest, public ::testing::WithParamInterface<OpenCase> {
protected:
    static std::string program_home;

    static void SetUpTestSuite() { open_program(program_home); }
    static void TearDownTestSuite() { close_program(program_home); }
    void SetUp() override {}
    void TearDown() override {}

    // Opens the file as a document, its window then in front.
    static pf::WindowRef open_file(const std::string& path, const DefaultFont& font) {
        pf::WindowRef before = pf::front_non_floating_window();
        under_preferred_default(font, [&] {
            const char* arguments[] = {"quorvin", path.c_str()};
            EXPECT_EQ(pf::ae_post_launch_event(2, arguments), pf::noErr);
            run_loop();
        });
        pf::WindowRef opened = pf::front_non_floating_window();
        return opened == before ? nullptr : opened;
    }

    // Closes the document without saving it.
    static void close_unsaved(pf::WindowRef window) {
        set_change_ctr(doc_window_workbook(window_doc_record(window)), 0);
        pf::select_window(window);
        run_loop();
        DoFileMenu(nullptr, kFileCloseItem);
        run_loop();
    }
};

std::string EntryRoadsByOpening::program_home;

TEST_P(EntryRoadsByOpening, TheCellsReadAsTheTextsTheFileGives) {
    const OpenCase& c = GetParam();
    const std::string text = c.text->utf8;
    const std::string path = program_home + "/" + c.road->name + c.road->extension;
    std::ofstream(path, std::ios::binary) << c.road->file_of(text);
    alert_requests().clear();
    pf::WindowRef window = open_file(path, *c.font);
    std::filesystem::remove(path);
    ASSERT_NE(window, nullptr) << (alert_requests().empty() ? "" : "alert: " + alert_requests()[0].text);
    MemoryRef layer = doc_window_layer(window_doc_record(window));
    EXPECT_EQ(pf::font_to_script(Get_Default_Font(layer)), c.font->script);

    const Reading as_text{text, csv_field(text)};
    const Reading as_formula = !mixed(text)                        ? Reading{text, csv_field(formula_of(text))}
                               : c.road->mixed_formula_gives_value ? as_text
                                                                   : Reading{formula_of(text), csv_field(formula_of(text))};
    for (int16_t column = 1; column <= c.road->columns; ++column) {
        EXPECT_EQ(read_cell(layer, CellPoint{1, column}), as_text) << "column " << column;
        EXPECT_EQ(read_cell(layer, CellPoint{2, column}), as_formula) << "formula, column " << column;
    }
    std::string alerts;
    for (const auto& alert : alert_requests()) alerts += "\n" + alert.text;
    EXPECT_EQ(alert_requests().empty(), !mixed(text)) << "a formula no one script spells is told of:" << alerts;
    close_unsaved(window);
}

INSTANTIATE_TEST_SUITE_P(, EntryRoadsByOpening, ::testing::ValuesIn(all_open_cases()),
                         [](const ::testing::TestParamInfo<OpenCase>& info) { return open_case_name(info.param); });

}  // namespace
