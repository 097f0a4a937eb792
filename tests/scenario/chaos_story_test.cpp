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

// The folder is locked now and then (a held file, a full disk), and writable again after.
TEST(ChaosStory, TheFolderIsLockedNowAndThenAndMadeWritableAgain) {
    int locks = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        bool locked = false;
        for (const std::string& line : chaosStory(seed, 20000)) {
            if (line == "folder locked" || line == "folder writable") {
                EXPECT_NE(line == "folder locked", locked) << seed;
                locked = line == "folder locked";
                locks += locked ? 1 : 0;
            }
        }
    }
    EXPECT_GT(locks, 20);
}

}  // namespace
