// Layers through the tab bar and the Layer menu: tab labels, showing a layer
// in the front window or its own, adding, cloning, moving, renaming and
// deleting layers, with the formulas and undo records that name layers
// following them; and pictures of the tab bar and of a layer in its window.
#include <cstring>
#include <vector>

#include "../app/app_fixture.h"
#include "model/undo_record.h"
#include "files/document_file.h"
#include "formula/formula_text.h"
#include "formula/parser.h"
#include "model/cell_format.h"
#include "model/cell_record.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "platform/draw/paint.h"
#include "platform/draw/text.h"
#include "platform/screen/screen.h"
#include "platform/windows/window_manager.h"
#include "ui/app_prefs.h"
#include "window/doc_window.h"
#include "window/entry_line.h"
#include "window/document_closing.h"
#include "window/sheet_tabs.h"
#include "resource_ids.h"
#include "shell/file_menu.h"

namespace {


class SheetTabsTest : public AppTest {
protected:
    MemoryRef record = nullptr;
    MemoryRef workbook = nullptr;

    void SetUp() override {
        AppTest::SetUp();
        set_unattended_run(false);
        pf::set_text_antialiasing(false);
        DoFileMenu(nullptr, kFileNewItem);
        MakeTabWindow();
        record = window_doc_record(pf::front_non_floating_window());
        workbook = doc_window_workbook(record);
    }

    void TearDown() override {
        pf::set_text_antialiasing(true);
        AppTest::TearDown();
    }

    MemoryRef layer_at(int16_t index) { return find_SpreadSheet_item(workbook, index); }
    MemoryRef shown() { return doc_window_layer(window_doc_record(pf::front_non_floating_window())); }

    void add_layers(int count) {
        for (int i = 0; i < count; ++i) DoLayerMenu(nullptr, kLayerNewItem);
        record = window_doc_record(pf::front_non_floating_window());
    }

    static std::string name_of(MemoryRef layer) {
        unsigned char name[256];
        GetSheetName(name, layer);
        return std::string(reinterpret_cast<char*>(name + 1), name[0]);
    }

    static void name(MemoryRef layer, const std::string& text) {
        unsigned char pstr[256] = {uint8_t(text.size())};
        std::memcpy(pstr + 1, text.data(), text.size());
        SetSheetName(pstr, layer);
    }

    // A typed formula stored in A1 of the layer.
    static void put_formula(MemoryRef layer, const std::string& text) {
        unsigned char typed[256] = {uint8_t(text.size())};
        std::memcpy(typed + 1, text.data(), text.size());
        MemoryRef formula = nullptr;
        int16_t kind = 0;
        int32_t error = 0;
        ASSERT_EQ(parse_formula_text(typed, CellPoint{0, 0}, layer, &formula, &kind, &error), 0) << text;
        const int32_t body = int32_t(GetByteSize(formula));
        std::vector<uint8_t> block(size_t(kRowHeaderSize + kCellHeaderSize + body + kNumberSlotSize), 0);
        _SetRowLength_(block.data(), uint32_t(block.size()));
        uint8_t* cell = block.data() + kRowHeaderSize;
        GetDefaultFormat(cell);
        _SetRowID_(block.data(), 0);
        _SetCellID_(cell, 0);
        _SetResultType_(cell, 0);
        cell[kFmtCellType] = kCellFormula;
        cell[kFmtLabelLength] = 0;
        cell[kFmtNoteLength] = 0;
        store_i16(cell + kFmtStyleLength, 0);
        _SetCellLength_(cell, int16_t(block.size() - kRowHeaderSize));
        _SetFormulaLength_(cell, int16_t(body));
        std::memcpy(_formulaPtr_(cell), UseMemory(formula), size_t(body));
        UnuseMemory(formula);
        DisposeMemory(formula);
        CellRange a1{{0, 0}, {0, 0}};
        InputCell(&a1, block.data(), int32_t(block.size()), layer);
    }

