// The model's answers without windows: classic and script fonts by name and number, no
// port to measure in, and a caller of undo without windows frees what its
// records held. (tests/app holds them against the program's own answers.)
#include <gtest/gtest.h>

#include "core/memory_manager.h"
#include "model/model_services.h"
#include "model/undo_fields.h"
#include "platform/fonts/classic_fonts.h"
#include "platform/text/scripts.h"

namespace {

TEST(HeadlessModelServices, ClassicAndScriptFontsAreKnownByNameAndNumberOthersAreNot) {
    const ModelServices headless = headless_model_services();
    bool found = false;
    EXPECT_EQ(headless.number_of_font_name("times", &found), pf::kTimesFont);
    EXPECT_TRUE(found);
    EXPECT_EQ(headless.number_of_font_name("Lucida Grande", &found), pf::kSystemFont);
    EXPECT_TRUE(found);
    EXPECT_EQ(headless.number_of_font_name("No Such Family", &found), pf::kSystemFont);
    EXPECT_FALSE(found);
    EXPECT_EQ(headless.name_of_font_number(pf::kCourierFont), "Courier");
    EXPECT_EQ(headless.name_of_font_number(1200), "");
    // The scripts' own fonts, under their first numbers alone.
    for (const pf::ScriptFont& font : pf::script_fonts()) {
        EXPECT_EQ(headless.number_of_font_name(font.name, &found), pf::script_font(font.script)) << font.name;
        EXPECT_TRUE(found);
        EXPECT_EQ(headless.name_of_font_number(pf::script_font(font.script)), font.name);
        EXPECT_EQ(headless.name_of_font_number(int16_t(pf::script_font(font.script) + 1)), "");
    }
    EXPECT_EQ(headless.number_of_font_name("dejavu sans cyrillic", &found), pf::script_font(pf::kScriptCyrillic));
    EXPECT_EQ(headless.measured_text_width(reinterpret_cast<const unsigned char*>("\x03"
                                                                                  "abc")),
              -1);
}

TEST(HeadlessFoundationServices, AnUndoRecordGoesWithEveryBlockItHolds) {
    MemoryGlobals globals;
    msMemStartup(&globals, 0);
    UndoRecord fields{};
    fields.kind = 2;
    fields.first = pgAllocateNewRef(&globals, 1, 64, 0, true);
    fields.formulas = pgAllocateNewRef(&globals, 1, 8, 0, true);
    fields.page_breaks = pgAllocateNewRef(&globals, 2, 4, 0, true);
    MemoryRef undo = pgAllocateNewRef(&globals, sizeof(UndoRecord), 1, 0, true);
    write_undo_fields(undo, fields);
    ASSERT_EQ(live_block_count(&globals), 4);
    // Pushed out of a list one deep, as a windowless caller of undo does.
    MemoryRef list = pgAllocateNewRef(&globals, sizeof(MemoryRef), 0, 4, false);
    MemoryRef pending = nullptr;
    pg_setUndoLevels(1);
    PrepareMultUndo(list, undo, &pending);
    PrepareMultUndo(list, pgAllocateNewRef(&globals, sizeof(UndoRecord), 1, 0, true), &pending);
    EXPECT_EQ(live_block_count(&globals), 2);  // the list and the newest record
    ClobberMultUndo(list);
    DisposeMemory(list);
    EXPECT_EQ(live_block_count(&globals), 0);
    pg_setUndoLevels(10);
    msMemShutdown(&globals);
}

}  // namespace
