// The settings file is written once, before the game may read it, but never after another
// change to the folder that would have kept it from being written then. A locked folder takes
// no write at all, in it or to its data file, until it is writable again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/game_folder.h"

namespace {

const char* const DATA = "TinStarWarden/TinStarWarden.dat";

bool canWrite(const char* path) {
    return std::ofstream(path, std::ios::binary | std::ios::app).good();
}

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
    ASSERT_TRUE(folder.setMode(GameFolder::Mode::READ_ONLY, error)) << error;

    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=9\r\nMOVING_SPEED=1000\r\n");
}

TEST_F(GameFolderTest, SettingsAreWrittenBeforeTheDataFileGoes) {
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "8");
    ASSERT_TRUE(folder.remove(false, error)) << error;

    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=8\r\n");
    EXPECT_FALSE(std::filesystem::exists("TinStarWarden/TinStarWarden.dat"));
}

TEST_F(GameFolderTest, ALockedFolderTakesNoWriteToItOrItsDataFileUntilWritableAgain) {
    using Mode = GameFolder::Mode;
    ASSERT_TRUE(folder.appendDataLine("badge=2", error)) << error;
    for (const Mode between : {Mode::READ_ONLY, Mode::WRITABLE}) {
        ASSERT_TRUE(folder.setMode(Mode::LOCKED, error)) << error;
        EXPECT_FALSE(canWrite(DATA));
        EXPECT_FALSE(canWrite("TinStarWarden/new.dat"));
        ASSERT_TRUE(folder.setMode(between, error)) << error;
        EXPECT_TRUE(canWrite(DATA));
        EXPECT_EQ(canWrite("TinStarWarden/new.dat"), between == Mode::WRITABLE);
    }
    // Left locked, the run's temporary folder is still removed at its end.
    ASSERT_TRUE(folder.setMode(Mode::LOCKED, error)) << error;
    const std::filesystem::path game = std::filesystem::current_path();
    folder.leave();
    EXPECT_FALSE(std::filesystem::exists(game));
    ASSERT_TRUE(folder.enter("", error)) << error;
}

// With no data file only the folder is locked: no file can be made in it.
TEST_F(GameFolderTest, AFolderWithoutItsDataFileLocksToo) {
    ASSERT_TRUE(folder.remove(false, error)) << error;
    ASSERT_TRUE(folder.setMode(GameFolder::Mode::LOCKED, error)) << error;
    EXPECT_FALSE(canWrite(DATA));
    ASSERT_TRUE(folder.setMode(GameFolder::Mode::WRITABLE, error)) << error;
    EXPECT_TRUE(canWrite(DATA));
}

}  // namespace
