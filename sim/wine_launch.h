#pragma once
#include "sim/scenario_runner.h"

// Runs the same scenario with the Windows build of the simulator under Wine, against the
// packaged TinStarWarden.asi; returns its exit code.
int runUnderWine(const ScenarioOptions& options);
