// Decoders of the structured resource kinds into plain records for the menus,
// dialogs, controls and drawing modules. Each takes a resource's bytes, checks every
// length, and answers false for damaged bytes (the record is then unspecified).
// Texts are Mac Roman.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace pf {

using ResourceBytes = std::span<const uint8_t>;

struct MenuItemTemplate {
    std::string text;      // "-" for a separator line
    uint8_t key = 0;       // key equivalent, 0 for none
    uint8_t modifiers = 0; // kMenuShiftModifier ... beside Command
    uint8_t mark = 0;      // kCheckMark, another character, or 0
    uint8_t style = 0;     // face bits
    int16_t icon = 0;
    int16_t submenu = 0;   // MENU id of a hierarchical submenu, 0 for none
    FourCC command = 0;    // command id, 0 for none
    bool enabled = true;
};

struct MenuTemplate {
    int16_t id = 0;
    int16_t definition = 0;  // menu definition procedure id; 0 the standard one
    bool enabled = true;
    std::string title;
    std::vector<MenuItemTemplate> items;
};

bool decode_menu(ResourceBytes bytes, MenuTemplate& out);
bool decode_menu_bar(ResourceBytes bytes, std::vector<int16_t>& menu_ids);

// One dialog item, from a DITL or built in code (dialogs.h calls it DialogItemSpec).
struct DialogItemTemplate {
    uint8_t kind = 0;          // kUserItem, kButtonItem ... (without kItemDisabled)
    Rect box{};
    std::string text;          // buttons, check boxes, radios, static and edit texts
    int16_t resource_id = 0;   // control (CNTL), icon and picture items
    bool enabled = true;
};

struct DialogTemplate {
    Rect rect;
    int16_t window_kind = 0;
    bool visible = true;
    bool close_box = false;
    int32_t ref_con = 0;
    int16_t items_id = 0;  // DITL
    std::string title;
    uint16_t position = 0;  // kNoPosition, kCenterMainScreen ...
};

struct AlertTemplate {
    Rect rect;
    int16_t items_id = 0;
    uint16_t stages = 0;  // four 4-bit stages, stage 1 lowest: 0x8 default is item 2, 0x4 drawn, 0x3 sound
    uint16_t position = 0;
};

// The default item (1 or 2) of an alert stage (1 to 4).
int alert_default_item(const AlertTemplate& alert, int stage);

struct ControlTemplate {
    Rect rect;
    int16_t value = 0;
    bool visible = true;
    int16_t maximum = 0;
    int16_t minimum = 0;  // the MENU id for a pop-up button
    int16_t kind = 0;     // kPushButtonControl ...
    int32_t ref_con = 0;
    std::string title;
};

bool decode_item_list(ResourceBytes bytes, std::vector<DialogItemTemplate>& out);
bool decode_dialog(ResourceBytes bytes, DialogTemplate& out);
bool decode_alert(ResourceBytes bytes, AlertTemplate& out);
bool decode_control(ResourceBytes bytes, ControlTemplate& out);

// 16 x 16 one-bit images: row r, column c is bit (15 - c) of rows[r].
using Bits16 = std::array<uint16_t, 16>;

struct CursorImage {
    Bits16 data{};
    Bits16 mask{};
    Point hot_spot;
};

using PatternBytes = std::array<uint8_t, 8>;  // 8 rows, bit 7 is the left pixel

struct ColorTableEntry {
    uint16_t value = 0;
    uint16_t red = 0, green = 0, blue = 0;
};

struct ColorTableResource {
    uint32_t seed = 0;
    uint16_t flags = 0;
    std::vector<ColorTableEntry> entries;
};

struct SmallIcon {  // 'ics#'
    Bits16 image{};
    Bits16 mask{};
};

using ColorIcon = std::array<uint8_t, 256>;  // 'ics8': 16 x 16 indexes into the 256-colour system table

bool decode_cursor(ResourceBytes bytes, CursorImage& out);
bool decode_patterns(ResourceBytes bytes, std::vector<PatternBytes>& out);
bool decode_color_table(ResourceBytes bytes, ColorTableResource& out);
bool decode_small_icon(ResourceBytes bytes, SmallIcon& out);
bool decode_small_icon_list(ResourceBytes bytes, std::vector<Bits16>& out);
bool decode_color_icon(ResourceBytes bytes, ColorIcon& out);

struct ButtonTemplate {  // 'butn': the command bar's 36-byte button record
    int16_t position = 0;
    int16_t width = 0;  // 0 the standard 22-pixel square
    int16_t icon = 0;   // ics8 / ics# id, 0 for none
    uint16_t flags = 0;
    Rect rect;
    FourCC command = 0;
    int16_t state = 0, value = 0, drawn_state = 0, drawn_value = 0;
    int16_t help_list = 0, help_index = 0;
    int16_t description_list = 0, description_index = 0;
};

bool decode_button(ResourceBytes bytes, ButtonTemplate& out);
// 'bars': a count and 'butn' ids. A count that disagrees with the size is taken from the size.
bool decode_button_bar(ResourceBytes bytes, std::vector<int16_t>& button_ids);

struct VersionInfo {
    int major = 0, minor = 0, bug_fix = 0;
    uint8_t stage = 0;  // kDevelopmentStage ... kReleaseStage
    uint8_t prerelease = 0;
    uint16_t region = 0;
    std::string short_version;  // the text 6 bytes into the resource
    std::string long_version;
};

bool decode_version(ResourceBytes bytes, VersionInfo& out);

// One drawing command of a picture; which fields count depends on the opcode.
struct PictureOp {
    uint16_t opcode = 0;  // kPicFrameRect ..., kPicLine, kPicLongText, kPicForeColor ...
    Rect rect;            // shapes
    Point from, to;       // line ends; text position in `from`; pen and oval size in `from` (v height, h width)
    int16_t value = 0;    // font, face, size, pen mode
    uint16_t red = 0, green = 0, blue = 0;
    PatternBytes pattern{};
    std::string text;
    // kPicBitsRect: a one-bit image of `bounds`, rows of `row_bytes`, its `source` part copied
    // to `rect` with transfer mode `value`.
    Rect bounds, source;
    uint16_t row_bytes = 0;
    std::vector<uint8_t> bits;
};

struct PictureCommands {
    Rect frame;
    std::vector<PictureOp> ops;  // without the version, header, clip and end opcodes
};

// Decodes the version-2 picture subset the compiler writes; false for other opcodes.
bool decode_picture(ResourceBytes bytes, PictureCommands& out);

}  // namespace pf
