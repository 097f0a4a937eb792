#pragma once
// Compares two native-call traces (tsw-sim --trace) line by line. Words that are addresses,
// pointer arguments and results of natives marked ">p", differ between runs and builds, so
// they are masked (emulator/trace.h reads and masks the records); everything else must be
// identical.
#include <cstddef>
#include <istream>
#include <string>

#include "emulator/native_table.h"

struct TraceComparison {
    bool same = false;
    std::size_t lines = 0;  // records compared (all of them when same)
    std::string report;     // where and how they differ, or why a trace is unreadable
};

TraceComparison compareTraces(std::istream& first, std::istream& second, const NativeTable& table);
