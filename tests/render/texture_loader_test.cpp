// load_textures on a headless context: which slots get lists and texture objects, what calling
// a list makes current, and both deleted on reload and release.
#include <GL/gl.h>

#include <array>
#include <cstring>
#include <filesystem>

#include "archive/hog_index.h"
#include "render/texture_loader.h"
#include "state/polymodel.h"
#include "tests/support/gl_context.h"
#include "tests/support/test_globals.h"
#include "tools/hog_builder.h"
#include "tools/texture_builder.h"

namespace {

using Rgba = std::array<uint8_t, 4>;

// 2 x 2, first file row first: red, green / blue, transparent black (value 0).
const std::vector<uint16_t> QUAD_VALUES = {0x8000 | 31 << 10, 0x8000 | 31 << 5, 0x8000 | 31,
                                           0x0000};

class TextureLoaderTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(gl.ok());
        old_cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir.root());
    }
    void TearDown() override {
        release_textures();
        std::filesystem::current_path(old_cwd);
        CoreTest::TearDown();
    }
    void use_textures(std::initializer_list<std::pair<const char*, bool>> slots) {
        model.num_textures = 0;
        for (auto [name, referenced] : slots) {
            TextureSlot& slot = model.textures[model.num_textures++];
            std::strcpy(slot.name, name);
            slot.referenced = referenced;
        }
    }
    // The level-0 image that calling list makes current, RGBA, first file row first.
    static std::vector<Rgba> image_of_list(uint32_t list, int& width, int& height) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 0, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glCallList(list);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<Rgba> texels(size_t(width) * height);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    HeadlessGl gl{64, 64};
    std::filesystem::path old_cwd;
};

