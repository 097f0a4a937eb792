// A save that failed stays due and is tried again once a second by the tick count, which runs on
// in a pause, until it works; the log names each cause once and the end of the failures. An
// unload tries a due save once more.
#include <filesystem>
#include <string>

#include "full_disk.h"
#include "plugin_files.h"

namespace {

namespace fs = std::filesystem;

// Well past the full disk's limit, which the short log stays below.
const std::string LONG_VALUE(8192, 'v');
constexpr rlim_t DISK_LIMIT = 4096;
// Near the tick count's wrap, which the pacing must cross.
constexpr std::uint32_t START_TICK = 0xFFFFF000u;
constexpr std::uint32_t FRAME_MS = 16;

class SaveRetryTest : public PluginFilesTest {
  protected:
    void SetUp() override {
        PluginFilesTest::SetUp();
        writeBytes(DATA, "badge=2\n");
        ASSERT_TRUE(openDataFile(noFirstEntries, neverWaits));
    }

    // Plays frames of passes until the due save is written, at most `limitMs`; the
    // milliseconds it took.
    std::uint32_t msUntilSaved(std::uint32_t limitMs) {
        for (std::uint32_t ms = 0; ms <= limitMs; ms += FRAME_MS) {
            retryDueSave(now += FRAME_MS);
            if (!dataFile->isDirty()) {
                return ms + FRAME_MS;
            }
        }
        return 0;
    }

    // Passes for `ms` with the save still failing.
    void passes(std::uint32_t ms) {
        for (std::uint32_t passed = 0; passed < ms; passed += FRAME_MS) {
            retryDueSave(now += FRAME_MS);
        }
    }

    std::uint32_t now = START_TICK;
};

// However long the disk refused, the save lands within about a second of its taking writes:
// a try a second, each failure logged once for its cause.
TEST_F(SaveRetryTest, AFailedSaveLandsWithinASecondOfTheDiskTakingWritesHoweverLongItFailed) {
    {
        const FullDisk full(DISK_LIMIT);
        dataFile->setString("long", LONG_VALUE);
        saveDataFile();
        retryDueSave(now);
        passes(60000);
    }
    EXPECT_TRUE(dataFile->isDirty());
    EXPECT_EQ(readBytes(DATA), "badge=2\n");
    const std::uint32_t took = msUntilSaved(2000);
    EXPECT_GT(took, 0u);
    EXPECT_LE(took, 1000u + FRAME_MS);
    EXPECT_EQ(readBytes(DATA), "badge=2\nlong=" + LONG_VALUE + "\n");
    EXPECT_EQ(linesHolding(log(), "failed: File too large"), 1) << log();
    // The first save, then a try at the first frame a second after the last (1008 ms apart).
    EXPECT_EQ(linesHolding(log(), "works again, after 60 tries that failed"), 1) << log();
}

// Two causes taking turns are each logged once, not once a try.
TEST_F(SaveRetryTest, EachCauseIsLoggedOnceWhateverTheOrderOfTheTries) {
    dataFile->setString("long", LONG_VALUE);
    retryDueSave(now);
    for (int turn = 0; turn < 3; ++turn) {
        fs::rename(DATA_FOLDER, "away");
        retryDueSave(now += 1000);
        fs::rename("away", DATA_FOLDER);
        const FullDisk full(DISK_LIMIT);
        retryDueSave(now += 1000);
    }
    EXPECT_EQ(linesHolding(log(), "failed: No such file or directory"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "failed: File too large"), 1) << log();
    EXPECT_EQ(linesHolding(log(), "works again"), 0) << log();
}

// With nothing due a pass writes nothing, even over a file changed by hand.
TEST_F(SaveRetryTest, NothingDueWritesNothing) {
    writeBytes(DATA, "edited by hand\n");
    passes(20000);
    EXPECT_EQ(readBytes(DATA), "edited by hand\n");
    EXPECT_EQ(log(), "");
}

// The unload's try saves what is due; one that fails too is logged and leaves the file whole.
TEST_F(SaveRetryTest, AnUnloadTriesADueSaveOnceMore) {
    fs::rename(DATA_FOLDER, "away");
    dataFile->setInt("badge", 3);
    saveDataFile();
    fs::rename("away", DATA_FOLDER);
    closeDataFile(false);
    EXPECT_EQ(readBytes(DATA), "badge=3\n");

    {
        const FullDisk full(DISK_LIMIT);
        dataFile->setString("long", LONG_VALUE);
        closeDataFile(true);
    }
    EXPECT_EQ(dataFile, nullptr);
    EXPECT_EQ(readBytes(DATA), "badge=3\n");
    EXPECT_EQ(linesHolding(log(), "with a change not saved"), 1) << log();
}

}  // namespace
