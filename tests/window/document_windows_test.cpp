// The document windows as the recalculation walks them and as undo brings
// them forward, in the running program.
#include "../app/app_fixture.h"
#include "editing/undo.h"
#include "formula/calc_services.h"
#include "model/insert_delete.h"
#include "model/layer.h"
#include "model/workbook.h"
#include "window/doc_window.h"
#include "window/document_windows.h"
#include "window/open_command.h"

namespace {

class DocumentWindowsTest : public AppTest {
protected:
    // A new untitled document, shown in the front window; answers that window.
    pf::WindowRef open_untitled() {
        EXPECT_EQ(Open_File(kOpenNewUntitled, nullptr, nullptr), 0);
        run_until_idle();
        return pf::front_non_floating_window();
    }

    MemoryRef layer_of(pf::WindowRef window) { return doc_window_layer(window_doc_record(window)); }
};

TEST_F(DocumentWindowsTest, TheWalkRunsFrontToBackAndEachWindowShowsItsLayer) {
    pf::WindowRef older = open_untitled();
    pf::WindowRef newer = open_untitled();
    ASSERT_NE(older, newer);
    EXPECT_EQ(calc_services.front_document_window(), newer);
    EXPECT_EQ(calc_services.document_window_behind(newer), older);
    EXPECT_EQ(calc_services.document_window_behind(older), nullptr);
    EXPECT_EQ(calc_services.layer_shown_in(older), layer_of(older));
    pf::select_window(older);
    run_until_idle();
    EXPECT_EQ(calc_services.front_document_window(), older);
    EXPECT_EQ(calc_services.document_window_behind(older), newer);
}

TEST_F(DocumentWindowsTest, UndoInABackWindowBringsThatWindowToTheFront) {
    pf::WindowRef back = open_untitled();
    MemoryRef layer = layer_of(back);
    ASSERT_EQ(insert_rowcol(layer, 1), 0);
    pf::WindowRef front = open_untitled();
    ASSERT_EQ(pf::front_non_floating_window(), front);
    DoUndo(GetWorkSheet(layer));
    run_until_idle();
    EXPECT_EQ(pf::front_non_floating_window(), back);
    EXPECT_EQ(calc_services.front_document_window(), back);
}

}  // namespace
