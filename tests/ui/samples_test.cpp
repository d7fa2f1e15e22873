// The sample generator: demo.hog read back through the archive index, the model reader and the
// texture loader holds six models that use every feature, and textures of every kind.
#include <QDir>
#include <QProcess>
#include <map>

#include "archive/hog_index.h"
#include "formats/oof_reader.h"
#include "state/polymodel.h"
#include "state/view_state.h"
#include "tests/ui/ui_fixture.h"
#include "ui/status_text.h"
#include "ui/templates.h"

namespace {

int depth(uint32_t s) {
    int d = 0;
    for (int p = model.sobj_parent[s]; p >= 0 && d < MAX_SOBJ; p = model.sobj_parent[p])
        ++d;
    return d;
}

// Adds up what the loaded model uses, by feature name.
void count_features(std::map<std::string, int>& f) {
    ++f["models"];
    for (uint32_t s = 0; s < model.num_subobjects; ++s) {
        f["rotate"] += model.sobj_rotate[s];
        f["glow"] += model.sobj_glow[s];
        f["facing"] += model.sobj_facing[s];
        f["fov"] += model.sobj_fov[s];
        f["deepest"] = std::max(f["deepest"], depth(s));
    }
    f["guns"] += model.num_gun_points;
    f["ground"] += model.num_ground_points;
    f["attach"] += model.num_attach_points;
    f["nath"] += model.num_nath_points;
    f["special"] += model.num_special_points;
    for (uint32_t b = 0; b < model.num_batteries; ++b)
        f["batteries_with_turrets"] += model.batteries.num_turrets[b] != 0;
    f["keyed"] += model.num_used_frames > 1;
    for (uint32_t t = 0; t < model.num_textures; ++t) {
        const TextureSlot& slot = model.textures[t];
        f["unloaded"] += !slot.loaded;
        f["see_through"] += slot.has_alpha;
        f["animated"] += std::string(slot.loaded_file).ends_with(".oaf");
    }
}

class SamplesTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        QProcess generator;
        generator.start(MAKE_SAMPLES_EXECUTABLE, {QString::fromStdString(dir.path("samples"))});
        ASSERT_TRUE(generator.waitForFinished(30000));
        ASSERT_EQ(generator.exitCode(), 0);
        // Loose textures are looked up in the working folder, as with ./run.
        previous_folder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.path("samples")));
    }
    void TearDown() override {
        QDir::setCurrent(previous_folder_);
        UiTest::TearDown();
    }

  private:
    QString previous_folder_;
};

TEST_F(SamplesTest, DemoArchiveHoldsSixModelsUsingEveryFeature) {
    open_window();
    command_with_file(CMD_LOAD_HOG, "demo.hog");
    ASSERT_EQ(view.model_loaded, 1);
    EXPECT_GE(hog.num_oof, 6u);
    EXPECT_GE(hog.num_ogf, 5u);
    EXPECT_EQ(hog.num_oaf, 1u);
    EXPECT_EQ(status_caption_text(), " 1/" + std::to_string(hog.num_oof) + " : fighter.oof");
    std::map<std::string, int> f;
    for (uint32_t i = 0; i < hog.num_oof; ++i) {
        if (i > 0)
            window->command(CMD_NEXT);
        ASSERT_EQ(view.cur_hog_oof, i);
        count_features(f);
    }
    EXPECT_TRUE(sink.boxes.empty()) << sink.boxes[0].text;
    EXPECT_EQ(f["models"], 6);
    EXPECT_EQ(f["unloaded"], 0); // every texture found and decoded
    std::pair<const char*, int> at_least[] = {{"rotate", 1},      {"glow", 1},
                                              {"facing", 1},      {"fov", 2},
                                              {"guns", 2},        {"ground", 1},
                                              {"attach", 1},      {"nath", 1},
                                              {"special", 1},     {"batteries_with_turrets", 1},
                                              {"keyed", 1},       {"deepest", 2},
                                              {"see_through", 2}, {"animated", 1}};
    for (auto [name, least] : at_least)
        EXPECT_GE(f[name], least) << name;
}

TEST_F(SamplesTest, LooseDemoModelFindsItsTexturesBesideIt) {
    open_window();
    command_with_file(CMD_LOAD_OOF, "demo.oof");
    ASSERT_EQ(view.model_loaded, 1);
    EXPECT_EQ(status_caption_text(), " demo.oof");
    ASSERT_GE(model.num_textures, 2u);
    for (uint32_t t = 0; t < model.num_textures; ++t)
        EXPECT_EQ(model.textures[t].loaded, 1) << model.textures[t].name;
    EXPECT_TRUE(sink.boxes.empty());
}

} // namespace
