// The sample textures: still images in both pixel formats, some with see-through texels, and
// one animated texture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SampleFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// hull.ogf (1-5-5-5), deck.ogf (4-4-4-4), crate.ogf (1-5-5-5), glass.ogf (4-4-4-4 with clear
// texels), flare.ogf (1-5-5-5 with clear texels) and screen.oaf (four frames).
std::vector<SampleFile> sample_textures();
