// Alerts are not drawn yet: each request is written to the standard error
// stream and answered with the default item, and the last requests are kept
// for inspection (alert_requests).
#include <cstdio>
#include <string>
#include <vector>

#include "core/alerts.h"
#include "core/alerts_pending.h"
#include "core/system_info.h"
#include "core/task_manager.h"
#include "platform/resources/resources.h"
#include "platform/text/mac_roman.h"

namespace {

std::vector<AlertRequest> requests;

std::string pstring_text(const unsigned char* text) {
    return text ? std::string(reinterpret_cast<const char*>(text + 1), text[0]) : std::string();
}

}  // namespace

std::vector<AlertRequest>& alert_requests() { return requests; }

int16_t key_caution_alert(const unsigned char* text, int16_t alert_id, int16_t kind) {
    if (in_background()) return 1;
    std::string mac_roman = pstring_text(text);
    requests.push_back(AlertRequest{alert_id, kind, mac_roman});
    std::fprintf(stderr, "quorvin: alert %d: %s\n", alert_id, pf::mac_roman_to_utf8(mac_roman).c_str());
    return 1;
}

int16_t str_multi_alert(int16_t list_id, int16_t index, int16_t alert_id, int16_t kind) {
    pf::Str255 text;
    pf::get_indexed_string(text, list_id, index);
    return key_caution_alert(text, alert_id, kind);
}

int16_t error_alert(int16_t list_id, int16_t index) {
    if (in_background()) {
        SetTaskError((int32_t(uint16_t(list_id)) << 16) | uint16_t(index));
        return 1;
    }
    return str_multi_alert(list_id, index, kStandardStopAlert, kStopAlertKind);
}

int16_t os_error_alert(int16_t error) {
    std::string text = pf::get_indexed_string(kErrorStrings, 22) + " (" + std::to_string(error) + ")";
    unsigned char message[256];
    message[0] = uint8_t(text.size() > 255 ? 255 : text.size());
    text.copy(reinterpret_cast<char*>(message + 1), message[0]);
    return key_caution_alert(message, kStandardStopAlert, kStopAlertKind);
}

int16_t show_file_error(int16_t error) { return os_error_alert(error); }
