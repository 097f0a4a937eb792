#pragma once
#include "persist/dict_data_file.h"

// The plug-in's folder beside the game, which holds both of its files.
inline constexpr const char* DATA_FOLDER = "TinStarWarden";

// The one data file both scripts share; null until openDataFile.
extern DictDataFile* dataFile;

// Sets the entries a data file made at the first start holds.
using FirstEntries = void (*)(DictDataFile& file);

// Creates dataFile for TinStarWarden/TinStarWarden.dat and loads it. A missing file (and its
// folder, when that is missing too) is first made, holding what setFirstEntries sets, by the
// same save as every change. False when the file cannot be read or made; dataFile is set even
// then, so a later save can still write the file. What happened goes to the diagnostics log.
// Once the file has been read, a later call (the host restarts the scripts at every save the
// player loads, the module staying loaded) keeps dataFile as it is and answers true: it may
// hold a change whose save failed, which reading the file again would lose. After a failed
// read the same object loads the file again.
bool openDataFile(FirstEntries setFirstEntries);
// openDataFile has read the file.
bool dataFileRead();

// dataFile->save(false), with a failure (or the first success after one) in the log.
void saveDataFile();
// The same for an edit step: the file is replaced at once, the disk flush waits for
// flushDataFile, which the badge script calls once the steps stop saving.
void saveDataFileStep();
void flushDataFile();
