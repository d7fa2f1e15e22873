// Little-endian fields decoded from bytes already copied out of the cursor, and batched record
// reads: large blocks (vertices, keys) cost one bounds-checked copy per batch, not per field.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "state/byte_cursor.h"
#include "state/vec3.h"

inline uint32_t le_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline float le_f32(const uint8_t* p) {
    return std::bit_cast<float>(le_u32(p));
}

inline Vec3 le_vec3(const uint8_t* p) {
    return {le_f32(p), le_f32(p + 4), le_f32(p + 8)};
}

// Reads count records of size bytes (at most 4096) and hands each to decode(index, bytes):
// in place when the data holds them all, else copied in batches with zeros past the end, as
// with single reads.
template <class Decode>
void read_records(ByteCursor& cursor, uint32_t count, size_t size, Decode decode) {
    if (const uint8_t* records = cursor.take(size_t(count) * size)) {
        for (uint32_t i = 0; i < count; ++i)
            decode(i, records + i * size);
        return;
    }
    uint8_t batch[4096];
    const uint32_t per_batch = uint32_t(sizeof batch / size);
    for (uint32_t i = 0; i < count;) {
        uint32_t n = std::min(per_batch, count - i);
        cursor.bytes(batch, n * size);
        for (uint32_t j = 0; j < n; ++j)
            decode(i + j, batch + j * size);
        i += n;
    }
}
