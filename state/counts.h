// clamp_count: a table's count cut to the table's size, so that code walking a damaged or
// hand-filled store never reads past the table.
#pragma once

#include <cstdint>

constexpr uint32_t clamp_count(uint32_t count, uint32_t limit) {
    return count < limit ? count : limit;
}
