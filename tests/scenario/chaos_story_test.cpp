#include "sim/chaos_story.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// A `run MS` plays whole 16 ms frames until MS have passed.
std::uint64_t playedFrames(const std::vector<std::string>& story) {
    std::uint64_t frames = 0;
    for (const std::string& line : story) {
        if (line.rfind("run ", 0) == 0) {
            frames += (std::stoull(line.substr(4)) + 15) / 16;
        }
    }
    return frames;
}

TEST(ChaosStory, ASeedAlwaysWritesTheSameStoryAndNeighbouringSeedsDiffer) {
    EXPECT_EQ(chaosStory(7, 2000), chaosStory(7, 2000));
    EXPECT_NE(chaosStory(7, 2000), chaosStory(8, 2000));
    // Seeds one apart must not write one story shifted by a step.
    const auto a = chaosStory(7, 2000);
    const auto b = chaosStory(8, 2000);
    EXPECT_NE(std::vector<std::string>(a.begin() + 1, a.end()),
              std::vector<std::string>(b.begin(), b.end() - 1));
}

TEST(ChaosStory, RunsAddUpToTheFramesAskedForAndTheRulesAreOnBeforeTheLoad) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const auto story = chaosStory(seed, 3000);
        EXPECT_EQ(playedFrames(story), 3000u) << seed;
        const auto rules = std::find(story.begin(), story.end(), "invariants on");
        const auto load = std::find(story.begin(), story.end(), "load");
        EXPECT_LT(rules, load) << seed;
    }
}

// The folder is locked now and then (a held file), the disk full (natively), each undone after
// its start; some of either in a pause, and UTF-16 data files.
TEST(ChaosStory, TheDiskRefusesWritesNowAndThenInAPauseTooAndTakesThemAgain) {
    int locks = 0;
    int fulls = 0;
    int inPause = 0;
    int utf16 = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        bool locked = false;
        bool full = false;
        bool paused = false;
        for (const std::string& line : chaosStory(seed, 20000)) {
            if (line == "folder locked" || line == "folder writable") {
                EXPECT_NE(line == "folder locked", locked) << seed;
                locked = line == "folder locked";
                locks += locked ? 1 : 0;
            }
            if (line == "disk full" || line == "disk room") {
                EXPECT_NE(line == "disk full", full) << seed;
                full = line == "disk full";
                fulls += full ? 1 : 0;
            }
            if (line.starts_with("game pause")) {
                paused = line == "game pause on";
            }
            inPause += paused && (line.starts_with("folder") || line.starts_with("disk")) ? 1 : 0;
            utf16 += line.starts_with("encode data utf-16") ? 1 : 0;
        }
    }
    EXPECT_GT(locks, 20);
    EXPECT_GT(fulls, 20);
    EXPECT_GT(inPause, 0);
    EXPECT_GT(utf16, 0);
}

}  // namespace
