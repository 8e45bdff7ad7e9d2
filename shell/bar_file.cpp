// The saved bar file in the preferences folder: every bar with its name, value
// and buttons, big-endian. The file is read whole and checked field by field;
// a damaged one is deleted and replaced by the factory bars.
#include <cstring>
#include <optional>
#include <vector>

#include "platform/files/files.h"
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"
#include "ui/app_prefs.h"
#include "shell/bar_file.h"
#include "shell/button_bars.h"
#include "shell/command_codes.h"
#include "shell/command_bar.h"
#include "resource_ids.h"

namespace {

constexpr int kBarFileNameItem = 10;
constexpr pf::FourCC kBarFileType = pf::four_cc("Qref");
constexpr uint32_t kOldVersion = 528;
constexpr int32_t kMaxBarFile = 1 << 20;
constexpr int16_t kWriteErr = -39;
constexpr int16_t kInvalidFileErr = -43;

struct OperatorButton {
    const char* code;
    int16_t butn;
};

// Where the operator buttons of an older file now take their descriptions from.
constexpr OperatorButton kOperatorButtons[] = {
    {"op**", kTimesButton},      {"op++", kPlusButton},          {"op--", kMinusButton},
    {"op//", kDivideButton},     {"op^^", kPowerButton},         {"op>>", kGreaterButton},
    {"op<<", kLessButton},       {"op<=", kLessEqualButton},     {"op>=", kGreaterEqualButton},
    {"op((", kOpenParenButton},  {"op))", kCloseParenButton},    {"op&&", kJoinButton},
    {"op$$", kDollarButton},     {"op::", kColonButton},         {"op,,", kCommaButton},
    {"op==", kEqualsButton},
};

void take_operator_description(ButtonRecord& button) {
    for (const OperatorButton& op : kOperatorButtons) {
        if (button.command != code_value(op.code)) continue;
        const pf::Resource* resource = pf::get_resource(pf::four_cc("butn"), op.butn);
        if (!resource || resource->bytes.size() != size_t(kButtonRecordSize)) return;
        ButtonRecord now;
        ByteSwapButton(resource->bytes.data(), &now);
        button.description_list = now.description_list;
        button.description_index = now.description_index;
        return;
    }
}

bool read_one_bar(pf::ByteReader& in, uint32_t version, ButtonBar* bar) {
    uint32_t reserved = in.u32(), count = in.u32();
    if (!in.ok || reserved != 0 || count < 1) return false;
    auto name = in.take(in.u8());
    uint32_t value = in.u32();
    if (!in.has(size_t(count) * kButtonRecordSize)) return false;
    bar->name.assign(name.begin(), name.end());
    bar->value = value;
    for (uint32_t i = 0; i < count; ++i) {
        ButtonRecord button;
        ByteSwapButton(in.take(kButtonRecordSize).data(), &button);
        if (!button_usable(button)) return false;
        button.value = 0;
        if (version == kOldVersion) take_operator_description(button);
        bar->buttons.push_back(button);
    }
    return true;
}

pf::OSErr open_bar_file(int8_t permission, pf::FileSpec* spec, int16_t* ref) {
    pf::Str255 name;
    pf::get_indexed_string(name, kPrefsFolderStrings, kBarFileNameItem);
    if (name[0] == 0) return pf::kBadNameErr;
    return OpenPrefsFile(name, spec, kBarFileType, permission, ref);
}

void use_factory_bars() {
    default_buttons();
    write_button_positions();
}

}  // namespace

std::optional<std::vector<ButtonBar>> parse_bar_file(const std::vector<uint8_t>& bytes) {
    pf::ByteReader in{bytes};
    uint32_t version = in.u32(), count = in.u32();
    if (!in.ok || (version != kOldVersion && version != kBarFileVersion) || count < 1) return std::nullopt;
    std::vector<ButtonBar> bars;
    for (uint32_t i = 0; i < count; ++i) {
        ButtonBar bar;
        if (!read_one_bar(in, version, &bar)) return std::nullopt;
        bars.push_back(std::move(bar));
    }
    return bars;
}

std::vector<uint8_t> bar_file_bytes(const std::vector<ButtonBar>& bars) {
    std::vector<uint8_t> bytes;
    auto put32 = [&bytes](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(v >> shift));
    };
    size_t stored = 0;
    for (const ButtonBar& bar : bars) stored += bar.buttons.empty() ? 0 : 1;
    put32(kBarFileVersion);
    put32(uint32_t(stored));
    for (const ButtonBar& bar : bars) {
        // A bar without buttons cannot be read back, so it is not stored.
        if (bar.buttons.empty()) continue;
        put32(0);
        put32(uint32_t(bar.buttons.size()));
        size_t length = std::min<size_t>(bar.name.size(), 255);
        bytes.push_back(uint8_t(length));
        bytes.insert(bytes.end(), bar.name.begin(), bar.name.begin() + long(length));
        put32(bar.value);
        for (const ButtonRecord& button : bar.buttons) {
            uint8_t record[kButtonRecordSize];
            button_to_bytes(button, record);
            bytes.insert(bytes.end(), record, record + kButtonRecordSize);
        }
    }
    return bytes;
}

void use_bars(std::vector<ButtonBar> bars) {
    button_list = std::move(bars);
    // A bar number the list does not hold is refused: the first bar is shown.
    if (app_prefs.bar_shown < 0 || app_prefs.bar_shown >= int16_t(button_list.size())) app_prefs.bar_shown = 0;
    if (app_prefs.editing_bar < 0 || app_prefs.editing_bar > int16_t(button_list.size())) app_prefs.editing_bar = 0;
    has_current_bar = !button_list.empty();
    if (!has_current_bar) return;
    current_bar = button_list[size_t(app_prefs.bar_shown)];
    reset_button_positions(current_bar.buttons, command_bar_screen().right);
}

int16_t read_button_positions() {
    pf::FileSpec spec;
    int16_t ref = 0;
    pf::OSErr err = open_bar_file(pf::kReadPermission, &spec, &ref);
    if (err) {
        use_factory_bars();
        return err;
    }
    std::vector<uint8_t> bytes;
    err = pf::read_whole_fork(ref, kMaxBarFile, bytes);
    pf::close_file(ref);
    std::optional<std::vector<ButtonBar>> bars;
    if (!err) bars = parse_bar_file(bytes);
    if (!bars) {
        pf::delete_file(spec);
        use_factory_bars();
        return kInvalidFileErr;
    }
    use_bars(std::move(*bars));
    return 0;
}

int16_t write_button_positions() {
    if (button_list.empty()) return -1;
    pf::FileSpec spec;
    int16_t ref = 0;
    pf::OSErr err = open_bar_file(pf::kWritePermission, &spec, &ref);
    if (err) return err;
    std::vector<uint8_t> bytes = bar_file_bytes(button_list);
    int32_t count = int32_t(bytes.size());
    bool complete = pf::set_file_position(ref, pf::kFromStart, 0) == pf::noErr &&
                    pf::write_file(ref, count, bytes.data()) == pf::noErr && count == int32_t(bytes.size());
    pf::set_end_of_file(ref, complete ? int32_t(bytes.size()) : 0);
    pf::close_file(ref);
    pf::flush_volume(spec.volume);
    return complete ? 0 : kWriteErr;
}
