#pragma once
#include "persist/dict_data_file.h"

// The plug-in's folder beside the game, which holds both of its files.
inline constexpr const char* DATA_FOLDER = "TinStarWarden";

// The one data file both scripts share; null until openDataFile.
extern DictDataFile* dataFile;

// Creates dataFile for TinStarWarden/TinStarWarden.dat and loads it. dataFile is set even
// when the load fails, so a later save can still create the file.
bool openDataFile();
