// A scenario line that does not read is answered with its verb's usage, as the verb's table
// writes it: the simulator's own verbs and the emulated host's alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sim/scenario_runner.h"

namespace {

std::string failureOf(const std::string& line) {
    ScenarioOptions options;
    options.scenarioPath = "commands";
    options.pluginPath = TSW_PLUGIN;
    options.quiet = true;
    std::FILE* sink = std::tmpfile();
    const ScenarioOutcome outcome = playScenarioLines(options, {line}, sink);
    std::fclose(sink);
    return outcome.failure;
}

TEST(Commands, AMalformedLineIsAnsweredWithTheUsageOfItsVerb) {
    EXPECT_EQ(failureOf("folder sideways"), "usage: folder readonly, or folder writable");
    EXPECT_EQ(failureOf("expect log once"), "usage: expect log once TEXT");
    EXPECT_EQ(failureOf("player at office"),
              "bad command: usage: player at X Y Z [HEADING], or player at office N");
    EXPECT_EQ(failureOf("clock step 0"), "bad command: a frame step of 0 would stop time");
}

}  // namespace
