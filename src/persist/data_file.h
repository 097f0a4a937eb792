#pragma once
#include "persist/dict_data_file.h"

// The plug-in's folder beside the game, which holds both of its files.
inline constexpr const char* DATA_FOLDER = "TinStarWarden";

// The one data file both scripts share; null until openDataFile.
extern DictDataFile* dataFile;

// Creates dataFile for TinStarWarden/TinStarWarden.dat and loads it. dataFile is set even
// when the load fails, so a later save can still create the file. What went wrong goes to the
// diagnostics log.
bool openDataFile();

// dataFile->save(false), with a failure (or the first success after one) in the log.
void saveDataFile();
// The same for an edit step: the file is replaced at once, the disk flush waits for
// flushDataFile, which the badge script calls once the steps stop saving.
void saveDataFileStep();
void flushDataFile();
