#pragma once
#include "sim/scenario_runner.h"

// Runs the same scenarios with the Windows build of the simulator under Wine, against the
// packaged TinStarWarden.asi; returns its exit code.
#include <string>
#include <vector>

// Extra arguments (a chaos run's, --out-dir) are passed on, their folders as Wine names them.
int runUnderWine(const ScenarioOptions& options, const std::vector<std::string>& extra,
                 const std::vector<std::string>& scenarios);
