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

TEST(RescompText, SymbolsNameTheirIdsInTheIdsHeader) {
    CompileResult result = run_rescomp(
        "STR# 200 \"Calc\" purgeable symbol kCalcStrings {\n  \"a\"\n}\n"
        "STR# 160 symbol kCalcDialogStrings {\n}\nMENU -3 symbol kLowMenu {\n  title \"x\"\n}\nSTR# 7 {\n}\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.ids.find("constexpr int16_t kCalcStrings = 200;"), std::string::npos) << result.ids;
    EXPECT_NE(result.ids.find("constexpr int16_t kCalcDialogStrings = 160;"), std::string::npos);
    EXPECT_NE(result.ids.find("constexpr int16_t kLowMenu = -3;"), std::string::npos);
    EXPECT_EQ(result.ids.find("= 7;"), std::string::npos);  // no symbol, no constant
    // The symbol is not a name: named lookup and attributes are untouched.
    ASSERT_EQ(pf::resources_install(result.bundle.data(), result.bundle.size()), pf::noErr);
    EXPECT_EQ(get_indexed_string(200, 1), "a");
    EXPECT_NE(get_named_resource(kStringListType, "Calc"), nullptr);
    EXPECT_EQ(get_named_resource(kStringListType, "kCalcStrings"), nullptr);
}

// An item's symbol names its number in the menu, separators counted.
TEST(RescompText, ItemSymbolsNameTheirNumbers) {
    CompileResult result = run_rescomp(
        "MENU 129 symbol kFileMenu {\n  title \"File\"\n  item \"New\" key N symbol kNewItem\n  separator\n"
        "  item \"Plain\"\n  item \"Save\" symbol kSaveItem command 'save'\n}\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.ids.find("constexpr int16_t kFileMenu = 129;"), std::string::npos) << result.ids;
    EXPECT_NE(result.ids.find("constexpr int16_t kNewItem = 1;"), std::string::npos) << result.ids;
    EXPECT_NE(result.ids.find("constexpr int16_t kSaveItem = 4;"), std::string::npos) << result.ids;
    EXPECT_EQ(result.ids.find("= 3;"), std::string::npos);  // no symbol, no constant
    // The symbol leaves the item's text and options as they are.
    ASSERT_EQ(pf::resources_install(result.bundle.data(), result.bundle.size()), pf::noErr);
    pf::MenuTemplate menu;
    ASSERT_TRUE(pf::decode_menu(get_resource(kMenuType, 129)->bytes, menu));
    ASSERT_EQ(menu.items.size(), 4u);
    EXPECT_EQ(menu.items[3].text, "Save");
    EXPECT_EQ(menu.items[3].command, four_cc("save"));
}

// A definition's symbol names its number, which the menu keeps.
TEST(RescompText, DefinitionSymbolsNameTheirNumbers) {
    CompileResult result = run_rescomp("MENU 145 {\n  title \"Colour\"\n  definition 251 symbol kGridDefinition\n}\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.ids.find("constexpr int16_t kGridDefinition = 251;  // definition of"), std::string::npos)
        << result.ids;
    ASSERT_EQ(pf::resources_install(result.bundle.data(), result.bundle.size()), pf::noErr);
    pf::MenuTemplate menu;
    ASSERT_TRUE(pf::decode_menu(get_resource(kMenuType, 145)->bytes, menu));
    EXPECT_EQ(menu.definition, 251);
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

TEST(RescompButtons, ButtonRecordAndBar) {
    install_source(R"(
ics8 1020 {
  legend r 0xD8
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
  rrrrrrrrrrrrrrrr
}
STR# 591 {
  "Bold"
  "Italic"
}
butn 200 {
  width 30
  icon 1020
  flags value needs_document popup_arrow
  command 'bold'
  help 591 2
  description 591 1
}
butn 201 {
}
bars 128 {
  buttons 200 201 200
}
)");
    ButtonTemplate button;
    auto bytes = get_resource(kButtonType, 200)->bytes;
    ASSERT_EQ(bytes.size(), kButtonRecordSize);
    ASSERT_TRUE(decode_button(bytes, button));
    EXPECT_EQ(button.width, 30);
    EXPECT_EQ(button.icon, 1020);
    EXPECT_EQ(button.flags, kButtonShowsValue | kButtonNeedsDocument | kButtonPopupArrow);
    EXPECT_EQ(button.command, four_cc("bold"));
    EXPECT_EQ(button.help_list, 591);
    EXPECT_EQ(button.help_index, 2);
    EXPECT_EQ(button.description_index, 1);
    std::vector<int16_t> bar;
    ASSERT_TRUE(decode_button_bar(get_resource(kButtonBarType, 128)->bytes, bar));
    EXPECT_EQ(bar, (std::vector<int16_t>{200, 201, 200}));
}

TEST(RescompDialogs, DialogItemListAlertAndControls) {
    install_source(R"(
MENU 5000 {
  item "Thin"
}
CNTL 4000 "arrows" {
  rect 10 100 32 115
  kind little_arrows
  value 5
  minimum 1
  maximum 200
}
CNTL 4001 {
  rect 40 20 60 180
  kind popup_button
  title "Line:"
  menu 5000
  invisible
  refcon -2
}
ics8 257 {
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
  ################
}
PICT 400 {
  frame 0 0 10 10
}
DITL 801 {
  button 100 200 120 260 "OK"
  check 10 10 26 150 "Wrap text"
  radio 30 10 46 150 "Across"
  static 50 10 66 300 "Name: ^0" disabled
  edit 70 10 86 300
  control 90 10 112 25 4000
  icon 0 0 16 16 257 disabled
  picture 20 20 30 30 400
  user 0 0 1 1
}
DLOG 801 "Table" {
  rect 40 40 240 400
  kind movable_modal
  title "Table Format"
  close_box
  refcon 77
  position center
}
ALRT 25001 {
  rect 40 40 150 400
  items 801
  default 2
  sound 0
}
ALRT 25002 {
  rect 0 0 10 10
  items 801
  stages 0x0048
}
)");
    std::vector<DialogItemTemplate> items;
    ASSERT_TRUE(decode_item_list(get_resource(kItemListType, 801)->bytes, items));
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0].kind, kButtonItem);
    EXPECT_EQ(items[0].box, (Rect{100, 200, 120, 260}));
    EXPECT_EQ(items[0].text, "OK");
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(items[1].kind, kCheckBoxItem);
    EXPECT_EQ(items[2].kind, kRadioButtonItem);
    EXPECT_EQ(items[3].kind, kStaticTextItem);
    EXPECT_FALSE(items[3].enabled);
    EXPECT_EQ(items[4].kind, kEditTextItem);
    EXPECT_EQ(items[4].text, "");
    EXPECT_EQ(items[5].kind, kControlItem);
    EXPECT_EQ(items[5].resource_id, 4000);
    EXPECT_EQ(items[6].kind, kIconItem);
    EXPECT_EQ(items[6].resource_id, 257);
    EXPECT_EQ(items[7].resource_id, 400);
    EXPECT_EQ(items[8].kind, kUserItem);

    DialogTemplate dialog;
    ASSERT_TRUE(decode_dialog(get_resource(kDialogType, 801)->bytes, dialog));
    EXPECT_EQ(dialog.rect, (Rect{40, 40, 240, 400}));
    EXPECT_EQ(dialog.window_kind, kMovableModalKind);
    EXPECT_EQ(dialog.title, "Table Format");
    EXPECT_TRUE(dialog.close_box);
    EXPECT_TRUE(dialog.visible);
    EXPECT_EQ(dialog.ref_con, 77);
    EXPECT_EQ(dialog.items_id, 801);  // defaults to the dialog's own id
    EXPECT_EQ(dialog.position, kCenterMainScreen);

    AlertTemplate alert;
    ASSERT_TRUE(decode_alert(get_resource(kAlertType, 25001)->bytes, alert));
    EXPECT_EQ(alert.items_id, 801);
    EXPECT_EQ(alert.stages, 0xCCCC);
    EXPECT_EQ(alert_default_item(alert, 1), 2);
    EXPECT_EQ(alert.position, kAlertPositionMainScreen);
    ASSERT_TRUE(decode_alert(get_resource(kAlertType, 25002)->bytes, alert));
    EXPECT_EQ(alert_default_item(alert, 1), 2);
    EXPECT_EQ(alert_default_item(alert, 2), 1);

    ControlTemplate control;
    ASSERT_TRUE(decode_control(get_named_resource(kControlType, "arrows")->bytes, control));
    EXPECT_EQ(control.kind, kLittleArrowsControl);
    EXPECT_EQ(control.value, 5);
    EXPECT_EQ(control.minimum, 1);
    EXPECT_EQ(control.maximum, 200);
    EXPECT_TRUE(control.visible);
    ASSERT_TRUE(decode_control(get_resource(kControlType, 4001)->bytes, control));
    EXPECT_EQ(control.kind, kPopupButtonControl);
    EXPECT_EQ(control.minimum, 5000);
    EXPECT_EQ(control.title, "Line:");
    EXPECT_FALSE(control.visible);
    EXPECT_EQ(control.ref_con, -2);
}

}  // namespace
