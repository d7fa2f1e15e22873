// The chunk writers of the polymodel writer, each appending one chunk to the file image.
#pragma once

#include <cstddef>

#include "state/byte_writer.h"

// Appends the tag and a length word to be filled in by end_chunk; returns the word's position.
size_t begin_chunk(ByteWriter& out, const char* tag);
void end_chunk(ByteWriter& out, size_t length_at);

// A u32 count, the text and its zero byte. A text that fills its field up to the longest count
// the reader takes (`longest`) is written without the zero, so that it reads back.
void write_string(ByteWriter& out, const char* field, size_t longest);

void write_ohdr(ByteWriter& out);
void write_subobjects(ByteWriter& out);
