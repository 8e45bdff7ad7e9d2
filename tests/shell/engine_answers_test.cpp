// The engine's questions answered by the application: the preferences' default
// format for new layers, the alert of a circular reference, the dialog that
// asks for a text file's separator (also with semicolon chosen for a CSV).
#include <vector>

#include "ui/alerts.h"
#include "model/cell_format.h"
#include "platform/events/events.h"
#include "platform/events/keyboard.h"
#include "ui/app_prefs.h"
#include "tests/files/text_fixture.h"
#include "tests/formula/recalc_fixture.h"
#include "resource_ids.h"

namespace {

using Layer = ModelTest;
using RecalcPasses = RecalcTest;
using TextImportTest = TextTest;

TEST_F(Layer, NewLayersTakeTheFlagsOfThePreferencesDefaultFormat) {
    uint8_t saved = app_prefs.default_format[kFmtFlagsA];
    app_prefs.default_format[kFmtFlagsA] = kFlagLocked;
    MemoryRef locked = add_layer(workbook);
    app_prefs.default_format[kFmtFlagsA] = saved;
    ASSERT_NE(locked, nullptr);
    SpreadSheet* sheet = use_layer(locked);
    EXPECT_EQ(sheet->default_column_format[kFmtFlagsA], kFlagLocked);
    EXPECT_EQ(sheet->default_row_format[kFmtFlagsA], kFlagLocked);
    release_layer(locked);
}

TEST_F(RecalcPasses, AWorkbookWithoutWindowsStopsOnACircle) {
    put_formula(0, 0, "=A2+1");
    put_formula(1, 0, "=A1+1");
    alert_requests().clear();
    calculate_without_windows(workbook);
    // Reported once, and the recalculation stops there as it does in the program.
    int reports = 0;
    for (const AlertRequest& alert : alert_requests()) reports += alert.alert_id == kStandardStopAlert;
    EXPECT_EQ(reports, 1);
}

TEST_F(TextImportTest, AFileOfNoKnownKindAsksForItsSeparator) {
    write_bytes("plain.dat", {'a', ' ', 'b', ',', 'c', '\n'});
    // With nobody to ask, the separator the text shows is taken.
    MemoryRef unattended = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("plain.dat"), nullptr, unattended, kTextType), 0);
    EXPECT_EQ(cell(unattended, 0, 1).text, "c");
    // Cancelled: nothing is read, and the read says it was cancelled.
    set_unattended_run(false);
    pf::post_event(pf::kKeyDown, (uintptr_t(pf::kKeyCodeEscape) << 8) | pf::kEscapeChar);
    MemoryRef cancelled = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("plain.dat"), nullptr, cancelled, kTextType), kTextCancelled);
    EXPECT_TRUE(cells_of(cancelled).empty());
    // Accepted as it opens: the comma the text shows.
    pf::post_event(pf::kKeyDown, (uintptr_t(pf::kKeyCodeReturn) << 8) | pf::kReturnChar);
    MemoryRef read = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("plain.dat"), nullptr, read, kTextType), 0);
    set_unattended_run(true);
    EXPECT_EQ(cell(read, 0, 0).text, "a b");
    EXPECT_EQ(cell(read, 0, 1).text, "c");
    // Text holding tabs shows its separator: nothing is asked.
    write_bytes("tabs.dat", {'a', '\t', 'b', ',', 'c', '\n'});
    MemoryRef tabbed = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("tabs.dat"), nullptr, tabbed, kTextType), 0);
    EXPECT_EQ(cell(tabbed, 0, 1).text, "b,c");
}

TEST_F(TextImportTest, ACsvSplitBySemicolonsAsksWithSemicolonChosen) {
    const std::string european = "A;1,5;10%\r\n\"x;y\";2\r\n";
    write_bytes("euro.csv", std::vector<uint8_t>(european.begin(), european.end()));
    set_unattended_run(false);
    pf::post_event(pf::kKeyDown, (uintptr_t(pf::kKeyCodeReturn) << 8) | pf::kReturnChar);
    MemoryRef read = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("euro.csv"), nullptr, read, kCsvFileType), 0);
    set_unattended_run(true);
    EXPECT_EQ(cell(read, 0, 0).text, "A");
    EXPECT_EQ(cell(read, 0, 1).text, "1,5");
    EXPECT_EQ(cell(read, 1, 0).text, "x;y");
    EXPECT_EQ(cell(read, 1, 1).number, 2);
    // Unattended, the semicolon is taken without asking; a comma outside quotes keeps CSV's comma.
    MemoryRef unasked = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("euro.csv"), nullptr, unasked, kCsvFileType), 0);
    EXPECT_EQ(cell(unasked, 0, 1).text, "1,5");
    write_bytes("mixed.csv", {'a', ';', 'b', ',', 'c', ',', 'd', '\n'});
    MemoryRef mixed = fresh_layer();
    EXPECT_EQ(ReadTextFile(spec("mixed.csv"), nullptr, mixed, kCsvFileType), 0);
    EXPECT_EQ(cell(mixed, 0, 0).text, "a;b");
    EXPECT_EQ(cell(mixed, 0, 1).text, "c");
}

}  // namespace
