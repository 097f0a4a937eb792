// The settings file is written once, before the game may read it, but never after another
// change to the folder that would have kept it from being written then.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/game_folder.h"

namespace {

std::string settingsText() {
    std::ifstream file("TinStarWarden/TinStarWarden.ini", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class GameFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(folder.enter("", error)) << error;
    }
    void TearDown() override { folder.leave(); }

    GameFolder folder;
    std::string error;
};

TEST_F(GameFolderTest, SettingsAreWrittenBeforeTheFolderTurnsReadOnly) {
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "8");
    folder.setIni("BADGE_ADJUSTING", "MOVING_SPEED", "1000");
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "9");
    ASSERT_TRUE(folder.setReadOnly(true, error)) << error;

    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=9\r\nMOVING_SPEED=1000\r\n");
}

TEST_F(GameFolderTest, SettingsAreWrittenBeforeTheDataFileGoes) {
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "8");
    ASSERT_TRUE(folder.remove(false, error)) << error;

    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=8\r\n");
    EXPECT_FALSE(std::filesystem::exists("TinStarWarden/TinStarWarden.dat"));
}

}  // namespace
