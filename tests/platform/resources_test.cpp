// The resource runtime: the linked bundle, and damaged bundles and resources that
// must be refused without reading out of bounds.
#include "platform/resources/resources.h"

#include <gtest/gtest.h>

#include <random>

#include "resource_bundle.h"
#include "tests/tools/rescomp_fixture.h"

namespace {

using namespace pf;

std::vector<uint8_t> linked_bundle() {
    return std::vector<uint8_t>(resource_bundle_data(), resource_bundle_data() + resource_bundle_size());
}

TEST(Resources, LinkedBundleInstallsWithItsVersion) {
    ASSERT_EQ(resources_install(resource_bundle_data(), resource_bundle_size()), noErr);
    VersionInfo version;
    const Resource* vers = get_resource(kVersionType, 1);
    ASSERT_NE(vers, nullptr);
    EXPECT_TRUE(decode_version(vers->bytes, version));
    resources_clear();
    EXPECT_EQ(get_resource(kVersionType, 1), nullptr);
    EXPECT_EQ(count_resources(kVersionType), 0);
}

TEST(Resources, DamagedBundleIsRefusedAndKeepsTheInstalledOne) {
    std::vector<uint8_t> bundle = linked_bundle();
    ASSERT_EQ(resources_install(bundle.data(), bundle.size()), noErr);
    for (size_t size = 0; size + 1 < bundle.size(); ++size)  // the last byte may be padding
        EXPECT_EQ(resources_install(bundle.data(), size), kMapReadErr) << size;
    std::vector<uint8_t> bad_magic = bundle;
    bad_magic[0] ^= 1;
    EXPECT_EQ(resources_install(bad_magic.data(), bad_magic.size()), kMapReadErr);
    EXPECT_NE(get_resource(kVersionType, 1), nullptr);
}

TEST(Resources, RandomBytesNeverCrashTheReader) {
    std::mt19937 random(7);
    std::vector<uint8_t> bundle = linked_bundle();
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> damaged = bundle;
        for (int flips = 0; flips < 3; ++flips) damaged[random() % damaged.size()] = uint8_t(random());
        if (resources_install(damaged.data(), damaged.size()) != noErr) continue;
        for (FourCC type : {kVersionType, kStringListType})
            for (int16_t id : resource_ids(type)) {
                VersionInfo version;
                decode_version(get_resource(type, id)->bytes, version);
                get_indexed_string(id, 1);
            }
    }
}

// Decodes bytes as the given kind; damaged bytes must give false, never a crash.
bool decode_as(FourCC type, ResourceBytes bytes) {
    MenuTemplate menu;
    std::vector<int16_t> ids;
    std::vector<DialogItemTemplate> items;
    DialogTemplate dialog;
    AlertTemplate alert;
    ControlTemplate control;
    CursorImage cursor;
    std::vector<PatternBytes> patterns;
    ColorTableResource table;
    SmallIcon icon;
    std::vector<Bits16> icons;
    ColorIcon color_icon;
    ButtonTemplate button;
    VersionInfo version;
    PictureCommands picture;
    switch (type) {
        case kMenuType: return decode_menu(bytes, menu);
        case kMenuBarType: return decode_menu_bar(bytes, ids);
        case kItemListType: return decode_item_list(bytes, items);
        case kDialogType: return decode_dialog(bytes, dialog);
        case kAlertType: return decode_alert(bytes, alert);
        case kControlType: return decode_control(bytes, control);
        case kCursorType: return decode_cursor(bytes, cursor);
        case kPatternListType: return decode_patterns(bytes, patterns);
        case kColorTableType: return decode_color_table(bytes, table);
        case kSmallIconType: return decode_small_icon(bytes, icon);
        case kSmallIconListType: return decode_small_icon_list(bytes, icons);
        case kColorIconType: return decode_color_icon(bytes, color_icon);
        case kButtonType: return decode_button(bytes, button);
        case kButtonBarType: return decode_button_bar(bytes, ids);
        case kVersionType: return decode_version(bytes, version);
        case kPictureType: return decode_picture(bytes, picture);
        default: return false;
    }
}

const char* const kEveryKind = R"(
MENU 1 {
  title "T"
  item "A" key A shift command 'abcd'
  item "B" submenu 2
}
MENU 2 {
  item "C"
}
MBAR 1 {
  menus 1 2
}
CNTL 1 {
  rect 0 0 10 10
  kind popup_button
  menu 2
  title "Pop"
}
DITL 1 {
  button 0 0 10 10 "OK"
  control 0 0 10 10 1
  static 0 0 10 10 "odd"
}
DLOG 1 {
  rect 0 0 10 10
  title "odd"
}
ALRT 1 {
  rect 0 0 10 10
}
CURS 1 {
  hotspot 1 1
)" "  ################\n" "  ################\n" "  ################\n" "  ################\n"
    "  ################\n" "  ################\n" "  ################\n" "  ################\n"
    "  ################\n" "  ################\n" "  ################\n" "  ################\n"
    "  ################\n" "  ################\n" "  ################\n" "  ################\n" R"(}
PAT# 1 {
  hex 0102030405060708
}
clut 1 {
  color 1 2 3
}
SICN 1 {
)" "  ################\n" "  ################\n" "  ################\n" "  ################\n"
    "  ################\n" "  ################\n" "  ################\n" "  ################\n"
    "  ################\n" "  ################\n" "  ################\n" "  ################\n"
    "  ################\n" "  ################\n" "  ################\n" "  ################\n" R"(}
butn 1 {
  command 'xyzw'
}
bars 1 {
  buttons 1 1
}
vers 1 {
  version 1.0
  short "1"
}
PICT 1 {
  frame 0 0 10 10
  face bold
  text 1 1 "odd"
  line 0 0 5 5
  bits 1 1
    #.#
}
)";

TEST(Resources, DamagedResourcesOfEveryKindAreRefused) {
    install_source(kEveryKind);
    std::mt19937 random(11);
    for (FourCC type : {kMenuType, kMenuBarType, kControlType, kItemListType, kDialogType, kAlertType, kCursorType,
                        kPatternListType, kColorTableType, kSmallIconListType, kButtonType, kButtonBarType,
                        kVersionType, kPictureType}) {
        const Resource* resource = get_resource(type, 1);
        ASSERT_NE(resource, nullptr);
        std::vector<uint8_t> bytes(resource->bytes.begin(), resource->bytes.end());
        EXPECT_TRUE(decode_as(type, bytes)) << std::hex << type;
        // Shortened copies live in their own allocations so that a read past the end is caught.
        for (size_t size = 0; size < bytes.size(); ++size) {
            std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(size));
            if (type != kButtonBarType) EXPECT_FALSE(decode_as(type, cut)) << std::hex << type << " " << size;
            else decode_as(type, cut);
        }
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> damaged = bytes;
            damaged[random() % damaged.size()] = uint8_t(random());
            decode_as(type, damaged);
        }
    }
}

}  // namespace
