// What the timeline shows of the plug-in's files: the simulator notices every save, also saves
// made a few microseconds apart, which the file system may stamp with the same time.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/scenario_runner.h"
#include "tests/process_folder.h"

namespace {

// Plays the story and returns the timeline's lines that hold the text.
std::vector<std::string> playAndPick(const std::string& story, const std::string& text) {
    const auto path = processFolder("timeline") / "timeline_story.txt";
    std::ofstream(path) << story;
    ScenarioOptions options;
    options.scenarioPath = path.string();
    options.pluginPath = TSW_PLUGIN;
    char* output = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&output, &size);
    EXPECT_EQ(runScenario(options, out), 0);
    std::fclose(out);
    std::istringstream lines(output);
    std::free(output);
    std::vector<std::string> picked;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(text) != std::string::npos) {
            picked.push_back(line.substr(line.find(']') + 2));
        }
    }
    return picked;
}

TEST(Timeline, ShowsEverySaveOfEditStepsOneFrameApart) {
    const std::string story =
        "ini BADGE_ADJUSTING ENABLE_DISABLE_EDIT_KEY 45\n"
        "ini BADGE_ADJUSTING GO_RIGHT_KEY 102\n"
        "ini BADGE_ADJUSTING MOVING_SPEED 1000\n"
        "ini BADGE_ADJUSTING REFRESH_SPEED 1000\n"
        "data badge=0\ndata rot_xxxxx=-14\ndata rot_yyyyy=0\ndata rot_zzzzz=0\n"
        "data xxxxx=0\ndata yyyyy=0\ndata zzzzz=0\n"
        "load\nrun 1000\n"
        "key down 45\nkey up 45\nrun 100\n"
        "key down 102\nrun 2000\nkey up 102\nrun 100\n"
        "expect data xxxxx 0.090000\n";
    const std::vector<std::string> expected = {
        "data file written: xxxxx 0 -> 0.010000",
        "data file written: xxxxx 0.010000 -> 0.020000",
        "data file written: xxxxx 0.020000 -> 0.030000",
        "data file written: xxxxx 0.030000 -> 0.040000",
        "data file written: xxxxx 0.040000 -> 0.050000",
        "data file written: xxxxx 0.050000 -> 0.060000",
        "data file written: xxxxx 0.060000 -> 0.070000",
        "data file written: xxxxx 0.070000 -> 0.080000",
        "data file written: xxxxx 0.080000 -> 0.090000",
    };
    EXPECT_EQ(playAndPick(story, "data file"), expected);
}

}  // namespace
