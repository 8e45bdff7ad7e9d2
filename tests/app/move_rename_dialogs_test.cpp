// Two dialogs that ask for a typed answer until it is good: Move Cells says
// when the destination names no cell (or lies off the grid) and asks again,
// then moves the selection to the cell named; Layer > Rename keeps the name
// typed; Cancel in either changes nothing.
#include <string>

#include "editing/editing_commands.h"
#include "model/cell_store.h"
#include "model/layer.h"
#include "platform/host/driver.h"
#include "tests/app/attended_fixture.h"
#include "window/window_commands.h"

namespace {

struct MoveRenameDialogs : AttendedDocumentTest {
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
};

TEST_F(MoveRenameDialogs, MoveCellsAsksAgainUntilTheDestinationNamesACell) {
    answer("nowhere");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert
    answer("C5");
    DoEditMenu(record, kEditMoveCellsItem);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_FALSE(holds_cell(0, 0));
    EXPECT_TRUE(holds_cell(4, 2));
}

TEST_F(MoveRenameDialogs, CancelledMoveCellsMovesNothing) {
    then_cancel();
    DoEditMenu(record, kEditMoveCellsItem);
    EXPECT_TRUE(holds_cell(0, 0));
    EXPECT_TRUE(alert_requests().empty());
}

TEST_F(MoveRenameDialogs, RenameKeepsTheTypedNameAndCancelKeepsTheOld) {
    const std::string before = layer_name();
    then_cancel();
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_EQ(layer_name(), before);
    answer("Totals");
    DoLayerMenu(record, kLayerRenameItem);
    EXPECT_EQ(layer_name(), "Totals");
}

}  // namespace
