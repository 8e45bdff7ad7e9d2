// The compiled resource bundle's layout and the codes stored in its resources,
// shared by the resource compiler (tools/rescomp) and the runtime reader.
// Everything is big-endian. resources/README.md describes each layout.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pf {

// Bundle: header, entry table sorted by (type, id), names area, data area.
constexpr FourCC kBundleMagic = four_cc("QRSB");
constexpr uint16_t kBundleVersion = 1;
constexpr uint32_t kBundleHeaderSize = 20;  // magic, version, reserved, count, names offset, data offset
constexpr uint32_t kBundleEntrySize = 20;   // type, id, attributes, name offset, data offset, length
constexpr uint32_t kNoName = 0xFFFFFFFF;

// Resource attributes (the classic bit values).
constexpr uint16_t kResSysHeap = 0x40;
constexpr uint16_t kResPurgeable = 0x20;
constexpr uint16_t kResLocked = 0x10;
constexpr uint16_t kResProtected = 0x08;
constexpr uint16_t kResPreload = 0x04;

// Resource types.
constexpr FourCC kStringListType = four_cc("STR#");
constexpr FourCC kStringType = four_cc("STR ");
constexpr FourCC kMenuType = four_cc("MENU");
constexpr FourCC kMenuBarType = four_cc("MBAR");
constexpr FourCC kDialogType = four_cc("DLOG");
constexpr FourCC kItemListType = four_cc("DITL");
constexpr FourCC kAlertType = four_cc("ALRT");
constexpr FourCC kControlType = four_cc("CNTL");
constexpr FourCC kCursorType = four_cc("CURS");
constexpr FourCC kPatternListType = four_cc("PAT#");
constexpr FourCC kColorTableType = four_cc("clut");
constexpr FourCC kPictureType = four_cc("PICT");
constexpr FourCC kColorIconType = four_cc("ics8");
constexpr FourCC kSmallIconType = four_cc("ics#");
constexpr FourCC kSmallIconListType = four_cc("SICN");
constexpr FourCC kButtonType = four_cc("butn");
constexpr FourCC kButtonBarType = four_cc("bars");
constexpr FourCC kVersionType = four_cc("vers");

// Menu item key-equivalent modifiers.
constexpr uint8_t kMenuShiftModifier = 0x01;
constexpr uint8_t kMenuOptionModifier = 0x02;
constexpr uint8_t kMenuControlModifier = 0x04;
constexpr uint8_t kMenuNoCommandModifier = 0x08;

// Menu item marks (Mac Roman characters).
constexpr uint8_t kNoMark = 0;
constexpr uint8_t kCheckMark = 0x12;
constexpr uint8_t kDiamondMark = 0x13;
constexpr uint8_t kBulletMark = 0xA5;

// Text face bits (menu item styles, picture text).
constexpr uint8_t kFaceBold = 0x01;
constexpr uint8_t kFaceItalic = 0x02;
constexpr uint8_t kFaceUnderline = 0x04;
constexpr uint8_t kFaceOutline = 0x08;
constexpr uint8_t kFaceShadow = 0x10;
constexpr uint8_t kFaceCondense = 0x20;
constexpr uint8_t kFaceExtend = 0x40;

// Dialog item kinds; kItemDisabled is or-ed in for an item that reports no clicks.
constexpr uint8_t kUserItem = 0;
constexpr uint8_t kButtonItem = 4;
constexpr uint8_t kCheckBoxItem = 5;
constexpr uint8_t kRadioButtonItem = 6;
constexpr uint8_t kControlItem = 7;
constexpr uint8_t kStaticTextItem = 8;
constexpr uint8_t kEditTextItem = 16;
constexpr uint8_t kIconItem = 32;
constexpr uint8_t kPictureItem = 64;
constexpr uint8_t kItemDisabled = 128;

// Window kinds of dialog templates.
constexpr int16_t kDocumentWindowKind = 0;
constexpr int16_t kModalDialogKind = 1;
constexpr int16_t kPlainDialogKind = 2;
constexpr int16_t kShadowDialogKind = 3;
constexpr int16_t kNoGrowDocumentKind = 4;
constexpr int16_t kMovableModalKind = 5;
constexpr int16_t kZoomDocumentKind = 8;

// Dialog and alert placement.
constexpr uint16_t kNoPosition = 0;
constexpr uint16_t kCenterMainScreen = 0x280A;
constexpr uint16_t kAlertPositionMainScreen = 0x300A;
constexpr uint16_t kStaggerMainScreen = 0x380A;

// Control kinds (definition numbers of control templates).
constexpr int16_t kPushButtonControl = 0;
constexpr int16_t kCheckBoxControl = 1;
constexpr int16_t kRadioButtonControl = 2;
constexpr int16_t kScrollBarControl = 16;
constexpr int16_t kBevelButtonControl = 32;
constexpr int16_t kProgressBarControl = 80;
constexpr int16_t kLittleArrowsControl = 96;
constexpr int16_t kSeparatorControl = 144;
constexpr int16_t kGroupBoxControl = 160;
constexpr int16_t kPlacardControl = 224;
constexpr int16_t kUserPaneControl = 256;
constexpr int16_t kEditTextControl = 272;
constexpr int16_t kPasswordTextControl = 274;
constexpr int16_t kStaticTextControl = 288;
constexpr int16_t kListBoxControl = 352;
constexpr int16_t kPopupButtonControl = 1008;

// Button flags of 'butn' resources.
constexpr uint16_t kButtonShowsValue = 0x01;
constexpr uint16_t kButtonNeedsDocument = 0x02;
constexpr uint16_t kButtonPopup = 0x08;
constexpr uint16_t kButtonPopupArrow = 0x10;
constexpr uint16_t kButtonInert = 0x20;
constexpr uint32_t kButtonRecordSize = 36;

// 'vers' release stages.
constexpr uint8_t kDevelopmentStage = 0x20;
constexpr uint8_t kAlphaStage = 0x40;
constexpr uint8_t kBetaStage = 0x60;
constexpr uint8_t kReleaseStage = 0x80;

// Picture opcodes (version 2 pictures; the subset the compiler writes).
constexpr uint16_t kPicNop = 0x0000;
constexpr uint16_t kPicClipRegion = 0x0001;
constexpr uint16_t kPicTextFont = 0x0003;
constexpr uint16_t kPicTextFace = 0x0004;
constexpr uint16_t kPicPenSize = 0x0007;
constexpr uint16_t kPicPenMode = 0x0008;
constexpr uint16_t kPicPenPattern = 0x0009;
constexpr uint16_t kPicOvalSize = 0x000B;
constexpr uint16_t kPicTextSize = 0x000D;
constexpr uint16_t kPicVersion = 0x0011;
constexpr uint16_t kPicForeColor = 0x001A;
constexpr uint16_t kPicBackColor = 0x001B;
constexpr uint16_t kPicLine = 0x0020;
constexpr uint16_t kPicLongText = 0x0028;
constexpr uint16_t kPicFrameRect = 0x0030;  // + 0 frame, 1 paint, 2 erase, 3 invert, 4 fill
constexpr uint16_t kPicFrameRoundRect = 0x0040;
constexpr uint16_t kPicFrameOval = 0x0050;
constexpr uint16_t kPicBitsRect = 0x0090;  // an unpacked one-bit image
constexpr uint16_t kPicEnd = 0x00FF;
constexpr uint16_t kPicHeader = 0x0C00;
constexpr uint16_t kPicVersion2 = 0x02FF;

}  // namespace pf
