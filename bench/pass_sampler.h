#pragma once
// Where the time of the plug-in's script passes goes, sampled rather than timed: a timer signal
// every 50 microseconds reads the scheduler's activity word (scheduler.h): which script runs,
// and whether in the plug-in's own code or in a host function it called (the host's call path,
// the native's handler, the switch back to the scheduler). Timing each native call instead
// would cost two clock reads a call, more than the cheapest calls take, and would still count
// the host's call path as the plug-in's.
#include <cstddef>
#include <cstdint>

struct PassSamples {
    std::uint64_t plugin = 0;  // in the script, in the plug-in's own code
    std::uint64_t host = 0;    // in the script, in a host function
};

// One at a time; start() forgets the samples of the last run.
void startSampling();
void stopSampling();
PassSamples samplesOf(std::size_t script);
