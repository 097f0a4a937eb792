#pragma once
#include <string>

// What became of a settings file that was missing at load.
struct MissingSettings {
    bool wasMissing = false;
    bool made = false;        // written with the shipped settings
    bool folderMade = false;  // its folder was missing too, and was made
    std::string error;        // why it could not be made
};

// A player who installed the update alone, or deleted the file to start over, would have every
// key at 0: a missing settings file is written with the shipped settings, as the data file is
// made when missing, and its folder with it. Whole or not at all: a new file moved into place.
MissingSettings makeMissingSettings(const std::string& folder, const std::string& path);