    static std::string formula_of(MemoryRef layer) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        if (!get_cell_ptr(&cell, &length, CellPoint{0, 0}, layer)) return "(none)";
        const uint8_t* first = _formulaPtr_(cell);
        MemoryRef text = Interpret(0, first, first + _formulaLength_(cell), layer, &mem_globals);
        std::string out(static_cast<const char*>(UseMemory(text)), size_t(GetByteSize(text)));
        UnuseMemory(text);
        DisposeMemory(text);
        return out;
    }

    // An undo record of a change to the layer, pushed on the workbook's list.
    static void note_change(MemoryRef layer) {
        MemoryRef undo = new_undo_record(layer);
        CellRange a1{{0, 0}, {0, 0}};
        write_undo_fields(undo, describe_change(8, 0, &a1, nullptr, layer));
        push_undo(undo, layer);
    }

    std::vector<int16_t> undo_layers() {
        std::vector<int16_t> ids;
        MemoryRef list = workbook_undo_list(workbook);
        for (int32_t i = 0; i < GetMemorySize(list); ++i) {
            MemoryRef undo = nullptr;
            GetMemoryRecord(list, i, &undo);
            ids.push_back(read_undo(undo).layer_id);
        }
        return ids;
    }

    static void escape() { pf::post_event(pf::kKeyDown, (uintptr_t(53) << 8) | pf::kEscapeChar); }

    // The whole screen, for people to look at.
    void screenshot(const std::string& file) {
        run_until_idle();
        EXPECT_TRUE(pf::screen_write_png(std::string(QUORVIN_BINARY_DIR) + "/" + file));
    }
};

TEST_F(SheetTabsTest, TabLabelsNumberTheLayersAndCutLongNames) {
    name(layer_at(0), "Quarterly figures 2026");
    unsigned char label[256];
    PushWindowPort(TabBar);
    EXPECT_GE(get_tab_size(0, workbook, label), 32);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(label + 1), label[0]), "1: Quarterly fi...");
    name(layer_at(0), "Exactly15Chars!");
    get_tab_size(0, workbook, label);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(label + 1), label[0]), "1: Exactly15Chars!");
    EXPECT_EQ(get_tab_size(3, workbook, label), 32);  // no such layer: a numbered placeholder
    EXPECT_EQ(std::string(reinterpret_cast<char*>(label + 1), label[0]), "4");
    PopPort();
}

TEST_F(SheetTabsTest, NewLayersShowInTheFrontWindowOrInTheirOwn) {
    pf::WindowRef window = pf::front_non_floating_window();
    add_layers(1);
    EXPECT_EQ(num_SpreadSheets(workbook), 2);
    EXPECT_EQ(pf::front_non_floating_window(), window);
    EXPECT_EQ(shown(), layer_at(1));
    EXPECT_EQ(GetSheetWind(layer_at(0)), nullptr);
    EXPECT_EQ(pf::window_title(window), "Untitled 1:Layer 2");

    select_layer(record, 0);
    EXPECT_EQ(shown(), layer_at(0));
    app_prefs.options |= kPrefLayersOwnWindows;
    select_layer(record, 1);
    EXPECT_NE(pf::front_non_floating_window(), window);
    EXPECT_EQ(layer_window(layer_at(1)), pf::front_non_floating_window());
    EXPECT_EQ(layer_window(layer_at(0)), window);
    app_prefs.options &= ~kPrefLayersOwnWindows;
}

TEST_F(SheetTabsTest, TheEntryLineShowsTheActiveCellOfTheLayerSwitchedTo) {
    put_formula(layer_at(0), "=1+2");
    add_layers(1);
    auto entry_line = [] {
        unsigned char text[64];
        return std::string(reinterpret_cast<char*>(text), size_t(entry_text(text, sizeof text)));
    };
    EXPECT_EQ(entry_line(), "");
    select_layer(record, 0);
    EXPECT_EQ(entry_line(), "=1+2");
    select_layer(record, 1);
    EXPECT_EQ(entry_line(), "");
}

