#pragma once
#include <map>
#include <optional>
#include <string>

// The data file as the simulator reads it back: the raw text and its key=value entries
// (LF, CR LF or CR line ends and a leading byte-order mark, as the plug-in reads them; of
// repeated keys the last wins; other lines are ignored here).
struct DataFileView {
    bool exists = false;
    std::string text;  // every line end turned into LF, the byte-order mark left out
    std::map<std::string, std::string> entries;
};

DataFileView readDataFile(const std::string& path);

// "badge 2 -> 3, xxxxx added 0.010000" for the timeline; empty when nothing changed.
std::string describeChanges(const DataFileView& before, const DataFileView& after);
