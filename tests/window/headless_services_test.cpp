// The sheet view stands on its own: with the headless answers of its services
// and of the interface's (no command bar, menus, palettes or workspace), a
// document window opens, edits a cell and closes.
#include "../app/app_fixture.h"
#include "model/workbook.h"
#include "shell/shell_commands.h"
#include "ui/ui_services.h"
#include "window/doc_window.h"
#include "window/document_closing.h"
#include "window/entry_line.h"
#include "window/open_command.h"
#include "window/window_services.h"

namespace {

class HeadlessServicesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        filled_window = window_services;
        filled_ui = ui_services;
        window_services = headless_window_services();
        ui_services = headless_ui_services();
    }

    void TearDown() override {
        window_services = filled_window;
        ui_services = filled_ui;
        AppTest::TearDown();
    }

    WindowServices filled_window{};
    UiServices filled_ui{};
};

TEST_F(HeadlessServicesTest, ADocumentWindowOpensEditsACellAndClosesWithoutTheCommands) {
    const pf::Rect bar_before = pf::window_content_rect(command_bar_window());
    const pf::FileSpec none{};
    ASSERT_EQ(Open_File(kOpenNewUntitled, &none, nullptr), 0);
    MemoryRef record = window_doc_record(pf::front_non_floating_window());
    ASSERT_NE(record, nullptr);
    MemoryRef workbook = doc_window_workbook(record);
    EXPECT_EQ(num_WorkSheet_winds(workbook), 1);

    ASSERT_NE(ActivateEditor(1, 0, doc_window_layer(record)), 0u);
    EXPECT_EQ(Editor_Wind, record);
    DeActivateEditor();
    EXPECT_EQ(Editor_Wind, nullptr);
    // Without a command bar in the services, the program's own bar is left as it was.
    EXPECT_EQ(pf::window_content_rect(command_bar_window()), bar_before);

    EXPECT_EQ(CloseFrontWorkSheet(record), 1);
    EXPECT_EQ(window_doc_record(pf::front_non_floating_window()), nullptr);
}

}  // namespace