TEST_F(SheetTabsTest, ClickingATabShowsItsLayer) {
    add_layers(2);
    run_until_idle();
    pf::Rect tab;
    PushWindowPort(TabBar);
    const pf::Point second{12, int16_t(tab_rect.left + 5)};
    ASSERT_EQ(findTab(second, &tab, record), 0);
    PopPort();
    pf::Rect content = pf::window_content_rect(TabBar);
    pf::driver_click(pf::Point{int16_t(content.top + 12), int16_t(content.left + tab.left + 5)});
    run_until_idle();
    EXPECT_EQ(shown(), layer_at(0));
}

TEST_F(SheetTabsTest, DeletingTheLastLayerIsRefusedAndEscapeKeepsALayer) {
    EXPECT_FALSE(delete_layer(layer_at(0)));
    DoLayerMenu(nullptr, kLayerDeleteItem);
    EXPECT_EQ(num_SpreadSheets(workbook), 1);
    add_layers(1);
    escape();
    DoLayerMenu(nullptr, kLayerDeleteItem);
    EXPECT_EQ(num_SpreadSheets(workbook), 2);
    EXPECT_EQ(pf::queued_event_count(), 0);
}

TEST_F(SheetTabsTest, DeletingALayerClosesItsWindowAndFreesItsRecord) {
    add_layers(1);
    DoLayerMenu(nullptr, kLayerOpenAllItem);
    pf::WindowRef own = layer_window(layer_at(0));
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(delete_layer(layer_at(0)));
    EXPECT_EQ(num_SpreadSheets(workbook), 1);
    for (pf::WindowRef w = pf::first_window(); w; w = pf::next_window(w)) EXPECT_NE(w, own);
    EXPECT_EQ(GetSheetID(shown()), 0);
    EXPECT_EQ(pf::window_title(pf::front_non_floating_window()), "Untitled 1:Layer 2");
    // The workbook is still whole: one empty layer closes without a question.
    EXPECT_EQ(CloseTaskFromWindow(pf::front_non_floating_window()), 1);
}

TEST_F(SheetTabsTest, ReferencesAndUndoRecordsFollowMovedAndDeletedLayers) {
    add_layers(2);
    put_formula(layer_at(0), "=3:B2+2:C3");
    note_change(layer_at(2));
    note_change(layer_at(1));
    move_layer(workbook, 2, 0);  // the third layer goes first
    EXPECT_EQ(formula_of(layer_at(1)), "=1:B2+3:C3");
    EXPECT_EQ(undo_layers(), (std::vector<int16_t>{0, 2}));
    EXPECT_EQ(name_of(layer_at(0)), "Layer 3");

    EXPECT_TRUE(delete_layer(layer_at(2)));  // the old second layer
    EXPECT_EQ(undo_layers(), (std::vector<int16_t>{0}));
    EXPECT_EQ(formula_of(layer_at(1)), "=1:B2+#REF!:C3");
}

TEST_F(SheetTabsTest, ADuplicateCarriesTheCellsAndANameThatSaysSo) {
    name(layer_at(0), "Budget");
    put_formula(layer_at(0), "=1+2");
    DoLayerMenu(nullptr, kLayerDuplicateItem);
    ASSERT_EQ(num_SpreadSheets(workbook), 2);
    EXPECT_EQ(name_of(layer_at(1)), "D1(Budget)");
    EXPECT_EQ(formula_of(layer_at(1)), "=1+2");
    EXPECT_EQ(layer_window(layer_at(1)), pf::front_non_floating_window());
}

TEST_F(SheetTabsTest, PicturesOfTheTabBarAndOfALayerInItsOwnWindow) {
    add_layers(3);
    name(layer_at(1), "Summary of the year");
    select_layer(record, 1);
    invalidate_tabs();
    screenshot("sheet_tabs.png");
    app_prefs.options |= kPrefLayersOwnWindows;
    select_layer(window_doc_record(pf::front_non_floating_window()), 3);
    app_prefs.options &= ~kPrefLayersOwnWindows;
    pf::WindowRef own = layer_window(layer_at(3));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(pf::window_title(own), "Untitled 1:Layer 4");
    run_until_idle();
    pf::inval_window_rect(own, pf::window_port(own)->port_rect);
    screenshot("layer_window.png");
}

}  // namespace
