#pragma once
// Where the time of the plug-in's script passes goes, sampled rather than timed: a timer signal
// every 50 microseconds reads which script runs (the scheduler's activity word) and where the
// signal stopped it: in the plug-in's own code, or anywhere else (the host's call path, the
// natives' handlers, the switch back to the scheduler). Timing each native call instead would
// cost two clock reads a call, more than the cheapest calls take, and marking every host
// function's run would cost a store or two a call.
#include <cstddef>
#include <cstdint>

struct PassSamples {
    std::uint64_t plugin = 0;  // in the script, in the plug-in's own code
    std::uint64_t host = 0;    // in the script, anywhere else
};

// The plug-in's code: the executable part of the loaded library holding this address.
struct CodeRange {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
};
CodeRange codeRangeOf(const void* address);

// One at a time; start() forgets the samples of the last run.
void startSampling(CodeRange plugin);
void stopSampling();
PassSamples samplesOf(std::size_t script);
