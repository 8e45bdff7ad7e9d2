// Pictures of a formatted layer, compared with golden images, and the
// placement rules of cell text checked on pixels.
#include "sheet_fixture.h"

namespace {

using SheetDrawingTest = SheetTest;

TEST_F(SheetDrawingTest, FormattedSheetMatchesItsPicture) {
    fill_formatted_sheet();
    fill_borders();
    show_page_breaks(pf::Rect{0, 0, 150, 300});
    lay_out();
    draw();
    EXPECT_TRUE(matches_golden("formatted_sheet"));
}

}  // namespace
