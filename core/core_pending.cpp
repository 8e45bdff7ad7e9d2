// Alerts, navigation dialogs and the favourite-documents list are not built
// yet: nothing is shown, questions take their first (default) answer, and
// every file dialog is cancelled.
#include <cstdint>

#include "platform/files/files.h"

namespace {
constexpr int16_t kUserCancelled = -128;
}

int16_t str_multi_alert(int16_t, int16_t, int16_t, int16_t) { return 1; }
int16_t error_alert(int16_t, int16_t) { return 1; }
int16_t show_file_error(int16_t) { return 1; }

int16_t SaveFileDialog(const pf::FileSpec*, const unsigned char*, pf::FourCC, void*, pf::FileSpec*, int16_t* stationery,
                       int16_t* replacing, pf::FourCC, void*) {
    if (stationery) *stationery = 0;
    if (replacing) *replacing = 0;
    return kUserCancelled;
}

int16_t NavOpenDialog(const pf::FileSpec*, const pf::FourCC*, int16_t, int16_t, pf::FileSpec*, pf::FourCC, void*) {
    return kUserCancelled;
}

void update_pref_specs(const pf::FileSpec*, int16_t) {}
