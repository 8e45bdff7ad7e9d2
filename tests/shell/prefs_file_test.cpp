// The preferences record: factory settings, the file's big-endian layout, and
// files that cannot be used.
#include <cstring>

#include "model/cell_format.h"
#include "model/record_bytes.h"
#include "platform/fonts/fonts.h"
#include "platform/system/international.h"
#include "prefs_fixture.h"

namespace {

bool same_record(const AppPrefs& a, const AppPrefs& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A record with a distinct value in every kind of field.
AppPrefs sample_prefs() {
    AppPrefs p;
    ParameterFactorySettings(&p);
    p.palette_positions[kCommandBarPosition] = pf::Point{-40, 300};
    p.undo_depth = 9;
    p.margin_unit = 3;
    p.options = 0x81234567;
    p.options2 = 0x10000408;
    p.dialog_positions[0] = pf::Point{120, 240};
    p.reserved[2] = 0xA1B2C3D4;
    p.startup_action = kStartupWorkspace;
    p.unused_210[5] = 77;
    p.items[0] = pf::FileSpec{pf::kSystemVolume, 0x01020304, "\x05" "Sales"};
    p.items[7] = pf::FileSpec{pf::kSystemVolume, 0xCAFEF00D, "\x04" "User"};
    return p;
}

}  // namespace

TEST_F(PrefsTest, FactorySettingsAreThoseOfTheRecordTable) {
    AppPrefs p;
    std::memset(&p, 0x5A, sizeof p);
    ParameterFactorySettings(&p);
    EXPECT_EQ(p.version, 1280);
    EXPECT_EQ(p.options, 0x0C8141F3u);
    EXPECT_EQ(p.options2, 0x208u);
    EXPECT_EQ(p.undo_depth, 3);
    EXPECT_EQ(p.startup_action, kStartupNewDocument);
    EXPECT_EQ(p.margin_unit, pf::international_settings().metric ? 0 : 1);
    EXPECT_EQ(p.unused_86, 36);
    EXPECT_EQ(p.unused_88, 1);
    EXPECT_EQ(load_i16(p.default_format + 2), pf::font_number("Lucida Grande"));
    const uint8_t expected_format_bytes[][2] = {{4, 12}, {5, 1}, {6, 2}, {9, 0x02}, {11, 76}, {0, 0}, {13, 0}};
    for (auto [at, value] : expected_format_bytes) EXPECT_EQ(p.default_format[at], value) << "byte " << int(at);
    EXPECT_EQ(p.palette_positions[kToolPalettePosition].v, 0);
    EXPECT_EQ(p.reserved[1], 0u);
    for (const pf::FileSpec& item : p.items) EXPECT_EQ(item.name[0], 0);
}

TEST_F(PrefsTest, AWrittenRecordIsBigEndianAtItsOffsetsAndReadsBackTheSame) {
    app_prefs = sample_prefs();
    app_prefs.version = 7;
    const AppPrefs written = app_prefs;
    ASSERT_EQ(WritePrefs(), pf::noErr);
    EXPECT_EQ(app_prefs.version, 1280);  // the write stores the current version

    std::vector<uint8_t> b = file_bytes(prefs_path());
    ASSERT_EQ(b.size(), 782u);
    struct Field {
        size_t offset;
        int width;
        uint32_t value;
    };
    const Field fields[] = {
        {0, 2, 1280},         {4, 2, uint16_t(pf::font_number("Lucida Grande"))},
        {38, 2, 0xFFD8},      {40, 2, 300},
        {78, 2, 3},           {82, 2, 9},
        {86, 2, 36},          {94, 4, 0x81234567},
        {98, 4, 0x10000408},  {104, 2, 240},
        {202, 4, 0xA1B2C3D4}, {206, 2, 3},
        {220, 2, 77},         {222, 2, 0xFFFF},
        {224, 4, 0x01020304}, {714, 4, 0xCAFEF00D},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(f.width == 2 ? big_u16(b, f.offset) : big_u32(b, f.offset), f.value) << "offset " << f.offset;
    }
    EXPECT_EQ(b[6], 12);
    EXPECT_EQ(b[13], 76);
    EXPECT_EQ(std::string(b.begin() + 228, b.begin() + 234), "\x05Sales");

    app_prefs = AppPrefs{};
    EXPECT_EQ(ReadPrefs(), pf::noErr);
    AppPrefs expected = written;
    expected.version = 1280;
    EXPECT_TRUE(same_record(app_prefs, expected));
}

TEST_F(PrefsTest, AFileOfAnotherLengthGivesTheFactorySettingsAndIsLeftAlone) {
    AppPrefs factory;
    ParameterFactorySettings(&factory);
    for (size_t length : {size_t(0), size_t(781), size_t(783)}) {
        std::vector<uint8_t> damaged(length, 0x11);
        write_bytes(prefs_path(), damaged);
        app_prefs = sample_prefs();
        EXPECT_EQ(ReadPrefs(), pf::noErr) << length;
        EXPECT_TRUE(same_record(app_prefs, factory)) << length;
        EXPECT_EQ(file_bytes(prefs_path()), damaged) << length;
    }
}

TEST_F(PrefsTest, AMissingFileAnswersFileNotFoundAndCreatesNothing) {
    app_prefs = sample_prefs();
    EXPECT_EQ(ReadPrefs(), pf::kFileNotFoundErr);
    EXPECT_EQ(app_prefs.undo_depth, 3);
    EXPECT_FALSE(std::filesystem::exists(folder()));
}

TEST_F(PrefsTest, AFileThatCannotBeOpenedAnswersItsErrorNotFileNotFound) {
    std::filesystem::create_directories(folder());
    std::filesystem::create_symlink(prefs_path(), prefs_path());  // a link to itself cannot be opened
    int16_t answer = ReadPrefs();
    EXPECT_NE(answer, pf::noErr);
    EXPECT_NE(answer, pf::kFileNotFoundErr);
    EXPECT_EQ(app_prefs.undo_depth, 3);
}

TEST_F(PrefsTest, AFavouriteWithAnOverlongNameIsCleared) {
    app_prefs = sample_prefs();
    app_prefs.items[1] = pf::FileSpec{pf::kSystemVolume, 5, "\x04" "Next"};
    ASSERT_EQ(WritePrefs(), pf::noErr);
    std::vector<uint8_t> b = file_bytes(prefs_path());
    b[222 + 6] = 200;  // entry 0's name length
    write_bytes(prefs_path(), b);
    ASSERT_EQ(ReadPrefs(), pf::noErr);
    EXPECT_EQ(app_prefs.items[0].name[0], 0);
    EXPECT_EQ(app_prefs.items[0].parent, 0u);
    EXPECT_EQ(app_prefs.items[1].name[0], 4);
}

TEST_F(PrefsTest, FolderIdsAreKeptInThePreferencesFolder) {
    keep_folder_ids_across_runs();
    std::filesystem::create_directories(home + "/Documents/Budgets");
    uint32_t id = 0;
    ASSERT_EQ(pf::folder_id_from_path(home + "/Documents/Budgets", id), pf::noErr);
    std::string registry = file_bytes(folder() + "/Folder Ids").empty() ? "" : "kept";
    EXPECT_EQ(registry, "kept");
    pf::set_folder_registry("");
}

TEST_F(PrefsTest, EachFieldOutOfRangeTakesItsFactoryValueAndTheOthersStay) {
    AppPrefs factory;
    ParameterFactorySettings(&factory);
    const AppPrefs good = sample_prefs();
    uint8_t bytes[kPrefsFileSize];
    prefs_to_file_bytes(good, bytes);
    AppPrefs read;
    EXPECT_TRUE(prefs_from_file_bytes(bytes, read));
    EXPECT_TRUE(same_record(read, good));

    struct Damage {
        const char* what;
        void (*spoil)(AppPrefs&);
        bool (*reset)(const AppPrefs& read, const AppPrefs& factory);
    };
    const Damage damages[] = {
        {"unknown flag", [](AppPrefs& p) { p.options |= 0x10000000; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.options == f.options; }},
        {"unknown display flag", [](AppPrefs& p) { p.options2 |= 0x00010000; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.options2 == f.options2; }},
        {"palette far off", [](AppPrefs& p) { p.palette_positions[kToolPalettePosition] = pf::Point{-30000, 12}; },
         [](const AppPrefs& r, const AppPrefs&) { return r.palette_positions[kToolPalettePosition].v == 0; }},
        {"dialog far off", [](AppPrefs& p) { p.dialog_positions[4] = pf::Point{100, 31000}; },
         [](const AppPrefs& r, const AppPrefs&) { return r.dialog_positions[4].h == 0; }},
        {"undo depth", [](AppPrefs& p) { p.undo_depth = 5000; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.undo_depth == f.undo_depth; }},
        {"no undo", [](AppPrefs& p) { p.undo_depth = -2; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.undo_depth == f.undo_depth; }},
        {"margin unit", [](AppPrefs& p) { p.margin_unit = 4; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.margin_unit == f.margin_unit; }},
        {"start-up action", [](AppPrefs& p) { p.startup_action = 9; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.startup_action == f.startup_action; }},
        {"export choice", [](AppPrefs& p) { p.export_choice = 3; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.export_choice == f.export_choice; }},
        {"dictionary name", [](AppPrefs& p) { p.items[6] = pf::FileSpec{1, 2, "\x04" "a/b\0"}; },
         [](const AppPrefs& r, const AppPrefs&) { return r.items[6].name[0] == 0 && r.items[6].parent == 0; }},
        {"stray entry", [](AppPrefs& p) { p.items[3].parent = 99; },
         [](const AppPrefs& r, const AppPrefs&) { return r.items[3].parent == 0; }},
        {"font size", [](AppPrefs& p) { p.default_format[kFmtSize] = 0; },
         [](const AppPrefs& r, const AppPrefs& f) { return r.default_format[kFmtSize] == f.default_format[kFmtSize]; }},
        {"fill pattern past the list", [](AppPrefs& p) { p.default_format[kFmtPattern] = 200; },
         [](const AppPrefs& r, const AppPrefs&) { return r.default_format[kFmtPattern] == 39; }},
        {"version", [](AppPrefs& p) { p.version = 0x4E71; },
         [](const AppPrefs& r, const AppPrefs&) { return r.version == kPrefsVersion; }},
    };
    for (const Damage& d : damages) {
        AppPrefs spoilt = good;
        d.spoil(spoilt);
        prefs_to_file_bytes(spoilt, bytes);
        EXPECT_FALSE(prefs_from_file_bytes(bytes, read)) << d.what;
        EXPECT_TRUE(d.reset(read, factory)) << d.what;
        EXPECT_EQ(read.items[0].parent, good.items[0].parent) << d.what;
        EXPECT_EQ(read.reserved[2], good.reserved[2]) << d.what;
    }
}
