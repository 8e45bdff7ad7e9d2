// Navigation dialogs are not built yet: every file dialog is cancelled.
#include <cstdint>

#include "platform/files/files.h"

namespace {
constexpr int16_t kUserCancelled = -128;
}

int16_t SaveFileDialog(const pf::FileSpec*, const unsigned char*, pf::FourCC, void*, pf::FileSpec*, int16_t* stationery,
                       int16_t* replacing, pf::FourCC, void*) {
    if (stationery) *stationery = 0;
    if (replacing) *replacing = 0;
    return kUserCancelled;
}

int16_t NavOpenDialog(const pf::FileSpec*, const pf::FourCC*, int16_t, int16_t, pf::FileSpec*, pf::FourCC, void*) {
    return kUserCancelled;
}

int16_t NavFolderDialog(pf::FileSpec*) { return kUserCancelled; }
