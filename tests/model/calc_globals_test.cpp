#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/number_text.h"
#include "model/calc_globals.h"
#include "platform/resources/resources.h"
#include "platform/system/international.h"
#include "model_fixture.h"
#include "resource_bundle.h"

namespace {

class Globals : public ::testing::Test {
protected:
    void TearDown() override {
        pf::set_international_settings(pf::us_international_settings());
        Init_Quorvin_Globals();
    }
};

TEST_F(Globals, ListSeparatorComesFromTheSystemOnlyWhenNumbersLeaveCommaFree) {
    use_system_settings(',', '.', ';', '.', 1);
    EXPECT_EQ(decimalPt, ',');
    EXPECT_EQ(thousSep, '.');
    EXPECT_EQ(listSep, ';');
    EXPECT_EQ(dateSep, '.');
    EXPECT_EQ(dateOrder, 1);
    use_system_settings('.', ' ', ';', '-', 2);
    EXPECT_EQ(listSep, ',');
    EXPECT_EQ(dateOrder, 2);
}

TEST_F(Globals, UsSettings) {
    pf::set_international_settings(pf::us_international_settings());
    Init_Quorvin_Globals();
    EXPECT_EQ(currSym1, '$');
    EXPECT_EQ(decimalPt, '.');
    EXPECT_EQ(thousSep, ',');
    EXPECT_EQ(dateSep, '/');
    EXPECT_EQ(listSep, ',');
    EXPECT_EQ(dateOrder, 0);
    EXPECT_EQ(checkValue(&g_TextErr), 17);
    EXPECT_EQ(checkValue(&g_StdErr), 21);
    EXPECT_EQ(checkValue(&g_zero), 0);
}

std::string function_name(int number) {
    return std::string(reinterpret_cast<const char*>(WordArray[number - 1] + 1), WordArray[number - 1][0]);
}

TEST_F(Globals, FunctionNamesComeFromTheBundleByNumber) {
    ASSERT_EQ(pf::resources_install(resource_bundle_data(), resource_bundle_size()), pf::noErr);
    Init_Quorvin_Globals();
    EXPECT_EQ(function_name(10), "SUM");
    EXPECT_EQ(function_name(62), "VLOOKUP");
    EXPECT_EQ(function_name(129), "CONCATENATE");
    EXPECT_EQ(function_name(143), "COUNTIF");
    EXPECT_EQ(function_name(87), "");  // a slot without a function
    for (int n = 1; n <= kFunctionCount; ++n) {
        if (n == 87) continue;
        std::string name = function_name(n);
        EXPECT_FALSE(name.empty()) << n;
        EXPECT_LE(name.size(), 11u);
        for (char c : name) EXPECT_FALSE(c >= 'a' && c <= 'z') << name;
        for (int m = 1; m < n; ++m) EXPECT_NE(name, function_name(m));
    }
    pf::resources_clear();
    Init_Quorvin_Globals();
    EXPECT_EQ(WordArray[9][0], 0);  // a missing item leaves its entry empty
}

TEST_F(Globals, SlotsDoNothingUntilTheApplicationFillsThem) {
    MachineRecord machine{};
    msMemStartup(&mem_globals, 0);
    QuorvinInit(&machine, &mem_globals);
    EXPECT_EQ(machine.alert(6), 0);
    EXPECT_EQ(machine.click_loop(nullptr, 0, pf::Point{}), 0);
    CellRange range{};
    machine.display_selection(&range);
    machine.wait(nullptr, 0, 1, 2);
    EXPECT_EQ(machine.settings[1], 187);
    EXPECT_EQ(machine.markers[0], 0xFFFFFFFFu);
    EXPECT_EQ(count_open_workbooks(&machine), 0);
    msMachineShutdown(&machine);
    msMemShutdown(&mem_globals);
}

}  // namespace
