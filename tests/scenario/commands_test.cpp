// A scenario line that does not read is answered with its verb's usage, as the verb's table
// writes it: the simulator's own verbs and the emulated host's alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/scenario_runner.h"

namespace {

std::string failureOf(const std::vector<std::string>& lines) {
    ScenarioOptions options;
    options.scenarioPath = "commands";
    options.pluginPath = TSW_PLUGIN;
    options.quiet = true;
    std::FILE* sink = std::tmpfile();
    const ScenarioOutcome outcome = playScenarioLines(options, lines, sink);
    std::fclose(sink);
    return outcome.failure;
}

std::string failureOf(const std::string& line) {
    return failureOf(std::vector<std::string>{line});
}

TEST(Commands, AMalformedLineIsAnsweredWithTheUsageOfItsVerb) {
    EXPECT_EQ(failureOf("folder sideways"), "usage: folder readonly, or folder writable");
    EXPECT_EQ(failureOf("expect log once"), "usage: expect log once TEXT");
    EXPECT_EQ(failureOf("player at office"),
              "bad command: usage: player at X Y Z [HEADING], or player at office N");
    EXPECT_EQ(failureOf("clock step 0"), "bad command: a frame step of 0 would stop time");
}

// Names are found through an index of their own: a removed ped's name is free again, and no
// longer names anything.
TEST(Commands, ARemovedPedsNameIsFreeAgain) {
    const std::string spawn = "ped spawn ann A_M_M_VALTOWNFOLK_01 -300 760 118";
    EXPECT_EQ(failureOf({spawn, spawn}), "bad command: a ped named ann exists already");
    EXPECT_EQ(failureOf({spawn, "ped remove ann", spawn, "ped move ann -301 760 118"}), "");
    const std::string unknown = failureOf("ped move ann -301 760 118");
    EXPECT_NE(unknown, "");
    EXPECT_EQ(failureOf({spawn, "ped remove ann", "ped move ann -301 760 118"}), unknown);
}

}  // namespace
