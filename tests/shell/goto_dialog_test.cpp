// The Go To dialog: references and refusals checked against the front
// layer, and the dialog as a user meets it, staying open after a bad text.
#include <cstring>

#include "format_fixture.h"
#include "ui/alerts.h"
#include "platform/events/keyboard.h"
#include "shell/goto_dialog.h"

namespace {

struct GoTo : FormatMenuTest {
    GotoRefusal check(const char* text, CellRange* range) {
        unsigned char pstr[256];
        pstr[0] = uint8_t(std::strlen(text));
        std::memcpy(pstr + 1, text, pstr[0]);
        return check_goto_text(pstr, layer, range);
    }
    static void type_and_return(const char* text) {
        pf::driver_type(text);
        pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);
    }
};

TEST_F(GoTo, ReferencesPassAndBadTextsSayWhy) {
    CellRange range{};
    EXPECT_EQ(check("B3", &range), GotoRefusal::kNone);
    EXPECT_EQ(range, (CellRange{{2, 1}, {2, 1}}));
    EXPECT_EQ(check("$a$1:c4", &range), GotoRefusal::kNone);
    EXPECT_EQ(range, (CellRange{{0, 0}, {3, 2}}));
    EXPECT_EQ(check("A0", &range), GotoRefusal::kOffTheGrid);
    EXPECT_EQ(check("B99999", &range), GotoRefusal::kOffTheGrid);
    EXPECT_EQ(check("where?", &range), GotoRefusal::kNotAReference);
    EXPECT_EQ(check("", &range), GotoRefusal::kNotAReference);
    EXPECT_EQ(check("A1234567890123456789012345678901", &range), GotoRefusal::kTooLong);
}

TEST_F(GoTo, ABadTextIsSaidAndTheDialogStaysOpen) {
    set_unattended_run(false);
    alert_requests().clear();
    type_and_return("B99999");
    pf::driver_key(pf::kKeyCodeReturn, pf::kReturnChar);  // the alert's OK
    type_and_return("C5");
    pf::driver_key(pf::kKeyCodeEscape, pf::kEscapeChar);
    CellRange range{{0, 0}, {0, 0}};
    bool select = false;
    EXPECT_EQ(goto_dialog(layer, &range, &select), 1);
    EXPECT_EQ(range, (CellRange{{4, 2}, {4, 2}}));
    EXPECT_FALSE(select);
    ASSERT_EQ(alert_requests().size(), 1u);
}

}  // namespace
