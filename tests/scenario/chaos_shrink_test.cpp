// Shrinking a story that broke a rule: the same rule still breaks in what is left, and the
// replays stop at their budget, so a shrunk scenario is the same on any machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/chaos.h"

namespace {

using Lines = std::vector<std::string>;

// Forty quiet steps, with two badges put at the player's chest in the middle of them.
Lines brokenStory() {
    Lines story{"invariants on", "load", "run 1000"};
    for (int step = 0; step < 40; ++step) {
        story.push_back("player at " + std::to_string(step) + " 0 0");
        if (step == 20) {
            story.push_back("object spawn s_badgeusmarshal01x chest 0 0 0");
            story.push_back("object spawn s_badgesherif01x chest 0 0 0.1");
        }
        story.push_back("run 16");
    }
    return story;
}

ScenarioOutcome play(const Lines& story) {
    ScenarioOptions options;
    options.quiet = true;
    options.scenarioPath = "shrink";
    options.pluginPath = TSW_PLUGIN;
    std::FILE* sink = std::tmpfile();
    const ScenarioOutcome outcome = playScenarioLines(options, story, sink);
    std::fclose(sink);
    return outcome;
}

TEST(ChaosShrink, KeepsWhatBreaksTheRuleAndStopsAtTheReplayBudget) {
    const Lines story = brokenStory();
    const ScenarioOutcome broken = play(story);
    ASSERT_TRUE(broken.invariantBroken) << broken.failure;

    ChaosOptions options;
    options.scenario.pluginPath = TSW_PLUGIN;
    options.shrinkReplays = 1000;
    std::size_t tries = 0;
    const Lines shrunk = shrinkStory(options, story, broken, tries);
    EXPECT_LT(tries, options.shrinkReplays);
    EXPECT_EQ(shrunk, (Lines{"load", "object spawn s_badgeusmarshal01x chest 0 0 0",
                             "object spawn s_badgesherif01x chest 0 0 0.1", "run 16"}));

    options.shrinkReplays = 5;
    const Lines cut = shrinkStory(options, story, broken, tries);
    EXPECT_EQ(tries, 5u);
    EXPECT_EQ(shrinkStory(options, story, broken, tries), cut);
    EXPECT_LT(cut.size(), story.size());
}

}  // namespace
