// The bar file's format: reading a file's bytes into bars (nothing when any
// field is out of range or the bytes end early) and writing bars as bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "shell/button_bars.h"

constexpr uint32_t kBarFileVersion = 529;

std::optional<std::vector<ButtonBar>> parse_bar_file(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> bar_file_bytes(const std::vector<ButtonBar>& bars);
// Takes bars read from the file; a shown-bar or editing-bar number out of
// range is refused in favour of the first bar.
void use_bars(std::vector<ButtonBar> bars);
