// The messages of the fill, sort and Move cells commands (STR# 143).
#pragma once

#include <cstdint>

constexpr int16_t kFillSortStrings = 143;
constexpr int kSeriesTextResultItem = 1;
constexpr int kMoveNotACellItem = 2;
