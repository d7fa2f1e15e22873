// The status caption in its five forms, the "Oof Information" text and its 120-character cut.
#include <cstring>

#include "archive/hog_index.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/support/test_globals.h"
#include "ui/status_text.h"

namespace {

class StatusTextTest : public CoreTest {
  protected:
    // An archive of four entries whose polymodels are entries 1 and 3; keyframe 17 shown.
    void SetUp() override {
        CoreTest::SetUp();
        hog.num_entries = 4;
        std::strcpy(hog.entries[1].name, "first.oof");
        std::strcpy(hog.entries[3].name, "second.oof");
        hog.oof_entries[0] = 1;
        hog.oof_entries[1] = 3;
        hog.num_oof = 2;
        std::strcpy(hog.hog_path, "/data/ships.hog");
        model.num_used_frames = 2;
        model.used_frames[1] = 17;
        view.cur_keyframe = 1;
    }
};

TEST_F(StatusTextTest, CaptionNamesTheArchiveEntryOrTheFileCutAtTheLastSeparator) {
    view.cur_hog_oof = 1;
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", " 2/2 : second.oof", " 2/2 : second.oof 17"},
        {"C:\\models\\ship.oof", " ship.oof", " ship.oof   17"},
        {"/home/me/ship.oof", " ship.oof", " ship.oof   17"},
        {"ship.oof", " ship.oof", " ship.oof 17"}};
    for (auto [path, plain, keyed] : cases) {
        hog.num_entries = *path ? 0 : 4;
        std::strcpy(view.oof_path, path);
        view.positions_on = 0;
        EXPECT_EQ(status_caption_text(), plain);
        view.positions_on = 1;
        EXPECT_EQ(status_caption_text(), keyed);
    }
    view.positions_on = 0;
    std::memset(view.oof_path, 'x', PATH_LEN - 1); // cut to the caption buffer
    EXPECT_EQ(status_caption_text(), " " + std::string(78, 'x'));
}

TEST_F(StatusTextTest, InfoNamesTheArchiveOrFileThenTheTotals) {
    model.num_vertices = 1234;
    model.num_polygons = 567;
    model.num_textures = 8;
    model.num_subobjects = 9;
    EXPECT_EQ(polymodel_info_text(), "/data/ships.hog\n  1/2 Oof Name: first.oof\n"
                                     "Total Vertices 1234\nTotal Polygons 567\n"
                                     "Total Textures 8\nTotal Sobj 9\n\n");
    hog.num_entries = 0;
    std::strcpy(view.oof_path, "D:\\a\\b.oof");
    EXPECT_EQ(polymodel_info_text().substr(0, 17), "Oof Name: b.oof\nT");
    // Ten-digit counts give the longest totals part (101 characters), inside the 120 cut.
    model.num_vertices = model.num_polygons = model.num_textures = 2000000000;
    model.num_subobjects = 2000000003;
    std::string text = polymodel_info_text();
    EXPECT_EQ(text.size(), 16u + 101u);
    EXPECT_EQ(text.substr(text.size() - 13), " 2000000003\n\n");
}

TEST_F(StatusTextTest, AnArchiveWithoutPolymodelsLeavesTheKeptModelNamed) {
    view.cur_hog_oof = 1;
    keep_shown_model_source();
    hog.num_oof = 0; // the new archive, as Load Hog leaves it
    std::strcpy(hog.hog_path, "/data/textures.hog");
    keep_shown_model_source(); // a second such archive keeps the first source
    EXPECT_EQ(status_caption_text(), " 2/2 : second.oof");
    EXPECT_EQ(polymodel_info_text().substr(0, 43), "/data/ships.hog\n  2/2 Oof Name: second.oof\n");
    follow_loaded_source();
    EXPECT_EQ(status_caption_text(), " 2/0 : ");
}

} // namespace
