#pragma once
// The `expect` lines a failure kept from running: the rest of every file being played, and all
// of each file an unplayed `include` names.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// A scenario file: its absolute path (the run plays in the game's folder) and its name as the
// scenario gives it.
struct ScenarioFile {
    std::filesystem::path path;
    std::string shown;
};

// The file an `include` line names, taken from the folder of the file that holds the line.
ScenarioFile includedFile(const ScenarioFile& from, const std::string& name);

// "setup/a.txt:4"
std::string placeOf(const std::string& shown, std::size_t number);
// A line of an included file as the report shows it: "expect ...  (setup/a.txt:4)".
std::string withItsPlace(const std::string& line, const std::string& shown, std::size_t number);

struct UnrunCheck {
    std::size_t scenarioLine;  // the scenario's own line, or the `include` that holds the check
    std::string text;
};

// The checks in the lines after line `after` (1-based) of `file`, in order. scenarioLine: the
// scenario's line that holds them all (an included file's), or 0 for the scenario's own lines.
// `open`: the files being played, which an include of one of them does not read again.
void collectUnrunChecks(const std::vector<std::string>& lines, std::size_t after,
                        const ScenarioFile& file, std::size_t scenarioLine,
                        std::vector<std::filesystem::path>& open, std::vector<UnrunCheck>& out);
