// A save that failed stays due and is tried again on the menu script's beat: at every beat for
// the first few tries, then at every tenth, until it works; the log names each cause once and
// the end of the failures.
#include <filesystem>
#include <string>

#include "full_disk.h"
#include "plugin_files.h"

namespace {

namespace fs = std::filesystem;

// Well past the full disk's limit, which the short log stays below.
const std::string LONG_VALUE(8192, 'v');
constexpr rlim_t DISK_LIMIT = 4096;

class SaveRetryTest : public PluginFilesTest {
  protected:
    void SetUp() override {
        PluginFilesTest::SetUp();
        writeBytes(DATA, "badge=2\n");
        ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    }

    // Beats until the due save is written, at most `limit`; how many it took.
    int beatsUntilSaved(int limit) {
        for (int beat = 1; beat <= limit; ++beat) {
            retryDueSave(retry);
            if (!dataFile->isDirty()) {
                return beat;
            }
        }
        return -1;
    }

    SaveRetry retry;
};

TEST_F(SaveRetryTest, AFullDiskIsTriedEveryBeatFiveTimesThenEveryTenthUntilItTakesTheSave) {
    {
        const FullDisk full(DISK_LIMIT);
        dataFile->setString("long", LONG_VALUE);
        saveDataFile();
        for (int beat = 0; beat < 5; ++beat) {
            retryDueSave(retry);
        }
    }
    EXPECT_TRUE(dataFile->isDirty());
    EXPECT_EQ(readBytes(DATA), "badge=2\n");
    EXPECT_EQ(retry.failedTries, 5);
    // Space came back: the next try is the tenth beat after the last one that failed.
    EXPECT_EQ(beatsUntilSaved(20), 10);
    EXPECT_EQ(readBytes(DATA), "badge=2\nlong=" + LONG_VALUE + "\n");
    EXPECT_EQ(linesHolding(log(), "failed: File too large"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "works again, after 6 tries that failed"), 1) << log();
    EXPECT_EQ(retry.failedTries, 0);
}

// A file held for a moment is saved at the next beat.
TEST_F(SaveRetryTest, AShortFailureIsSavedAtTheNextBeat) {
    fs::rename(DATA_FOLDER, "away");
    dataFile->setInt("badge", 3);
    saveDataFile();
    retryDueSave(retry);
    EXPECT_TRUE(dataFile->isDirty());
    fs::rename("away", DATA_FOLDER);
    EXPECT_EQ(beatsUntilSaved(1), 1);
    EXPECT_EQ(readBytes(DATA), "badge=3\n");
}

// Two causes taking turns are each logged once, not once a try.
TEST_F(SaveRetryTest, EachCauseIsLoggedOnceWhateverTheOrderOfTheTries) {
    dataFile->setString("long", LONG_VALUE);
    for (int turn = 0; turn < 3; ++turn) {
        fs::rename(DATA_FOLDER, "away");
        retryDueSave(retry);
        fs::rename("away", DATA_FOLDER);
        const FullDisk full(DISK_LIMIT);
        retryDueSave(retry);
    }
    EXPECT_EQ(linesHolding(log(), "failed: No such file or directory"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "failed: File too large"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "works again"), 0) << log();
}

// With nothing due a beat writes nothing, even over a file changed by hand.
TEST_F(SaveRetryTest, NothingDueWritesNothing) {
    writeBytes(DATA, "edited by hand\n");
    for (int beat = 0; beat < 20; ++beat) {
        retryDueSave(retry);
    }
    EXPECT_EQ(readBytes(DATA), "edited by hand\n");
    EXPECT_EQ(log(), "");
}

}  // namespace