TEST_F(TextureLoaderTest, EachReferencedTextureGetsAListHoldingItsImage) {
    write_whole_file("quad.ogf", build_ogf(make_ogf_image(2, 2, QUAD_VALUES)));
    write_whole_file("flat.ogf", build_ogf(make_ogf_image(3, 1, std::vector<uint16_t>(3, 0xFFFF))));
    write_whole_file("big.ogf",
                     build_ogf(make_ogf_image(200, 200, std::vector<uint16_t>(40000, 0x8000))));
    use_textures(
        {{"quad", true}, {"quad", false}, {"nowhere", true}, {"big", true}, {"flat", true}});
    load_textures();

    const TextureSlot* slot = model.textures;
    ASSERT_TRUE(slot[0].loaded);
    EXPECT_TRUE(glIsList(slot[0].gl_list));
    EXPECT_TRUE(glIsTexture(texture_objects[0]));
    EXPECT_TRUE(slot[0].has_alpha);
    EXPECT_STREQ(slot[0].loaded_file, "quad.ogf");
    int width = 0, height = 0;
    std::vector<Rgba> texels = image_of_list(slot[0].gl_list, width, height);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(texels, (std::vector<Rgba>{
                          {248, 0, 0, 255}, {0, 248, 0, 255}, {0, 0, 248, 255}, {0, 0, 0, 0}}));

    EXPECT_FALSE(slot[1].loaded) << "no polygon uses it";
    EXPECT_EQ(slot[1].gl_list, 0u);
    EXPECT_STREQ(slot[1].loaded_file, "");
    for (int i : {2, 3}) {
        EXPECT_FALSE(slot[i].loaded) << i;
        EXPECT_STREQ(slot[i].loaded_file, "") << i;
    }
    // The oversized texture is said once, height first, and loading goes on.
    ASSERT_EQ(sink.boxes.size(), 2u);
    EXPECT_EQ(sink.boxes[0].text, "Texture: height > 128");
    EXPECT_EQ(sink.boxes[1].text, "Texture: width > 128");

    ASSERT_TRUE(slot[4].loaded);
    EXPECT_FALSE(slot[4].has_alpha);
    EXPECT_NE(slot[4].gl_list, slot[0].gl_list);
    texels = image_of_list(slot[4].gl_list, width, height);
    EXPECT_EQ(width, 3) << "sizes need not be powers of two";
    EXPECT_EQ(texels, std::vector<Rgba>(3, Rgba{248, 248, 248, 255}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TextureLoaderTest, LoadingAgainAndReleasingDeleteTheListsAndTextureObjects) {
    write_whole_file("a.ogf", build_ogf(make_ogf_image(1, 1, {0x8000 | 31 << 10})));
    write_whole_file("b.ogf", build_ogf(make_ogf_image(1, 1, {0x8000 | 31})));
    use_textures({{"a", true}, {"b", true}});
    // The GL names slot i holds now, and whether both still exist.
    struct Names {
        uint32_t list, texture;
        bool exist() const { return glIsList(list) && glIsTexture(texture); }
        bool gone() const { return !glIsList(list) && !glIsTexture(texture); }
    };
    auto names = [](int i) { return Names{model.textures[i].gl_list, texture_objects[i]}; };
    load_textures();
    Names first_a = names(0), first_b = names(1);
    ASSERT_TRUE(first_a.exist() && first_b.exist());

    model.textures[0].referenced = model.textures[1].referenced = 0;
    load_textures();
    EXPECT_TRUE(first_a.gone());
    EXPECT_TRUE(first_b.gone());
    EXPECT_FALSE(model.textures[0].loaded);

    // A changed file is picked up by the next load (no alpha bit: blended, yet opaque).
    write_whole_file("a.ogf", build_ogf(make_ogf_image(1, 1, {31 << 5})));
    model.textures[0].referenced = 1;
    load_textures();
    int width = 0, height = 0;
    EXPECT_EQ(image_of_list(model.textures[0].gl_list, width, height),
              (std::vector<Rgba>{{0, 248, 0, 255}}));

    // A model without textures still loses the old names.
    Names second_a = names(0);
    model.num_textures = 0;
    load_textures();
    EXPECT_TRUE(second_a.gone());
    EXPECT_FALSE(model.textures[0].loaded);

    // Releasing deletes the names and the load state but leaves the model side alone.
    model.num_textures = 2;
    load_textures();
    Names third_a = names(0);
    ASSERT_TRUE(third_a.exist() && model.textures[0].has_alpha);
    release_textures();
    EXPECT_TRUE(third_a.gone());
    EXPECT_FALSE(model.textures[0].loaded);
    EXPECT_FALSE(model.textures[0].has_alpha);
    EXPECT_STREQ(model.textures[0].loaded_file, "");
    EXPECT_STREQ(model.textures[0].name, "a");
    EXPECT_TRUE(model.textures[0].referenced);
}

TEST_F(TextureLoaderTest, TexturesComeFromTheArchiveAndTheRenameTable) {
    std::strcpy(hog.hog_path, dir.path("t.hog").c_str());
    write_whole_file(
        hog.hog_path,
        build_hog({{"hull.ogf", build_ogf(make_ogf_image(1, 1, {0x8000 | 31}))},
                   {"explosion.oaf", build_oaf({make_ogf_image(1, 1, {0x8000 | 31 << 5}),
                                                make_ogf_image(1, 1, {0x8000 | 31 << 10})},
                                               OafHeaderForm::long_form)}}));
    load_hog();
    use_textures({{"HULL", true}, {"FireBall01", true}});
    load_textures();
    ASSERT_TRUE(model.textures[0].loaded && model.textures[1].loaded);
    EXPECT_STREQ(model.textures[0].loaded_file, "HULL.ogf");
    EXPECT_STREQ(model.textures[1].loaded_file, "explosion.oaf");
    int width = 0, height = 0;
    EXPECT_EQ(image_of_list(model.textures[1].gl_list, width, height),
              (std::vector<Rgba>{{0, 248, 0, 255}}))
        << "first frame";
}

} // namespace
