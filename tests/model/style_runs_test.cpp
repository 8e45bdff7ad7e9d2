#include "model/cell_formats.h"
#include "model/program_colours.h"
#include "model_fixture.h"
#include "platform/draw/colour.h"
#include "platform/resources/resources.h"
#include "resource_bundle.h"

namespace {

// A text cell "Hello" with two style runs (at 0 and 2).
std::vector<uint8_t> styled_text_cell() {
    const char text[] = "Hello";
    constexpr int kRuns = 2 + 2 * 20;
    std::vector<uint8_t> cell(kCellHeaderSize + 5 + kRuns, 0);
    GetDefaultFormat(cell.data());
    _SetCellID_(cell.data(), 0);
    cell[kFmtCellType] = kCellText;
    cell[kFmtLabelLength] = cell[kFmtNoteLength] = 0;
    _SetCellLength_(cell.data(), int16_t(cell.size()));
    _SetFormulaLength_(cell.data(), 5);
    _SetResultType_(cell.data(), 0);
    store_i16(cell.data() + kFmtStyleLength, kRuns);
    std::memcpy(_formulaPtr_(cell.data()), text, 5);
    uint8_t* runs = _stylePtr_(cell.data());
    store_i16(runs, 2);
    for (int i = 0; i < 2; ++i) {
        uint8_t* run = runs + 2 + i * 20;
        store_i32(run, i * 2);
        store_i16(run + 8, 3);    // font
        run[10] = 0x02;           // italic
        store_i16(run + 12, 10);  // size
    }
    return cell;
}

const uint8_t* run(const std::vector<uint8_t>& cell, int i) { return _stylePtr_(cell.data()) + 2 + i * 20; }

class StyleRuns : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        pf::set_color_table({{65535, 65535, 65535}, {0, 0, 0}, {65535, 0, 0}});
    }
};

TEST_F(StyleRuns, RunsFollowFontSizeFaceAndColourChanges) {
    std::vector<uint8_t> cell = styled_text_cell();
    SetFormatByte(cell.data(), kFmtFont, 4, false, true, 1, 12, &mem_globals);
    SetFormatByte(cell.data(), kFmtSize, 18, false, false, 1, 12, &mem_globals);
    SetFormatByte(cell.data(), kFmtFace, 0, false, false, 1, 12, &mem_globals);
    SetFormatByte(cell.data(), kFmtTextColour, 3, false, false, 1, 12, &mem_globals);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(load_i16(run(cell, i) + 8), 4);
        EXPECT_EQ(load_i16(run(cell, i) + 12), 18);
        EXPECT_EQ(run(cell, i)[10], 0x01);  // the cell's face: bold set, italic not
        EXPECT_EQ(load_u16(run(cell, i) + 14), 65535);  // code 3 is entry 2 of the table: red
        EXPECT_EQ(load_u16(run(cell, i) + 16), 0);
    }
    EXPECT_EQ(format_font(cell.data()), 4);
    EXPECT_EQ(cell[kFmtSize], 18);
}

TEST_F(StyleRuns, WithoutForceAStyledCellKeepsItsFontFieldAndTheRunsChange) {
    std::vector<uint8_t> cell = styled_text_cell();
    SetFormatByte(cell.data(), kFmtFont, 4, false, false, 1, 12, &mem_globals);
    EXPECT_EQ(format_font(cell.data()), kDefaultFontNumber);
    EXPECT_EQ(load_i16(run(cell, 0) + 8), 4);
}

TEST_F(StyleRuns, WithoutGlobalsOnlyTheFormatChanges) {
    std::vector<uint8_t> cell = styled_text_cell();
    SetFormatByte(cell.data(), kFmtSize, 18, false, false, 1, 12, nullptr);
    EXPECT_EQ(cell[kFmtSize], 18);
    EXPECT_EQ(load_i16(run(cell, 0) + 12), 10);
}

TEST_F(StyleRuns, FormatFromTheFirstRun) {
    std::vector<uint8_t> cell = styled_text_cell();
    CellFormat format;
    GetDefaultFormat(format.bytes);
    get_style_format(cell.data(), format.bytes);
    EXPECT_EQ(format_font(format.bytes), 3);
    EXPECT_EQ(format.bytes[kFmtSize], 10);
    EXPECT_EQ(format.bytes[kFmtFace], 0x02);
    EXPECT_EQ(format.bytes[kFmtTextColour], 0);  // black
    uint8_t* first = _stylePtr_(cell.data()) + 2;
    store_u16(first + 14, 65535);  // red: entry 2 of the table
    get_style_format(cell.data(), format.bytes);
    EXPECT_EQ(format.bytes[kFmtTextColour], 3);
    store_u16(first + 16, 100);  // a colour the table lacks
    get_style_format(cell.data(), format.bytes);
    EXPECT_EQ(format.bytes[kFmtTextColour], 2);
    MemoryRef copy = _get_style_handle(&mem_globals, cell.data());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(GetByteSize(copy), _styleLength_(cell.data()));
    DisposeMemory(copy);
}

TEST_F(StyleRuns, SynchroniseTakesTheFirstRunsFontAndSize) {
    std::vector<uint8_t> cell = styled_text_cell();
    CellFormat format;
    GetDefaultFormat(format.bytes);
    synchronise_style(layer, _stylePtr_(cell.data()), format.bytes, false);
    EXPECT_EQ(format_font(format.bytes), 3);
    EXPECT_EQ(format.bytes[kFmtSize], 10);
    GetDefaultFormat(format.bytes);
    store_i16(_stylePtr_(cell.data()) + 2 + 12, 12);
    synchronise_style(layer, _stylePtr_(cell.data()), format.bytes, true);
    EXPECT_EQ(format.bytes[kFmtSize], kLayerDefaultSize);  // a run size of 12 is ignored
}

}  // namespace

// With the program's own colour table (not a stand-in): a colour code given to
// styled text becomes the colour the sheet paints for that code.
TEST_F(StyleRuns, StyledTextTakesTheProgramsColourOfItsCode) {
    ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
    pf::set_color_table({});
    install_program_colours();
    const std::vector<pf::RGBColor>& colours = pf::color_table().colors;
    ASSERT_GT(colours.size(), 8u);
    for (int16_t code : {3, 5, 8}) {
        std::vector<uint8_t> cell = styled_text_cell();
        SetFormatByte(cell.data(), kFmtTextColour, code, false, false, 1, 12, &mem_globals);
        const pf::RGBColor& painted = colours[size_t(code - 1)];
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(load_u16(run(cell, i) + 14), painted.red) << code;
            EXPECT_EQ(load_u16(run(cell, i) + 16), painted.green) << code;
            EXPECT_EQ(load_u16(run(cell, i) + 18), painted.blue) << code;
        }
    }
}
