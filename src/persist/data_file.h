#pragma once
#include <cstdint>

#include "persist/dict_data_file.h"

// The plug-in's folder beside the game, which holds both of its files.
inline constexpr const char* DATA_FOLDER = "TinStarWarden";

// The one data file both scripts share; null until openDataFile.
extern DictDataFile* dataFile;

// Sets the entries a data file made at the first start holds: no badge, and the badge's place
// and turn at their starting values (as the log says).
using FirstEntries = void (*)(DictDataFile& file);

// Gives the host's wait: a cooperative script must not sleep.
using WaitBetweenTries = void (*)(std::uint32_t ms);

// Creates dataFile for TinStarWarden/TinStarWarden.dat and loads it. A file another program
// holds (Windows only) is tried again for a few seconds, with `wait` between the tries. A
// missing file (and its folder, when that is missing too) is first made, holding what
// setFirstEntries sets, by the same save as every change. False when the file cannot be read
// or made; dataFile is set even then, so a later save can still write the file. What happened
// goes to the diagnostics log.
// Once the file has been read, a later call (the host restarts the scripts at every save the
// player loads, the module staying loaded) keeps dataFile as it is and answers true: it may
// hold a change whose save failed, which reading the file again would lose. After a failed
// read the same object loads the file again.
bool openDataFile(FirstEntries setFirstEntries, WaitBetweenTries wait);
// openDataFile has read the file.
bool dataFileRead();

// dataFile->save(false), with a failure (or the first success after one) in the log.
void saveDataFile();
// A save that failed stays due (the file is dirty) until one works; nothing is lost while the
// plug-in runs. Both scripts call this on every pass with the tick count, the clock their waits
// end on, which runs on while the game is paused: a due save is tried once a second, so it
// lands within about a second of the disk taking writes again. File work only.
void retryDueSave(std::uint32_t now);
// The plug-in is being unloaded (the game closing, or a reload): a save still due is tried
// once more, a failure is logged (the file on disk keeps its last save, whole), and a pending
// flush is done. No wait and no thread: the loader's lock is held. With freeMemory the data
// file is freed too (not when the process is ending: its memory goes with it).
void closeDataFile(bool freeMemory);
// The same for an edit step: the file is replaced at once, the disk flush waits for
// flushDataFile, which the badge script calls once the steps stop saving.
void saveDataFileStep();
void flushDataFile();
