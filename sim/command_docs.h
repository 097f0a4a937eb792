#pragma once
// docs/scenarios.md's command tables, made from the verb tables' rows as docs/reference.md is
// made from the atlas: a test fails while the file is not what they make.
#include <string>

// Every form of every command a scenario can write, as `query usage` answers for the emulated
// game's ("TABLE\tUSAGE\tDOC" lines): the simulator's own first, then the host's that none of
// the simulator's takes over.
std::string scenarioUsageLines();

// The docs with the rows of each "<!-- commands: TABLE -->" ... "<!-- end of commands -->"
// block made anew from the usage lines (the rest stays as written); a block naming no table
// is left as it is.
std::string withCommandTables(const std::string& docs, const std::string& usageLines);
