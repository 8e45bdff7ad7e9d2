// Line Width of the Object menu in the running program: the width typed in
// its dialog goes to the selected unlocked objects as one undoable step, and
// a width out of range is refused with the dialog left open.
#include "../shell/format_fixture.h"
#include "core/alerts.h"
#include "editing/undo.h"
#include "model/workbook.h"
#include "objects/objects.h"
#include "platform/events/keyboard.h"

namespace {

struct LineWidth : FormatMenuTest {
    MemoryRef made(pf::FourCC kind) {
        MemoryRef object = nullptr;
        EXPECT_EQ(NewObject(kind, &object, 0, layer), 1);
        return object;
    }
    static int width_of(MemoryRef object) { return int(GetObj_info(object, pf::four_cc("lsiz"))); }
};

TEST_F(LineWidth, TheTypedWidthGoesToTheSelectedUnlockedObjects) {
    MemoryRef line = made(kLineObject), box = made(kRectObject), locked = made(kOvalObject), other = made(kRectObject);
    SetObj_info(locked, pf::four_cc("prot"), 1);
    for (MemoryRef object : {line, box, locked}) add_selected(layer, object);
    set_unattended_run(false);
    alert_requests().clear();
    pf::driver_type("40");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
    pf::driver_type("3");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    DoObjectMenu(front_document_record(), 9);
    EXPECT_EQ(alert_requests().size(), 1u);
    EXPECT_EQ((std::vector<int>{width_of(line), width_of(box), width_of(locked), width_of(other)}),
              (std::vector<int>{3, 3, 1, 1}));
    DoUndo(GetWorkSheet(layer));
    EXPECT_EQ((std::vector<int>{width_of(line), width_of(box)}), (std::vector<int>{1, 1}));
    DoRedo(GetWorkSheet(layer));
    EXPECT_EQ((std::vector<int>{width_of(line), width_of(box)}), (std::vector<int>{3, 3}));
}

TEST_F(LineWidth, CancelChangesNothing) {
    MemoryRef box = made(kRectObject);
    add_selected(layer, box);
    set_unattended_run(false);
    pf::driver_type("5");
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    DoObjectMenu(front_document_record(), 9);
    EXPECT_EQ(width_of(box), 1);
    EXPECT_EQ(GetSheetUndo(layer), 0);
}

}  // namespace
