#include <filesystem>
#include <string>

#include "persist/data_file.h"
#include "persist/diagnostics_log.h"
#include "sim/read_only_folder.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

const char* const DATA = "TinStarWarden/TinStarWarden.dat";
// Outside the plug-in's folder, which some of these tests leave missing.
const char* const LOG = "first_start.log";

void setFirstEntries(DictDataFile& file) {
    file.setInt("zzzzz", 0);
    file.setInt("rot_xxxxx", -14);
}

// A missing or unreadable file is never waited for: only one another program holds.
bool openWithoutWaiting() {
    return openDataFile(setFirstEntries,
                        [](std::uint32_t) { ADD_FAILURE() << "waited for a file nobody holds"; });
}

class FirstStart : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        diagnosticsLog().start(LOG);
    }

    void TearDown() override {
        std::string ignored;
        makeFolderWritable(folder.string(), ignored);
        makeFolderWritable(DATA_FOLDER, ignored);
        diagnosticsLog() = DiagnosticsLog();
        delete dataFile;
        dataFile = nullptr;
        TempFolderTest::TearDown();
    }

    static std::string log() { return readBytes(LOG); }

    // A log line that starts and ends so, whatever reason the system gave in between.
    static bool logged(const std::string& start, const std::string& end) {
        const std::string text = log();
        const auto at = text.find(start);
        return at != std::string::npos && text.substr(at, text.find('\n', at) - at).ends_with(end);
    }
};

TEST_F(FirstStart, MissingFolderAndFileAreMadeWithTheFirstEntriesAndLoaded) {
    ASSERT_TRUE(openWithoutWaiting());
    EXPECT_EQ(readBytes(DATA), "rot_xxxxx=-14\nzzzzz=0\n");
    EXPECT_FALSE(fs::exists(std::string(DATA) + ".tmp"));
    EXPECT_FALSE(dataFile->isDirty());
    EXPECT_EQ(dataFile->getInt("rot_xxxxx"), -14);
    EXPECT_EQ(log(),
              "created the folder TinStarWarden, which was missing\n"
              "created TinStarWarden/TinStarWarden.dat, which was missing: no badge yet, the "
              "badge's place and turn at their starting values\n");
}

TEST_F(FirstStart, MissingFileBesideTheSettingsIsMadeAndTheSettingsStay) {
    fs::create_directory(DATA_FOLDER);
    writeBytes("TinStarWarden/TinStarWarden.ini", "[DIAGNOSTICS]\r\nWRITE_LOG=1\r\n");
    ASSERT_TRUE(openWithoutWaiting());
    EXPECT_EQ(readBytes(DATA), "rot_xxxxx=-14\nzzzzz=0\n");
    EXPECT_EQ(readBytes("TinStarWarden/TinStarWarden.ini"), "[DIAGNOSTICS]\r\nWRITE_LOG=1\r\n");
    EXPECT_EQ(log().find("created the folder"), std::string::npos) << log();
}

// The player's file is never replaced by the first entries, whatever it holds.
TEST_F(FirstStart, AnExistingFileIsLoadedAsItIs) {
    fs::create_directory(DATA_FOLDER);
    for (const std::string bytes : {"", "\r\n", "badge=3\r\nxxxxx=0.020000\r\n", "nonsense"}) {
        writeBytes(DATA, bytes);
        ASSERT_TRUE(openWithoutWaiting()) << bytes;
        EXPECT_EQ(readBytes(DATA), bytes);
        EXPECT_EQ(dataFile->getString("rot_xxxxx"), "");
        EXPECT_FALSE(dataFile->isDirty());
        delete dataFile;
        dataFile = nullptr;  // a file already read is kept, not read again
    }
    EXPECT_EQ(log().find("created"), std::string::npos) << log();
}

