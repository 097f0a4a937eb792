// A save happens whole or not at all. A child process saves a growing file in a loop and is
// killed (SIGKILL) at random moments after its first save; after every kill the file must read
// exactly as it did before or after the save the kill cut short, and whatever a kill left behind
// (a temporary file) must not stop the next start from loading and saving.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "../sanitized_share.h"
#include "persist/dict_data_file.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// About three kills in four land while the temporary file is written: even the sanitizer run's
// fifteen all but surely see one.
constexpr int KILLS = cyclesToPlay(150);
// The child is killed a random while of up to this long after its first save: a few saves at
// most. Waiting for that save first makes the file grow kill by kill however busy the machine.
constexpr int LONGEST_WAIT_US = 4000;
// Each save adds one entry this long, so that a write takes a while as the file grows.
constexpr std::size_t VALUE_SIZE = 1500;
const char* const PATH = "data.dat";

std::string keyOf(int n) {
    char key[16];
    std::snprintf(key, sizeof key, "k%06d", n);
    return key;
}

std::string valueOf(int n) {
    return std::string(VALUE_SIZE, static_cast<char>('a' + n % 26)) + std::to_string(n);
}

// The file after `count` saves, as the data file writes it.
std::string contentAfter(int count) {
    std::string content;
    for (int n = 0; n < count; ++n) {
        content += keyOf(n) + "=" + valueOf(n) + "\n";
    }
    return content;
}

// Loads the file (as the plug-in's next start would) and saves one entry more each turn,
// reporting each finished save on the pipe, until it is killed.
[[noreturn]] void saveForever(int reportPipe) {
    DictDataFile file(PATH);
    if (!file.load() || !file.skippedLines.empty()) {
        _exit(2);
    }
    for (int count = static_cast<int>(file.entries.size());;) {
        file.setString(keyOf(count).c_str(), valueOf(count));
        if (!file.save(false)) {
            _exit(3);
        }
        ++count;
        if (write(reportPipe, &count, sizeof count) != sizeof count) {
            _exit(4);
        }
    }
}

// The first count the child reports, or 0 when it ends without a save.
int firstReported(int readEnd) {
    int count = 0;
    return read(readEnd, &count, sizeof count) == sizeof count ? count : 0;
}

// The last count the child reported, or `none`.
int lastReported(int readEnd, int none) {
    int count = none;
    int got = 0;
    while (read(readEnd, &got, sizeof got) == sizeof got) {
        count = got;
    }
    return count;
}

class DataFileKill : public TempFolderTest {};

TEST_F(DataFileKill, EveryKillLeavesTheOldOrTheNewFileWhole) {
    writeBytes(PATH, "");
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> wait(0, LONGEST_WAIT_US);
    int count = 0;
    int cutShort = 0;
    int midWrite = 0;
    for (int kill = 0; kill < KILLS; ++kill) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            close(ends[0]);
            saveForever(ends[1]);
        }
        close(ends[1]);
        const int first = firstReported(ends[0]);
        usleep(static_cast<useconds_t>(wait(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself, code "
                                         << WEXITSTATUS(status) << ", after kill " << kill;
        ASSERT_EQ(first, count + 1) << "the child's first save, after kill " << kill;
        const int reported = lastReported(ends[0], first);
        close(ends[0]);
        midWrite += fs::exists(std::string(PATH) + ".tmp") ? 1 : 0;

        // The save in flight when the kill came may have replaced the file before it was
        // reported, never more than that one.
        const std::string content = readBytes(PATH);
        if (content == contentAfter(reported + 1)) {
            count = reported + 1;
            ++cutShort;
        } else {
            ASSERT_EQ(content, contentAfter(reported))
                << "after kill " << kill << " the file is neither the old nor the new one";
            count = reported;
        }
    }
    // The kills must have landed all over the save: some while the temporary file was being
    // written; and each child saved at least once.
    std::printf("%d saves; of %d kills %d left a temporary file, %d came right after a replace\n",
                count, KILLS, midWrite, cutShort);
    EXPECT_GT(midWrite, 0);
    EXPECT_GE(count, KILLS);

    DictDataFile next(PATH);
    ASSERT_TRUE(next.load());
    EXPECT_EQ(next.entries.size(), static_cast<std::size_t>(count));
    next.setString("after", "1");
    EXPECT_TRUE(next.save(false));
    EXPECT_FALSE(fs::exists(std::string(PATH) + ".tmp"));
}

}  // namespace
