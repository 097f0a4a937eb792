// Shrinking a story that broke a rule: the same rule still breaks in what is left, and the
// replays stop at their budget, so a shrunk scenario is the same on any machine. A run of games
// says which rules none of them put to the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/chaos.h"
#include "sim/rules.h"
#include "tests/process_folder.h"

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
    EXPECT_EQ(broken.brokenRule, "one-badge");

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

// A short game cannot test every rule: the run names those it did not, and counts for every
// rule the frames it was put to the test in, for a count over several runs.
TEST(ChaosRun, NamesTheRulesNoGamePutToTheTestAndCountsEachRulesFrames) {
    ChaosOptions options;
    options.scenario.pluginPath = TSW_PLUGIN;
    options.firstSeed = 7;
    options.frames = 200;
    options.outDir = processFolder("chaos_run").string();
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(runChaos(options, out), 0);
    std::rewind(out);
    std::string printed(4096, '\0');
    printed.resize(std::fread(printed.data(), 1, printed.size(), out));
    std::fclose(out);
    EXPECT_NE(printed.find("no game put these rules to the test (none could have broken them): "),
              std::string::npos)
        << printed;
    EXPECT_NE(printed.find("greets-once"), std::string::npos) << printed;

    std::ifstream tally(options.outDir + "/rules-tested-7.txt");
    std::string id;
    std::uint64_t frames = 0;
    std::size_t row = 0;
    while (tally >> id >> frames) {
        ASSERT_LT(row, rules().size());
        EXPECT_EQ(id, rules()[row].id);
        EXPECT_EQ(frames == 0, printed.find(id) != std::string::npos) << id;
        ++row;
    }
    EXPECT_EQ(row, rules().size());
}

}  // namespace
