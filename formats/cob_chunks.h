// The readers of the trueSpace chunk kinds that load_cob dispatches to.
#pragma once

#include <cstdint>

#include "state/byte_cursor.h"

// Each reader gets a cursor over exactly the chunk's data, so nothing it reads can reach the
// next chunk, and load_cob continues at the chunk's stated end whatever the reader consumed.
void read_polh(ByteCursor& data);
void read_mat1(ByteCursor& data);
void read_grou(ByteCursor& data, uint32_t chunk_id, uint32_t parent_id);

// Ends the program for a file that exceeds one of the importer's limits.
[[noreturn]] void refuse_cob(const char* text);
