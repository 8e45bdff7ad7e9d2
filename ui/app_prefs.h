// The application preferences record (782 bytes in the file, big-endian there,
// host order in memory) held in app_prefs for the whole run.
#pragma once

#include <cstdint>

#include "files/running_copies.h"
#include "platform/files/files.h"
#include "platform/types.h"
#include "resource_ids.h"

// First options long (offset 94).
constexpr uint32_t kPrefNewLayerFlags = 0x00000FFF;  // the flags every new layer starts with
constexpr uint32_t kPrefInlineInput = 0x00000040;
constexpr uint32_t kPrefDragAndDrop = 0x00000080;
constexpr uint32_t kPrefOptionsPalette = 0x00001000;
constexpr uint32_t kPrefFunctionTemplates = 0x00004000;
constexpr uint32_t kPrefGridPalette = 0x00008000;
constexpr uint32_t kPrefSheetTabs = 0x00010000;
constexpr uint32_t kPrefChartPalette = 0x00040000;
constexpr uint32_t kPrefColorPalette = 0x00080000;
constexpr uint32_t kPrefToolPalette = 0x00100000;
constexpr uint32_t kPrefFontsInOwnFace = 0x80000000;
// Second options long (offset 98).
constexpr uint32_t kPrefHelpTagsOff = 0x00000100;
constexpr uint32_t kPrefAntiAliasedText = 0x00000200;
constexpr uint32_t kPrefKeepKeyboardScript = 0x00000040;  // clicks and arrows in text leave the keyboard's script
constexpr uint32_t kPrefAddExtensions = 0x00000400;  // the Save dialog puts the format's extension on names
constexpr uint32_t kPrefRefreshButtons = 0x20000000;

// Fields of the default cell format that the preferences keep apart from the
// cell format's own: the date format code, the number flags and the column
// width in points (0: 76).
constexpr int kDefaultDateFormatByte = 5;
constexpr int kDefaultNumberFlagsByte = 9;
constexpr int kDefaultColumnWidthByte = 11;

// Largest values a preferences field may hold.
constexpr int16_t kMostUndoLevels = 99;
constexpr uint8_t kMostDecimals = 15;

// Start-up actions.
constexpr int16_t kStartupNothing = 0;
constexpr int16_t kStartupNewDocument = 1;
constexpr int16_t kStartupOpenDialog = 2;
constexpr int16_t kStartupWorkspace = 3;

constexpr int kRecentDocuments = 6;

// Saved palette positions (index into palette_positions).
enum : int {
    kToolPalettePosition = 0,
    kCommandBarPosition = 1,
    kGridPalettePosition = 2,
    kColorPalettePosition = 3,
    kChartPalettePosition = 4,
    kSheetTabsPosition = 5,
    kFindWindowPosition = 6,
    kSpellingWindowPosition = 7,
    kOptionsWindowPosition = 8,
};

#pragma pack(push, 2)
struct AppPrefs {
    uint16_t version;
    uint8_t default_format[32];
    pf::Point palette_positions[9];
    int16_t bar_shown;
    int16_t editing_bar;
    int16_t unused_74[2];
    int16_t margin_unit;
    int16_t tab_bar_width;
    int16_t undo_depth;
    int16_t export_choice;
    int16_t unused_86;
    int16_t unused_88;
    int16_t prefs_panel;
    int16_t paste_special_choice;
    uint32_t options;
    uint32_t options2;
    pf::Point dialog_positions[23];
    uint32_t reserved[3];
    int16_t startup_action;
    int16_t unused_208;
    int16_t unused_210[6];
    pf::FileSpec items[8];  // 0-5 recent documents, 6 main dictionary, 7 user dictionary
};
#pragma pack(pop)
static_assert(sizeof(AppPrefs) == 782, "the preferences record is 782 bytes");

extern AppPrefs app_prefs;

// Whether a caret placed in text by a click or an arrow key brings the
// keyboard to the script of the text before it, so that what is typed there
// next joins that text; the preferences may keep the keyboard's script instead.
// (A typed character of one script always takes its own.)
inline bool caret_sets_keyboard_script() { return (app_prefs.options2 & kPrefKeepKeyboardScript) == 0; }
// Set by ReadPrefs when the file held fields out of range that were reset.
extern bool prefs_were_reset;
constexpr int16_t kPrefsResetMessage = 1;

constexpr int32_t kPrefsFileSize = 782;
constexpr uint16_t kPrefsVersion = 1280;
constexpr pf::FourCC kQuorvinCreator = pf::four_cc("QRVA");

// Clears the record and sets the factory settings.
void ParameterFactorySettings(AppPrefs* prefs);

// The record in file order (big-endian, 782 bytes), field by field, and back.
// Reading range-checks every field that has a reader (flags to their known
// bits, window corners, counts and choices, the file entries) and gives each
// one that fails its factory value; it answers false when any failed.
void prefs_to_file_bytes(const AppPrefs& prefs, uint8_t* bytes);
bool prefs_from_file_bytes(const uint8_t* bytes, AppPrefs& prefs);

// The recent documents listed: those before the first empty entry.
int recent_document_count();

// The named file in the "Quorvin" folder of the Preferences folder. Any
// permission but reading creates the folder and the file (with the type and
// creator "QRVA") when missing; reading creates nothing and answers
// kFileNotFoundErr for a missing folder or file. With `ref`, the data fork is
// opened with the permission.
int16_t OpenPrefsFile(const unsigned char* name, pf::FileSpec* spec, pf::FourCC type, int8_t permission,
                      int16_t* ref);
// The spec of the preferences file (STR# 25005 item 3), with OpenPrefsFile's answers.
int16_t prefs_file_spec(pf::FileSpec* spec, int8_t permission, int16_t* ref);
