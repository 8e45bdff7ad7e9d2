// Button bars: the factory bars and the refusal of damaged 'bars' resources,
// the layout in rows, and the bar file read back as written with every
// damaged or out-of-range field refused.
#include <gtest/gtest.h>

#include <algorithm>

#include "prefs_fixture.h"
#include "ui/app_prefs.h"
#include "shell/bar_file.h"
#include "shell/button_bars.h"
#include "shell/command_codes.h"

namespace {

std::vector<uint8_t> bars_bytes(uint16_t count, std::vector<int16_t> ids) {
    std::vector<uint8_t> bytes{uint8_t(count >> 8), uint8_t(count)};
    for (int16_t id : ids) bytes.insert(bytes.end(), {uint8_t(uint16_t(id) >> 8), uint8_t(id)});
    return bytes;
}

using ButtonBarsTest = PrefsTest;

TEST_F(ButtonBarsTest, FactoryBarsComeFromTheScreenWidth) {
    EXPECT_EQ(first_factory_bar_id(599), 200);
    EXPECT_EQ(first_factory_bar_id(600), 201);
    EXPECT_EQ(first_factory_bar_id(640), 201);
    EXPECT_EQ(first_factory_bar_id(641), 128);
    for (int16_t id : {128, 129, 130, 131, 200, 201}) EXPECT_FALSE(bar_resource_ids(id).empty()) << id;
}

TEST_F(ButtonBarsTest, DamagedBarResourcesAreRefused) {
    int16_t good = bar_resource_ids(128).front();
    EXPECT_EQ(bar_ids_of(bars_bytes(2, {good, good})).size(), 2u);
    // A count that disagrees with the size gives way to the size.
    EXPECT_EQ(bar_ids_of(bars_bytes(40, {good, good, good})).size(), 3u);
    EXPECT_TRUE(bar_ids_of(bars_bytes(1, {})).empty());
    std::vector<uint8_t> odd = bars_bytes(1, {good});
    odd.push_back(0);
    EXPECT_TRUE(bar_ids_of(odd).empty());
    EXPECT_TRUE(bar_ids_of(bars_bytes(2, {good, 31000})).empty());
    EXPECT_TRUE(bar_ids_of(bars_bytes(400, std::vector<int16_t>(400, good))).empty());
}

TEST_F(ButtonBarsTest, LayoutWrapsRowsThatNeverOverlapAndEndsForAButtonTooWide) {
    std::vector<ButtonRecord> buttons(30);
    buttons[5].width = 1000;
    reset_button_positions(buttons, 400);
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].position, int16_t(i + 1));
        EXPECT_EQ(buttons[i].state, kButtonEnabled);
        if (i == 0) continue;
        const pf::Rect& a = buttons[i - 1].rect;
        const pf::Rect& b = buttons[i].rect;
        bool same_row = a.top == b.top;
        EXPECT_TRUE(same_row ? b.left >= a.right : b.top >= a.bottom) << i;
    }
    EXPECT_EQ(buttons[0].rect, (pf::Rect{2, 20, 24, 42}));
    EXPECT_EQ(buttons[5].rect.right - buttons[5].rect.left, 1000);
    EXPECT_EQ(buttons[6].rect.top, buttons[5].rect.top + 25);
}

ButtonBar bar_of(const std::string& name, std::vector<const char*> codes) {
    ButtonBar bar;
    bar.name = name;
    bar.value = 7;
    for (const char* code : codes) {
        ButtonRecord b;
        b.command = code_value(code);
        b.icon = 1000;
        b.value = 1;
        b.help_list = 720;
        b.help_index = 3;
        bar.buttons.push_back(b);
    }
    return bar;
}

TEST_F(ButtonBarsTest, BarFileReadsBackWhatWasWritten) {
    std::vector<ButtonBar> bars{bar_of("Mine", {"newd", "bold"}), bar_of("", {"op**"}), bar_of("Empty", {})};
    std::vector<uint8_t> bytes = bar_file_bytes(bars);
    auto read = parse_bar_file(bytes);
    ASSERT_TRUE(read);
    // A bar without buttons cannot be stored and is left out, with the count.
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[0].name, "Mine");
    EXPECT_EQ((*read)[0].value, 7u);
    EXPECT_EQ((*read)[1].name, "");
    ASSERT_EQ((*read)[0].buttons.size(), 2u);
    EXPECT_EQ((*read)[0].buttons[1].command, code_value("bold"));
    EXPECT_EQ((*read)[0].buttons[1].help_index, 3);
    EXPECT_EQ((*read)[0].buttons[1].value, 0);
}

TEST_F(ButtonBarsTest, EveryShortenedOrDamagedBarFileIsRefused) {
    std::vector<uint8_t> bytes = bar_file_bytes({bar_of("Mine", {"newd", "bold"})});
    // Bytes 27 and 28 are the first button's width.
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(parse_bar_file(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length)))) << length;
    auto damaged = [&bytes](size_t at, uint8_t value) {
        std::vector<uint8_t> copy = bytes;
        copy[at] = value;
        return parse_bar_file(copy).has_value();
    };
    EXPECT_FALSE(damaged(3, 27));   // version 539
    EXPECT_FALSE(damaged(7, 0));    // no bars
    EXPECT_FALSE(damaged(11, 1));   // reserved word
    EXPECT_FALSE(damaged(15, 0));   // no buttons
    EXPECT_FALSE(damaged(15, 200)); // more buttons than bytes
    EXPECT_FALSE(damaged(27, 0x80)); // a button of negative width
    EXPECT_FALSE(damaged(27, 0x7F)); // a button wider than any screen
    EXPECT_TRUE(damaged(3, 16));    // version 528 is read
}

TEST_F(ButtonBarsTest, OlderFilesTakeOperatorDescriptionsFromTheResources) {
    std::vector<uint8_t> bytes = bar_file_bytes({bar_of("Old", {"op**", "newd"})});
    bytes[3] = 16;  // 528
    auto read = parse_bar_file(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[0].buttons[0].description_list, 721);
    EXPECT_NE((*read)[0].buttons[0].description_index, 0);
    EXPECT_EQ((*read)[0].buttons[1].description_list, 0);
}

TEST_F(ButtonBarsTest, ShownBarNumbersOutOfRangeAreRefused) {
    app_prefs.bar_shown = 5;
    app_prefs.editing_bar = 9;
    use_bars({bar_of("A", {"newd"}), bar_of("B", {"bold"})});
    EXPECT_EQ(app_prefs.bar_shown, 0);
    EXPECT_EQ(app_prefs.editing_bar, 0);
    EXPECT_EQ(current_bar.name, "A");
    app_prefs.bar_shown = 1;
    use_bars({bar_of("A", {"newd"}), bar_of("B", {"bold"})});
    EXPECT_EQ(current_bar.name, "B");
}

TEST_F(ButtonBarsTest, MissingOrDamagedFileGivesTheFactoryBarsWrittenBack) {
    EXPECT_NE(read_button_positions(), 0);
    EXPECT_EQ(button_list.size(), 4u);
    std::string path = folder() + "/Quorvin Command Bars";
    std::vector<uint8_t> written = file_bytes(path);
    ASSERT_FALSE(written.empty());
    ASSERT_TRUE(parse_bar_file(written));
    written.resize(written.size() - 1);
    write_bytes(path, written);
    EXPECT_EQ(read_button_positions(), -43);
    EXPECT_EQ(file_bytes(path).size(), written.size() + 1);
    EXPECT_EQ(read_button_positions(), 0);
}

}  // namespace
