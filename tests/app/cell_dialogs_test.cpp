// The Edit menu's cell dialogs and Layer > Rename as a user meets them: Move
// Cells says when the destination names no cell and asks again, then moves
// the selection to the cell named; Rename keeps the name typed or pasted in
// Roman letters and refuses letters Roman cannot spell; Insert and
// Clear act as the radio button on at OK says; Cancel in each changes nothing.
#include <string>
#include <vector>

#include "editing/editing_commands.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "platform/dialogs/dialogs.h"
#include "platform/host/driver.h"
#include "tests/app/attended_fixture.h"
#include "window/window_commands.h"

namespace {

// An item of the front modal dialog clicked once it is up, then OK by Return.
inline int16_t item_to_click = 0;

void click_item_then_ok() {
    pf::compose_screen();
    pf::DialogRef dialog = pf::get_dialog_from_window(pf::front_window());
    if (item_to_click && dialog && pf::is_modal_window(pf::front_window())) {
        const pf::Rect box = pf::get_dialog_item_box(dialog, item_to_click);
        const pf::Rect content = pf::window_content_rect(pf::front_window());
        pf::driver_click(pf::Point{int16_t(content.top + box.top + box.height() / 2),
                                   int16_t(content.left + box.left + 6)});
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
        item_to_click = 0;
    }
    dialogtest::guarded_compose_step();
}

struct CellDialogs : AttendedDocumentTest {
    void SetUp() override {
        AttendedDocumentTest::SetUp();
        if (HasFatalFailure()) return;
        put_note(layer, CellPoint{0, 0}, "moving");
        select_cells(layer, CellRange{{0, 0}, {0, 0}});
        alert_requests().clear();
    }
    bool holds_cell(int16_t row, int16_t column) {
        uint8_t* cell = nullptr;
        int16_t length = 0;
        get_cell_ptr(&cell, &length, CellPoint{row, column}, layer);
        return cell != nullptr;
    }
    std::string layer_name() {
        unsigned char name[256];
        GetSheetName(name, layer);
        return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
    }
    static void answer(const std::string& typed) {
        pf::driver_type(typed);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
    static void then_cancel() { pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar); }
    static void then_ok() { pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar); }
    static void then_click_and_ok(int16_t item) {
        item_to_click = item;
        pf::host_set_composer(click_item_then_ok);
    }
};

TEST_F(CellDialogs, MoveCellsAsksAgainUntilTheDestinationNamesACell) {
    answer("nowhere");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert
    answer("C5");
    DoEditMenu(record, kEditMoveCellsItem);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_FALSE(holds_cell(0, 0));
    EXPECT_TRUE(holds_cell(4, 2));
}

TEST_F(CellDialogs, CancelledMoveCellsMovesNothing) {
    then_cancel();
    DoEditMenu(record, kEditMoveCellsItem);
    EXPECT_TRUE(holds_cell(0, 0));
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(CellDialogs, RenameKeepsTheTypedNameAndCancelKeepsTheOld) {
    const std::string before = layer_name();
    then_cancel();
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_EQ(layer_name(), before);
    answer("Totals");
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_EQ(layer_name(), "Totals");
}

// A name typed in Cyrillic letters is refused with the field kept as typed;
// typed over, a name Mac Roman spells is kept letter for letter.
TEST_F(CellDialogs, RenameRefusesLettersRomanCannotSpellAndKeepsAccentedOnes) {
    const std::string before = layer_name();
    answer("\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0");  // Москва
    then_ok();                                                                // the alert
    then_cancel();
    DoLayerMenu(record, kLayerRenameItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].alert_id, kRomanLettersAlert);
    EXPECT_EQ(alert_requests()[0].text, "Cyrillic");
    EXPECT_EQ(layer_name(), before);

    alert_requests().clear();
    answer("\xE6\x9D\xB1\xE4\xBA\xAC");  // 東京
    then_ok();
    answer("Caf\xC3\xA9");  // typed over the name refused
    DoLayerMenu(record, kLayerRenameItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "Japanese");
    EXPECT_EQ(layer_name(), "Caf\x8E");
}

