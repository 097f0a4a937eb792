#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "full_disk.h"
#include "persist/dict_data_file.h"
#include "sim/read_only_folder.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Far more than the file size limit below, so the write stops part way.
constexpr int BIG_ENTRY_COUNT = 5000;
constexpr rlim_t FILE_SIZE_LIMIT = 4096;
const std::string OLD_CONTENT = "badge=2\nxxxxx=0.150000\n";

class DataFileCrash : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        writeBytes("data.dat", OLD_CONTENT);
        ASSERT_TRUE(file.load());
        for (int i = 0; i < BIG_ENTRY_COUNT; ++i) {
            file.setInt(("entry" + std::to_string(i)).c_str(), i);
        }
    }

    void expectOldFileWhole() {
        EXPECT_EQ(readBytes("data.dat"), OLD_CONTENT);
        DictDataFile reread("data.dat");
        EXPECT_TRUE(reread.load());
        EXPECT_EQ(reread.getInt("badge"), 2);
    }

    bool saveOnFullDisk() {
        const FullDisk full(FILE_SIZE_LIMIT);
        return file.save(false);
    }

    static void limitFileSize(rlim_t bytes) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

    DictDataFile file{"data.dat"};
};

TEST_F(DataFileCrash, ProcessKilledMidSaveLeavesTheOldFileWhole) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // The kernel ends the child with SIGXFSZ as the write passes the limit.
        limitFileSize(FILE_SIZE_LIMIT);
        file.save(false);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    expectOldFileWhole();
}

TEST_F(DataFileCrash, FullDiskFailsTheSaveAndLeavesNoTrace) {
    const bool saved = saveOnFullDisk();

    EXPECT_FALSE(saved);
    EXPECT_TRUE(file.isDirty());
    expectOldFileWhole();
    EXPECT_FALSE(fs::exists("data.dat.tmp"));
    EXPECT_TRUE(file.save(false));
    DictDataFile reread("data.dat");
    EXPECT_TRUE(reread.load());
    EXPECT_EQ(reread.entries, file.entries);
}

// Where no file may be made beside it, a save goes into the file itself; a full disk fails it
// before an old byte is touched, however often it is tried, and the next save with room writes
// the file whole.
TEST_F(DataFileCrash, FullDiskFailsAnInPlaceSaveAndLeavesTheFileWhole) {
    std::string error;
    if (!makeFolderReadOnly(".", error)) {
        GTEST_SKIP() << error;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(saveOnFullDisk());
        EXPECT_TRUE(file.isDirty());
        EXPECT_FALSE(file.inPlaceCause.empty());
        expectOldFileWhole();
    }
    EXPECT_TRUE(file.save(false)) << file.error;
    ASSERT_TRUE(makeFolderWritable(".", error)) << error;
    DictDataFile reread("data.dat");
    EXPECT_TRUE(reread.load());
    EXPECT_EQ(reread.entries, file.entries);
}

}  // namespace
