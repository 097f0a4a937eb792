#include <filesystem>
#include <string>

#include "persist/data_file.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

class DataFileSave : public TempFolderTest {
  protected:
    DictDataFile file{"data.dat"};
};

TEST_F(DataFileSave, UnforcedSaveWithoutChangeLeavesTheFileAlone) {
    writeBytes("data.dat", "badge=1\n");
    ASSERT_TRUE(file.load());
    writeBytes("data.dat", "edited by hand\n");
    EXPECT_TRUE(file.save(false));
    EXPECT_EQ(readBytes("data.dat"), "edited by hand\n");
    EXPECT_TRUE(file.save(true));
    EXPECT_EQ(readBytes("data.dat"), "badge=1\n");
}

TEST_F(DataFileSave, StoringAnEqualValueStillRewrites) {
    writeBytes("data.dat", "badge=2\n");
    ASSERT_TRUE(file.load());
    file.setInt("badge", 2);
    EXPECT_TRUE(file.isDirty());
    writeBytes("data.dat", "");
    EXPECT_TRUE(file.save(false));
    EXPECT_FALSE(file.isDirty());
    EXPECT_EQ(readBytes("data.dat"), "badge=2\n");
}

TEST_F(DataFileSave, EmptyTextErasesAndOnlyAPresentKeyMarksDirty) {
    file.setString("absent", "");
    EXPECT_FALSE(file.isDirty());
    file.entries["badge"] = "3";
    file.setString("badge", "");
    EXPECT_TRUE(file.isDirty());
    EXPECT_TRUE(file.entries.empty());
}

TEST_F(DataFileSave, MissingOrUnreadableFileFailsToLoadAndIsNotCreated) {
    file.entries["kept"] = "1";
    EXPECT_FALSE(file.load());
    EXPECT_FALSE(fs::exists("data.dat"));
    EXPECT_EQ(file.entries.size(), 1u);
    fs::create_directory("folder.dat");
    EXPECT_FALSE(DictDataFile("folder.dat").load());
}

TEST_F(DataFileSave, MalformedLinesAreSkippedAndLaterEntriesSurviveTheNextSave) {
    writeBytes("data.dat", "badge=2\nxxxxx=\nnonsense\na=b=c\nyyyyy=0.5\n");
    ASSERT_TRUE(file.load());
    file.setInt("badge", 3);
    ASSERT_TRUE(file.save(false));
    EXPECT_EQ(readBytes("data.dat"), "badge=3\nyyyyy=0.5\n");
}

TEST_F(DataFileSave, FailedWriteKeepsDirtyAndTheNextUnforcedSaveRetries) {
    DictDataFile nested("sub/data.dat");
    nested.setInt("badge", 1);
    EXPECT_FALSE(nested.save(false));
    EXPECT_TRUE(nested.isDirty());
    EXPECT_TRUE(fs::is_empty(folder));
    fs::create_directory("sub");
    EXPECT_TRUE(nested.save(false));
    EXPECT_FALSE(nested.isDirty());
    EXPECT_EQ(readBytes("sub/data.dat"), "badge=1\n");
    EXPECT_FALSE(fs::exists("sub/data.dat.tmp"));
}

// A held edit key saves every step: each replaces the file at once, whole; the flush to disk
// waits until asked for, and a flushed save in between leaves none waiting.
TEST_F(DataFileSave, StepSavesReplaceTheFileAtOnceAndLeaveOneFlushWaiting) {
    EXPECT_TRUE(file.flushToDisk());
    file.setInt("badge", 1);
    EXPECT_TRUE(file.saveWithoutFlush());
    EXPECT_EQ(readBytes("data.dat"), "badge=1\n");
    EXPECT_FALSE(file.isDirty());
    EXPECT_TRUE(file.flushPending());
    file.setInt("badge", 2);
    EXPECT_TRUE(file.saveWithoutFlush());
    EXPECT_TRUE(file.flushToDisk());
    EXPECT_FALSE(file.flushPending());
    EXPECT_EQ(readBytes("data.dat"), "badge=2\n");

    file.setInt("badge", 3);
    EXPECT_TRUE(file.saveWithoutFlush());
    file.setInt("badge", 4);
    EXPECT_TRUE(file.save(false));
    EXPECT_FALSE(file.flushPending());
    EXPECT_FALSE(fs::exists("data.dat.tmp"));
}

TEST_F(DataFileSave, OpenDataFileLoadsTheFileInThePluginFolder) {
    fs::create_directory(DATA_FOLDER);
    writeBytes("TinStarWarden/TinStarWarden.dat", "badge=4\r\n");
    EXPECT_TRUE(openDataFile([](DictDataFile& created) { created.setInt("badge", 1); },
                             [](std::uint32_t) { ADD_FAILURE() << "waited for a free file"; }));
    ASSERT_NE(dataFile, nullptr);
    EXPECT_EQ(dataFile->path, "TinStarWarden/TinStarWarden.dat");
    EXPECT_EQ(dataFile->getInt("badge"), 4);
}

}  // namespace
