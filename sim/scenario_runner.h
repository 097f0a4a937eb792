#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct ScenarioOptions {
    std::string scenarioPath;
    std::string gameDir;     // empty: a fresh temporary folder
    std::string tracePath;   // empty: no trace
    std::string pluginPath;  // the plug-in library the load command loads
    bool quiet = false;      // no timeline: only the outcome and a failure's reason
    std::string reportPath;  // empty: no report (sim/report/)
};

// How a played story ended.
struct ScenarioOutcome {
    bool passed = false;
    std::size_t failedLine = 0;  // 1-based, when it did not pass
    std::string failure;
    bool invariantBroken = false;  // the failure is a broken rule (`invariants on`)...
    std::string brokenRule;        // ...this one (its id in rules.cpp)
    // With the rules on: for each rule, in the order of rules(), the frames it was put to the
    // test in.
    std::vector<std::uint64_t> ruleTests;
    bool malformed = false;  // the failure is a command that does not read
};

// Plays scenario lines (as a scenario file would hold them) named scenarioPath in messages.
ScenarioOutcome playScenarioLines(const ScenarioOptions& options,
                                  const std::vector<std::string>& lines, std::FILE* out);

// Plays a scenario file against the emulated host, printing the timeline to out. Returns 0
// when every command ran and every expectation held, 1 otherwise (with the reason printed).
int runScenario(const ScenarioOptions& options, std::FILE* out);
