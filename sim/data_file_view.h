#pragma once
#include <map>
#include <optional>
#include <string>

// The data file as the simulator reads it back: the raw text and its key=value entries
// (LF or CR LF line ends; of repeated keys the last wins; other lines are ignored here).
struct DataFileView {
    bool exists = false;
    std::string text;  // with CR LF turned into LF
    std::map<std::string, std::string> entries;
};

DataFileView readDataFile(const std::string& path);

// "badge 2 -> 3, xxxxx added 0.010000" for the timeline; empty when nothing changed.
std::string describeChanges(const DataFileView& before, const DataFileView& after);
