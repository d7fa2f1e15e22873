// The sample polymodels, each built into the store by its own function.
#pragma once

#include <string>
#include <vector>

struct SampleModel {
    const char* file_name;
    void (*build)(); // fills the store with the model
};

// fighter, gun_tower, radar, beacon, station and crate, in archive order.
const std::vector<SampleModel>& sample_models();
