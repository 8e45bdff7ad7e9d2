// The messages of the fill, sort and Move cells commands (STR# 143).
#pragma once

#include <cstdint>
#include "resource_ids.h"

constexpr int kSeriesTextResultItem = 1;
constexpr int kMoveNotACellItem = 2;
