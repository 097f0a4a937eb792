#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/scenario_runner.h"

namespace {

std::vector<std::string> scenarioFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(TSW_SCENARIO_DIR)) {
        if (entry.path().extension() == ".txt") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name = std::filesystem::path(info.param).stem().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class ScenarioFile : public testing::TestWithParam<std::string> {};

// The timeline is shown only when the story does not play out.
TEST_P(ScenarioFile, PlaysThrough) {
    ScenarioOptions options;
    options.scenarioPath = std::string(TSW_SCENARIO_DIR) + "/" + GetParam();
    options.pluginPath = TSW_PLUGIN;
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    const int result = runScenario(options, out);
    std::fclose(out);
    EXPECT_EQ(result, 0) << text;
    std::free(text);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioFile, testing::ValuesIn(scenarioFiles()), testName);

}  // namespace
