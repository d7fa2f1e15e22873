// A contact sheet: the drawings of an archive's polymodels in a grid, each named below.
#pragma once

#include <string>
#include <vector>

#include "cli/png_writer.h"

struct SheetCell {
    std::string name;
    Image image; // empty when the model could not be drawn
};

// Cells of the size of the drawings (all alike) in a roughly square grid on a dark ground.
Image make_contact_sheet(const std::vector<SheetCell>& cells, int cell_width, int cell_height);
