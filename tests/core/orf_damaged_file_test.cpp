// load_orf on every truncated prefix and on corrupted copies of a valid room: each either loads
// a store that stays inside its tables or stops with an "ERROR" box.
#include <filesystem>
#include <random>

#include "formats/orf_reader.h"
#include "state/file_io.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "tools/orf_builder.h"

namespace {

class OrfDamagedFileTest : public CoreTest {
  protected:
    // Loads bytes as a room; returns false when the reader stopped the program.
    bool load(const std::vector<uint8_t>& bytes) {
        clear_model();
        view.model_loaded = 0;
        sink.boxes.clear();
        // A fresh file each time: rewriting a file in place makes the file system flush it.
        std::filesystem::remove(dir.path("room.orf"));
        copy_bounded(view.import_path, PATH_LEN, dir.write("room.orf", bytes));
        try {
            load_orf();
        } catch (const ProgramExit&) {
            EXPECT_EQ(last_caption(), "ERROR");
            return false;
        }
        expect_store_within_tables();
        return true;
    }

    static void expect_store_within_tables() {
        EXPECT_EQ(view.model_loaded, 1);
        EXPECT_EQ(model.num_subobjects, 1u);
        ASSERT_LE(model.num_vertices, uint32_t(MAX_VECT));
        ASSERT_LE(model.num_polygons, uint32_t(MAX_POLY));
        ASSERT_LE(model.num_textures, uint32_t(MAX_TEXTURE));
        for (uint32_t p = 0; p < model.num_polygons; ++p) {
            const Polygon& polygon = model.polygons[p];
            ASSERT_LE(polygon.num_points, uint32_t(MAX_POLY_POINTS));
            ASSERT_LT(polygon.texture, model.num_textures);
            for (uint32_t k = 0; k < polygon.num_points; ++k)
                ASSERT_LT(polygon.points[k], model.num_vertices);
        }
        for (uint32_t t = 0; t < model.num_textures; ++t)
            ASSERT_LT(strnlen(model.textures[t].name, sizeof model.textures[t].name),
                      sizeof model.textures[t].name);
    }
};

const std::vector<uint8_t> valid_room =
    build_orf({{10, 0, -5}, {12, 1, -5}, {11, 3, -2}, {9, 2, 0}, {10, 1, 1}},
              {"maps\\brick.bmp", "ROCK0030.OGF1", "plain"},
              {{{0, 0, 1}, 0, {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}}},
               {{0, 1, 0}, 2, {{1, 0.5f, 0}, {2, 0, 0.5f}, {3, 1, 1}, {4, 0, 1}}},
               {{1, 0, 0}, 1, {{4, 0, 0}, {3, 1, 0}, {0, 1, 1}}}});

TEST_F(OrfDamagedFileTest, EveryTruncatedPrefixLoadsOrStops) {
    ASSERT_TRUE(load(valid_room));
    EXPECT_EQ(model.num_polygons, 3u);
    int loaded = 0;
    for (size_t n = 0; n < valid_room.size(); ++n) {
        SCOPED_TRACE(n);
        loaded += load({valid_room.begin(), valid_room.begin() + long(n)});
    }
    // Short reads give zeros, so most prefixes load as smaller or zero-filled rooms.
    EXPECT_GT(loaded, int(valid_room.size()) / 2);
}

TEST_F(OrfDamagedFileTest, SingleByteAndRandomCorruptionsLoadOrStop) {
    for (size_t i = 0; i < valid_room.size(); ++i) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x80), uint8_t(0x7F),
                              uint8_t(valid_room[i] ^ 0x01)}) {
            SCOPED_TRACE(testing::Message() << "byte " << i << " = " << int(value));
            auto damaged = valid_room;
            damaged[i] = value;
            load(damaged);
        }
    }
    std::mt19937 random(4);
    std::uniform_int_distribution<size_t> position(0, valid_room.size() - 1);
    std::uniform_int_distribution<int> value(0, 255), changes(2, 12);
    for (int round = 0; round < 1500; ++round) {
        SCOPED_TRACE(round);
        auto damaged = valid_room;
        for (int c = changes(random); c > 0; --c)
            damaged[position(random)] = uint8_t(value(random));
        if (round % 3 == 0)
            damaged.resize(position(random));
        load(damaged);
    }
}

} // namespace
