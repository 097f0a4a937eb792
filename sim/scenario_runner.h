#pragma once
#include <cstdio>
#include <string>

struct ScenarioOptions {
    std::string scenarioPath;
    std::string gameDir;     // empty: a fresh temporary folder
    std::string tracePath;   // empty: no trace
    std::string pluginPath;  // the plug-in library the load command loads
    std::string reportPath;  // empty: no report (sim/report/)
};

// Plays a scenario file against the emulated host, printing the timeline to out. Returns 0
// when every command ran and every expectation held, 1 otherwise (with the reason printed).
int runScenario(const ScenarioOptions& options, std::FILE* out);
