// The spare memory reserve: a handle the grow-zone procedure may spend in steps
// of 20,000 bytes when purging frees nothing, regrown at idle time; what could
// not be regrown is kept as the low-memory code for the alert.
#include "core/memory_reserve.h"

#include <algorithm>

#include "core/foundation_services.h"
#include "core/memory_manager.h"

namespace {

struct Reserve {
    GrowProc grow = nullptr;
    pf::Handle spare_tire = nullptr;
    int32_t tire_size = 0;
    int16_t allocation = 1;
    int16_t cycle_error = 0;
};

Reserve reserve;

int32_t spare_size() { return reserve.spare_tire ? pf::get_handle_size(reserve.spare_tire) : 0; }

bool resize_spare(int32_t bytes) {
    if (!reserve.spare_tire) {
        reserve.spare_tire = pf::new_handle(bytes);
        return reserve.spare_tire != nullptr;
    }
    return pf::set_handle_size(reserve.spare_tire, bytes) == pf::noErr;
}

}  // namespace

void SetTaskGrowProc(GrowProc proc, int32_t size) {
    reserve.grow = proc;
    reserve.tire_size = size;
    if (size == 0) return;
    if (reserve.spare_tire) pf::dispose_handle(reserve.spare_tire);
    reserve.spare_tire = pf::new_handle(size);
}

void SetTaskMemAllocation(int16_t flag) { reserve.allocation = flag; }

bool engine_memory_request() { return (mem_globals.flags & kMemAllocating) != 0; }

int32_t GrowZoneFunc(pf::Size bytes, pf::Handle) {
    pf::Size free_before = pf::free_mem();
    int32_t answer = reserve.grow ? reserve.grow(bytes) : 0;
    if (pf::free_mem() > free_before) answer = 1;
    if (answer == 0 && reserve.allocation == 1 && !engine_memory_request() && spare_size() > 0) {
        resize_spare(std::max<int32_t>(0, spare_size() - kReserveStep));
        return 1;
    }
    return answer == 1 ? 1 : 0;
}

void check_memory() {
    int32_t size = spare_size();
    if (size < reserve.tire_size) {
        int16_t allocation = reserve.allocation;
        reserve.allocation = 0;
        bool grown = resize_spare(std::min(size + kReserveStep, reserve.tire_size));
        reserve.allocation = allocation;
        if (!grown) reserve.cycle_error = kLowMemoryAlert;
        else if (spare_size() >= reserve.tire_size) foundation_services.reserve_refilled();
    } else if (size > reserve.tire_size) {
        resize_spare(reserve.tire_size);
    }
}

int32_t spare_reserve_size() { return spare_size(); }
int16_t low_memory_code() { return reserve.cycle_error; }
void set_low_memory_code(int16_t code) { reserve.cycle_error = code; }

void set_spare_reserve(int32_t bytes) { resize_spare(bytes); }
