// The game folder as a first install leaves it, and the settings file changed as a player
// changes it; the file is written once, before the game may read it, but never after another
// change to the folder that would have kept it from being written then. A locked folder takes
// no write at all, in it or to its data file, until it is writable again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/game_folder.h"
#include "sim/settings_text.h"

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

TEST_F(GameFolderTest, AFreshFolderHoldsTheShippedSettingsAndNoDataFile) {
    EXPECT_EQ(settingsText(), SHIPPED_SETTINGS);
    EXPECT_FALSE(std::filesystem::exists("TinStarWarden/TinStarWarden.dat"));
}

// What the folder holds stays; only a missing settings file is put in place, and a data file
// is never made.
TEST(GameFolderNamed, KeepsThePlayersFilesAndAddsOnlyWhatIsMissing) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "tsw-game-folder-named-test";
    fs::remove_all(root);
    fs::create_directories(root / "TinStarWarden");
    std::ofstream(root / "TinStarWarden/TinStarWarden.ini", std::ios::binary) << "[MINE]\r\n";
    std::string error;
    GameFolder folder;
    ASSERT_TRUE(folder.enter(root.string(), error)) << error;
    EXPECT_EQ(settingsText(), "[MINE]\r\n");
    folder.leave();
    fs::remove(root / "TinStarWarden/TinStarWarden.ini");
    ASSERT_TRUE(folder.enter(root.string(), error)) << error;
    EXPECT_EQ(settingsText(), SHIPPED_SETTINGS);
    EXPECT_FALSE(fs::exists("TinStarWarden/TinStarWarden.dat"));
    folder.leave();
    fs::remove_all(root);
}

TEST_F(GameFolderTest, NoIniLeavesNoSettingsFileAndAnIniLineAfterItStartsABareOne) {
    folder.noSettings();
    ASSERT_TRUE(folder.writeSettings(error)) << error;
    EXPECT_FALSE(std::filesystem::exists("TinStarWarden/TinStarWarden.ini"));
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "8");
    ASSERT_TRUE(folder.writeSettings(error)) << error;
    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=8\r\n");
}

// The whole folder gone takes the settings with it; a line after that makes both again.
TEST_F(GameFolderTest, NoFolderTakesTheSettingsAlong) {
    ASSERT_TRUE(folder.remove(true, error)) << error;
    EXPECT_FALSE(std::filesystem::exists("TinStarWarden"));
    folder.setIni("DIAGNOSTICS", "WRITE_LOG", "1");
    ASSERT_TRUE(folder.writeSettings(error)) << error;
    EXPECT_EQ(settingsText(), "[DIAGNOSTICS]\r\nWRITE_LOG=1\r\n");
}

TEST_F(GameFolderTest, SettingsAreWrittenBeforeTheFolderTurnsReadOnly) {
    folder.noSettings();
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "8");
    folder.setIni("BADGE_ADJUSTING", "MOVING_SPEED", "1000");
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "9");
    ASSERT_TRUE(folder.setMode(GameFolder::Mode::READ_ONLY, error)) << error;

    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=9\r\nMOVING_SPEED=1000\r\n");
}

TEST_F(GameFolderTest, SettingsAreWrittenBeforeTheDataFileGoes) {
    folder.noSettings();
    folder.setIni("BADGE_ADJUSTING", "RESET_KEY", "8");
    ASSERT_TRUE(folder.remove(false, error)) << error;

    EXPECT_EQ(settingsText(), "[BADGE_ADJUSTING]\r\nRESET_KEY=8\r\n");
    EXPECT_FALSE(std::filesystem::exists("TinStarWarden/TinStarWarden.dat"));
}

// A player's edit: the key's own line takes the value, notes and other lines stay, names are
// matched as the game matches them, and line ends follow the file's.
TEST(SettingsText, ChangesTheKeysLineInItsSectionAndKeepsEverythingElse) {
    const std::string text = "; note\r\n[A]\r\n; about K\r\nK=1\r\nL=2\r\n\r\n[B]\r\nK=3\r\n";
    EXPECT_EQ(withSetting(text, "a", "k", "9"),
              "; note\r\n[A]\r\n; about K\r\nk=9\r\nL=2\r\n\r\n[B]\r\nK=3\r\n");
    EXPECT_EQ(withSetting(text, "A", "M", "4"),
              "; note\r\n[A]\r\n; about K\r\nK=1\r\nL=2\r\nM=4\r\n\r\n[B]\r\nK=3\r\n");
    EXPECT_EQ(withSetting("[A]\nK=1", "C", "K", "5"), "[A]\nK=1\n[C]\nK=5\n");
    // Only the first of two sections of one name is read, so only it is changed.
    EXPECT_EQ(withSetting("[A]\nK=1\n[A]\nK=2\n", "A", "K", "7"), "[A]\nK=7\n[A]\nK=2\n");
    EXPECT_EQ(withSetting("", "A", "K", "1"), "[A]\r\nK=1\r\n");
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
