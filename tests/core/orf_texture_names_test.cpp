// The room texture-name table and the translation of room texture names into game names.
#include <gtest/gtest.h>

#include <string>

#include "formats/orf_texture_names.h"

namespace {

TEST(OrfTextureMapTest, HoldsTheKnownRowsInOrder) {
    const std::pair<std::string, std::string> expected[] = {
        {"Rainbow Texture", "Test"},   {"rock0030.ogf1", "rock0030"}, {"Doortest.tga1", "Doortest"},
        {"Doortest.tga1", "Doortest"}, {"ganymede1", "ganymede"},     {"jupiter1", "JupiterEuropa"},
        {"CityNeon1", "Neon1"},        {"H-sky0", "H-sky1"},          {"Ref", "Ref"},
    };
    ASSERT_EQ(orf_texture_map.size(), std::size(expected));
    for (size_t i = 0; i < orf_texture_map.size(); ++i) {
        EXPECT_EQ(orf_texture_map[i].orf_name, expected[i].first) << i;
        EXPECT_EQ(orf_texture_map[i].game_name, expected[i].second) << i;
    }
}

TEST(OrfTextureMapTest, FirstRowMatchingIgnoringCaseWins) {
    const OrfTextureRow table[] = {{"Moss", "a"}, {"STONE", "first"}, {"stone", "second"}};
    EXPECT_STREQ(find_orf_texture_row(table, "Stone")->game_name, "first");
    EXPECT_EQ(find_orf_texture_row(table, "Stone "), nullptr);
    EXPECT_EQ(find_orf_texture_row(table, "Ston"), nullptr);
}

TEST(OrfTextureNameTest, TableRowsComeBeforeTheFolderAndExtensionRule) {
    EXPECT_EQ(orf_game_texture_name("CITYNEON1"), "Neon1");
    EXPECT_EQ(orf_game_texture_name("h-SKY0"), "H-sky1");
    EXPECT_EQ(orf_game_texture_name("doortest.TGA1"), "Doortest");
    EXPECT_EQ(orf_game_texture_name("Ganymede1"), "ganymede");
    // Only a whole name matches a row.
    EXPECT_EQ(orf_game_texture_name("maps\\jupiter1"), "jupiter1");
}

TEST(OrfTextureNameTest, UnknownNamesLoseFoldersAndTheirLastExtension) {
    EXPECT_EQ(orf_game_texture_name("maps\\brick.bmp"), "brick");
    EXPECT_EQ(orf_game_texture_name("maps/brick.bmp"), "brick");
    EXPECT_EQ(orf_game_texture_name("c:\\art.v2/walls\\old.stone.tga"), "old.stone");
    EXPECT_EQ(orf_game_texture_name("art.v2\\plain"), "plain");
    EXPECT_EQ(orf_game_texture_name("SAMPLE TEXTURE"), "SAMPLE TEXTURE");
    EXPECT_EQ(orf_game_texture_name("folder\\"), "");
    EXPECT_EQ(orf_game_texture_name(""), "");
}

} // namespace
