// The Format menu and its Date, Time, Currency, format options and precision
// submenus.
#pragma once

#include <cstdint>

#include "core/memory_manager.h"

void DoFormatMenu(MemoryRef window_record, int16_t item);
void DoDateMenu(MemoryRef window_record, int16_t item);
void DoTimeMenu(MemoryRef window_record, int16_t item);
void DoCurrencyMenu(MemoryRef window_record, int16_t item);
void DoFormatOptionMenu(MemoryRef window_record, int16_t item);
void DoPrecisionMenu(MemoryRef window_record, int16_t item);
// Marks the Format menu and its submenus for the layer's selection.
void set_format_menu(MemoryRef layer);
