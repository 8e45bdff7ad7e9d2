// Text composed by the host's input method in a document whose cell is not
// being edited: the composition opens the entry on the active cell and is
// shown there while it lasts, and what is confirmed is stored by Return.
#include <string>

#include "model/cell_record.h"
#include "model/cell_store.h"
#include "platform/events/input_method.h"
#include "platform/events/keyboard.h"
#include "platform/text/scripts.h"
#include "platform/text/text.h"
#include "tests/app/new_document_fixture.h"
#include "window/entry_line.h"

namespace {

std::string entry_line_text() {
    unsigned char text[256];
    return std::string(reinterpret_cast<const char*>(text), size_t(entry_text(text, sizeof text)));
}

std::string cell_text(MemoryRef layer, CellPoint where) {
    uint8_t* cell = nullptr;
    int16_t length = 0;
    if (!get_cell_ptr(&cell, &length, where, layer) || _cellType_(cell) != kCellText) return {};
    return std::string(reinterpret_cast<const char*>(_formulaPtr_(cell)), size_t(_formulaLength_(cell)));
}

TEST_F(NewDocumentTest, TheFirstCompositionInACellIsShownBeforeItIsConfirmed) {
    pf::input_composition_utf8("\xE3\x81\xA8\xE3\x81\x86\xE3\x81\x8D\xE3\x82\x87\xE3\x81\x86", 5, 0);  // toukyou
    run_until_idle();
    EXPECT_TRUE(entry_line_editing());
    EXPECT_EQ(entry_line_text(), "\x82\xC6\x82\xA4\x82\xAB\x82\xE5\x82\xA4");
    EXPECT_EQ(pf::keyboard_script(), pf::kScriptJapanese);
    pf::input_composition_utf8("\xE6\x9D\xB1\xE4\xBA\xAC", 2, 2);  // converted: Tokyo
    run_until_idle();
    EXPECT_EQ(entry_line_text(), "\x93\x8C\x8B\x9E");
    EXPECT_TRUE(pf::input_commit("\x93\x8C\x8B\x9E"));
    run_until_idle();
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    run_until_idle();
    EXPECT_FALSE(entry_line_editing());
    EXPECT_EQ(cell_text(layer, CellPoint{0, 0}), "\x93\x8C\x8B\x9E");
}

}  // namespace
