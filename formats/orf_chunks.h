// Chunk types of a room (.orf) file, shared by the reader and the writer.
#pragma once

#include <cstdint>

enum OrfChunkType : uint32_t {
    ORF_VERTICES = 1,
    ORF_POLYGONS = 2,
    ORF_END = 3,
    ORF_TEXTURES = 4,
    ORF_HEADER = 5,
};
