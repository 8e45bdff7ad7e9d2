// Sizes of the drawing-object records: as memory holds them (host order) and
// as documents store a chart (its fixed fields without the references and the
// scratch fields; its series formats follow, framed).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kObjectRecordSize = 88;
constexpr int32_t kChartRecordSize = 816;
constexpr size_t kStoredChartSize = 722;
