#include "platform/draw/devices.h"

#include "platform/screen/screen.h"

namespace pf {

namespace {

std::vector<GDevice> devices_set;

}  // namespace

std::vector<GDevice> device_list() {
    if (!devices_set.empty()) return devices_set;
    const Screen* s = screen();
    if (!s) return {};
    return {GDevice{Rect{0, 0, int16_t(s->height), int16_t(s->width)}, 32, true, true}};
}

void set_device_list(const std::vector<GDevice>& devices) { devices_set = devices; }

}  // namespace pf