// A name is read as it reads, whatever keyboards typed it: "café" typed and
// "東京" typed after it on a Japanese keyboard, "東京" and "Москва" alone are
// refused naming the script of the letters Roman lacks, the layer keeping its
// name; "café" is kept in Mac Roman.
TEST_F(CellDialogs, RenameReadsANameTypedOnSeveralKeyboardsAsItReads) {
    const std::string before = layer_name();
    const struct {
        std::vector<std::string> typed;
        const char* scripts;
    } refused[] = {{{"caf\xC3\xA9", "\xE6\x9D\xB1\xE4\xBA\xAC"}, "Japanese"},
                   {{"\xE6\x9D\xB1\xE4\xBA\xAC"}, "Japanese"},
                   {{"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"}, "Cyrillic"}};
    for (const auto& name : refused) {
        alert_requests().clear();
        for (const std::string& typed : name.typed) pf::driver_type(typed);
        then_ok();  // OK: refused
        then_ok();  // the alert
        then_cancel();
        DoLayerMenu(record, kLayerRenameItem);
        ASSERT_EQ(alert_requests().size(), 1u) << name.scripts;
        EXPECT_EQ(alert_requests()[0].alert_id, kRomanLettersAlert);
        EXPECT_EQ(alert_requests()[0].text, name.scripts);
        EXPECT_EQ(layer_name(), before);
    }
    alert_requests().clear();
    answer("caf\xC3\xA9");
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_EQ(layer_name(), "caf\x8E");
}

// Pasted from another program, "café東京" comes into the field as it reads
// and is refused for its Japanese letters; "café" pasted is kept.
TEST_F(CellDialogs, RenameReadsAPastedNameAsItReads) {
    constexpr uint8_t kKeyCodeV = 9;
    const std::string before = layer_name();
    pf::driver_set_system_clipboard("caf\xC3\xA9\xE6\x9D\xB1\xE4\xBA\xAC");
    pf::driver_key(kKeyCodeV, 'v', pf::kCmdKey);
    then_ok();  // OK: refused
    then_ok();  // the alert
    then_cancel();
    DoLayerMenu(record, kLayerRenameItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].text, "Japanese");
    EXPECT_EQ(layer_name(), before);

    alert_requests().clear();
    pf::driver_set_system_clipboard("caf\xC3\xA9");
    pf::driver_key(kKeyCodeV, 'v', pf::kCmdKey);
    then_ok();
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_TRUE(alert_requests().empty());
    EXPECT_EQ(layer_name(), "caf\x8E");
}

// A pasted character no installed script spells is asked about first, as in
// the entry line: Cancel pastes nothing, OK pastes it as "?".
TEST_F(CellDialogs, RenameAsksBeforePastingWhatNoScriptSpells) {
    constexpr uint8_t kKeyCodeV = 9;
    const std::string before = layer_name();
    pf::driver_set_system_clipboard("x\xF0\x9F\x99\x82");  // x🙂
    pf::driver_key(kKeyCodeV, 'v', pf::kCmdKey);
    then_cancel();  // the question: nothing pasted
    then_ok();
    DoLayerMenu(record, kLayerRenameItem);
    ASSERT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(alert_requests()[0].kind, kCautionAlertKind);
    EXPECT_NE(alert_requests()[0].text.find("U+1F642"), std::string::npos) << alert_requests()[0].text;
    EXPECT_EQ(layer_name(), before);

    alert_requests().clear();
    pf::driver_key(kKeyCodeV, 'v', pf::kCmdKey);
    then_ok();  // the question: pasted as "?"
    then_ok();
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ(layer_name(), "x?");
}

// The Insert dialog's radio buttons are items 4 to 7, the third on at first
// (shift down); the fourth shifts right.
constexpr int16_t kShiftHorizontallyRadio = 7;

TEST_F(CellDialogs, InsertShiftsAsTheChosenRadioSays) {
    then_cancel();
    DoEditMenu(record, kEditInsertItem);
    EXPECT_TRUE(holds_cell(0, 0));
    then_ok();  // the radio on at first: cells shift down
    DoEditMenu(record, kEditInsertItem);
    EXPECT_FALSE(holds_cell(0, 0));
    EXPECT_TRUE(holds_cell(1, 0));
    select_cells(layer, CellRange{{1, 0}, {1, 0}});
    then_click_and_ok(kShiftHorizontallyRadio);
    DoEditMenu(record, kEditInsertItem);
    EXPECT_FALSE(holds_cell(1, 0));
    EXPECT_TRUE(holds_cell(1, 1));
}

TEST_F(CellDialogs, ClearTakesEverythingByDefaultAndCancelNothing) {
    then_cancel();
    DoEditMenu(record, kEditClearItem);
    EXPECT_TRUE(holds_cell(0, 0));
    then_ok();
    DoEditMenu(record, kEditClearItem);
    EXPECT_FALSE(holds_cell(0, 0));
}

}  // namespace
