// The chunk readers of the polymodel reader: each reads one chunk's data from the cursor into
// the store, refusing (message and exit) any count or index that would overflow a table.
#pragma once

#include <cstdint>

#include "state/byte_cursor.h"

// Version 2300 stores a float per vertex; every version but 1907 adds two floats per polygon.
constexpr uint32_t OOF_VERSION_NO_TRAILER = 1907;
constexpr uint32_t OOF_VERSION_ALPHA = 2300;

struct OofInput {
    ByteCursor cursor;
    uint32_t version;
};

void read_sobj(OofInput& in);
void read_txtr(OofInput& in);
void read_gpnt(OofInput& in);
void read_grnd(OofInput& in);
void read_atch(OofInput& in);
void read_nath(OofInput& in);
void read_spcl(OofInput& in);
void read_wbat(OofInput& in);
void read_pinf(OofInput& in, uint32_t length);
void read_pani(OofInput& in);
void read_rani(OofInput& in);

// Reads a u32 byte count and that many bytes into a field of `capacity` bytes, then a zero
// byte; a count that leaves no room for the zero is refused with `too_long` (status 7).
void read_terminated_string(ByteCursor& cursor, char* field, uint32_t capacity,
                            const char* too_long);
