// Laying out the contact sheet and writing the names.
#include "cli/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cli/bitmap_font.h"

namespace {

constexpr int GAP = 4;                         // pixels between and around cells
constexpr int LABEL_HEIGHT = GLYPH_HEIGHT + 6; // name row under each drawing
constexpr uint8_t GROUND[3] = {40, 40, 44};
constexpr uint8_t NAME_COLOUR[3] = {220, 220, 220};
constexpr uint8_t FAILED_COLOUR[3] = {255, 90, 80};

void fill(Image& image, const uint8_t rgb[3]) {
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        std::memcpy(&image.rgba[i], rgb, 3);
        image.rgba[i + 3] = 255;
    }
}

void copy_into(Image& sheet, const Image& drawing, int x0, int y0) {
    for (int y = 0; y < drawing.height; ++y)
        std::memcpy(&sheet.rgba[(size_t(y0 + y) * sheet.width + x0) * 4],
                    &drawing.rgba[size_t(y) * drawing.width * 4], size_t(drawing.width) * 4);
}

// The name cut to the cell's width, ending in ".." when cut.
std::string fitted_name(const std::string& name, int width) {
    int room = (width + 1) / GLYPH_ADVANCE;
    if (int(name.size()) <= room)
        return name;
    return room > 2 ? name.substr(0, size_t(room - 2)) + ".." : name.substr(0, size_t(room));
}

} // namespace

Image make_contact_sheet(const std::vector<SheetCell>& cells, int cell_width, int cell_height) {
    int count = int(cells.size());
    int columns = std::max(1, int(std::ceil(std::sqrt(double(count)))));
    int rows = std::max(1, (count + columns - 1) / columns);
    Image sheet;
    sheet.width = GAP + columns * (cell_width + GAP);
    sheet.height = GAP + rows * (cell_height + LABEL_HEIGHT + GAP);
    sheet.rgba.resize(size_t(sheet.width) * sheet.height * 4);
    fill(sheet, GROUND);
    for (int i = 0; i < count; ++i) {
        int x = GAP + (i % columns) * (cell_width + GAP);
        int y = GAP + (i / columns) * (cell_height + LABEL_HEIGHT + GAP);
        const SheetCell& cell = cells[size_t(i)];
        bool drawn = cell.image.width == cell_width && cell.image.height == cell_height;
        if (drawn)
            copy_into(sheet, cell.image, x, y);
        std::string name = fitted_name(cell.name, cell_width);
        draw_text(sheet, x + (cell_width - text_width(name)) / 2, y + cell_height + 3, name,
                  drawn ? NAME_COLOUR : FAILED_COLOUR);
    }
    return sheet;
}