// The host restarts the scripts at every save the player loads: the object read at the first
// start is newer than the file (a save that failed left a change only in it) and is kept.
TEST_F(FirstStart, AStartAfterTheFileWasReadKeepsTheObjectAndItsUnsavedChange) {
    fs::create_directory(DATA_FOLDER);
    writeBytes(DATA, "badge=3\n");
    ASSERT_TRUE(openWithoutWaiting());
    const DictDataFile* first = dataFile;
    dataFile->setInt("badge", 5);
    writeBytes(DATA, "badge=1\n");

    ASSERT_TRUE(openWithoutWaiting());
    EXPECT_EQ(dataFile, first);
    EXPECT_EQ(dataFile->getInt("badge"), 5);
    EXPECT_TRUE(dataFile->isDirty());
}

// After a failed read the next start reads the file again, into the same object: what the
// other script set meanwhile stays unless the file holds that key too.
TEST_F(FirstStart, AStartAfterAFailedReadReadsTheFileIntoTheSameObject) {
    fs::create_directories(DATA);
    EXPECT_FALSE(openWithoutWaiting());
    const DictDataFile* first = dataFile;
    dataFile->setInt("badge", 2);
    fs::remove(DATA);
    writeBytes(DATA, "xxxxx=0.010000\n");

    ASSERT_TRUE(openWithoutWaiting());
    EXPECT_EQ(dataFile, first);
    EXPECT_EQ(dataFile->getInt("badge"), 2);
    EXPECT_EQ(dataFile->getString("xxxxx"), "0.010000");
}

TEST_F(FirstStart, AFileThatCannotBeReadStopsWithTheReasonAndWhatToDo) {
    fs::create_directories(DATA);
    EXPECT_FALSE(openWithoutWaiting());
    EXPECT_TRUE(fs::is_directory(DATA));
    EXPECT_NE(log().find("cannot read TinStarWarden/TinStarWarden.dat: Is a directory (no badge "
                         "is put on, and the badge script stops; let the game read it, or delete "
                         "it and a new one, with no badge, is made at the next start)"),
              std::string::npos)
        << log();
}

// A plain file where the folder belongs is the player's: it stays, and the script stops.
TEST_F(FirstStart, AFileNamedLikeTheFolderIsLeftAlone) {
    writeBytes(DATA_FOLDER, "not a folder");
    EXPECT_FALSE(openWithoutWaiting());
    EXPECT_EQ(readBytes(DATA_FOLDER), "not a folder");
    EXPECT_NE(log().find("badge script stops"), std::string::npos) << log();
}

TEST_F(FirstStart, AFolderThatCannotBeMadeStopsWithTheReasonAndWhatToDo) {
    std::string error;
    if (!makeFolderReadOnly(folder.string(), error)) {
        GTEST_SKIP() << error;
    }
    EXPECT_FALSE(openWithoutWaiting());
    EXPECT_FALSE(fs::exists(DATA_FOLDER));
    EXPECT_TRUE(logged("cannot create the folder TinStarWarden: ",
                       " (no badge is put on, and the badge script stops; let the game write to "
                       "the folder that holds RDR2.exe, or make the TinStarWarden folder there "
                       "yourself, then start the game again)"))
        << log();
}

// The entries are kept: once the folder may be written, the menu script's next save makes the
// file with them and the badge.
TEST_F(FirstStart, AFileThatCannotBeMadeStopsAndALaterSaveMakesIt) {
    fs::create_directory(DATA_FOLDER);
    std::string error;
    if (!makeFolderReadOnly(DATA_FOLDER, error)) {
        GTEST_SKIP() << error;
    }
    EXPECT_FALSE(openWithoutWaiting());
    EXPECT_FALSE(fs::exists(DATA));
    EXPECT_TRUE(logged("cannot create TinStarWarden/TinStarWarden.dat: ",
                       " (no badge is put on, and the badge script stops; let the game write to "
                       "the TinStarWarden folder beside RDR2.exe, then start the game again)"))
        << log();
    ASSERT_TRUE(makeFolderWritable(DATA_FOLDER, error)) << error;
    dataFile->setInt("badge", 7);
    saveDataFile();
    EXPECT_EQ(readBytes(DATA), "badge=7\nrot_xxxxx=-14\nzzzzz=0\n");
}

}  // namespace
