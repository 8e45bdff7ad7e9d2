// The spare memory reserve: a handle the grow-zone procedure spends when
// purging frees nothing, regrown at idle time.
#pragma once

#include <cstdint>

#include "platform/memory/memory.h"
#include "resource_ids.h"

using GrowProc = int32_t (*)(int32_t bytes);

constexpr int32_t kReserveStep = 20000;

void SetTaskGrowProc(GrowProc proc, int32_t size);
void SetTaskMemAllocation(int16_t flag);
int32_t GrowZoneFunc(pf::Size bytes, pf::Handle in_progress);
void check_memory();
bool engine_memory_request();
int32_t spare_reserve_size();
int16_t low_memory_code();
// Resizes the reserve now, whatever its target.
void set_spare_reserve(int32_t bytes);
void set_low_memory_code(int16_t code);
