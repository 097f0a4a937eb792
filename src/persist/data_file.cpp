#include "persist/data_file.h"

#include <string>

namespace {

constexpr const char* DATA_FILE_NAME = "TinStarWarden.dat";

}  // namespace

DictDataFile* dataFile = nullptr;

bool openDataFile() {
    // Never freed: both scripts may use it until the process ends.
    dataFile = new DictDataFile(std::string(DATA_FOLDER) + "/" + DATA_FILE_NAME);
    return dataFile->load();
}
