#pragma once
// Many scenarios in one process, one after the other, each in a fresh game folder with the
// emulated host reset: what a scenario's own run would print goes to DIR/NAME.log, its trace to
// DIR/NAME.trace. Under Wine one process start serves them all.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/scenario_runner.h"

// Prints "NAME: passed" or "NAME: FAILED" for each scenario to out. Returns 0 when every
// scenario was played, whether or not it passed (the logs tell), 1 when DIR cannot be written.
int playEach(const ScenarioOptions& options, const std::vector<std::string>& scenarios,
             const std::string& outDir, std::FILE* out);
