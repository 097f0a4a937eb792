#pragma once
#include "sim/scenario_runner.h"

// Runs the same scenario with the Windows build of the simulator under Wine, against the
// packaged TinStarWarden.asi; returns its exit code.
#include <string>
#include <vector>

// Extra arguments (a chaos run's) are passed on as they are.
int runUnderWine(const ScenarioOptions& options, const std::vector<std::string>& extra = {});
