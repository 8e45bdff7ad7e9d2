// Source text -> compiled bundle -> values read back through the resource runtime.
#include "tests/tools/rescomp_fixture.h"

namespace {

using namespace pf;

TEST(RescompText, StringListsAndStringsBecomeMacRoman) {
    install_source(R"(
STR# 128 "Units" purgeable {
  "Café ≤ 5 €"
  ""
  "joined " "text"   # comment after the items
  "esc\"aped\x14"
}
'STR ' 703 { 
  "Colour palette"
}
)");
    EXPECT_EQ(get_indexed_string(128, 1), "Caf\x8E \xB2 5 \xDB");
    EXPECT_EQ(get_indexed_string(128, 2), "");
    EXPECT_EQ(get_indexed_string(128, 3), "joined text");
    EXPECT_EQ(get_indexed_string(128, 4), "esc\"aped\x14");
    EXPECT_EQ(string_list_count(128), 4);
    EXPECT_EQ(get_indexed_string(128, 5), "");  // past the end
    EXPECT_EQ(get_indexed_string(128, 0), "");
    EXPECT_EQ(get_indexed_string(129, 1), "");  // no such list
    EXPECT_EQ(get_string(703), "Colour palette");

    Str255 pascal;
    get_indexed_string(pascal, 128, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(pascal + 1), pascal[0]), "joined text");

    const Resource* named = get_named_resource(kStringListType, "Units");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->id, 128);
    EXPECT_EQ(named->attributes, kResPurgeable);
    EXPECT_EQ(get_named_resource(kStringListType, "units"), nullptr);
}

TEST(RescompText, OpaqueBytesAndLookupByType) {
    install_source(R"(
data 'Qrvx' 5 { 
  00 01 fe
  FF10
}
data 'Qrvx' -3 {
}
)");
    const Resource* data = get_resource(four_cc("Qrvx"), 5);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(data->bytes.begin(), data->bytes.end()),
              (std::vector<uint8_t>{0x00, 0x01, 0xFE, 0xFF, 0x10}));
    EXPECT_EQ(count_resources(four_cc("Qrvx")), 2);
    EXPECT_EQ(resource_ids(four_cc("Qrvx")), (std::vector<int16_t>{-3, 5}));
    EXPECT_EQ(get_resource(four_cc("Qrvx"), -3)->bytes.size(), 0u);
    EXPECT_EQ(get_resource(four_cc("Qrvy"), 5), nullptr);
}

TEST(RescompText, Version) {
    install_source(R"(
vers 1 {
  version 12.3.4
  stage beta
  prerelease 7
  region 2
  short "12.3.4b7"
  long "12.3.4b7, © 2026"
}
)");
    VersionInfo version;
    ASSERT_TRUE(decode_version(get_resource(kVersionType, 1)->bytes, version));
    EXPECT_EQ(version.major, 12);
    EXPECT_EQ(version.minor, 3);
    EXPECT_EQ(version.bug_fix, 4);
    EXPECT_EQ(version.stage, kBetaStage);
    EXPECT_EQ(version.prerelease, 7);
    EXPECT_EQ(version.region, 2);
    EXPECT_EQ(version.long_version, "12.3.4b7, \xA9 2026");
    // The short version string is the length-prefixed text 6 bytes into the resource.
    auto bytes = get_resource(kVersionType, 1)->bytes;
    EXPECT_EQ(std::string(bytes.begin() + 7, bytes.begin() + 7 + bytes[6]), "12.3.4b7");
}

TEST(RescompMenus, MenuItemsKeepEveryField) {
    install_source(R"(
MENU 129 "File menu" {
  title "File"
  item "New" key N command 'new '
  item "Save As…" key S shift
  item "Bold" key B bold italic
  item "Grid" mark check
  item "Bullet" mark "•"
  separator
  item "Currency" submenu 139
  item "Gone" disabled icon 260
}
MENU 139 {
  title "Currency"
  definition 251
  disabled
  item "€" key "=" option control
}
MBAR 128 {
  menus 129
  menus 139
}
)");
    MenuTemplate menu;
    ASSERT_TRUE(decode_menu(get_resource(kMenuType, 129)->bytes, menu));
    EXPECT_EQ(menu.id, 129);
    EXPECT_EQ(menu.title, "File");
    EXPECT_TRUE(menu.enabled);
    ASSERT_EQ(menu.items.size(), 8u);
    EXPECT_EQ(menu.items[0].key, 'N');
    EXPECT_EQ(menu.items[0].command, four_cc("new "));
    EXPECT_EQ(menu.items[1].text, "Save As\xC9");
    EXPECT_EQ(menu.items[1].modifiers, kMenuShiftModifier);
    EXPECT_EQ(menu.items[2].style, kFaceBold | kFaceItalic);
    EXPECT_EQ(menu.items[3].mark, kCheckMark);
    EXPECT_EQ(menu.items[4].mark, kBulletMark);
    EXPECT_EQ(menu.items[5].text, "-");
    EXPECT_FALSE(menu.items[5].enabled);
    EXPECT_EQ(menu.items[6].submenu, 139);
    EXPECT_FALSE(menu.items[7].enabled);
    EXPECT_EQ(menu.items[7].icon, 260);

    MenuTemplate currency;
    ASSERT_TRUE(decode_menu(get_resource(kMenuType, 139)->bytes, currency));
    EXPECT_EQ(currency.definition, 251);
    EXPECT_FALSE(currency.enabled);
    EXPECT_EQ(currency.items[0].text, "\xDB");
    EXPECT_EQ(currency.items[0].key, '=');
    EXPECT_EQ(currency.items[0].modifiers, kMenuOptionModifier | kMenuControlModifier);

    std::vector<int16_t> bar;
    ASSERT_TRUE(decode_menu_bar(get_resource(kMenuBarType, 128)->bytes, bar));
    EXPECT_EQ(bar, (std::vector<int16_t>{129, 139}));
}

}  // namespace
